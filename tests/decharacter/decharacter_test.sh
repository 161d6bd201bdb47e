#!/usr/bin/env bash
# End-to-end cases of -D: files converted in place by the real program and
# compared byte for byte with what they must hold afterwards.
#
#   decharacter_test.sh VEK
set -u
vek=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$(cd "$(mktemp -d)" && pwd -P)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"
export VEKHOME="$work/home" TZ=UTC SOURCE_DATE_EPOCH=1700000000
unset VEKCFGHOME VEKDEBUG VEKCLASSMF
mkdir -p "$VEKHOME"
"$vek" -y >/dev/null 2>&1  # writes the default vek.cfg
chmod -R a+rX "$VEKHOME"
cd "$work"
failures=0
cases=0

fail() {
  echo "FAIL $1"
  failures=$((failures + 1))
}

# convert NAME 'switches' 'input bytes' 'expected bytes': printf formats.
convert() {
  cases=$((cases + 1))
  local name=$1 switches=$2
  printf "$3" >"$name.c"
  printf "$4" >"$name.want"
  # shellcheck disable=SC2086
  "$vek" $switches "$name.c" >"$name.out" 2>&1 || fail "$name: exit status $?"
  cmp "$name.want" "$name.c" || fail "$name: converted bytes differ"
  ls "$name".c.tmp* >/dev/null 2>&1 && fail "$name: a temporary file is left"
  return 0
}

convert tab_in_string -Dt 'int a;\tchar* s = "a\tb";\n' \
                          'int a;  char* s = "a\tb";\n'
grep -q 'Complete - Lines = 1, Tabs Replaced = 1' tab_in_string.out ||
  fail "tab_in_string: report"
convert crlf_to_lf -Du 'a\r\nb\r\n\r\nc\r\n' 'a\nb\n\nc\n'
grep -q 'Complete - Lines = 4$' crlf_to_lf.out || fail "crlf_to_lf: report"
convert lf_stays_lf -Du 'a\nb\n' 'a\nb\n'
grep -q 'Complete - Lines = 2$' lf_stays_lf.out || fail "lf_stays_lf: report"
convert lf_to_crlf -Dd 'a\nb\n' 'a\r\nb\r\n'
convert crlf_stays_crlf -Dd 'a\r\nb\r\n' 'a\r\nb\r\n'
convert mixed_to_lf -Du 'a\r\nb\nc\rd\r\n' 'a\nb\nc\rd\n'
convert mixed_to_crlf -Dd 'a\r\nb\nc\r\n\n' 'a\r\nb\r\nc\r\n\r\n'
convert no_final_end '-Dt -Du' '\tx\r\n\ty' '  x\n  y'
convert no_final_end_dos -Dd 'x\ny' 'x\r\ny'
convert control_first -Dt 'a\n\f\tb\n\001\tc\n\n\n\t' 'a\n\f  b\n\001  c\n\n\n  '
convert nul_bytes -Du 'a\000\r\nb\000' 'a\000\nb\000'

# A 100,000-line file with tabs, CR LF ends and one long line.
cases=$((cases + 1))
seq 1 100000 | sed 's/^/\t/; s/$/\t"\t"\r/' >big.c
seq 1 100000 | sed 's/^/  /; s/$/  "\t"/' >big.want
"$vek" -Dt -Du big.c >big.out 2>&1
cmp big.want big.c || fail "big: converted bytes differ"
grep -q 'Complete - Lines = 100000, Tabs Replaced = 200000' big.out ||
  fail "big: report"
cases=$((cases + 1))
{ head -c 300000 /dev/zero | tr '\0' 'x'; printf '\r\n\tend\r'; printf '\n'; } >long.c
{ head -c 300000 /dev/zero | tr '\0' 'x'; printf '\n  end\n'; } >long.want
"$vek" -Dt -Du long.c >long.out 2>&1
cmp long.want long.c || fail "long line: converted bytes differ"

# The tab width key.
cases=$((cases + 1))
mkdir wide && cp "$VEKHOME/vek.cfg" wide/
sed -i 's/^A TAB is equivalent to n space.*/A TAB is equivalent to n space: 4/' wide/vek.cfg
printf '\tx\n' >wide.c
VEKHOME="$work/wide" "$vek" -Dt wide.c >/dev/null 2>&1
printf '    x\n' | cmp - wide.c || fail "tab width key"

# -Dd with -Du: the file stays as it was.
cases=$((cases + 1))
printf 'a\r\nb\n' >both.c
cp both.c both.orig
"$vek" -Dd -Du both.c >both.out 2>&1
cmp both.orig both.c || fail "conflict: file changed"
grep -q 'Error: Cannot De-Dos and Make Dos at the same time' both.out ||
  fail "conflict: message"

# An empty file stays empty and is complete.
cases=$((cases + 1))
: >empty.c
"$vek" -Dt empty.c >empty.out 2>&1
[ -f empty.c ] && [ ! -s empty.c ] || fail "empty: file changed"
grep -q 'Complete - Lines = 0, Tabs Replaced = 0' empty.out || fail "empty: report"
ls empty.c.tmp* >/dev/null 2>&1 && fail "empty: a temporary file is left"

# Permission bits, links and an old temporary file of the same name.
cases=$((cases + 1))
printf '\tp\n' >mode.c
chmod 640 mode.c
"$vek" -Dt mode.c >/dev/null 2>&1
[ "$(stat -c %a mode.c)" = 640 ] || fail "mode: bits $(stat -c %a mode.c)"
cases=$((cases + 1))
mkdir real
printf '\tl\n' >real/target.c
ln -s real/target.c link.c
"$vek" -Dt link.c >/dev/null 2>&1
[ -L link.c ] || fail "link: the link was replaced"
printf '  l\n' | cmp - real/target.c || fail "link: target not converted"
cases=$((cases + 1))
printf '\to\n' >old.c
printf 'keep me\n' >old.c.tmp
"$vek" -Dt old.c >/dev/null 2>&1
printf '  o\n' | cmp - old.c || fail "old temporary: not converted"
printf 'keep me\n' | cmp - old.c.tmp || fail "old temporary: overwritten"
[ "$(ls old.c.tmp* | wc -l)" = 1 ] || fail "old temporary: a second one is left"

# A read-only folder: the original is untouched and the message names the
# temporary file that could not be made.  Root may write anywhere, so the
# program then runs as an ordinary user.
cases=$((cases + 1))
mkdir locked
printf '\tr\r\n' >locked/ro.c
cp locked/ro.c ro.orig
chmod 666 locked/ro.c
chmod 555 locked
as_user=()
if [ "$(id -u)" = 0 ]; then
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
if "${as_user[@]}" "$vek" -hs >/dev/null 2>&1; then
  "${as_user[@]}" "$vek" -Dt -Du locked/ro.c >ro.out 2>&1
  cmp ro.orig locked/ro.c || fail "read-only folder: original changed"
  grep -qF "Error: Cannot open the specified file: $work/locked/ro.c.tmp" ro.out ||
    fail "read-only folder: message"
  grep -q 'Permission denied' ro.out || fail "read-only folder: reason"
  ls locked | grep -qv '^ro.c$' && fail "read-only folder: stray file"
else
  echo "read-only folder: skipped, cannot run as another user"
fi

echo "decharacter: $((cases - failures)) passed, $failures failed"
[ "$failures" = 0 ]
