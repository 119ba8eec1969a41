#!/usr/bin/env bash
# A first start with no settings: the default model, the title "Untitled - Tavrel", the default
# size (narrowed to what the tool windows beside it leave of the screen), a black view;
# closing the window ends the program cleanly.
source "$(dirname "$0")/lib.sh"

start_app
wait_for_window ' - Tavrel'
main=$window_id
wait_for_startup
case "$startup_report" in
  *"CurrentView=0 Tool=0 grid=0 loc=0 distance=1"*"points=48 patches=4 selected= tree=<patch 0|patch 1|patch 2|patch 3> LoadedFile=<>"*) ;;
  *) fail "start-up report: expected the defaults and the built-in model, saw: $startup_report" ;;
esac
expect_eq "title" "Untitled - Tavrel" "$(xdotool getwindowname "$main")"

# The main window's client area (below its menu bar): the settings hold its size.
read -r x y w h <<<"$(geometry_of "$main")"
wait_for_setting w "$w"
wait_for_setting h "$h"
[ "$w" -gt 1000 ] && [ "$w" -le 1200 ] || fail "client width $w is not that of a window up to 1200 wide"
[ "$h" -gt 700 ] && [ "$h" -le 800 ] || fail "client height $h is not that of an 800-high window"

wait_for_view "$w"
view=$view_id
# The start-up report comes before the message loop draws the first frame: wait for it.
deadline=$((SECONDS + 10))
until [ "$(pixel_of "$view" $((w / 2 - 20)) 340)" = "#FF0000" ] || [ $SECONDS -ge $deadline ]; do
  sleep 0.2
done
# The default model in red in the middle of a black view.
for spot in "10 10" "$((w - 5)) 600"; do
  expect_eq "view pixel at $spot" "#000000" "$(pixel_of "$view" $spot)"
done
expect_eq "view pixel in the middle" "#FF0000" "$(pixel_of "$view" $((w / 2 - 20)) 340)"
capture_editor editor.png "$main"

# F1: the shortcut sheet opens; Escape closes it.
focus_main "$main"
xdotool key F1
wait_for_window '^Keyboard Shortcuts$' 10
sheet=$window_id
xdotool windowfocus --sync "$sheet" 2>/dev/null
xdotool key Escape
for _ in $(seq 1 50); do xwininfo -id "$sheet" >/dev/null 2>&1 || break; sleep 0.1; done
xwininfo -id "$sheet" >/dev/null 2>&1 && fail "Escape did not close the shortcut sheet"

close_and_expect_clean_exit
