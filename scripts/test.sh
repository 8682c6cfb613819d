#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test: the normal build (unit and end-to-end tests)
# and the AddressSanitizer + UndefinedBehaviorSanitizer build of the libraries without Qt GUI.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)
bash scripts/build.sh default
ctest --preset default -j "$jobs"
bash scripts/build.sh asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan -j "$jobs"
