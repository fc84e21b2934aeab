#!/usr/bin/env bash
# Runs the demo's roads (corvex-roads, the scripted demo terminal) under valgrind memcheck,
# through the real plug-in module: the four roads with the simulated service in process, and one
# over a WebSocket against corvex-service on a loopback port. Fails on any invalid access, use of uninitialised memory or definite leak;
# memory that Qt, fontconfig and the offscreen platform keep until the process ends ("still
# reachable", "possibly lost") is not a finding.
#   scripts/memcheck.sh [ROAD...]      default: code template new-customer add-template ws:template
# A road "ws:NAME" runs NAME with the terminal talking to a corvex-service started for it; the
# default takes "template", a road that asks the service (the road "code" sends no request).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/deps.sh" valgrind

build_dir="$root/build"
cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --parallel "$(nproc 2>/dev/null || echo 2)" \
    --target corvexpay corvex-roads corvex-service

roads=("$@")
[ "${#roads[@]}" -gt 0 ] || roads=(code template new-customer add-template ws:template)
export QT_QPA_PLATFORM=offscreen
# Valgrind slows every step: give the sender pages a longer wait than their usual minute.
export CORVEX_REPLY_TIMEOUT=120

service_pid=""
stop_service() {
    if [ -n "$service_pid" ]; then
        kill "$service_pid" 2>/dev/null || true
        wait "$service_pid" 2>/dev/null || true
        service_pid=""
    fi
}
trap stop_service EXIT

# Starts corvex-service on a free loopback port and prints its URL.
start_service() {
    local out="$1"
    "$build_dir/bin/corvex-service" --listen 0 >"$out" 2>&1 &
    service_pid=$!
    for _ in $(seq 100); do
        if grep -qoE 'ws://127\.0\.0\.1:[0-9]+' "$out"; then
            grep -oE 'ws://127\.0\.0\.1:[0-9]+' "$out" | head -1
            return 0
        fi
        kill -0 "$service_pid" 2>/dev/null || break
        sleep 0.2
    done
    echo "memcheck: corvex-service did not start, see $out" >&2
    return 1
}

for road in "${roads[@]}"; do
    tag="${road/:/-}"
    log="$build_dir/memcheck-$tag.log"
    args=(--road "${road#ws:}")
    echo "== $road"
    if [ "${road#ws:}" != "$road" ]; then
        url="$(start_service "$build_dir/memcheck-$tag-service.out")"
        args+=(--service "$url")
    fi
    valgrind --tool=memcheck --error-exitcode=3 --leak-check=full \
        --show-leak-kinds=definite --errors-for-leak-kinds=definite \
        --suppressions="$root/scripts/valgrind.supp" --num-callers=30 --log-file="$log" \
        "$build_dir/bin/corvex-roads" "${args[@]}" >"$build_dir/memcheck-$tag.out" \
        2>"$build_dir/memcheck-$tag.err" || {
        echo "memcheck: findings on the road \"$road\", see $log and $build_dir/memcheck-$tag.err" >&2
        grep -E '^==[0-9]+== (Invalid|Conditional|Use of|.*definitely lost)' "$log" | head -20 >&2
        exit 1
    }
    stop_service
    grep -E 'ERROR SUMMARY|definitely lost' "$log" | sed 's/^==[0-9]*== /   /'
done
echo "memcheck: every road clean"
