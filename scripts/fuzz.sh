#!/usr/bin/env bash
# Builds the fuzz targets (Debian's default clang, libFuzzer, ASan + UBSan) and runs each for the given seconds
# (default 30). New inputs go to a scratch corpus under the build folder; an input that fails lands beside it and
# ends the run with a non-zero status. A longer local run: scripts/fuzz.sh 600
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target zindrel_fuzz
build=build/fuzz-clang
status=0
# Each target removes its scratch folder in /dev/shm when it ends; one left behind is a fault of the target.
scratch() { find /dev/shm -maxdepth 1 -name 'zindrel-fuzz-*' 2>/dev/null | sort; }
for target in "$build"/fuzz/*_fuzz; do
    name=$(basename "$target")
    work="$build/corpus/$name"
    artefacts="$build/artefacts/$name"
    mkdir -p "$work" "$artefacts"
    echo "== $name: ${seconds} s"
    before=$(scratch)
    if ! UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ASAN_OPTIONS=detect_leaks=1 \
        LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0 \
        "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
        -print_final_stats=1 -artifact_prefix="$artefacts/" "$work" "fuzz/corpus/$name" 2>"$artefacts/log.txt"; then
        tail -n 60 "$artefacts/log.txt"
        echo "== $name FAILED: the input is in $artefacts/"
        status=1
    else
        grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ *DONE)" "$artefacts/log.txt" || true
        left=$(comm -13 <(echo "$before") <(scratch))
        if [ -n "$left" ]; then
            echo "== $name FAILED: it left its scratch folder behind: $left"
            status=1
        fi
    fi
done
exit $status
