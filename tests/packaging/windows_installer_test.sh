#!/usr/bin/env bash
# The Windows installer under wine, as a user on Windows meets it: installs the
# MSI silently, with a Start-menu entry and a desktop shortcut and one entry in
# the programs list, starts the installed program and checks its questionnaire
# (the window's title and a screenshot that is not blank), lets a diagnosis
# through the windows give the same three texts as the installed corvane-eval,
# lets corvane.exe --pdf write a page (to a Chinese file name) whose text
# equals the Linux export's and show a Chinese path right on a console; lets
# the installed corvane-eval answer in Chinese under a Chinese locale; runs
# 50 members of a GB18030 list through the batch window (its Start-menu
# entry's command) with 停止 and 开始 again;
# installs an installer rebuilt from the same program folder over it (still
# one entry), uninstalls silently, leaving nothing behind, and installs once
# more with DESKTOPSHORTCUT=0, which makes no desktop shortcut.
#   windows_installer_test.sh MSI PROGRAM_FOLDER REPORT_PRINT_JOB_EXE CONSOLE_CAPTURE_EXE \
#                             LINUX_CORVANE SCREENSHOT.png
# PROGRAM_FOLDER is the folder the MSI was made from. Uses the WINEPREFIX of the
# environment, or a new one; needs Xvfb and openbox. The installed programs run
# without WINEPATH, so only the installed DLLs can serve them; the job program
# is given the WINEPATH of the environment.
set -euo pipefail
msi=$(realpath "$1")
program_folder=$(realpath "$2")
job=$(realpath "$3")
capture=$(realpath "$4")
linux_corvane=$(realpath "$5")
screenshot=$(realpath -m "$6")
cd "$(dirname "$0")/../.."
work=$(mktemp -d)
export WINEDEBUG=-all WINEARCH=win64 WINEPREFIX="${WINEPREFIX:-$work/wineprefix}"
# Wine would copy the shortcuts onto the Linux desktop and menus as well.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
job_wine_path=${WINEPATH:-}
unset WINEPATH
readonly folder="$WINEPREFIX/drive_c/Program Files/Corvane"
readonly windows_folder='C:\Program Files\Corvane'
readonly answers=(--ticks check1,check6,check13,check15,check22,Check61 --personality 1)
readonly uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
rebuilt=$work/rebuilt/$(basename "$msi")

