// SPDX-License-Identifier: GPL-3.0-or-later
// What the fuzz targets share: a private scratch folder on tmpfs and the offscreen application some need.
#pragma once

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdlib>
#include <memory>

namespace fuzz {

inline void RemoveScratchFolder();

// One folder per process, in memory when /dev/shm exists, so a million iterations never touch the disk. It goes
// when the run ends; a failing input needs none of it, since libFuzzer writes that input to its own file.
inline const QString &ScratchFolder() {
    static const QString folder = [] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        QByteArray pattern = QFile::encodeName(base + QStringLiteral("/zindrel-fuzz-XXXXXX"));
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        return QFile::decodeName(pattern) + u'/';
    }();
    // Registered once the folder's name is complete, so it runs before that name is destroyed at exit.
    static const bool removedAtExit = std::atexit(RemoveScratchFolder) == 0;
    (void)removedAtExit;
    return folder;
}

inline void RemoveScratchFolder() {
    QDir(ScratchFolder()).removeRecursively();
}

// Writes the input to a file of the scratch folder and returns its path.
inline QString WriteInput(const QString &name, const char *data, size_t size) {
    const QString path = ScratchFolder() + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(data, static_cast<qint64>(size)) != static_cast<qint64>(size)) {
        std::abort();
    }
    return path;
}

// A widget application on the offscreen platform, for targets that reach a window.
inline void StartOffscreenApplication(int *argc, char ***argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static std::unique_ptr<QApplication> application(new QApplication(*argc, *argv));
}

} // namespace fuzz
