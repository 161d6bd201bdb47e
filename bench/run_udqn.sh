#!/usr/bin/env bash
# Cost of user defined quality notices: vek -n over the benchmark C files
# with the twenty rules of bench/udqn_rules.cfg against vek -n without any.
#
# What it does:
#   1. takes the *.c files under kernel, mm, fs/ext4, net/ipv4 and lib of
#      the Linux 6.1 source (installed and unpacked as bench/lib.sh does);
#      when that tree cannot be had, or BENCH_CORPUS=generated is set, a
#      generated corpus instead: BENCH_COPIES copies (default 400) of the
#      sample C files and of C files written with every rule's construct;
#   2. builds a release vek in <repo>/build-bench;
#   3. runs vek -n -F list with the rules (VEKCFGHOME holding them as
#      vek_udqn.cfg) and without (an empty VEKCFGHOME), alternating, N
#      times each, report to /dev/null, and keeps the median wall and CPU
#      (user + system) times and the notice counts;
#   4. prints the medians, the ratio with/without (target: at most 3) and
#      the notices found by each rule in the last run (-Tp).
#
# Usage: bench/run_udqn.sh
# Environment: BENCH_RUNS (default 5), BENCH_CACHE, BENCH_BUILD,
# BENCH_CORPUS (tree or generated), BENCH_COPIES, BENCH_VEK (a vek binary
# to measure instead of building one).
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
runs=${BENCH_RUNS:-5}
cache=${BENCH_CACHE:-$top/bench/.cache}
build=${BENCH_BUILD:-$top/build-bench}
copies=${BENCH_COPIES:-400}
corpus=${BENCH_CORPUS:-tree}

note() { printf '%s\n' "$*" >&2; }
die() { note "run_udqn: $*"; exit 1; }
case $runs in '' | *[!0-9]* | 0) die "BENCH_RUNS must be a positive number" ;; esac

# shellcheck source=bench/lib.sh
. "$top/bench/lib.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

list=$work/files.lst
if [ "$corpus" = tree ] && (unpack_tree) 2>"$work/tree.err"; then
  tree=$cache/$tree_name
  (cd "$tree" && find "${dirs[@]}" -type f -name '*.c' | LC_ALL=C sort) |
    sed "s#^#$tree/#" >"$list"
  what="Linux 6.1: *.c under ${dirs[*]}"
else
  [ "$corpus" = tree ] && note "note: the kernel tree is not available ($(tail -n 1 "$work/tree.err")); using a generated corpus"
  gen=$work/corpus
  mkdir -p "$gen"
  cat >"$gen/rules_seed.c" <<'SRC'
/* Every construct the rules look for, among ordinary code. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define TABLE_MAGIC 0x5a5a5a5a

/* TODO: bound the copy.  FIXME: and the append.  XXX fragile */
static int copy_name(char *dst, const char *src, int n)
{
    char buf[256];
    if (n > 4096)
        goto fail;
    strcpy(buf, src);
    strcat(buf, "-suffix");
    sprintf(dst, "%s:%d", buf, n);
    return atoi(dst) + 365;
fail:
    return -1;
}

int parse(const char *line)
{
    int a = 0, b = 0;
    char *p = malloc(sizeof(int) * 1024);   
    if (sscanf(line, "%d %d", &a, &b) != 2) {
        puts("this message is long enough to be flagged by the long literal rule");
        free(p);
        return system("true");
    }
#if 0
    old = strtok(line, " ");
#endif
    free(p);
    return a * 1000 + b + TABLE_MAGIC + copy_name(NULL, "name", 0xdeadbeef);
}
SRC
  for i in $(seq 1 "$copies"); do
    cp "$top/sample/c/queue.c" "$gen/queue_$i.c"
    cp "$gen/rules_seed.c" "$gen/seed_$i.c"
  done
  find "$gen" -name '*.c' | LC_ALL=C sort >"$list"
  what="generated: $copies copies of sample/c/queue.c and of a rule seed file"
fi

if [ -n "${BENCH_VEK:-}" ]; then vek=$BENCH_VEK; else build_vek; fi
rules=$work/rules
empty=$work/empty
mkdir -p "$rules" "$empty"
cp "$top/bench/udqn_rules.cfg" "$rules/vek_udqn.cfg"
count=$(wc -l <"$list")
bytes=$(xargs cat <"$list" | wc -c)
lines=$(xargs cat <"$list" | wc -l)
xargs cat <"$list" >/dev/null  # warm the page cache

# One timed run: prints "wall cpu status", the CPU time being the user and
# system time of vek alone (GNU time; without it, of everything this shell
# started meanwhile).
one() {
  local home=$1 status=0
  if [ -x /usr/bin/time ]; then
    VEKCFGHOME=$home /usr/bin/time -f '%e %U %S' -o "$work/time" \
      "$vek" -n -F "$list" >/dev/null 2>&1 || status=$?
    awk -v s="$status" '{ printf "%.3f %.2f %d\n", $1, $2 + $3, s }' "$work/time"
    return
  fi
  local t0 t1 c0 c1
  c0=$(awk '{print $16+$17}' /proc/$$/stat)
  t0=$(date +%s.%N)
  VEKCFGHOME=$home "$vek" -n -F "$list" >/dev/null 2>&1 || status=$?
  t1=$(date +%s.%N)
  c1=$(awk '{print $16+$17}' /proc/$$/stat)
  awk -v a="$t0" -v b="$t1" -v c="$c0" -v d="$c1" -v s="$status" -v hz="$(getconf CLK_TCK)" \
    'BEGIN { printf "%.3f %.2f %d\n", b - a, (d - c) / hz, s }'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: >"$work/with"
: >"$work/without"
for _ in $(seq 1 "$runs"); do
  one "$empty" >>"$work/without"
  one "$rules" >>"$work/with"
done
w_wall=$(cut -d' ' -f1 "$work/with" | median)
w_cpu=$(cut -d' ' -f2 "$work/with" | median)
n_wall=$(cut -d' ' -f1 "$work/without" | median)
n_cpu=$(cut -d' ' -f2 "$work/without" | median)

printf 'corpus: %s\n' "$what"
printf 'files: %d  bytes: %d  lines: %d  runs: %d  load: %s\n' "$count" "$bytes" \
  "$lines" "$runs" "$(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-28s %9s %9s %8s\n' "command" "wall s" "cpu s" "status"
printf '%-28s %9.3f %9.2f %8s\n' "vek -n (no rules)" "$n_wall" "$n_cpu" "$(tail -n 1 "$work/without" | cut -d' ' -f3)"
printf '%-28s %9.3f %9.2f %8s\n' "vek -n (20 rules)" "$w_wall" "$w_cpu" "$(tail -n 1 "$work/with" | cut -d' ' -f3)"
awk -v a="$w_wall" -v b="$n_wall" -v c="$w_cpu" -v d="$n_cpu" 'BEGIN {
  printf "ratio with/without: wall %.2f, cpu %.2f (target: at most 3)\n", a / b, (d > 0 ? c / d : 0) }'
echo "notices found by each rule (vek -Tp with the rules):"
VEKCFGHOME=$rules "$vek" -Tp -F "$list" | grep -E '^  1[0-9]{3} ' || true
