#!/usr/bin/env bash
# The DPI test of win32-tests at 144 dpi (150 %). Wine reads the screen's DPI from
# HKCU\Control Panel\Desktop\LogPixels when a process starts, and the other Wine tests share
# one prefix: this one runs in a Wine session (display and prefix) of its own.
# Usage: high-dpi-test.sh WIN32_TESTS_EXE
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
exe=$1
dpi=144
exec "$root/tools/wine-session" bash -c '
  timeout 60 wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$2" /f \
    </dev/null >/dev/null 2>&1 || { echo "could not set LogPixels" >&2; exit 2; }
  # Each test in a process of its own, as CTest runs them (the program starts once a process).
  for test in $("$3/tools/wine-exec" "$1" --gtest_list_tests --gtest_filter="DpiTest.*" |
                sed -n "s/^  \([A-Za-z0-9_]*\).*/\1/p"); do
    TAVREL_EXPECT_DPI=$2 "$3/tools/wine-exec" "$1" --gtest_filter="DpiTest.$test" || exit 1
  done' _ "$exe" "$dpi" "$root"
