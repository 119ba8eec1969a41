#!/usr/bin/env bash
# The add tool: sixteen clicks on empty space make a new patch of sixteen new points.
source "$(dirname "$0")/lib.sh"

start_editor "${clear_of_tool_windows}Tool=1"$'\r\n'

# A 4 × 4 grid of clicks in the top right of the view, away from the model.
for row in 0 1 2 3; do
  for col in 0 1 2 3; do
    xdotool mousemove $((view_x + view_w - 260 + col * 50)) $((view_y + 60 + row * 40)) click 1
  done
done
wait_for_window '^Untitled\* - Tavrel$' 10
capture_editor added-patch.png "$main"
# The new patch is drawn: red where the grid of clicks lies.
wait_for_view "$view_w" "$view_h"
expect_eq "the new patch's middle" "#FF0000" "$(pixel_of "$view_id" $((view_w - 260 + 75)) $((60 + 60)))"

close_and_expect_clean_exit
