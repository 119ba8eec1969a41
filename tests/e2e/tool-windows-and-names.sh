#!/usr/bin/env bash
# Closing the palette and the shape window hides them (F6 and F7 bring them back); a
# locator's name belongs to the model, so saving with both closed keeps it; a new start
# shows both windows again and the same names.
source "$(dirname "$0")/lib.sh"

visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }

start_editor "${clear_of_tool_windows}Tool=5"$'\r\n'
xdotool mousemove $((view_x + 80)) $((view_y + 80)) click 1
wait_for_window '^Untitled\* - Tavrel$' 10

# Each closed with Alt+F4 after a click that makes it the active window (the palette's
# caption, the shape window's empty lower part).
for name in Palette Courbes; do
  id=$(visible "^$name\$")
  [ -n "$id" ] || fail "the $name window is not shown at start"
  read -r wx wy ww wh <<<"$(geometry_of "$id")"
  if [ "$name" = Palette ]; then xdotool mousemove $((wx + 20)) $((wy + 10)) click 1
  else xdotool mousemove $((wx + 300)) $((wy + wh - 60)) click 1; fi
  sleep 0.3
  xdotool key alt+F4
  deadline=$((SECONDS + 10))
  while [ -n "$(visible "^$name\$")" ]; do
    [ $SECONDS -lt $deadline ] || fail "closing the $name window did not hide it"
    sleep 0.2
  done
done

# Both closed: save, and the locator keeps its name.
read -r mx my mw mh <<<"$(geometry_of "$main")"
xdotool mousemove $((mx + mw - 40)) $((my + mh - 6)) click 1 # the status bar: focus, no locator
xdotool key --window "$main" ctrl+s
answer_file_dialog "Save As" "names.obj"
wait_for_window '^names - Tavrel$' 20
expect_eq "saved model" "points 48 patches 4 groups 0 symmetries 0 locators 1" "$(check_model names.obj)"
tr -d '\r' < "$(work_file names.obj)" | grep -qx 'Locator_0' || fail "the locator's name was not saved"

# F6 and F7 show them again.
xdotool windowfocus "$main"
xdotool key --window "$main" F6
xdotool key --window "$main" F7
deadline=$((SECONDS + 10))
until [ -n "$(visible '^Palette$')" ] && [ -n "$(visible '^Courbes$')" ]; do
  [ $SECONDS -lt $deadline ] || fail "F6 and F7 did not show the palette and the shape window"
  sleep 0.2
done
close_window "$main"
wait_for_exit 20

start_app
wait_for_window '^names - Tavrel$'
main=$window_id
wait_for_startup
case "$startup_report" in *"tree=<patch 0|patch 1|patch 2|patch 3|Locator_0>"*) ;; *) fail "names after a new start: $startup_report" ;; esac
[ -n "$(visible '^Palette$')" ] && [ -n "$(visible '^Courbes$')" ] || fail "the tool windows are not back after a new start"
close_and_expect_clean_exit
