#!/usr/bin/env bash
# Growing the built-in band with real input, in the front view: G shows the joins; B splits the band through
# its whole strip at the pointer (the saved file shares every new edge: no crack); then,
# undone, Ctrl+A and E extrude every free side, a translate drag moves the new far rows, and
# the saved joins are smooth; Ctrl+C copies a patch and Ctrl+V pastes it into a second editor.
source "$(dirname "$0")/lib.sh"

start_editor "${clear_of_tool_windows}CurrentView=4"$'\r\nTool=2\r\n'
uncover_palette
obj() { (cd "$e2e_dir/work" && timeout 60 wine "$TAVREL_OBJ" "$@" 2>/dev/null | tr -d '\r'); }
said() { # waits for the n-th report ($1) starting with $2 and prints it
  local deadline=$((SECONDS + 10)) line
  while line=$(grep -a -o "Tavrel surface edit: $2[^\"]*" "$1" | sed -n "${3:-1}p" | sed 's/\\n$//')
        [ -z "$line" ]; do
    [ $SECONDS -lt $deadline ] || fail "no report '$2' in $(basename "$1")"; sleep 0.1
  done
  echo "$line"
}
cx=$((view_x + view_w / 2)) cy=$((view_y + view_h / 2))

# G shows the joins: the band's four, smooth, drawn green over its red.
joins_green() { # pixels of the smooth joins' green in view 0
  wait_for_view "$view_w" "$view_h"
  import -window "$view_id" png:- 2>/dev/null |
    convert - -fuzz 6% -fill white -opaque '#1AE633' -fill black +opaque white \
      -format '%[fx:int(w*h*mean+0.5)]' info:- 2>/dev/null
}
before=$(joins_green)
xdotool key --window "$main" g
wait_for_setting joins 1
sleep 1
after=$(joins_green)
[ "$after" -gt $((before + 100)) ] || fail "the joins display drew no green ($before then $after)"
xdotool key --window "$main" g
wait_for_setting joins 0

# B with the pointer on the band: every patch of the ring is cut, each at the same place.
xdotool mousemove $((cx + 60)) $((cy + 5))
xdotool key --window "$main" b
report=$(said "$e2e_dir/stderr.log" split)
[ "$report" = "Tavrel surface edit: split 4 patches across u" ] || fail "split: '$report'"
xdotool key --window "$main" ctrl+s
answer_file_dialog "Save As" "split.obj"
wait_for_window '^split - Tavrel$' 20
expect_eq "the split band's sides" "shared 12, free 8" "$(obj joins split.obj | head -1 | cut -d, -f1-2)"

# Undone, every shown point chosen, E grows each free side; the far rows, chosen now, are
# dragged across the view by the translate tool.
xdotool key --window "$main" ctrl+z
wait_for_window '^split\* - Tavrel$' 10
xdotool key --window "$main" p
wait_for_output 'Tavrel selection (points)'
xdotool key --window "$main" ctrl+a
xdotool key --window "$main" e
report=$(said "$e2e_dir/stderr.log" extruded)
[ "$report" = "Tavrel surface edit: extruded 8 sides: the far rows are chosen, drag one with the select tool to move them" ] || fail "extrude: '$report'"
click_palette 15 # translate
wait_for_setting Tool 4
xdotool mousemove $((cx + 30)) $((cy + 40)) mousedown 1
for step in 15 30 45 60; do xdotool mousemove $((cx + 30 + step)) $((cy + 40 - step / 2)); done
xdotool mouseup 1
wait_for_output 'Tavrel translate committed'
focus_main "$main"
xdotool key ctrl+shift+s
answer_file_dialog "Save As" "grown.obj"
wait_for_window '^grown - Tavrel$' 20
obj joins grown.obj > "$e2e_dir/joins.txt"
# Each new patch (4 and up) joins the ring patch it grew from (0 to 3) within 0.1°.
awk 'NR > 1 && ($1 < 4) != ($2 < 4) { ++n; if ($3 > 0.1) bad = bad " " $0 }
     END { if (n != 8 || bad != "") { print n " joins;" bad; exit 1 } }' "$e2e_dir/joins.txt" ||
  fail "grown joins: $(cat "$e2e_dir/joins.txt")"
cmp -s "$(work_file split.obj)" "$(work_file grown.obj)" && fail "nothing was grown"
xdotool key --window "$main" g
wait_for_setting joins 1
sleep 1
capture_editor grown-surfaces.png "$main"
xdotool key --window "$main" g

# Back to patches: one clicked and copied, pasted into a second editor in the same folder.
xdotool key --window "$main" p
wait_for_output 'Tavrel selection (patches)'
click_palette 7 # select
wait_for_setting Tool 2
xdotool mousemove $((cx + 60)) $((cy + 5)) click 1
wait_for_output 'Tavrel selection (click): [0-9]'
xdotool key --window "$main" ctrl+c
said "$e2e_dir/stderr.log" "copied 1 patch" >/dev/null
start_second_editor
# It opens the file the session names, grown.obj, with its 12 patches.
second=$(xdotool search --name ' - Tavrel$' 2>/dev/null | grep -v "^$main\$" | head -1)
[ -n "$second" ] || fail "no main window of the second editor"
focus_main "$second"
xdotool key --window "$second" ctrl+v
said "$e2e_dir/second.log" "pasted 1 patch" >/dev/null
xdotool key --window "$second" ctrl+shift+s
answer_file_dialog "Save As" "pasted.obj"
wait_for_window '^pasted - Tavrel$' 20
expect_eq "the second editor's patches" "13" \
  "$(obj check pasted.obj | sed -n 's/^patches //p')"
close_window "$second"
wait_for_second_exit
close_and_expect_clean_exit
