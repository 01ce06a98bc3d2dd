#!/usr/bin/env bash
# Installs what is missing and builds Tarvane's Debian package from debian/ with
# dpkg-buildpackage, on a clean copy of this tree, then checks it with lintian and shows its
# fields and contents. The package and its debug symbols land in build/package/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

out=$PWD/build/package
rm -rf "$out"
mkdir -p "$out"
# dpkg-buildpackage writes into the source folder and beside it: it works on a copy, without
# the build folders, as on a clean clone.
source=$out/tarvane
mkdir "$source"
tar --exclude=./.git --exclude=./build --exclude='./build-*' --exclude='./obj-*' -cf - . |
    tar -xf - -C "$source"
(cd "$source" && dpkg-buildpackage -us -uc -b)

package=$(ls "$out"/tarvane_*.deb)
lintian -I --pedantic --fail-on error,warning "$out"/tarvane_*.changes
dpkg-deb --info "$package"
dpkg-deb --contents "$package"
echo "Package: $package"
