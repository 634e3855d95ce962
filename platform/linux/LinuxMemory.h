// SPDX-License-Identifier: GPL-3.0-or-later
// The program's memory read again before a firing, by the program's own access to it.
#pragma once

#include <cstddef>

namespace platform {

// Reads one byte of every page of the process that is in memory or swapped out (as /proc/self/pagemap tells),
// through the process's own addresses: on a virtual machine a page the program has not touched for minutes
// costs microseconds at its next touch, and a read by the kernel on the program's behalf does not bring it
// back. Pages that another thread unmaps meanwhile are passed over. Returns how many pages it read.
std::size_t ReadResidentPages();

// Runs ReadResidentPages on a thread of its own, unless one is still reading.
void WarmMemoryAside();

} // namespace platform
