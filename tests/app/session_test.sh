#!/usr/bin/env bash
# The end of the desktop session on X11. The real program on its own X display under the
# French locale: a number typed into box 1, then SIGTERM at once: the program closes as if the
# user had quit, saves the number and ends with status 0. Then a number typed and, three
# seconds later, SIGKILL: the number is in the file all the same.
# Usage: session_test.sh <path of the built tarvane executable>
executable=$1
here=$(dirname "$0")
source "$here/program_harness.sh"
export QT_QPA_PLATFORM=xcb LC_ALL=fr_FR.UTF-8 LANG=fr_FR.UTF-8
unset LANGUAGE WAYLAND_DISPLAY
require_tools Xvfb xdotool import convert
start_display

start_program
find_window
type_unconvertible_zero
kill -TERM "$app_pid"
expect_exit 0
expect_saved_value 0

# Again, with the units and 0 restored: 7 typed, which converts, and three seconds later a
# kill that no program can answer: the number was saved meanwhile.
start_program
find_window
xdotool mousemove $((client_x + 60)) $((client_y + 80)) click 1
xdotool key ctrl+a
xdotool type --delay 30 7
wait_for "the arrows did not turn green after typing 7" arrow_is 0,255,0
sleep 3
kill -KILL "$app_pid"
expect_exit 137
expect_saved_value 7
echo "PASS: SIGTERM right after typing saves the number and ends with status 0; so does kill -9 three seconds after"
