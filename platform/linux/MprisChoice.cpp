// SPDX-License-Identifier: GPL-3.0-or-later
// Which of the MPRIS players on the session bus the media commands go to.
#include "platform/linux/MprisChoice.h"

#include "platform/linux/DBusService.h"

#include <QDBusPendingCall>
#include <QStringList>

#include <optional>
#include <vector>

namespace platform {

namespace {

const QString kPrefix = QStringLiteral("org.mpris.MediaPlayer2.");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");
// playerctld stands in front of the other players under this name; it is asked, not driven.
const QString kPlayerctld = QStringLiteral("org.mpris.MediaPlayer2.playerctld");
// The choice runs at a firing before the reminder or the warning shows. Every player's reads are sent at once and
// their answers awaited together, so they hold the firing up no longer than this (the bus's list of names before
// them as long at most); a player that has not answered by then is passed over, as a command to it would hang.
constexpr int kTimeoutMs = 400;

QDBusPendingCall Get(QDBusConnection &bus, const QString &service, const QString &interface, const QString &property) {
    return ServicePropertyAsync(bus, {service, kPath, interface}, property, kTimeoutMs);
}

// The value a property read sent before gave, once it came or its time ran out; invalid without one.
QVariant Answer(QDBusPendingCall &call) {
    call.waitForFinished();
    return PropertyOf(call.reply());
}

bool Unanswered(const QDBusPendingCall &call) {
    return call.error().type() == QDBusError::NoReply || call.error().type() == QDBusError::Timeout;
}

// What one player said of itself.
struct Player {
    QString name;
    QDBusPendingCall status;
    QDBusPendingCall identity;
    QDBusPendingCall desktopEntry;
};

// By its bus name, its Identity or its DesktopEntry: a tab's video or sound is no music player to skip or close.
bool IsWebBrowser(Player &player) {
    static const char *const browsers[] = {"firefox",   "chromium",  "chrome",         "brave",  "opera",
                                           "vivaldi",   "epiphany",  "falkon",         "midori", "librewolf",
                                           "waterfox",  "msedge",    "microsoft-edge", "yandex", "qutebrowser",
                                           "konqueror", "seamonkey", "palemoon",       "floorp"};
    const QString text = (player.name + QLatin1Char(' ') + Answer(player.identity).toString() + QLatin1Char(' ') +
                          Answer(player.desktopEntry).toString())
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
    if (!bus.isConnected()) {
        return {};
    }
    // ListNames() -> as, from the bus itself
    QDBusPendingCall listed =
        CallServiceAsync(bus,
                         {QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                          QStringLiteral("org.freedesktop.DBus")},
                         QStringLiteral("ListNames"), {}, kTimeoutMs);
    listed.waitForFinished();
    const QStringList names = listed.reply().arguments().value(0).toStringList();
    QStringList sorted;
    for (const QString &name : names) {
        if (name.startsWith(kPrefix) && name != kPlayerctld) {
            sorted.append(name);
        }
    }
    // The bus lists names in no fixed order; sorted, the same player wins from one look-up to the next.
    sorted.sort();
    std::vector<Player> players;
    for (const QString &name : sorted) {
        players.push_back(
            {name, Get(bus, name, QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("PlaybackStatus")),
             Get(bus, name, kRoot, QStringLiteral("Identity")), Get(bus, name, kRoot, QStringLiteral("DesktopEntry"))});
    }
    // playerctld's PlayerNames: the players, the one last active first.
    std::optional<QDBusPendingCall> recent;
    if (names.contains(kPlayerctld)) {
        recent =
            Get(bus, kPlayerctld, QStringLiteral("com.github.altdesktop.playerctld"), QStringLiteral("PlayerNames"));
    }

    QStringList answering;
    for (Player &player : players) {
        const QString status = Answer(player.status).toString();
        if (status == QLatin1String("Playing")) {
            return player.name;
        }
        if (!Unanswered(player.status)) {
            answering.append(player.name);
        }
    }
    if (recent) {
        for (const QString &player : Answer(*recent).toStringList()) {
            if (answering.contains(player)) {
                return player;
            }
        }
    }
    for (Player &player : players) {
        if (answering.contains(player.name) && !IsWebBrowser(player)) {
            return player.name;
        }
    }
    return {};
}

} // namespace platform
