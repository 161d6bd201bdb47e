#!/usr/bin/env bash
# Runs vek's type analysis (-o -i) over two real trees, the C++ headers of
# Boost (Debian's libboost1.81-dev under /usr/include/boost) and the Java
# sources of java.base (Debian's openjdk-17-source), and compares the
# class and interface counts with a rough count made by grep over the same
# files, so that a fault in type identification shows up as a gap.
#
#   bench/run_types.sh             both trees
#   TYPES_TREES=java bench/run_types.sh
#
# The reports go to $cache/types-*.txt; the summary to stdout.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
cache=$top/bench/.cache
build=$top/build-bench
note() { printf '%s\n' "$*" >&2; }
die() { note "run_types: $*"; exit 1; }
# shellcheck source=bench/lib.sh
. "$top/bench/lib.sh"

trees=${TYPES_TREES:-"boost java"}
build_vek
mkdir -p "$cache"

# The value after the label of a project analysis line ("  Total X ..: n").
value_of() {
  local label=$1 file=$2
  grep -m1 -F "$label" "$file" | sed 's/.*: *\([0-9][0-9]*\).*/\1/' || echo 0
}

run_tree() {
  local name=$1 dir=$2 exts=$3 grep_classes=$4 grep_interfaces=$5
  local report=$cache/types-$name.txt
  note "== $name: vek -o -i -v -r\"$exts $dir\""
  local start end status=0
  start=$(date +%s.%N)
  "$vek" -o -i -v -r"$exts $dir" >"$report" 2>&1 || status=$?
  end=$(date +%s.%N)
  local files
  files=$(find "$dir" -type f \( $(printf -- '-name *.%s -o ' ${exts//,/ }) -false \) | wc -l)
  local classes interfaces nested namespaces
  classes=$(value_of "Total Classes/Structs .:" "$report")
  nested=$(value_of "Total Nested Classes ..:" "$report")
  interfaces=$(value_of "Total Interfaces ......:" "$report")
  namespaces=$(value_of "Total Namespace/Package:" "$report")
  # Bodies opened, from the project keyword report (the last one).
  local bodies
  bodies=$(grep -F "class, interface ....:" "$report" | tail -1 |
           sed 's/.*: *\([0-9]*\), *\([0-9]*\).*/\1 classes, \2 interfaces/')
  bodies="$bodies, $(grep -F "macros, struct, union:" "$report" | tail -1 |
           sed 's/.*: *[0-9]*, *\([0-9]*\),.*/\1 structs/')"
  local g_classes g_interfaces
  g_classes=$(eval "$grep_classes")
  g_interfaces=$(eval "$grep_interfaces")
  printf '%s: %d files in %.1f s, exit status %d\n' "$name" "$files" \
    "$(echo "$end - $start" | bc)" "$status"
  printf '  vek:  %s classes/structs (%s nested), %s interfaces, %s namespaces/packages\n' \
    "$classes" "$nested" "$interfaces" "$namespaces"
  printf '  vek bodies opened: %s\n' "$bodies"
  printf '  grep: %s class/struct heads with a body, %s interface heads\n' \
    "$g_classes" "$g_interfaces"
  grep -c 'Error: Nested Class indexing' "$report" | sed 's/^/  nesting errors: /'
}

for t in $trees; do
  case $t in
    boost)
      [ -d /usr/include/boost ] || install_pkg libboost1.81-dev ||
        die "libboost1.81-dev could not be installed"
      # Definitions: "class X ... {" or "struct X ... {" on one line, not
      # inside a template parameter list.
      run_tree boost /usr/include/boost "hpp,h" \
        "grep -rhE --include='*.hpp' --include='*.h' '^[[:space:]]*(template[[:space:]]*<.*>[[:space:]]*)?(class|struct)[[:space:]]+[A-Za-z_][A-Za-z_0-9:]*[^;(]*\\{' /usr/include/boost | wc -l" \
        "echo 0"
      ;;
    java)
      zip=/usr/lib/jvm/openjdk-17/lib/src.zip
      [ -f "$zip" ] || install_pkg openjdk-17-source ||
        die "openjdk-17-source could not be installed"
      [ -f "$zip" ] || die "$zip is missing"
      src=$cache/java.base
      if [ ! -d "$src" ]; then
        note "== unpacking java.base from $zip (once)"
        rm -rf "$cache/jdk-src" && mkdir -p "$cache/jdk-src"
        (cd "$cache/jdk-src" && unzip -q "$zip" 'java.base/*')
        mv "$cache/jdk-src/java.base" "$src"
        rm -rf "$cache/jdk-src"
      fi
      run_tree java "$src" "java" \
        "grep -rhE --include='*.java' '^[[:space:]]*((public|protected|private|abstract|static|final|sealed|non-sealed|strictfp)[[:space:]]+)*class[[:space:]]+[A-Za-z_]' $src | wc -l" \
        "grep -rhE --include='*.java' '^[[:space:]]*((public|protected|private|abstract|static|sealed|non-sealed|strictfp)[[:space:]]+)*interface[[:space:]]+[A-Za-z_]' $src | wc -l"
      ;;
    *) die "unknown tree $t (boost or java)" ;;
  esac
done
