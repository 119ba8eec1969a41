#!/usr/bin/env bash
# A document of the user's saved as "recovery.obj" beside session.ini (the old copy's name)
# stays after the save and after a clean exit, and the next start does not offer it.
source "$(dirname "$0")/lib.sh"

start_editor "${clear_of_tool_windows}Tool=5"$'\r\n'
xdotool mousemove $((view_x + 80)) $((view_y + 80)) click 1
wait_for_window '^Untitled\* - Tavrel$' 10
sleep 1 # the editor's own copy is written at the first change
xdotool key ctrl+s
answer_file_dialog "Save As" "Z:$(echo "$e2e_dir/work" | tr '/' '\\')\\recovery.obj"
wait_for_window '^recovery - Tavrel$' 20
sleep 1
[ -f "$(work_file recovery.obj)" ] || fail "the saved recovery.obj was deleted after the save"
close_and_expect_clean_exit
[ -f "$(work_file recovery.obj)" ] || fail "the clean exit deleted the user's recovery.obj"

start_app # the same settings: the document is the user's recovery.obj
wait_for_window '^recovery - Tavrel$'
main=$window_id
wait_for_startup
sleep 2
grep -a -q "Tavrel asks: Recover" "$e2e_dir/stderr.log" && fail "the user's recovery.obj was offered as a recovery copy"
[ -f "$(work_file recovery.obj)" ] || fail "the user's recovery.obj is gone"
close_and_expect_clean_exit
