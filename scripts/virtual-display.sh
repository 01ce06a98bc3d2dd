# Sourced by scripts that need an X display of their own.
# start_virtual_display: starts Xvfb on a display number the server picks itself (so two runs
# never collide) and waits until it accepts clients. Sets virtual_display (":N") and
# virtual_display_pid; returns non-zero when the server did not come up.
start_virtual_display() {
    local number_file
    number_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
    virtual_display_pid=$!
    for _ in $(seq 200); do
        [[ -s $number_file ]] && break
        sleep 0.05
    done
    virtual_display=":$(head -n 1 "$number_file")"
    rm -f "$number_file"
    [[ $virtual_display != ":" ]]
}

# The nested compositors below each start in a window of the virtual X display (call
# start_virtual_display first), on a socket of their own in a runtime folder of their own, so
# xdotool and screenshots reach Wayland programs through X. Each exports XDG_RUNTIME_DIR and
# WAYLAND_DISPLAY, sets compositor_pids (what to end afterwards) and returns non-zero when the
# compositor did not come up; its output is in $XDG_RUNTIME_DIR/compositor.log.
new_wayland_runtime() {
    XDG_RUNTIME_DIR=$(mktemp -d) # mktemp's folders are the owner's alone, as Wayland wants
    export XDG_RUNTIME_DIR WAYLAND_DISPLAY=$1
    compositor_pids=()
}

# wait_for_compositor pid: waits until the compositor's socket is there, then moves the pointer
# into its window, smaller than the screen so that the pointer can enter it: a nested
# compositor follows the pointer from the moment it enters its window.
wait_for_compositor() {
    for _ in $(seq 200); do
        if [[ -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ]]; then
            DISPLAY=$virtual_display xdotool mousemove 1010 750 sleep 0.1 mousemove 500 400
            return 0
        fi
        kill -0 "$1" 2>/dev/null || return 1
        sleep 0.05
    done
    return 1
}

# start_nested_weston: weston, drawing with pixman, in 1000 x 740.
start_nested_weston() {
    new_wayland_runtime weston-tarvane
    # No animations: a closing window fades out for a while, and the focus waits for it.
    # No on-screen keyboard: it rises over the window whenever a value box takes the focus.
    printf '[shell]\nanimation=none\nclose-animation=none\nstartup-animation=none\nfocus-animation=none\n[input-method]\npath=\n' \
        >"$XDG_RUNTIME_DIR/weston.ini"
    DISPLAY=$virtual_display weston --backend=x11-backend.so --use-pixman \
        --config="$XDG_RUNTIME_DIR/weston.ini" --idle-time=0 --width=1000 --height=740 \
        --socket="$WAYLAND_DISPLAY" \
        >"$XDG_RUNTIME_DIR/compositor.log" 2>&1 &
    compositor_pids=($!)
    wait_for_compositor "$!"
}

# start_nested_mutter: mutter, GNOME's compositor, without Xwayland, on a session bus of its
# own (it will not start without one), in 800 x 600: it draws with OpenGL, here on the
# processor, and a smaller screen keeps its frames quick.
start_nested_mutter() {
    new_wayland_runtime mutter-tarvane
    local bus
    bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) || return 1
    compositor_pids=("$(sed -n 2p <<<"$bus")")
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 <<<"$bus") DISPLAY=$virtual_display \
        MUTTER_DEBUG_DUMMY_MODE_SPECS=800x600 \
        mutter --nested --wayland --no-x11 --wayland-display="$WAYLAND_DISPLAY" --sm-disable \
        >"$XDG_RUNTIME_DIR/compositor.log" 2>&1 &
    compositor_pids+=($!)
    wait_for_compositor "$!" || return 1
    # Nested, mutter passes the pointer's moves on only once a button was pressed in its
    # window: a click on its empty desktop.
    DISPLAY=$virtual_display xdotool mousemove 790 590 click 1 mousemove 400 300
}
