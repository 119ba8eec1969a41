#!/usr/bin/env bash
# A session.ini full of values out of range or not numbers starts the editor with each
# value's default: on the screen, at a usable size, on the built-in model, untitled.
source "$(dirname "$0")/lib.sh"

defaults='CurrentView=0 Tool=0 grid=1 loc=0 distance=1 offset=0.000000,0.000000,0.000000 theta=0.000000 gamma=0.000000 points=48 patches=4 '
long_path="C:\\$(printf 'm%.0s' $(seq 1 1500)).obj"
mkdir -p "$e2e_dir/work/a folder.obj"

run_with() { # session.ini content; what it exercises; a message start-up must give (optional)
  start_app "$1"
  [ -n "${3:-}" ] && accept_message "$3" "$2: start-up does not say '$3'"
  wait_for_window '^Untitled - Tavrel$' 30
  main=$window_id
  wait_for_startup
  case "$startup_report" in *"$defaults"*"LoadedFile=<>"*) ;; *) fail "$2: expected the defaults, saw: $startup_report" ;; esac
  read -r x y w h <<<"$(geometry_of "$main")"
  [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ "$x" -lt 1800 ] && [ "$y" -lt 1100 ] || fail "$2: the window is off the screen at $x,$y"
  [ "$w" -ge 1100 ] && [ "$w" -le 1200 ] && [ "$h" -ge 700 ] && [ "$h" -le 800 ] || fail "$2: the window is ${w}x$h"
  close_window "$main"
  wait_for_exit 20
  expect_eq "$2: exit status" "0" "$exit_status"
}

run_with $'[Session]\r\ngrid=1\r\nCurrentView=99\r\nTool=77\r\nw=-5\r\nh=999999\r\nx=-50000\r\ny=2147483000\r\noffset.x=nan\r\noffset.y=1e30\r\noffset.z=-inf\r\ntheta=nan\r\ngamma=1e30\r\ndistance=2147483647\r\nLoadedFile='"$long_path"$'\r\n[Tool]\r\nSelectedPatches=x;-4;99999999999;;\r\n' \
  "huge, negative and non-numbers"
run_with $'[Session]\r\ngrid=1\r\nCurrentView=-1\r\nTool=-3\r\nw=0\r\nh=0\r\nx=5000\r\ny=-32000\r\ndistance=-40\r\nLoadedFile=a folder.obj\r\n' \
  "below range, a folder for a file" 'could not open the model .*a folder.obj.*: it is a folder'
