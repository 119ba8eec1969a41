#!/usr/bin/env bash
# tavrel-obj check and cat on good, bad and missing files. Argument: the tool (and, for the
# Windows build, the emulator before it).
set -uo pipefail
tool=("$@")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

printf 'cstype bezier\ndeg 3\nv 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nsymmetry S 0 0 0 0 0 0 0 0\n g S surf 0 1 0 1 0 1 2 3 0 1 2 3 0 1 2 3 0 1 2 3\ng plain m 0.5 surf 0 1 0 1 0 1 2 3 0 1 2 3 0 1 2 3 0 1 2 3\nlocator L 0 0 0 1 0 0 0 1\n' > "$dir/good.obj"

out=$("${tool[@]}" check "$dir/good.obj" | tr -d '\r') || fail "check of a good file failed"
expected=$'points 4\npatches 2\ngroups 1\nsymmetries 1\nlocators 1'
[ "$out" = "$expected" ] || fail "check: expected '$expected', saw '$out'"

"${tool[@]}" cat "$dir/good.obj" > "$dir/cat.obj" || fail "cat to stdout failed"
"${tool[@]}" cat "$dir/good.obj" "$dir/out.obj" || fail "cat to a file failed"
cmp -s "$dir/cat.obj" "$dir/out.obj" || fail "cat to stdout and to a file differ"
head -c 15 "$dir/out.obj" | od -c | grep -q '\\r  \\n' || fail "lines do not end in CR LF"
grep -q $'^m 0.5\r$' "$dir/out.obj" || fail "opacity line missing"
grep -q $'^L\r$' "$dir/out.obj" || fail "locator name lost"
# Normalised output is a fixed point.
"${tool[@]}" cat "$dir/out.obj" "$dir/again.obj" && cmp -s "$dir/out.obj" "$dir/again.obj" || fail "cat is not stable"

printf 'cstype bezier\ndeg 3\nv 0 0 0\nsurf 0 1 0 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 7\n' > "$dir/bad.obj"
err=$("${tool[@]}" check "$dir/bad.obj" 2>&1 >/dev/null)
[ $? -eq 1 ] || fail "check of a bad file did not fail"
case "$err" in *bad.obj*"point 7"*) ;; *) fail "check: unclear error '$err'" ;; esac

# Partly read: the counts of what was read, where it stopped, and a status of its own.
printf 'cstype bezier\ndeg 3\nv 0 0 0\nsurf 0 1 0 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n# note\nsurf 0 1 0 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n' > "$dir/part.obj"
out=$("${tool[@]}" check "$dir/part.obj" 2>"$dir/err" | tr -d '\r'); status=$?
[ $status -eq 3 ] || fail "check of a partly read file: status $status, expected 3"
case "$out" in *"patches 1"*) ;; *) fail "check of a partly read file: '$out'" ;; esac
grep -q "read 1 of the file's 2 patches; stopped at line 5: '# note'" "$dir/err" || fail "no stop warning: $(cat "$dir/err")"

"${tool[@]}" check "$dir/missing.obj" >/dev/null 2>&1 && fail "check of a missing file succeeded"
"${tool[@]}" frobnicate >/dev/null 2>&1; [ $? -eq 2 ] || fail "bad usage must exit 2"

