#!/usr/bin/env bash
# Runs a Windows program under wine as a new wine session, so that it sees the
# CUPS queues as they are now (wine offers them as Windows printers when its
# session starts), with Qt's messages on standard error, and ends it after five
# minutes: a Qt program that cannot start shows a message box that would
# otherwise wait for ever. (The questionnaire's suite alone takes about two
# minutes under wine: each of its windows takes some six seconds to show.)
# The Windows build's tests run through it (ctest's emulator); WINEPATH
# (BUILD/wine-path) says where the Qt DLLs are.
#   wine_run.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
export WINEDEBUG=${WINEDEBUG:--all} QT_FORCE_STDERR_LOGGING=1
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
exec timeout 300 wine "$@"
