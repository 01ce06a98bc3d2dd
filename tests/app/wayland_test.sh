#!/usr/bin/env bash
# The real program under a real Wayland compositor, weston or GNOME's mutter: on a socket of its
# own, in a window of a virtual X display so that xdotool drives it, under the French locale.
# The program starts without a word on its outputs and without OpenGL; a number is typed; the
# compositor's own maximize key, on the main window and on the About window, leaves each its
# size and the program running (each time, a key pressed after it shows that the program went
# through the maximizing). Lisez-moi hands the readme to the desktop's opener (a stand-in here
# that records what it was given) with the environment the program was given. A press on the
# caption leaves the pointer free for the rest of the window. Quitter then closes it and the
# number is saved; and one click on the caption's close button ends the program, however it
# was left before.
# Usage: wayland_test.sh <path of the built tarvane executable> weston|mutter
executable=$1
compositor=$2
here=$(dirname "$0")
source "$here/program_harness.sh"
export QT_QPA_PLATFORM=wayland LC_ALL=fr_FR.UTF-8 LANG=fr_FR.UTF-8
unset LANGUAGE QT_WAYLAND_DISABLE_WINDOWDECORATION
# mutter draws with OpenGL, here on the processor: under load a new window can take it several
# seconds, so it gets longer before keys are pressed again, and fewer fresh starts.
case $compositor in
weston)
    maximize_key=super+shift+m
    before_close=(nothing typed pressed dragged)
    ;;
mutter)
    maximize_key=super+Up
    press_seconds=15
    before_close=(typed dragged)
    ;;
*) fail "unknown compositor: $compositor" ;;
esac
require_tools Xvfb "$compositor" xdotool import convert dbus-daemon
start_display
compositor_status=0
start_nested_"$compositor" || compositor_status=$?
started_pids+=("${compositor_pids[@]}") # ended afterwards, whether it came up or not
((compositor_status == 0)) || fail "$compositor did not start: $(cat "$XDG_RUNTIME_DIR/compositor.log")"

MainWidth=553
AboutWidth=305

# The desktop's opener, as the program finds it first on the path: records its arguments and
# its environment, and opens nothing.
mkdir "$work/bin"
cat >"$work/bin/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$@" >"$work/opener.args"
env >"$work/opener.tmp" && mv "$work/opener.tmp" "$work/opener.env"
EOF
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"
printf 'Lisez-moi\n' >"$work/A_Lire.txt"

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
# aqua as wide as the window (aqua text may share the row). A grey pixel's value comes first in
# parentheses: once from ImageMagick 7 (Debian 13), three times from ImageMagick 6.
about_shown() {
    shoot
    local rows row runs
    rows=$(convert "$work/screen.png" -fill '#FF00FE' -opaque '#00FFFF' -fill black \
        +opaque '#FF00FE' -fill white -opaque '#FF00FE' -colorspace Gray -filter box \
        -resize 1x768! -depth 16 txt:- |
        awk -F'[,:() ]+' 'NR > 1 && $3 * 1024 >= 300 * 65535 { print $2 }')
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
main_window_at() { main_window_shown && ((window_x == $1 && window_y == $2)); }
arrows_green() { arrow_is 0,255,0; }
program_runs() { kill -0 "$app_pid" 2>/dev/null || fail "the program ended"; }
about_gone() { program_runs && ! about_shown; }
opener_ran() { [[ -f $work/opener.env ]]; }

# Whether the menu bar's Aide item is lit, as the pointer over it lights it: much of a box
# inside the item in its warm highlight (the text aside), where the bar is a light blue.
aide_lit() {
    shoot
    local warm
    warm=$(convert "$work/screen.png" -crop 26x9+$((window_x + 50))+$((window_y + 26)) +repage \
        -fx 'r - b > 0.15 ? 1 : 0' -format '%[fx:mean]' info:)
    awk -v warm="$warm" 'BEGIN { exit !(warm > 0.3) }'
}

no_opengl() {
    ! grep -qE 'libEGL_mesa|libLLVM|dri/' "/proc/$app_pid/maps" || fail "OpenGL libraries loaded"
}

# press_caption seconds: a press of the left button on the caption's title, held that long.
press_caption() {
    xdotool mousemove $((window_x + 200)) $((window_y + 11)) mousedown 1 sleep "$1" mouseup 1
}

start_program
wait_for "no main window on the compositor" main_window_shown
[[ ! -s $work/program.log ]] || fail "printed at start: $(cat "$work/program.log")"
no_opengl

type_unconvertible_zero

# The compositor's maximize key: the window takes the screen for a moment, then its own size
# again. Then 1 typed over the 0: it converts, and the arrows turn green.
xdotool key "$maximize_key"
press_until "the arrows did not turn green after typing 1" arrows_green ctrl+a 1
wait_for "the main window did not come back to its size" main_window_shown

# Aide > Lisez-moi, the second item: the opener gets the readme, and none of the settings the
# program made for itself.
press_until "Lisez-moi did not run the opener" opener_ran alt Right Down Down Return
[[ $(cat "$work/opener.args") == "file://$work/A_Lire.txt" ]] ||
    fail "the opener was given: $(cat "$work/opener.args")"
! grep -q '^QT_WAYLAND_DISABLE_WINDOWDECORATION=' "$work/opener.env" ||
    fail "the program's decoration switch reached the opener"

# Aide > A propos..., the last item; the same key on the About window. The windows made after
# the switch was taken back still do without OpenGL.
press_until "no About window" about_shown alt Right Down Up Return
no_opengl
xdotool key "$maximize_key"
wait_for "the About window did not come back to its size" about_shown
press_until "the About window did not close" about_gone Return

# A press on the caption starts the compositor's move, which keeps the release; the pointer
# over the menu bar still lights its items.
wait_for "no main window after the About" main_window_shown
press_caption 0.2
xdotool mousemove $((window_x + 60)) $((window_y + 30)) sleep 0.1 \
    mousemove $((window_x + 57)) $((window_y + 30))
wait_for "the menu bar did not light under the pointer after a press on the caption" aide_lit
xdotool mousemove $((client_x + 276)) $((client_y + 200)) # off the bar, which the keys use next

# Fichier > Quitter, from the keyboard.
press_until "Quitter did not end the program" program_ended alt Down Return
expect_exit 0
expect_saved_value 1

# One click on the caption's close button, after each of these, ends the program: nothing, a
# number typed (whose save is still due: the close saves it), a press on the caption, a drag
# of the caption.
for before in "${before_close[@]}"; do
    start_program
    wait_for "no main window on the compositor" main_window_shown
    case $before in
    typed) type_unconvertible_zero ;;
    pressed) press_caption 0.2 ;;
    dragged)
        xdotool mousemove $((window_x + 200)) $((window_y + 11)) mousedown 1 sleep 0.1 \
            mousemove_relative 20 20 sleep 0.1 mousemove_relative 20 20 sleep 0.1 mouseup 1
        wait_for "the drag did not move the main window" main_window_at \
            $((window_x + 40)) $((window_y + 40))
        ;;
    esac
    xdotool mousemove $((window_x + MainWidth - 10)) $((window_y + 11)) \
        mousedown 1 sleep 0.05 mouseup 1
    wait_for "one click on the close button (after $before) did not end the program" program_ended
    expect_exit 0
    [[ $before != typed ]] || expect_saved_value 0
done
echo "PASS: under $compositor the windows keep their size when maximized, the opener gets a" \
    "clean environment, and the number is saved"
