#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the package's Debian change log (the format dpkg and lintian read) from CHANGELOG.md's newest section.
# Usage: debian-changelog.sh CHANGELOG.md VERSION "NAME <MAIL>" OUTPUT.gz; dated SOURCE_DATE_EPOCH, else
# CHANGELOG.md's time, and compressed without a time stamp, so that rebuilds are identical.
set -eu
{
    printf 'zindrel (%s) unstable; urgency=medium\n\n' "$2"
    # Each entry of the section as one bullet, wrapped at 80 columns as Debian's tools expect.
    awk 'function flush(  n, i, words, line) {
             if (entry == "") return
             n = split(entry, words, " ")
             line = "  *"
             for (i = 1; i <= n; i++) {
                 if (length(line) + 1 + length(words[i]) > 80) { print line; line = "   " }
                 line = line " " words[i]
             }
             print line
             entry = ""
         }
         /^## / { flush(); section++; next }
         section == 1 && /^- / { flush(); entry = substr($0, 3); next }
         section == 1 && /^  / { entry = entry " " substr($0, 3) }
         END { flush() }' "$1"
    if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
        when=$(date -u -R -d "@$SOURCE_DATE_EPOCH")
    else
        when=$(date -u -R -r "$1")
    fi
    printf '\n -- %s  %s\n' "$3" "$when"
} | gzip -9n > "$4"
