#!/usr/bin/env bash
# Times the code differential (-wd -wx) against diff -r over the same trees.
#
# What it does:
#   1. unpacks the Linux 6.1 source once (as bench/run_bench.sh does) and
#      builds a release vek in <repo>/build-bench;
#   2. copies the benchmark's *.c files (kernel, mm, fs/ext4, net/ipv4, lib:
#      about 1,140 files) into two trees, old/ and new/, and edits every
#      CODEDIFF_EVERY-th file of new/ (default 10): in each, every 40th line
#      is removed, every 53rd is changed and a line is added after every
#      67th, so the edits spread over the whole file;
#   3. makes a baseline with line data of each tree, untimed:
#        vek -wd -w"File dat old.dat" -w"create old" -F old.lst   (and new)
#   4. runs CODEDIFF_RUNS paired rounds (default 11), each running once
#        vek -wd -w"x old.dat, new.dat"     (report to /dev/null)
#        diff -r old new                    (output to /dev/null)
#      and prints the median wall and CPU times, the median of the per-round
#      ratios vek / diff (the target is at most 1), the differential's line
#      counts and the peak memory of one vek run.
#
# Usage:
#   bench/run_codediff.sh
#
# Environment:
#   CODEDIFF_RUNS, CODEDIFF_EVERY as above; CODEDIFF_KEEP=dir keeps the
#   trees, baselines and report there (emptied first); BENCH_CACHE,
#   BENCH_BUILD as for bench/run_bench.sh.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
cache=${BENCH_CACHE:-$top/bench/.cache}
build=${BENCH_BUILD:-$top/build-bench}
runs=${CODEDIFF_RUNS:-11}
every=${CODEDIFF_EVERY:-10}
note() { printf '%s\n' "$*" >&2; }
die() { note "run_codediff: $*"; exit 1; }
case $runs in '' | *[!0-9]* | 0) die "CODEDIFF_RUNS must be a positive number" ;; esac
case $every in '' | *[!0-9]* | 0) die "CODEDIFF_EVERY must be a positive number" ;; esac
# shellcheck source=bench/lib.sh
. "$top/bench/lib.sh"
unpack_tree
build_vek

scratch=${CODEDIFF_KEEP:-$(mktemp -d "${TMPDIR:-/tmp}/vek-codediff.XXXXXX")}
if [ -n "${CODEDIFF_KEEP:-}" ]; then
  rm -rf "$scratch" && mkdir -p "$scratch"
else
  trap 'rm -rf "$scratch"' EXIT
fi
cd "$scratch"
mkdir home
export VEKHOME=$scratch/home VEKCFGHOME=$scratch/home

note "== copying the benchmark files into old/ and new/"
(cd "$tree" && find "${dirs[@]}" -type f -name '*.c' -print) | LC_ALL=C sort >names.lst
mkdir old new
(cd "$tree" && tar -cf - -T "$scratch/names.lst") | tar -xf - -C old
(cd "$tree" && tar -cf - -T "$scratch/names.lst") | tar -xf - -C new
edited=0
while IFS= read -r f; do
  edited=$((edited + 1))
  [ $((edited % every)) -eq 0 ] || continue
  awk '{
    if (NR % 40 == 0) next
    if (NR % 53 == 0) { print $0 " /* changed */"; next }
    print
    if (NR % 67 == 0) print "\tcount_added_line();"
  }' "old/$f" >"new/$f"
done <names.lst
count=$(wc -l <names.lst)
changed=$(( count / every ))
sed 's|^|old/|' names.lst >old.lst
sed 's|^|new/|' names.lst >new.lst
note "== $count files in each tree, $changed of them edited in new/"

note "== baselines with line data (untimed)"
"$vek" -wd -w"File dat old.dat" -w"create old" -F old.lst >/dev/null 2>&1 ||
  die "the baseline of old/ failed"
"$vek" -wd -w"File dat new.dat" -w"create new" -F new.lst >/dev/null 2>&1 ||
  die "the baseline of new/ failed"
diff -r old new >/dev/null 2>&1 || true  # warm the page cache

TIMEFORMAT='%R %U %S'
: >vek.times
: >diff.times
note "== $runs paired rounds (wall seconds: vek, diff)"
for ((round = 1; round <= runs; round++)); do
  { time "$vek" -wd -w"x old.dat, new.dat" >/dev/null 2>&1; } 2>>vek.raw || true
  { time diff -r old new >/dev/null 2>&1; } 2>>diff.raw || true
  tail -n 1 vek.raw | awk '{ printf "%s %.3f\n", $1, $2 + $3 }' >>vek.times
  tail -n 1 diff.raw | awk '{ printf "%s %.3f\n", $1, $2 + $3 }' >>diff.times
  note "round $round: $(tail -n 1 vek.times | cut -d' ' -f1) $(tail -n 1 diff.times | cut -d' ' -f1)"
done

ratio() { paste -d' ' <(cut -d' ' -f"$1" vek.times) <(cut -d' ' -f"$1" diff.times) |
  awk '$2 > 0 { print $1 / $2 }' | median; }

printf '\nInput: %d files (*.c) under %s of %s, %d edited\n' "$count" "${dirs[*]}" \
  "$tree_name" "$changed"
printf '\nMedians of %d paired rounds\n\n' "$runs"
printf '%-34s %8s %8s\n' command "wall s" "CPU s"
printf '%-34s %8s %8s\n' "vek -wd -wx old.dat, new.dat" "$(cut -d' ' -f1 vek.times | median)" \
  "$(cut -d' ' -f2 vek.times | median)"
printf '%-34s %8s %8s\n' "diff -r old new" "$(cut -d' ' -f1 diff.times | median)" \
  "$(cut -d' ' -f2 diff.times | median)"
wall_ratio=$(ratio 1)
cpu_ratio=$(ratio 2)
printf '\nvek / diff, median of the per-round ratios: wall %s, CPU %s (target <= 1: %s)\n' \
  "$wall_ratio" "$cpu_ratio" "$(awk -v r="$wall_ratio" 'BEGIN { print (r <= 1) ? "met" : "MISSED" }')"

if [ -x /usr/bin/time ]; then
  /usr/bin/time -f '%M' -o peak.txt "$vek" -wd -w"x old.dat, new.dat" >report.txt 2>&1 || true
  printf 'Peak memory of one vek run: %.1f MiB\n' "$(tail -n 1 peak.txt | awk '{ print $1 / 1024 }')"
  printf '\nThe differential'"'"'s state rows:\n'
  grep -E '^ *(New|Rem|Mod|Equ|Dif) ' report.txt | tail -n 8 || true
fi