fail() {
    echo "windows_installer_test: $*" >&2
    exit 1
}
cleanup() {
    wine msiexec /qn /x "$msi" >/dev/null 2>&1 || true
    [ ! -f "$rebuilt" ] || wine msiexec /qn /x "$rebuilt" >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX/drive_c/体质报告" "$WINEPREFIX/drive_c/报告_张三.pdf"
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

# The Start menu's and the desktop's folders: wine takes the user's even for an
# all-users install. The user's desktop is made a folder of the prefix (made
# first, if it is new), not a link to the Linux home folder.
wineboot -i >/dev/null 2>&1 || true
for desktop in "$WINEPREFIX"/drive_c/users/*/Desktop; do
    [ ! -L "$desktop" ] || { rm "$desktop" && mkdir "$desktop"; }
done
start_menu_entry() { find "$WINEPREFIX/drive_c" -path "*/Start Menu/Programs/$1.lnk" | grep .; }
desktop_shortcut() { find "$WINEPREFIX/drive_c" -path '*/Desktop/Corvane.lnk' | grep .; }
# How many Corvane the programs list (Apps and Features) shows.
programs_list_entries() {
    wine reg query "$uninstall_key" /s | tr -d '\r' | grep -c '^ *DisplayName *REG_SZ *Corvane$' || true
}
product_code() { msiinfo export "$1" Property | tr -d '\r' | awk -F '\t' '$1 == "ProductCode" { print $2 }'; }

wine msiexec /qn /i "$msi" || fail "msiexec could not install $msi"
[ -f "$folder/corvane.exe" ] && [ -f "$folder/corvane-eval.exe" ] || fail "the programs are not in $folder"
start_menu_entry Corvane >/dev/null || fail "no Start-menu entry Corvane.lnk"
start_menu_entry 'Corvane 批量导出' >/dev/null || fail "no Start-menu entry Corvane 批量导出.lnk"
desktop_shortcut >/dev/null || fail "no desktop shortcut Corvane.lnk"
(($(programs_list_entries) == 1)) || fail "the programs list shows $(programs_list_entries) Corvane, not 1"
echo "installed into $windows_folder with the Start-menu entries Corvane and Corvane 批量导出, a desktop shortcut, one in the programs list"

# The window whose title matches, once it shows (up to 30 s); echoes its id.
await_window() {
    local window=""
    for _ in $(seq 300); do
        window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
        [ -n "$window" ] && break
        sleep 0.1
    done
    echo "$window"
}

# The questionnaire as the Start menu opens it.
timeout 300 /usr/bin/wine "$windows_folder\\corvane.exe" >/dev/null 2>&1 &
program=$!
window=$(await_window '^Corvane1\.0$')
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

# The installed programs find their catalogue beside them: under a Chinese
# locale they speak Chinese, else English.
for lang in zh_CN.UTF-8:无法识别的参数 C:"argument was not expected"; do
    said=$(LANG=${lang%%:*} wine "$windows_folder\\corvane-eval.exe" --bad-option 2>&1 || true)
    grep -q "${lang#*:}" <<<"$said" || fail "the installed corvane-eval.exe under LANG=${lang%%:*} said: $said"
done
echo "the installed corvane-eval.exe speaks the user's language"

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

# A path with Chinese in a message, on a console as a terminal window shows it.
mkdir -p "$WINEPREFIX/drive_c/体质报告"
touch "$WINEPREFIX/drive_c/体质报告/张三.pdf"
status=0
wine "$capture" "$windows_folder\\corvane.exe" --pdf 'C:\体质报告\张三.pdf' --ticks check1 \
    >"$work/console" || status=$?
((status == 1)) || fail "an existing --pdf file gave exit status $status on a console, not 1"
grep -qF "'C:\体质报告\张三.pdf' exists already" "$work/console" ||
    fail "the console showed: $(cat "$work/console")"
echo "a console shows corvane.exe's message with the path C:\体质报告\张三.pdf"

# The batch window as its Start-menu entry opens it, driven from the keyboard:
# the members' list (Alt+M) and the folder (Alt+F) typed in, 开始 (Alt+S), the
# progress in the title, 停止 (Alt+T) with only whole pages left, 开始 again to
# the end.
batch=$WINEPREFIX/drive_c/batch
mkdir -p "$batch"
{
    printf '编号,姓名,性别,年龄,性格,症状\r\n'
    for k in $(seq 0 49); do
        printf '%d,会员%d,%s,%d,%d,"%d、%d"\r\n' "$k" "$k" "$( ((k % 2)) && echo 男 || echo 女)" \
            $((30 + k)) $((k % 5 + 1)) $((k % 79 + 1)) $(((k * 7) % 79 + 1))
    done
} | iconv -f UTF-8 -t GB18030 >"$batch/members.csv"
title() { xdotool getwindowname "$1" 2>/dev/null || true; }
# Waits up to two minutes for the window's title to match; echoes it.
await_title() {
    local now
    for _ in $(seq 1200); do
        now=$(title "$1")
        [[ "$now" =~ $2 ]] && { echo "$now"; return; }
        sleep 0.1
    done
    fail "the batch window's title stayed '$now', never matching '$2'"
}
whole_pages_only() {
    local name
    for name in "$batch/pages"/* "$batch/pages"/.[!.]*; do
        [ -e "$name" ] || continue
        case $name in
            *.pdf) tail -c 16 "$name" | grep -q '%%EOF' || fail "$(basename "$name") is not whole" ;;
            */汇总.csv) ;;
            *) fail "the batch left $(basename "$name")" ;;
        esac
    done
}
timeout 600 /usr/bin/wine "$windows_folder\\corvane.exe" --batch-window >/dev/null 2>&1 &
program=$!
window=$(await_window '^Corvane 批量导出$')
[ -n "$window" ] || fail "the batch window (title Corvane 批量导出) did not open"
xdotool windowactivate --sync "$window"
sleep 1
xdotool key alt+m type --delay 30 'C:\batch\members.csv'
xdotool key alt+f type --delay 30 'C:\batch\pages'
xdotool key alt+s
running=$(await_title "$window" '（([3-9]|[1-4][0-9])/50）$')
import -window "$window" "$work/batch-running.png"
xdotool key alt+t
await_title "$window" '^Corvane 批量导出$' >/dev/null
stopped=$(find "$batch/pages" -name '*.pdf' | wc -l)
((stopped > 0 && stopped < 50)) || fail "停止 left $stopped of 50 pages"
whole_pages_only
xdotool key alt+s
await_title "$window" '（[0-9]+/50）$' >/dev/null
await_title "$window" '^Corvane 批量导出$' >/dev/null
pages=$(find "$batch/pages" -name '*.pdf' | wc -l)
((pages == 50)) || fail "the batch taken up again left $pages of 50 pages"
whole_pages_only
[ -f "$batch/pages/汇总.csv" ] || fail "the batch wrote no 汇总.csv"
[ -f "$batch/pages/01_会员0.pdf" ] || fail "the pages are not named by their members: $(ls "$batch/pages" | head -n 3)"
xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4
wait "$program" 2>/dev/null || true
echo "the batch window ran 50 members (title '$running' on the way), stopped after $stopped with only whole pages, and went on to all 50"

