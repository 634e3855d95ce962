// SPDX-License-Identifier: GPL-3.0-or-later
// The memory read again before a firing: what it reads, and mappings that another thread takes away meanwhile.
#include "platform/linux/LinuxMemory.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <sys/mman.h>
#include <thread>
#include <unistd.h>

namespace {

TEST(LinuxMemory, ReadsThePagesHeldAndPassesOverMappingsThatGoAway) {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    constexpr std::size_t kPages = 2048;
    void *held = ::mmap(nullptr, kPages * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(held, MAP_FAILED);
    const std::size_t before = platform::ReadResidentPages();
    std::memset(held, 1, kPages * page);
    EXPECT_GE(platform::ReadResidentPages(), before + kPages) << "a page written since is read too";
    ::munmap(held, kPages * page);

    // A mapping another thread takes away and gives back as fast as it can: listed as readable, it is gone by the
    // time its pages are read, which must end only the reading of that mapping.
    void *flickering = ::mmap(nullptr, kPages * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(flickering, MAP_FAILED);
    std::memset(flickering, 1, kPages * page);
    std::atomic<bool> stop{false};
    std::thread churn([&stop, flickering, page] {
        while (!stop) {
            ::mprotect(flickering, kPages * page, PROT_NONE);
            ::mprotect(flickering, kPages * page, PROT_READ);
        }
    });
    for (int i = 0; i < 20; ++i) {
        EXPECT_GT(platform::ReadResidentPages(), 0U);
    }
    stop = true;
    churn.join();
    ::munmap(flickering, kPages * page);
}

} // namespace
