// SPDX-License-Identifier: GPL-3.0-or-later
// The saved launch list, runfiles.ini: one command line per line.
#pragma once

#include <QString>
#include <QStringList>

#include <stdexcept>

// A launch-list file that could not be read; the message names the file.
class LaunchListReadError : public std::runtime_error {
public:
    explicit LaunchListReadError(const QString &path);
};

// runfiles.ini in the program folder.
QString LaunchListPath();

// The entries in file order; empty lines are empty entries. Throws LaunchListReadError.
QStringList ReadLaunchList(const QString &path);
// Replaces the file by the entries, each followed by CR LF. Throws IniWriteError.
void WriteLaunchList(const QString &path, const QStringList &entries);
