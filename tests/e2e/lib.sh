# Helpers for end-to-end runs of the real tavrel.exe under Wine, inside tools/wine-session.
# Each scenario sources this file, starts the program in a fresh working directory and checks
# only what it shows and writes.

set -uo pipefail
: "${TAVREL_EXE:?path of tavrel.exe}"
: "${TAVREL_ASSETS:?folder holding graphics/nuanceurs}"

e2e_dir=$(mktemp -d "${TMPDIR:-/tmp}/tavrel-e2e.XXXXXX")
app_pid=""
e2e_name=$(basename "$0" .sh)

# The program's Windows processes in this Wine prefix (the wine command that started one
# may end before it does).
program_pids() {
  local pid
  for pid in $(pgrep -f 'tavrel\.exe' 2>/dev/null); do
    tr '\0' '\n' < "/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=${WINEPREFIX:-}" && echo "$pid"
  done
}

cleanup() {
  if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
    kill "$app_pid" 2>/dev/null
    wait "$app_pid" 2>/dev/null
  fi
  # Nothing of this scenario may live on into the next one.
  local leftover
  leftover=$(program_pids)
  [ -n "$leftover" ] && kill -9 $leftover 2>/dev/null
  if [ "${E2E_KEEP:-0}" = 1 ]; then echo "kept $e2e_dir"; else rm -rf "$e2e_dir"; fi
}
trap cleanup EXIT

fail() {
  echo "FAIL ($e2e_name): $*" >&2
  local main
  main=$(xdotool search --limit 1 --name ' - Tavrel' 2>/dev/null | head -1)
  if [ -n "$main" ]; then
    local shot="${E2E_ARTIFACTS:-$e2e_dir}/$e2e_name-failure.png"
    mkdir -p "$(dirname "$shot")"
    import -window root "$shot" 2>/dev/null && echo "capture: $shot" >&2
  fi
  [ -f "$e2e_dir/stderr.log" ] && { echo "--- program output:" >&2; grep -a -v 'wine32 is missing\|multiarch\|dpkg --add\|apt-get install' "$e2e_dir/stderr.log" | tail -20 >&2; }
  exit 1
}

expect_eq() { # what expected seen
  [ "$2" = "$3" ] || fail "$1: expected '$2', saw '$3'"
}

