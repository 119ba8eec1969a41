#!/usr/bin/env bash
# Undo and redo with real input: a point drag, a delete and a group, undone with Ctrl+Z and
# the toolbar's back arrow, redone with Ctrl+Y, the forward arrow and Ctrl+Shift+Z; the saved
# files show each state and the title's "*" goes whenever the document is back as saved.
source "$(dirname "$0")/lib.sh"

start_editor "$clear_of_tool_windows"
uncover_palette
cx=$((view_x + view_w / 2)) cy=$((view_y + view_h / 2))
read -r tx ty _ _ <<<"$(geometry_of "$main")"
toolbar_undo() { xdotool mousemove $((tx + 88)) $((ty + 12)) click 1; }  # the back arrow
toolbar_redo() { xdotool mousemove $((tx + 111)) $((ty + 12)) click 1; } # the forward arrow
title_is() { wait_for_window "^$1 - Tavrel\$" 10; }
press() { xdotool windowfocus --sync "$main" 2>/dev/null; xdotool key "$1"; }
# Waits until the program has reported n undos (or redos) in all.
reported() { # what n
  local deadline=$((SECONDS + 10))
  until [ "$(grep -a -c "input to next frame: $1 " "$e2e_dir/stderr.log")" -ge "$2" ]; do
    [ $SECONDS -lt $deadline ] || fail "expected $2 reports of $1, saw $(grep -a -c "input to next frame: $1 " "$e2e_dir/stderr.log")"
    sleep 0.1
  done
}
first_point() { tr -d '\r' < "$(work_file undo.obj)" | grep -m1 '^v '; }

# Nothing to undo yet: the shortcut still reaches Undo, which says so (its menu item, greyed
# when the Edit menu was last shown, does not hold the key back).
xdotool key --window "$main" alt+e
sleep 0.5
xdotool key --window "$main" Escape Escape
press ctrl+z
wait_for_output 'Tavrel status: Nothing to undo'

# Point 0, (1, −0.5, 0.5), dragged up and to the right (as in the road of one edit).
read -r px py <<<"$(default_point0)"
xdotool mousemove $((view_x + px - 3)) $((view_y + py))
xdotool mousemove $((view_x + px)) $((view_y + py)) mousedown 1
for step in 10 20 30; do xdotool mousemove $((view_x + px + step)) $((view_y + py - step)); done
xdotool mouseup 1
title_is 'Untitled\*'

# A delete of the patch under the left of the view, then a group of the three left.
click_palette 7 # select
wait_for_setting Tool 2
xdotool mousemove $((cx - 120)) "$cy" click 1
wait_for_output 'Tavrel selection (click): [0-9]'
xdotool mousemove $((tx + 196)) $((ty + 12)) click 1 # Delete
xdotool key ctrl+a # the three left
wait_for_output 'Tavrel selection (select all): 0;1;2'
click_palette 13 # group
press ctrl+s
answer_file_dialog "Save As" "undo.obj"
title_is undo
expect_eq "after the three edits" "points 40 patches 3 groups 1 symmetries 0 locators 0" "$(check_model undo.obj)"
edited_point=$(first_point)

# Undone one by one: the group (Ctrl+Z), the delete (the back arrow), the drag (Ctrl+Z).
press ctrl+z
title_is 'undo\*'
reported undo 1
toolbar_undo
reported undo 2
press ctrl+z
reported undo 3
press ctrl+s
title_is undo
expect_eq "all undone" "points 48 patches 4 groups 0 symmetries 0 locators 0" "$(check_model undo.obj)"
expect_eq "the dragged point back" "v 1 -0.5 0.5" "$(first_point)"

# Redone: the drag (Ctrl+Y), the delete (the forward arrow), the group (Ctrl+Shift+Z).
press ctrl+y
title_is 'undo\*'
reported redo 1
toolbar_redo
reported redo 2
press ctrl+shift+z
reported redo 3
press ctrl+s
title_is undo
expect_eq "all redone" "points 40 patches 3 groups 1 symmetries 0 locators 0" "$(check_model undo.obj)"
expect_eq "the dragged point again" "$edited_point" "$(first_point)"

# Leaving the saved state and coming back to it takes the "*" away again.
press ctrl+z
title_is 'undo\*'
press ctrl+y
title_is undo
capture_editor undo-redo.png "$main"
close_and_expect_clean_exit
