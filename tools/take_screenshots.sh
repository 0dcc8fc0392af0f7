#!/usr/bin/env bash
# Takes the README's pictures of the three windows on a fresh Xvfb display,
# in a Chinese locale, into docs/, and of the report page that corvane --pdf
# writes for the same answers (docs/report-page.png).
#
# Usage: tools/take_screenshots.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
display=:98
source tests/support/xvfb.sh
start_xvfb "$display"
DISPLAY=$display LANG=zh_CN.UTF-8 "$build/tools/corvane_screenshots" docs
page=$(mktemp -d)
trap 'rm -rf "$page"; kill "$xvfb_pid"; wait "$xvfb_pid" 2>/dev/null || true' EXIT
LANG=zh_CN.UTF-8 "$build/src/app/corvane" --pdf "$page/report.pdf" \
    --ticks check1,check6,check13,check15,check22,Check61 --personality 1 --name 张三 --sex 男 --age 45
pdftoppm -png -r 80 -singlefile "$page/report.pdf" docs/report-page
ls -l docs/form0.png docs/form2.png docs/frmAbout.png docs/report-page.png
