// SPDX-License-Identifier: GPL-3.0-or-later
// Reading back the present pages through /proc/self/maps and /proc/self/pagemap.
#include "platform/linux/PresentPages.h"

#include <QByteArray>
#include <QFile>
#include <QList>

#include <algorithm>
#include <cstdint>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

constexpr std::uint64_t kPresent = 1ULL << 63;
constexpr std::uint64_t kSwapped = 1ULL << 62;
// Page map entries read at a time.
constexpr std::size_t kBatch = 512;
// A mapping larger than this is a reservation (a sanitizer's shadow, a huge arena), not memory the program uses.
constexpr std::uintptr_t kLargestMapping = std::uintptr_t{1} << 30;

// Whether a mapping is one of ours to read: readable, and neither the kernel's (vvar, vsyscall) nor a device's.
bool Readable(const QList<QByteArray> &fields) {
    if (fields.size() < 5 || !fields[1].startsWith('r')) {
        return false;
    }
    const QByteArray path = fields.size() > 5 ? fields[5] : QByteArray();
    if (path.startsWith("[v")) {
        return false;
    }
    return !path.startsWith("/dev/") || path.startsWith("/dev/shm/");
}

// A plain read of one byte, kept from the address sanitizer, which would take a heap redzone's page for a fault.
__attribute__((no_sanitize("address"), noinline)) void ReadByte(std::uintptr_t address) {
    static_cast<void>(*reinterpret_cast<const volatile unsigned char *>(address));
}

} // namespace

std::size_t ReadPresentPages() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    const int pagemap = ::open("/proc/self/pagemap", O_RDONLY | O_CLOEXEC);
    if (pagemap < 0 || !maps.open(QIODevice::ReadOnly)) {
        if (pagemap >= 0) {
            ::close(pagemap);
        }
        return 0;
    }
    // The list is read whole first: reading pages must not race the reading of the list it comes from.
    const QList<QByteArray> lines = maps.readAll().split('\n');
    const auto pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    std::vector<std::uint64_t> entries(kBatch);
    std::size_t read = 0;
    for (const QByteArray &line : lines) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (!Readable(fields)) {
            continue;
        }
        const QList<QByteArray> range = fields[0].split('-');
        bool startOk = false;
        bool endOk = false;
        const std::uintptr_t start = range.value(0).toULongLong(&startOk, 16);
        const std::uintptr_t end = range.value(1).toULongLong(&endOk, 16);
        if (!startOk || !endOk || end <= start || end - start > kLargestMapping) {
            continue;
        }
        for (std::uintptr_t batch = start; batch < end; batch += kBatch * pageSize) {
            const std::size_t pages = std::min<std::uintptr_t>((end - batch) / pageSize, kBatch);
            const ssize_t got = ::pread(pagemap, entries.data(), pages * sizeof(std::uint64_t),
                                        static_cast<off_t>(batch / pageSize * sizeof(std::uint64_t)));
            for (std::size_t i = 0; got > 0 && i < static_cast<std::size_t>(got) / sizeof(std::uint64_t); ++i) {
                if ((entries[i] & (kPresent | kSwapped)) != 0) {
                    ReadByte(batch + i * pageSize);
                    ++read;
                }
            }
        }
    }
    ::close(pagemap);
    return read;
}

} // namespace platform
