#!/usr/bin/env bash
# Builds the definition reader's fuzz target with clang under ASan and UBSan and runs it for a
# bounded time: two thirds of it on small blocks, which run fast, then the rest with the
# program's real block among the seeds when it exists. Inputs that crash the target are kept in
# tests/regressions/ as fuzz-<hash>.bin, where the unit tests read them back; the script then
# fails.
#
#   fuzz/run.sh [SECONDS] [BUILD_DIR]        (defaults: 60 and build-fuzz)
#
# ZANTHERA_REAL_BLOCK may name the program's block (default build/definition/Form1.definition).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=$(realpath -m "${2:-$root/build-fuzz}")
real_block=${ZANTHERA_REAL_BLOCK:-$root/build/definition/Form1.definition}

cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 \
  -DZANTHERA_REAL_BLOCK="$real_block" >/dev/null
cmake --build "$build" -j 2

crashes=$build/crashes
mkdir -p "$build/corpus/small" "$build/corpus/full" "$crashes"
rm -f "$crashes"/*

fuzz() { # TIME CORPUS... [-flags]
  local time=$1
  shift
  [ "$time" -gt 0 ] || return 0
  "$build/definition_fuzzer" -max_total_time="$time" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$crashes/" -print_final_stats=1 "$@"
}

status=0
small_time=$((seconds * 2 / 3))
if [ -n "$(ls -A "$build/seeds/full")" ]; then
  full_time=$((seconds - small_time))
else
  small_time=$seconds
  full_time=0
fi
fuzz "$small_time" -max_len=4096 "$build/corpus/small" "$build/seeds/small" || status=$?
if [ "$status" -eq 0 ]; then
  fuzz "$full_time" "$build/corpus/full" "$build/seeds/full" "$build/seeds/small" || status=$?
fi

for input in "$crashes"/*; do
  [ -e "$input" ] || continue
  name=fuzz-$(sha1sum "$input" | cut -c1-12).bin
  cp "$input" "$root/tests/regressions/$name"
  echo "kept $(basename "$input") as tests/regressions/$name"
  status=1
done
exit "$status"
