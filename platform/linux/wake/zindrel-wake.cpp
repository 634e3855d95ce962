// SPDX-License-Identifier: GPL-3.0-or-later
// zindrel-wake: holds one CLOCK_REALTIME_ALARM timer, so a sleeping machine wakes for the alarm clock.
//
// Installed with the capability cap_wake_alarm, it takes exactly one argument, a time in seconds since 1970 that
// lies in the future and within two days, sets the alarm timer to it, and waits until that time has passed or
// its standard input closes (the program cancelled the wake-up or ended). It does nothing else.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {

// The alarm clock is never more than a day ahead; a bound keeps the helper from holding timers for anything else.
constexpr std::int64_t kLongestWaitS = 2 * 24 * 3600;
constexpr int kBadArgument = 2;
constexpr int kNoAlarm = 3;

int Refuse(const char *why) {
    std::fprintf(stderr, "zindrel-wake: %s\n", why);
    return kBadArgument;
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc != 2) {
        return Refuse("takes exactly one argument: the wake-up time in seconds since 1970");
    }
    const char *text = argv[1];
    const std::size_t length = std::strlen(text);
    if (length == 0 || length > 12) {
        return Refuse("the time is not a number of seconds since 1970");
    }
    std::int64_t when = 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return Refuse("the time is not a number of seconds since 1970");
        }
        when = when * 10 + (text[i] - '0');
    }
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    if (when <= now) {
        return Refuse("the time has passed");
    }
    if (when - now > kLongestWaitS) {
        return Refuse("the time is more than two days ahead");
    }

    const int timer = ::timerfd_create(CLOCK_REALTIME_ALARM, TFD_CLOEXEC);
    if (timer < 0) {
        std::fprintf(stderr, "zindrel-wake: no wake alarm (%s; the helper needs cap_wake_alarm)\n",
                     std::strerror(errno));
        return kNoAlarm;
    }
    itimerspec due{};
    due.it_value.tv_sec = static_cast<time_t>(when);
    if (::timerfd_settime(timer, TFD_TIMER_ABSTIME, &due, nullptr) != 0) {
        std::fprintf(stderr, "zindrel-wake: the wake alarm was refused (%s)\n", std::strerror(errno));
        return kNoAlarm;
    }
    pollfd watched[] = {{timer, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    for (;;) {
        if (::poll(watched, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return 0;
        }
        // The time has come, or the program closed its end of the pipe (which reads as end of file).
        if (watched[0].revents != 0 || watched[1].revents != 0) {
            return 0;
        }
    }
}
