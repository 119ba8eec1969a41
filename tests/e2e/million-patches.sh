#!/usr/bin/env bash
# A million patches: a 1,000 × 1,000 grid (9,006,001 points) opens and shows, the process
# holds under 1.5 GB, and a click, a point drag and its undo answer. The times are printed
# beside the default model's start in the same run; the bounds are generous, as Wine on this
# kind of machine wanders.
source "$(dirname "$0")/lib.sh"

# The most the program has held, in MB.
peak_mb() {
  awk '/^VmHWM/ { printf "%.0f", $2 / 1024 }' "/proc/$(program_pids | head -1)/status"
}

timed_start "$clear_of_tool_windows" 170
default_shown=$shown
wait_for_window ' - Tavrel$'
close_window "$window_id"
wait_for_exit 20

write_grid 1000 1000 "$e2e_dir/work/grid.obj"
timed_start "${clear_of_tool_windows}distance=3"$'\r\n'"gamma=1.2"$'\r\n'"Tool=2"$'\r\n'"LoadedFile=grid.obj"$'\r\n' 170
case "$startup_report" in *"points=9006001 patches=1000000 "*) ;; *) fail "the grid was not read whole: $startup_report" ;; esac
echo "shown under Wine: default model ${default_shown} s, 1,000,000 patches ${shown} s ($(grep -a -o 'Tavrel start-up time: [^\\]*' "$e2e_dir/stderr.log" | head -1))"
awk -v t="$shown" 'BEGIN { exit !(t < 120) }' || fail "a million patches took ${shown} s to show"

wait_for_window '^grid - Tavrel$'
main=$window_id
locate_view "$main"
cx=$((view_x + view_w / 2)) cy=$((view_y + view_h / 2))
xdotool mousemove $((cx - 60)) $((cy - 60)) click 1
wait_for_output 'Tavrel input to next frame: selection click' 60
# A point dragged at its depth, and the drag undone.
drag_a_point $((cx - 50)) $((cy - 50)) 60
xdotool windowfocus --sync "$main" 2>/dev/null
xdotool key ctrl+z
wait_for_output 'Tavrel input to next frame: undo' 60
held=$(peak_mb)
echo "1,000,000 patches: the process held at most $held MB"
grep -a -o 'Tavrel input to next frame: [a-z ]*[0-9.]* ms' "$e2e_dir/stderr.log" | sed 's/^Tavrel /1,000,000 patches: /'
[ "$held" -lt 1536 ] || fail "a million patches took $held MB"
close_window "$main"
wait_for_exit 60
expect_eq "exit status" "0" "$exit_status"
