#!/usr/bin/env bash
# Whole-tree robustness run: vek built with AddressSanitizer and
# UndefinedBehaviorSanitizer over large real code bases, once with
#   -fa -c -n -o -i
# and once with
#   -fa -fd -l -fm -v -a -m
# each one process over a tree's whole file list (-F), report to /dev/null.
# For every run it prints the files, the wall time, the peak memory
# (maximum resident set) and the verdict: "clean", or the signal and the
# first sanitizer lines (the whole log is kept in the cache folder).
#
# Trees (BENCH_TREES, blank-separated, default "linux boost java"):
#   linux   the Linux 6.1 source (linux-source-6.1): *.c and *.h under
#           BENCH_LINUX_DIRS (default: the whole tree)
#   boost   /usr/include/boost (libboost1.81-dev): *.hpp, *.h, *.ipp
#   java    java.base of OpenJDK 17 (openjdk-17-source): *.java
# Missing packages are installed with apt-get (as root or through sudo).
#
# Environment:
#   BENCH_CACHE  where the trees are unpacked (default bench/.cache)
#   BENCH_BUILD  build folder of the sanitizer vek (default build-bench-asan)
# Exit status 1 when any run had a sanitizer report or ended on a signal.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
cache=${BENCH_CACHE:-$top/bench/.cache}
build=${BENCH_BUILD:-$top/build-bench-asan}
read -r -a trees <<<"${BENCH_TREES:-linux boost java}"
read -r -a linux_dirs <<<"${BENCH_LINUX_DIRS:-.}"

note() { printf '%s\n' "$*" >&2; }
die() { note "run_sanitize: $*"; exit 1; }

# shellcheck source=bench/lib.sh
. "$top/bench/lib.sh"
command -v /usr/bin/time >/dev/null || install_pkg time || die "GNU time is missing"

note "== building vek with the sanitizers in $build"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DVEK_TESTS=OFF -DVEK_SANITIZE=ON -DVEK_FUZZ=OFF >/dev/null
out=$(ninja -C "$build" -j 2 vek 2>&1) || { printf '%s\n' "$out" | tail -n 20 >&2; die "the build failed"; }
vek=$build/vek

# Writes the sorted file list of one tree to $cache/<name>.lst.
list_tree() {
  local name=$1 list=$cache/$1.lst
  mkdir -p "$cache"
  case $name in
    linux)
      unpack_tree
      (cd "$tree" && find "${linux_dirs[@]}" -type f \( -name '*.c' -o -name '*.h' \) -print) |
        sed "s|^\./||; s|^|$tree/|" | LC_ALL=C sort >"$list" ;;
    boost)
      [ -d /usr/include/boost ] || install_pkg libboost1.81-dev || die "libboost1.81-dev could not be installed"
      find /usr/include/boost -type f \( -name '*.hpp' -o -name '*.h' -o -name '*.ipp' \) |
        LC_ALL=C sort >"$list" ;;
    java)
      local zip
      zip=$(ls /usr/lib/jvm/*17*/lib/src.zip 2>/dev/null | head -n 1 || true)
      if [ -z "$zip" ]; then
        install_pkg openjdk-17-source || die "openjdk-17-source could not be installed"
        zip=$(ls /usr/lib/jvm/*17*/lib/src.zip | head -n 1)
      fi
      if [ ! -d "$cache/java.base" ]; then
        note "== unpacking java.base from $zip (once)"
        python3 - "$zip" "$cache" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    for n in z.namelist():
        if n.startswith('java.base/') and n.endswith('.java'):
            z.extract(n, sys.argv[2])
PY
      fi
      find "$cache/java.base" -type f -name '*.java' | LC_ALL=C sort >"$list" ;;
    *) die "unknown tree $name (linux, boost or java)" ;;
  esac
}

failed=0
printf '%-6s %-28s %7s %9s %9s  %s\n' tree switches files seconds "peak MB" verdict
for name in "${trees[@]}"; do
  list_tree "$name"
  files=$(wc -l <"$cache/$name.lst")
  for switches in "-fa -c -n -o -i" "-fa -fd -l -fm -v -a -m"; do
    log=$cache/$name.${switches// /}.log
    timing=$cache/$name.${switches// /}.time
    # shellcheck disable=SC2086
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
      /usr/bin/time -f '%e %M %x' -o "$timing" \
      "$vek" $switches -F "$cache/$name.lst" >/dev/null 2>"$log" || true
    # GNU time writes "Command terminated by signal N" ahead of its figures.
    read -r secs kb status < <(tail -n 1 "$timing")
    verdict=clean
    if grep -q 'terminated by signal' "$timing"; then
      verdict="signal: $(grep 'terminated by signal' "$timing")"
    fi
    if grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$log"; then
      verdict="sanitizer: $(grep -m1 -E 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$log")"
    fi
    [ "$verdict" = clean ] || failed=1
    printf '%-6s %-28s %7s %9s %9s  %s (status %s)\n' "$name" "$switches" \
      "$files" "$secs" "$((kb / 1024))" "$verdict" "$status"
  done
done
exit $failed
