#!/usr/bin/env bash
# The road of one edit, as far as the editor goes today: hover a control point of the
# default model, drag it, and the title takes the modified mark "*".
source "$(dirname "$0")/lib.sh"

start_editor "$clear_of_tool_windows"

# Point 0, (1, −0.5, 0.5), seen from the default camera at (0, 0, −5): +x shows on the left.
read -r px py <<<"$(awk -v w="$view_w" -v h="$view_h" 'BEGIN {
  f = 1 / 0.41421356; aspect = w / h; depth = 5.5
  nx = -(f / aspect) * 1 / depth; ny = f * -0.5 / depth
  printf "%d %d", (nx + 1) / 2 * w, (1 - ny) / 2 * h }')"
xdotool mousemove $((view_x + px - 3)) $((view_y + py))
xdotool mousemove $((view_x + px)) $((view_y + py))
xdotool mousedown 1
for step in 10 20 30; do xdotool mousemove $((view_x + px + step)) $((view_y + py - step)); done
xdotool mouseup 1
wait_for_window '^\* - Tavrel$' 10
# The release commits the camera as it was: dragging a point does not turn it.
wait_for_setting gamma 0.000000
capture_editor edited.png "$main"

close_window "$main"
wait_for_exit 20
expect_eq "exit status" "0" "$exit_status"
