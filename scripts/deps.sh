#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, but only those that are missing.
set -euo pipefail

packages=(cmake make g++ qtbase5-dev qttools5-dev qttools5-dev-tools libqt5websockets5-dev fonts-dejavu-core libbenchmark-dev
    # Qt's own translations: the wizard's buttons in the terminal's language
    qttranslations5-l10n "$@")

missing=()
for pkg in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$pkg")
    fi
done

if [ "${#missing[@]}" -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

echo "Installing missing packages: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
