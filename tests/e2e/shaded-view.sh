#!/usr/bin/env bash
# The shaded display with a real key: flat, a curved patch of the default model shows one
# red; after L it shows a gradient of reds (lit from behind the camera, the normals from the
# surface's derivatives), and the choice is remembered.
source "$(dirname "$0")/lib.sh"

start_editor "$clear_of_tool_windows"
wait_for_view "$view_w" "$view_h"
# Colours in a 60 × 40 piece of a front patch, just left of the view's centre.
colours() {
  import -window "$view_id" png:- 2>/dev/null |
    convert - -crop 60x40+$((view_w / 2 - 80))+$((view_h / 2 - 40)) +repage -format '%k' info:- 2>/dev/null
}
reds() { import -window "$view_id" png:- 2>/dev/null |
  convert - -crop 60x40+$((view_w / 2 - 80))+$((view_h / 2 - 40)) +repage -format '%[fx:maxima.r]-%[fx:minima.r]' info:- 2>/dev/null; }
flat=$(colours)
[ "$flat" -le 3 ] || fail "flat: a patch should show one colour, saw $flat ($(reds))"

xdotool mousemove $((view_x + view_w / 2)) $((view_y + view_h / 2)) click 1
xdotool key l
wait_for_setting shaded 1
deadline=$((SECONDS + 10))
until shaded=$(colours); [ "${shaded:-0}" -ge 8 ]; do
  [ $SECONDS -lt $deadline ] || fail "shaded: the patch should show a gradient, saw $shaded colours ($(reds))"
  sleep 0.2
done
capture_editor shaded.png "$main"
close_and_expect_clean_exit

start_app
wait_for_window ' - Tavrel$'
main=$window_id
wait_for_startup
locate_view "$main"
wait_for_view "$view_w" "$view_h"
deadline=$((SECONDS + 10))
until shaded=$(colours); [ "${shaded:-0}" -ge 8 ]; do
  [ $SECONDS -lt $deadline ] || fail "the shaded display was not remembered ($shaded colours)"
  sleep 0.2
done
close_and_expect_clean_exit
