#!/usr/bin/env bash
# The shape window with real input: a rubber band's patches are marked in its tree; Tab from
# the x box reaches y then z, and Ctrl+A takes a box's whole text (values typed there move the
# point the list chose, as the saved file shows); resized to 300 x 250 it still holds its Apply button.
source "$(dirname "$0")/lib.sh"

start_editor "${clear_of_tool_windows}Tool=2"$'\r\n'
uncover_palette
cx=$((view_x + view_w / 2)) cy=$((view_y + view_h / 2))
# The band of box-select.sh: patches 0, 1 and 3.
xdotool mousemove $((cx - 300)) $((cy - 150)) mousedown 1
for step in 1 2 3 4 5; do xdotool mousemove $((cx - 300 + 115 * step)) $((cy - 150 + 60 * step)); done
xdotool mouseup 1
wait_for_output 'Tavrel selection (box): 0;1;3\\n' 10
wait_for_output 'Tavrel tree marks: 0 1 3\\n' 10

shape=$(xdotool search --limit 1 --name '^Courbes$' | head -1)
read -r sx sy _ _ <<<"$(geometry_of "$shape")"
read -r bx by <<<"$(grep -a -o 'Tavrel shape window [0-9]* x [0-9]*: x box at [0-9]* [0-9]*' \
  "$e2e_dir/stderr.log" | tail -1 | awk '{print $(NF - 1), $NF}')"
# A row near the top of the point list, then the x box, Tab, a y, Tab, a z.
xdotool mousemove $((sx + 300)) $((sy + 20 + 8 + 16 * 3)) click 1
xdotool mousemove $((sx + bx + 40)) $((sy + by + 10)) click 1
xdotool key Tab
xdotool type --delay 30 2.5
xdotool key Return Tab
xdotool type --delay 30 7.5
xdotool key Return
# Back in the x box by a click (no text selected): Ctrl+A takes the whole text. (Away from
# the first click's spot: a second click there soon after is a double click, which selects a
# word and leaves the keyboard where it was.)
sleep 0.6
xdotool mousemove $((sx + bx + 15)) $((sy + by + 10)) click 1
xdotool key ctrl+a
xdotool type --delay 30 0.25
xdotool key Return
wait_for_window '^Untitled\* - Tavrel$' 10
focus_main "$main"
xdotool key ctrl+s
answer_file_dialog "Save As" "tabbed.obj"
wait_for_window '^tabbed - Tavrel$' 20
typed=$(tr -d '\r' < "$(work_file tabbed.obj)" | grep -c '^v 0.25 2.5 7.5$')
expect_eq "points with the typed x, y and z" "1" "$typed"

xdotool windowsize --sync "$shape" 300 250 2>/dev/null || xdotool windowsize "$shape" 300 250
sleep 1
report=$(grep -a -o 'Tavrel shape window [0-9]* x [0-9]*: [^\\]*' "$e2e_dir/stderr.log" | tail -1)
read -r cw ch al at ar ab <<<"$(sed -E 's/.* ([0-9]+) x ([0-9]+):.* Apply at ([0-9]+) ([0-9]+) to ([0-9]+) ([0-9]+)/\1 \2 \3 \4 \5 \6/' <<<"$report")"
[ "${cw:-0}" -le 300 ] && [ "${ch:-0}" -le 250 ] || fail "not resized: $report"
[ "$ar" -le "$cw" ] && [ "$ab" -le "$ch" ] && [ "$al" -ge 0 ] && [ "$at" -ge 0 ] ||
  fail "Apply outside the window: $report"
capture_screen shape-window-300x250.png
close_and_expect_clean_exit
