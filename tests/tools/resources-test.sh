#!/usr/bin/env bash
# The built program carries its manifest (common controls 6, asInvoker, Windows 10/11,
# per-monitor DPI awareness), its icon at the sizes Windows asks for, and a version resource
# naming the product and version.
# Usage: resources-test.sh TAVREL_EXE VERSION
set -euo pipefail
exe=$1 version=$2
rc=$(x86_64-w64-mingw32-windres -i "$exe" -J coff -O rc)
fail() { echo "FAIL: $*" >&2; exit 1; }
has() { grep -qF -- "$1" <<<"$rc" || fail "$2"; }
has '1 24 /* RT_MANIFEST */' "no manifest resource"
has 'name=""Microsoft.Windows.Common-Controls"" version=""6.0.0.0""' "the manifest asks for no common controls 6"
has 'level=""asInvoker""' "the manifest does not run as invoker"
has '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' "the manifest names no Windows 10/11"
has '>PerMonitorV2</dpiAwareness>' "the manifest declares no per-monitor DPI awareness (v2)"
has '>true/pm</dpiAware>' "the manifest has no per-monitor dpiAware fallback"
! grep -qF '<activeCodePage' <<<"$rc" || fail "the manifest changes the ANSI code page names are held in"
has '1 14 /* RT_GROUP_ICON */' "no program icon"
for size in '\000\000' '\060\060' '\040\040' '\020\020'; do # 256 (written 0), 48, 32, 16
  has "\"$size\\000\\000\", 1, 32" "the icon has no picture of size $size"
done
has 'VALUE "ProductName", "Tavrel"' "the version resource names no product"
has "VALUE \"ProductVersion\", \"$version\"" "the version resource does not say $version"
has "PRODUCTVERSION ${version//./, }, 0" "the binary version is not $version"
echo "resources of $exe: manifest, icon and version $version"
