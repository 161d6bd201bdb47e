#!/usr/bin/env bash
# Times the metrics differential (-wx) of two baselines of a whole tree.
#
# What it does:
#   1. unpacks the Linux 6.1 source of Debian's linux-source-6.1 once into
#      the cache directory (as bench/run_bench.sh does); when that package
#      cannot be had offline, generates a synthetic tree of WORKDIFF_FILES
#      C files instead;
#   2. builds a release vek in <repo>/build-bench;
#   3. creates a baseline of every *.c and *.h file of the tree
#      (vek -w"create tree" -r"c,h tree");
#   4. changes WORKDIFF_CHANGED files (a function appended to each), removes
#      a tenth as many and adds as many new ones, creates the second
#      baseline, and puts the tree back as it was (also when interrupted);
#   5. times vek -wx over the two work files WORKDIFF_RUNS times in text and
#      XML, report to /dev/null, and prints the median wall and CPU times
#      with the record counts and the state summary of the differential.
#
# Usage:
#   bench/run_workdiff.sh
#
# Environment:
#   WORKDIFF_RUNS     timed runs per format (default 5)
#   WORKDIFF_CHANGED  files changed before the second baseline (default 300)
#   WORKDIFF_FILES    files of the synthetic tree (default 55000)
#   WORKDIFF_SYNTHETIC=1  use the synthetic tree even when the real one exists
#   WORKDIFF_KEEP=dir     keep the two work files and the reports in dir
#   BENCH_CACHE, BENCH_BUILD as for bench/run_bench.sh
#
# The target: under 1 second for two work files of about 55,000 records.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
cache=${BENCH_CACHE:-$top/bench/.cache}
build=${BENCH_BUILD:-$top/build-bench}
runs=${WORKDIFF_RUNS:-5}
changed=${WORKDIFF_CHANGED:-300}
synthetic_files=${WORKDIFF_FILES:-55000}
note() { printf '%s\n' "$*" >&2; }
die() { note "run_workdiff: $*"; exit 1; }
# shellcheck source=bench/lib.sh
. "$top/bench/lib.sh"

mkdir -p "$cache"
work=$(mktemp -d "$cache/workdiff.XXXXXX")
backup=$work/backup
mkdir -p "$backup"
changed_list=$work/changed.lst
added_list=$work/added.lst
: >"$changed_list"
: >"$added_list"

# Puts every changed or removed file back and removes the added ones.
restore() {
  if [ -s "$changed_list" ]; then
    while IFS= read -r f; do
      cp -p "$backup/$(printf '%s' "$f" | md5sum | cut -c1-32)" "$f"
    done <"$changed_list"
  fi
  if [ -s "$added_list" ]; then
    while IFS= read -r f; do rm -f "$f"; done <"$added_list"
  fi
  : >"$changed_list"
  : >"$added_list"
}
finish() {
  restore
  if [ -n "${WORKDIFF_KEEP:-}" ]; then
    mkdir -p "$WORKDIFF_KEEP" && cp "$work"/*.dat "$work"/*.txt "$WORKDIFF_KEEP"/ 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap finish EXIT

make_synthetic_tree() {
  tree=$cache/workdiff-synthetic
  if [ -f "$tree/.complete-$synthetic_files" ]; then return; fi
  note "== generating a synthetic tree of $synthetic_files files in $tree"
  rm -rf "$tree"
  mkdir -p "$tree"
  local i dir
  for ((i = 0; i < synthetic_files; i++)); do
    dir=$tree/d$((i / 500))/s$((i % 7))
    [ -d "$dir" ] || mkdir -p "$dir"
    printf '/* file %d */\n#include <stdio.h>\n\nint f%d(int a, int b)\n{\n  if (a > b) return a;\n  return b + %d;\n}\n' \
      "$i" "$i" "$((i % 97))" >"$dir/file$i.c"
  done
  touch "$tree/.complete-$synthetic_files"
}

