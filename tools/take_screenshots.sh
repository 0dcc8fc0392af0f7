#!/usr/bin/env bash
# Takes the README's pictures of the three windows on a fresh Xvfb display,
# in a Chinese locale, into docs/.
#
# Usage: tools/take_screenshots.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
display=:98
source tests/support/xvfb.sh
start_xvfb "$display"
DISPLAY=$display LANG=zh_CN.UTF-8 "$build/tools/corvane_screenshots" docs
ls -l docs/form0.png docs/form2.png docs/frmAbout.png
