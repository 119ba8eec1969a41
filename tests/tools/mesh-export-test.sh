#!/usr/bin/env bash
# tavrel-obj export read back by independent tools: assimp reads the mesh OBJ and the STL
# with the expected counts, admesh finds a closed model's STL closed and facing outward.
# Arguments: the tool, then the closed test model.
set -uo pipefail
tool=$1
cube=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
field() { sed -n "s/^$1: *\\([0-9]*\\).*/\\1/p" | head -1; } # "Faces:   192" → 192

"$tool" default "$dir/default.obj" || fail "cannot write the default model"
for segments in 8 3; do
  "$tool" export "$dir/default.obj" "$dir/band.obj" --segments $segments 2>"$dir/err" || fail "export: $(cat "$dir/err")"
  "$tool" export "$dir/default.obj" "$dir/band.stl" --segments $segments 2>>"$dir/err" || fail "export: $(cat "$dir/err")"
  # 4 patches, 2·n² triangles each; the band's patches share their edges' vertices.
  triangles=$((4 * 2 * segments * segments))
  grep -q $'\r' "$dir/band.obj" && fail "mesh OBJ lines must end in LF alone"
  [ "$(grep -c '^f ' "$dir/band.obj")" -eq $triangles ] || fail "expected $triangles faces"
  # assimp joins corners with the same position and normal: as many as distinct v//vn pairs.
  pairs=$(awk '/^f /{for(i=2;i<=NF;i++)print $i}' "$dir/band.obj" | sort -u | wc -l)
  info=$(assimp info "$dir/band.obj" 2>&1) || fail "assimp cannot read the mesh OBJ: $info"
  [ "$(field Faces <<<"$info")" = $triangles ] || fail "assimp OBJ faces: $(field Faces <<<"$info"), expected $triangles"
  [ "$(field Vertices <<<"$info")" = "$pairs" ] || fail "assimp OBJ vertices: $(field Vertices <<<"$info"), expected $pairs"
  info=$(assimp info "$dir/band.stl" 2>&1) || fail "assimp cannot read the STL: $info"
  [ "$(field Faces <<<"$info")" = $triangles ] || fail "assimp STL faces: $(field Faces <<<"$info"), expected $triangles"
  [ "$(stat -c %s "$dir/band.stl")" -eq $((84 + 50 * triangles)) ] || fail "STL size"
done

# The closed model: no open edges, nothing degenerate, every facet facing out.
"$tool" export "$cube" "$dir/cube.stl" 2>/dev/null || fail "export of the closed model failed"
report=$(admesh "$dir/cube.stl" 2>&1) || fail "admesh failed: $report"
for line in "Total disconnected facets" "Degenerate facets" "Facets reversed" "Backwards edges" "Normals fixed" "Edges fixed"; do
  value=$(sed -n "s/^$line *: *\\([0-9]*\\).*/\\1/p" <<<"$report" | head -1)
  [ "$value" = 0 ] || fail "admesh: $line = '$value'"$'\n'"$report"
done
grep -q "Number of parts *: *1" <<<"$report" || fail "admesh: the cube is not one part"
volume=$(sed -n 's/.*Volume *: *\([0-9.]*\).*/\1/p' <<<"$report")
awk -v v="$volume" 'BEGIN { exit !(v > 7.99 && v < 8.01) }' || fail "cube volume $volume, expected 8 (outward)"

# Bad requests change nothing.
for bad in "--segments 0" "--segments 65" "--segments 2x"; do
  "$tool" export "$cube" "$dir/no.stl" $bad 2>"$dir/err"; status=$?
  [ $status -eq 2 ] || fail "'$bad' must be refused with status 2 (saw $status)"
  grep -q "1 to 64\|from 1 to 64" "$dir/err" || fail "'$bad': unclear message $(cat "$dir/err")"
done
"$tool" export "$cube" "$dir/no.ply" 2>/dev/null; [ $? -eq 2 ] || fail "an unknown extension must be refused"
mkdir "$dir/folder.stl"
"$tool" export "$cube" "$dir/folder.stl" 2>"$dir/err"; [ $? -eq 1 ] || fail "writing over a folder must fail"
cp "$cube" "$dir/model.obj" # a model, even the one read, is never replaced by its export
for out in "$dir/model.obj" "$dir/model.obj --free-form"; do
  "$tool" export "$dir/model.obj" $out 2>/dev/null; [ $? -eq 1 ] || fail "an export over a model ($out) must be refused"
done
cmp -s "$cube" "$dir/model.obj" || fail "an export replaced a model"
if [ "$(id -u)" != 0 ]; then # permissions do not stop root
  echo "keep" > "$dir/kept.stl"; chmod a-w "$dir"
  "$tool" export "$cube" "$dir/kept.stl" 2>/dev/null && fail "export into a read-only folder succeeded"
  chmod u+w "$dir"
  [ "$(cat "$dir/kept.stl")" = keep ] || fail "a failed export touched the old file"
fi
[ ! -e "$dir/no.stl" ] && [ ! -e "$dir/no.ply" ] || fail "a refused export wrote a file"
echo "mesh export: all checks passed"
