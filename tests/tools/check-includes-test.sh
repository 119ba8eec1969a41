#!/usr/bin/env bash
# tools/check-includes passes on the real tree and fails on a copy with one include out of
# place: a platform header in a portable file, a portable file reaching a Windows header, or
# an include that runs from a lower folder up to a higher one.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$root/tools/check-includes" "$root" >/dev/null || fail "the real tree does not pass"
copy() {
  rm -rf "$dir/tree" && mkdir "$dir/tree"
  (cd "$root" && cp -r core model editor view ui graphics flight app tools bench tests "$dir/tree/")
}

copy
sed -i '1i #include <windows.h>' "$dir/tree/editor/picking.cpp"
out=$("$root/tools/check-includes" "$dir/tree" 2>&1) && fail "a platform header in editor/picking.cpp passed"
grep -q "editor/picking.cpp:1: a platform header" <<<"$out" || fail "unclear report: $out"

copy
sed -i '1i #include "ui/win32/palette.h"' "$dir/tree/model/model.cpp"
out=$("$root/tools/check-includes" "$dir/tree" 2>&1) && fail "a Windows-side header in model/model.cpp passed"
grep -q "model/model.cpp:1: includes a platform folder" <<<"$out" || fail "unclear report: $out"

copy
sed -i '1i #include "ui/win32/status-bar.h"' "$dir/tree/graphics/d3d11/renderer.cpp"
out=$("$root/tools/check-includes" "$dir/tree" 2>&1) && fail "graphics/ including ui/ passed"
grep -q "graphics/d3d11/renderer.cpp:1: includes ui/, a higher folder than graphics/" <<<"$out" ||
  fail "unclear report: $out"

copy
sed -i '1i #include "editor/document.h"' "$dir/tree/model/model.cpp"
out=$("$root/tools/check-includes" "$dir/tree" 2>&1) && fail "model/ including editor/ passed"

copy
sed -i '1i #include <d3d11.h>' "$dir/tree/graphics/d3d11/renderer.cpp" # where it belongs
"$root/tools/check-includes" "$dir/tree" >/dev/null || fail "a Direct3D header in graphics/d3d11/ was refused"
echo "check-includes: all checks passed"