# Starts the program in the working directory; session.ini content may be given.
start_app() { # [settings [program arguments...]]
  mkdir -p "$e2e_dir/work/graphics"
  cp -r "$TAVREL_ASSETS/graphics/nuanceurs" "$e2e_dir/work/graphics/"
  [ -f "$e2e_dir/work/1_earth_16k.jpg" ] || cp "$TAVREL_ASSETS/1_earth_16k.jpg" "$e2e_dir/work/"
  [ $# -gt 0 ] && printf '%s' "$1" > "$e2e_dir/work/session.ini"
  [ $# -gt 0 ] && shift
  (cd "$e2e_dir/work" && WINEDEBUG=-all,warn+debugstr exec wine "$TAVREL_EXE" "$@" \
      >"$e2e_dir/stdout.log" 2>"$e2e_dir/stderr.log") &
  app_pid=$!
}

work_file() { echo "$e2e_dir/work/$1"; }

# Waits (up to $2 seconds, default 30) for a top-level window whose name matches $1 and
# sets window_id.
# (A search can fail at once when a window closes while it looks: it is asked again.)
wait_for_window() {
  local deadline=$((SECONDS + ${2:-30}))
  window_id=""
  while [ -z "$window_id" ]; do
    window_id=$(xdotool search --limit 1 --name "$1" 2>/dev/null | head -1)
    [ -n "$window_id" ] && break
    [ $SECONDS -lt $deadline ] || fail "no window named '$1' appeared"
    sleep 0.1
  done
}

# Waits until the program has written its start-up line and sets startup_report.
wait_for_startup() {
  local deadline=$((SECONDS + ${1:-30}))
  while [ $SECONDS -lt $deadline ]; do
    startup_report=$(grep -a -o 'Tavrel start-up: [^\\]*' "$e2e_dir/stderr.log" 2>/dev/null | head -1)
    if [ -n "$startup_report" ]; then
      # Wine may make the main window's X window again while start-up attaches Direct3D to
      # its view: a window found before the report can be gone by now.
      if [ -n "${main:-}" ] && ! xwininfo -id "$main" >/dev/null 2>&1; then
        wait_for_window ' - Tavrel$' 10
        main=$window_id
      fi
      return 0
    fi
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended during start-up"
    sleep 0.1
  done
  fail "no start-up report within ${1:-30} s"
}

# Waits (up to $1 seconds) for the program to end and sets exit_status.
wait_for_exit() {
  local deadline=$((SECONDS + ${1:-20}))
  while kill -0 "$app_pid" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "the program did not end within ${1:-20} s"
    sleep 0.1
  done
  wait "$app_pid"
  exit_status=$?
  app_pid=""
}

# Waits until key $2 of section [Session] in session.ini reads $3.
wait_for_setting() {
  local key=$1 want=$2 deadline=$((SECONDS + ${3:-10})) seen=""
  while [ $SECONDS -lt $deadline ]; do
    seen=$(tr -d '\r' < "$(work_file session.ini)" 2>/dev/null | sed -n "s/^$key=//p" | head -1)
    [ "$seen" = "$want" ] && return 0
    sleep 0.1
  done
  fail "session.ini $key: expected '$want', saw '$seen'"
}

# X window holding a view's pixels: Wine draws child windows offscreen, in an unnamed window
# of the view's size under a 1×1 parent. Waits for it (it appears with the first frame) and
# sets view_id. Arguments: width, and a height or "" for any.
wait_for_view() {
  local deadline=$((SECONDS + 15))
  while [ $SECONDS -lt $deadline ]; do
    view_id=$(xwininfo -root -tree | awk -v w="$1" -v h="${2:-}" '$2 == "(has" {
      split($6, g, /[x+]/); if (g[1] == w && (h == "" || g[2] == h) && g[3] == 0) { print $1; exit } }')
    [ -n "$view_id" ] && return 0
    sleep 0.1
  done
  fail "no view window of size $1 x ${2:-any}"
}

# Colour of pixel x,y of an X window as "#RRGGBB".
pixel_of() { # window x y
  import -window "$1" png:- 2>/dev/null | convert - -crop "1x1+$2+$3" +repage -depth 8 txt:- 2>/dev/null |
    tail -1 | grep -o '#[0-9A-Fa-f]\{6\}' | head -1
}

# The main window's menu bar, as the program reports it (0 before the report).
menu_bar_height() {
  cat "$e2e_dir"/*.log 2>/dev/null | grep -a -o 'Tavrel menu bar: [0-9]*' | head -1 | grep -o '[0-9]*$' || echo 0
}

# Without a window manager the X window is the client area, and a main window's holds its
# menu bar above it: a main window's geometry is that of its client area.
geometry_of() { # window → "X Y W H"
  local menu=0
  case "$(xdotool getwindowname "$1" 2>/dev/null)" in *' - Tavrel') menu=$(menu_bar_height) ;; esac
  xwininfo -id "$1" | awk -v menu="${menu:-0}" '/Absolute upper-left X/ {x=$4}
    /Absolute upper-left Y/ {y=$4} /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y + menu, w, h - menu}'
}

# Alt+F4 to the main window; a click on the right end of its status bar (clear of the tool
# windows) first makes it the active window again. (No "mousemove --sync" in these helpers:
# xdotool waits about 15 s when the pointer is already where it is sent.)
# Gives the main window $1 the keyboard: a click on the right end of its status bar (clear of
# the tool windows), which takes it back even from a window that just closed.
focus_main() {
  local x y w h
  read -r x y w h <<<"$(geometry_of "$1")"
  xdotool mousemove $((x + w - 40)) $((y + h - 6)) click 1
  xdotool windowfocus "$1" 2>/dev/null
}

close_window() {
  local x y w h
  read -r x y w h <<<"$(geometry_of "$1")"
  xdotool mousemove $((x + w - 40)) $((y + h - 6)) click 1
  xdotool windowfocus "$1"
  xdotool key --window "$1" alt+F4
  # A document with unsaved changes asks first: this closing throws them away ("No").
  if [ -n "$(xdotool getwindowname "$1" 2>/dev/null | grep '\* - Tavrel$')" ]; then
    local box attempt
    # On a loaded machine Alt+F4 can reach the window before it is the active one again and
    # be lost: it is sent again while no question has come.
    for attempt in 1 2 3; do
      box=$(timeout 5 xdotool search --sync --limit 1 --name '^Tavrel$' 2>/dev/null | head -1)
      [ -n "$box" ] && break
      xdotool mousemove $((x + w - 40)) $((y + h - 6)) click 1
      xdotool windowfocus "$1" 2>/dev/null
      xdotool key --window "$1" alt+F4
    done
    [ -n "$box" ] || fail "closing a modified document: no question about the changes"
    xdotool windowfocus --sync "$box" 2>/dev/null
    xdotool key n
  fi
}

# Saves a picture of the editor's main window with view 0's pixels put in place (Wine keeps
# them in an offscreen window) as $E2E_ARTIFACTS/$1.
# Closes the main window (in $main) and expects the program to end within 20 s with status 0.
close_and_expect_clean_exit() {
  close_window "$main"
  wait_for_exit 20
  expect_eq "exit status" "0" "$exit_status"
}

capture_editor() { # name main-window
  local out="${E2E_ARTIFACTS:-$e2e_dir}/$1" placement
  mkdir -p "$(dirname "$out")"
  placement=$(grep -a -o 'Tavrel view 0 at [0-9,]* size [0-9x]*' "$e2e_dir/stderr.log" | tail -1)
  read -r vx vy vw vh <<<"$(echo "$placement" | sed 's/.* at \([0-9]*\),\([0-9]*\) size \([0-9]*\)x\([0-9]*\)/\1 \2 \3 \4/')"
  wait_for_view "$vw" "$vh"
  xdotool windowraise "$2" 2>/dev/null
  import -window "$2" "$e2e_dir/main.png" && import -window "$view_id" "$e2e_dir/view.png" &&
    convert "$e2e_dir/main.png" "$e2e_dir/view.png" -geometry "+$vx+$vy" -composite "$out" ||
    fail "could not capture the editor"
}

# Saves a picture of the whole screen (main window, palette, shape window) with view 0's
# pixels put in place, as $E2E_ARTIFACTS/$1.
capture_screen() { # name
  local out="${E2E_ARTIFACTS:-$e2e_dir}/$1"
  mkdir -p "$(dirname "$out")"
  wait_for_view "$view_w" "$view_h"
  import -window root "$e2e_dir/root.png" && import -window "$view_id" "$e2e_dir/view.png" &&
    convert "$e2e_dir/root.png" "$e2e_dir/view.png" -geometry "+$view_x+$view_y" -composite "$out" ||
    fail "could not capture the screen"
}

# Where view 0 lies on the screen: sets view_x, view_y (its top-left corner in root
# coordinates) and view_w, view_h, from the main window's client origin and the program's
# report of the view's placement.
locate_view() { # main-window
  local placement cx cy
  placement=$(grep -a -o 'Tavrel view 0 at [0-9,]* size [0-9x]*' "$e2e_dir/stderr.log" | tail -1)
  [ -n "$placement" ] || fail "no view placement reported"
  read -r vx vy view_w view_h <<<"$(echo "$placement" | sed 's/.* at \([0-9]*\),\([0-9]*\) size \([0-9]*\)x\([0-9]*\)/\1 \2 \3 \4/')"
  read -r cx cy _ _ <<<"$(geometry_of "$1")"
  view_x=$((cx + vx))
  view_y=$((cy + vy))
}

# Value of a key in session.ini ("" when missing).
setting() { tr -d '\r' < "$(work_file session.ini)" 2>/dev/null | sed -n "s/^$1=//p" | head -1; }

# Waits until key $1 in session.ini is within $3 of the number $2.
wait_for_number() {
  local key=$1 want=$2 tolerance=${3:-0.0001} deadline=$((SECONDS + 10)) seen=""
  while [ $SECONDS -lt $deadline ]; do
    seen=$(setting "$key")
    [ -n "$seen" ] && awk -v a="$seen" -v b="$want" -v t="$tolerance" 'BEGIN { d = a - b; exit !(d <= t && d >= -t) }' && return 0
    sleep 0.1
  done
  fail "session.ini $key: expected about $want, saw '$seen'"
}

# Waits until the program's debugger output holds a line matching $1.
wait_for_output() {
  local deadline=$((SECONDS + ${2:-10}))
  while [ $SECONDS -lt $deadline ]; do
    grep -a -q -- "$1" "$e2e_dir/stderr.log" && return 0
    sleep 0.1
  done
  fail "the program never reported '$1'"
}

# Settings that open the main window right of the palette and the shape window (which
# open at the top left): without a window manager nothing moves them, and the pointer must
# reach the view.
# Where point 0 of the default model, (1, −0.5, 0.5), shows from the start-up camera at
# (0, 0, −5), relative to the view's top left: "x y" (+x shows on the left).
default_point0() {
  awk -v w="$view_w" -v h="$view_h" 'BEGIN {
    f = 1 / 0.41421356; aspect = w / h; depth = 5.5
    nx = -(f / aspect) * 1 / depth; ny = f * -0.5 / depth
    printf "%d %d", (nx + 1) / 2 * w, (1 - ny) / 2 * h }'
}

# The tool windows where the scenarios were written for them (the palette at the top left,
# the shape window below it), and the main window to their right.
clear_of_tool_windows=$'[Windows]\r\nPaletteX=0\r\nPaletteY=0\r\nPaletteW=116\r\nPaletteH=380\r\nPaletteShown=1\r\nShapeX=0\r\nShapeY=440\r\nShapeW=680\r\nShapeH=870\r\nShapeShown=1\r\n[Session]\r\nx=700\r\ny=40\r\n'

# The shape window opens over the palette; this moves it below, out of the palette's way.
uncover_palette() {
  local id
  id=$(xdotool search --limit 1 --name '^Courbes$' 2>/dev/null | head -1)
  [ -n "$id" ] && xdotool windowmove --sync "$id" 0 440
}

# Clicks palette button $1 (buttons lie in two columns of 39 × 38 pixels below a 2-pixel
# margin, button i in column i mod 2, row i div 2). The palette is a topmost tool window,
# which Wine decorates itself: its X window holds a 4-pixel border and a 16-pixel caption.
click_palette() {
  local id px py
  id=$(xdotool search --limit 1 --name '^Palette$' | head -1)
  [ -n "$id" ] || fail "no palette window"
  read -r px py _ _ <<<"$(geometry_of "$id")"
  xdotool mousemove $((px + 4 + 19 + 39 * ($1 % 2))) $((py + 20 + 21 + 38 * ($1 / 2)))
  xdotool click 1
}

# A second editor in the same folder, with logs of its own ($e2e_dir/second.log): starts it
# and waits for its start-up report (sets second_launcher); the other waits for its end.
start_second_editor() {
  (cd "$e2e_dir/work" && WINEDEBUG=-all,warn+debugstr exec wine "$TAVREL_EXE" \
      >"$e2e_dir/second.out" 2>"$e2e_dir/second.log") &
  second_launcher=$!
  local deadline=$((SECONDS + 30))
  until grep -a -q 'Tavrel start-up:' "$e2e_dir/second.log" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "the second editor did not start"
    sleep 0.2
  done
  sleep 1
}
wait_for_second_exit() {
  local deadline=$((SECONDS + 20))
  while kill -0 "$second_launcher" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "the second editor did not end"
    sleep 0.2
  done
}

# Starts the program (settings $1, optional), waits for its main window and its start-up
# report, and finds its view: sets main, startup_report, view_x, view_y, view_w, view_h.
start_editor() {
  start_app "$@"
  wait_for_window ' - Tavrel$'
  main=$window_id
  wait_for_startup
  locate_view "$main"
}

# Clicks main toolbar button $1 (0 New, 1 Open, 2 Save; 23 pixels apart from the left of
# the client area, 12 pixels down).
click_toolbar() {
  local x y
  read -r x y _ _ <<<"$(geometry_of "$main")"
  xdotool mousemove $((x + 11 + 23 * $1)) $((y + 12)) click 1
}

# Thousandths of a 240 × 160 piece around the view's centre that meet an fx condition (a
# display's colours, measured away from the tool windows).
view_centre_share() { # fx-condition
  import -window "$view_id" png:- 2>/dev/null |
    convert - -crop 240x160+$((view_w / 2 - 120))+$((view_h / 2 - 80)) +repage \
      -fx "$1" -format '%[fx:int(1000*mean+0.5)]' info:- 2>/dev/null
}

# Share of view 0's pixels within fuzz $1 of any of the colours that follow, in tenths of a
# percent (an integer).
colour_share() { # fuzz colour...
  local fuzz=$1 opaque=()
  shift
  for colour in "$@"; do opaque+=(-opaque "$colour"); done
  wait_for_view "$view_w" "$view_h"
  import -window "$view_id" png:- 2>/dev/null |
    convert - -fuzz "$fuzz" -fill white "${opaque[@]}" -fill black +opaque white \
      -format '%[fx:int(1000*mean+0.5)]' info:- 2>/dev/null
}

# The colours of selected patches, plain and under the mouse.
selected_share() { colour_share 12% '#33FF00' '#80FF33'; }

# Waits for the program's message box ("Tavrel"), checks that its text, reported on the
# debugger output, matches the pattern $1, and accepts it with Return.
accept_message() { # pattern what-it-should-say
  wait_for_window '^Tavrel$'
  local box=$window_id
  grep -a -q -- "$1" "$e2e_dir/stderr.log" || fail "$2"
  xdotool windowfocus --sync "$box" 2>/dev/null; xdotool key --window "$box" Return
}

# Types text into the focused window. A character outside the keyboard map makes xdotool remap
# a key code for it, and on a loaded machine the key can go out before the new map is seen:
# those characters go one at a time, each with time to settle.
type_text() {
  local text=$1 ascii='' c i
  for ((i = 0; i < ${#text}; i++)); do
    c=${text:i:1}
    if [[ $c == [[:print:]] && $(printf '%s' "$c" | LC_ALL=C wc -c) -eq 1 ]]; then
      ascii+=$c
      continue
    fi
    [ -n "$ascii" ] && xdotool type --delay 20 "$ascii"
    ascii=''
    sleep 0.3
    xdotool type --delay 150 "$c"
    sleep 0.3
  done
  [ -n "$ascii" ] && xdotool type --delay 20 "$ascii"
  return 0
}

# Waits for the common file dialog titled $1, types the file name $2 and accepts it ($3
# "folder": $2 is a folder to enter, the dialog stays). file_dialog_enter holds when the
# Return that closed it was pressed ($EPOCHREALTIME).
answer_file_dialog() {
  wait_for_window "^$1\$" 20
  local dialog=$window_id
  xdotool windowfocus --sync "$dialog" 2>/dev/null
  xdotool key ctrl+a
  type_text "$2"
  # The dialog's name box completes what is typed as it goes and now and then swallows the
  # Return that follows: press it again while the dialog is still there with that name.
  local attempt
  [ "${3:-}" = folder ] && { xdotool key Return; return 0; } # entering a folder: it stays open
  for attempt in 1 2 3; do
    file_dialog_enter=$EPOCHREALTIME
    xdotool key Return
    local deadline=$((SECONDS + 3))
    while [ $SECONDS -lt $deadline ]; do
      xwininfo -id "$dialog" 2>/dev/null | grep -q 'IsViewable' || return 0
      sleep 0.2
    done
    xdotool windowfocus --sync "$dialog" 2>/dev/null
  done
}

# tavrel-obj check of a file in the working directory, as "points N patches N ...".
check_model() {
  (cd "$e2e_dir/work" && timeout 60 wine "$TAVREL_OBJ" check "$1" 2>&1) | tr -d '\r' | tr '\n' ' ' | sed 's/ $//'
}

# A grid of across × down patches sharing their edges ((3·across+1)·(3·down+1) points),
# gently curved, in the editor's own format: the size of a real model.
# Starts the program and times it from the start to the first frame shown (in shown) and to the
# start-up report (in took), waiting at most the seconds given (120).
timed_start() { # session.ini content [seconds]
  local t0=$EPOCHREALTIME
  start_app "$1"
  wait_for_output 'Tavrel first frame shown' "${2:-120}"
  shown=$(awk -v a="$t0" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f", b - a }')
  wait_for_startup "${2:-120}"
  took=$(awk -v a="$t0" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f", b - a }')
}

# With no tool (the select button again), a point hovered at x y (made hot), then dragged.
drag_a_point() { # x y [seconds]
  local x=$1 y=$2 step
  uncover_palette
  click_palette 7
  wait_for_setting Tool 0
  for step in 0 1 2 3; do xdotool mousemove $((x + step)) "$y"; sleep 0.1; done
  x=$((x + 3))
  xdotool mousedown 1
  for step in 5 10 15 20; do xdotool mousemove $((x + 1 + step)) $((y - step)); sleep 0.05; done
  xdotool mouseup 1
  wait_for_output 'Tavrel input to next frame: point drag' "${3:-30}"
}

write_grid() { # across down file
  awk -v A="$1" -v D="$2" 'BEGIN {
    cols = 3 * A + 1; rows = 3 * D + 1
    printf "cstype bezier\r\ndeg 3\r\n\r\n"
    for (r = 0; r < rows; r++) for (c = 0; c < cols; c++)
      printf "v %g %g %g\r\n", c / 3.0, 0.2 * sin(c * 0.3) * cos(r * 0.2), r / 3.0
    printf "\r\n\r\n"
    for (pr = 0; pr < D; pr++) for (pc = 0; pc < A; pc++) {
      printf "\r\nsurf 0.0 1.0 0.0 1.0"
      for (i = 0; i < 4; i++) for (j = 0; j < 4; j++) printf " %d", (3 * pr + i) * cols + 3 * pc + j
      printf "\r\nend\r\n"
    } }' > "$3"
}

# Waits for a message box ("Tavrel") that is on the screen and is not the window $1 (a box
# just answered, whose window can linger a moment), and sets window_id.
wait_for_new_box() { # [old-window]
  local deadline=$((SECONDS + 20)) id
  while [ $SECONDS -lt $deadline ]; do
    for id in $(xdotool search --name '^Tavrel$' 2>/dev/null); do
      [ "$id" = "${1:-}" ] && continue
      xwininfo -id "$id" 2>/dev/null | grep -q 'IsViewable' && { window_id=$id; return 0; }
    done
    sleep 0.1
  done
  fail "no new message box appeared"
}

# Answers the message box $1 (a window id) with key $2, pressing again while it is still
# there (a key sent while the box is still being made can be lost).
answer_box() { # window key
  local attempt wait
  for attempt in 1 2 3; do
    xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable' || return 0
    xdotool windowfocus --sync "$1" 2>/dev/null; xdotool key --window "$1" "$2"
    # Another key only when this one was surely lost: the next box may take it otherwise.
    for wait in $(seq 1 30); do
      xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable' || return 0
      sleep 0.1
    done
  done
  fail "the message box did not take the answer '$2'"
}
