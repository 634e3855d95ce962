// SPDX-License-Identifier: GPL-3.0-or-later
// The firing benchmark's floor: sleeps to a due time on the boot clock, then runs "/bin/sh -c COMMAND" by vfork and
// execve, as a program that did nothing else all that while would: what the machine alone adds to a firing.
#include <errno.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char **environ;

int main(int argc, char **argv) {
    if (argc != 3) {
        return 2;
    }
    const double due = strtod(argv[1], NULL);
    const struct timespec at = {(time_t)due, (long)((due - (double)(time_t)due) * 1e9)};
    int slept;
    while ((slept = clock_nanosleep(CLOCK_BOOTTIME, TIMER_ABSTIME, &at, NULL)) == EINTR) {
    }
    if (slept != 0) {
        return 1;
    }
    char *args[] = {"/bin/sh", "-c", argv[2], NULL};
    const pid_t child = vfork();
    if (child == 0) {
        execve(args[0], args, environ);
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) {
        return 1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
