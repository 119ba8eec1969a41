#!/usr/bin/env bash
# The palette with real clicks: "select" twice leaves no tool, toggleGrid alternates grid,
# "translate" while "rotate" is active commits the rotation, and a picture of the palette,
# toolbar, status bar and a view with overlays is kept.
source "$(dirname "$0")/lib.sh"

start_editor "$clear_of_tool_windows"
uncover_palette

click_palette 7 # select
wait_for_setting Tool 2
click_palette 7
wait_for_setting Tool 0

click_palette 3 # toggleGrid, single layout: on, off; loc untouched
wait_for_setting grid 1
wait_for_setting loc 0
click_palette 3
wait_for_setting grid 0

click_palette 3 # grid on for the picture
wait_for_setting grid 1
click_palette 14 # rotate
wait_for_setting Tool 3
# Turn the model: press and drag below the horizon (the camera first looks down a little).
xdotool mousemove $((view_x + view_w - 150)) $((view_y + 100)) mousedown 1
xdotool mousemove $((view_x + view_w - 150)) $((view_y + 140)) mouseup 1
xdotool mousemove $((view_x + view_w / 2 + 200)) $((view_y + view_h - 80)) mousedown 1
for step in 40 80 120 160; do xdotool mousemove $((view_x + view_w / 2 + 200 - step)) $((view_y + view_h - 80)); done
xdotool mouseup 1
capture_editor rotating.png "$main"
click_palette 15 # translate: the rotation is committed
wait_for_setting Tool 4
wait_for_window '^Untitled\* - Tavrel$' 10

pal=$(xdotool search --limit 1 --name '^Palette$' | head -1)
import -window "$pal" "${E2E_ARTIFACTS:-$e2e_dir}/palette.png" || fail "could not capture the palette"

# After a click on the palette the keys go to the main window again: H hides the planet.
click_palette 7
sleep 0.5
xdotool key h
wait_for_output 'Tavrel display: planet=0' 5
close_and_expect_clean_exit
