#!/usr/bin/env bash
# Every test: the unit and end-to-end tests of the normal build through CTest.
set -euo pipefail
build=${1:-build}
ctest --test-dir "$build" --output-on-failure -j 2 --timeout 300
