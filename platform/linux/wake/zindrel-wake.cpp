// SPDX-License-Identifier: GPL-3.0-or-later
// zindrel-wake: holds one CLOCK_REALTIME_ALARM timer, so a sleeping machine wakes for the alarm clock.
//
// Installed with the capability cap_wake_alarm, it takes exactly one argument, a time in seconds since 1970 that
// lies at least a minute and at most two days ahead, sets the alarm timer to it, and waits until that time has
// passed or its standard input closes (the program cancelled the wake-up or ended). It serves only a user whom
// logind counts as sitting at a seat (an active session in the seat's foreground), and holds one alarm per user:
// a second one waits a moment for the first to end (the program re-arming) and is refused if it does not.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {

// The alarm clock is never more than a day ahead; a bound keeps the helper from holding timers for anything else.
constexpr std::int64_t kLongestWaitS = 2 * 24 * 3600;
// Closer than that the program is awake anyway; a bound keeps alarms from making every suspend fail.
constexpr std::int64_t kShortestWaitS = 60;
constexpr int kBadArgument = 2;
constexpr int kNoAlarm = 3;
constexpr int kNoSeat = 4;
constexpr int kAlarmHeld = 5;
// How long a second helper waits for the first to let go: the program closes the old helper's input and starts
// the new one at once when it re-arms.
constexpr int kLockAttempts = 30;
constexpr useconds_t kLockPauseUs = 100000;

int Say(int code, const char *why) {
    std::fprintf(stderr, "zindrel-wake: %s\n", why);
    return code;
}

// The record logind keeps of a user (what sd_uid_get_state and sd_uid_get_seats read): STATE=active and a seat in
// ACTIVE_SEATS mean one of the user's sessions is in the foreground of a seat, not an ssh login or a service.
// Only a file of root's that no one else may write is believed.
bool SitsAtASeat(uid_t uid) {
    const std::string path = "/run/systemd/users/" + std::to_string(uid);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    char text[4096];
    ssize_t length = -1;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == 0 && (info.st_mode & 022) == 0) {
        length = ::read(fd, text, sizeof text - 1);
    }
    ::close(fd);
    if (length <= 0) {
        return false;
    }
    bool active = false;
    bool seat = false;
    const std::string record(text, static_cast<std::size_t>(length));
    std::size_t start = 0;
    while (start < record.size()) {
        std::size_t end = record.find('\n', start);
        end = end == std::string::npos ? record.size() : end;
        const std::string line = record.substr(start, end - start);
        active = active || line == "STATE=active";
        seat = seat || (line.rfind("ACTIVE_SEATS=", 0) == 0 && line.size() > 13);
        start = end + 1;
    }
    return active && seat;
}

// The user's runtime folder, made by logind and owned by the user, locked as a whole: a lock file in it could be
// removed and made anew while held, the folder cannot. The lock lasts as long as the returned descriptor.
int LockUsersAlarm(uid_t uid) {
    const std::string path = "/run/user/" + std::to_string(uid);
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || info.st_uid != uid) {
        if (fd >= 0) {
            ::close(fd);
        }
        return -1;
    }
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return fd;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            break;
        }
        ::usleep(kLockPauseUs);
    }
    ::close(fd);
    return -1;
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc != 2) {
        return Say(kBadArgument, "takes exactly one argument: the wake-up time in seconds since 1970");
    }
    const char *text = argv[1];
    const std::size_t length = std::strlen(text);
    if (length == 0 || length > 12) {
        return Say(kBadArgument, "the time is not a number of seconds since 1970");
    }
    std::int64_t when = 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return Say(kBadArgument, "the time is not a number of seconds since 1970");
        }
        when = when * 10 + (text[i] - '0');
    }
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    if (when <= now) {
        return Say(kBadArgument, "the time has passed");
    }
    if (when - now < kShortestWaitS) {
        return Say(kBadArgument, "the time is less than a minute ahead");
    }
    if (when - now > kLongestWaitS) {
        return Say(kBadArgument, "the time is more than two days ahead");
    }
    const uid_t uid = ::getuid();
    if (!SitsAtASeat(uid)) {
        return Say(kNoSeat, "refused: the user has no active session at a seat of this machine");
    }
    if (LockUsersAlarm(uid) < 0) {
        return Say(kAlarmHeld, "refused: another wake alarm of this user is held");
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
            std::fprintf(stderr, "zindrel-wake: waiting for the alarm failed (%s)\n", std::strerror(errno));
            return kNoAlarm;
        }
        // The time has come, or the program closed its end of the pipe (which reads as end of file).
        if (watched[0].revents != 0 || watched[1].revents != 0) {
            return 0;
        }
    }
}
