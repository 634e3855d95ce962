// SPDX-License-Identifier: GPL-3.0-or-later
// The program's memory read again before a firing: /proc/self/maps and pagemap, and a guarded read of each page.
#include "platform/linux/LinuxMemory.h"

#include <algorithm>
#include <atomic>
#include <csetjmp>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace platform {

namespace {

constexpr std::uint64_t kPresent = 1ULL << 63;
constexpr std::uint64_t kSwapped = 1ULL << 62;
constexpr std::size_t kBatch = 512;
constexpr unsigned long kLargestMapping = 1UL << 30;

// Set only on the reading thread while it reads: a fault there skips the rest of the mapping it was in.
thread_local sigjmp_buf *recover = nullptr;
struct sigaction previousSegv {};
struct sigaction previousBus {};

void OnFault(int signal, siginfo_t *, void *) {
    if (recover != nullptr) {
        siglongjmp(*recover, 1);
    }
    // Another thread's fault: the handling the program had takes it when the instruction runs again.
    sigaction(signal, signal == SIGSEGV ? &previousSegv : &previousBus, nullptr);
}

// Reads the pages of [start, end) that are in memory or swapped out, up to a fault. Any byte of them, a heap
// block's guard or a freed one, is read alike: not a read for the address checker to judge.
[[gnu::no_sanitize_address]] void ReadMapping(int pagemap, std::uintptr_t start, std::uintptr_t end,
                                              std::size_t pageSize, std::size_t &read) {
    sigjmp_buf here;
    if (sigsetjmp(here, 1) != 0) {
        recover = nullptr; // the mapping went away meanwhile
        return;
    }
    std::uint64_t entries[kBatch];
    for (std::uintptr_t at = start; at < end;) {
        const std::size_t count = std::min<std::size_t>(kBatch, (end - at) / pageSize);
        const ssize_t got =
            ::pread(pagemap, entries, count * sizeof entries[0], static_cast<off_t>(at / pageSize * sizeof entries[0]));
        if (got <= 0) {
            return;
        }
        const auto pages = static_cast<std::size_t>(got) / sizeof entries[0];
        recover = &here;
        for (std::size_t i = 0; i < pages; ++i) {
            if ((entries[i] & (kPresent | kSwapped)) != 0) {
                [[maybe_unused]] const char byte = *reinterpret_cast<volatile const char *>(at + i * pageSize);
                ++read;
            }
        }
        recover = nullptr;
        at += pages * pageSize;
    }
}

} // namespace

std::size_t ReadResidentPages() {
    std::FILE *maps = std::fopen("/proc/self/maps", "re");
    const int pagemap = ::open("/proc/self/pagemap", O_RDONLY | O_CLOEXEC);
    std::size_t read = 0;
    if (maps != nullptr && pagemap >= 0) {
        struct sigaction guard {};
        guard.sa_sigaction = OnFault;
        guard.sa_flags = SA_SIGINFO;
        sigemptyset(&guard.sa_mask);
        sigaction(SIGSEGV, &guard, &previousSegv);
        sigaction(SIGBUS, &guard, &previousBus);
        const auto pageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
        char line[4096];
        while (std::fgets(line, sizeof line, maps) != nullptr) {
            unsigned long start = 0;
            unsigned long end = 0;
            char permissions[5] = {};
            // Devices are not memory to read; the kernel's own pages ([vvar], [vsyscall]) are never cold; a mapping
            // of gigabytes is address space set aside (a sanitizer's shadow), whose pagemap alone would take minutes.
            if (std::sscanf(line, "%lx-%lx %4s", &start, &end, permissions) != 3 || permissions[0] != 'r' ||
                end - start > kLargestMapping || std::strstr(line, " /dev/") != nullptr ||
                std::strstr(line, "[v") != nullptr) {
                continue;
            }
            ReadMapping(pagemap, start, end, pageSize, read);
        }
        sigaction(SIGSEGV, &previousSegv, nullptr);
        sigaction(SIGBUS, &previousBus, nullptr);
    }
    if (pagemap >= 0) {
        ::close(pagemap);
    }
    if (maps != nullptr) {
        std::fclose(maps);
    }
    return read;
}

void WarmMemoryAside() {
    static std::atomic<bool> reading{false};
    if (reading.exchange(true)) {
        return;
    }
    std::thread([] {
        ReadResidentPages();
        reading = false;
    }).detach();
}

} // namespace platform
