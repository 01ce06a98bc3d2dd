#!/usr/bin/env bash
# Installs the project into a temporary prefix as a packager would and checks the tree: every
# file in place, the desktop entry, AppStream metainfo and man pages valid and carrying the
# project's version, the installed program answering --help, --version and a wrong option
# without a display. Then, when the Debian tools are there, builds the Debian package from
# debian/ on a copy of the sources, as on a clean clone, and checks it: lintian without error or
# warning, full hardening, generated dependencies, exactly the installed files, and the
# program's version record kept through the stripping.
# Usage: install_test.sh <build folder> <source folder> <version> <four-part version>
set -euo pipefail

build=$1
sources=$2
version=$3
file_version=$4
for tool in desktop-file-validate appstreamcli groff; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "install: $(cat "$work/install.log")"

man_pages=(share/man/man1/tarvane.1 share/man/man1/tarvane-convert.1
    share/man/fr/man1/tarvane.1 share/man/fr/man1/tarvane-convert.1)
expected=(
    bin/tarvane
    bin/tarvane-convert
    share/applications/tarvane.desktop
    share/metainfo/io.github.tarvane.Tarvane.metainfo.xml
    "${man_pages[@]}"
    share/tarvane/A_Lire.txt
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
metainfo=$prefix/share/metainfo/io.github.tarvane.Tarvane.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "AppStream metainfo"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo's release is not $version"
for page in "${man_pages[@]}"; do
    man_warnings=$(groff -K utf8 -man -ww -z "$prefix/$page" 2>&1)
    [[ -z $man_warnings ]] || fail "man page $page: $man_warnings"
    grep -q "^\.TH .*\"Tarvane $version\"" "$prefix/$page" || fail "man page $page is not of $version"
done

# No display at all, and a platform that would need one: nothing may reach it.
no_display() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 "$@"; }
run() { # expected status, then the command; leaves its output in $work/out and $work/err
    local status=0
    no_display "${@:2}" >"$work/out" 2>"$work/err" || status=$?
    [[ $status -eq $1 ]] || fail "$* ended with $status: $(cat "$work/err")"
}
run 0 "$prefix/bin/tarvane" --version
[[ $(head -n 1 "$work/out") == "Tarvane $file_version" ]] || fail "--version printed: $(cat "$work/out")"
run 0 "$prefix/bin/tarvane" --help
grep -q '^Usage : tarvane \[options\]' "$work/out" || fail "--help printed: $(cat "$work/out")"
run 2 "$prefix/bin/tarvane" --nonsense
[[ ! -s $work/out ]] && grep -q 'option inconnue' "$work/err" || fail "a wrong option printed: $(cat "$work/err")"
run 0 "$prefix/bin/tarvane-convert" 1 Vrms dBm50
[[ $(cat "$work/out") == 13.0103 ]] || fail "tarvane-convert printed: $(cat "$work/out")"

# The Debian package, built as a distribution would from a copy of the sources.
for tool in dpkg-buildpackage dh lintian hardening-check; do
    command -v "$tool" >/dev/null || { echo "PASS: installed tree; SKIP: package ($tool is not installed)"; exit 0; }
done
mkdir "$work/src"
tar -C "$sources" --exclude=./.git --exclude=./build --exclude='./build-*' --exclude='./obj-*' \
    -cf - . | tar -xf - -C "$work/src"
(cd "$work/src" && dpkg-buildpackage -us -uc -b) >"$work/package.log" 2>&1 ||
    fail "dpkg-buildpackage: $(tail -n 30 "$work/package.log")"
deb=$(ls "$work"/tarvane_"$version"-*.deb) || fail "no package of $version: $(ls "$work")"
ls "$work"/tarvane-dbgsym_"$version"-*.*deb >/dev/null || fail "no debug-symbol package"
lintian --fail-on error,warning "$work"/tarvane_*.changes >"$work/lintian.log" 2>&1 ||
    fail "lintian: $(cat "$work/lintian.log")"

depends=$(dpkg-deb -f "$deb" Depends)
# Debian 13 renamed the libraries whose interface holds a time_t, Qt's core among them, with
# a t64 ending.
for package in libc6 libgcc-s1 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 \
    fonts-liberation2 fonts-wine; do
    [[ ", $depends," == *", $package"?(t64)[\ ,]* ]] || fail "Depends lacks $package: $depends"
done
dpkg-deb -x "$deb" "$work/unpacked"
# Control-flow protection needs a C library built for it, which Debian 12's is not. The window
# program's own code hands libc no buffer whose size the compiler knows, so it has no call to
# fortify; the command line's does. Branch protection is arm64's alone, which Debian 13's
# hardening-check looks for on every architecture (Debian 12's has no such check).
unchecked=(--nocfprotection)
[[ $(dpkg --print-architecture) == arm64 ]] || ! grep -q nobranchprotection "$(command -v hardening-check)" ||
    unchecked+=(--nobranchprotection)
hardening-check "${unchecked[@]}" "$work/unpacked/usr/bin/tarvane-convert" >"$work/hardening.log" &&
    hardening-check "${unchecked[@]}" --nofortify "$work/unpacked/usr/bin/tarvane" >>"$work/hardening.log" ||
    fail "hardening: $(cat "$work/hardening.log")"

# The same files as the install step, man pages and the larger documents compressed, and the
# Debian changelog besides.
(cd "$work/unpacked/usr" && find . -type f -printf '%P\n') |
    sed -e '/^share\/doc\/tarvane\/changelog\.Debian\.gz$/d' -e '/^share\/lintian\//d' -e 's/\.gz$//' |
    sort >"$work/packaged"
(cd "$prefix" && find . -type f -printf '%P\n' | sort) >"$work/installed"
diff -u "$work/installed" "$work/packaged" || fail "the package does not hold exactly the installed files"
run 0 "$work/unpacked/usr/bin/tarvane" --version
[[ $(head -n 1 "$work/out") == "Tarvane $file_version" ]] || fail "the packaged program lost its version record"
echo "PASS: installed tree and Debian package"
