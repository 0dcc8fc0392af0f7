#!/usr/bin/env bash
# Measures how long corvane takes to show its questionnaire on a fresh Xvfb
# display, over several starts.
#
# Usage: tests/gui/measure_startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-20}
display=:97
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb"; wait "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.1
done
DISPLAY=$display "$build/tests/gui/corvane_startup_probe" "$build/app/corvane" 1 >/dev/null # warm the caches
DISPLAY=$display "$build/tests/gui/corvane_startup_probe" "$build/app/corvane" "$runs"
