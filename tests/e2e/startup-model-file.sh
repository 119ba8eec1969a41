#!/usr/bin/env bash
# Start-up opens the remembered model file: a good one is loaded and names the window, a
# missing or refused one says which file and why and leaves an untitled document (the
# built-in model) whose first Save asks for a name.
source "$(dirname "$0")/lib.sh"

mkdir -p "$e2e_dir/work/models"
printf 'cstype bezier\r\ndeg 3\r\nv 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\nv 1 1 0\r\n\r\ng wing\r\nsurf 0.0 1.0 0.0 1.0 0 1 2 3 0 1 2 3 0 1 2 3 0 1 2 3\r\nend\r\nsurf 0.0 1.0 0.0 1.0 3 2 1 0 3 2 1 0 3 2 1 0 3 2 1 0\r\n' \
  > "$e2e_dir/work/models/wing.obj"

start_app $'[Session]\r\nLoadedFile=models\\wing.obj\r\n'
wait_for_window '^wing - Tavrel$'
main=$window_id
wait_for_startup
case "$startup_report" in *"points=4 patches=2 "*) ;; *) fail "wing.obj not loaded: $startup_report" ;; esac
close_and_expect_clean_exit

start_app $'[Session]\r\nLoadedFile=C:\\nowhere\\missing.obj\r\n'
accept_message 'could not open the model .*missing.obj.*: the file is not there' "a missing file is not reported"
wait_for_window '^Untitled - Tavrel$'
main=$window_id
wait_for_startup
case "$startup_report" in *"points=48 patches=4 "*"LoadedFile=<>"*) ;; *) fail "a missing file must leave an untitled built-in model: $startup_report" ;; esac
close_and_expect_clean_exit

printf 'cstype bezier\r\ndeg 3\r\nv 0 0 0\r\nsurf 0.0 1.0 0.0 1.0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 5\r\n' > "$e2e_dir/work/models/broken.obj"
start_app $'[Session]\r\nLoadedFile=models\\broken.obj\r\n'
accept_message 'could not open the model .*broken.obj.*uses point 5' "the refusal does not say which file and why"
wait_for_window '^Untitled - Tavrel$'
main=$window_id
wait_for_startup
case "$startup_report" in *"points=48 patches=4 "*"LoadedFile=<>"*) ;; *) fail "a refused file must leave an untitled built-in model: $startup_report" ;; esac
expect_eq "the remembered file" 'models\broken.obj' "$(setting LoadedFile)"
close_and_expect_clean_exit
