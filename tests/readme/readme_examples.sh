#!/usr/bin/env bash
# Runs every `vek` example of the README's usage section over the sample
# tree, so that the README never shows a command that fails or does less
# than it says.
#
#   readme_examples.sh VEK README SAMPLE_DIR
set -u
vek=$1
readme=$2
sample=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SOURCE_DATE_EPOCH=1700000000 TZ=UTC LC_ALL=C VEKHOME="$work/home"
unset VEKCFGHOME VEKDEBUG VEKCLASSMF
mkdir -p "$work/home" "$work/bin"
ln -s "$vek" "$work/bin/vek"
export PATH="$work/bin:$PATH"
cd "$work"
# "src" holds every sample source in one folder, "." the whole tree.
cp -R "$sample/." .
mkdir src
find "$sample" -type f \( -name '*.[ch]' -o -name '*.?pp' -o -name '*.java' \
  -o -name '*.cs' \) -exec cp {} src/ \;
git init -q . 2>/dev/null && git add src 2>/dev/null

fail=0
n=0
# The indented command lines of the usage section, up to the next "## ".
while IFS= read -r line; do
  cmd=${line%%#*}
  case "$line" in *"git ls-files"*) cmd=${line%%  #*} ;; esac
  [ -n "${cmd// }" ] || continue
  n=$((n + 1))
  bash -c "$cmd" >out.txt 2>err.txt
  status=$?
  if [ "$status" -ge 255 ]; then
    echo "FAIL ($status): $cmd"; cat err.txt; fail=1
  fi
  if [ ! -s out.txt ] && [ ! -s m.xml ]; then
    echo "FAIL (no output): $cmd"; fail=1
  fi
  case "$cmd" in
    *-Nv*)
      # The notice example finds function-level notices as it says.
      grep -q 'Notice #27\|Notice #17\|Notice #49' out.txt ||
        { echo "FAIL (no function notice): $cmd"; fail=1; } ;;
    *--exclude*)
      grep -q 'Total File Count' out.txt || { echo "FAIL: $cmd"; fail=1; } ;;
  esac
done < <(sed -n '/^## Using vek/,/^## [A-Z]/p' "$readme" | grep -E '^    (git .*\| )?vek ')
[ "$n" -ge 8 ] || { echo "FAIL: only $n examples found"; fail=1; }
exit $fail
