#!/usr/bin/env bash
# Shaping points with real input, in the front view (orthographic): P chooses points, a
# rubber band takes some, the transform row scales them by a typed 2 about their centre; then
# a patch's points turned about x by a rotate drag with X and Ctrl held (15° steps), then
# grown by a scale drag with Ctrl held (factors by 0.1). The saved file holds exactly those
# points where the reports say they went. Rows of the point list choose points.
source "$(dirname "$0")/lib.sh"

start_editor "${clear_of_tool_windows}CurrentView=4"$'\r\nTool=2\r\n'
uncover_palette
(cd "$e2e_dir/work" && timeout 60 wine "$TAVREL_OBJ" default built-in.obj >/dev/null 2>&1)
point_of() { tr -d '\r' < "$(work_file "$1")" | grep '^v ' | sed -n "$(($2 + 1))p" | cut -c3-; }
cx=$((view_x + view_w / 2)) cy=$((view_y + view_h / 2))

xdotool mousemove "$cx" "$cy"
xdotool key --window "$main" p
wait_for_output 'Tavrel selection (points)'
xdotool mousemove $((cx - 260)) $((cy - 150)) mousedown 1
xdotool mousemove $((cx - 120)) $((cy - 60))
xdotool mousemove $((cx + 10)) $((cy + 10))
xdotool mouseup 1
wait_for_output 'Tavrel selection (box): [0-9]* points'
chosen=$(grep -a -o 'Tavrel selection (box): [0-9]* points' "$e2e_dir/stderr.log" | tail -1 | tr -dc '0-9')
[ "${chosen:-0}" -ge 2 ] || fail "the band chose ${chosen:-no} points"

# The transform row: "scale by" (the first choice starting with s), 2 in its first field.
shape=$(xdotool search --limit 1 --name '^Courbes$' | head -1)
read -r sx sy _ _ <<<"$(geometry_of "$shape")"
xdotool mousemove $((sx + 100)) $((sy + 676)) click 1
sleep 0.3
xdotool key s Return
xdotool mousemove $((sx + 260)) $((sy + 676)) click 1
xdotool type 2
xdotool key Return
wait_for_output 'Tavrel typed transform: scale by '
report=$(grep -a -o 'Tavrel typed transform: scale by [^"]*' "$e2e_dir/stderr.log" | tail -1 | sed 's/\\n$//')
read -r px py pz <<<"$(sed -E 's/.* about ([^ ]+) ([^ ]+) ([^:]+):.*/\1 \2 \3/' <<<"$report")"
points=${report##*:}
[ "$(wc -w <<<"$points")" = "$chosen" ] || fail "scaled '$points', chose $chosen points"

focus_main "$main"
xdotool key ctrl+s
answer_file_dialog "Save As" "scaled.obj"
wait_for_window '^scaled - Tavrel$' 20
for i in $points; do
  awk -v o="$(point_of built-in.obj "$i")" -v s="$(point_of scaled.obj "$i")" \
      -v px="$px" -v py="$py" -v pz="$pz" 'BEGIN {
    split(o, a, " "); split(s, b, " "); p[1] = px; p[2] = py; p[3] = pz
    for (k = 1; k <= 3; ++k) { e = p[k] + 2 * (a[k] - p[k]); d = b[k] - e
      if (d > 1e-3 || -d > 1e-3) exit 1 }
    exit 0 }' || fail "point $i: built-in '$(point_of built-in.obj "$i")', saved '$(point_of scaled.obj "$i")', pivot $px $py $pz"
done

cp "$(work_file scaled.obj)" "$(work_file before-turn.obj)"

