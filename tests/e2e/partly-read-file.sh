#!/usr/bin/env bash
# A file the reader stops in: start-up says how much was read and where it stopped, and the
# first Save asks before replacing the file. Cancel and "save elsewhere" leave it whole;
# "replace" is the user's own choice.
source "$(dirname "$0")/lib.sh"

mkdir -p "$e2e_dir/work/models"
part="$e2e_dir/work/models/part.obj"
printf 'cstype bezier\r\ndeg 3\r\nv 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\nv 1 1 0\r\n\r\nsurf 0.0 1.0 0.0 1.0 0 1 2 3 0 1 2 3 0 1 2 3 0 1 2 3\r\nend\r\n# written by another program\r\nsurf 0.0 1.0 0.0 1.0 3 2 1 0 3 2 1 0 3 2 1 0 3 2 1 0\r\nend\r\n' > "$part"
cp "$part" "$e2e_dir/original.obj"

start_app "${clear_of_tool_windows}Tool=5"$'\r\n'$'LoadedFile=models\\part.obj\r\n'
accept_message "read only part of the model .*part.obj.*read 1 of the file's 2 patches; stopped at line 10: '# written by another program'" \
  "start-up does not say how much was read and where it stopped"
wait_for_window '^part - Tavrel$'
main=$window_id
wait_for_startup
locate_view "$main"
case "$startup_report" in *"points=4 patches=1 "*) ;; *) fail "what was read before the stop: $startup_report" ;; esac

# An edit (a locator), then Ctrl+S: the question, answered Cancel.
xdotool mousemove $((view_x + 80)) $((view_y + 80)) click 1
wait_for_window '^part\* - Tavrel$' 10
xdotool key ctrl+s
wait_for_window '^Tavrel$' 10
xdotool windowfocus --sync "$window_id" 2>/dev/null; xdotool key Escape
sleep 1
cmp -s "$part" "$e2e_dir/original.obj" || fail "Cancel changed the partly read file"
expect_eq "title after Cancel" "part* - Tavrel" "$(xdotool getwindowname "$main")"

# Again, "Yes": saved elsewhere through the dialog; the original stays whole.
xdotool key ctrl+s
wait_for_window '^Tavrel$' 10
xdotool windowfocus --sync "$window_id" 2>/dev/null; xdotool key y
answer_file_dialog "Save As" "part-edited.obj"
wait_for_window '^part-edited - Tavrel$' 20
cmp -s "$part" "$e2e_dir/original.obj" || fail "saving elsewhere changed the partly read file"
# The dialog proposed the document's own folder.
expect_eq "saved elsewhere" "points 4 patches 1 groups 0 symmetries 0 locators 1" "$(check_model 'models\part-edited.obj')"
close_and_expect_clean_exit

# tavrel-obj check says the same, with a status of its own.
(cd "$e2e_dir/work" && timeout 60 wine "$TAVREL_OBJ" check 'models\part.obj' >/dev/null 2>"$e2e_dir/check.err")
expect_eq "tavrel-obj check status" "3" "$?"
grep -q "stopped at line 10" "$e2e_dir/check.err" || fail "tavrel-obj check does not say where it stopped"
