// SPDX-License-Identifier: GPL-3.0-or-later
// The settings store: our own INI reader and writer with atomic, private, UTF-8 writes.
#include "settings/IniFile.h"

#include "platform/FileReplace.h"
#include "platform/Platform.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <sys/stat.h>

namespace {

constexpr int kMaxValueLength = 2047;

// A value with line breaks is written behind this mark, with "\\", "\r" and "\n" escaped; every value
// without the mark (all single-line values, backslashes included) is read exactly as it stands.
constexpr QChar kMultiLineMark(0x01);

const char16_t kCp1251High[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

QString DecodeCp1251(const QByteArray &bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            text.append(QChar(b));
        } else if (b < 0xC0) {
            text.append(QChar(kCp1251High[b - 0x80]));
        } else {
            text.append(QChar(static_cast<char16_t>(0x0410 + (b - 0xC0))));
        }
    }
    return text;
}

QString EncodeValue(const QString &value) {
    if (!value.contains(u'\r') && !value.contains(u'\n')) {
        return value;
    }
    QString encoded(kMultiLineMark);
    for (const QChar c : value) {
        if (c == u'\\') {
            encoded += QStringLiteral("\\\\");
        } else if (c == u'\r') {
            encoded += QStringLiteral("\\r");
        } else if (c == u'\n') {
            encoded += QStringLiteral("\\n");
        } else {
            encoded += c;
        }
    }
    return encoded;
}

QString DecodeValue(const QString &stored) {
    if (!stored.startsWith(kMultiLineMark)) {
        return stored;
    }
    QString value;
    for (qsizetype i = 1; i < stored.size(); ++i) {
        if (stored[i] == u'\\' && i + 1 < stored.size()) {
            const QChar next = stored[++i];
            value += next == u'r' ? QChar(u'\r') : next == u'n' ? QChar(u'\n') : next;
        } else {
            value += stored[i];
        }
    }
    return value;
}

// The limit counts the text's own characters, never its escaped form, and never splits a surrogate pair.
QString CutToLimit(const QString &value) {
    if (value.size() <= kMaxValueLength) {
        return value;
    }
    const qsizetype cut = value[kMaxValueLength - 1].isHighSurrogate() ? kMaxValueLength - 1 : kMaxValueLength;
    return value.left(cut);
}

bool IsSectionLine(const QString &line, QString *name) {
    const QString t = line.trimmed();
    if (!t.startsWith(u'[')) {
        return false;
    }
    const qsizetype close = t.indexOf(u']');
    if (close < 0) {
        return false;
    }
    *name = t.mid(1, close - 1).trimmed();
    return true;
}

bool IsKeyLine(const QString &line, const QString &key) {
    const qsizetype eq = line.indexOf(u'=');
    return eq >= 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0;
}

bool NoBits(const QString &path, mode_t bits) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && (st.st_mode & bits) == 0;
}

// *readable is false for a file that exists but could not be read whole; a missing file reads as empty.
QStringList ReadLines(const QString &path, bool *exists, bool *readable = nullptr) {
    QFile file(path);
    // Through a link: one that points to no file yet (a new dotfile) is a missing file.
    struct stat st {};
    *exists = ::stat(QFile::encodeName(path).constData(), &st) == 0;
    // Files without read bits are unreadable even for a user whom the system would let through.
    if ((*exists && NoBits(path, 0444)) || !file.open(QIODevice::ReadOnly)) {
        if (readable != nullptr) {
            *readable = !*exists;
        }
        return {};
    }
    const QByteArray bytes = file.readAll();
    if (readable != nullptr) {
        *readable = file.error() == QFileDevice::NoError;
    }
    return SplitLines(DecodeText(bytes));
}

const QString kTemporarySuffix = QString::fromLatin1(platform::kReplaceTemporarySuffix);

// A write killed midway leaves its temporary beside the file; one a minute old belongs to no write still going on.
void RemoveStaleTemporaries(const QString &path) {
    // A link's file was written through a temporary beside the file it points to.
    const QFileInfo info(QFileInfo(path).canonicalFilePath());
    const QString prefix = info.fileName() + kTemporarySuffix;
    const QDateTime limit = QDateTime::currentDateTimeUtc().addSecs(-60);
    for (const QFileInfo &entry : info.absoluteDir().entryInfoList(QDir::Files | QDir::Hidden)) {
        const QString name = entry.fileName();
        if (name.size() == prefix.size() + 6 && name.startsWith(prefix) && entry.lastModified().toUTC() < limit) {
            QFile::remove(entry.absoluteFilePath());
        }
    }
}

// Writes the whole file through a temporary file in the same folder that takes the old file's place, so a
// crash or a full disk never leaves a truncated file; a private file is the user's alone at every write.
void ReplaceFile(const QString &path, const QByteArray &content, bool isPrivate) {
    if (!platform::WriteFileAtomically(path.toStdString(), content.toStdString(), isPrivate)) {
        throw IniWriteError(path);
    }
    RemoveStaleTemporaries(path);
}

} // namespace

