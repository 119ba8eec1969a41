#!/usr/bin/env bash
# Organising a model with real input: select two patches, group them, put one into a
# symmetry (drawn mirrored), place a locator, save through the real dialog, start again and
# find the same model, title and tree.
source "$(dirname "$0")/lib.sh"

start_editor "${clear_of_tool_windows}Tool=2"$'\r\n'
uncover_palette
cx=$((view_x + view_w / 2)) cy=$((view_y + view_h / 2))

# Two patches: a click, then a Shift click.
xdotool mousemove $((cx - 120)) "$cy" click 1
xdotool keydown shift mousemove $((cx + 120)) "$cy" click 1 keyup shift
wait_for_output 'Tavrel selection (click): [0-9];[0-9]'
first=$(grep -a -o 'Tavrel selection (click): [0-9]' "$e2e_dir/stderr.log" | head -1 | tail -c 2)
pair=$(setting SelectedPatches)
second=${pair/$first/}
second=${second//;/}
[ -n "$second" ] && [ "$second" != "$first" ] || fail "two different patches expected, saw '$pair'"

click_palette 13 # group
wait_for_window '^Untitled\* - Tavrel$' 10

# The first of them alone into a symmetry: its mirror image adds to what the view shows.
xdotool mousemove $((cx - 120)) "$cy" click 1
wait_for_output "Tavrel selection (click): $first\\\\n"
before=$(selected_share)
click_palette 17 # symetry
deadline=$((SECONDS + 10))
until [ "$(selected_share)" -gt $((before + before / 2)) ]; do
  [ $SECONDS -lt $deadline ] || fail "the symmetry's mirror image never showed (selected share $before per mille)"
  sleep 0.2
done
capture_editor symmetry.png "$main"

click_palette 16 # locator, placed in the empty top left of the view
wait_for_setting Tool 5
xdotool mousemove $((view_x + 80)) $((view_y + 80)) click 1
wait_for_window '^Untitled\* - Tavrel$' 10
# A row of the point list chosen, for the picture: its coordinates show below the list.
shape=$(xdotool search --limit 1 --name '^Courbes$' | head -1)
read -r sx sy _ _ <<<"$(geometry_of "$shape")"
xdotool mousemove $((sx + 300)) $((sy + 20 + 8 + 16 * 3)) click 1
xdotool mousemove $((view_x + view_w - 200)) $((view_y + 150))
capture_screen tavrel.png

click_toolbar 2 # Save: no path yet, so the dialog asks
answer_file_dialog "Save As" "organised.obj"
wait_for_window '^organised - Tavrel$' 20
case "$(setting LoadedFile)" in *'\work\organised.obj') ;; *) fail "remembered path: expected the dialog's full path, saw '$(setting LoadedFile)'" ;; esac
expect_eq "saved file" "points 48 patches 4 groups 1 symmetries 1 locators 1" "$(check_model organised.obj)"
close_and_expect_clean_exit

start_app
wait_for_window '^organised - Tavrel$'
main=$window_id
wait_for_startup
case "$startup_report" in
  *"points=48 patches=4 "*"tree=<"*"group_0{patch $second}"*"Sym_0{patch $first}"*"Locator_0> LoadedFile=<Z:"*) ;;
  *) fail "start-up after the save: expected the organised model, saw: $startup_report" ;;
esac
close_and_expect_clean_exit
