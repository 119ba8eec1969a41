#!/usr/bin/env bash
# Remembered values: start-up reads them, moving and resizing write the new geometry, and a
# second start puts the window back where the first one left it.
source "$(dirname "$0")/lib.sh"

start_app $'[Session]\r\nx=40\r\ny=50\r\nw=900\r\nh=650\r\nCurrentView=2\r\nTool=4\r\ngrid=7\r\nloc=1\r\ndistance=-1\r\ntheta=0.5\r\ngamma=-0.25\r\noffset.x=1.5\r\n[Tool]\r\nSelectedPatches=3;x;1;\r\n'
wait_for_window ' - Tavrel'
main=$window_id
wait_for_startup
case "$startup_report" in
  *"CurrentView=2 Tool=4 grid=1 loc=1 distance=-1 offset=1.500000,0.000000,0.000000 theta=0.500000 gamma=-0.250000 points=48 patches=4 selected=1;3 "*) ;;
  *) fail "start-up report: expected the remembered values, saw: $startup_report" ;;
esac
expect_eq "geometry from session.ini" "40 50 900 650" "$(geometry_of "$main")"

# The X window holds the menu bar above the client area.
menu=$(menu_bar_height)
xdotool windowmove --sync "$main" 200 $((150 - menu))
wait_for_setting x 200
wait_for_setting y 150
xdotool windowsize --sync "$main" 800 $((600 + menu))
wait_for_setting w 800
wait_for_setting h 600

close_and_expect_clean_exit

# The next start comes back at the same place and size.
start_app
wait_for_window ' - Tavrel'
main=$window_id
wait_for_startup
expect_eq "geometry at the next start" "200 150 800 600" "$(geometry_of "$main")"
close_and_expect_clean_exit
