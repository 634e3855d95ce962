// SPDX-License-Identifier: GPL-3.0-or-later
// Reading back the pages this process has in memory, or had before they were swapped out.
#pragma once

#include <cstddef>

namespace platform {

// Reads one byte of every page of the process's readable mappings that is in memory or in swap, as the page map
// lists them; pages never used stay untouched, so nothing new is read from files or allocated. The kernel's own
// mappings and devices' are left alone. Returns how many pages were read.
std::size_t ReadPresentPages();

} // namespace platform
