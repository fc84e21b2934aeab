#!/usr/bin/env bash
# Measures how many small realistic faults the tests catch. Each file in tests/mutants/ is a
# patch that plants one fault; this script applies each to a scratch copy of the tree, builds,
# runs the tests and says which test caught it, or that none did.
#   scripts/mutants.sh                    every mutant against the working tree
#   scripts/mutants.sh --rev REV          every mutant against the tree as it was at REV
#   scripts/mutants.sh [--rev REV] PATCH… only the named mutants
# A mutant file starts with comment lines before its diff:
#   # tests: tst_model tst_corvexppv       run first; the whole suite runs only if they pass
#   # fault: what the patch breaks, in a line
# Exit status: 0 when every mutant was caught, 1 when one survived or did not apply or build.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
rev=""
if [ "${1:-}" = "--rev" ]; then
    rev="${2:?--rev needs a revision}"
    shift 2
fi
mutants=("$@")
if [ "${#mutants[@]}" -eq 0 ]; then
    mutants=("$root"/tests/mutants/*.patch)
fi

"$root/scripts/deps.sh" patch

work="${CORVEX_MUTANTS_DIR:-$root/build-mutants}"
tree="$work/tree"
build="$work/build"
rm -rf "$tree"
mkdir -p "$tree" "$build"
# The tree under test: the working tree as it stands (tracked and new files), or a revision.
if [ -n "$rev" ]; then
    git -C "$root" archive "$rev" | tar -x -C "$tree"
else
    (cd "$root" && git ls-files -z --cached --others --exclude-standard \
        | xargs -0 -I{} cp --parents {} "$tree" 2>/dev/null || true)
fi

jobs="$(nproc 2>/dev/null || echo 2)"
export QT_QPA_PLATFORM=offscreen
cmake -S "$tree" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVEX_BUILD_BENCH=OFF >/dev/null
if ! cmake --build "$build" --parallel "$jobs" >"$work/build.log" 2>&1; then
    echo "mutants: the unmutated tree does not build, see $work/build.log" >&2
    exit 1
fi

# The package tests build whole packages and say nothing of behaviour; under a loaded machine they
# only time out.
skip='^tst_(hostpackage|debpackages)$'

# Failing test names from a ctest log.
failed_tests() {
    sed -n 's/^[[:space:]]*[0-9]\+ - \([^ ]*\) .*/\1/p' "$1" | sort -u | tr '\n' ' '
}

killed=0
survived=0
broken=0
for mutant in "${mutants[@]}"; do
    name="$(basename "$mutant" .patch)"
    hint="$(sed -n 's/^# tests:[[:space:]]*//p' "$mutant" | head -n 1)"
    if ! patch -d "$tree" -p1 --quiet --forward --batch <"$mutant" >"$work/patch.log" 2>&1; then
        echo "NOT APPLIED  $name"
        broken=$((broken + 1))
        continue
    fi
    log="$work/$name.log"
    verdict=""
    if ! cmake --build "$build" --parallel "$jobs" >"$log" 2>&1; then
        verdict="NO BUILD     $name"
        broken=$((broken + 1))
    else
        caught=""
        if [ -n "$hint" ]; then
            pattern="^($(echo "$hint" | tr -s ' ' '|'))\$"
            if ! ctest --test-dir "$build" -R "$pattern" --parallel "$jobs" >>"$log" 2>&1; then
                caught="$(failed_tests "$log")"
            fi
        fi
        if [ -z "$caught" ] && ! ctest --test-dir "$build" -E "$skip" --parallel "$jobs" >>"$log" 2>&1; then
            caught="$(failed_tests "$log")"
        fi
        if [ -n "$caught" ]; then
            verdict="caught       $name by $caught"
            killed=$((killed + 1))
        else
            verdict="SURVIVED     $name"
            survived=$((survived + 1))
        fi
    fi
    patch -d "$tree" -p1 --quiet --reverse --batch <"$mutant" >/dev/null
    echo "$verdict"
done

total=$((killed + survived + broken))
echo "mutants: $killed of $total caught, $survived survived, $broken did not apply or build"
[ "$survived" -eq 0 ] && [ "$broken" -eq 0 ]
