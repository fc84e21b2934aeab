#!/usr/bin/env bash
# Builds the project and runs every test.
#   scripts/test.sh              normal build in build/
#   scripts/test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/
# CORVEX_CMAKE_ARGS adds configure options (for example -DCORVEX_WERROR=ON); CORVEX_BUILD_DIR
# and CORVEX_SOURCE_DIR change the build folder and the project built (the script tests use them).
# Fails when the build fails, when any test fails and when there is no test to run.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/deps.sh"

source_dir="${CORVEX_SOURCE_DIR:-$root}"
build_dir="${CORVEX_BUILD_DIR:-$root/build}"
cmake_args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
    build_dir="${CORVEX_BUILD_DIR:-$root/build-asan}"
    cmake_args=(-DCMAKE_BUILD_TYPE=Debug -DCORVEX_SANITIZE=ON)
    export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:strict_string_checks=1"
    export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
fi
# shellcheck disable=SC2206
cmake_args+=(${CORVEX_CMAKE_ARGS:-})

jobs="$(nproc 2>/dev/null || echo 2)"
cmake -S "$source_dir" -B "$build_dir" "${cmake_args[@]}"
cmake --build "$build_dir" --parallel "$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build_dir" --output-on-failure --parallel "$jobs" \
    --no-tests=error
