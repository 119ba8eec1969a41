#!/usr/bin/env bash
# A reference picture with real input: Ctrl+R in the front view (orthographic) chooses a
# picture, which shows behind the model (its colour around the model, the model's red over
# it); it is remembered in session.ini and shown again at the next start; a picture that
# cannot be read is said and left out.
source "$(dirname "$0")/lib.sh"

# The picture's colour at half and at 0.4 opacity over the black background.
picture_share() { colour_share 5% 'rgb(0,100,128)' 'rgb(0,80,102)'; }
red_share() { colour_share 10% '#FF0000'; }
start_editor "${clear_of_tool_windows}CurrentView=4"$'\r\n'
convert -size 96x48 xc:'rgb(0,200,255)' "$(work_file drawing.png)" || fail "no picture made"
[ "$(picture_share)" -lt 5 ] || fail "a picture shows before one was chosen"
focus_main "$main"
xdotool key --window "$main" ctrl+r
answer_file_dialog "Open" "drawing.png"
wait_for_output 'Tavrel reference picture: .*drawing.png.* behind the model'
grep -a -q '^File=.*drawing.png' "$(work_file session.ini)" || fail "session.ini does not name the picture"
sleep 1
capture_editor reference-picture.png "$main"
shown=$(picture_share) red=$(red_share)
[ "$shown" -ge 100 ] || fail "the picture covers ${shown}/1000 of the view"
[ "$red" -ge 30 ] || fail "the model over the picture covers ${red}/1000 of the view"
# Fainter with Ctrl+Shift+Page Down: remembered as it changes.
xdotool key --window "$main" ctrl+shift+Next
wait_for_setting Opacity 0.400000
close_and_expect_clean_exit

# The next start shows it again, where it was.
start_editor
sleep 1
[ "$(picture_share)" -ge 50 ] || fail "the remembered picture is not shown at the next start"
close_and_expect_clean_exit

# A picture that is gone is said and left out; the editor works on.
rm "$(work_file drawing.png)"
start_editor
wait_for_output 'Tavrel reference picture: .*drawing.png.* cannot be shown'
close_and_expect_clean_exit