if [ "${WORKDIFF_SYNTHETIC:-0}" != 1 ] && { [ -f "$tarball" ] || [ -f "$cache/.unpacked" ]; }; then
  unpack_tree
else
  make_synthetic_tree
fi
build_vek

old=$work/old.dat
new=$work/new.dat
note "== first baseline of $tree"
start=$(date +%s.%N)
(cd "$work" && "$vek" -w"File dat $old" -w"create $tree" -r"c,h $tree" >/dev/null 2>&1) ||
  die "the first baseline failed"
end=$(date +%s.%N)
records=$(($(wc -l <"$old") - 6))
note "   $records records in $(echo "$end - $start" | bc) s"

note "== changing $changed files, removing $((changed / 10)), adding $((changed / 10))"
mapfile -t sources < <(tail -n +7 "$old" | sed 's/| .*//' | grep '\.c$' |
                       awk -v n="$changed" 'NR % 97 == 0 && c < n { print; c++ }')
removed=0
for rel in "${sources[@]}"; do
  f=$tree/$rel
  [ -f "$f" ] || continue
  cp -p "$f" "$backup/$(printf '%s' "$f" | md5sum | cut -c1-32)"
  printf '%s\n' "$f" >>"$changed_list"
  if [ $removed -lt $((changed / 10)) ]; then
    rm "$f"
    removed=$((removed + 1))
    printf 'int workdiff_added_%d(void)\n{\n  return %d;\n}\n' "$removed" "$removed" \
      >"${f%.c}_workdiff_added.c"
    printf '%s\n' "${f%.c}_workdiff_added.c" >>"$added_list"
  else
    printf '\nint workdiff_extra(int a)\n{\n  if (a)\n    return a * 2;\n  return 0;\n}\n' >>"$f"
  fi
done

note "== second baseline"
(cd "$work" && SOURCE_DATE_EPOCH=$(( $(date +%s) + 7 * 86400 )) \
   "$vek" -w"File dat $new" -w"create $tree" -r"c,h $tree" >/dev/null 2>&1) ||
  die "the second baseline failed"
restore

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
# Prints "wall cpu" medians in seconds; CPU is user + system time, which a
# busy machine disturbs less than the wall time.
time_diff() {
  local i start end walls=() cpus=()
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s.%N)
    (cd "$work" && /usr/bin/time -f '%U %S' -o "$work/cpu.txt" \
       "$vek" "$@" -w"x $old, $new" >/dev/null 2>&1) || true
    end=$(date +%s.%N)
    walls+=("$(echo "$end - $start" | bc)")
    cpus+=("$(awk '{ print $1 + $2 }' "$work/cpu.txt")")
  done
  printf '%s %s\n' "$(printf '%s\n' "${walls[@]}" | median)" \
    "$(printf '%s\n' "${cpus[@]}" | median)"
}

note "== timing -wx ($runs runs each)"
read -r text_wall text_cpu < <(time_diff -wp)
read -r xml_wall xml_cpu < <(time_diff -X -wp)
(cd "$work" && "$vek" -Tw -w"x $old, $new") >"$work/summary.txt" 2>&1 || true

printf 'tree: %s\n' "$tree"
printf 'older work file: %d records, newer work file: %d records\n' \
  "$records" "$(($(wc -l <"$new") - 6))"
printf 'vek -wx, text: %.3f s wall, %.3f s CPU (medians of %d)\n' \
  "$text_wall" "$text_cpu" "$runs"
printf 'vek -wx, XML : %.3f s wall, %.3f s CPU (medians of %d)\n' \
  "$xml_wall" "$xml_cpu" "$runs"
printf 'load average: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
sed -n '/Source Metrics Differential Profile/,/^$/p' "$work/summary.txt" |
  grep -E '^  (State|New|Rem|Mod|Equ)' || true
if [ "$(echo "$text_cpu < 1" | bc)" = 1 ]; then
  echo "target met: the differential takes under 1 s of CPU time"
else
  echo "target missed: the differential takes 1 s of CPU time or more"
fi
