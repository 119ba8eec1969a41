#!/usr/bin/env bash
# Export from the editor: Ctrl+E, the real save dialog, a mesh OBJ and an STL that assimp
# reads with the band's counts, and IGES surfaces that OpenCASCADE's DRAW reads; the document
# stays untitled and unmodified. Then a save and a STEP export, each said in the status bar.
source "$(dirname "$0")/lib.sh"

start_editor "$clear_of_tool_windows"
xdotool windowfocus --sync "$main" 2>/dev/null
for name in band.obj band.stl; do
  xdotool key ctrl+e
  answer_file_dialog "Export" "$name"
  wait_for_output "Tavrel exported .*$name: 512 triangles" 20
done
expect_eq "title after exporting" "Untitled - Tavrel" "$(xdotool getwindowname "$main")"
obj=$(find "$e2e_dir/work" -name band.obj | head -1)
stl=$(find "$e2e_dir/work" -name band.stl | head -1)
[ -n "$obj" ] && [ -n "$stl" ] || fail "the exported files are not in the dialog's folder"
info=$(assimp info "$obj" 2>&1) || fail "assimp cannot read the exported OBJ: $info"
grep -q "^Faces: *512" <<<"$info" || fail "assimp OBJ: $info"
info=$(assimp info "$stl" 2>&1) || fail "assimp cannot read the exported STL: $info"
grep -q "^Faces: *512" <<<"$info" || fail "assimp STL: $info"
# The exact surfaces: a name ending in .igs writes IGES whatever the filter, and DRAW reads
# its four faces.
xdotool key ctrl+e
answer_file_dialog "Export" "band.igs"
wait_for_output "Tavrel exported .*band.igs: 4 surfaces" 20
igs=$(find "$e2e_dir/work" -name band.igs | head -1)
printf 'pload MODELING DATAEXCHANGE\nigesread %s shape *\nputs "faces: [llength [explode shape f]]"\nexit\n' \
  "$igs" > "$e2e_dir/read.tcl"
faces=$(timeout 120 occt-draw-7.6 -b -f "$e2e_dir/read.tcl" 2>&1 | sed -n 's/^faces: //p')
expect_eq "faces DRAW reads in the editor's IGES" "4" "$faces"
# Save, then an export: each says so in the status bar (its line also on the debugger).
wait_for_output "Tavrel status: Exported band.igs: 4 surfaces"
xdotool key ctrl+s
answer_file_dialog "Save As" "band-saved.obj"
wait_for_output "Tavrel status: Saved band-saved.obj" 20
xdotool key ctrl+e
answer_file_dialog "Export" "band.stp"
wait_for_output "Tavrel status: Exported band.stp: 4 surfaces" 20
close_and_expect_clean_exit
