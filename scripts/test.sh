#!/usr/bin/env bash
# Builds vek and runs the whole test suite: unit and end-to-end tests, then
# the same again under AddressSanitizer and UndefinedBehaviorSanitizer,
# and, when clang++ is there, every fuzz target for FUZZ_SECONDS (20) each.
# Every option is passed explicitly, so a cache left by another script never
# turns the tests off; ctest fails when it finds no tests.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DVEK_TESTS=ON -DVEK_WERROR=ON -DVEK_SANITIZE=OFF >/dev/null
ninja -C "$top/build" -j "$jobs"
ctest --test-dir "$top/build" --output-on-failure --no-tests=error -j "$jobs"

if [ "${VEK_SKIP_SANITIZE:-0}" != 1 ]; then
  cmake -S "$top" -B "$top/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DVEK_TESTS=ON -DVEK_WERROR=ON -DVEK_SANITIZE=ON >/dev/null
  ninja -C "$top/build-asan" -j "$jobs"
  ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$top/build-asan" --output-on-failure --no-tests=error -j "$jobs"
fi

if [ "${VEK_SKIP_FUZZ:-0}" != 1 ]; then
  if command -v "${CXX_FUZZ:-clang++}" >/dev/null; then
    "$top/scripts/fuzz.sh"
  else
    echo "note: ${CXX_FUZZ:-clang++} is missing; the fuzz targets were not run" >&2
  fi
fi
