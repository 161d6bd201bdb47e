#!/usr/bin/env bash
# Builds vek and runs it over the sample tree shipped with the repository.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DVEK_TESTS=OFF >/dev/null
ninja -C "$top/build" vek
cd "$top/sample"
"$top/build/vek" -fa -c -r"c,h,cc,cpp,hpp,java,cs ." "$@"
