#!/usr/bin/env bash
# Installs what is missing, builds the tests with AddressSanitizer and
# UndefinedBehaviorSanitizer in their own build folder, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
build=build-asan
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DQUILLABY_SANITIZE=ON >/dev/null
cmake --build "$build" -j2
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2 --timeout 300
