#!/usr/bin/env bash
# Installs the Debian packages that building and testing Vesk needs, when missing.
# Usage: scripts/deps.sh [extra packages...]
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    qt6-base-dev qt6-svg-dev libgl-dev
    qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
    fonts-dejavu-core fonts-dancingscript
    appstream desktop-file-utils dpkg-dev libcap2-bin lintian shared-mime-info
    kdegames-card-data-kf5 gnome-cards-data
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages: ${missing[*]}" >&2
        echo "Run as root (or install them with sudo apt-get install ${missing[*]})." >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
