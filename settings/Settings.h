// SPDX-License-Identifier: GPL-3.0-or-later
// The user settings of section "main": the one table of keys with their defaults and ranges, and their reads and
// writes.
#pragma once

#include <QString>

#include <limits>

class IniFile;

namespace keys {
inline const QString Main = QStringLiteral("main");
inline const QString Alpha = QStringLiteral("alpha");
inline const QString Sec = QStringLiteral("sec");
inline const QString HideMessageAlarm = QStringLiteral("hide_message_alarm");
inline const QString SoundType = QStringLiteral("sound_type");
inline const QString SoundFile = QStringLiteral("sound_file");
inline const QString SpeedHint = QStringLiteral("speedhint");
inline const QString Phrases = QStringLiteral("phrases");
inline const QString PhrasesTray = QStringLiteral("phrasestray");
inline const QString LightEnabled = QStringLiteral("lightenabled");
inline const QString LightSpeed = QStringLiteral("lightspeed");
inline const QString LightTime = QStringLiteral("lighttime");
inline const QString LightType = QStringLiteral("lighttype");
inline const QString Pass = QStringLiteral("pass");
inline const QString BkColor = QStringLiteral("bkcolor");
inline const QString Color = QStringLiteral("color");
inline const QString TrayHide = QStringLiteral("tray_hide");
inline const QString TextAlarm = QStringLiteral("text_alarm");
inline const QString TextAlarm2 = QStringLiteral("text_alarm2");
} // namespace keys

constexpr int kDefaultBkColor = 16777215; // white
constexpr int kDefaultColor = 16733011;   // 0x00FF5353: red 83, green 83, blue 255

// The "Cюда" of both texts begins with the Latin capital C.
inline const QString kDefaultTextAlarm = QStringLiteral("Таймер 1. Cюда Вы можете вписать то, о чем не хотите забыть.");
inline const QString kDefaultTextAlarm2 =
    QStringLiteral("Таймер 2. Cюда Вы можете вписать то, о чем не хотите забыть.");

// A number: its key, the value when it is missing or not a number, and the range its control offers (a stored
// value outside it is read as it stands; the control shows its nearest end).
struct IntKey {
    const QString &name;
    int fallback;
    int min = std::numeric_limits<int>::min();
    int max = std::numeric_limits<int>::max();
};

// A flag: any non-zero number is true.
struct BoolKey {
    const QString &name;
    bool fallback;
};

struct TextKey {
    const QString &name;
    const QString &fallback;
};

// The table, in the order the program reads the keys at start: the main window's, then the settings dialog's,
// then the text window's.
namespace setting {
inline const QString kEmpty;
inline const IntKey Alpha{keys::Alpha, 255, 150, 255};
inline const IntKey Sec{keys::Sec, 15, 1, 9999999};
inline const BoolKey HideMessageAlarm{keys::HideMessageAlarm, false};
inline const BoolKey SpeedHint{keys::SpeedHint, true};
inline const TextKey Pass{keys::Pass, kEmpty};
inline const IntKey BkColor{keys::BkColor, kDefaultBkColor};
inline const IntKey Color{keys::Color, kDefaultColor};
inline const BoolKey TrayHide{keys::TrayHide, false};
inline const TextKey Phrases{keys::Phrases, kEmpty};
inline const IntKey SoundType{keys::SoundType, 1, 1, 2}; // 1 a wave file, 2 the tune on the speaker
inline const TextKey SoundFile{keys::SoundFile, kEmpty};
inline const BoolKey PhrasesTray{keys::PhrasesTray, false};
inline const BoolKey LightEnabled{keys::LightEnabled, true};
inline const IntKey LightSpeed{keys::LightSpeed, 250, 50, 500}; // milliseconds a blink step
inline const IntKey LightTime{keys::LightTime, 3, 1, 30};       // seconds a blink run
inline const IntKey LightType{keys::LightType, 1, 1, 9};        // the blink pattern
inline const TextKey TextAlarm{keys::TextAlarm, kDefaultTextAlarm};
inline const TextKey TextAlarm2{keys::TextAlarm2, kDefaultTextAlarm2};
} // namespace setting

struct Settings {
    int alpha = setting::Alpha.fallback;
    int sec = setting::Sec.fallback;
    bool hide_message_alarm = setting::HideMessageAlarm.fallback;
    bool speedhint = setting::SpeedHint.fallback;
    QString pass = setting::Pass.fallback;
    int bkcolor = setting::BkColor.fallback;
    int color = setting::Color.fallback;
    bool tray_hide = setting::TrayHide.fallback;
    QString phrases = setting::Phrases.fallback;
    int sound_type = setting::SoundType.fallback;
    QString sound_file = setting::SoundFile.fallback;
    bool phrasestray = setting::PhrasesTray.fallback;
    bool lightenabled = setting::LightEnabled.fallback;
    int lightspeed = setting::LightSpeed.fallback;
    int lighttime = setting::LightTime.fallback;
    int lighttype = setting::LightType.fallback;
    QString text_alarm = setting::TextAlarm.fallback;
    QString text_alarm2 = setting::TextAlarm2.fallback;

    // Every key of the table, in its order, each with its default when missing or not a number.
    static Settings Read(const IniFile &file);
    // One key.
    static int Read(const IniFile &file, const IntKey &key);
    static bool Read(const IniFile &file, const BoolKey &key);
    static QString Read(const IniFile &file, const TextKey &key);

    // One key, straight to the file; a refused write throws IniWriteError.
    static void Write(const IniFile &file, const IntKey &key, int value);
    static void Write(const IniFile &file, const BoolKey &key, bool value);
    static void Write(const IniFile &file, const TextKey &key, const QString &value);
};
