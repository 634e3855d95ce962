// SPDX-License-Identifier: GPL-3.0-or-later
// The MediaPlayer interface on Linux over MPRIS (org.mpris.MediaPlayer2) with QtDBus.
#include "platform/linux/LinuxMediaPlayer.h"

#include "platform/linux/DBusService.h"
#include "platform/linux/LinuxLauncher.h"
#include "platform/linux/MprisChoice.h"
#include "platform/linux/Report.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

#include <algorithm>

namespace platform {

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kRootInterface = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
// A player that has not answered a command by then is reported as not answering.
constexpr int kCallTimeoutMs = 5000;

// The command is sent without waiting: a hung player never holds the firing up; its failure is reported later.
void Call(const std::string &service, const QString &interface, const QString &method,
          const QList<QVariant> &arguments = {}) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    OnReply(CallServiceAsync(bus, {QString::fromStdString(service), kObjectPath, interface}, method, arguments,
                             kCallTimeoutMs),
            nullptr, [service, method](const QDBusMessage &reply) {
                if (!Answered(reply)) {
                    ReportUnreachable("the media player " + service + " (" + method.toStdString() +
                                      "): " + reply.errorMessage().toStdString());
                }
            });
}

} // namespace

bool LinuxMediaPlayer::Start(const std::string &path, const std::string &) {
    chosen_.reset();
    return SpawnDetached({path});
}

std::uintptr_t LinuxMediaPlayer::Find(const std::string &) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        ReportUnreachable("the session bus: the firing's media player commands were not sent");
        return 0;
    }
    const std::string name = chosen_ ? *chosen_ : ChoosePlayer(bus).toStdString();
    chosen_.reset();
    if (name.empty()) {
        ReportUnreachable("no media player found on the session bus (MPRIS; a web browser only while it plays): "
                          "the firing's media player commands were not sent");
        return 0;
    }
    const auto known = std::find(names_.begin(), names_.end(), name);
    if (known != names_.end()) {
        return static_cast<std::uintptr_t>(known - names_.begin()) + 1;
    }
    names_.push_back(name);
    return names_.size();
}

std::string LinuxMediaPlayer::Name(std::uintptr_t player) const {
    return player >= 1 && player <= names_.size() ? names_[player - 1] : std::string();
}

bool LinuxMediaPlayer::IsAlive(std::uintptr_t player) {
    // The player to drive is chosen again at each firing: the user may have started, closed or switched players.
    const std::string name = Name(player);
    if (name.empty()) {
        return false;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    std::string chosen = ChoosePlayer(bus).toStdString();
    if (chosen == name) {
        return true;
    }
    chosen_ = std::move(chosen);
    return false;
}

void LinuxMediaPlayer::Command(std::uintptr_t player, PlayerCommand command) {
    const std::string name = Name(player);
    if (name.empty()) {
        return;
    }
    switch (command) {
    case PlayerCommand::PrevTrack:
        Call(name, kPlayerInterface, QStringLiteral("Previous"));
        break;
    case PlayerCommand::PlayPause:
        Call(name, kPlayerInterface, QStringLiteral("PlayPause"));
        break;
    case PlayerCommand::StopPlay:
        Call(name, kPlayerInterface, QStringLiteral("Stop"));
        break;
    case PlayerCommand::NextTrack:
        Call(name, kPlayerInterface, QStringLiteral("Next"));
        break;
    case PlayerCommand::Close:
        Call(name, kRootInterface, QStringLiteral("Quit"));
        break;
    }
}

void LinuxMediaPlayer::SetVolume(std::uintptr_t player, std::uint8_t volume) {
    const std::string name = Name(player);
    if (name.empty()) {
        return;
    }
    // org.freedesktop.DBus.Properties.Set(interface name, property name, value as a variant); MPRIS volume is
    // 0.0..1.0.
    Call(name, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"),
         {kPlayerInterface, QStringLiteral("Volume"), QVariant::fromValue(QDBusVariant(volume / 255.0))});
}

} // namespace platform
