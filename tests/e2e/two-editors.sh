#!/usr/bin/env bash
# Two editors in one folder each own their recovery copy: the second does not offer the
# first one's live copy, and its own clean exit leaves the first one's copy alone. Once the
# first is killed, the next start offers its copy; "No" deletes that copy only.
source "$(dirname "$0")/lib.sh"

copies() { ls "$e2e_dir/work/recovery/"*.recovery 2>/dev/null | sort; }
wait_for_copies() { # count
  local deadline=$((SECONDS + 15))
  until [ "$(copies | wc -l)" -eq "$1" ]; do
    [ $SECONDS -lt $deadline ] || fail "expected $1 recovery copies, saw: $(copies | tr '\n' ' ')"
    sleep 0.2
  done
}

start_editor "${clear_of_tool_windows}Tool=5"$'\r\n'
first_main=$main
first_pids=$(program_pids)
xdotool mousemove $((view_x + 80)) $((view_y + 80)) click 1
wait_for_window '^Untitled\* - Tavrel$' 10
wait_for_copies 1
first_copy=$(copies)

# The second editor, in the same folder, with a log of its own.
start_second_editor
grep -a -q "Tavrel asks: Recover" "$e2e_dir/second.log" && fail "the second editor offered the first one's live copy"
second_main=$(xdotool search --name '^Untitled - Tavrel$' 2>/dev/null | grep -v "^$first_main\$" | head -1)
[ -n "$second_main" ] || fail "no main window of the second editor"
# It opens over the first: a click in its view changes its document only.
xdotool mousemove $((view_x + 120)) $((view_y + 90)) click 1
deadline=$((SECONDS + 10))
until [ "$(xdotool getwindowname "$second_main")" = "Untitled* - Tavrel" ]; do
  [ $SECONDS -lt $deadline ] || fail "the second editor's document did not change"
  sleep 0.2
done
wait_for_copies 2
# Closed without saving ("No"), it removes its own copy and nothing else.
close_window "$second_main"
wait_for_second_exit
expect_eq "the copies after the second editor's exit" "$first_copy" "$(copies)"

# The first editor killed: its copy is offered at the next start; "No" deletes it.
kill -9 $first_pids
wait_for_exit 20
start_app
wait_for_startup
wait_for_output 'Tavrel asks: Recover the unsaved changes of Untitled' 20
# (The second editor's question at its exit may linger as a window of that name.)
wait_for_new_box
box=$window_id
answer_box "$box" n
sleep 1
[ -z "$(copies)" ] || fail "the declined copy is still there: $(copies)"
wait_for_window '^Untitled - Tavrel$' 10
main=$window_id
close_and_expect_clean_exit
