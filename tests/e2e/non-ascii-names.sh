#!/usr/bin/env bash
# A file name outside ASCII (modèle’s.obj: ’ is not Latin-1) saves through Save As, is
# remembered and opens again; a dialog that visits another folder leaves session.ini where
# the program started.
source "$(dirname "$0")/lib.sh"

name='modèle’s'
start_editor "${clear_of_tool_windows}Tool=5"$'\r\n'
xdotool mousemove $((view_x + 80)) $((view_y + 80)) click 1
wait_for_window '^Untitled\* - Tavrel$' 10
xdotool key --window "$main" ctrl+shift+s
answer_file_dialog "Save As" "$name.obj"
wait_for_window "^$name - Tavrel\$" 20
[ -f "$(work_file "$name.obj")" ] || fail "no file named $name.obj: $(ls "$e2e_dir/work")"
[ ! -e "$(work_file "$name.obj.tmp")" ] || fail "the temporary file was left behind"
expect_eq "saved model" "points 48 patches 4 groups 0 symmetries 0 locators 1" "$(check_model "$name.obj")"

# Open a model in a folder of its own through the real dialog, then change a setting.
mkdir -p "$e2e_dir/work/other"
cp "$(work_file "$name.obj")" "$e2e_dir/work/other/elsewhere.obj"
xdotool key --window "$main" ctrl+o
answer_file_dialog "Open" "other" folder
sleep 1
answer_file_dialog "Open" "elsewhere.obj"
wait_for_window '^elsewhere - Tavrel$' 20
framed=$(setting distance) # the opened model is framed
xdotool mousemove $((view_x + view_w / 2)) $((view_y + view_h / 2)) click 1
xdotool click 5
wait_for_setting distance $((framed + 1))
[ ! -e "$e2e_dir/work/other/session.ini" ] || fail "a setting was written into the dialog's folder"
close_window "$main"
wait_for_exit 20

# Open the non-ASCII name again by starting on it.
printf '[Session]\r\nx=700\r\ny=40\r\nLoadedFile=%s\r\n' "$(printf '%s' "$name.obj" | iconv -f UTF-8 -t CP1252)" > "$(work_file session.ini)"
start_app
wait_for_window "^$name - Tavrel\$"
main=$window_id
wait_for_startup
case "$startup_report" in *"points=48 patches=4 "*"Locator_0>"*) ;; *) fail "$name.obj did not open again: $startup_report" ;; esac
close_and_expect_clean_exit
