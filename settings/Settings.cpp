// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the settings of section "main" by the table's keys.
#include "settings/Settings.h"

#include "settings/IniFile.h"

Settings Settings::Read(const IniFile &stored) {
    // One reading of the file for all the keys, which also keeps them from a write in between.
    const IniFile file = stored.Snapshot();
    Settings s;
    s.alpha = Read(file, setting::Alpha);
    s.sec = Read(file, setting::Sec);
    s.hide_message_alarm = Read(file, setting::HideMessageAlarm);
    s.speedhint = Read(file, setting::SpeedHint);
    s.pass = Read(file, setting::Pass);
    s.bkcolor = Read(file, setting::BkColor);
    s.color = Read(file, setting::Color);
    s.tray_hide = Read(file, setting::TrayHide);
    s.phrases = Read(file, setting::Phrases);
    s.sound_type = Read(file, setting::SoundType);
    s.sound_file = Read(file, setting::SoundFile);
    s.phrasestray = Read(file, setting::PhrasesTray);
    s.lightenabled = Read(file, setting::LightEnabled);
    s.lightspeed = Read(file, setting::LightSpeed);
    s.lighttime = Read(file, setting::LightTime);
    s.lighttype = Read(file, setting::LightType);
    s.text_alarm = Read(file, setting::TextAlarm);
    s.text_alarm2 = Read(file, setting::TextAlarm2);
    return s;
}

int Settings::Read(const IniFile &file, const IntKey &key) {
    return file.ReadInteger(keys::Main, key.name, key.fallback);
}

bool Settings::Read(const IniFile &file, const BoolKey &key) {
    return file.ReadBool(keys::Main, key.name, key.fallback);
}

QString Settings::Read(const IniFile &file, const TextKey &key) {
    return file.ReadString(keys::Main, key.name, key.fallback);
}

void Settings::Write(const IniFile &file, const IntKey &key, int value) {
    file.WriteInteger(keys::Main, key.name, value);
}

void Settings::Write(const IniFile &file, const BoolKey &key, bool value) {
    file.WriteBool(keys::Main, key.name, value);
}

void Settings::Write(const IniFile &file, const TextKey &key, const QString &value) {
    file.WriteString(keys::Main, key.name, value);
}
