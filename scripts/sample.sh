#!/usr/bin/env bash
# Builds vek and runs it over the sample tree shipped with the repository.
# It keeps its own build folder, so it never shares a cache with the tests.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
cmake -S "$top" -B "$top/build-sample" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DVEK_TESTS=OFF -DVEK_SANITIZE=OFF >/dev/null
ninja -C "$top/build-sample" vek
cd "$top/sample"
"$top/build-sample/vek" -fa -c -r"c,h,cc,cpp,hpp,java,cs ." "$@"
