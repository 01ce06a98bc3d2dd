# Sourced by the tests that run the real program on a display of their own: a work folder
# with a copy of the program (so the preferences file is the test's), clean-up of everything
# started, and the checks the tests share.
# Needs: executable (the built program). Sets: work, app_pid.
set -euo pipefail

work=$(mktemp -d)
app_pid=""
started_pids=()

cleanup() {
    [[ -n $app_pid ]] && kill -9 "$app_pid" 2>/dev/null || true
    local pid
    for pid in "${started_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    [[ -n ${XDG_RUNTIME_DIR:-} && $XDG_RUNTIME_DIR == /tmp/* ]] && rm -rf "$XDG_RUNTIME_DIR"
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [[ -n ${DISPLAY:-} ]] && import -window root "$work/screen.png" 2>/dev/null
    [[ -f $work/screen.png ]] && cp "$work/screen.png" "${TMPDIR:-/tmp}/tarvane-$(basename "$0" .sh).png" &&
        echo "last screenshot: ${TMPDIR:-/tmp}/tarvane-$(basename "$0" .sh).png" >&2
    [[ -s $work/program.log ]] && echo "program output: $(cat "$work/program.log")" >&2
    exit 1
}

cp "$executable" "$work/tarvane"

# require_tools tool...: skips the test (status 77) when one of them is not installed.
require_tools() {
    local tool
    for tool; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
    done
}

# start_display: a virtual X display of the test's own, exported as DISPLAY.
start_display() {
    source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/virtual-display.sh"
    start_virtual_display || fail "no virtual X display"
    started_pids+=("$virtual_display_pid")
    export DISPLAY=$virtual_display
}

start_program() {
    "$work/tarvane" >"$work/program.log" 2>&1 &
    app_pid=$!
}

# find_window: waits for the program's window on X and focuses it; sets window, its X, Y,
# WIDTH and HEIGHT, and client_x, client_y, where its client area lies under the menu bar.
find_window() {
    # Once mapped: the window has its name before, and X refuses the focus to an unmapped one.
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tarvane$' | head -n 1) ||
        fail "no window"
    xdotool windowfocus --sync "$window"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    client_x=$X
    client_y=$((Y + HEIGHT - 393))
}

# wait_for what command...: runs the command every tenth of a second until it succeeds, for
# at most 20 seconds.
wait_for() {
    local what=$1
    shift
    for _ in $(seq 200); do
        "$@" && return 0
        sleep 0.1
    done
    fail "$what"
}

# press_until what check key...: presses the keys, then waits for the check to succeed. A
# nested compositor under load can drop keys that reach it while it reconfigures a window, so
# after press_seconds (five unless the test says otherwise) without effect, Escape closes any
# menu left half open and the keys are pressed again: three tries in all.
press_until() {
    local what=$1 check=$2 deadline
    shift 2
    for _ in 1 2 3; do
        xdotool key "$@"
        deadline=$((SECONDS + ${press_seconds:-5}))
        while ((SECONDS < deadline)); do
            "$check" && return 0
            sleep 0.1
        done
        xdotool key Escape Escape
    done
    fail "$what"
}

program_ended() { ! kill -0 "$app_pid" 2>/dev/null; }

# expect_exit status: waits for the program's end and checks its exit status.
expect_exit() {
    wait_for "the program did not end" program_ended
    local status=0
    wait "$app_pid" || status=$?
    app_pid=""
    [[ $status -eq $1 ]] || fail "the program ended with status $status, not $1"
}

# expect_saved_value text: the preferences file beside the program holds Value1=text.
expect_saved_value() {
    [[ -f $work/tarvane.ini ]] || fail "no tarvane.ini beside the program"
    grep -qx "Value1=$1" "$work/tarvane.ini" || fail "tarvane.ini reads: $(cat "$work/tarvane.ini")"
}

shoot() { import -window root "$work/screen.png"; }

# The colour of a screen point of the last screenshot, as "r,g,b".
screen_pixel() {
    convert "$work/screen.png" -format \
        "%[fx:round(255*p{$1,$2}.r)],%[fx:round(255*p{$1,$2}.g)],%[fx:round(255*p{$1,$2}.b)]" \
        info:
}

# The bounding box "WxH+X+Y" of the pixels of one colour in the last screenshot.
colour_box() {
    convert "$work/screen.png" -fill '#FF00FE' -opaque "$1" -fill black +opaque '#FF00FE' \
        -format '%@' info: 2>/dev/null
}

# With the window's client area at client_x, client_y: unit 2 (dBm in 50 ohms) under box 2,
# then 0 typed over box 1's text, which cannot convert: waits for the arrows to turn red, the
# sign that the program has taken the keystrokes.
type_unconvertible_zero() {
    xdotool mousemove $((client_x + 354)) $((client_y + 136 + 2 * 13 + 6)) click 1
    xdotool mousemove $((client_x + 60)) $((client_y + 80)) click 1
    xdotool key ctrl+a
    xdotool type --delay 30 0
    wait_for "the arrows did not turn red after typing 0" arrow_is 255,0,0
}

# arrow_is colour: the upper arrow shows this colour, and the program still runs.
arrow_is() {
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended"
    shoot && [[ $(screen_pixel $((client_x + 276)) $((client_y + 84))) == "$1" ]]
}
