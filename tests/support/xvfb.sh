# Sourced by the scripts that need a display: starts Xvfb on the display given
# and stops it when the script ends.
start_xvfb() {
    local display=$1
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    trap 'kill "$xvfb_pid"; wait "$xvfb_pid" 2>/dev/null || true' EXIT
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X${display#:}" ] && return
        sleep 0.1
    done
}
