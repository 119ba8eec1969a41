#!/usr/bin/env bash
# Two builds of the tool must import alike: `tavrel-obj import IN --check` and `import IN OUT`
# give the same standard output, messages, exit status and written file, byte for byte, for
# every file of tests/data and the fuzz corpora, STEP files that read the sheets' text in
# awkward ways (bench/step-variants.py, on a sheet of 3 × 3 patches read on one core and one of
# 40 × 40 read on two), and the files in SHEETS (the import figures' sheets) when given.
# Usage: bench/import-compare.sh BEFORE-TOOL AFTER-TOOL WORKDIR [SHEETS]
set -euo pipefail
before=$(realpath "$1") after=$(realpath "$2") work=$3 sheets=${4:-}
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$work/a" "$work/b" "$work/variants"
work=$(realpath "$work")

grid() { # across down file: the end-to-end scenarios' sheet
  awk -v A="$1" -v D="$2" 'BEGIN {
    cols = 3 * A + 1; rows = 3 * D + 1
    printf "cstype bezier\r\ndeg 3\r\n\r\n"
    for (r = 0; r < rows; r++) for (c = 0; c < cols; c++)
      printf "v %g %g %g\r\n", c / 3.0, 0.2 * sin(c * 0.3) * cos(r * 0.2), r / 3.0
    for (pr = 0; pr < D; pr++) for (pc = 0; pc < A; pc++) {
      printf "\r\nsurf 0.0 1.0 0.0 1.0"
      for (i = 0; i < 4; i++) for (j = 0; j < 4; j++) printf " %d", (3 * pr + i) * cols + 3 * pc + j
      printf "\r\nend\r\n"
    } }' >"$3"
}
for side in 3 40; do
  grid "$side" "$side" "$work/grid$side.obj"
  rm -f "$work/grid$side.stp"
  "$before" export "$work/grid$side.obj" "$work/grid$side.stp" 2>/dev/null
  python3 "$root/bench/step-variants.py" "$work/grid$side.stp" "$work/variants/$side"
done

files=("$root"/tests/data/* "$root"/tests/fuzz/corpus/* "$root"/tests/fuzz/import-corpus/*
       "$work"/variants/*/*)
[ -n "$sheets" ] && files+=("$sheets"/*)
same=0 differ=0
for file in "${files[@]}"; do
  for mode in --check out.obj; do
    for side in a b; do
      tool=$before; [ $side = b ] && tool=$after
      rm -f "$work/$side/out.obj"
      (cd "$work/$side" || exit
       set +e
       "$tool" import "$file" "$mode" >stdout 2>stderr
       echo $? >status)
    done
    if cmp -s "$work/a/stdout" "$work/b/stdout" && cmp -s "$work/a/stderr" "$work/b/stderr" &&
       cmp -s "$work/a/status" "$work/b/status" &&
       { [ ! -e "$work/a/out.obj" ] && [ ! -e "$work/b/out.obj" ] ||
         cmp -s "$work/a/out.obj" "$work/b/out.obj"; }; then
      same=$((same + 1))
    else
      differ=$((differ + 1))
      echo "DIFFERENT: import $file $mode"
      diff "$work/a/stderr" "$work/b/stderr" | head -5 || true
    fi
  done
done
echo "$same runs alike, $differ different (${#files[@]} files, --check and written)"
[ "$differ" -eq 0 ]
