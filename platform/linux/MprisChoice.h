// SPDX-License-Identifier: GPL-3.0-or-later
// Which of the MPRIS players on the session bus the media commands go to.
#pragma once

#include <QDBusConnection>
#include <QString>

namespace platform {

// The player playing now; else the one played last, as playerctld keeps them when it runs; else the first, by bus
// name, that is not a web browser. Empty when there is none of these.
QString ChoosePlayer(QDBusConnection &bus);

} // namespace platform
