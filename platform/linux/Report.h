// SPDX-License-Identifier: GPL-3.0-or-later
// The one stderr line a backend leaves when it cannot reach what it needs.
#pragma once

#include <string>

namespace platform {

void ReportUnreachable(const std::string &what);

} // namespace platform