# Import: a standard free-form file (1-based and relative indices, v/vt references, parm,
# end, an object name) becomes a file of the editor's own format that check reads whole.
{
  printf 'cstype bezier\ndeg 3 3\no lid\n'
  for r in 0 1 2 3; do for c in 0 1 2 3 4 5 6; do printf 'v %s %s 0\n' "$c" "$r"; done; done
  printf 'vt 0 0\nsurf 0 1 0 1'
  for r in 0 1 2 3; do for c in 1 2 3 4; do printf ' %s' $((7 * r + c)); done; done
  printf '\nparm u 0 1\nparm v 0 1\nend\nsurf 0 1 0 1'
  for r in 0 1 2 3; do for c in 4 5 6 7; do printf ' %s/1' $((7 * r + c - 29)); done; done
  printf '\nend\n'
} > "$dir/standard.obj"
"${tool[@]}" import "$dir/standard.obj" "$dir/imported.obj" 2>"$dir/err" || fail "import failed: $(cat "$dir/err")"
out=$("${tool[@]}" check "$dir/imported.obj" | tr -d '\r')
expected=$'points 28\npatches 2\ngroups 1\nsymmetries 0\nlocators 0'
[ "$out" = "$expected" ] || fail "imported: expected '$expected', saw '$out'"
out=$(cd "$dir" && "${tool[@]}" import standard.obj --check 2>/dev/null | tr -d '\r')
[ "$out" = "$expected" ] && [ ! -e "$dir/--check" ] || fail "import --check: saw '$out'"
printf 'cstype rat bezier\ndeg 3 3\nv 0 0 0\nsurf 0 1 0 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n' > "$dir/rational.obj"
err=$("${tool[@]}" import "$dir/rational.obj" "$dir/no.obj" 2>&1 >/dev/null); status=$?
[ $status -eq 1 ] || fail "a rational surface must be refused (status $status)"
case "$err" in *"line 4: 'surf"*"'cstype rat bezier' (line 1)"*) ;; *) fail "import: unclear refusal '$err'" ;; esac
[ ! -e "$dir/no.obj" ] || fail "a refused import wrote a file"

# Each command says which one reads a file of the other kind; a count that does not match
# the patches is a partial read; the rounding of six digits is reported.
err=$("${tool[@]}" import "$dir/imported.obj" "$dir/no.obj" 2>&1 >/dev/null); status=$?
[ $status -eq 1 ] && case "$err" in *"'tavrel-obj check'"*) ;; *) false ;; esac ||
  fail "import of the editor's own format: status $status, '$err'"
printf 'cstype bezier\ndeg 3 3\nv 0 0 0\nsurf 0 1 0 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n' > "$dir/standard.obj"
err=$("${tool[@]}" check "$dir/standard.obj" 2>&1 >/dev/null); status=$?
[ $status -eq 1 ] && case "$err" in *"'tavrel-obj import'"*) ;; *) false ;; esac ||
  fail "check of a standard file: status $status, '$err'"
{ echo 2; echo 3 3; for k in $(seq 0 15); do echo "$((k % 4)) $((k / 4)) 1234.5678"; done; } > "$dir/short.bpt"
err=$("${tool[@]}" import "$dir/short.bpt" "$dir/short.obj" 2>&1 >/dev/null); status=$?
[ $status -eq 3 ] || fail "a count above the patches must be a partial read (status $status)"
case "$err" in *"at most 0.00"*) ;; *) fail "import: no rounding report in '$err'" ;; esac
case "$err" in *"read 1 of the 2 patches"*) ;; *) fail "import: no partial report in '$err'" ;; esac
# The teapot's rows collapsed at its knob's tip and its bottom are poles, not joins.
"${tool[@]}" import "$(dirname "$0")/../data/teapot.bpt" "$dir/teapot.obj" 2>/dev/null ||
  fail "the teapot's import failed"
out=$("${tool[@]}" joins "$dir/teapot.obj" | head -1 | tr -d '\r')
case "$out" in "shared 52, free 16, poles 8, "*) ;; *) fail "the teapot's joins: '$out'" ;; esac
# Every join tangent-continuous at least; curvature has no value at the 8 poles' 17 samples.
kinds=$("${tool[@]}" joins "$dir/teapot.obj" | tail -n +2 | awk '{print $4}' | sort | uniq -c | tr -s ' \r\n' ' ')
[ "$kinds" = " 20 G1 32 G2 " ] || fail "the teapot's joins by kind: '$kinds'"
out=$("${tool[@]}" curvature "$dir/teapot.obj" | head -1 | tr -d '\r')
case "$out" in "patches 32, "*"samples without curvature 136") ;; *) fail "curvature: '$out'" ;; esac
echo "tavrel-obj: all checks passed"
