#!/usr/bin/env bash
# The scripts CI runs fail when their check fails: fuzz.sh on a harness that finds something,
# test.sh on a failing test or none at all, deps.sh on a package that does not get installed.
# Stand-ins take the place of the real harnesses, project and apt-get, so this takes seconds.
#   tests/tst_scripts.sh [REPOSITORY]
set -uo pipefail

root="$(cd "${1:-$(dirname "${BASH_SOURCE[0]}")/..}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

# expect STATUS NAME TEXT COMMAND...: COMMAND exits with STATUS (0, or "fail" for any other)
# and its output holds TEXT.
expect() {
    local want="$1" name="$2" text="$3"
    shift 3
    local status=0
    "$@" >"$work/out" 2>&1 || status=$?
    local ok=1
    # "fail" wants any status but 0.
    [ "$want" = 0 ] && [ "$status" -ne 0 ] && ok=0
    [ "$want" != 0 ] && [ "$status" -eq 0 ] && ok=0
    [ -z "$text" ] || grep -qF -- "$text" "$work/out" || ok=0
    if [ "$ok" = 1 ]; then
        echo "ok    $name (exit $status)"
    else
        echo "FAIL  $name: exit $status, expected $want with \"$text\"; output:"
        sed 's/^/      /' "$work/out"
        failures=$((failures + 1))
    fi
}

# --- fuzz.sh: stand-in harnesses, each a program that takes libFuzzer's arguments -------------
harness() {
    mkdir -p "$work/harness"
    printf '#!/usr/bin/env bash\nprefix=""\nfor a in "$@"; do case "$a" in -artifact_prefix=*) prefix="${a#*=}" ;; esac; done\n%s\n' \
        "$2" >"$work/harness/$1"
    chmod +x "$work/harness/$1"
    echo "$work/harness/$1"
}
fuzz() {
    CORVEX_FUZZ_BUILD_DIR="$work/fuzz" "$root/scripts/fuzz.sh" --smoke "$@" 1
}
clean=$(harness fuzz_clean 'echo "stat::number_of_executed_units: 1000"')
expect 0 "fuzz: a clean harness passes" "without a finding" fuzz --harness "$clean"
expect fail "fuzz: a harness that crashes" "fuzz_crash: finding (killed by signal 11)" \
    fuzz --harness "$clean" --harness "$(harness fuzz_crash 'echo "==1==ERROR: AddressSanitizer: SEGV"; kill -SEGV $$')"
expect fail "fuzz: an invariant that fails" "fuzz_invariant: finding (killed by signal 6)" \
    fuzz --harness "$(harness fuzz_invariant 'echo "invariant failed: x" >&2; kill -ABRT $$')"
expect fail "fuzz: a time-out" "fuzz_slow: finding (exit status 70)" \
    fuzz --harness "$(harness fuzz_slow 'echo "==1== ERROR: libFuzzer: timeout after 25 seconds"; exit 70')"
expect fail "fuzz: a sanitizer report with exit status 0" "SUMMARY: UndefinedBehaviorSanitizer" \
    fuzz --harness "$(harness fuzz_quiet 'echo "SUMMARY: UndefinedBehaviorSanitizer: undefined-behavior a.cpp:1:2"')"
expect fail "fuzz: a libFuzzer report with exit status 0" "ERROR: libFuzzer: out-of-memory" \
    fuzz --harness "$(harness fuzz_oom 'echo "==7== ERROR: libFuzzer: out-of-memory (used: 2100Mb)"')"
expect fail "fuzz: a saved crash input with exit status 0" "saved fuzz_saved-crash-" \
    fuzz --harness "$(harness fuzz_saved 'echo x >"${prefix}crash-1234"')"
# A real libFuzzer program that traps on its first input, where clang can build one.
printf '#include <cstdint>\n#include <cstddef>\nextern "C" int LLVMFuzzerTestOneInput(const uint8_t *, size_t) { __builtin_trap(); }\n' \
    >"$work/trap.cpp"
if clang++ -fsanitize=fuzzer -o "$work/fuzz_trap" "$work/trap.cpp" 2>/dev/null; then
    expect fail "fuzz: a libFuzzer harness that crashes" "fuzz_trap: finding" \
        fuzz --harness "$work/fuzz_trap"
else
    echo "skip  fuzz: a libFuzzer harness that crashes (clang++ -fsanitize=fuzzer unavailable)"
fi

# --- test.sh: a stand-in project with the given tests -------------------------------------
project() {
    mkdir -p "$work/$1"
    printf 'cmake_minimum_required(VERSION 3.16)\nproject(stand_in NONE)\nenable_testing()\n%s\n' \
        "$2" >"$work/$1/CMakeLists.txt"
    echo "$work/$1"
}
tests() {
    CORVEX_APT_GET=false CORVEX_SOURCE_DIR="$1" CORVEX_BUILD_DIR="$1/build" "$root/scripts/test.sh"
}
expect 0 "test: every test passes" "100% tests passed" \
    tests "$(project passing 'add_test(NAME passes COMMAND true)')"
expect fail "test: a test fails" "The following tests FAILED" \
    tests "$(project failing 'add_test(NAME passes COMMAND true)
add_test(NAME fails COMMAND false)')"
expect fail "test: no test at all" "No tests were found" tests "$(project empty '')"
expect fail "test: the project does not configure" "CMake Error" \
    tests "$(project broken 'message(FATAL_ERROR "broken")')"

# --- deps.sh: a stand-in apt-get ----------------------------------------------------------
absent=corvex-no-such-package
printf '#!/bin/sh\necho "apt-get $*" >>"%s"\nexit ${APT_STATUS:-0}\n' "$work/apt.log" >"$work/apt-get"
chmod +x "$work/apt-get"
deps() {
    APT_STATUS="$1" CORVEX_APT_GET="$work/apt-get" "$root/scripts/deps.sh" "${@:2}"
}
deps 0 >"$work/out" 2>&1
if [ -s "$work/apt.log" ]; then
    # Only where scripts/deps.sh has run (as in CI) is nothing missing.
    echo "skip  deps: nothing missing ($(grep -m1 -o 'Installing missing packages: .*' "$work/out"))"
else
    expect 0 "deps: nothing missing, nothing installed" "" deps 0
fi
expect fail "deps: apt-get fails" "Installing missing packages: $absent" deps 100 "$absent"
expect fail "deps: apt-get succeeds but the package is still missing" \
    "still not installed: $absent" deps 0 "$absent"

[ "$failures" -eq 0 ] || { echo "$failures case(s) failed"; exit 1; }
echo "every script fails when its check fails"
