#!/usr/bin/env bash
# Takes the README's pictures of the three windows on a fresh Xvfb display,
# in a Chinese locale, into docs/.
#
# Usage: tests/gui/take_screenshots.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
display=:98
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb"; wait "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.1
done
DISPLAY=$display LANG=zh_CN.UTF-8 "$build/tests/gui/corvane_screenshots" docs
ls -l docs/form0.png docs/form2.png docs/frmAbout.png
