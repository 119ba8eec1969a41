#!/usr/bin/env bash
# Rotating a symmetry with real input: the selected patch's points (the symmetry's) and their
# mirrored half are committed where the view showed them, leaving the tool changes nothing
# more, and closing in the middle of a rotate drag commits it and asks about it like any
# other change.
source "$(dirname "$0")/lib.sh"

start_editor "${clear_of_tool_windows}Tool=2"$'\r\n'
uncover_palette
cx=$((view_x + view_w / 2)) cy=$((view_y + view_h / 2))

xdotool mousemove $((cx - 120)) "$cy" click 1
wait_for_output 'Tavrel selection (click): [0-9]'
click_palette 17 # symetry
wait_for_window '^Untitled\* - Tavrel$' 10

click_palette 14 # rotate, with the start-up camera: its eye lies on the ground
wait_for_setting Tool 3
xdotool mousemove $((cx - 150)) $((view_y + view_h - 80)) mousedown 1
for step in 30 60 90 120 150; do xdotool mousemove $((cx - 150 + step)) $((view_y + view_h - 80)); done
capture_editor rotating-symmetry.png "$main"
xdotool mouseup 1
wait_for_output 'Tavrel rotate committed: point [0-9]* shown at'
click_palette 14 # leaving the tool
wait_for_setting Tool 0
xdotool key ctrl+s
answer_file_dialog "Save As" "turned.obj"
wait_for_window '^turned - Tavrel$' 20

report=$(grep -a -o 'Tavrel rotate committed: point [0-9]* shown at [-0-9.e ]*, mirrored at [-0-9.e ]*' "$e2e_dir/stderr.log" | tail -1)
index=$(sed -E 's/.*point ([0-9]+) shown.*/\1/' <<<"$report")
saved=$(tr -d '\r' < "$(work_file turned.obj)" | grep '^v ' | sed -n "$((index + 1))p")
(cd "$e2e_dir/work" && timeout 60 wine "$TAVREL_OBJ" default built-in.obj >/dev/null 2>&1)
original=$(tr -d '\r' < "$(work_file built-in.obj)" | grep '^v ' | sed -n "$((index + 1))p")
[ -n "$original" ] || fail "no point $index in the built-in model"
awk -v report="$report" -v saved="$saved" 'BEGIN {
  split(report, r, /shown at |, mirrored at /); split(r[2], s, " "); split(r[3], m, " ")
  split(saved, v, " ")
  near = 1e-4
  for (i = 1; i <= 3; ++i) if ((s[i] - v[i + 1]) > near || (v[i + 1] - s[i]) > near) exit 1
  # The mirrored half shows the saved point mirrored through x = 0.
  if ((m[1] + v[2]) > near || (-m[1] - v[2]) > near) exit 2
  if ((m[2] - v[3]) > near || (v[3] - m[2]) > near || (m[3] - v[4]) > near || (v[4] - m[3]) > near) exit 2
  exit 0 }' || fail "the view showed point 0 at '${report#*shown at }' but the file has '$saved'"
[ "$saved" != "v 1 -0.5 0.5" ] || fail "the rotation was not saved"

# Closing during a rotate drag (here New, which asks the same question): the drag is
# committed first, so the question is about it; Cancel keeps the editor and the rotation.
saved_before=$(tr -d '\r' < "$(work_file turned.obj)" | grep '^v ' | sed -n "$((index + 1))p")
click_palette 14
wait_for_setting Tool 3
xdotool mousemove $((cx - 150)) $((view_y + view_h - 80)) mousedown 1
for step in 40 80 120; do xdotool mousemove $((cx - 150 + step)) $((view_y + view_h - 80)); done
xdotool key ctrl+n
wait_for_output 'Tavrel asks: Save the changes to'
box=$(timeout 10 xdotool search --sync --onlyvisible --limit 1 --name '^Tavrel$' 2>/dev/null | head -1)
[ -n "$box" ] || fail "New during a rotate drag: no question about the changes"
xdotool mouseup 1
xdotool windowfocus --sync "$box" 2>/dev/null
xdotool key Escape
wait_for_window '^turned\* - Tavrel$' 10
xdotool key ctrl+s
wait_for_window '^turned - Tavrel$' 10
[ "$(tr -d '\r' < "$(work_file turned.obj)" | grep '^v ' | sed -n "$((index + 1))p")" != "$saved_before" ] ||
  fail "the rotation under way when New was asked for was not kept"
close_and_expect_clean_exit
