#!/usr/bin/env bash
# Takes the README's pictures of the three windows and the batch window on a
# fresh Xvfb display,
# in a Chinese locale, into docs/; of the whole screen of 1024 × 768 with a
# window manager, the questionnaire and the report placed there by the
# program (docs/form2-1024x768.png); and of the report page that corvane --pdf
# writes for the same answers (docs/report-page.png).
#
# Usage: tools/take_screenshots.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
source tests/support/xvfb.sh
export LANG=zh_CN.UTF-8

start_xvfb :98
DISPLAY=:98 "$build/tools/corvane_screenshots" docs
kill "$xvfb_pid"
wait "$xvfb_pid" 2>/dev/null || true

start_xvfb :97 1024x768
export DISPLAY=:97
start_window_manager
"$build/tools/corvane_screenshots" --screen docs/form2-1024x768.png

page=$(mktemp -d)
trap 'rm -rf "$page"; kill "$wm_pid" "$xvfb_pid"; wait "$xvfb_pid" 2>/dev/null || true' EXIT
"$build/src/app/corvane" --pdf "$page/report.pdf" \
    --ticks check1,check6,check13,check15,check22,Check61 --personality 1 --name 张三 --sex 男 --age 45
pdftoppm -png -r 80 -singlefile "$page/report.pdf" docs/report-page
ls -l docs/form0.png docs/form2.png docs/frmAbout.png docs/batch-window.png docs/form2-1024x768.png \
    docs/report-page.png
