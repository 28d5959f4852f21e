# Sourced by scripts that run Quendra without a desktop. start_private_xvfb LOG starts Xvfb on the
# first free display number, adds its process id to the caller's `pids` array (for its clean-up),
# exports DISPLAY and returns once the display accepts clients.
start_private_xvfb() {
    local log=$1 display_number=99
    while [ -e "/tmp/.X11-unix/X$display_number" ] || [ -e "/tmp/.X$display_number-lock" ]; do
        display_number=$((display_number + 1))
    done
    Xvfb ":$display_number" -screen 0 1280x800x24 -nolisten tcp >"$log" 2>&1 &
    pids+=($!)
    export DISPLAY=":$display_number"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display_number" ] && break; sleep 0.1; done
}
