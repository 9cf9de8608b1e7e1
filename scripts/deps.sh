#!/usr/bin/env bash
# Installs the Debian packages the library builds with, and any named as arguments,
# only those that are missing: scripts/deps.sh [package...]
# The tool's Russian translation needs lrelease (qt6-l10n-tools); when it cannot be
# installed the build goes on without it, in English only.
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev libqt6sql6-sqlite libquazip1-qt6-dev libdeflate-dev pkg-config libgl-dev "$@")
optional=(qt6-l10n-tools)

missing_of() {
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || echo "$pkg"
    done
}
mapfile -t missing < <(missing_of "${packages[@]}")
mapfile -t missing_optional < <(missing_of "${optional[@]}")
[ ${#missing[@]} -eq 0 ] && [ ${#missing_optional[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
elif [ ${#missing[@]} -eq 0 ]; then
    echo "Not installed, and no root rights to install: ${missing_optional[*]} (the build goes on without them)." >&2
    exit 0
else
    echo "Missing packages ${missing[*]} and no root rights to install them." >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
# Another installation running on the machine holds the package lock for a while.
apt=("${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600)
echo "Installing missing packages: ${missing[*]} ${missing_optional[*]}"
"${apt[@]}" update -qq || [ ${#missing[@]} -eq 0 ]
if [ ${#missing[@]} -gt 0 ]; then
    "${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}"
fi
if [ ${#missing_optional[@]} -gt 0 ]; then
    "${apt[@]}" install -y -qq --no-install-recommends "${missing_optional[@]}" \
        || echo "Could not install ${missing_optional[*]}; the build goes on without them." >&2
fi
