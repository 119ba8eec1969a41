#!/usr/bin/env bash
# Box selection with real input: in the select tool a drag from empty space draws a rubber
# band; at the release the three patches wholly inside it are selected; Delete removes them
# and the saved file holds the one left.
source "$(dirname "$0")/lib.sh"

start_editor "${clear_of_tool_windows}Tool=2"$'\r\n'
cx=$((view_x + view_w / 2)) cy=$((view_y + view_h / 2))
# The ring of four patches seen from the start-up camera (+x shows on the left): patches 0
# and 3 reach about 200 pixels left of the centre, 1 about 263 to the right, 2 (nearer the
# eye) about 292. The band runs from the left above them to 275 pixels right below them.
xdotool mousemove $((cx - 300)) $((cy - 150)) mousedown 1
for step in 1 2 3 4 5; do xdotool mousemove $((cx - 300 + 115 * step)) $((cy - 150 + 60 * step)); done
capture_editor rubber-band.png "$main"
xdotool mouseup 1
wait_for_output 'Tavrel selection (box): 0;1;3\\n' 10
read -r mx my _ _ <<<"$(geometry_of "$main")"
xdotool mousemove $((mx + 196)) $((my + 12)) click 1 # Delete
wait_for_window '^Untitled\* - Tavrel$' 10
xdotool key ctrl+s
answer_file_dialog "Save As" "one-left.obj"
wait_for_window '^one-left - Tavrel$' 20
case "$(check_model one-left.obj)" in
  *"patches 1 "*) ;;
  *) fail "after deleting the three boxed patches: $(check_model one-left.obj)" ;;
esac
close_and_expect_clean_exit
