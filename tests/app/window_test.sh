#!/usr/bin/env bash
# The real program on its own X display: type into box 1, choose a unit, check the screen's
# pixels, quit through the menu and check the preferences file written beside the program.
# Usage: window_test.sh <path of the built tarvane executable>
set -euo pipefail

executable=$1
for tool in Xvfb xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
xvfb_pid=""
app_pid=""

cleanup() {
    [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null || true
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [[ -f $work/screen.png ]] && cp "$work/screen.png" "${TMPDIR:-/tmp}/tarvane-window-test.png" &&
        echo "last screenshot: ${TMPDIR:-/tmp}/tarvane-window-test.png" >&2
    exit 1
}

# A copy of its own, so the preferences file is this test's and not the build folder's.
cp "$executable" "$work/tarvane"

# A display nobody uses.
display=""
for n in $(seq 90 199); do
    if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then
        display=:$n
        break
    fi
done
[[ -n $display ]] || fail "no free X display"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -e /tmp/.X11-unix/X${display#:} ]] && break
    sleep 0.05
done
export DISPLAY=$display

"$work/tarvane" >"$work/program.log" 2>&1 &
app_pid=$!
window=$(timeout 20 xdotool search --sync --name '^Tarvane$' | head -n 1) || fail "no window"
xdotool windowfocus --sync "$window"
eval "$(xdotool getwindowgeometry --shell "$window")" # X, Y, WIDTH, HEIGHT
client_x=$X
client_y=$((Y + HEIGHT - 393)) # the client area lies under the menu bar
[[ $WIDTH -eq 553 ]] || fail "window width $WIDTH"

# The colour at a client-area point of a fresh screenshot, as "r,g,b".
pixel() {
    import -window root "$work/screen.png"
    convert "$work/screen.png" -format \
        "%[fx:round(255*p{$((client_x + $1)),$((client_y + $2))}.r)],%[fx:round(255*p{$((client_x + $1)),$((client_y + $2))}.g)],%[fx:round(255*p{$((client_x + $1)),$((client_y + $2))}.b)]" \
        info:
}

expect_pixel() { # x y colour what
    local seen
    for _ in $(seq 40); do
        seen=$(pixel "$1" "$2")
        [[ $seen == "$3" ]] && return 0
        sleep 0.1
    done
    fail "$4: pixel ($1,$2) is $seen, not $3"
}

expect_pixel 4 50 0,0,128 "navy background"
expect_pixel 276 84 0,255,0 "lime upper arrow"
expect_pixel 276 220 0,255,0 "lime lower arrow"

# Unit 2 (dBm in 50 ohms) under box 2, then 0 V typed over box 1's whole text.
xdotool mousemove $((client_x + 354)) $((client_y + 136 + 2 * 13 + 6)) click 1
xdotool mousemove $((client_x + 60)) $((client_y + 80)) click 1
xdotool key ctrl+a
xdotool type --delay 30 0
expect_pixel 276 84 255,0,0 "red upper arrow after 0 V to dBm"
expect_pixel 276 220 255,0,0 "red lower arrow after 0 V to dBm"
expect_pixel 4 50 0,0,128 "navy background after the conversion"

# Fichier > Quitter.
xdotool mousemove $((X + 25)) $((Y + (client_y - Y) / 2)) click 1
sleep 0.3
xdotool key Down Return
for _ in $(seq 100); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not quit"
wait "$app_pid" || fail "the program ended with status $? ($(cat "$work/program.log"))"
app_pid=""

expected=$'[UserPrefs]\nWriteTest=1\nValue1precision=4\nValue2precision=4\nValue1Index=0\nValue2Index=2\nValue1=0'
[[ -f $work/tarvane.ini ]] || fail "no tarvane.ini beside the program"
actual=$(cat "$work/tarvane.ini")
[[ $actual == "$expected" ]] || fail "tarvane.ini reads: $actual"
echo "PASS: window converts, shows red arrows, quits through the menu and saves"
