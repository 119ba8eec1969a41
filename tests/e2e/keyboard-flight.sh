#!/usr/bin/env bash
# Flying with the keyboard alone (no controller here): play, hold Up and the nose goes down
# (the planet ahead rises in the view), Home brings the view back, Page Up opens the
# throttle and the planet grows as the ship closes in, stop.
source "$(dirname "$0")/lib.sh"

# A small patch behind the ship's origin: nothing of the model hides the planet ahead.
mkdir -p "$e2e_dir/work"
{
  printf 'cstype bezier\r\ndeg 3\r\n\r\n'
  for y in -0.1 0 0.05 0.1; do for x in -0.1 0 0.05 0.1; do printf 'v %s %s -5\r\n' "$x" "$y"; done; done
  printf '\r\nsurf 0.0 1.0 0.0 1.0 0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15\r\nend\r\n'
} > "$e2e_dir/work/behind.obj"
start_editor "${clear_of_tool_windows}LoadedFile=behind.obj"$'\r\n'
uncover_palette

# The planet in view 0 as "area-per-mille centroid-row": every pixel that is neither black
# nor the model's red, averaged row by row.
planet() {
  wait_for_view "$view_w" "$view_h"
  import -window "$view_id" png:- 2>/dev/null |
    convert - -fuzz 12% -fill black -opaque '#FF0000' -fuzz 6% -fill white +opaque black \
      -colorspace gray -scale "1x$view_h!" -depth 16 txt:- 2>/dev/null |
    awk -v h="$view_h" 'NR > 1 { split($1, c, ","); y = c[2] + 0; v = $2; gsub(/[()]/, "", v)
      split(v, g, ","); s += g[1]; m += g[1] * y }
      END { printf "%d %d\n", 1000 * s / 65535 / h, (s ? m / s : -1) }'
}
focus_main() { # the status bar: the main window takes the keys, nothing is clicked in the view
  local x y w h
  read -r x y w h <<<"$(geometry_of "$main")"
  xdotool mousemove $((x + w - 40)) $((y + h - 6)) click 1
  xdotool windowfocus "$main"
}

click_palette 4 # play
sleep 1
read -r area0 row0 <<<"$(planet)"
[ "$area0" -gt 100 ] || fail "play: the planet should fill much of the view ahead, saw $area0 per mille"

focus_main
xdotool keydown Up
sleep 0.6
xdotool keyup Up
sleep 0.3
read -r area1 row1 <<<"$(planet)"
[ "$row1" -lt $((row0 - 40)) ] || fail "Up (nose down): the planet should rise in the view (row $row0, then $row1)"

xdotool key Home
sleep 0.5
read -r area2 row2 <<<"$(planet)"
[ $((row2 - row0)) -le 10 ] && [ $((row0 - row2)) -le 10 ] ||
  fail "Home: the view should be back as at the start (row $row0, now $row2)"
wait_for_output 'Tavrel: the ship is back at its start'

xdotool keydown Prior # Page Up
sleep 1.2
xdotool keyup Prior
deadline=$((SECONDS + 60))
until read -r area3 _ <<<"$(planet)"; [ "$area3" -gt $((area2 + area2 / 20)) ]; do
  [ $SECONDS -lt $deadline ] || fail "throttle: the planet should grow as the ship closes in ($area2 per mille, then $area3)"
  sleep 1
done
echo "planet: ${area2} per mille at the start, ${area3} after the throttle; centroid row $row0, $row1 after Up"

click_palette 5 # stop
close_and_expect_clean_exit
