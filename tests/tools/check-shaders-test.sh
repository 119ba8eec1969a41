#!/usr/bin/env bash
# The shader check passes on the real files and fails on a copy with a broken hull shader,
# a broken domain shader, or a file it has no entry points for.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

"$root/tools/check-shaders" >/dev/null || fail "the real shaders do not pass"

broken() { # $1: sed expression applied to the patch shader; $2: what must be named
  rm -rf "$dir/copy"; cp -r "$root/graphics/nuanceurs" "$dir/copy"
  sed -i "$1" "$dir/copy/tessélateur.hlsl"
  "$root/tools/check-shaders" "$dir/copy" 2>"$dir/err" >/dev/null && fail "a broken copy ($1) passed"
  grep -q "$2" "$dir/err" || fail "the failure does not name $2: $(cat "$dir/err")"
}
broken 's/InputPatch<ControlPoint, 16> patch, uint i/InputPatch<ControlPoint, 16> patch, uint i, undeclared u/' "entry HS (tesc)"
broken 's/SV_DomainLocation/SV_DomainLocation, float3 q : UNKNOWN_STAGE_INPUT_THAT_IS_FINE/; s/^SurfacePoint main(/SurfacePoint main(Missing m, /' "entry main (tese)"

rm -rf "$dir/copy"; cp -r "$root/graphics/nuanceurs" "$dir/copy"
echo "float4 PS() : SV_TARGET { return 0; }" > "$dir/copy/new.shader"
"$root/tools/check-shaders" "$dir/copy" 2>"$dir/err" >/dev/null && fail "an unlisted shader file passed"
grep -q "new.shader has no entry points" "$dir/err" || fail "unlisted file not named"
echo "check-shaders: all checks passed"