# Back to patches; a patch chosen by a click, its points turned about x by the rotate tool.
xdotool key --window "$main" p
wait_for_output 'Tavrel selection (patches)'
xdotool mousemove $((cx + 60)) $((cy + 5)) click 1
wait_for_output 'Tavrel selection (click): [0-9]'
click_palette 14 # rotate
wait_for_setting Tool 3
xdotool mousemove $((cx + 200)) $((cy + 100))
xdotool keydown x keydown ctrl mousedown 1
for step in 20 40 60 80 100 120; do xdotool mousemove $((cx + 200 - step)) $((cy + 100 + step / 2)); done
xdotool mouseup 1 keyup ctrl keyup x
wait_for_output 'Tavrel rotate committed: point [0-9]* shown at'
turn=$(grep -a -o 'Tavrel rotate committed: point [0-9]* [^"]*' "$e2e_dir/stderr.log" | tail -1 | sed 's/\\n$//')
index=$(sed -E 's/.*point ([0-9]+) shown.*/\1/' <<<"$turn")
read -r px py pz <<<"${turn##*pivot }"
focus_main "$main"
xdotool key ctrl+s
wait_for_window '^scaled - Tavrel$' 20
sleep 0.5
angle=$(awk -v o="$(point_of before-turn.obj "$index")" -v s="$(point_of scaled.obj "$index")" \
            -v py="$py" -v pz="$pz" 'BEGIN {
  split(o, a, " "); split(s, b, " ")
  if (a[1] != b[1]) { print "x moved"; exit }
  y0 = a[2] - py; z0 = a[3] - pz; y1 = b[2] - py; z1 = b[3] - pz
  printf "%.3f", atan2(z0 * y1 - y0 * z1, y0 * y1 + z0 * z1) * 180 / 3.14159265358979 }')
awk -v a="$angle" 'BEGIN { r = a / 15; n = int(r + (r < 0 ? -0.5 : 0.5))
  exit !(a != 0 && n != 0 && (r - n < 0.01 && n - r < 0.01)) }' ||
  fail "point $index turned by '$angle' degrees about x, not a non-zero multiple of 15"

# The scale tool: a drag away from the pivot, Ctrl held, grows the patch's points by a step
# of 0.1 about their centre.
cp "$(work_file scaled.obj)" "$(work_file before-scale.obj)"
click_palette 18 # scale
wait_for_setting Tool 6
xdotool mousemove $((cx + 100)) $((cy + 5))
xdotool keydown ctrl mousedown 1
for step in 15 30 45 60; do xdotool mousemove $((cx + 100 + step)) $((cy + 5)); done
xdotool mouseup 1 keyup ctrl
wait_for_output 'Tavrel scale committed: point [0-9]* shown at'
grown=$(grep -a -o 'Tavrel scale committed: point [0-9]* [^"]*' "$e2e_dir/stderr.log" | tail -1 | sed 's/\\n$//')
index=$(sed -E 's/.*point ([0-9]+) shown.*/\1/' <<<"$grown")
factor=$(sed -E 's/.*factor ([^;]+);.*/\1/' <<<"$grown")
read -r px py pz <<<"${grown##*pivot }"
focus_main "$main"
xdotool key ctrl+s
sleep 1
wait_for_window '^scaled - Tavrel$' 20
awk -v o="$(point_of before-scale.obj "$index")" -v s="$(point_of scaled.obj "$index")" \
    -v f="$factor" -v px="$px" -v py="$py" -v pz="$pz" 'BEGIN {
  split(o, a, " "); split(s, b, " "); p[1] = px; p[2] = py; p[3] = pz; r = f * 10
  if (f == 1 || r - int(r + 0.5) > 1e-4 || int(r + 0.5) - r > 1e-4) exit 1
  for (k = 1; k <= 3; ++k) { d = b[k] - (p[k] + f * (a[k] - p[k])); if (d > 1e-3 || -d > 1e-3) exit 1 }
  exit 0 }' || fail "point $index: '$(point_of before-scale.obj "$index")' became '$(point_of scaled.obj "$index")', factor '$factor', pivot $px $py $pz"

# Choosing points, a click on a row of the point list chooses its point alone; Control adds
# another and takes it away again.
listed() { # waits for the list's $1-th report and checks it chose $2 points
  local deadline=$((SECONDS + 10)) said
  while said=$(grep -a -o 'Tavrel selection (list): [0-9]* points' "$e2e_dir/stderr.log" | sed -n "${1}p")
        [ -z "$said" ]; do
    [ $SECONDS -lt $deadline ] || fail "no report $1 of the point list"; sleep 0.1
  done
  [ "$said" = "Tavrel selection (list): $2 points" ] || fail "point list click $1: '$said', not $2 points"
}
xdotool key --window "$main" p
wait_for_output 'Tavrel selection (points)'
xdotool mousemove $((sx + 300)) $((sy + 8)) click 1
listed 1 1
xdotool mousemove $((sx + 300)) $((sy + 40)) keydown ctrl click 1 keyup ctrl
listed 2 2
xdotool keydown ctrl click 1 keyup ctrl
listed 3 1
close_and_expect_clean_exit
