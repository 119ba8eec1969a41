#!/usr/bin/env bash
# Zebra stripes with a real key: the default model's red patches show light and dark bands
# after U (none before), Shift+U turns them, and the choice is remembered.
source "$(dirname "$0")/lib.sh"

start_editor "$clear_of_tool_windows"
wait_for_view "$view_w" "$view_h"
# Thousandths of a 240 × 160 piece around the view's centre that are dark red (a dark band
# keeps an eighth of the patch's red) and that are bright red.
share() { view_centre_share "$1"; }
dark='r>0.04 && r<0.3 && g<0.08 && b<0.08'
bright='r>0.7 && g<0.3 && b<0.3'
[ "$(share "$dark")" -le 5 ] || fail "dark bands before the stripes are on: $(share "$dark")"

xdotool mousemove $((view_x + view_w / 2)) $((view_y + view_h / 2)) click 1
xdotool key u
wait_for_setting zebra 1
deadline=$((SECONDS + 10))
until d=$(share "$dark"); b=$(share "$bright"); [ "${d:-0}" -ge 50 ] && [ "${b:-0}" -ge 50 ]; do
  [ $SECONDS -lt $deadline ] || fail "zebra: expected dark and bright bands, saw $d and $b thousandths"
  sleep 0.2
done
capture_editor zebra-stripes.png "$main"
before=$(import -window "$view_id" png:- 2>/dev/null | convert - -scale 64x64 -depth 8 rgb:- | md5sum)
xdotool key shift+u
wait_for_setting stripeturn 1
deadline=$((SECONDS + 10))
until after=$(import -window "$view_id" png:- 2>/dev/null | convert - -scale 64x64 -depth 8 rgb:- | md5sum); [ "$after" != "$before" ]; do
  [ $SECONDS -lt $deadline ] || fail "Shift+U did not turn the stripes"
  sleep 0.2
done
close_and_expect_clean_exit

start_editor # with the session the first run left
wait_for_view "$view_w" "$view_h"
deadline=$((SECONDS + 10))
until d=$(share "$dark"); [ "${d:-0}" -ge 50 ]; do
  [ $SECONDS -lt $deadline ] || fail "the zebra stripes were not remembered ($d)"
  sleep 0.2
done
close_and_expect_clean_exit
