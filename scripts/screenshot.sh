#!/usr/bin/env bash
# Makes the picture of Tarvane's window shown by the README and named by the AppStream
# metainfo: the real program, built optimised, in French on a virtual X display, converting
# 1 V RMS into dBu. Writes packaging/screenshots/tarvane.png.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/release -j "$(nproc)" --target tarvane
picture=$PWD/packaging/screenshots/tarvane.png

# A portable copy of its own, so that the preferences it starts from are these.
work=$(mktemp -d)
program_pid=""
source scripts/virtual-display.sh
trap '[[ -n $program_pid ]] && kill "$program_pid" 2>/dev/null; kill "${virtual_display_pid:-}" 2>/dev/null; rm -rf "$work"' EXIT
cp build/release/app/tarvane "$work/tarvane"
printf '[UserPrefs]\nValue1precision=4\nValue2precision=4\nValue1Index=0\nValue2Index=4\nValue1=1\n' \
    >"$work/tarvane.ini"
start_virtual_display || { echo "The virtual display did not start." >&2; exit 1; }

env -i PATH="$PATH" HOME="$work" DISPLAY="$virtual_display" LC_ALL=fr_FR.UTF-8 \
    QT_QPA_PLATFORM=xcb "$work/tarvane" &
program_pid=$!
window=$(DISPLAY=$virtual_display timeout 20 xdotool search --sync --name '^Tarvane$' | head -n 1)
sleep 1 # let the first paint finish
mkdir -p "$(dirname "$picture")"
# No time or software stamps in the file, so that a new picture of the same window is the same.
DISPLAY=$virtual_display import -window "$window" -strip -define png:exclude-chunks=date,time \
    "$picture"
echo "Screenshot: $picture"
