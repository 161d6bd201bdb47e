#!/usr/bin/env bash
# Renders HTML reports of the sample tree (and of files with awkward names)
# in headless Chromium and checks that what a reader sees of file names and
# notices is what the text report says.  Skipped (status 77) without
# Chromium.
#
#   visible_text_test.sh VEK SAMPLE_DIR
set -u
vek=$1
sample=$2
chromium=$(command -v chromium || command -v chromium-browser || true)
[ -n "$chromium" ] || { echo "chromium not installed: skipped"; exit 77; }
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SOURCE_DATE_EPOCH=1700000000 TZ=UTC LC_ALL=C.UTF-8 VEKHOME="$work/home"
unset VEKCFGHOME VEKDEBUG VEKCLASSMF
mkdir -p "$work/home"
cd "$work"
cp -R "$sample" sample
mkdir -p 'odd/C#' 'odd/a&b'
for f in 'odd/C#/p.c' 'odd/q?x.c' $'odd/caf\xc3\xa9.c' 'odd/a&b/<t>.c' $'odd/lat\xe9.c'; do
  printf '/* x */\nint f(int a)\n{\n\tif (a < 1) return 0;\n\treturn a;\n}\n' >"$f"
done

fail=0
n=0
for switches in "-fa -n" "-fa -n -Nv" "-o -i -fa -n -Ns"; do
  n=$((n + 1))
  # shellcheck disable=SC2086
  "$vek" $switches -r"c,h,cpp,hpp,java,cs sample" odd/*.c odd/*/*.c >"report$n.txt"
  # shellcheck disable=SC2086
  "$vek" -H $switches -r"c,h,cpp,hpp,java,cs sample" odd/*.c odd/*/*.c >"report$n.html"
  "$chromium" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile$n" --dump-dom "file://$work/report$n.html" \
    >"dom$n.html" 2>/dev/null
  python3 "$here/compare_visible.py" "report$n.txt" "dom$n.html" ||
    { echo "FAIL: vek -H $switches"; fail=1; }
done
exit $fail
