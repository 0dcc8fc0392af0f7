#!/usr/bin/env bash
# Measures how long corvane takes to show its questionnaire on a fresh Xvfb
# display, against a floor: tools/startup_floor.cpp, the least Qt Widgets
# program that shows a window with Chinese text. The two take turns, a few
# starts each per round, so that whatever else the machine does meanwhile
# weighs on both alike. Prints each round's medians and their ratio, then the
# median over the rounds and the range of the ratios.
#
# Usage: tools/measure_startup.sh [BUILD_DIR] [ROUNDS] [STARTS_PER_ROUND]
# PROGRAM=path measures another build of corvane against the same floor.
set -euo pipefail
build=${1:-build}
rounds=${2:-10}
starts=${3:-3}
program=${PROGRAM:-$build/src/app/corvane}
floor=$build/tools/corvane_startup_floor
probe=$build/tools/corvane_startup_probe
display=:97
source "$(dirname "$0")/../tests/support/xvfb.sh"
start_xvfb "$display"
export DISPLAY=$display
# Without one Qt remarks on every start that XDG_RUNTIME_DIR is not set.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR=$build/startup-runtime
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
fi

# The median time to the painted window and the median processor time, in ms.
medians_of() { "$probe" "$1" "$starts" | sed -n 's/.* median \([0-9]*\) ms .*cpu median \([0-9.]*\) ms/\1 \2/p'; }

"$probe" "$floor" 1 >/dev/null # warm the caches
"$probe" "$program" 1 >/dev/null
for round in $(seq "$rounds"); do
    echo "$round $(medians_of "$floor") $(medians_of "$program")"
done | awk -v starts="$starts" '
    { floor[NR] = $2; program[NR] = $4; ratio[NR] = $4 / $2
      floorCpu[NR] = $3; programCpu[NR] = $5
      printf "round %2d  floor %4d ms  corvane %4d ms  ratio %.2f   processor time: floor %5.1f ms  corvane %5.1f ms\n", $1, $2, $4, ratio[NR], $3, $5 }
    function median(values, n,    sorted, i, j, v) {
        for (i = 1; i <= n; ++i) {
            v = values[i]
            for (j = i - 1; j >= 1 && sorted[j] > v; --j) sorted[j + 1] = sorted[j]
            sorted[j + 1] = v
        }
        return n % 2 ? sorted[(n + 1) / 2] : (sorted[n / 2] + sorted[n / 2 + 1]) / 2
    }
    END {
        n = NR; low = high = ratio[1]
        for (i = 2; i <= n; ++i) { if (ratio[i] < low) low = ratio[i]; if (ratio[i] > high) high = ratio[i] }
        f = median(floor, n); p = median(program, n)
        printf "%d rounds of %d starts each: floor median %.0f ms, corvane median %.0f ms, ratio %.2f (rounds %.2f-%.2f)\n", n, starts, f, p, p / f, low, high
        f = median(floorCpu, n); p = median(programCpu, n)
        printf "processor time: floor median %.1f ms, corvane median %.1f ms, ratio %.2f\n", f, p, p / f
    }'
