// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the whole settings record.
#include "settings/Settings.h"

#include "settings/IniFile.h"

Settings Settings::Read(const IniFile &file) {
    const Settings d;
    Settings s;
    s.alpha = file.ReadInteger(keys::Main, keys::Alpha, d.alpha);
    s.sec = file.ReadInteger(keys::Main, keys::Sec, d.sec);
    s.hide_message_alarm = file.ReadBool(keys::Main, keys::HideMessageAlarm, d.hide_message_alarm);
    s.sound_type = file.ReadInteger(keys::Main, keys::SoundType, d.sound_type);
    s.sound_file = file.ReadString(keys::Main, keys::SoundFile, d.sound_file);
    s.speedhint = file.ReadBool(keys::Main, keys::SpeedHint, d.speedhint);
    s.phrases = file.ReadString(keys::Main, keys::Phrases, d.phrases);
    s.phrasestray = file.ReadBool(keys::Main, keys::PhrasesTray, d.phrasestray);
    s.lightenabled = file.ReadBool(keys::Main, keys::LightEnabled, d.lightenabled);
    s.lightspeed = file.ReadInteger(keys::Main, keys::LightSpeed, d.lightspeed);
    s.lighttime = file.ReadInteger(keys::Main, keys::LightTime, d.lighttime);
    s.lighttype = file.ReadInteger(keys::Main, keys::LightType, d.lighttype);
    s.pass = file.ReadString(keys::Main, keys::Pass, d.pass);
    s.bkcolor = file.ReadInteger(keys::Main, keys::BkColor, d.bkcolor);
    s.color = file.ReadInteger(keys::Main, keys::Color, d.color);
    s.tray_hide = file.ReadBool(keys::Main, keys::TrayHide, d.tray_hide);
    s.text_alarm = file.ReadString(keys::Main, keys::TextAlarm, d.text_alarm);
    s.text_alarm2 = file.ReadString(keys::Main, keys::TextAlarm2, d.text_alarm2);
    return s;
}
