// SPDX-License-Identifier: GPL-3.0-or-later
// The user settings of section "main": one field per key, with its type and default.
#pragma once

#include <QString>

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

struct Settings {
    int alpha = 255;
    int sec = 15;
    bool hide_message_alarm = false;
    int sound_type = 1;
    QString sound_file;
    bool speedhint = true;
    QString phrases;
    bool phrasestray = false;
    bool lightenabled = true;
    int lightspeed = 250;
    int lighttime = 3;
    int lighttype = 1;
    QString pass;
    int bkcolor = kDefaultBkColor;
    int color = kDefaultColor;
    bool tray_hide = false;
    QString text_alarm = kDefaultTextAlarm;
    QString text_alarm2 = kDefaultTextAlarm2;

    // Every key of section "main", each with its default when missing or not a number.
    static Settings Read(const IniFile &file);
};
