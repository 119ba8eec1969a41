#!/usr/bin/env bash
# The exact exports read by an independent CAD kernel (OpenCASCADE's DRAW): for the built-in
# band, a closed cube of patches and a band with a symmetry, each IGES and STEP file gives one
# valid face a surface (patches and mirror images), and every face at (u, v) in 0.1, 0.5, 0.9
# is where Tavrel's own evaluation of its patch puts it, within 1e-6 of the model's size.
# The free-form OBJ export is read back by Tavrel's import to the same surfaces. The other
# way: DRAW writes a bicubic B-spline surface with interior knots as IGES and STEP, Tavrel
# imports each as its six Bezier patches, and these match DRAW's evaluation of the surface
# (within 2e-5 of its size: the editor's files keep six significant digits), and a face on part
# of it imports as the same patches from either format, reversed too. DRAW's own
# rational STEP surfaces: equal weights import, unequal ones are refused naming the entity, and
# a file with planes and a cylinder is refused counting them; a compound's face moved is refused.
# An export to a file name longer
# than the IGES global section's line reads back at its size. The teapot's exported faces sew
# into its 4 shells whose only free edges are the teapot's own 6 openings.
# Usage: cad-export-test.sh TAVREL_OBJ CUBE_OBJ
set -euo pipefail
tool=$1 cube=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL (cad-export): $*" >&2; exit 1; }
command -v occt-draw-7.6 >/dev/null || fail "occt-draw-7.6 is missing (Debian package occt-draw)"

"$tool" default "$work/band.obj" 2>/dev/null
cp "$cube" "$work/cube.obj"
# The band with its first two patches in a symmetry.
awk '{ sub(/\r$/, "") } /^surf/ && ++n <= 2 { print "g Sym_0\r" } { print $0 "\r" }
     /^v / { v = 1 } v && /^$/ && !done { print "symmetry Sym_0 0 0 0 0 0 0 0 0\r"; done = 1 }' \
  "$work/band.obj" > "$work/mirrored.obj"
"$tool" check "$work/mirrored.obj" | grep -q '^symmetries 1$' || fail "the test model has no symmetry"

draw_samples() { # format file: one line of nine points per face, then the checks
  local read
  case $1 in
    iges) read="igesread $2 shape *" ;;
    step) read="stepread $2 s *; renamevar s_1 shape" ;;
  esac
  cat > "$work/read.tcl" <<TCL
pload MODELING DATAEXCHANGE
$read
puts "check: [checkshape shape]"
set faces [explode shape f]
puts "faces: [llength \$faces]"
foreach f \$faces {
  mksurface srf \$f
  set line ""
  foreach v {0.1 0.5 0.9} {
    foreach u {0.1 0.5 0.9} {
      svalue srf \$u \$v x y z
      append line "[dval x] [dval y] [dval z] "
    }
  }
  puts "face: \$line"
}
exit
TCL
  (cd "$work" && timeout 120 occt-draw-7.6 -b -f read.tcl 2>&1)
}

