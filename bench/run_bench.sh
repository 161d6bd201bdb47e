#!/usr/bin/env bash
# Throughput benchmark of vek against pmccabe, cloc and wc.
#
# What it does:
#   1. installs the Debian packages linux-source-6.1, pmccabe and cloc when
#      they are missing (apt-get, as root or through sudo), and unpacks
#      /usr/src/linux-source-6.1.tar.xz once into the cache directory;
#   2. builds a release vek in <repo>/build-bench;
#   3. lists the *.c files (see BENCH_EXT) under kernel, mm, fs/ext4,
#      net/ipv4 and lib of that tree, sorted, and prints their count, bytes
#      and lines;
#   4. runs N paired rounds: each round runs every command once, in turn
#      (A, B, C, ... then again), so that a slow spell of the machine hits
#      every tool alike:
#        vek -s -F list           (the summary run)
#        vek -fa -c -F list       (function analysis with complexity)
#        vek -fa -c -n -o -F list (the same with notices and objects)
#        pmccabe <files>
#        wc -l <files>
#      then cloc --quiet <files> CLOC_RUNS times (it is slow).  Every vek
#      run is one process over all files; all output goes to /dev/null;
#   5. counts the instructions of each command over the first BENCH_SLICE
#      files with callgrind (repeatable whatever the machine's load);
#   6. runs vek -fa -c -n -o once over every *.c and *.h file of the tree
#      and takes its peak resident memory (/usr/bin/time);
#   7. prints the medians of wall and CPU time, MB/s, instructions, the
#      medians of the per-round time ratios of each vek run to pmccabe, the
#      targets (-s <= 0.67, -fa -c <= 1.00, -fa -c -n -o <= 1.25 times
#      pmccabe) and the peak memory against its target (< 256 MiB).
#
# Usage:
#   bench/run_bench.sh
#
# Environment:
#   BENCH_RUNS   paired rounds (default 11)
#   BENCH_SLICE  files of the instruction counts (default 60; 0: none)
#   BENCH_MEMORY 0 skips the whole-tree peak memory run
#   CLOC_RUNS    runs of cloc, which is slow (default 3)
#   BENCH_CACHE  where the kernel tree is unpacked (default bench/.cache)
#   BENCH_BUILD  build directory of vek (default <repo>/build-bench)
#   BENCH_EXT    file name extensions to take, blank-separated (default "c";
#                "c h" adds the headers: 1,338 files, 27.9 MB, 1.02M lines)
#
# A peer tool that is missing and cannot be installed is skipped with a
# note. Timings are taken with a warm page cache: all files are read once
# before the first run. Wall times suffer when other work shares the
# machine; the table prints the load average, and the CPU times suffer less.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
runs=${BENCH_RUNS:-11}
cloc_runs=${CLOC_RUNS:-3}
cache=${BENCH_CACHE:-$top/bench/.cache}
build=${BENCH_BUILD:-$top/build-bench}
read -r -a exts <<<"${BENCH_EXT:-c}"

note() { printf '%s\n' "$*" >&2; }
die() { note "run_bench: $*"; exit 1; }

case $runs in '' | *[!0-9]* | 0) die "BENCH_RUNS must be a positive number" ;; esac
case $cloc_runs in '' | *[!0-9]* | 0) die "CLOC_RUNS must be a positive number" ;; esac

# --- 1. packages, the kernel tree and a release build ----------------------
# shellcheck source=bench/lib.sh
. "$top/bench/lib.sh"
unpack_tree
command -v pmccabe >/dev/null || install_pkg pmccabe || note "note: pmccabe could not be installed"
command -v cloc >/dev/null || install_pkg cloc || note "note: cloc could not be installed"
build_vek

# --- 2. the file list ---------------------------------------------------------
# The tools run in a scratch directory that holds a link to the tree, so
# that every tool sees the same short relative names and nothing a tool may
# write lands in the tree or the repository.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/vek-bench.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
ln -s "$tree" "$scratch/linux"
mkdir "$scratch/home"
export VEKHOME=$scratch/home VEKCFGHOME=$scratch/home
cd "$scratch"

