// SPDX-License-Identifier: GPL-3.0-or-later
// The one stderr line a backend leaves when it cannot reach what it needs.
#include "platform/linux/Report.h"

#include <cstdio>

namespace platform {

void ReportUnreachable(const std::string &what) {
    std::fprintf(stderr, "zindrel: %s\n", what.c_str());
}

} // namespace platform
