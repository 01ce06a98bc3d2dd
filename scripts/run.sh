#!/usr/bin/env bash
# Installs what is missing, builds Tarvane and starts it. On a machine without a display it
# runs the program on a virtual one instead, saves a screenshot and says where.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/release -j "$(nproc)" --target tarvane
program=$PWD/build/release/app/tarvane

if [[ -n ${DISPLAY:-} ]] && xdotool getdisplaygeometry >/dev/null 2>&1; then
    exec "$program"
fi

screenshot=$PWD/build/release/tarvane-screenshot.png
source scripts/virtual-display.sh
if ! start_virtual_display; then
    echo "No display, and the virtual one did not start." >&2
    exit 1
fi
display=$virtual_display
program_pid=""
trap '[[ -n $program_pid ]] && kill "$program_pid" 2>/dev/null; kill "$virtual_display_pid" 2>/dev/null' EXIT

DISPLAY=$display "$program" &
program_pid=$!
if ! DISPLAY=$display timeout 20 xdotool search --sync --name '^Tarvane$' >/dev/null; then
    echo "Tarvane did not open its window." >&2
    exit 1
fi
sleep 1 # let the first paint finish
DISPLAY=$display import -window root "$screenshot"
echo "There is no display here, so Tarvane ran on a virtual one ($display)."
echo "Its screenshot: $screenshot"
