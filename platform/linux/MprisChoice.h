// SPDX-License-Identifier: GPL-3.0-or-later
// Which of the MPRIS players on the session bus the media commands go to.
#pragma once

#include <QDBusConnection>
#include <QString>

namespace platform {

// The player playing now; else the one played last, as playerctld keeps them when it runs; else the first, by bus
// name, that is not a web browser; a player that does not answer within a quarter of a second is passed over, and
// the choice never waits longer than that. Empty when there is none of these.
QString ChoosePlayer(QDBusConnection &bus);

} // namespace platform
