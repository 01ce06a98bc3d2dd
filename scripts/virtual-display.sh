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
