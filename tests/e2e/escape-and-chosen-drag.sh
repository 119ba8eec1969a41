#!/usr/bin/env bash
# Escape and the select tool's chosen points with real input: Escape during a translate drag
# of the whole model gives it up (no step, the title keeps no "*"); then, choosing points,
# point 0 is chosen by a click and a press on it drags it, one step the saved file holds.
source "$(dirname "$0")/lib.sh"

start_editor "${clear_of_tool_windows}Tool=4"$'\r\n'
cx=$((view_x + view_w / 2)) cy=$((view_y + view_h / 2))
xdotool mousemove "$cx" "$cy" mousedown 1
for step in 1 2 3 4; do xdotool mousemove $((cx + 30 * step)) $((cy + 20 * step)); done
xdotool key Escape
wait_for_output 'Tavrel gesture cancelled: drag'
xdotool mousemove $((cx + 150)) $((cy + 100)) mouseup 1
sleep 1
expect_eq "title after Escape and the release" "Untitled - Tavrel" "$(xdotool getwindowname "$main")"
grep -a -q 'Tavrel translate committed' "$e2e_dir/stderr.log" && fail "the cancelled drag was committed"

click_palette 7 # select
wait_for_setting Tool 2
xdotool key --window "$main" p
wait_for_output 'Tavrel selection (points)'
# Point 0, (1, -0.5, 0.5), seen from the default camera: chosen by a click, then dragged.
read -r px py <<<"$(default_point0)"
xdotool mousemove $((view_x + px - 3)) $((view_y + py))
xdotool mousemove $((view_x + px)) $((view_y + py)) click 1
wait_for_output 'Tavrel selection (click): 1 points'
xdotool mousedown 1
for step in 7 13 23 37; do xdotool mousemove $((view_x + px + step)) $((view_y + py - step)); done
xdotool mouseup 1
wait_for_window '^Untitled\* - Tavrel$' 10
xdotool key ctrl+s
answer_file_dialog "Save As" "dragged.obj"
wait_for_window '^dragged - Tavrel$' 20
first=$(tr -d '\r' < "$(work_file dragged.obj)" | grep -m1 '^v ')
[ "$first" != "v 1 -0.5 0.5" ] || fail "the chosen point did not move"
close_and_expect_clean_exit
