#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/*_fuzz.cc) with clang++ in build-fuzz
# and runs each for a bounded time, starting from the seeds in
# fuzz/corpus/<target> (the file analysis starts from the sample tree).  New inputs go to build-fuzz/corpus (the seeds in
# the repository are never changed); a crash, leak or time-out is kept in
# build-fuzz/findings and fails the script.
#
# Usage: scripts/fuzz.sh [target...]     (default: every target)
# Environment:
#   FUZZ_SECONDS  seconds per target (default 20)
#   FUZZ_JOBS     targets run at once (default 1)
#   CXX_FUZZ      the clang++ to build with (default clang++)
#   FUZZ_BUILD    the build folder (default build-fuzz); a long run in its
#                 own folder goes on while the test script rebuilds
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${FUZZ_SECONDS:-20}
jobs=${FUZZ_JOBS:-1}
cxx=${CXX_FUZZ:-clang++}
build=${FUZZ_BUILD:-$top/build-fuzz}
case $seconds in '' | *[!0-9]* | 0) echo "fuzz: FUZZ_SECONDS must be a positive number" >&2; exit 2 ;; esac
case $jobs in '' | *[!0-9]* | 0) echo "fuzz: FUZZ_JOBS must be a positive number" >&2; exit 2 ;; esac

cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_COMPILER="$cxx" -DVEK_FUZZ=ON -DVEK_TESTS=OFF \
      -DVEK_WERROR=ON -DVEK_SANITIZE=OFF >/dev/null
if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for f in "$top"/fuzz/*_fuzz.cc; do
    n=$(basename "$f" .cc)
    targets+=("${n%_fuzz}")
  done
fi
ninja -C "$build" -j 2 "${targets[@]/%/_fuzz}"

mkdir -p "$build/findings" "$build/logs"
run_one() {
  local t=$1 corpus=$build/corpus/$1 log=$build/logs/$1.log seeds=()
  mkdir -p "$corpus"
  [ ! -d "$top/fuzz/corpus/$t" ] || seeds+=("$top/fuzz/corpus/$t")
  [ "$t" != file_analysis ] || seeds+=("$top/sample")
  # Reports and side files are written in a private folder the target
  # makes; its standard output goes to /dev/null.
  if ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=0} \
     UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
     "$build/${t}_fuzz" -max_total_time="$seconds" -timeout=30 \
       -rss_limit_mb=2048 -max_len=16384 -print_final_stats=1 \
       -artifact_prefix="$build/findings/$t-" \
       "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    local execs cov
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    cov=$(grep -E '^#[0-9]+.*cov:' "$log" | tail -n 1 | sed -E 's/.*cov: ([0-9]+) ft: ([0-9]+).*/\1 edges, \2 features/')
    printf 'fuzz %-14s ok: %s runs in %ss, %s\n' "$t" "$execs" "$seconds" "$cov"
  else
    printf 'fuzz %-14s FAILED, see %s\n' "$t" "$log"
    grep -E 'ERROR|SUMMARY|Test unit written' "$log" | head -n 5
    return 1
  fi
}

status=0
pids=()
for t in "${targets[@]}"; do
  run_one "$t" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$jobs" ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for p in "${pids[@]}"; do wait "$p" || status=1; done
exit $status