for model in band cube mirrored; do
  "$tool" samples "$work/$model.obj" > "$work/$model.samples"
  surfaces=$(grep -c '' "$work/$model.samples")
  size=$(awk '{ for (i = 1; i <= NF; ++i) { a = $i < 0 ? -$i : $i; if (a > m) m = a } } END { print m }' "$work/$model.samples")
  for format in iges step; do
    ext=$([ $format = iges ] && echo igs || echo step)
    "$tool" export "$work/$model.obj" "$work/$model.$ext" 2>/dev/null || fail "$model: no $format export"
    draw_samples $format "$model.$ext" > "$work/$model.$format.log"
    grep -q '^check: This shape seems to be valid' "$work/$model.$format.log" ||
      fail "$model.$ext: checkshape: $(grep -a '^check' "$work/$model.$format.log")"
    faces=$(sed -n 's/^faces: //p' "$work/$model.$format.log")
    [ "$faces" = "$surfaces" ] || fail "$model.$ext: DRAW read $faces faces, the model has $surfaces surfaces"
    sed -n 's/^face: //p' "$work/$model.$format.log" > "$work/$model.$format.faces"
    paste -d'|' "$work/$model.samples" "$work/$model.$format.faces" | awk -F'|' -v tol="$size" -v name="$model.$ext" '{
      n = split($1, a, " "); split($2, b, " ")
      for (i = 1; i <= n; ++i) { d = a[i] - b[i]; if (d < 0) d = -d
        if (d > 1e-6 * tol) { printf "%s: face %d, value %d: Tavrel %s, DRAW %s\n", name, NR, i, a[i], b[i]; bad = 1; exit 1 } }
    } END { exit bad }' || fail "the surfaces differ"
  done
  # Free-form OBJ: Tavrel's own import reads the same surfaces back.
  "$tool" export "$work/$model.obj" "$work/$model.ff.obj" --free-form 2>/dev/null
  "$tool" import "$work/$model.ff.obj" "$work/$model.back.obj" >/dev/null 2>&1 || fail "$model: the free-form OBJ does not import"
  "$tool" samples "$work/$model.back.obj" > "$work/$model.back.samples"
  if [ "$model" = mirrored ]; then
    # The mirror images come back as patches of their own: the same surfaces, in one list.
    sort "$work/$model.samples" > "$work/a"; sort "$work/$model.back.samples" > "$work/b"
  else
    cp "$work/$model.samples" "$work/a"; cp "$work/$model.back.samples" "$work/b"
  fi
  paste -d'|' "$work/a" "$work/b" | awk -F'|' -v tol="$size" '{ n = split($1, a, " "); split($2, b, " ")
    if (n == 0 || split($2, c, " ") != n) exit 1
    for (i = 1; i <= n; ++i) { d = a[i] - b[i]; if (d < 0) d = -d; if (d > 1e-6 * tol) exit 1 } }' ||
    fail "$model: the free-form OBJ reads back to other surfaces"
  echo "cad-export: $model: $surfaces surfaces exact in IGES, STEP and free-form OBJ"
done

# DRAW's surface (surface.tcl, also cut for the part face below): knots 0 (4), 0.4, 1 (4)
# along u and 0 (4), 0.5, 0.7, 1 (4) along v; its value at each imported patch's nine
# parameters, the patches by v span, then u span.
cat > "$work/surface.tcl" <<'TCL'
bsplinesurf s 3 3 0 4 0.4 1 1 4 3 4 0 4 0.5 1 0.7 1 1 4 \
  0 0 0 1  0 1 0.2 1  0 2 0 1  0 3 0.1 1  0 4 0 1  0 5 0.3 1 \
  1 0 0.5 1  1 1 0.7 1  1 2 0.2 1  1 3 0.9 1  1 4 0.1 1  1 5 0 1 \
  2 0 0 1  2 1 1.1 1  2 2 0.4 1  2 3 0.2 1  2 4 0.8 1  2 5 0.1 1 \
  3 0 0.3 1  3 1 0 1  3 2 0.9 1  3 3 0.4 1  3 4 0.2 1  3 5 0.6 1 \
  4 0 0 1  4 1 0.2 1  4 2 0.1 1  4 3 0 1  4 4 0.5 1  4 5 0 1
TCL
cat > "$work/made.tcl" <<'TCL'
pload MODELING DATAEXCHANGE
source surface.tcl
mkface f s
brepiges f drawn.igs
stepwrite a f drawn.step
foreach vspan {{0 0.5} {0.5 0.7} {0.7 1}} {
  foreach uspan {{0 0.4} {0.4 1}} {
    set line ""
    foreach lv {0.1 0.5 0.9} {
      foreach lu {0.1 0.5 0.9} {
        set u [expr {[lindex $uspan 0] + $lu * ([lindex $uspan 1] - [lindex $uspan 0])}]
        set v [expr {[lindex $vspan 0] + $lv * ([lindex $vspan 1] - [lindex $vspan 0])}]
        svalue s $u $v x y z
        append line "[dval x] [dval y] [dval z] "
      }
    }
    puts "patch: $line"
  }
}
exit
TCL
(cd "$work" && timeout 120 occt-draw-7.6 -b -f made.tcl 2>&1) | sed -n 's/^patch: //p' > "$work/drawn.samples"
[ "$(grep -c '' "$work/drawn.samples")" = 6 ] || fail "DRAW did not evaluate its surface"
for file in drawn.igs drawn.step; do
  "$tool" import "$work/$file" "$work/$file.obj" 2>"$work/$file.log" || fail "$file: $(cat "$work/$file.log")"
  "$tool" samples "$work/$file.obj" > "$work/$file.samples"
  paste -d'|' "$work/drawn.samples" "$work/$file.samples" | awk -F'|' -v name="$file" '{
    n = split($1, a, " "); if (split($2, b, " ") != n) { print name ": patch " NR " missing"; exit 1 }
    for (i = 1; i <= n; ++i) { d = a[i] - b[i]; if (d < 0) d = -d
      if (d > 2e-5 * 3.5) { printf "%s: patch %d, value %d: DRAW %s, Tavrel %s\n", name, NR, i, a[i], b[i]; exit 1 } }
  } END { if (NR != 6) { print name ": " NR " patches"; exit 1 } }' || fail "the imported surface differs"
  echo "cad-export: DRAW's $file imported as its 6 patches"
