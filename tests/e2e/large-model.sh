#!/usr/bin/env bash
# Models of real size: a 100 × 100 grid of patches sharing their edges (10,000 patches,
# 90,601 points) opens within a generous bound (the time is printed, with the default
# model's in the same run), a click selects a patch and its tree item expands. Then a
# 317 × 317 grid (100,489 patches, 906,304 points): when it shows, what the process holds,
# a click, a rubber band of thousands of patches deleted and undone (figures printed). Last a
# 1,000 × 1,000 grid (a million patches, 9,006,001 points): it shows, the process holds under
# 1.5 GB at most, and a click, a point drag and its undo answer (figures printed).
source "$(dirname "$0")/lib.sh"

# The resident memory of the program (VmRSS), or the most it has held (VmHWM), in MB.
resident_mb() { # [VmHWM]
  awk -v key="^${1:-VmRSS}" '$0 ~ key { printf "%.0f", $2 / 1024 }' "/proc/$(program_pids | head -1)/status"
}

# The grid's window shown: its view located, cx and cy its centre.
look_at_grid() {
  wait_for_window '^grid - Tavrel$'
  main=$window_id
  locate_view "$main"
  cx=$((view_x + view_w / 2)) cy=$((view_y + view_h / 2))
}

# Waits until the debugger output holds at least $1 reports of input to a frame for $2.
wait_for_reports() { # count what seconds
  local deadline=$((SECONDS + $3))
  until [ "$(grep -a -c "input to next frame: $2 " "$e2e_dir/stderr.log")" -ge "$1" ]; do
    [ $SECONDS -lt $deadline ] || fail "only $(grep -a -c "input to next frame: $2 " "$e2e_dir/stderr.log") reports of $2"
    sleep 0.2
  done
}

timed_start "$clear_of_tool_windows"
default_time=$took default_shown=$shown
sleep 1
default_mb=$(resident_mb)
wait_for_window ' - Tavrel$'
close_window "$window_id"
wait_for_exit 20

mkdir -p "$e2e_dir/work"
write_grid 100 100 "$e2e_dir/work/grid.obj"
timed_start "${clear_of_tool_windows}Tool=2"$'\r\n'"LoadedFile=grid.obj"$'\r\n'
grid_time=$took
inside=$(grep -a -o 'Tavrel start-up time: [^\\]*' "$e2e_dir/stderr.log" | head -1)
echo "start-up under Wine: default model ${default_time} s, 10,000 patches ${grid_time} s ($inside)"
case "$startup_report" in *"points=90601 patches=10000 "*) ;; *) fail "the grid was not read whole: $startup_report" ;; esac
awk -v t="$grid_time" 'BEGIN { exit !(t < 60) }' || fail "10,000 patches took ${grid_time} s to start"

look_at_grid
# The grid lies on the ground, seen edge-on from the start-up camera: look down on it first.
xdotool mousemove "$cx" "$cy"
xdotool keydown shift mousedown 1
for step in 20 40 60 80 100; do xdotool mousemove "$cx" $((cy + step)); done
xdotool mouseup 1 keyup shift
sleep 0.5
xdotool mousemove "$cx" "$cy" click 1
wait_for_output 'Tavrel selection (click): [0-9]' 30
wait_for_output 'Tavrel input to next frame: selection click' 30
# The toolbar's Delete (its last button, past the separators): one patch goes, the rest are
# renumbered.
read -r mx my _ _ <<<"$(geometry_of "$main")"
xdotool mousemove $((mx + 196)) $((my + 12)) click 1
wait_for_output 'Tavrel input to next frame: delete' 170

# A point dragged at its depth, inside the grid (it lies towards +x, shown on the left, and
# +z, up the view), where points are dense.
drag_a_point $((view_x + view_w / 2 - 80)) $((view_y + view_h / 2 - 40))

# The drag and the delete undone (the second makes the tree anew), the delete redone.
xdotool windowfocus --sync "$main" 2>/dev/null
xdotool key ctrl+z
wait_for_output 'Tavrel input to next frame: undo' 60
xdotool key ctrl+z
wait_for_reports 2 undo 120
xdotool key ctrl+y
wait_for_output 'Tavrel input to next frame: redo' 120

# The tree lists the patches in folders of a thousand: the first one opens (its items made
# then), and its first patch expands.
shape=$(xdotool search --limit 1 --name '^Courbes$' | head -1)
read -r sx sy _ _ <<<"$(geometry_of "$shape")"
xdotool mousemove $((sx + 40)) $((sy + 9)) click 1
xdotool key Right
wait_for_output 'Tavrel tree: folder 0 filled' 30
xdotool key Down Right
wait_for_output 'Tavrel tree: patch 0 expanded' 30

grep -a -o 'Tavrel input to next frame: [a-z ]*[0-9.]* ms' "$e2e_dir/stderr.log" | sed 's/^Tavrel /10,000 patches: /'
close_window "$main"
wait_for_exit 30
expect_eq "exit status" "0" "$exit_status"

