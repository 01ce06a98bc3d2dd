#!/usr/bin/env bash
# The end of the desktop session on X11. The real program on its own X display under the
# French locale: a number typed into box 1, then SIGTERM at once: the program closes as if the
# user had quit, saves the number and ends with status 0.
# Usage: session_test.sh <path of the built tarvane executable>
executable=$1
here=$(dirname "$0")
source "$here/program_harness.sh"
export QT_QPA_PLATFORM=xcb LC_ALL=fr_FR.UTF-8 LANG=fr_FR.UTF-8
unset LANGUAGE WAYLAND_DISPLAY
require_tools Xvfb xdotool import convert
start_display

start_program
window=$(timeout 20 xdotool search --sync --name '^Tarvane$' | head -n 1) || fail "no window"
xdotool windowfocus --sync "$window"
eval "$(xdotool getwindowgeometry --shell "$window")" # X, Y, WIDTH, HEIGHT
client_x=$X
client_y=$((Y + HEIGHT - 393)) # the client area lies under the menu bar

type_unconvertible_zero
kill -TERM "$app_pid"
expect_exit 0
expect_saved_value 0
echo "PASS: SIGTERM right after typing saves the number and ends with status 0"
