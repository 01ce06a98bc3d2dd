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
display=""
for n in $(seq 90 199); do
    if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then
        display=:$n
        break
    fi
done
if [[ -z $display ]]; then
    echo "No display, and no free number for a virtual one." >&2
    exit 1
fi

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
program_pid=""
trap '[[ -n $program_pid ]] && kill "$program_pid" 2>/dev/null; kill "$xvfb_pid" 2>/dev/null' EXIT
for _ in $(seq 100); do
    [[ -e /tmp/.X11-unix/X${display#:} ]] && break
    sleep 0.05
done

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
