// SPDX-License-Identifier: GPL-3.0-or-later
// The table of backends in use.
#include "platform/Platform.h"

namespace platform {

namespace {
Backends current;
}

Backends &Current() {
    return current;
}

void Install(const Backends &backends) {
    current = backends;
}

} // namespace platform