# A hundred thousand patches, seen from above from far enough for thousands of them to show:
# the grid's corner at the view's centre, the grid up and to the left of it.
write_grid 317 317 "$e2e_dir/work/grid.obj"
mv "$e2e_dir/stderr.log" "$e2e_dir/stderr-10k.log"
timed_start "${clear_of_tool_windows}distance=3"$'\r\n'"gamma=1.2"$'\r\n'"Tool=2"$'\r\n'"LoadedFile=grid.obj"$'\r\n'
case "$startup_report" in *"points=906304 patches=100489 "*) ;; *) fail "the grid was not read whole: $startup_report" ;; esac
sleep 1
grid_mb=$(resident_mb)
inside=$(grep -a -o 'Tavrel start-up time: [^\\]*' "$e2e_dir/stderr.log" | head -1)
echo "shown under Wine: default model ${default_shown} s, 100,000 patches ${shown} s; start-up report ${took} s ($inside)"
echo "memory: default model ${default_mb} MB, 100,000 patches ${grid_mb} MB"
awk -v t="$shown" 'BEGIN { exit !(t < 60) }' || fail "100,000 patches took ${shown} s to show"

look_at_grid
xdotool mousemove $((cx - 60)) $((cy - 60)) click 1
wait_for_output 'Tavrel input to next frame: selection click' 30
# A band from the empty quarter of the view over the grid's quarter.
xdotool mousemove $((cx + view_w / 4)) $((cy + view_h / 4)) mousedown 1
for step in 1 2 3 4; do
  xdotool mousemove $((cx + view_w / 4 - step * (view_w / 4 + view_w / 2 - 8) / 4)) $((cy + view_h / 4 - step * (view_h / 4 + view_h / 2 - 8) / 4))
done
xdotool mouseup 1
wait_for_output 'Tavrel selection (box): [0-9]* patches' 30
banded=$(grep -a -o 'Tavrel selection (box): [0-9]* patches' "$e2e_dir/stderr.log" | tail -1 | grep -o '[0-9]*' | tail -1)
[ "$banded" -ge 1000 ] || fail "the band took only $banded patches"
read -r mx my _ _ <<<"$(geometry_of "$main")"
xdotool mousemove $((mx + 196)) $((my + 12)) click 1 # Delete
wait_for_output 'Tavrel input to next frame: delete' 170
xdotool windowfocus --sync "$main" 2>/dev/null
xdotool key ctrl+z
wait_for_output 'Tavrel input to next frame: undo' 120
# A point dragged, and the drag undone.
drag_a_point $((cx - 50)) $((cy - 50))
xdotool windowfocus --sync "$main" 2>/dev/null
xdotool key ctrl+z
wait_for_reports 2 undo 60
echo "100,000 patches: $banded patches in the band"
grep -a -o 'Tavrel input to next frame: [a-z ]*[0-9.]* ms' "$e2e_dir/stderr.log" | sed 's/^Tavrel /100,000 patches: /'

# Ctrl+I of the same grid written as IGES, timed from the dialog's Return to the imported
# model shown (the program's own report gives the phases). The edits above were undone, but
# a question about changes is answered No if one comes.
(cd "$e2e_dir/work" && timeout 120 wine "$TAVREL_OBJ" export grid.obj grid.igs >/dev/null 2>&1) ||
  fail "the grid could not be written as IGES"
focus_main "$main"
xdotool key ctrl+i
if xdotool getwindowname "$main" 2>/dev/null | grep -q '\* - Tavrel$'; then
  wait_for_new_box
  answer_box "$window_id" n
fi
answer_file_dialog "Open" "Z:${e2e_dir//\//\\}\\work\\grid.igs"
wait_for_output 'Tavrel import shown: ' 60
imported=$(awk -v a="$file_dialog_enter" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f", b - a }')
grep -a -q 'Tavrel imported IGES: 100489 patches' "$e2e_dir/stderr.log" ||
  fail "the IGES grid was not imported whole"
inside=$(grep -a -o 'Tavrel import shown: [^\\]*' "$e2e_dir/stderr.log" | tail -1)
echo "100,000 patches: Ctrl+I of IGES shown ${imported} s after the dialog's Return ($inside)"
awk -v t="$imported" 'BEGIN { exit !(t < 10) }' || fail "the IGES import took ${imported} s to show"
close_window "$main"
wait_for_exit 60
expect_eq "exit status" "0" "$exit_status"

# A million patches.
write_grid 1000 1000 "$e2e_dir/work/grid.obj"
mv "$e2e_dir/stderr.log" "$e2e_dir/stderr-100k.log"
timed_start "${clear_of_tool_windows}distance=3"$'\r\n'"gamma=1.2"$'\r\n'"Tool=2"$'\r\n'"LoadedFile=grid.obj"$'\r\n' 170
case "$startup_report" in *"points=9006001 patches=1000000 "*) ;; *) fail "the grid was not read whole: $startup_report" ;; esac
echo "shown under Wine: default model ${default_shown} s, 1,000,000 patches ${shown} s ($(grep -a -o 'Tavrel start-up time: [^\\]*' "$e2e_dir/stderr.log" | head -1))"
look_at_grid
xdotool mousemove $((cx - 60)) $((cy - 60)) click 1
wait_for_output 'Tavrel input to next frame: selection click' 60
drag_a_point $((cx - 50)) $((cy - 50)) 60
xdotool windowfocus --sync "$main" 2>/dev/null
xdotool key ctrl+z
wait_for_output 'Tavrel input to next frame: undo' 60
held=$(resident_mb VmHWM)
echo "1,000,000 patches: the process held at most $held MB"
grep -a -o 'Tavrel input to next frame: [a-z ]*[0-9.]* ms' "$e2e_dir/stderr.log" | sed 's/^Tavrel /1,000,000 patches: /'
[ "$held" -lt 1536 ] || fail "a million patches took $held MB"
close_window "$main"
wait_for_exit 60
expect_eq "exit status" "0" "$exit_status"
