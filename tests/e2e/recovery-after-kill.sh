#!/usr/bin/env bash
# A process killed outright keeps the work: edit, wait for the recovery copy, SIGKILL, start
# again, recover, save, and find the edit in the saved file.
source "$(dirname "$0")/lib.sh"

start_editor "${clear_of_tool_windows}Tool=5"$'\r\n'
xdotool mousemove $((view_x + 80)) $((view_y + 80)) click 1
wait_for_window '^Untitled\* - Tavrel$' 10
# The first change is copied at once (then at most every 30 s).
deadline=$((SECONDS + 15))
until [ -f "$(work_file recovery.obj)" ]; do
  [ $SECONDS -lt $deadline ] || fail "no recovery copy beside session.ini"
  sleep 0.2
done
sleep 0.5
pids=$(program_pids)
[ -n "$pids" ] || fail "the program's process was not found"
kill -9 $pids
wait_for_exit 20

start_app
wait_for_window '^Tavrel$' 30
box=$window_id
wait_for_startup
grep -a -q 'Tavrel asks: Recover the unsaved changes of Untitled from 20[0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9:]*?' "$e2e_dir/stderr.log" ||
  fail "the recovery copy was not offered as expected"
xdotool windowfocus --sync "$box" 2>/dev/null; xdotool key y
wait_for_window '^Untitled\* - Tavrel$' 20
main=$window_id
wait_for_output 'Tavrel recovered: Untitled from 20[0-9-]* [0-9:]*'

xdotool key --window "$main" ctrl+s
answer_file_dialog "Save As" "recovered.obj"
wait_for_window '^recovered - Tavrel$' 20
expect_eq "recovered model" "points 48 patches 4 groups 0 symmetries 0 locators 1" "$(check_model recovered.obj)"
[ ! -f "$(work_file recovery.obj)" ] || fail "the recovery copy outlived the save"
close_and_expect_clean_exit
