#!/usr/bin/env bash
# Builds the project and runs every test.
#   scripts/test.sh                  Qt 5, normal build in build/
#   scripts/test.sh --qt 6           Qt 6, normal build in build-qt6/
#   scripts/test.sh --sanitize       AddressSanitizer + UndefinedBehaviorSanitizer build in
#                                    build-asan/ (build-qt6-asan/ with --qt 6)
# CORVEX_CMAKE_ARGS adds configure options (for example -DCORVEX_WERROR=ON); CORVEX_BUILD_DIR
# and CORVEX_SOURCE_DIR change the build folder and the project built (the script tests use them).
# Fails when the build fails, when any test fails and when there is no test to run.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

qt=5
sanitize=0
while [ $# -gt 0 ]; do
    case "$1" in
        --qt) qt="$2"; shift 2 ;;
        --qt=*) qt="${1#--qt=}"; shift ;;
        --sanitize) sanitize=1; shift ;;
        *) echo "usage: scripts/test.sh [--qt 5|6] [--sanitize]" >&2; exit 2 ;;
    esac
done
"$root/scripts/deps.sh" --qt "$qt"

source_dir="${CORVEX_SOURCE_DIR:-$root}"
build_dir="$root/build"
[ "$qt" = 6 ] && build_dir="$root/build-qt6"
cmake_args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVEX_QT_MAJOR="$qt")
if [ "$sanitize" = 1 ]; then
    build_dir="$build_dir-asan"
    cmake_args=(-DCMAKE_BUILD_TYPE=Debug -DCORVEX_SANITIZE=ON -DCORVEX_QT_MAJOR="$qt")
    export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:strict_string_checks=1"
    export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
fi
build_dir="${CORVEX_BUILD_DIR:-$build_dir}"
# shellcheck disable=SC2206
cmake_args+=(${CORVEX_CMAKE_ARGS:-})

jobs="$(nproc 2>/dev/null || echo 2)"
cmake -S "$source_dir" -B "$build_dir" "${cmake_args[@]}"
cmake --build "$build_dir" --parallel "$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build_dir" --output-on-failure --parallel "$jobs" \
    --no-tests=error
