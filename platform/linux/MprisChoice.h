// SPDX-License-Identifier: GPL-3.0-or-later
// Which of the MPRIS players on the session bus the media commands go to.
#pragma once

#include <QDBusConnection>
#include <QString>

namespace platform {

// The player playing now; else the one played last, as playerctld keeps them when it runs; else the first, by bus
// name, that is not a web browser. Empty when there is none of these. A player that does not answer within 0.4 s
// is passed over; the choice waits that long at most for the bus's list of names and as long for the players.
QString ChoosePlayer(QDBusConnection &bus);

} // namespace platform
