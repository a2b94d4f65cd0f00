#!/usr/bin/env bash
# Every test: the unit tests under AddressSanitizer and UndefinedBehaviorSanitizer, a bounded
# fuzzing run of the window definition's reader, the 32-bit Windows program under 32-bit Wine
# where the kernel runs 32-bit programs, then the unit and end-to-end tests of the normal build,
# with the Windows program's file checks and its x86_64 tests under Wine among them.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
fuzz_seconds=${ZANTHERA_FUZZ_SECONDS:-60}

echo "== unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DZANTHERA_SANITIZE=ON -DZANTHERA_GUI=OFF >/dev/null
cmake --build "$root/build-asan" -j "$(nproc)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$root/build-asan" --output-on-failure -j 2 --timeout 300

echo "== fuzzing the definition reader for ${fuzz_seconds} s"
mkdir -p "$root/build-fuzz"
ZANTHERA_REAL_BLOCK="$(realpath "$build")/definition/Form1.definition" \
  "$root/fuzz/run.sh" "$fuzz_seconds" "$root/build-fuzz" >"$root/build-fuzz/fuzz.log" 2>&1 ||
  { tail -n 40 "$root/build-fuzz/fuzz.log"; echo "The fuzzer found a crash; see tests/regressions/." >&2; exit 1; }
grep -h 'stat::number_of_executed_units' "$root/build-fuzz/fuzz.log" |
  awk '{ runs += $2 } END { printf "fuzzing: %d runs, no crash\n", runs }'

echo "== the Wine prefix for the Windows program's tests (made once, then reused)"
"$root/scripts/wine-prefix.sh" "${ZANTHERA_WINDOWS_BUILD:-$root/build-windows}/wineprefix"

echo "== the Windows program's unit tests under Wine"
ctest --test-dir "${ZANTHERA_WINDOWS_BUILD:-$root/build-windows}/x64" --output-on-failure --timeout 600

# The 32-bit program met as the x86_64 one is, under 32-bit Wine, where the kernel runs 32-bit
# programs itself (some of these machines do, some do not): only there is 32-bit Wine installed.
echo "== the 32-bit Windows program's end-to-end tests under 32-bit Wine"
if "$root/scripts/runs-32bit.sh"; then
  "$root/scripts/install-deps.sh" wine32
  "$root/scripts/test-win32.sh" "$build"
else
  echo "32-bit Windows program's tests under Wine left out: this kernel does not run 32-bit x86 programs itself (make test-win32 runs them under emulation)"
fi

# Last, so that CTest's summary of the whole suite is the closing line.
echo "== unit and end-to-end tests"
ctest --test-dir "$build" --output-on-failure -j 2 --timeout 300
