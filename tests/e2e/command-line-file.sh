#!/usr/bin/env bash
# A file named on the command line opens as Open opens it (a name with spaces and letters
# outside ASCII too; a second one given is said and left), another program's model is imported untitled and modified, and a
# missing one is said and leaves the built-in model untitled.
source "$(dirname "$0")/lib.sh"

mkdir -p "$e2e_dir/work/my models"
printf 'cstype bezier\r\ndeg 3\r\nv 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\nv 1 1 0\r\n\r\ng wing\r\nsurf 0.0 1.0 0.0 1.0 0 1 2 3 0 1 2 3 0 1 2 3 0 1 2 3\r\nend\r\nsurf 0.0 1.0 0.0 1.0 3 2 1 0 3 2 1 0 3 2 1 0 3 2 1 0\r\n' \
  > "$e2e_dir/work/my models/a wing é.obj"
start_app $'[Session]\r\n' 'my models\a wing é.obj' 'band.obj'
accept_message 'opens one model at a time: only .*a wing .*obj.* was opened; the 1 other file given with it was left as it is' \
  "a second file given is not said"
wait_for_window '^a wing é - Tavrel$'
main=$window_id
wait_for_startup
case "$startup_report" in *"points=4 patches=2 "*) ;; *) fail "the file given was not opened: $startup_report" ;; esac
close_and_expect_clean_exit

(cd "$e2e_dir/work" && timeout 60 wine "$TAVREL_OBJ" default band.obj >/dev/null 2>&1 &&
  timeout 60 wine "$TAVREL_OBJ" export band.obj band.stp >/dev/null 2>&1) || fail "no STEP file made"
start_app $'[Session]\r\n' 'band.stp'
wait_for_window '^Untitled\* - Tavrel$'
main=$window_id
wait_for_startup
case "$startup_report" in *"patches=4 "*) ;; *) fail "the STEP file given was not imported: $startup_report" ;; esac
close_and_expect_clean_exit

start_app $'[Session]\r\n' 'C:\nowhere\gone.obj'
accept_message 'could not open the model .*gone.obj.*: the file is not there' "a missing file given is not said"
wait_for_window '^Untitled - Tavrel$'
main=$window_id
wait_for_startup
case "$startup_report" in *"points=48 patches=4 "*) ;; *) fail "a missing file must leave the built-in model: $startup_report" ;; esac
close_and_expect_clean_exit
