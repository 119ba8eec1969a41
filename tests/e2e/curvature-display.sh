#!/usr/bin/env bash
# The curvature display with a real key: after C the default model's patches show the
# display's colours (none before), the status bar gives the range, Shift+C colours the
# Gaussian curvature instead, and the choice is remembered.
source "$(dirname "$0")/lib.sh"

start_editor "$clear_of_tool_windows"
wait_for_view "$view_w" "$view_h"
# Thousandths of a 240 × 160 piece around the view's centre that are the display's green
# (the middle of its range), which neither the patches' red nor the planet behind has.
share() { view_centre_share "$1"; }
coloured='g>0.3 && r<0.7*g && b<0.7*g'
[ "$(share "$coloured")" -le 5 ] || fail "curvature colours before the display is on: $(share "$coloured")"

focus_main "$main"
xdotool key c
wait_for_setting curvature 1
wait_for_output 'Tavrel status: [Cc]urvature on (C): Mean curvature -*[0-9.e+-]* to -*[0-9.e+-]* (automatic)'
deadline=$((SECONDS + 10))
until c=$(share "$coloured"); [ "${c:-0}" -ge 50 ]; do
  [ $SECONDS -lt $deadline ] || fail "curvature: expected the display's colours, saw $c thousandths"
  sleep 0.2
done
capture_editor curvature.png "$main"
xdotool key shift+c
wait_for_setting curvaturekind 0
wait_for_output 'Tavrel status: [Cc]urvature on (C): Gaussian curvature -[0-9.e+-]* to [0-9.e+-]* (automatic)'
close_and_expect_clean_exit

start_editor # with the session the first run left
wait_for_view "$view_w" "$view_h"
deadline=$((SECONDS + 10))
until c=$(share "$coloured"); [ "${c:-0}" -ge 50 ]; do
  [ $SECONDS -lt $deadline ] || fail "the curvature display was not remembered ($c)"
  sleep 0.2
done
close_and_expect_clean_exit
