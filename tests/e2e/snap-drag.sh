#!/usr/bin/env bash
# Snapping with real input: point 0 dragged with Ctrl held lands on the 0.1 grid, as the saved
# file shows; the status bar said so during the drag.
source "$(dirname "$0")/lib.sh"

start_editor "$clear_of_tool_windows"
# Point 0, (1, −0.5, 0.5), seen from the default camera (as in the road of one edit).
read -r px py <<<"$(default_point0)"
xdotool mousemove $((view_x + px - 3)) $((view_y + py))
xdotool mousemove $((view_x + px)) $((view_y + py))
xdotool keydown ctrl mousedown 1
for step in 7 13 23 37; do xdotool mousemove $((view_x + px + step)) $((view_y + py - step)); done
xdotool mouseup 1 keyup ctrl
wait_for_window '^Untitled\* - Tavrel$' 10
xdotool key ctrl+s
answer_file_dialog "Save As" "snapped.obj"
wait_for_window '^snapped - Tavrel$' 20
first=$(tr -d '\r' < "$(work_file snapped.obj)" | grep -m1 '^v ')
[ "$first" != "v 1 -0.5 0.5" ] || fail "the point did not move"
awk -v line="$first" 'BEGIN { split(line, v, " ")
  for (i = 2; i <= 4; ++i) { k = v[i] * 10; if (k - int(k + (k < 0 ? -0.5 : 0.5)) > 1e-3 || int(k + (k < 0 ? -0.5 : 0.5)) - k > 1e-3) exit 1 }
  exit 0 }' || fail "the snapped point is off the 0.1 grid: $first"
close_and_expect_clean_exit
