#!/usr/bin/env bash
# A process killed outright keeps the work, and what it knew about its file: a partly read
# model is edited, the process is killed after its recovery copy, the next start offers the
# copy, and the recovered document's first Save still asks before replacing the partly read
# file (Cancel leaves it whole); saved elsewhere, the edit is in the file and the copy goes.
source "$(dirname "$0")/lib.sh"

part="$e2e_dir/work/part.obj"
mkdir -p "$e2e_dir/work"
printf 'cstype bezier\r\ndeg 3\r\nv 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\nv 1 1 0\r\n\r\nsurf 0.0 1.0 0.0 1.0 0 1 2 3 0 1 2 3 0 1 2 3 0 1 2 3\r\nend\r\n# written by another program\r\nsurf 0.0 1.0 0.0 1.0 3 2 1 0 3 2 1 0 3 2 1 0 3 2 1 0\r\nend\r\n' > "$part"
cp "$part" "$e2e_dir/original.obj"
copies() { ls "$e2e_dir/work/recovery/"*.recovery 2>/dev/null; }

start_app "${clear_of_tool_windows}Tool=5"$'\r\nLoadedFile=part.obj\r\n'
accept_message "read only part of the model .*part.obj" "start-up does not say the file was read in part"
wait_for_window '^part - Tavrel$'
main=$window_id
wait_for_startup
locate_view "$main"
xdotool mousemove $((view_x + 80)) $((view_y + 80)) click 1
wait_for_window '^part\* - Tavrel$' 10
# The first change is copied at once (then at most every 30 s), into the recovery folder.
deadline=$((SECONDS + 15))
until [ -n "$(copies)" ]; do
  [ $SECONDS -lt $deadline ] || fail "no recovery copy in the recovery folder beside session.ini"
  sleep 0.2
done
sleep 0.5
pids=$(program_pids)
[ -n "$pids" ] || fail "the program's process was not found"
kill -9 $pids
wait_for_exit 20

start_app
accept_message "read only part of the model .*part.obj" "the second start does not open the file as before"
told=$window_id
wait_for_startup
wait_for_output 'Tavrel asks: Recover'
wait_for_new_box "$told"
box=$window_id
grep -a -q 'Tavrel asks: Recover the unsaved changes of part from 20[0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9:]*?' "$e2e_dir/stderr.log" ||
  fail "the recovery copy was not offered as expected"
answer_box "$box" y
wait_for_window '^part\* - Tavrel$' 20
main=$window_id
wait_for_output 'Tavrel recovered: part from 20[0-9-]* [0-9:]*'

# The recovered document still knows its file was read in part: Ctrl+S asks; Cancel.
focus_main "$main"
xdotool key ctrl+s
wait_for_new_box "$box"
answer_box "$window_id" Escape
sleep 1
cmp -s "$part" "$e2e_dir/original.obj" || fail "the recovered document replaced its partly read file without asking"

# Saved elsewhere: the edit is there and the copy is gone.
focus_main "$main"
xdotool key ctrl+shift+s
answer_file_dialog "Save As" "recovered"
wait_for_window '^recovered - Tavrel$' 20
expect_eq "recovered model" "points 4 patches 1 groups 0 symmetries 0 locators 1" "$(check_model recovered.obj)"
[ -z "$(copies)" ] || fail "the recovery copy outlived the save"
close_and_expect_clean_exit