for d in "${dirs[@]}"; do [ -d "linux/$d" ] || die "linux/$d is missing in $tree"; done
[ ${#exts[@]} -gt 0 ] || die "BENCH_EXT names no extension"
name_tests=()
for e in "${exts[@]}"; do
  [ ${#name_tests[@]} -eq 0 ] || name_tests+=(-o)
  name_tests+=(-name "*.$e")
done
(cd linux && find "${dirs[@]}" -type f \( "${name_tests[@]}" \) -print) |
  sed 's|^|linux/|' | LC_ALL=C sort >list.lst
mapfile -t files <list.lst
count=${#files[@]}
[ "$count" -gt 0 ] || die "no C files found"
read -r lines bytes < <(cat "${files[@]}" | wc -lc)  # also warms the page cache
mb=$(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1e6 }')
patterns=$(printf '*.%s ' "${exts[@]}")
printf '\nInput: %d files (%s) under %s of %s\n' "$count" "${patterns% }" \
  "${dirs[*]}" "$tree_name"
printf '       %d bytes (%s MB), %d lines\n' "$bytes" "$mb" "$lines"

# --- 3. timing ----------------------------------------------------------------
# vek creates its vek.cfg in VEKHOME on its first run; do that untimed.
"$vek" -s "${files[0]}" >/dev/null 2>&1 || true

# The commands of the paired rounds: label, then the command line.
labels=("vek -s" "vek -fa -c" "vek -fa -c -n -o")
declare -A cmd
cmd["vek -s"]="$vek -s -F list.lst"
cmd["vek -fa -c"]="$vek -fa -c -F list.lst"
cmd["vek -fa -c -n -o"]="$vek -fa -c -n -o -F list.lst"
have_pmccabe=0
if command -v pmccabe >/dev/null; then
  have_pmccabe=1
  labels+=(pmccabe)
  cmd[pmccabe]="pmccabe ${files[*]}"
else
  note "note: pmccabe is not installed; skipped"
fi
labels+=("wc -l")
cmd["wc -l"]="wc -l ${files[*]}"

# run_once LABEL: runs the command once, output to /dev/null, and appends
# "wall cpu" to $scratch/<label>.times.  With notices on, vek's exit status
# is the notice count, so statuses are not checked here; the first round's
# standard error is kept and shown when it is not empty.
TIMEFORMAT='%R %U %S'
key() { printf '%s' "$1" | tr -c 'A-Za-z0-9' '_'; }
run_once() {
  local label=$1 k
  k=$(key "$label")
  # shellcheck disable=SC2086
  { time ${cmd[$label]} >/dev/null 2>>"$scratch/$k.err"; } 2>>"$scratch/$k.raw" || true
  tail -n 1 "$scratch/$k.raw" | awk '{ printf "%s %.3f\n", $1, $2 + $3 }' >>"$scratch/$k.times"
}

load1() { cut -d' ' -f1 /proc/loadavg 2>/dev/null || echo ?; }
load_before=$(load1)
note "== $runs paired rounds: each round runs every command once, in turn"
for ((round = 1; round <= runs; round++)); do
  printf 'round %2d:' "$round" >&2
  for label in "${labels[@]}"; do
    run_once "$label"
    printf ' %s' "$(tail -n 1 "$scratch/$(key "$label").times" | cut -d' ' -f1)" >&2
  done
  printf '\n' >&2
done
for label in "${labels[@]}"; do
  k=$(key "$label")
  if [ -s "$scratch/$k.err" ]; then
    note "  note: $label wrote to its standard error; first lines:"
    head -n 3 "$scratch/$k.err" | sed 's/^/    /' >&2
  fi
done
if command -v cloc >/dev/null; then
  note "== cloc, $cloc_runs runs (not paired: it is slow)"
  labels+=("cloc --quiet")
  cmd["cloc --quiet"]="cloc --quiet ${files[*]}"
  for ((round = 1; round <= cloc_runs; round++)); do run_once "cloc --quiet"; done
else
  note "note: cloc is not installed; skipped"
fi
load_after=$(load1)

# col LABEL N: column N (1 wall, 2 CPU) of LABEL's runs.
col() { awk -v n="$2" '{ print $n }' "$scratch/$(key "$1").times"; }
# paired LABEL PEER N: the median over the rounds of LABEL's time divided
# by PEER's time in the same round (column N).
paired() {
  paste -d' ' <(col "$1" "$3") <(col "$2" "$3") |
    awk '$2 > 0 { print $1 / $2 }' | median
}

# --- 4. instruction counts --------------------------------------------------------
# Times wobble on a shared machine; callgrind's instruction counts do not.
# They are taken over a fixed slice of the list (BENCH_SLICE files, default
# 60), once per command.
declare -A instr
slice=${BENCH_SLICE:-60}
if command -v valgrind >/dev/null && [ "$slice" != 0 ]; then
  head -n "$slice" list.lst >slice.lst
  mapfile -t slice_files <slice.lst
  note "== instruction counts over the first $slice files (callgrind)"
  count_instr() {  # count_instr LABEL COMMAND...
    local label=$1
    shift
    # vek's status with notices on is the notice count: not a failure.
    instr[$label]=$( (valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" \
      2>&1 >/dev/null || true) | sed -n 's/.*Collected : *\([0-9]*\).*/\1/p' | tail -n 1)
  }
  count_instr "vek -s" "$vek" -s -F slice.lst
  count_instr "vek -fa -c" "$vek" -fa -c -F slice.lst
  count_instr "vek -fa -c -n -o" "$vek" -fa -c -n -o -F slice.lst
  [ $have_pmccabe -eq 0 ] || count_instr pmccabe pmccabe "${slice_files[@]}"
  count_instr "wc -l" wc -l "${slice_files[@]}"
fi

# --- 5. peak memory over the whole tree ------------------------------------------
# vek -fa -c -n -o over every *.c and *.h file of the tree (BENCH_MEMORY=0
# skips it).
peak=-
if [ "${BENCH_MEMORY:-1}" != 0 ] && [ -x /usr/bin/time ]; then
  note "== peak memory of vek -fa -c -n -o over the whole tree"
  (cd linux && find . -type f \( -name '*.c' -o -name '*.h' \) -print) |
    sed 's|^\./|linux/|' | LC_ALL=C sort >whole.lst
  whole_files=$(wc -l <whole.lst)
  /usr/bin/time -f '%M %e' -o peak.txt "$vek" -fa -c -n -o -F whole.lst >/dev/null 2>&1 || true
  # With notices on vek's status is the notice count, and time then
  # writes a line about it before the figures.
  read -r peak_kb peak_s < <(tail -n 1 peak.txt)
  peak=$(awk -v k="$peak_kb" 'BEGIN { printf "%.1f", k / 1024 }')
fi

# --- 6. the table -------------------------------------------------------------
printf '\nLoad average (1 min) before and after timing: %s / %s on %s CPUs\n' \
  "$load_before" "$load_after" "$(nproc 2>/dev/null || echo ?)"

row='%-18s %4s %8s %7s %8s %15s %9s %9s\n'
printf '\nMedians of %d paired rounds (cloc: %d runs of its own). MB/s is input\n' "$runs" "$cloc_runs"
printf 'bytes / 10^6 / wall time; instructions are over the first %s files;\n' "$slice"
printf 'the ratios are medians of the per-round ratios to pmccabe.\n\n'
# shellcheck disable=SC2059
printf "$row" tool runs "wall s" "MB/s" "CPU s" instructions "wall/pmc" "CPU/pmc"
# shellcheck disable=SC2059
printf "$row" ------------------ ---- -------- ------- -------- --------------- --------- ---------
for label in "${labels[@]}"; do
  n=$(col "$label" 1 | wc -l)
  wall=$(col "$label" 1 | median)
  cpu=$(col "$label" 2 | median)
  rate=$(awk -v b="$bytes" -v t="$wall" 'BEGIN { if (t > 0) printf "%.1f", b / 1e6 / t; else printf "-" }')
  r1=- r2=-
  case $label in
    vek*)
      if [ $have_pmccabe -eq 1 ]; then
        r1=$(paired "$label" pmccabe 1) r2=$(paired "$label" pmccabe 2)
      fi ;;
  esac
  # shellcheck disable=SC2059
  printf "$row" "$label" "$n" "$wall" "$rate" "$cpu" "${instr[$label]:--}" "$r1" "$r2"
done

# The targets against pmccabe, by the paired wall and CPU ratios.
if [ $have_pmccabe -eq 1 ]; then
  printf '\n'
  for target in "vek -s:0.67" "vek -fa -c:1.00" "vek -fa -c -n -o:1.25"; do
    label=${target%:*} limit=${target##*:}
    for n in 1 2; do
      r=$(paired "$label" pmccabe "$n")
      awk -v l="$label" -v r="$r" -v m="$limit" -v k="$([ "$n" = 1 ] && echo wall || echo CPU)" \
        'BEGIN { printf "%-18s %-4s %5.2f x pmccabe, target <= %.2f: %s\n", l, k, r, m,
                 (r <= m) ? "met" : "MISSED" }'
    done
  done
fi
if [ "$peak" != - ]; then
  awk -v p="$peak" -v f="$whole_files" -v s="$peak_s" 'BEGIN {
    printf "\nPeak memory of vek -fa -c -n -o over the whole tree (%d files, %s s): %s MiB, target < 256: %s\n",
      f, s, p, (p < 256) ? "met" : "MISSED" }'
fi
