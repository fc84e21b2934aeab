#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, but only those that are missing.
# Fails when a package cannot be installed or is still missing afterwards.
# CORVEX_APT_GET replaces the "[sudo] apt-get" command (the script tests hand it a stand-in).
set -euo pipefail

packages=(cmake make g++ qtbase5-dev qttools5-dev qttools5-dev-tools libqt5websockets5-dev fonts-dejavu-core libbenchmark-dev
    # Qt's own translations: the wizard's buttons in the terminal's language
    qttranslations5-l10n "$@")

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
