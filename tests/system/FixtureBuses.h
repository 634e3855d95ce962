// SPDX-License-Identifier: GPL-3.0-or-later
// The guard of every system test that can reach a power call: it runs only on the buses its fixture started.
#pragma once

#include <QFileInfo>
#include <QString>

#include <gtest/gtest.h>

#include <string>

// True only when the fixture said so and both bus sockets lie inside the fixture's own folder; these tests
// make real power calls and must never reach the machine's logind or session manager.
inline bool OnFixtureBuses(std::string &why) {
    if (qEnvironmentVariable("ZINDREL_PRIVATE_BUSES") != QLatin1String("1")) {
        why = "ZINDREL_PRIVATE_BUSES=1 is not set: run through a tests/system script";
        return false;
    }
    const QString root = QFileInfo(qEnvironmentVariable("ZINDREL_FIXTURE_ROOT")).canonicalFilePath();
    if (root.isEmpty()) {
        why = "ZINDREL_FIXTURE_ROOT is not an existing folder";
        return false;
    }
    for (const char *variable : {"DBUS_SYSTEM_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS"}) {
        const QString address = qEnvironmentVariable(variable);
        const QString prefix = QStringLiteral("unix:path=");
        // A single unix:path address; a list could fall through to another bus.
        if (!address.startsWith(prefix) || address.contains(QLatin1Char(';'))) {
            why = std::string(variable) + " is not one unix:path address: " + address.toStdString();
            return false;
        }
        const QString socket =
            QFileInfo(address.mid(prefix.size()).section(QLatin1Char(','), 0, 0)).canonicalFilePath();
        if (socket.isEmpty() || !socket.startsWith(root + QLatin1Char('/'))) {
            why = std::string(variable) + " does not point into " + root.toStdString();
            return false;
        }
    }
    return true;
}

#define REQUIRE_FIXTURE_BUSES()                                                                                        \
    do {                                                                                                               \
        std::string why;                                                                                               \
        ASSERT_TRUE(OnFixtureBuses(why)) << "refusing to run: " << why;                                                \
    } while (false)
