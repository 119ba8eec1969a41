#!/usr/bin/env bash
# Names typed without an extension: Save As writes "wing.obj", and an export typed as "wing"
# is asked about by the dialog (it sees the real name) and then by the editor (it is the
# document's own file); "No" leaves the model whole.
source "$(dirname "$0")/lib.sh"

start_editor "$clear_of_tool_windows"
xdotool windowfocus --sync "$main" 2>/dev/null
xdotool key ctrl+shift+s
answer_file_dialog "Save As" "wing"
wait_for_window '^wing - Tavrel$' 20
wing=$(find "$e2e_dir/work" -name 'wing*' | head -1)
expect_eq "the saved file's name" "wing.obj" "$(basename "$wing")"
cp "$wing" "$e2e_dir/saved.obj"

# Ctrl+E, "wing": the dialog's own question names wing.obj (it is a second window "Export").
xdotool key ctrl+e
wait_for_window '^Export$' 20
dialog=$window_id
xdotool windowfocus --sync "$dialog" 2>/dev/null
xdotool key ctrl+a
xdotool type --delay 20 "wing"
xdotool key Return
deadline=$((SECONDS + 10)) overwrite=""
while [ -z "$overwrite" ]; do
  [ $SECONDS -lt $deadline ] || fail "the export dialog did not ask before replacing wing.obj"
  overwrite=$(xdotool search --name '^Export$' 2>/dev/null | grep -v "^$dialog\$" | head -1)
  sleep 0.2
done
answer_box "$overwrite" y
# Then the editor's own question: the file is the model being edited. "No".
wait_for_output "Tavrel asks: .*wing\.obj.* is the file of the model you are editing"
wait_for_new_box
box=$window_id
answer_box "$box" n
sleep 1
cmp -s "$wing" "$e2e_dir/saved.obj" || { ls -la "$e2e_dir/work" >&2; diff "$wing" "$e2e_dir/saved.obj" | head -5 >&2; fail "the export replaced the model without the user's yes"; }
grep -a -q "Tavrel exported" "$e2e_dir/stderr.log" && fail "an export was written"
expect_eq "the model" "points 48 patches 4 groups 0 symmetries 0 locators 0" "$(check_model wing.obj)"
close_and_expect_clean_exit