# An installer rebuilt from the same folder, of the same version, has a product
# code of its own and replaces the one installed.
version=$(msiinfo export "$msi" Property | tr -d '\r' | awk -F '\t' '$1 == "ProductVersion" { print $2 }')
packaging/windows/make-installer.sh "$program_folder" "$version" "$(dirname "$rebuilt")" >/dev/null
[ "$(product_code "$rebuilt")" != "$(product_code "$msi")" ] ||
    fail "the rebuilt installer has the same product code"
wine msiexec /qn /i "$rebuilt" || fail "msiexec could not install the rebuilt $rebuilt"
(($(programs_list_entries) == 1)) ||
    fail "after the rebuilt installer the programs list shows $(programs_list_entries) Corvane"
wine reg query "$uninstall_key\\$(product_code "$rebuilt")" >/dev/null 2>&1 ||
    fail "the programs list does not show the rebuilt installer's product"
[ -f "$folder/corvane.exe" ] && start_menu_entry Corvane >/dev/null && desktop_shortcut >/dev/null ||
    fail "the rebuilt installer left the program, its Start-menu entry or its desktop shortcut out"
echo "a rebuilt installer of version $version replaced the installed one: one Corvane in the programs list"

wine msiexec /qn /x "$rebuilt" || fail "msiexec could not uninstall"
[ ! -e "$folder" ] || fail "the uninstaller left $folder"
! start_menu_entry Corvane >/dev/null || fail "the uninstaller left the Start-menu entry"
! start_menu_entry 'Corvane 批量导出' >/dev/null || fail "the uninstaller left the Start-menu entry Corvane 批量导出"
! desktop_shortcut >/dev/null || fail "the uninstaller left the desktop shortcut"
(($(programs_list_entries) == 0)) || fail "the uninstaller left Corvane in the programs list"
echo "uninstalled silently; nothing left behind"

wine msiexec /qn /i "$msi" DESKTOPSHORTCUT=0 || fail "msiexec could not install with DESKTOPSHORTCUT=0"
start_menu_entry Corvane >/dev/null || fail "no Start-menu entry with DESKTOPSHORTCUT=0"
! desktop_shortcut >/dev/null || fail "DESKTOPSHORTCUT=0 made a desktop shortcut"
wine msiexec /qn /x "$msi" || fail "msiexec could not uninstall"
echo "DESKTOPSHORTCUT=0 installed the program without a desktop shortcut"
