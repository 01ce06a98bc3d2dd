#!/usr/bin/env bash
# Installs, as root on Debian 12 or 13, every package Tarvane needs to build, run and test, and the
# packages named as arguments (the cross-architecture check names its cross compilers).
# Packages already present are left alone; nothing is installed when nothing is missing.
set -euo pipefail

packages=(
    build-essential g++ cmake ninja-build pkg-config ccache
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
    libbenchmark-dev libelf-dev libmpfr-dev
    clang libclang-rt-dev # the sanitizer and fuzzer runtimes of the release's default clang
    xvfb xauth xdotool xclip x11-utils imagemagick
    libwayland-dev qt6-wayland weston mutter
    dbus dbus-bin at-spi2-core python3 python3-pyatspi orca openbox
    fonts-liberation2 fonts-wine
    util-linux locales
    desktop-file-utils appstream groff-base units
    debhelper dpkg-dev devscripts fakeroot lintian
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} > 0)); then
    echo "Installing: ${missing[*]}"
    # Another install may hold the package manager's locks (a second build on the same
    # machine): wait for it rather than fail.
    apt-get -o DPkg::Lock::Timeout=1800 update
    # A package the release does not have (the testing release drops one now and then) is
    # named and left out, so that the rest installs; what needs it says so.
    available=()
    for package in "${missing[@]}"; do
        if apt-cache show "$package" >/dev/null 2>&1; then
            available+=("$package")
        else
            echo "Not in this release of Debian, left out: $package" >&2
        fi
    done
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=1800 install -y \
        --no-install-recommends "${available[@]}"
fi

# The tests type and read numbers under the French and American locales; the screen-reader
# test runs the program in French, as its users do.
for locale in fr_FR en_US; do
    if ! locale -a | grep -qix "$locale.utf-\?8"; then
        echo "Generating the $locale.UTF-8 locale"
        localedef -i "$locale" -c -f UTF-8 "$locale.UTF-8"
    fi
done
