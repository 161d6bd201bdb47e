#!/usr/bin/env bash
# Byte-identity check of two vek binaries: runs every report switch set of
# the list below over one file list with the old and the new binary and
# compares the hashes of their outputs (report, standard error and exit
# status).  Changes meant to make vek faster or smaller must leave every
# hash equal.
#
# Usage:
#   bench/check_identical.sh OLD_VEK NEW_VEK LIST_FILE
#
# LIST_FILE holds one source file per line (as -F reads it).  Without one,
# bench/run_bench.sh's kernel files are a good corpus:
#   find <tree>/kernel <tree>/mm <tree>/fs/ext4 <tree>/net/ipv4 <tree>/lib \
#        -name '*.[ch]' | LC_ALL=C sort > list.txt
#
# Both binaries run with the same VEKHOME (a fresh temporary folder, so the
# header's configuration path and the default configuration agree), with
# SOURCE_DATE_EPOCH and TZ fixed.  CHECK_KEEP=dir keeps the outputs.
# Exits 0 when every set matches, 1 otherwise.
set -euo pipefail

[ $# -eq 3 ] || { echo "usage: $0 OLD_VEK NEW_VEK LIST_FILE" >&2; exit 2; }
old=$(realpath "$1")
new=$(realpath "$2")
list=$(realpath "$3")
[ -x "$old" ] && [ -x "$new" ] && [ -f "$list" ] || { echo "$0: missing binary or list" >&2; exit 2; }

work=${CHECK_KEEP:-$(mktemp -d)}
mkdir -p "$work/home" "$work/out"
[ -n "${CHECK_KEEP:-}" ] || trap 'rm -rf "$work"' EXIT

# Every report, each output format, every sort key both ways.
sets=(
  "-s" "-s -C" "-s -H" "-s -X"
  "-fa" "-fa -c" "-fa -c -n -o" "-fa -c -C" "-fa -c -H" "-fa -c -X"
  "-fa -c -n -o -C" "-fa -c -n -o -X" "-fd" "-fp" "-fp -C" "-l"
  "-a" "-v" "-m" "-m -n" "-a -v -m -C"
  "-o" "-o -C" "-o -X" "-i" "-i -C" "-i -o"
  "-n" "-n -Ns" "-n -Nv" "-n -Ng" "-n -C"
  "-e" "-d"
  "-T" "-Td" "-Tf" "-Ta" "-T -C" "-T -X"
  "-fa -k1" "-fa -k1 -kd" "-fa -k2" "-fa -k2 -kd" "-fa -k3" "-fa -k4"
  "-fa -k5" "-fa -k5 -kd" "-Td -k7" "-Td -k8" "-Td -k9" "-Td -k10 -kd"
  "-Tf -k1" "-Tf -k5 -kd" "-fa -C -k2"
)

run() {  # binary tag index switches...
  local bin=$1 tag=$2 i=$3
  shift 3
  local status=0
  VEKHOME="$work/home" SOURCE_DATE_EPOCH=1700000000 TZ=UTC \
    "$bin" "$@" -F"$list" >"$work/out/$i.$tag.out" 2>"$work/out/$i.$tag.err" || status=$?
  echo "$status" >"$work/out/$i.$tag.status"
  cat "$work/out/$i.$tag".{out,err,status} | sha256sum | cut -c1-16
}

fail=0
i=0
for s in "${sets[@]}"; do
  i=$((i + 1))
  read -r -a args <<<"$s"
  a=$(run "$old" old $i "${args[@]}")
  b=$(run "$new" new $i "${args[@]}")
  if [ "$a" = "$b" ]; then
    printf 'same  %s  %s\n' "$a" "$s"
  else
    printf 'DIFF  %s %s  %s\n' "$a" "$b" "$s"
    fail=1
  fi
done
[ $fail -eq 0 ] && echo "all ${#sets[@]} switch sets identical" || echo "outputs differ"
exit $fail
