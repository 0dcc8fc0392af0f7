#!/usr/bin/env bash
# The Windows installer under wine, as a user on Windows meets it: installs the
# MSI silently, starts the installed program and checks its questionnaire (the
# window's title and a screenshot that is not blank), lets a diagnosis through
# the windows give the same three texts as the installed corvane-eval, lets
# corvane.exe --pdf write a page (to a Chinese file name) whose text equals the
# Linux export's, and uninstalls silently, leaving nothing behind.
#   windows_installer_test.sh MSI REPORT_PRINT_JOB_EXE LINUX_CORVANE SCREENSHOT.png
# Uses the WINEPREFIX of the environment, or a new one; needs Xvfb and openbox.
# The installed programs run without WINEPATH, so only the installed DLLs can
# serve them; the job program is given the WINEPATH of the environment.
set -euo pipefail
msi=$(realpath "$1")
job=$(realpath "$2")
linux_corvane=$(realpath "$3")
screenshot=$(realpath -m "$4")
cd "$(dirname "$0")/../.."
work=$(mktemp -d)
export WINEDEBUG=-all WINEARCH=win64 WINEPREFIX="${WINEPREFIX:-$work/wineprefix}"
job_wine_path=${WINEPATH:-}
unset WINEPATH
readonly folder="$WINEPREFIX/drive_c/Program Files/Corvane"
readonly windows_folder='C:\Program Files\Corvane'
readonly answers=(--ticks check1,check6,check13,check15,check22,Check61 --personality 1)

fail() {
    echo "windows_installer_test: $*" >&2
    exit 1
}
cleanup() {
    wine msiexec /qn /x "$msi" >/dev/null 2>&1 || true
    wineserver -k 2>/dev/null || true
    [ -z "${openbox_pid:-}" ] || kill "$openbox_pid" 2>/dev/null || true
    rm -rf "$work"
}

display=:96
source tests/support/xvfb.sh
start_xvfb "$display"
trap 'cleanup; kill "$xvfb_pid"; wait "$xvfb_pid" 2>/dev/null || true' EXIT
export DISPLAY=$display
openbox >/dev/null 2>&1 &
openbox_pid=$!

# Every wine command is ended after two minutes: a program that cannot start
# waits in a message box.
wine() { timeout 120 /usr/bin/wine "$@"; }

wine msiexec /qn /i "$msi" || fail "msiexec could not install $msi"
[ -f "$folder/corvane.exe" ] && [ -f "$folder/corvane-eval.exe" ] || fail "the programs are not in $folder"
# The Start menu's folder: wine takes the user's even for an all-users install.
start_menu_entry() { find "$WINEPREFIX/drive_c" -path '*/Start Menu/Programs/Corvane.lnk' | grep .; }
start_menu_entry >/dev/null || fail "no Start-menu entry Corvane.lnk"
echo "installed into $windows_folder with a Start-menu entry"

# The questionnaire as the Start menu opens it.
timeout 300 /usr/bin/wine "$windows_folder\\corvane.exe" >/dev/null 2>&1 &
program=$!
window=""
for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name '^Corvane1\.0$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || fail "the questionnaire (title Corvane1.0) did not open"
sleep 2 # the first paint
import -frame -window "$window" "$screenshot"
colours=$(convert "$screenshot" -format '%k' info:)
((colours > 50)) || fail "the questionnaire's screenshot is blank ($colours colours)"
echo "the questionnaire opened: title Corvane1.0, $colours colours in $screenshot"
xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4
for _ in $(seq 100); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
! kill -0 "$program" 2>/dev/null || fail "the program did not end when its questionnaire was closed"

# A diagnosis through the windows (the job program's answers) and the installed
# evaluator on the same answers. The job loads the installed Qt.
WINEPATH=$job_wine_path tests/support/wine_run.sh "$job" texts | tr -d '\r' >"$work/window.txt"
wine "$windows_folder\\corvane-eval.exe" --json --ticks check1,check6,check13 --personality 1 |
    python3 -c 'import json, sys; r = json.load(sys.stdin); print(r["diagnosis"], r["diet"], r["personality"], sep="\n")' \
        >"$work/eval.txt"
cmp -s "$work/window.txt" "$work/eval.txt" || {
    diff "$work/eval.txt" "$work/window.txt" >&2
    fail "the windows' result boxes differ from corvane-eval's texts"
}
echo "a diagnosis through the windows gives corvane-eval's three texts"

# The same page from Windows and from Linux, the Windows one with a Chinese
# file name, name and sex given on the command line. Both dates are the
# system's short date: Windows set to a Chinese desk's, Linux in zh_CN.
wine reg add 'HKCU\Control Panel\International' /v sShortDate /d 'yyyy/M/d' /f >/dev/null
status=0
wine "$windows_folder\\corvane.exe" --pdf 'C:\报告_张三.pdf' "${answers[@]}" --name 张三 --sex 男 --age 45 \
    >"$work/stdout" 2>"$work/stderr" || status=$?
((status == 0)) || fail "corvane.exe --pdf exited with $status: $(cat "$work/stderr")"
[ ! -s "$work/stdout" ] && [ ! -s "$work/stderr" ] || fail "corvane.exe --pdf printed: $(cat "$work/stdout" "$work/stderr")"
LANG=zh_CN.UTF-8 "$linux_corvane" --pdf "$work/linux.pdf" "${answers[@]}" --name 张三 --sex 男 --age 45
pdftotext "$WINEPREFIX/drive_c/报告_张三.pdf" "$work/windows.txt"
pdftotext "$work/linux.pdf" "$work/linux.txt"
cmp -s "$work/windows.txt" "$work/linux.txt" || {
    diff "$work/linux.txt" "$work/windows.txt" >&2
    fail "the text of corvane.exe's page differs from the Linux export's"
}
echo "corvane.exe --pdf wrote 报告_张三.pdf; its text equals the Linux page's"

# Messages and exit status as on Linux.
status=0
wine "$windows_folder\\corvane.exe" --pdf 'C:\x.pdf' --ticks check99 >/dev/null 2>"$work/stderr" || status=$?
((status == 1)) || fail "a bad --ticks gave exit status $status, not 1"
grep -q "^corvane: " "$work/stderr" || fail "a bad --ticks said nothing on standard error"
wine "$windows_folder\\corvane.exe" --help | grep -q -- "--pdf-dir" || fail "--help did not reach standard output"
echo "messages reach standard error and standard output, exit status 1 for bad input"

wine msiexec /qn /x "$msi" || fail "msiexec could not uninstall"
[ ! -e "$folder" ] || fail "the uninstaller left $folder"
! start_menu_entry >/dev/null || fail "the uninstaller left the Start-menu entry"
echo "uninstalled silently; nothing left behind"
