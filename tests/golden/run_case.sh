#!/usr/bin/env bash
# Runs one end-to-end case: the built vek on the fixture tree, with a fixed
# clock, time zone and file times, and compares the whole output.
#
#   run_case.sh VEK CASE_DIR
#
# A case folder holds `cmd` (a shell snippet run in a scratch copy of the
# fixtures, with $VEK naming the program), `expected` (its standard output)
# and optionally `status` (the exit status, 0 when absent) and
# `expected_stderr`.  UPDATE_GOLDEN=1 rewrites the expectations instead.
set -u
vek=$1
case_dir=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp -R "$here/fixtures/." "$work/"
export SOURCE_DATE_EPOCH=1700000000 TZ=UTC LC_ALL=C VEKHOME=.
# The sample tree the repository ships, for cases that run over it.
export SAMPLE_DIR="$here/../../sample"
unset VEKCFGHOME VEKDEBUG VEKCLASSMF
find "$work" -exec touch -h -d @1700000000 {} +

cd "$work"
VEK="$vek" bash "$case_dir/cmd" >"$work/.stdout" 2>"$work/.stderr" </dev/null
status=$?
# The scratch folder's name differs per run: show it as <TMP>.
sed -i "s#$work#<TMP>#g" "$work/.stdout" "$work/.stderr"

if [ "${UPDATE_GOLDEN:-0}" = 1 ]; then
  cp "$work/.stdout" "$case_dir/expected"
  if [ -s "$work/.stderr" ]; then cp "$work/.stderr" "$case_dir/expected_stderr"
  else rm -f "$case_dir/expected_stderr"; fi
  if [ "$status" != 0 ]; then echo "$status" >"$case_dir/status"
  else rm -f "$case_dir/status"; fi
  exit 0
fi

fail=0
want_status=0
[ -f "$case_dir/status" ] && want_status=$(cat "$case_dir/status")
if [ "$status" != "$want_status" ]; then
  echo "exit status $status, expected $want_status"
  fail=1
fi
if ! diff -u "$case_dir/expected" "$work/.stdout"; then fail=1; fi
if [ -f "$case_dir/expected_stderr" ]; then
  diff -u "$case_dir/expected_stderr" "$work/.stderr" || fail=1
elif [ -s "$work/.stderr" ]; then
  echo "unexpected standard error:"; cat "$work/.stderr"; fail=1
fi
exit $fail
