// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing runfiles.ini with the settings store's decoding, line splitting and atomic replace.
#include "actions/LaunchList.h"

#include "settings/IniFile.h"

#include <QFile>

LaunchListReadError::LaunchListReadError(const QString &path)
    : std::runtime_error(QStringLiteral("Unable to read %1").arg(path).toStdString()) {}

QString LaunchListPath() {
    return ProgramFolder() + QStringLiteral("runfiles.ini");
}

QStringList ReadLaunchList(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw LaunchListReadError(path);
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw LaunchListReadError(path);
    }
    return SplitLines(DecodeText(bytes));
}

void WriteLaunchList(const QString &path, const QStringList &entries) {
    QByteArray content;
    for (const QString &entry : entries) {
        content += entry.toUtf8();
        content += "\r\n";
    }
    ReplaceFileContent(path, content);
}
