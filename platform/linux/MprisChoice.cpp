// SPDX-License-Identifier: GPL-3.0-or-later
// Which of the MPRIS players on the session bus the media commands go to.
#include "platform/linux/MprisChoice.h"

#include "platform/linux/DBusService.h"

#include <QDBusConnectionInterface>
#include <QStringList>

namespace platform {

namespace {

const QString kPrefix = QStringLiteral("org.mpris.MediaPlayer2.");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
// playerctld stands in front of the other players under this name; it is asked, not driven.
const QString kPlayerctld = QStringLiteral("org.mpris.MediaPlayer2.playerctld");
// A player that does not answer a property within this time is passed over.
constexpr int kTimeoutMs = 2000;

QVariant Property(QDBusConnection &bus, const QString &service, const QString &interface, const QString &property) {
    return ServiceProperty(bus, {service, kPath, interface}, property, kTimeoutMs);
}

// By its bus name, its Identity or its DesktopEntry: a tab's video or sound is no music player to skip or close.
bool IsWebBrowser(QDBusConnection &bus, const QString &service) {
    static const char *const browsers[] = {"firefox",   "chromium",  "chrome",         "brave",  "opera",
                                           "vivaldi",   "epiphany",  "falkon",         "midori", "librewolf",
                                           "waterfox",  "msedge",    "microsoft-edge", "yandex", "qutebrowser",
                                           "konqueror", "seamonkey", "palemoon",       "floorp"};
    const QString root = QStringLiteral("org.mpris.MediaPlayer2");
    const QString text =
        (service + QLatin1Char(' ') + Property(bus, service, root, QStringLiteral("Identity")).toString() +
         QLatin1Char(' ') + Property(bus, service, root, QStringLiteral("DesktopEntry")).toString())
            .toLower();
    for (const char *browser : browsers) {
        if (text.contains(QLatin1String(browser))) {
            return true;
        }
    }
    return false;
}

} // namespace

QString ChoosePlayer(QDBusConnection &bus) {
    if (!bus.isConnected() || bus.interface() == nullptr) {
        return {};
    }
    QStringList players;
    for (const QString &name : bus.interface()->registeredServiceNames().value()) {
        if (name.startsWith(kPrefix) && name != kPlayerctld) {
            players.append(name);
        }
    }
    // The bus lists names in no fixed order; sorted, the same player wins from one look-up to the next.
    players.sort();
    for (const QString &player : players) {
        const QString status =
            Property(bus, player, QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("PlaybackStatus"))
                .toString();
        if (status == QLatin1String("Playing")) {
            return player;
        }
    }
    // playerctld's PlayerNames: the players, the one last active first.
    const QStringList recent =
        Property(bus, kPlayerctld, QStringLiteral("com.github.altdesktop.playerctld"), QStringLiteral("PlayerNames"))
            .toStringList();
    for (const QString &player : recent) {
        if (players.contains(player)) {
            return player;
        }
    }
    for (const QString &player : players) {
        if (!IsWebBrowser(bus, player)) {
            return player;
        }
    }
    return {};
}

} // namespace platform
