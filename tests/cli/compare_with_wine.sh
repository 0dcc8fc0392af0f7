#!/usr/bin/env bash
# Runs the Windows build of corvane-eval under wine and the native build on the
# same inputs, and fails unless standard output, standard error and the exit
# status are the same bytes; Chinese captions come on the command line as a
# terminal passes them, and among the inputs are members' lists in UTF-8 and
# GB18030, which each reads with its system's converter. Then runs some of the
# cases with the Windows program's output on a console, where it must show the
# native program's text (each line without trailing blanks, as a console's rows
# have none); and some cases under a Chinese locale, said in Chinese by both.
# Wine's consoles need an X display: run under xvfb-run.
#   compare_with_wine.sh NATIVE_CORVANE_EVAL WINDOWS_CORVANE_EVAL_EXE CONSOLE_CAPTURE_EXE
set -euo pipefail
native=$1
windows=$2
capture=$3
corpus="$(dirname "$0")/../fuzz/corpus"
work=$(mktemp -d)
export WINEDEBUG=-all WINEARCH=win64 WINEPREFIX="${WINEPREFIX:-$work/wineprefix}"
# Stops the wine server of this prefix (and only that one) before its files go.
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
unset WAYLAND_DISPLAY
[ -n "${DISPLAY:-}" ] || {
    echo "compare_with_wine: no X display for wine's console; run under xvfb-run" >&2
    exit 1
}

# Every wine command is ended after two minutes: a program that hangs fails its case.
wine() { timeout 120 /usr/bin/wine "$@"; }

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

# The same on a console: what the Windows program's console shows, standard
# output and standard error together, against the native program's text.
compare_console_case() {
    local input=$1 shown="corvane-eval ${*:2}"
    shift
    shown="${shown:0:80} <$(basename "$input")"
    run_case native "$input" "$native" "$@"
    cat "$work/native.out" "$work/native.err" | sed 's/ *$//' >"$work/native.console"
    run_case windows "$input" wine "$capture" "$(winepath -w "$windows")" "$@"
    mv "$work/windows.out" "$work/windows.console"
    for part in console status; do
        if ! cmp -s "$work/native.$part" "$work/windows.$part"; then
            echo "DIFFERENT on a console ($part) for: $shown" >&2
            diff "$work/native.$part" "$work/windows.$part" | cut -c 1-200 | head -n 20 >&2
            cat "$work/windows.err" >&2
            failures=$((failures + 1))
            return
        fi
    done
    echo "same on a console: $shown"
}

# The first start creates the wine prefix, which takes a while; a failure here
# means wine itself does not run. One wine server for all the cases: wine's own
# processes start once, here, and write nothing into a case's output.
mkdir -p "$WINEPREFIX"
wineserver -k 2>/dev/null || true
wineserver -w
wineserver -p
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

# Captions, one that two groups share, and one that is none.
chinese_cases=(
    "--ticks 口干咽燥"
    "--ticks 口干咽燥,五心烦热 --personality 1"
    "--ticks 自汗"
    "--ticks 口干咽燥,头痛欲裂"
)
for case in "${chinese_cases[@]}"; do
    read -r -a arguments <<<"$case"
    compare_case /dev/null "${arguments[@]}"
    compare_console_case /dev/null "${arguments[@]}"
done
echo '{"ticks": ["口干咽燥", "五心烦热"], "personality": 1, "name": "张三"}' >"$work/batch_chinese"
compare_console_case "$work/batch_chinese" --batch
# A message several times longer than a console write takes at once, so that
# the writes cut characters of three and of four bytes (𠮷 stands beyond
# U+FFFF, as in some names).
compare_console_case /dev/null --ticks "x$(printf '口𠮷x%.0s' $(seq 2000))"

# Under a Chinese locale both speak Chinese: the Windows program's libintl
# reads LANG as glibc does (the native one finds the build's own zh_CN.UTF-8
# beside the build's programs). A bad option, a bad value, a bad batch line.
export LOCPATH="${LOCPATH:-$(cd "$(dirname "$native")/../.." && pwd)/locale}"
printf '%s\n' '{"ticks": [1]}' '{"ticks": [99]}' >"$work/batch_bad_line"
for case in "--bad-option" "--ticks check80" "--ticks 1 --scores Yin=2"; do
    read -r -a arguments <<<"$case"
    LANG=zh_CN.UTF-8 compare_case /dev/null "${arguments[@]}"
done
LANG=zh_CN.UTF-8 compare_case "$work/batch_bad_line" --batch
if ! grep -q "第 2 行：未知症状 99" "$work/windows.err"; then
    echo "DIFFERENT language: under LANG=zh_CN.UTF-8 the Windows program said:" >&2
    cat "$work/windows.err" >&2
    failures=$((failures + 1))
fi

if ((failures)); then
    echo "$failures case(s) differ between Linux and Windows" >&2
    exit 1
fi