IniWriteError::IniWriteError(const QString &path)
    : std::runtime_error(QStringLiteral("Unable to write to %1").arg(path).toStdString()) {}

void ReplaceFileContent(const QString &path, const QByteArray &content) {
    ReplaceFile(path, content, false);
}

QString DecodeText(const QByteArray &bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        return DecodeCp1251(bytes);
    }
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    return text;
}

QStringList SplitLines(const QString &text) {
    QStringList lines;
    QString current;
    const qsizetype end = text.indexOf(QChar(0)) >= 0 ? text.indexOf(QChar(0)) : text.size();
    for (qsizetype i = 0; i < end; ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.append(current);
            current.clear();
            if (c == u'\r' && i + 1 < end && text[i + 1] == u'\n') {
                ++i;
            }
        } else {
            current += c;
        }
    }
    if (!current.isEmpty()) {
        lines.append(current);
    }
    return lines;
}

IniFile IniFile::Snapshot() const {
    IniFile copy(path_);
    bool exists = false;
    copy.lines_ = ReadLines(path_, &exists);
    return copy;
}

QString IniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue) const {
    bool exists = false;
    const QStringList lines = lines_ ? *lines_ : ReadLines(path_, &exists);
    bool inSection = false;
    for (const QString &line : lines) {
        QString name;
        if (IsSectionLine(line, &name)) {
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
        } else if (inSection && IsKeyLine(line, key)) {
            return CutToLimit(DecodeValue(line.mid(line.indexOf(u'=') + 1).trimmed()));
        }
    }
    return defaultValue;
}

int IniFile::ParseInteger(const QString &text, int defaultValue) {
    bool ok = false;
    qlonglong value = 0;
    if (text.size() > 2 && (text.startsWith(QStringLiteral("0x")) || text.startsWith(QStringLiteral("0X")))) {
        value = text.mid(2).toLongLong(&ok, 16);
        ok = ok && !text.mid(2).startsWith(u'-') && !text.mid(2).startsWith(u'+');
    } else if (text.startsWith(u'$')) {
        value = text.mid(1).toLongLong(&ok, 16);
        ok = ok && !text.mid(1).startsWith(u'-') && !text.mid(1).startsWith(u'+');
    } else {
        value = text.toLongLong(&ok, 10);
        ok = ok && !text.startsWith(u'+') && !text.contains(u' ');
    }
    if (!ok || value < INT32_MIN || value > INT32_MAX) {
        return defaultValue;
    }
    return static_cast<int>(value);
}

int IniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const {
    return ParseInteger(ReadString(section, key, QString()), defaultValue);
}

bool IniFile::ReadBool(const QString &section, const QString &key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::WriteString(const QString &section, const QString &key, const QString &value) const {
    bool exists = false;
    bool readable = true;
    QStringList lines = ReadLines(path_, &exists, &readable);
    // Writing what could be read, here nothing, would replace the file by one holding only this key.
    if (!readable) {
        throw IniWriteError(path_);
    }
    const QString entry = key + u'=' + EncodeValue(value);
    qsizetype sectionStart = -1;
    qsizetype lastInSection = -1;
    qsizetype keyLine = -1;
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString name;
        if (IsSectionLine(lines[i], &name)) {
            inSection = sectionStart < 0 && name.compare(section, Qt::CaseInsensitive) == 0;
            if (inSection) {
                sectionStart = lastInSection = i;
            }
        } else if (inSection) {
            if (!lines[i].trimmed().isEmpty()) {
                lastInSection = i;
            }
            if (keyLine < 0 && IsKeyLine(lines[i], key)) {
                keyLine = i;
            }
        }
    }
    if (keyLine >= 0) {
        lines[keyLine] = entry;
    } else if (sectionStart >= 0) {
        lines.insert(lastInSection + 1, entry);
    } else {
        lines.append(u'[' + section + u']');
        lines.append(entry);
    }
    QByteArray content;
    for (const QString &line : lines) {
        content += line.toUtf8();
        content += "\r\n";
    }
    // Settings files hold the password: private at every write, whatever bits an older file had.
    ReplaceFile(path_, content, true);
}

void IniFile::WriteInteger(const QString &section, const QString &key, int value) const {
    WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString &section, const QString &key, bool value) const {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QString LogonUserName() {
    return QString::fromStdString(platform::Current().system->LogonUserName());
}

QString ProgramFolder() {
    return QString::fromStdString(platform::Current().system->ProgramFolder());
}

QString SettingsFilePath() {
    return ProgramFolder() + QStringLiteral("zindrel_") + LogonUserName() + ".ini";
}

QString ConfigFilePath(const QString &fileName) {
    return QString::fromStdString(platform::Current().system->ConfigFolder()) + fileName;
}
