#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tools need,
# skipping the ones already present.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    juce-modules-source
    libgtest-dev libgmock-dev libbenchmark-dev
    libfreetype-dev libfontconfig1-dev libx11-dev libxext-dev libxrandr-dev
    libxinerama-dev libxcursor-dev libxcomposite-dev libasound2-dev libflac-dev
    xvfb xdotool imagemagick pngquant x11-utils fonts-dejavu-core python3 python3-numpy
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
