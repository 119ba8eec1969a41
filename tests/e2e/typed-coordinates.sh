#!/usr/bin/env bash
# Typed coordinates with real input: a point chosen in the shape window's list, a new y typed
# into its box and Enter, then text that is not a number (refused, nothing changes); the
# saved file holds the typed value, and Ctrl+Z takes it back.
source "$(dirname "$0")/lib.sh"

start_editor "$clear_of_tool_windows"
uncover_palette
shape=$(xdotool search --limit 1 --name '^Courbes$' | head -1)
read -r sx sy _ _ <<<"$(geometry_of "$shape")"
# A row near the top of the point list, then the y box.
xdotool mousemove $((sx + 300)) $((sy + 20 + 8 + 16 * 3)) click 1
type_into() { # box-row text
  xdotool mousemove $((sx + 160)) $((sy + 610 + 20 * $1)) click 1
  xdotool key End shift+Home
  xdotool type --delay 30 "$2"
  xdotool key Return
}
type_into 1 2.5
wait_for_window '^Untitled\* - Tavrel$' 10
type_into 1 'two'
sleep 0.5
xdotool key ctrl+s
answer_file_dialog "Save As" "typed.obj"
wait_for_window '^typed - Tavrel$' 20
# The chosen row's point (whichever row the click landed on) has y = 2.5, and no other.
typed=$(tr -d '\r' < "$(work_file typed.obj)" | grep -c '^v [^ ]* 2.5 ')
expect_eq "points with the typed y" "1" "$typed"
expect_eq "saved file" "points 48 patches 4 groups 0 symmetries 0 locators 0" "$(check_model typed.obj)"

xdotool windowfocus --sync "$main" 2>/dev/null
xdotool key ctrl+z
wait_for_window '^typed\* - Tavrel$' 10
close_and_expect_clean_exit
