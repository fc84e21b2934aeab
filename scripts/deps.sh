#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, but only those that are missing.
#   scripts/deps.sh [--qt 5|6] [--package] [--format] [more packages...]
# --qt 6: the Qt 6 development packages instead of Qt 5's; --package: what scripts/package.sh
# needs besides (dpkg-dev for dpkg-shlibdeps, lintian); --format: clang-format, for the format
# check of .ci/run.
# Fails when a package cannot be installed or is still missing afterwards.
# CORVEX_APT_GET replaces the "[sudo] apt-get" command (the script tests hand it a stand-in).
set -euo pipefail

qt=5
extra=()
while [ $# -gt 0 ]; do
    case "$1" in
        --qt) qt="$2"; shift 2 ;;
        --qt=*) qt="${1#--qt=}"; shift ;;
        --package) extra+=(dpkg-dev file lintian); shift ;;
        --format) extra+=(clang-format); shift ;;
        *) extra+=("$1"); shift ;;
    esac
done

# hunspell: the English texts' spelling test
packages=(cmake make g++ fonts-dejavu-core libbenchmark-dev hunspell hunspell-en-us)
case "$qt" in
    5) packages+=(qtbase5-dev qttools5-dev qttools5-dev-tools libqt5websockets5-dev
        # Qt's own translations: the wizard's buttons in the terminal's language
        qttranslations5-l10n) ;;
    6) packages+=(qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
        qt6-websockets-dev qt6-5compat-dev qt6-translations-l10n
        # the offscreen platform the tests and the scripted roads run on
        qt6-qpa-plugins) ;;
    *) echo "deps.sh: --qt must be 5 or 6, not \"$qt\"" >&2; exit 2 ;;
esac
packages+=("${extra[@]}")

installed() {
    # A package of several architectures prints one status for each.
    local status
    status="$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" || return 1
    case "$status" in *"install ok installed"*) return 0 ;; esac
    return 1
}

missing=()
for pkg in "${packages[@]}"; do
    installed "$pkg" || missing+=("$pkg")
done

if [ "${#missing[@]}" -eq 0 ]; then
    exit 0
fi

if [ -n "${CORVEX_APT_GET:-}" ]; then
    # shellcheck disable=SC2206
    apt=($CORVEX_APT_GET)
elif [ "$(id -u)" -ne 0 ]; then
    apt=(sudo apt-get)
else
    apt=(apt-get)
fi

echo "Installing missing packages: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${apt[@]}" update -q
"${apt[@]}" install -y -q --no-install-recommends "${missing[@]}"

still=()
for pkg in "${missing[@]}"; do
    installed "$pkg" || still+=("$pkg")
done
if [ "${#still[@]}" -ne 0 ]; then
    echo "deps: still not installed: ${still[*]}" >&2
    exit 1
fi
