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
#   4. times each command N times and keeps the median wall time and the
#      median CPU time (user + system):
#        vek -s -F list           (the summary run, the figure that matters)
#        vek -fa -c -F list       (function analysis with complexity)
#        vek -fa -c -n -o -F list (the same with notices and objects)
#        pmccabe <files>
#        cloc --quiet <files>
#        wc -l <files>
#      Every vek run is one process over all files; all output goes to
#      /dev/null;
#   5. prints a table of the medians, MB/s (10^6 bytes per wall second),
#      the time ratios of the vek runs to pmccabe and cloc, and whether
#      vek -s stays within 2/3 of pmccabe's time and 1/10 of cloc's.
#
# Usage:
#   bench/run_bench.sh
#
# Environment:
#   BENCH_RUNS   runs per command (default 5)
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
runs=${BENCH_RUNS:-5}
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

# median COLUMN: the median of that column of the numbers on stdin.
median() { awk -v k="$1" '{ print $k }' | sort -g | awk '{ v[NR] = $1 } END {
  if (NR % 2) printf "%.3f", v[(NR + 1) / 2]
  else printf "%.3f", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

labels=()
declare -A med cpu
# time_runs LABEL N COMMAND...: runs COMMAND N times with its output to
# /dev/null and its stderr to a log, and records under LABEL the median
# wall time and the median CPU time (user + system). The CPU time shows
# what the tool costs when other work shares the machine.
time_runs() {
  local label=$1 n=$2 i rc worst=0 log times=$scratch/times
  shift 2
  log=$scratch/$(printf '%s' "$label" | tr -c 'A-Za-z0-9' '_').err
  : >"$times"
  printf '%-20s' "$label" >&2
  for ((i = 0; i < n; i++)); do
    rc=0
    { time "$@" >/dev/null 2>"$log"; } 2>>"$times" || rc=$?
    [ $rc -eq 0 ] || worst=$rc
    printf ' %s' "$(tail -n 1 "$times" | awk '{ printf "%.3f/%.3f", $1, $2 + $3 }')" >&2
  done
  printf '\n' >&2
  if [ $worst -ne 0 ]; then
    case $label in
      # With notices on, the exit status is the notice count (255 at most).
      *" -n"*) note "  note: $label exited with status $worst, its notice count" ;;
      *) note "  note: $label exited with status $worst" ;;
    esac
    if [ -s "$log" ]; then
      note "  first lines of its stderr:"
      head -n 3 "$log" | sed 's/^/    /' >&2
    fi
  fi
  labels+=("$label")
  med[$label]=$(median 1 <"$times")
  cpu[$label]=$(awk '{ print $2 + $3 }' "$times" | median 1)
}
TIMEFORMAT='%R %U %S'

load1() { cut -d' ' -f1 /proc/loadavg 2>/dev/null || echo ?; }
load_before=$(load1)
note "== timing (wall/CPU seconds of each run)"
time_runs "vek -s" "$runs" "$vek" -s -F list.lst
time_runs "vek -fa -c" "$runs" "$vek" -fa -c -F list.lst
time_runs "vek -fa -c -n -o" "$runs" "$vek" -fa -c -n -o -F list.lst
if command -v pmccabe >/dev/null; then
  time_runs "pmccabe" "$runs" pmccabe "${files[@]}"
else
  note "note: pmccabe is not installed; skipped"
fi
if command -v cloc >/dev/null; then
  time_runs "cloc --quiet" "$cloc_runs" cloc --quiet "${files[@]}"
else
  note "note: cloc is not installed; skipped"
fi
time_runs "wc -l" "$runs" wc -l "${files[@]}"

# --- 4. the table -------------------------------------------------------------
# ratio TABLE A B: TABLE[A] / TABLE[B] (TABLE is med or cpu), or "-".
ratio() {
  local -n t=$1
  local a=${t[$2]:-} b=${t[$3]:-}
  if [ -z "$a" ] || [ -z "$b" ]; then printf '%s' -; return; fi
  awk -v a="$a" -v b="$b" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }'
}

# Other work on the machine slows the wall times; the load says how much.
printf '\nLoad average (1 min) before and after timing: %s / %s on %s CPUs\n' \
  "$load_before" "$(load1)" "$(nproc 2>/dev/null || echo ?)"

row='%-18s %4s %8s %7s %8s  %9s %9s %9s %9s\n'
printf '\nMedians; MB/s is input bytes / 10^6 / wall time; the last four columns\n'
printf 'are time ratios to pmccabe and cloc (below 1: vek is faster).\n\n'
# shellcheck disable=SC2059
printf "$row" tool runs "wall s" "MB/s" "CPU s" "wall/pmc" "wall/cloc" "CPU/pmc" "CPU/cloc"
# shellcheck disable=SC2059
printf "$row" ------------------ ---- -------- ------- -------- --------- --------- \
  --------- ---------
for label in "${labels[@]}"; do
  n=$runs
  [ "$label" = "cloc --quiet" ] && n=$cloc_runs
  rate=$(awk -v b="$bytes" -v t="${med[$label]}" \
    'BEGIN { if (t > 0) printf "%.1f", b / 1e6 / t; else printf "-" }')
  r1=- r2=- r3=- r4=-
  case $label in
    vek*)
      r1=$(ratio med "$label" pmccabe) r2=$(ratio med "$label" "cloc --quiet")
      r3=$(ratio cpu "$label" pmccabe) r4=$(ratio cpu "$label" "cloc --quiet")
      ;;
  esac
  # shellcheck disable=SC2059
  printf "$row" "$label" "$n" "${med[$label]}" "$rate" "$(printf '%.3f' "${cpu[$label]}")" \
    "$r1" "$r2" "$r3" "$r4"
done

# The budget of the summary run: at most 2/3 of pmccabe's time and 1/10 of
# cloc's, by wall time and by CPU time.
budget() {  # budget PEER FACTOR TEXT
  local peer=$1 factor=$2 text=$3 kind
  [ -n "${med[$peer]:-}" ] || return 0
  for kind in med cpu; do
    local -n t=$kind
    awk -v v="${t[vek -s]}" -v p="${t[$peer]}" -v f="$factor" -v what="$text" \
      -v k="$([ $kind = med ] && echo wall || echo CPU)" 'BEGIN {
      printf "vek -s within %-16s %-4s %7.3f s vs %7.3f s  %s\n", what ":", k, v,
        p * f, (v <= p * f) ? "yes" : "NO" }'
  done
}
printf '\n'
budget pmccabe 0.6666667 "2/3 of pmccabe"
budget "cloc --quiet" 0.1 "1/10 of cloc"
