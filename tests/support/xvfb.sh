# Sourced by the scripts that need a display: starts Xvfb on the display given
# (a screen of 1280 × 1024 unless a size is given) and stops it when the
# script ends.
#   start_xvfb :94 [1024x768]
start_xvfb() {
    local display=$1 size=${2:-1280x1024}
    Xvfb "$display" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    trap 'kill "$xvfb_pid"; wait "$xvfb_pid" 2>/dev/null || true' EXIT
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X${display#:}" ] && return
        sleep 0.1
    done
}

# Starts openbox on $DISPLAY, so that windows get a frame and are placed as on
# a desktop, and waits until it manages the screen. It ends with the display;
# its process is wm_pid.
start_window_manager() {
    local ready
    ready=$(mktemp -u)
    openbox --sm-disable --startup "touch $ready" >/dev/null 2>&1 &
    wm_pid=$!
    for _ in $(seq 50); do
        [ -e "$ready" ] && break
        sleep 0.1
    done
    rm -f "$ready"
}
