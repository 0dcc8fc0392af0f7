#!/bin/sh
# Fails when a file given is not formatted as .clang-format has it. Without
# clang-format it exits with 77, which ctest reports as skipped.
#   clang_format_test.sh FILE...
command -v clang-format >/dev/null || {
    echo "skipped: clang-format is not installed"
    exit 77
}
exec clang-format --dry-run -Werror "$@"
