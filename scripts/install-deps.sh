#!/usr/bin/env bash
# Installs, as root on Debian 12, every package Tarvane needs to build, run and test.
# Packages already present are left alone; nothing is installed when nothing is missing.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libbenchmark-dev libelf-dev
    clang libclang-rt-14-dev
    xvfb xauth xdotool imagemagick
    dbus dbus-bin at-spi2-core python3 python3-pyatspi locales
    fonts-liberation2 fonts-wine
    util-linux
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} > 0)); then
    echo "Installing: ${missing[*]}"
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The screen-reader test runs the program in French, as its users do.
if ! locale -a | grep -qix 'fr_FR.utf-\?8'; then
    echo "Generating the fr_FR.UTF-8 locale"
    sed -i 's/^# *\(fr_FR.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -qx 'fr_FR.UTF-8 UTF-8' /etc/locale.gen || echo 'fr_FR.UTF-8 UTF-8' >>/etc/locale.gen
    locale-gen
fi
