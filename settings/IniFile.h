// SPDX-License-Identifier: GPL-3.0-or-later
// The settings store: INI values by section and key, the per-user file's path and the logon user name.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>
#include <string>

// A write the system refused; the message names the file's full path.
class IniWriteError : public std::runtime_error {
public:
    explicit IniWriteError(const QString &path);
};

class IniFile {
public:
    explicit IniFile(QString path) : path_(std::move(path)) {}

    const QString &FileName() const { return path_; }
    // The file as it stands now, read once: the copy's reads all answer from that one reading, never from a later
    // write. For reading many keys together.
    IniFile Snapshot() const;

    QString ReadString(const QString &section, const QString &key, const QString &defaultValue) const;
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;
    bool ReadBool(const QString &section, const QString &key, bool defaultValue) const;

    // Each write goes straight to the file; a refused write throws IniWriteError.
    void WriteString(const QString &section, const QString &key, const QString &value) const;
    void WriteInteger(const QString &section, const QString &key, int value) const;
    void WriteBool(const QString &section, const QString &key, bool value) const;

    // The rules of reading a number: "0x"/"0X" (longer than two characters) and "$" mean hexadecimal,
    // otherwise decimal with an optional minus; anything else, or a value outside 32 bits, gives the default.
    static int ParseInteger(const QString &text, int defaultValue);

private:
    QString path_;
    std::optional<QStringList> lines_;
};

// Replaces a whole file through a temporary file renamed over it (a new file gets mode 0600); a refused
// write throws IniWriteError.
void ReplaceFileContent(const QString &path, const QByteArray &content);

// Decodes a file's bytes: UTF-8 when they are valid UTF-8, else Windows-1251.
QString DecodeText(const QByteArray &bytes);

// Splits a text at CR LF, a lone CR or a lone LF; a last line without a break still counts.
QStringList SplitLines(const QString &text);

// The logon user name, or the empty string when there is none.
QString LogonUserName();
// The program folder, ending with the separator.
QString ProgramFolder();
// The per-user settings file: the program folder + "zindrel_" + logon user name + ".ini".
QString SettingsFilePath();
// Where a folder-less file name such as "zindrel.ini" lives.
QString ConfigFilePath(const QString &fileName);
