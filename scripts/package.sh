#!/usr/bin/env bash
# Installs what is missing, builds Tarvane optimised and makes its Debian package with CPack,
# then shows the package's fields and contents. The package lands in build/package/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/release -j "$(nproc)"
rm -f build/package/tarvane_*.deb
cpack --config build/release/CPackConfig.cmake -B build/package
package=$(ls build/package/tarvane_*.deb)
dpkg-deb --info "$package"
dpkg-deb --contents "$package"
echo "Package: $PWD/$package"
