#!/usr/bin/env bash
# Measures how long corvane takes to show its questionnaire on a fresh Xvfb
# display, over several starts.
#
# Usage: tools/measure_startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-20}
display=:97
source "$(dirname "$0")/../tests/support/xvfb.sh"
start_xvfb "$display"
DISPLAY=$display "$build/tools/corvane_startup_probe" "$build/src/app/corvane" 1 >/dev/null # warm the caches
DISPLAY=$display "$build/tools/corvane_startup_probe" "$build/src/app/corvane" "$runs"
