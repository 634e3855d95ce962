// SPDX-License-Identifier: GPL-3.0-or-later
// The firing benchmark's stamp: appends "boottime realtime" in seconds to the file it is given, at once.
#include <stdio.h>
#include <time.h>

int main(int argc, char **argv) {
    struct timespec boot;
    struct timespec real;
    clock_gettime(CLOCK_BOOTTIME, &boot);
    clock_gettime(CLOCK_REALTIME, &real);
    if (argc < 2) {
        return 2;
    }
    FILE *out = fopen(argv[1], "a");
    if (out == NULL) {
        return 1;
    }
    fprintf(out, "%lld.%09ld %lld.%09ld\n", (long long)boot.tv_sec, boot.tv_nsec, (long long)real.tv_sec, real.tv_nsec);
    return fclose(out) == 0 ? 0 : 1;
}
