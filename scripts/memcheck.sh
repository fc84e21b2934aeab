#!/usr/bin/env bash
# Runs the demo's four roads under valgrind memcheck, through the real plug-in module and the
# simulated service in process. Fails on any invalid access, use of uninitialised memory or
# definite leak; memory that Qt, fontconfig and the offscreen platform keep until the process
# ends ("still reachable", "possibly lost") is not a finding.
#   scripts/memcheck.sh [ROAD...]      default: code template new-customer add-template
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/deps.sh" valgrind

build_dir="$root/build"
cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --parallel "$(nproc 2>/dev/null || echo 2)" \
    --target corvexpay corvex-terminal

roads=("$@")
[ "${#roads[@]}" -gt 0 ] || roads=(code template new-customer add-template)
export QT_QPA_PLATFORM=offscreen
# Valgrind slows every step: give the sender pages a longer wait than their usual minute.
export CORVEX_REPLY_TIMEOUT=120
for road in "${roads[@]}"; do
    log="$build_dir/memcheck-$road.log"
    echo "== $road"
    valgrind --tool=memcheck --error-exitcode=3 --leak-check=full \
        --show-leak-kinds=definite --errors-for-leak-kinds=definite \
        --suppressions="$root/scripts/valgrind.supp" --num-callers=30 --log-file="$log" \
        "$build_dir/bin/corvex-terminal" --road "$road" >/dev/null 2>"$build_dir/memcheck-$road.out" || {
        echo "memcheck: findings on the road \"$road\", see $log" >&2
        grep -E '^==[0-9]+== (Invalid|Conditional|Use of|.*definitely lost)' "$log" | head -20 >&2
        exit 1
    }
    grep -E 'ERROR SUMMARY|definitely lost' "$log" | sed 's/^==[0-9]*== /   /'
done
echo "memcheck: every road clean"
