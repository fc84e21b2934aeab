#!/usr/bin/env bash
# Builds the Debian packages of one Qt major and checks them with lintian.
#   scripts/package.sh            Qt 5: corvexpay, corvexpay-dev, corvexpay-demo
#   scripts/package.sh --qt 6     Qt 6: corvexpay-qt6, corvexpay-qt6-dev, corvexpay-qt6-demo
# The build goes to build-deb/ (build-qt6-deb/), installed under /usr, without tests; the
# packages land in its packages/ folder. CORVEX_CMAKE_ARGS adds configure options.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

qt=5
while [ $# -gt 0 ]; do
    case "$1" in
        --qt) qt="$2"; shift 2 ;;
        --qt=*) qt="${1#--qt=}"; shift ;;
        *) echo "usage: scripts/package.sh [--qt 5|6]" >&2; exit 2 ;;
    esac
done
"$root/scripts/deps.sh" --qt "$qt" --package

build_dir="$root/build-deb"
[ "$qt" = 6 ] && build_dir="$root/build-qt6-deb"
# shellcheck disable=SC2206
cmake_args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVEX_QT_MAJOR="$qt" -DCMAKE_INSTALL_PREFIX=/usr
    -DCORVEX_BUILD_TESTS=OFF -DCORVEX_BUILD_BENCH=OFF ${CORVEX_CMAKE_ARGS:-})

jobs="$(nproc 2>/dev/null || echo 2)"
cmake -S "$root" -B "$build_dir" "${cmake_args[@]}"
cmake --build "$build_dir" --parallel "$jobs"
rm -rf "$build_dir/packages"
(cd "$build_dir" && cpack -G DEB -B "$build_dir/packages")

packages=("$build_dir"/packages/*.deb)
for deb in "${packages[@]}"; do
    echo "== $(basename "$deb")"
    dpkg-deb --info "$deb" control
done
# lintian fails on errors only; its warnings and notes are printed for the reader.
echo "== lintian"
lintian --fail-on error --info "${packages[@]}"
echo "Packages in $build_dir/packages/"
