#!/usr/bin/env bash
# Flight with real clicks: "play" turns the palette's picture and looks out of the cockpit
# (the model near, the head-up display's glass over it), "stop" returns to the editor's
# camera while the ship drifts on, pulled away by the planet.
source "$(dirname "$0")/lib.sh"

# A flat red square 6 units ahead of the ship's origin, and the cockpit locator at 3.
mkdir -p "$e2e_dir/work"
{
  printf 'cstype bezier\r\ndeg 3\r\n\r\n'
  for y in -2 -0.6667 0.6667 2; do for x in -2 -0.6667 0.6667 2; do printf 'v %s %s 6\r\n' "$x" "$y"; done; done
  printf '\r\nsurf 0.0 1.0 0.0 1.0 0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15\r\nend\r\n'
  printf 'locator\r\nCockpit\r\n0 0 3 1\r\n0 0 0 1\r\n'
} > "$e2e_dir/work/ahead.obj"
start_editor "${clear_of_tool_windows}LoadedFile=ahead.obj"$'\r\n'
uncover_palette

red_share() { colour_share 20% '#FF0000' '#D30B05'; } # the patch's red, behind the glass or not
palette_button() { # picture of palette button $1
  local id px py
  id=$(xdotool search --limit 1 --name '^Palette$' | head -1)
  read -r px py _ _ <<<"$(geometry_of "$id")"
  import -window root -crop "30x30+$((px + 4 + 4 + 39 * ($1 % 2)))+$((py + 20 + 6 + 38 * ($1 / 2)))" +repage png:- 2>/dev/null |
    md5sum | cut -c1-12
}

deadline=$((SECONDS + 10))
until editing=$(red_share); [ "$editing" -gt 0 ]; do
  [ $SECONDS -lt $deadline ] || fail "the red square never showed in the editor's view"
  sleep 0.2
done
play_picture=$(palette_button 4)

click_palette 4 # play
deadline=$((SECONDS + 10))
until [ "$(red_share)" -gt $((editing * 2)) ]; do
  [ $SECONDS -lt $deadline ] || fail "play: expected the cockpit's near view of the square (more than twice $editing per mille), saw $(red_share)"
  sleep 0.2
done
[ "$(palette_button 4)" != "$play_picture" ] || fail "play: the button still shows its play picture"
capture_editor flight.png "$main"
# The head-up display's glass lies over the middle of the square.
centre=$(pixel_of "$view_id" $((view_w / 2)) $((view_h / 2 + 60)))
case "$centre" in '#FF0000') fail "play: no head-up display over the middle (saw $centre)" ;; esac

sleep 2 # let the planet pull
click_palette 5 # stop
deadline=$((SECONDS + 10))
until [ "$(red_share)" -lt "$editing" ]; do
  [ $SECONDS -lt $deadline ] || fail "stop: expected the editor's view with the ship drifting away (below $editing per mille), saw $(red_share)"
  sleep 0.2
done
expect_eq "stop: the play picture back" "$play_picture" "$(palette_button 4)"
first=$(red_share)
sleep 1
second=$(red_share)
[ "$second" -lt "$first" ] || fail "stop: the ship should keep drifting away ($first then $second per mille)"

close_and_expect_clean_exit
