#!/usr/bin/env bash
# Framing with a real key: a model far from the origin and much larger than the default one
# is out of sight at the start; "." brings it into the view, filling about two thirds of it,
# and the camera is remembered. A model a millionth of the size fills as much in perspective.
source "$(dirname "$0")/lib.sh"

red_share() { colour_share 10% '#FF0000'; } # the patches' red

# A 4 × 4 grid of patches, 400 units across, slanted (y rises with z, so the level start-up
# camera does not see it edge-on), 5,000 units away along x.
mkdir -p "$e2e_dir/work"
write_grid 4 4 "$(work_file grid.obj)"
awk '/^v / { printf "v %g %g %g\r\n", 5000 + 100 * $2, 100 * ($3 + $4), 100 * $4; next } { print }' \
  "$(work_file grid.obj)" > "$(work_file far.obj)"
start_editor "${clear_of_tool_windows}LoadedFile=far.obj"$'\r\n'
[ "$(red_share)" -lt 5 ] || fail "the far model should be out of sight at the start ($(red_share) per mille red)"

xdotool mousemove $((view_x + view_w / 2)) $((view_y + view_h / 2)) click 1
xdotool key period
wait_for_output 'Tavrel framed: centre 5200 '
# The red patches' bounding box on the view: about two thirds of its height (the sheet is
# seen slanted, so its area is less).
red_box() {
  wait_for_view "$view_w" "$view_h"
  import -window "$view_id" png:- 2>/dev/null |
    convert - -fuzz 10% -fill white -opaque '#FF0000' -fill black +opaque white -trim \
      -format '%h' info:- 2>/dev/null
}
expect_two_thirds() {
  local deadline=$((SECONDS + 10)) h
  until h=$(red_box); [ -n "$h" ] && [ "$h" -gt $((view_h * 45 / 100)) ] && [ "$h" -lt "$view_h" ]; do
    [ $SECONDS -lt $deadline ] || fail "framed, the model should span about two thirds of the view's height of $view_h (it spans ${h:-0}; $1)"
    sleep 0.2
  done
}
expect_two_thirds "far and large"
capture_editor framed.png "$main"
wait_for_setting offset.x 5200.000000
[ -n "$(setting zoomScale)" ] || fail "the framing's zoom was not remembered"
close_and_expect_clean_exit

awk '/^v / { printf "v %g %g %g\r\n", 1e-6 * $2, 1e-6 * ($3 + $4), 1e-6 * $4; next } { print }' \
  "$(work_file grid.obj)" > "$(work_file tiny.obj)"
start_editor "${clear_of_tool_windows}LoadedFile=tiny.obj"$'\r\n'
xdotool mousemove $((view_x + view_w / 2)) $((view_y + view_h / 2)) click 1
xdotool key period
wait_for_output 'Tavrel framed: centre 2e-06 '
expect_two_thirds "a millionth of the size, in perspective"
close_and_expect_clean_exit
