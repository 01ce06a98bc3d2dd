#!/usr/bin/env bash
# Installs the built project into a temporary prefix as a packager would and checks the tree:
# every file in place, the desktop entry, AppStream metainfo and man page valid, the installed
# program answering --help, --version and a wrong option without a display. Then builds the
# Debian package and checks that it declares the runtime packages, holds every installed file
# and that its program still carries its version record.
# Usage: install_test.sh <build folder>
set -euo pipefail

build=$1
for tool in desktop-file-validate appstreamcli groff cpack dpkg-deb; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "install: $(cat "$work/install.log")"

expected=(
    bin/tarvane
    bin/tarvane-convert
    share/applications/tarvane.desktop
    share/metainfo/io.github.tarvane.Tarvane.metainfo.xml
    share/man/man1/tarvane.1
    share/doc/tarvane/A_Lire.txt
    share/doc/tarvane/copyright
    share/icons/hicolor/scalable/apps/tarvane.svg
)
for size in 16 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/tarvane.png")
done
for file in "${expected[@]}"; do
    [[ -f $prefix/$file ]] || fail "not installed: $file"
done
[[ -x $prefix/bin/tarvane && -x $prefix/bin/tarvane-convert ]] || fail "a program is not executable"

desktop-file-validate "$prefix/share/applications/tarvane.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$prefix/share/metainfo/io.github.tarvane.Tarvane.metainfo.xml" ||
    fail "AppStream metainfo"
man_warnings=$(groff -K utf8 -man -ww -z "$prefix/share/man/man1/tarvane.1" 2>&1)
[[ -z $man_warnings ]] || fail "man page: $man_warnings"

# No display at all, and a platform that would need one: nothing may reach it.
no_display() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 "$@"; }
run() { # expected status, then the command; leaves its output in $work/out and $work/err
    local status=0
    no_display "${@:2}" >"$work/out" 2>"$work/err" || status=$?
    [[ $status -eq $1 ]] || fail "$* ended with $status: $(cat "$work/err")"
}
run 0 "$prefix/bin/tarvane" --version
[[ $(head -n 1 "$work/out") == "Tarvane 1.2.0.0" ]] || fail "--version printed: $(cat "$work/out")"
run 0 "$prefix/bin/tarvane" --help
grep -q '^Usage : tarvane \[options\]' "$work/out" || fail "--help printed: $(cat "$work/out")"
run 2 "$prefix/bin/tarvane" --nonsense
[[ ! -s $work/out ]] && grep -q 'option inconnue' "$work/err" || fail "a wrong option printed: $(cat "$work/err")"
run 0 "$prefix/bin/tarvane-convert" 1 Vrms dBm50
[[ $(cat "$work/out") == 13.0103 ]] || fail "tarvane-convert printed: $(cat "$work/out")"

# The package, from the same build.
cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$work/cpack.log")"
deb=$(ls "$work"/package/tarvane_1.2.0_*.deb) || fail "no package: $(cat "$work/cpack.log")"
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins qt6-translations-l10n \
    fonts-liberation2 fonts-wine; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
done
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\/usr\//, "", $6); print $6 }' | sort >"$work/packaged"
(cd "$prefix" && find . -type f -printf '%P\n' | sort) >"$work/installed"
diff -u "$work/installed" "$work/packaged" || fail "the package does not hold exactly the installed files"
dpkg-deb -x "$deb" "$work/unpacked"
run 0 "$work/unpacked/usr/bin/tarvane" --version
[[ $(head -n 1 "$work/out") == "Tarvane 1.2.0.0" ]] || fail "the packaged program lost its version record"
echo "PASS: installed tree and package"
