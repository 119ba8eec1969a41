#!/usr/bin/env bash
# LoadedFile names a file that is not there (a drive not yet attached): start-up says so and
# starts untitled; when the file is back, Ctrl+S asks for a name instead of writing over it,
# and LoadedFile keeps its name.
source "$(dirname "$0")/lib.sh"

start_app "${clear_of_tool_windows}Tool=5"$'\r\nLoadedFile=away.obj\r\n'
accept_message "could not open the model .*away\.obj.*: the file is not there" \
  "start-up does not say the file is missing"
wait_for_window '^Untitled - Tavrel$' 20
main=$window_id
wait_for_startup
locate_view "$main"

# The file comes back; an edit and Ctrl+S must not write over it.
(cd "$e2e_dir/work" && timeout 60 wine "$TAVREL_OBJ" default away.obj >/dev/null 2>&1)
cp "$(work_file away.obj)" "$e2e_dir/away.obj"
xdotool mousemove $((view_x + 80)) $((view_y + 80)) click 1
wait_for_window '^Untitled\* - Tavrel$' 10
xdotool key ctrl+s
wait_for_window '^Save As$' 20
answer_box "$window_id" Escape
sleep 1
cmp -s "$(work_file away.obj)" "$e2e_dir/away.obj" || fail "Ctrl+S wrote over the file that came back"
expect_eq "LoadedFile" "away.obj" "$(setting LoadedFile)"
close_and_expect_clean_exit
