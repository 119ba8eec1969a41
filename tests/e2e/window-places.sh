#!/usr/bin/env bash
# Tool windows where the user left them: a first start with no settings lays the palette,
# the shape window and the main window side by side without overlap; the tool windows moved
# with real input come back where they were left at the next start.
source "$(dirname "$0")/lib.sh"

rect() { geometry_of "$1"; } # x y w h of the client area
overlaps() { # "x y w h" "x y w h"
  local a b
  read -r -a a <<<"$1"
  read -r -a b <<<"$2"
  [ "${a[0]}" -lt $((b[0] + b[2])) ] && [ "${b[0]}" -lt $((a[0] + a[2])) ] &&
    [ "${a[1]}" -lt $((b[1] + b[3])) ] && [ "${b[1]}" -lt $((a[1] + a[3])) ]
}

start_editor
wait_for_output 'Tavrel windows: '
palette=$(xdotool search --limit 1 --name '^Palette$' | head -1)
shape=$(xdotool search --limit 1 --name '^Courbes$' | head -1)
p=$(rect "$palette") s=$(rect "$shape") m=$(rect "$main")
! overlaps "$p" "$s" || fail "first start: palette ($p) and shape window ($s) overlap"
! overlaps "$s" "$m" || fail "first start: shape window ($s) and main window ($m) overlap"
! overlaps "$p" "$m" || fail "first start: palette ($p) and main window ($m) overlap"
read -r _ _ _ sh <<<"$s"
read -r _ screen_h <<<"$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')"
[ "$sh" -le "$screen_h" ] || fail "the shape window ($sh high) does not fit the screen ($screen_h)"
capture_screen first-start.png

# Moved by the user.
xdotool windowmove --sync "$palette" 300 500
xdotool windowmove --sync "$shape" 420 60
wait_for_setting PaletteX 300 # the window's outer place, which Wine's X window matches here
moved_palette=$(rect "$palette") moved_shape=$(rect "$shape")
close_and_expect_clean_exit

start_app
wait_for_window ' - Tavrel$'
main=$window_id
wait_for_startup
wait_for_output 'Tavrel windows: '
palette=$(xdotool search --limit 1 --name '^Palette$' | head -1)
shape=$(xdotool search --limit 1 --name '^Courbes$' | head -1)
expect_eq "palette at the next start" "$moved_palette" "$(rect "$palette")"
expect_eq "shape window at the next start" "$moved_shape" "$(rect "$shape")"
close_and_expect_clean_exit
