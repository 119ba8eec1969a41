#!/usr/bin/env bash
# Real clicks on the palette and the toolbar: wireframe on and off, delete a selected patch
# (and its unshared points) and save the result, then the quad layout.
source "$(dirname "$0")/lib.sh"

start_editor "${clear_of_tool_windows}Tool=2"$'\r\n'
uncover_palette

red_share() { colour_share 10% '#FF0000'; } # the patches' red
deadline=$((SECONDS + 10))
until solid=$(red_share); [ "$solid" -gt 0 ]; do
  [ $SECONDS -lt $deadline ] || fail "the model never showed"
  sleep 0.2
done

click_palette 1 # toggleWireframe
deadline=$((SECONDS + 10))
until [ "$(red_share)" -lt $((solid / 2)) ]; do
  [ $SECONDS -lt $deadline ] || fail "wireframe: expected less than half of $solid per mille in red, saw $(red_share)"
  sleep 0.2
done
capture_editor wireframe.png "$main"
click_palette 1
deadline=$((SECONDS + 10))
until [ "$(red_share)" -ge $((solid * 9 / 10)) ]; do
  [ $SECONDS -lt $deadline ] || fail "wireframe off: expected the solid model back ($solid per mille), saw $(red_share)"
  sleep 0.2
done

# Select the patch left of the middle and delete it with the toolbar's last button.
xdotool mousemove $((view_x + view_w / 2 - 120)) $((view_y + view_h / 2)) click 1
wait_for_output 'Tavrel selection (click): [0-9]\\n'
read -r x y _ _ <<<"$(geometry_of "$main")"
xdotool mousemove $((x + 196)) $((y + 12)) click 1
wait_for_window '^Untitled\* - Tavrel$' 10
click_toolbar 2
answer_file_dialog "Save As" "trimmed.obj"
wait_for_window '^trimmed - Tavrel$' 20
# A ring patch shares a row with each neighbour: eight of its points go with it.
expect_eq "saved file" "points 40 patches 3 groups 0 symmetries 0 locators 0" "$(check_model trimmed.obj)"

# switchView three times: top, side, then the quad layout with four views.
for n in 1 2 3; do click_palette 0; wait_for_setting CurrentView "$n"; done
wait_for_output "Tavrel view 0 at [0-9]*,[0-9]* size $((1280 / 2))x$((960 / 2))"
capture_editor quad.png "$main"

close_and_expect_clean_exit
