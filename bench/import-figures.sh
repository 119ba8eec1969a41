#!/usr/bin/env bash
# The import figures: `tavrel-obj check` of the editor's own file beside `tavrel-obj import` of
# the same sheet as free-form OBJ, IGES, STEP and Bezier patch text, for two builds of the tool
# run back to back (best wall time of three runs, the least processor time, user and system, in
# brackets, as other work on the machine lengthens wall times; the peak resident memory): the import
# alone (`import IN --check`, the reading check is measured against), then with the editor's
# file written.
# Usage: bench/import-figures.sh DIR BEFORE-TOOL AFTER-TOOL (both knowing `import IN --check`)
# DIR holds own10k.obj, own100k.obj and, made from them, ff*.obj (export --free-form),
# s*.igs, s*.stp and p*.bpt (the patch text).
set -euo pipefail
dir=$1 before=$2 after=$3
cd "$dir"
best() { # tool args... : prints "seconds (processor seconds), MB" of three runs
  local run wall cpu kb best_s="" best_cpu="" best_mb=""
  for run in 1 2 3; do
    read -r wall cpu kb < <(/usr/bin/time -f "%e %U %S %M" "$@" 2>&1 >/dev/null | tail -1 |
      awk '{ print $1, $2 + $3, $4 }')
    if [ -z "$best_s" ] || awk -v a="$wall" -v b="$best_s" 'BEGIN { exit !(a < b) }'; then
      best_s=$wall best_mb=$((kb / 1024))
    fi
    if [ -z "$best_cpu" ] || awk -v a="$cpu" -v b="$best_cpu" 'BEGIN { exit !(a < b) }'; then
      best_cpu=$cpu
    fi
  done
  echo "$best_s s ($best_cpu s), $best_mb MB"
}
printf '| sheet | file | before | after |\n|---|---|---|---|\n'
for n in 10k 100k; do
  printf '| %s | check own%s.obj | %s | %s |\n' "$n" "$n" \
    "$(best "$before" check "own$n.obj")" "$(best "$after" check "own$n.obj")"
  for f in "ff$n.obj" "s$n.igs" "s$n.stp" "p$n.bpt"; do
    printf '| %s | import %s --check | %s | %s |\n' "$n" "$f" \
      "$(best "$before" import "$f" --check)" "$(best "$after" import "$f" --check)"
  done
  for f in "ff$n.obj" "s$n.igs" "s$n.stp" "p$n.bpt"; do
    printf '| %s | import %s | %s | %s |\n' "$n" "$f" \
      "$(best "$before" import "$f" out.obj)" "$(best "$after" import "$f" out.obj)"
  done
done
rm -f out.obj
