#!/usr/bin/env bash
# The SARIF log, --help and --version of the built vek, end to end.
#
#   sarif_test.sh VEK SAMPLE_DIR
set -u
vek=$1
sample=$2
here=$(cd "$(dirname "$0")" && pwd)
check="python3 $here/check_sarif.py"
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
export SOURCE_DATE_EPOCH=1700000000 TZ=UTC LC_ALL=C VEKHOME="$work/home"
unset VEKCFGHOME VEKDEBUG VEKCLASSMF
mkdir -p "$work/home"
cd "$work"
cp -R "$sample" sample
fail=0
bad() { echo "FAIL: $*"; fail=1; }

# The sample tree: one result per notice, as many as the exit status says.
"$vek" -n -Nv --sarif=out.sarif -r"c,h,cpp,hpp,java,cs sample" >report.txt
status=$?
notices=$(grep -Ec '^.+\([0-9]+\) : Notice #' report.txt)
[ "$notices" -gt 0 ] || bad "the sample tree raised no notices"
if [ "$notices" -lt 255 ]; then
  [ "$status" = "$notices" ] || bad "status $status, notices $notices"
else
  [ "$status" -ge 250 ] || bad "status $status for $notices notices"
fi
$check out.sarif "$notices" || bad "sample log"
grep -q '"uriBaseId": "%SRCROOT%"' out.sarif || bad "relative URIs"
grep -q '"uri": "sample/' out.sarif || bad "URIs relative to the current folder"

# The same run again writes the same log (order and fingerprints).
"$vek" -n -Nv --sarif=again.sarif -r"c,h,cpp,hpp,java,cs sample" >/dev/null
cmp -s out.sarif again.sarif || bad "a second run wrote another log"

# The report itself is the same with and without the log.
"$vek" -n -Nv -r"c,h,cpp,hpp,java,cs sample" >plain.txt
cmp -s <(grep -v 'Command Line:' report.txt) <(grep -v 'Command Line:' plain.txt) ||
  bad "--sarif changed the report"

# Awkward names: blanks, %, #, a backslash, UTF-8 and a byte that is not.
mkdir -p "odd dir"
name1=$'odd dir/a b%#\\c.c'
name2=$'odd dir/caf\xc3\xa9.c'
name3=$'odd dir/raw\xff.c'
for f in "$name1" "$name2" "$name3"; do
  printf 'int f(void)\n{\n\tgoto out; /* \x01 \xff "q" */\nout:\n\treturn 0;\n}\n' >"$f"
done
"$vek" -n --sarif=odd.sarif "$name1" "$name2" "$name3" >/dev/null
$check odd.sarif || bad "odd names log"
grep -q '"uri": "odd%20dir/a%20b%25%23%5Cc.c"' odd.sarif || bad "encoded name"
grep -q '"uri": "odd%20dir/caf%C3%A9.c"' odd.sarif || bad "UTF-8 name"
grep -q '"uri": "odd%20dir/raw%FF.c"' odd.sarif || bad "raw byte name"

# Files outside --sarif-root get absolute file:// URIs.
"$vek" -n --sarif=root.sarif --sarif-root=sample/c "$name1" sample/c/*.c >/dev/null
$check root.sarif || bad "root log"
grep -q '"uri": "file:///' root.sarif || bad "absolute URI outside the root"

# A log that cannot be written: a clear message, status 255, the report
# whole.
"$vek" -n --sarif=no/such/dir/x.sarif sample/c/*.c >lost.txt 2>err.txt
status=$?
[ "$status" = 255 ] || bad "unwritable log: status $status"
grep -q 'cannot write the SARIF log' err.txt || bad "unwritable log: no message"
tail -3 lost.txt | grep -q '____' || bad "unwritable log: report cut short"
ls no 2>/dev/null && bad "unwritable log: left files behind"

# An existing log is replaced whole; no temporary file stays.
echo old >keep.sarif
chmod 640 keep.sarif
"$vek" -n --sarif=keep.sarif sample/c/*.c >/dev/null
$check keep.sarif || bad "replaced log"
[ "$(stat -c %a keep.sarif)" = 640 ] || bad "replaced log lost its mode"
ls keep.sarif.* 2>/dev/null && bad "temporary file left"

# Without notices the log is valid and empty, and says why on stderr.
"$vek" -s --sarif=none.sarif sample/c/*.c >/dev/null 2>none.err
$check none.sarif 0 || bad "log without notices"
grep -q 'without -n' none.err || bad "no word on notices being off"

# --version and --help.
out=$("$vek" --version); status=$?
[ "$status" = 0 ] || bad "--version status $status"
echo "$out" | grep -Eq '^vek [0-9]+\.[0-9]+$' || bad "--version said: $out"
"$vek" --help >help1.txt; status=$?
"$vek" -hs >help2.txt
[ "$status" = 0 ] || bad "--help status $status"
cmp -s <(sed 1,12d help1.txt) <(sed 1,12d help2.txt) || bad "--help differs from -hs"
"$vek" --no-such-option >/dev/null; status=$?
[ "$status" = 1 ] || bad "unknown long option: status $status"

exit $fail
