#!/usr/bin/env bash
# The main job: installs what is missing, builds the plug-in, the demo terminal, its scripted
# operator and the simulated service, and runs one whole payment. With a display corvex-terminal
# opens its payment window; without one corvex-roads drives the wizard along the scripted road
# "code" on the offscreen platform, prints the exchange and the payment, and saves a picture of
# every page in build/screenshots/.
#   scripts/demo.sh                              window, or the scripted code road
#   scripts/demo.sh --road new-customer          any road: code, template, new-customer, add-template
#   scripts/demo.sh --service ws://127.0.0.1:PORT   talk to a running corvex-service
# Arguments go to the program as they are (corvex-terminal --help and corvex-roads --help list
# them); --road, --keyboard or --screenshots choose corvex-roads.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/deps.sh"

build_dir="$root/build"
jobs="$(nproc 2>/dev/null || echo 2)"
# shellcheck disable=SC2206
cmake_args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo ${CORVEX_CMAKE_ARGS:-})
cmake -S "$root" -B "$build_dir" "${cmake_args[@]}" >/dev/null
cmake --build "$build_dir" --parallel "$jobs" --target corvexpay corvex-terminal corvex-roads \
    corvex-service

args=("$@")
scripted=0
for arg in "${args[@]}"; do
    case "$arg" in
        --road | --road=* | --keyboard | --screenshots | --screenshots=*) scripted=1 ;;
    esac
done
if [ "$scripted" -eq 0 ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: running the scripted road \"code\" instead of a window."
    args=(--road code "${args[@]}")
    scripted=1
fi
if [ "$scripted" -eq 1 ]; then
    rm -rf "$build_dir/screenshots"
    exec "$build_dir/bin/corvex-roads" --screenshots "$build_dir/screenshots" "${args[@]}"
fi
exec "$build_dir/bin/corvex-terminal" "${args[@]}"
