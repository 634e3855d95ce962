#!/usr/bin/env bash
# Installs what the tests need where missing (scripts/deps.sh test), builds everything and runs every test: unit and
# system tests, the Win32 backend under wine64, the Windows program and its journeys under wine64, the fuzz targets,
# and last the unit tests under ASan + UBSan + LeakSanitizer; then one summary of what ran, what was left out and
# why.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
# Clones in other folders share the compiler cache.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
preset=dev
[ "${CI:-}" = "true" ] && preset=ci
status=0
summary=()
passed=0 failed=0 skipped=0
failed_stages=()
started=$SECONDS

# One summary line for a stage that took from $1 (seconds) until now; a failed one is named again on the last line.
record() {
  summary+=("$(printf '%-11s %4d s  %s' "$2" $((SECONDS - $1)) "$3")")
  [[ $3 != FAILED* ]] || failed_stages+=("$2")
}

# Counts a ctest run's cases from its JUnit file and lists its skips. Under CI every prerequisite of every test is
# installed by scripts/deps.sh, so a skip there means something that should have run did not: a failure.
ctest_run() {
  local name=$1 junit=$2 t0=$SECONDS code=0
  shift 2
  rm -f "$junit"
  ctest "$@" --output-junit "$junit" || code=$?
  [ "$code" -eq 0 ] || { status=1; failed_stages+=("$name"); }
  if [ ! -f "$junit" ]; then
    record "$t0" "$name" "FAILED: ctest wrote no results (exit $code)"
    status=1
    return
  fi
  local counts p f s
  counts=$(python3 scripts/ctest-results.py "$junit")
  read -r p f s <<<"$(head -1 <<<"$counts")"
  passed=$((passed + p)) failed=$((failed + f)) skipped=$((skipped + s))
  record "$t0" "$name" "$p passed, $f failed, $s skipped"
  while IFS= read -r line; do
    [ -n "$line" ] || continue
    if [ "${CI:-}" = "true" ]; then
      summary+=("            FAILED, skipped under CI: $line")
      status=1
      failed_stages+=("$name (a skip)")
    else
      summary+=("            skipped: $line")
    fi
  done < <(tail -n +2 <<<"$counts")
}

# A stage that passes or fails as a whole.
stage() {
  local name=$1 t0=$SECONDS
  shift
  if "$@"; then
    record "$t0" "$name" "passed"
  else
    record "$t0" "$name" "FAILED"
    status=1
  fi
}

t0=$SECONDS
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
record "$t0" "build" "the $preset preset"
ctest_run "ctest" "$PWD/build/$preset/ctest-junit.xml" --preset "$preset" -j2
# The Win32 backend cross-built with mingw-w64, its call sequences checked under wine64.
stage "win32" scripts/win32-test.sh

# zindrel.exe against a Qt for Windows cross-built once into the cache (about 15 minutes on two cores the first
# time), and its journeys under wine64.
if [ "${ZINDREL_SKIP_WINDOWS:-}" = "1" ]; then
  summary+=("windows        -    left out on request: ZINDREL_SKIP_WINDOWS=1")
else
  t0=$SECONDS
  how="the Qt for Windows from the cache"
  scripts/windows.sh cached || how="the Qt for Windows built into the empty cache first"
  log=$(mktemp)
  code=0
  scripts/windows.sh all > >(tee "$log") 2>&1 || code=$?
  # 77: a service the journeys need (the X server, the window manager) could not start.
  if [ "$code" -eq 0 ]; then
    record "$t0" "windows" "zindrel.exe built with $how; its journeys under wine passed"
  elif [ "$code" -eq 77 ] && [ "${CI:-}" != "true" ]; then
    record "$t0" "windows" "journeys skipped: $(grep -m1 '^SKIP:' "$log" || echo 'no reason given')"
  else
    record "$t0" "windows" "FAILED (exit $code): $(grep -m1 -E '^(SKIP|FAIL):' "$log" || echo 'see the log above')"
    status=1
  fi
  rm -f "$log"
fi

# Every fuzz target for 30 s (clang, libFuzzer); scripts/fuzz.sh 600 is the longer local run.
stage "fuzz" scripts/fuzz.sh 30
# The unit tests under ASan + UBSan + LeakSanitizer.
t0=$SECONDS
cmake --preset asan >/dev/null
cmake --build --preset asan
record "$t0" "build" "the asan preset"
export ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
ctest_run "ctest asan" "$PWD/build/asan/ctest-junit.xml" --preset asan -j2

echo
echo "test.sh: what ran, in $(((SECONDS - started) / 60)) minutes:"
printf '  %s\n' "${summary[@]}"
# The test counts alone would call a run whose stage failed outside ctest (the wine journeys, fuzzing) clean.
verdict="test.sh: $passed passed, $failed failed, $skipped skipped"
[ "$status" -eq 0 ] || verdict+="; failed: $(printf '%s\n' "${failed_stages[@]}" | sort -u | paste -sd, - | sed 's/,/, /g')"
echo "$verdict"
exit $status
