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

# start_nested_weston: starts the weston compositor in a 1000 x 740 window of the virtual X display (call
# start_virtual_display first), drawing with pixman, on a socket of its own in a runtime folder
# of its own, so xdotool and screenshots reach Wayland programs through X. Exports
# XDG_RUNTIME_DIR and WAYLAND_DISPLAY; sets weston_pid; returns non-zero when the compositor
# did not come up.
start_nested_weston() {
    XDG_RUNTIME_DIR=$(mktemp -d) # mktemp's folders are the owner's alone, as Wayland wants
    export XDG_RUNTIME_DIR WAYLAND_DISPLAY=weston-tarvane
    # No animations: a closing window fades out for a while, and the focus waits for it.
    # No on-screen keyboard: it rises over the window whenever a value box takes the focus.
    printf '[shell]\nanimation=none\nclose-animation=none\nstartup-animation=none\nfocus-animation=none\n[input-method]\npath=\n' \
        >"$XDG_RUNTIME_DIR/weston.ini"
    DISPLAY=$virtual_display weston --backend=x11-backend.so --use-pixman \
        --config="$XDG_RUNTIME_DIR/weston.ini" --idle-time=0 --width=1000 --height=740 \
        --socket="$WAYLAND_DISPLAY" \
        >"$XDG_RUNTIME_DIR/weston.log" 2>&1 &
    weston_pid=$!
    for _ in $(seq 200); do
        if [[ -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ]]; then
            # Smaller than the screen, so the pointer can enter it: weston follows the
            # pointer from the moment it enters its window.
            DISPLAY=$virtual_display xdotool mousemove 1010 750 sleep 0.1 mousemove 500 400
            return 0
        fi
        kill -0 "$weston_pid" 2>/dev/null || return 1
        sleep 0.05
    done
    return 1
}
