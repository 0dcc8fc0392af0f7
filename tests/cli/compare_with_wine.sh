#!/usr/bin/env bash
# Runs the Windows build of corvane-eval under wine and the native build on the
# same inputs, and fails unless standard output, standard error and the exit
# status are the same bytes: among the inputs members' lists in UTF-8 and
# GB18030, which each reads with its system's converter.
#   compare_with_wine.sh NATIVE_CORVANE_EVAL WINDOWS_CORVANE_EVAL_EXE
set -euo pipefail
native=$1
windows=$2
corpus="$(dirname "$0")/../fuzz/corpus"
work=$(mktemp -d)
export WINEDEBUG=-all WINEARCH=win64 WINEPREFIX="${WINEPREFIX:-$work/wineprefix}"
# Stops the wine server of this prefix (and only that one) before its files go.
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
unset DISPLAY WAYLAND_DISPLAY

# Runs one program with the case's arguments and standard input; keeps what it printed.
run_case() {
    local side=$1 input=$2
    shift 2
    local status=0
    "$@" <"$input" >"$work/$side.out" 2>"$work/$side.err" || status=$?
    echo "$status" >"$work/$side.status"
}

failures=0
compare_case() {
    local input=$1
    shift
    run_case native "$input" "$native" "$@"
    run_case windows "$input" wine "$windows" "$@"
    for part in out err status; do
        if ! cmp -s "$work/native.$part" "$work/windows.$part"; then
            echo "DIFFERENT std$part for: corvane-eval $* <$(basename "$input")" >&2
            diff <(od -c "$work/native.$part") <(od -c "$work/windows.$part") | head -n 20 >&2
            failures=$((failures + 1))
            return
        fi
    done
    echo "same: corvane-eval $* <$(basename "$input") (exit $(cat "$work/native.status"))"
}

# The first start creates the wine prefix, which takes a while; a failure here
# means wine itself does not run.
wineboot -i >/dev/null 2>&1 || true
wine "$windows" --ticks "" >/dev/null || {
    echo "wine cannot run $windows" >&2
    exit 1
}

compare_case /dev/null --ticks check1,check6,check13 --personality 1
compare_case /dev/null --ticks check1,check6,check13 --personality 1 --json
compare_case /dev/null --scores Yin=12,Yang=15,Qi=7,Stasis=5 --json
compare_case /dev/null --ticks ""
compare_case /dev/null --ticks check80
compare_case /dev/null --scores Yin=32768
compare_case /dev/null --ticks 1 --scores Yin=2
for input in "$corpus"/batch_* "$corpus"/csv_*; do
    compare_case "$input" --batch
done

if ((failures)); then
    echo "$failures case(s) differ between Linux and Windows" >&2
    exit 1
fi
