#!/usr/bin/env bash
# The real program under a real Wayland compositor: weston on a socket of its own, in a window
# of its X11 backend on a virtual X display so that xdotool drives it, under the French locale.
# The program starts without a word on its outputs and without OpenGL; a number is typed; the
# compositor's own maximize key, on the main window and on the About window, leaves each its
# size and the program running (each time, a key pressed after it shows that the program went
# through the maximizing); Quitter then closes it and the number is saved.
# Usage: wayland_test.sh <path of the built tarvane executable>
executable=$1
here=$(dirname "$0")
source "$here/program_harness.sh"
export QT_QPA_PLATFORM=wayland LC_ALL=fr_FR.UTF-8 LANG=fr_FR.UTF-8
unset LANGUAGE QT_WAYLAND_DISABLE_WINDOWDECORATION
require_tools Xvfb weston xdotool import convert
start_display
start_nested_weston || fail "weston did not start: $(cat "$XDG_RUNTIME_DIR/weston.log")"
started_pids+=("$weston_pid")

MainWidth=553
AboutWidth=305
CaptionHeight=22 # the program's own caption, drawn under weston

# The main window's place, from its navy: the caption's first column and the client area.
main_window_shown() {
    shoot
    local box
    box=$(colour_box '#000080')
    [[ $box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 1
    # Its caption active (navy at its left end) and its own width.
    [[ ${BASH_REMATCH[1]} -eq $MainWidth && ${BASH_REMATCH[2]} -gt 393 ]] || return 1
    window_x=${BASH_REMATCH[3]}
    window_y=${BASH_REMATCH[4]}
    client_x=$window_x
    client_y=$((window_y + BASH_REMATCH[2] - 393))
}

# Whether the About window shows at its own width: the first row of its gradient is a run of
# aqua as wide as the window (aqua text may share the row).
about_shown() {
    shoot
    local rows row runs
    rows=$(convert "$work/screen.png" -fill '#FF00FE' -opaque '#00FFFF' -fill black \
        +opaque '#FF00FE' -fill white -opaque '#FF00FE' -colorspace Gray -filter box \
        -resize 1x768! -depth 16 txt:- |
        awk -F'[,:() ]+' 'NR > 1 && $4 * 1024 >= 300 * 65535 { print $2 }')
    row=$(head -n 1 <<<"$rows")
    [[ -n $row ]] || return 1
    runs=$(convert "$work/screen.png" -crop 1024x1+0+"$row" +repage -depth 8 txt:- |
        awk -v width=$AboutWidth '/#00FFFF/ {
            split($1, at, ","); x = at[1]
            if (x == last + 1) run++; else { run = 1; start = x }
            last = x
            if (run == width) print start }')
    [[ -n $runs ]]
}
arrows_green() { arrow_is 0,255,0; }
program_runs() { kill -0 "$app_pid" 2>/dev/null || fail "the program ended"; }
about_gone() { program_runs && ! about_shown; }

start_program
wait_for "no main window on the compositor" main_window_shown
[[ ! -s $work/program.log ]] || fail "printed at start: $(cat "$work/program.log")"
! grep -qE 'libEGL_mesa|libLLVM|dri/' "/proc/$app_pid/maps" || fail "OpenGL libraries loaded"

type_unconvertible_zero

# weston's maximize key: the window takes the screen for a moment, then its own size again.
# Then 1 typed over the 0: it converts, and the arrows turn green.
xdotool key super+shift+m
press_until "the arrows did not turn green after typing 1" arrows_green ctrl+a 1
wait_for "the main window did not come back to its size" main_window_shown

# Aide > A propos..., the last item; the same key on the About window.
press_until "no About window" about_shown alt Right Down Up Return
xdotool key super+shift+m
wait_for "the About window did not come back to its size" about_shown
press_until "the About window did not close" about_gone Return

# Fichier > Quitter, from the keyboard.
wait_for "no main window after the About" main_window_shown
press_until "Quitter did not end the program" program_ended alt Down Return
expect_exit 0
expect_saved_value 1
echo "PASS: under Wayland the windows keep their size when maximized, and the number is saved"
