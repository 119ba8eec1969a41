#!/usr/bin/env bash
# Real mouse and keys on the 3D view: a right drag pans and writes the offsets, a left drag
# orbits and writes the angles, a wheel notch zooms, H toggles on release, Ctrl+A selects
# every patch without remembering it, and a click in the select tool selects and remembers.
source "$(dirname "$0")/lib.sh"

start_editor "$clear_of_tool_windows"

# Right drag 100 pixels to the right, angles 0: the target moves along +x by
# 100 / (w/2) · 5·tan(π/8) · (w/h) = 200 · 2.0710678 / h.
xdotool mousemove $((view_x + 60)) $((view_y + 60)) mousedown 3
for step in 25 50 75 100; do xdotool mousemove $((view_x + 60 + step)) $((view_y + 60)); done
xdotool mouseup 3
wait_for_number offset.x "$(awk -v h="$view_h" 'BEGIN { printf "%f", 200 * 2.0710678 / h }')"
wait_for_number offset.y 0
wait_for_number offset.z 0

# Left drag 40 left and 30 down, away from every control point: it orbits.
xdotool mousemove $((view_x + 80)) $((view_y + 80)) mousedown 1
for step in 10 20 30 40; do xdotool mousemove $((view_x + 80 - step)) $((view_y + 80 + step * 3 / 4)); done
xdotool mouseup 1
wait_for_number gamma "$(awk -v w="$view_w" 'BEGIN { printf "%f", 30 / w }')"
wait_for_number theta "$(awk -v h="$view_h" 'BEGIN { printf "%f", 40 / h }')"

# One wheel notch towards the screen zooms in a step.
xdotool click 4
wait_for_setting distance 0

xdotool windowfocus --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
xdotool keydown h
sleep 0.3 # a held key must not toggle; give it time to show if it did
grep -a -q 'Tavrel display: planet=0' "$e2e_dir/stderr.log" && fail "H toggled on key press"
xdotool keyup h
wait_for_output 'Tavrel display: planet=0 sphere=0 wire=0'

xdotool key ctrl+a
wait_for_output 'Tavrel selection (select all): 0;1;2;3'
[ -z "$(setting SelectedPatches)" ] || fail "Ctrl+A must not remember the selection"

close_and_expect_clean_exit

# The select tool: hover the model's middle and click.
start_editor "${clear_of_tool_windows}Tool=2"$'\r\n'
xdotool mousemove $((view_x + view_w / 2 - 20)) $((view_y + view_h / 2 - 20))
xdotool mousemove $((view_x + view_w / 2 - 21)) $((view_y + view_h / 2 - 21))
xdotool click 1
wait_for_output 'Tavrel selection (click): [0-3]\\'
selected=$(setting SelectedPatches)
case "$selected" in [0-3]) ;; *) fail "SelectedPatches: expected one patch, saw '$selected'" ;; esac
close_and_expect_clean_exit
