#!/usr/bin/env bash
# The real program on its own X display, under the French locale: open the Aide menu and check
# its look, type into box 1, choose a unit, check the screen's pixels, type and paste numbers
# and levels as a French user would, move the focus to a result and back (which changes no number), quit
# through the menu and check the preferences file written beside the program. Then, started
# again: steps and undo on the exact numbers whatever the decimals shown, blanks pasted, and a
# number given in box 2 that box 1 cannot show, back after Quitter and a new start.
# Usage: window_test.sh <path of the built tarvane executable> [where to keep the menu screenshot]
executable=$1
menu_shot=${2:-}
# A copy of its own in $work, so the preferences file is this test's and not the build folder's.
source "$(dirname "$0")/program_harness.sh"
# Its own platform and French locale, and below its own display, whatever the caller's environment holds.
export QT_QPA_PLATFORM=xcb LC_ALL=fr_FR.UTF-8 LANG=fr_FR.UTF-8
unset LANGUAGE WAYLAND_DISPLAY
require_tools Xvfb xdotool xprop xclip import convert
start_display

start_program
find_window
[[ $WIDTH -eq 553 ]] || fail "window width $WIDTH"

# Captions as the window manager shows them: each window's own, nothing appended.
caption() { xprop -id "$1" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'; }
[[ $(caption "$window") == Tarvane ]] || fail "main window caption: $(caption "$window")"
xdotool key alt Right Down Up Return # Aide > A propos..., the last item
about=$(timeout 20 xdotool search --sync --name '^A propos' | head -n 1) || fail "no About window"
[[ $(caption "$about") == "A propos..." ]] || fail "About caption: $(caption "$about")"
xdotool key Return
for _ in $(seq 40); do
    xdotool search --name '^A propos' >/dev/null || break
    sleep 0.1
done
xdotool search --name '^A propos' >/dev/null && fail "the About window did not close"

# The colour at a client-area point of a fresh screenshot, as "r,g,b".
pixel() {
    import -window root "$work/screen.png"
    screen_pixel $((client_x + $1)) $((client_y + $2))
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

# The menu bar in its blue look, then the Aide drop-down opened with the mouse.
bar_height=$((client_y - Y))
xdotool mousemove $((X + 25)) $((Y + bar_height / 2)) click 1
fichier_right=""
for _ in $(seq 40); do
    # The open Fichier item is outlined in 002D96; its right edge tells where Aide begins.
    import -window root "$work/screen.png"
    fichier_right=$(convert "$work/screen.png" -crop 200x1+$X+$((Y + 1)) +repage -depth 8 txt:- |
        awk '/#002D96/ { split($1, at, ","); right = at[1] } END { print right }')
    [[ -n $fichier_right ]] && break
    sleep 0.1
done
[[ -n $fichier_right ]] || fail "the Fichier menu did not open"
xdotool key Escape
sleep 0.2
xdotool key Escape
aide_x=$((X + fichier_right + 1)) # the drop-down's left edge lines up with its root item
xdotool mousemove $((aide_x + 12)) $((Y + bar_height / 2)) click 1
xdotool mousemove $((X + 300)) $((Y + 200)) # off the drop-down: no item highlighted
opened=""
for _ in $(seq 40); do
    import -window root "$work/screen.png"
    [[ $(screen_pixel $aide_x $((client_y + 30))) == 0,45,150 ]] && opened=1 && break
    sleep 0.1
done
[[ -n $opened ]] || fail "the Aide drop-down did not open"
[[ -n $menu_shot ]] && cp "$work/screen.png" "$menu_shot"

expect_menu_pixel() { # x y (from the drop-down's top left) colour what
    local seen
    seen=$(screen_pixel $((aide_x + $1)) $((client_y + $2)))
    [[ $seen == "$3" ]] || fail "$4: drop-down pixel ($1,$2) is $seen, not $3"
}
expect_menu_pixel 0 30 0,45,150 "outer frame"
expect_menu_pixel 1 30 246,246,246 "inner frame"
expect_menu_pixel 4 0 246,246,246 "top edge joined to the open Aide item"
expect_menu_pixel 2 8 227,239,255 "icon strip"
expect_menu_pixel 40 8 246,246,246 "background"
[[ $(screen_pixel $aide_x $Y) == 0,45,150 ]] || fail "the open Aide item is not outlined"

# Separators: single blue lines, starting 2 pixels right of the 24-pixel icon strip.
separators=($(convert "$work/screen.png" -crop 1x120+$((aide_x + 40))+$client_y +repage -depth 8 txt:- |
    awk '/#6A8CCB/ { split($1, at, "[,:]"); print at[2] }'))
[[ ${#separators[@]} -eq 2 ]] || fail "separator rows: ${separators[*]}"
for row in "${separators[@]}"; do
    expect_menu_pixel 27 "$row" 246,246,246 "gap before the separator"
    expect_menu_pixel 28 "$row" 106,140,203 "separator start"
done

# The darkest caption pixel, as a grey level from 0 to 100, between two rows of the drop-down.
darkest() { # from to
    convert "$work/screen.png" -crop 100x$(($2 - $1))+$((aide_x + 34))+$((client_y + $1)) +repage \
        -colorspace Gray -format "%[fx:round(100*minima)]" info:
}
index_darkest=$(darkest 2 "${separators[0]}")
readme_darkest=$(darkest $((separators[0] + 1)) "${separators[1]}")
((index_darkest > 50 && index_darkest < 90)) || fail "Index de l'aide is not grey ($index_darkest)"
((readme_darkest < 20)) || fail "Lisez-moi is not black ($readme_darkest)"

xdotool key Escape
expect_pixel 86 8 0,0,128 "strip band once the drop-down is closed"

# Unit 2 (dBm in 50 ohms) under box 2, then 0 V typed over box 1's whole text.
xdotool mousemove $((client_x + 354)) $((client_y + 136 + 2 * 13 + 6)) click 1
xdotool mousemove $((client_x + 60)) $((client_y + 80)) click 1
xdotool key ctrl+a
xdotool type --delay 30 0
expect_pixel 276 84 255,0,0 "red upper arrow after 0 V to dBm"
expect_pixel 276 220 255,0,0 "red lower arrow after 0 V to dBm"
expect_pixel 4 50 0,0,128 "navy background after the conversion"

# Numbers entered as a French user would, with unit 5 (dBV) under box 2: "2.5" typed on the
# main keyboard and with the keypad's decimal key reads 2,5 V; box 2 is read through the
# clipboard, which makes it the source.
expect_box_text() { # box text what: clicks into the box and copies its text
    local seen=""
    xdotool mousemove $((client_x + ($1 == 1 ? 60 : 360))) $((client_y + 80)) click 1
    for _ in $(seq 40); do
        xdotool key ctrl+a ctrl+c
        seen=$(xclip -o -selection clipboard 2>/dev/null || true)
        [[ $seen == "$2" ]] && return 0
        sleep 0.1
    done
    fail "$3: box $1 reads '$seen', not '$2'"
}
expect_box2_text() { expect_box_text 2 "$@"; }
click_box1() { xdotool mousemove $((client_x + 60)) $((client_y + 80)) click 1; }
xdotool mousemove $((client_x + 354)) $((client_y + 136 + 5 * 13 + 6)) click 1
click_box1
xdotool key ctrl+a
xdotool type --delay 30 2.5
expect_box2_text "7,9588" "2.5 typed"
click_box1
xdotool key ctrl+a 2 KP_Decimal 5
expect_box2_text "7,9588" "2, keypad decimal, 5 typed"

# The middle button pastes the X selection: "0.5" reads 0,5 V.
click_box1
xdotool key ctrl+a BackSpace
printf 0.5 | xclip -selection primary 2>/dev/null
xdotool click 2
expect_box2_text "-6,0206" "0.5 pasted with the middle button"

# Pasting "abc" fails visibly: red arrows, "-.--" in red in box 2 (no aqua digits left), and
# box 1's last number, 0,5, is what the preferences keep.
click_box1
printf abc | xclip -selection clipboard 2>/dev/null
xdotool key ctrl+a ctrl+v
expect_pixel 276 84 255,0,0 "red upper arrow after pasting abc"
box2_colours=$(convert "$work/screen.png" -crop 233x37+$((client_x + 304))+$((client_y + 64)) +repage \
    -depth 8 txt:- | awk '/#FF0000/ { red = 1 } /#00FFFF/ { aqua = 1 } END { print red + 0, aqua + 0 }')
[[ $box2_colours == "1 0" ]] || fail "box 2 after pasting abc: red, aqua pixels: $box2_colours"

# A failed result stays as it is when the focus moves: 0 V has no level in dBV. Clicking into
# "-.--", back into box 1, then Tab and Shift+Tab change neither box.
click_box1
xdotool key ctrl+a
xdotool type --delay 30 0
expect_box_text 2 "-.--" "0 V in dBV, once clicked into"
expect_box_text 1 "0,0000" "box 1 after a click into the failed result"
xdotool key Tab shift+Tab
expect_box_text 1 "0,0000" "box 1 after Tab and back"
expect_box_text 2 "-.--" "box 2 after Tab and back"

# A number whose round trip through box 2's 4 decimals of dBu (unit 4) would change it: a
# click into the result, Tab and Shift+Tab leave every digit typed.
xdotool mousemove $((client_x + 354)) $((client_y + 136 + 4 * 13 + 6)) click 1
click_box1
xdotool key ctrl+a
xdotool type --delay 30 1234.5678
expect_box_text 2 "64,0488" "1234.5678 V in dBu, once clicked into"
expect_box_text 1 "1234,5678" "box 1 after a click into the result"
xdotool key Tab shift+Tab
expect_box_text 1 "1234,5678" "box 1 after Tab and back"
expect_box_text 2 "64,0488" "box 2 after Tab and back"

# A level pasted with its unit, as instrument screens write it: "-73 dBm" sets box 1's number
# and selects dBm in 50 ohms in its list; box 2, still in dBu, shows the level converted.
click_box1
printf -- '-73 dBm' | xclip -selection clipboard 2>/dev/null
xdotool key ctrl+a ctrl+v
list_row() { echo $((136 + $1 * 13 + 6)); }
selected=48,140,198
unselected=128,0,128
expect_pixel 240 "$(list_row 2)" $selected "dBm (50 ohms) selected in box 1's list"
expect_pixel 240 "$(list_row 0)" $unselected "Veff no longer selected in box 1's list"
expect_pixel 527 "$(list_row 4)" $selected "dBu still selected in box 2's list"
expect_box_text 2 "-83,7918" "-73 dBm pasted into box 1"
expect_box_text 1 "-73,0000" "-73 dBm pasted into box 1"

# A plain number pasted keeps every digit: box 1's decimals rise until they all show, and a
# click into the result changes neither box.
click_box1
printf '1,23456' | xclip -selection clipboard 2>/dev/null
xdotool key ctrl+a ctrl+v
expect_box_text 2 "-9,5573" "1,23456 dBm pasted into box 1"
expect_box_text 1 "1,23456" "box 1 after a click into the result"
expect_box_text 2 "-9,5573" "box 2 after a click into box 1"

# Fichier > Quitter.
quit_program() {
    xdotool mousemove $((X + 25)) $((Y + (client_y - Y) / 2)) click 1
    sleep 0.3
    xdotool key Down Return
    expect_exit 0
}
quit_program

# Value1 as older copies read it; then which box holds the number the user gave, and what
# the units and Value1 were then.
expected=$'[UserPrefs]\nWriteTest=1\nValue1precision=5\nValue2precision=4\nValue1Index=2\nValue2Index=4\nValue1=1,23456'
expected+=$'\nSource=1\nSourceValue=1,23456\nSourceCheck=2 4 1.23456'
[[ -f $work/tarvane.ini ]] || fail "no tarvane.ini beside the program"
actual=$(cat "$work/tarvane.ini")
[[ $actual == "$expected" ]] || fail "tarvane.ini reads: $actual"

# Started again: steps and undo work on the exact number a box holds, whatever its decimals.
start_program
find_window
click_unit() { # box row
    xdotool mousemove $((client_x + ($1 == 1 ? 66 : 354))) $((client_y + $(list_row "$2"))) click 1
}
decimals() { # box count: typed over the precision spinner's text
    xdotool mousemove $((client_x + ($1 == 1 ? 28 : 316))) $((client_y + 369)) click 1
    xdotool key ctrl+a
    xdotool type --delay 30 "$2"
}
paste_into_box1() {
    click_box1
    printf -- "$1" | xclip -selection clipboard 2>/dev/null
    xdotool key ctrl+a ctrl+v
}
click_unit 1 0 # Veff
click_unit 2 4 # dBu
paste_into_box1 '1,23456789'
decimals 1 2
expect_box_text 1 "1,23" "1,23456789 pasted, at 2 decimals"
xdotool key Up
decimals 1 8
expect_box_text 1 "2,23456789" "Up at 2 decimals, then 8 decimals"
decimals 1 2
click_box1
xdotool key ctrl+a 5 ctrl+z
decimals 1 8
expect_box_text 1 "2,23456789" "5 typed over 2,23 and undone, then 8 decimals"
xdotool key ctrl+y
expect_box_text 1 "5" "the 5 redone"

# The result steps from its exact number: 1 V is 2,2185 dBu at 4 decimals, 2,2184874962 at 10.
click_box1
xdotool key ctrl+a 1
expect_box_text 2 "2,2185" "1 V in dBu"
xdotool key Up
decimals 2 10
expect_box_text 2 "3,2184874962" "Up in the result, then 10 decimals"
expect_box_text 1 "1,12201845" "box 1, at 8 decimals, for 3,2184874962 dBu"

# Blanks pasted are no number: the result fails visibly, it never converts 0.
click_box1
xdotool key ctrl+a
xdotool type --delay 30 2,5
paste_into_box1 '   '
expect_pixel 276 84 255,0,0 "red upper arrow after pasting blanks"
expect_box_text 2 "-.--" "blanks pasted into box 1"

# A number given in box 2 that box 1 cannot show: 0 V has no level in dBu. Quitter, start
# again: box 2 shows the 0 given there.
click_unit 1 4 # dBu
click_unit 2 0 # Veff
expect_box_text 2 "-.--" "box 2, clicked into"
xdotool key ctrl+a 0
expect_pixel 276 84 255,0,0 "red upper arrow after 0 V typed into box 2"
quit_program
start_program
find_window
expect_box_text 2 "0,0000000000" "box 2, at 10 decimals, after Quitter and a new start"
expect_box_text 1 "-.--" "box 1 after Quitter and a new start"
quit_program
echo "PASS: window converts, reads French entry, pasted levels and numbers whole, shows failures in red," \
    "quits through the menu and saves; steps, undoes and restarts on exact numbers"