done

# A face on part of DRAW's surface (across its interior knots): IGES gives the part as the
# surface's range, STEP as the face's edges along constant u and v; both import the same
# patches.
cat > "$work/part.tcl" <<'TCL'
pload MODELING DATAEXCHANGE
source surface.tcl
mkface part s 0.1 0.7 0.2 0.9
brepiges part part.igs
stepwrite a part part.step
orientation part R
brepiges part reversed.igs
stepwrite a part reversed.step
exit
TCL
(cd "$work" && timeout 120 occt-draw-7.6 -b -f part.tcl >/dev/null 2>&1) || fail "DRAW did not write its part face"
for part in part reversed; do # reversed, the face runs its u back in both formats
  for file in $part.igs $part.step; do
    "$tool" import "$work/$file" "$work/$file.obj" 2>"$work/$file.log" || fail "$file: $(cat "$work/$file.log")"
    grep -q ', 6 patches, .* 1 surfaces cut to their parameter range' "$work/$file.log" || fail "$file: $(cat "$work/$file.log")"
    "$tool" samples "$work/$file.obj" | sort > "$work/$file.samples"
  done
  paste -d'|' "$work/$part.igs.samples" "$work/$part.step.samples" | awk -F'|' '{
    n = split($1, a, " "); if (split($2, b, " ") != n) exit 1
    for (i = 1; i <= n; ++i) { d = a[i] - b[i]; if (d < 0) d = -d; if (d > 1e-6 * 3.5) exit 1 } }' ||
    fail "the $part face imports differently from IGES and STEP"
done
echo "cad-export: DRAW's face on part of its surface imported as the same 6 patches from IGES and STEP"

# DRAW's rational surfaces. Weights equal to fifteen digits are written as a rational surface
# whose weights all read 1 (OpenCASCADE calls a surface rational when its weights differ at
# all); a weight of 3 makes it rational indeed; a plane face and a cylinder make a mixed file.
draw_write() { # file surface-weight extra-shapes
  cat > "$work/write.tcl" <<TCL
pload MODELING DATAEXCHANGE
bsplinesurf s 3 2 0 4 1 4 3 2 0 4 1 4 \
  0 0 0 1  0 1 0.2 1  0 2 0 1  0 3 0.1 1  1 0 0.5 1  1 1 0.7 $2  1 2 0.2 1  1 3 0.9 1 \
  2 0 0 1  2 1 1.1 1  2 2 0.4 1  2 3 0.2 1  3 0 0.3 1  3 1 0 1  3 2 0.9 1  3 3 0.4 1
mkface f s
mkface still s
mkface moved s
ttranslate moved 5 0 0
plane pl 0 0 5 0 0 1
mkface fpl pl 0 1 0 1
pcylinder cy 1 2
compound f $3 all
stepwrite a all $1
exit
TCL
  (cd "$work" && timeout 120 occt-draw-7.6 -b -f write.tcl >/dev/null 2>&1) || fail "DRAW did not write $1"
}
draw_write equal.step 1.0000000000000004 ""
draw_write unequal.step 3 ""
draw_write mixed.step 1 "fpl cy"
grep -q 'RATIONAL_B_SPLINE_SURFACE' "$work/equal.step" || fail "DRAW wrote no rational surface"
"$tool" import "$work/equal.step" "$work/equal.obj" 2>"$work/equal.log" || fail "equal.step: $(cat "$work/equal.log")"
"$tool" check "$work/equal.obj" | grep -q '^patches 1$' || fail "equal.step: not its one patch"
if "$tool" import "$work/unequal.step" "$work/unequal.obj" 2>"$work/unequal.log"; then fail "unequal.step imported"; fi
grep -Eq '#[0-9]+ is rational' "$work/unequal.log" || fail "unequal.step: $(cat "$work/unequal.log")"
if "$tool" import "$work/mixed.step" "$work/mixed.obj" 2>"$work/mixed.log"; then fail "mixed.step imported"; fi
grep -q 'holds 4 surfaces of other kinds (1 CYLINDRICAL_SURFACE, 3 PLANE)' "$work/mixed.log" ||
  fail "mixed.step: $(cat "$work/mixed.log")"
