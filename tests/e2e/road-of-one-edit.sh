#!/usr/bin/env bash
# The road of one edit: start on the default model, drag a control point, see "*" in the
# title, save through the real dialog, quit, start again and find the moved point in the
# file and the title without "*"; then New, and Open through the real dialog.
source "$(dirname "$0")/lib.sh"

start_editor "$clear_of_tool_windows"
expect_eq "untouched title" "Untitled - Tavrel" "$(xdotool getwindowname "$main")"

# Point 0, (1, −0.5, 0.5), seen from the default camera at (0, 0, −5): +x shows on the left.
read -r px py <<<"$(default_point0)"
xdotool mousemove $((view_x + px - 3)) $((view_y + py))
xdotool mousemove $((view_x + px)) $((view_y + py))
xdotool mousedown 1
for step in 10 20 30; do xdotool mousemove $((view_x + px + step)) $((view_y + py - step)); done
xdotool mouseup 1
wait_for_window '^Untitled\* - Tavrel$' 10
# The release commits the camera as it was: dragging a point does not turn it.
wait_for_setting gamma 0.000000
capture_editor edited.png "$main"

click_toolbar 2 # Save: the document has no path yet, so the dialog asks for one
answer_file_dialog "Save As" "road.obj"
wait_for_window '^road - Tavrel$' 20
close_and_expect_clean_exit

expect_eq "saved file" "points 48 patches 4 groups 0 symmetries 0 locators 0" "$(check_model road.obj)"
first_point=$(tr -d '\r' < "$(work_file road.obj)" | grep -m1 '^v ')
[ "$first_point" != "v 1 -0.5 0.5" ] || fail "the dragged point was saved where it started ($first_point)"
# Dragged up and to the right on the screen: up in y, towards −x (the camera looks along +z).
awk -v line="$first_point" 'BEGIN { split(line, v, " "); exit !(v[3] > -0.5 && v[2] < 1) }' ||
  fail "the dragged point did not move up and to the screen's right: $first_point"

start_app
wait_for_window '^road - Tavrel$'
main=$window_id
wait_for_startup
case "$startup_report" in
  *"points=48 patches=4 "*) ;;
  *) fail "start-up after the save: expected road.obj's model, saw: $startup_report" ;;
esac

# New gives an untitled document (the remembered file stays until the user saves or opens),
# then Open through the real dialog brings the saved model back.
click_toolbar 0
wait_for_window '^Untitled - Tavrel$' 10
case "$(setting LoadedFile)" in *'road.obj') ;; *) fail "New must not change LoadedFile: '$(setting LoadedFile)'" ;; esac
click_toolbar 1
answer_file_dialog "Open" "road.obj"
wait_for_window '^road - Tavrel$' 20
case "$(setting LoadedFile)" in *'\road.obj') ;; *) fail "Open's path: expected road.obj, saw '$(setting LoadedFile)'" ;; esac
close_and_expect_clean_exit
