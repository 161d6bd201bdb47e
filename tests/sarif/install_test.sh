#!/usr/bin/env bash
# `cmake --install` puts the program, its default configuration and its
# manual page in place, and the installed program runs from there.
#
#   install_test.sh BUILD_DIR SAMPLE_DIR
set -u
build=$1
sample=$2
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
fail=0
bad() { echo "FAIL: $*"; fail=1; }
export SOURCE_DATE_EPOCH=1700000000 TZ=UTC LC_ALL=C
unset VEKHOME VEKCFGHOME VEKDEBUG VEKCLASSMF

cmake --install "$build" --prefix "$work/prefix" >/dev/null || bad "install failed"
for f in bin/vek bin/vek.cfg bin/vek_macro.cfg share/man/man1/vek.1; do
  [ -f "$work/prefix/$f" ] || bad "not installed: $f"
done
# The page is well-formed troff and holds the whole manual.
if command -v groff >/dev/null; then
  groff -man -Tutf8 -ww -z "$work/prefix/share/man/man1/vek.1" 2>"$work/groff.err" ||
    bad "groff failed"
  [ -s "$work/groff.err" ] && { cat "$work/groff.err"; bad "groff warnings"; }
fi
grep -q 'VEKCFGHOME' "$work/prefix/share/man/man1/vek.1" || bad "page lacks VEKCFGHOME"
grep -q 'Run Time Switch Options' "$work/prefix/share/man/man1/vek.1" ||
  bad "page lacks the switch chapter"

# The installed program finds its configuration beside it and changes
# nothing there; the folder is then made read-only and it still runs.
cd "$work"
cp -R "$sample/c" src
before=$(cat "$work/prefix/bin/vek.cfg" | md5sum)
"$work/prefix/bin/vek" -s src/*.c >out.txt; status=$?
[ "$status" = 0 ] || bad "installed vek: status $status"
grep -q "Config. File: $work/prefix/bin/vek.cfg" out.txt || bad "config not found beside the program"
[ "$(md5sum <"$work/prefix/bin/vek.cfg")" = "$before" ] || bad "installed vek.cfg was rewritten"
rm "$work/prefix/bin/vek.cfg"
chmod a-w "$work/prefix/bin"
"$work/prefix/bin/vek" -s src/*.c >out2.txt; status=$?
[ "$status" = 0 ] || bad "read-only install: status $status"
grep -q 'Total File Count' out2.txt || bad "read-only install: no report"
exit $fail
