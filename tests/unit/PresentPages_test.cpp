// SPDX-License-Identifier: GPL-3.0-or-later
// Reading back the present pages reads the pages in use and brings in none that were never used.
#include "platform/linux/PresentPages.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <vector>

TEST(PresentPages, ReadsThePagesInUseAndLeavesTheUnusedOnesOut) {
    const long page = ::sysconf(_SC_PAGESIZE);
    constexpr int kPages = 64;
    auto *area = static_cast<unsigned char *>(
        ::mmap(nullptr, kPages * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(area, MAP_FAILED);
    for (int i = 0; i < kPages; i += 4) {
        area[i * page] = 1;
    }
    EXPECT_GE(platform::ReadPresentPages(), static_cast<std::size_t>(kPages / 4));
    std::vector<unsigned char> resident(kPages);
    ASSERT_EQ(::mincore(area, kPages * page, resident.data()), 0);
    for (int i = 0; i < kPages; ++i) {
        EXPECT_EQ(resident[i] & 1, i % 4 == 0 ? 1 : 0) << "page " << i;
    }
    ::munmap(area, kPages * page);
}
