#!/usr/bin/env bash
# Runs corvane on an Xvfb display of 1024 × 768 with a window manager, its own
# D-Bus session and accessibility bus, and drives it through AT-SPI with
# tests/gui/atspi_drive.py; then its batch window (corvane --batch-window)
# with tests/gui/atspi_batch_drive.py.
#
# Usage: tests/gui/atspi_test.sh CORVANE CORVANE_EVAL
set -euo pipefail
corvane=$1
evaluator=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../support/xvfb.sh"
export CORVANE_SCREEN=1024x768
start_xvfb :94 "$CORVANE_SCREEN"
export DISPLAY=:94
start_window_manager
export XDG_RUNTIME_DIR
XDG_RUNTIME_DIR=$(mktemp -d)
eval "$(dbus-launch --sh-syntax)"
trap 'kill "$app" "$DBUS_SESSION_BUS_PID" "$wm_pid" "$xvfb_pid" 2>/dev/null; rm -rf "$XDG_RUNTIME_DIR"' EXIT
export PYTHONPATH=$here
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
# The program looks for the accessibility bus once, when it starts.
for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1 && break
    sleep 0.1
done

# No CUPS server can be reached, so 打印 never prints and offers 另存为PDF….
CUPS_SERVER="$XDG_RUNTIME_DIR/no-cups-server.sock" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$corvane" &
app=$!
/usr/bin/python3 "$here/atspi_drive.py" "$evaluator"
# 退出 was pressed through the bus: the program must end by itself.
for _ in $(seq 50); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
done
! kill -0 "$app" 2>/dev/null || { echo "corvane did not end after 退出" >&2; exit 1; }
wait "$app"

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$corvane" --batch-window &
app=$!
/usr/bin/python3 "$here/atspi_batch_drive.py" "$XDG_RUNTIME_DIR"
