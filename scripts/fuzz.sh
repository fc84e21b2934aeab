#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang (in build-fuzz/) and runs each of them.
#   scripts/fuzz.sh [SECONDS]          each harness SECONDS long (default 60); new corpus entries
#                                      are kept in fuzz/corpus/<harness>/ for a later commit
#   scripts/fuzz.sh --smoke [SECONDS]  a short pass (default 20 s each) that leaves the
#                                      repository's corpus as it is; CI runs this
#   --harness PATH                     run this harness program (any libFuzzer program) instead
#                                      of building and running those of fuzz/; may be repeated
# CORVEX_FUZZ_BUILD_DIR sets the build folder (default build-fuzz/).
# Any finding fails the script (exit 1) with its input saved in <build>/findings/: the harness
# exits non-zero or dies of a signal (crash, failed invariant, time-out, out of memory), a
# sanitizer or libFuzzer reports an error, or a crash, leak, time-out or oom input is written.
# The whole output of each harness is kept in <build>/logs/<harness>.log.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
smoke=0
harnesses=()
while [ $# -gt 0 ]; do
    case "$1" in
    --smoke) smoke=1 ;;
    --harness)
        [ $# -ge 2 ] || { echo "fuzz: --harness needs a program" >&2; exit 2; }
        harnesses+=("$(cd "$(dirname "$2")" && pwd)/$(basename "$2")")
        shift
        ;;
    -*) echo "fuzz: unknown option $1" >&2; exit 2 ;;
    *) break ;;
    esac
    shift
done
seconds="${1:-$([ "$smoke" = 1 ] && echo 20 || echo 60)}"
case "$seconds" in
'' | *[!0-9]*) echo "fuzz: SECONDS must be a whole number, not \"$seconds\"" >&2; exit 2 ;;
esac

build_dir="${CORVEX_FUZZ_BUILD_DIR:-$root/build-fuzz}"
if [ "${#harnesses[@]}" -eq 0 ]; then
    "$root/scripts/deps.sh" clang libclang-rt-14-dev
    CC=clang CXX=clang++ cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCORVEX_FUZZ=ON -DCORVEX_BUILD_TESTS=OFF -DCORVEX_BUILD_DEMO=OFF >/dev/null
    cmake --build "$build_dir" --parallel "$(nproc 2>/dev/null || echo 2)"
    for source in "$root"/fuzz/fuzz_*.cpp; do
        harnesses+=("$build_dir/fuzz/$(basename "$source" .cpp)")
    done
fi

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
mkdir -p "$build_dir/findings" "$build_dir/logs"

# Qt 5.15's JSON parser leaks a few bytes for every object with a repeated key, inside Qt and
# out of the plug-in's reach; the harnesses that parse JSON run without leak detection, which the
# unit tests (under AddressSanitizer) and scripts/memcheck.sh keep for the same code.
json_harnesses=" fuzz_details fuzz_reply fuzz_templates "

# What a harness's output says when it found something, whatever its exit status.
report='^==[0-9]+== ?ERROR|^SUMMARY: [A-Za-z]*Sanitizer|ERROR: libFuzzer|^invariant failed|runtime error:'

findings=0
for program in "${harnesses[@]}"; do
    name="$(basename "$program")"
    # Only the repository's own harnesses have a corpus there; another program starts empty.
    seeds="$root/fuzz/corpus/$name"
    scratch="$(mktemp -d)"
    if [ ! -d "$seeds" ] && [ -f "$root/fuzz/$name.cpp" ]; then
        mkdir -p "$seeds"
    fi
    if [ ! -d "$seeds" ]; then
        seeds="$scratch/seeds"
        mkdir -p "$seeds"
    fi
    out="$seeds"
    if [ "$smoke" = 1 ]; then
        out="$scratch/new"
        mkdir -p "$out"
    fi
    leaks=1
    case "$json_harnesses" in *" $name "*) leaks=0 ;; esac
    log="$build_dir/logs/$name.log"
    prefix="$build_dir/findings/$name-"
    touch "$scratch/start"
    echo "== $name: $seconds s"
    status=0
    ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=$leaks" "$program" -max_total_time="$seconds" \
        -print_final_stats=1 -dict="$root/fuzz/corvex.dict" -artifact_prefix="$prefix" \
        "$out" "$seeds" >"$log" 2>&1 </dev/null || status=$?
    # Inputs that libFuzzer saved as findings in this run (slow units are not findings).
    saved="$(find "$build_dir/findings" -maxdepth 1 -newer "$scratch/start" \
        \( -name "$name-crash-*" -o -name "$name-leak-*" -o -name "$name-timeout-*" \
        -o -name "$name-oom-*" \) -printf '%f\n' | head -1)"
    rm -rf "$scratch"
    grep -E '^(stat::number_of_executed_units|stat::new_units_added|==|SUMMARY|invariant)' "$log" \
        || true
    problem=""
    if [ "$status" -ne 0 ]; then
        problem="exit status $status"
        if [ "$status" -gt 128 ]; then
            problem="killed by signal $((status - 128))"
        fi
    elif grep -qE "$report" "$log"; then
        problem="$(grep -m1 -E "$report" "$log")"
    elif [ -n "$saved" ]; then
        problem="saved $saved"
    fi
    if [ -n "$problem" ]; then
        echo "$name: finding ($problem), see $build_dir/findings/ and $log" >&2
        findings=$((findings + 1))
        # A full pass stops at the first finding; the smoke pass looks at every harness.
        if [ "$smoke" = 0 ]; then
            break
        fi
    fi
done
if [ "$findings" -ne 0 ]; then
    echo "fuzz: $findings harness(es) with a finding" >&2
    exit 1
fi
echo "fuzz: every harness ran $seconds s without a finding"