echo "cad-export: DRAW's rational STEP surfaces: equal weights imported, unequal refused, other kinds counted"
# A compound is an assembly placing each face: a face moved is refused, not put where it was made.
draw_write still.step 1 still && draw_write moved.step 1 moved
"$tool" import "$work/still.step" "$work/still.obj" 2>/dev/null || fail "still.step does not import"
if "$tool" import "$work/moved.step" "$work/moved.obj" 2>"$work/moved.log"; then fail "moved.step imported"; fi
grep -q 'is an ITEM_DEFINED_TRANSFORMATION that moves' "$work/moved.log" || fail "moved.step: $(cat "$work/moved.log")"

# A file name past the IGES global section's 72 columns: DRAW reads the model at its size (the
# units follow the name), in IGES and STEP.
long=$(printf 'a-file-name-long-enough-to-run-past-the-global-section-line-%s' 0123456789)
for ext in igs step; do
  "$tool" export "$work/band.obj" "$work/$long.$ext" 2>/dev/null || fail "no export to a long name"
  cat > "$work/size.tcl" <<TCL
pload MODELING DATAEXCHANGE
$([ $ext = igs ] && echo "igesread $long.$ext shape *" || echo "stepread $long.$ext s *; renamevar s_1 shape")
puts "box: [bounding shape]"
exit
TCL
  box=$(cd "$work" && timeout 120 occt-draw-7.6 -b -f size.tcl 2>&1 | sed -n 's/^box: //p')
  awk -v box="$box" '{ for (i = 1; i <= NF; ++i) { a = $i < 0 ? -$i : $i; if (a > m) m = a } }
    END { n = split(box, b, " "); for (i = 1; i <= n; ++i) { a = b[i] < 0 ? -b[i] : b[i]; if (a > d) d = a }
          if (n != 6 || d < 0.9 * m || d > 1.25 * m) { print "size " d " for a model of " m; exit 1 } }' \
    "$work/band.samples" || fail "$long.$ext reads at another size ($box)"
done
echo "cad-export: a ${#long}-character file name reads back at the model's size"

# The teapot sewn: 4 shells (body, lid, handle, spout), free only at its 6 openings: the
# body's and the lid's rims, the handle's and the spout's two ends each. Each opening by its
# bounding box to two decimals.
teapot=$(dirname "$0")/../data/teapot.bpt
if [ -f "$teapot" ]; then
  "$tool" import "$teapot" "$work/teapot.obj" 2>/dev/null || fail "the teapot does not import"
  expected='-1.60 -0.27 2.02 -1.50 0.27 2.25
-2.00 -0.27 0.60 -1.90 0.27 0.90
1.70 -0.60 0.60 1.70 0.60 1.43
2.80 -0.15 2.40 3.20 0.15 2.40
-1.30 -1.30 2.40 1.30 1.30 2.40
-1.40 -1.40 2.40 1.40 1.40 2.40'
  for ext in igs step; do
    "$tool" export "$work/teapot.obj" "$work/teapot.$ext" 2>/dev/null || fail "no teapot.$ext"
    cat > "$work/sew.tcl" <<TCL
pload MODELING DATAEXCHANGE
$([ $ext = igs ] && echo "igesread teapot.$ext t *" || echo "stepread teapot.$ext s *; renamevar s_1 t")
sewing r 1e-4 t
puts "shells: [llength [explode r Sh]]"
freebounds r 1e-4
foreach w [explode r_c W] { puts "free: [bounding \$w]" }
exit
TCL
    (cd "$work" && timeout 120 occt-draw-7.6 -b -f sew.tcl 2>&1) > "$work/sew.$ext.log"
    grep -q '^shells: 4$' "$work/sew.$ext.log" || fail "teapot.$ext sews into $(grep '^shells' "$work/sew.$ext.log")"
    openings=$(sed -n 's/^free: //p' "$work/sew.$ext.log" |
      awk '{ printf "%.2f %.2f %.2f %.2f %.2f %.2f\n", $1, $2, $3, $4, $5, $6 }' | sed 's/-0\.00/0.00/g' | sort)
    [ "$openings" = "$(echo "$expected" | sort)" ] || fail "teapot.$ext is free at: $openings"
  done
  echo "cad-export: the teapot sews into 4 shells open only at its 6 openings, from IGES and STEP"
else
  fail "the teapot data (tests/data/teapot.bpt) is missing"
fi
