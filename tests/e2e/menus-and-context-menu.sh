#!/usr/bin/env bash
# The menu bar and the context menu with real input: Edit's Undo item is greyed on a new
# document; a right click on a patch opens the context menu, whose Duplicate doubles the
# patch; Undo is then named after that step; Alt+F and its Save As item save through the
# real dialog (the saved file holds the copy).
source "$(dirname "$0")/lib.sh"

start_editor "${clear_of_tool_windows}CurrentView=4"$'\r\nTool=2\r\n'
uncover_palette
cx=$((view_x + view_w / 2)) cy=$((view_y + view_h / 2))
menu_said() { # waits for the n-th ($2) debugger line of an opened menu's item $1
  local deadline=$((SECONDS + 10))
  until [ "$(grep -a -c "Tavrel menu: $1" "$e2e_dir/stderr.log")" -ge "${2:-1}" ]; do
    [ $SECONDS -lt $deadline ] || fail "no menu item '$1' (seen: $(grep -a -o 'Tavrel menu: Undo[^\\]*' "$e2e_dir/stderr.log" | tr '\n' ';'))"
    sleep 0.1
  done
}

# Alt and the menu's letter ($1), until an opened menu shows item $2: on a loaded machine the
# keys can arrive while the last menu is still closing, and be lost.
open_menu() {
  local attempt
  for attempt in 1 2; do
    focus_main "$main"
    xdotool key "alt+$1"
    for _ in $(seq 1 30); do
      grep -a -q "Tavrel menu: $2" "$e2e_dir/stderr.log" && return 0
      sleep 0.1
    done
    xdotool key Escape Escape
  done
}

# Alt+E opens Edit: nothing to undo yet.
open_menu e 'Undo (greyed)'
menu_said 'Undo (greyed)'
xdotool key Escape Escape

# A right click on the band, without moving, selects the patch and opens the context menu;
# its second item is Duplicate.
xdotool mousemove $((cx + 60)) $((cy + 5)) click 3
wait_for_output 'Tavrel menu: Duplicate (enabled)'
xdotool key Down Down Return
wait_for_output 'Tavrel surface edit: duplicated 1 patch'

# Edit's Undo now names the step.
open_menu e 'Undo Duplicate (enabled)'
menu_said 'Undo Duplicate (enabled)'
xdotool key Escape Escape

# Alt+F, then up from the bottom: Exit, Export, Import, Save As.
open_menu f 'Save As.* (enabled)'
menu_said 'Save As.* (enabled)'
xdotool key Up Up Up Up Return
answer_file_dialog "Save As" "menus.obj"
wait_for_window '^menus - Tavrel$' 20
expect_eq "saved model" "points 64 patches 5 groups 0 symmetries 0 locators 0" "$(check_model menus.obj)"
close_window "$main"
wait_for_exit 20
