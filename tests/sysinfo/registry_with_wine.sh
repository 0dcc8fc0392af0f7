#!/usr/bin/env bash
# Runs the Windows registry reader and 系统信息's lookup under wine against
# real registry values: puts them in with `wine reg add`, and runs the suite of
# registry_test.exe that belongs to each state of the two MSINFO entries.
#   registry_with_wine.sh REGISTRY_TEST_EXE SYSINFO_STUB_EXE
# A WINEPREFIX from the environment is used (and left); otherwise a new one.
set -euo pipefail
tests=$1
stub=$2
work=$(mktemp -d)
export WINEDEBUG=-all WINEARCH=win64 WINEPREFIX="${WINEPREFIX:-$work/wineprefix}"
readonly test_key='HKLM\SOFTWARE\Corvane Test'
readonly msinfo_key='HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO'
readonly shared_key='HKLM\SOFTWARE\Microsoft\Shared Tools Location'

reg() { wine reg "$@" >/dev/null 2>&1; }
# Takes out everything the tests put into the prefix, which may be used again.
forget_test_values() {
    reg delete "$test_key" /f || true
    reg delete "$msinfo_key" /f || true
    reg delete "$shared_key" /v MSINFO /f || true
    rm -rf "$WINEPREFIX/drive_c/corvane-test"
}
cleanup() {
    forget_test_values || true
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
unset DISPLAY WAYLAND_DISPLAY

wineboot -i >/dev/null 2>&1 || true
wine "$tests" --gtest_list_tests >/dev/null || {
    echo "wine cannot run $tests" >&2
    exit 1
}
forget_test_values

# The stand-in for msinfo32.exe, where the registry will point.
drive_c="$WINEPREFIX/drive_c/corvane-test"
mkdir -p "$drive_c/tools" "$drive_c/shared"
cp "$stub" "$drive_c/tools/msinfo32.exe"
cp "$stub" "$drive_c/shared/MSINFO32.EXE"

# Runs the suites named; fails if they fail or none of their tests ran.
suites() {
    local log="$work/log" filter
    filter=$(printf '%s.*:' "$@")
    if ! wine "$tests" --gtest_filter="${filter%:}" --gtest_brief=1 >"$log" 2>&1 ||
        ! grep -Eq '^\[  PASSED  \] [1-9]' "$log"; then
        cat "$log" >&2
        echo "registry tests failed: $*" >&2
        exit 1
    fi
    echo "passed under wine: $* ($(grep -Eo '^\[  PASSED  \] [0-9]+ tests?' "$log" | cut -c14-))"
}

reg add "$test_key" /v Text /t REG_SZ /d 'C:\Program Files\Tools\tool.exe' /f
reg add "$test_key" /v Number /t REG_DWORD /d 0x8000012a /f
suites GetKeyValue WindowsHost NothingRegistered

reg add "$shared_key" /v MSINFO /t REG_SZ /d 'C:\corvane-test\missing' /f
suites SharedFolderWithoutProgram

reg add "$shared_key" /v MSINFO /t REG_SZ /d 'C:\corvane-test\shared' /f
suites SharedFolderWithProgram

# As an expandable string, which is read with its variables expanded.
reg add "$msinfo_key" /v PATH /t REG_EXPAND_SZ /d '%SystemDrive%\corvane-test\tools\msinfo32.exe' /f
suites MsinfoPathRegistered
