#!/usr/bin/env bash
# End-to-end cases of the which program with a PATH of scratch folders.
#
#   which_test.sh WHICH
set -u
which_bin=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$(cd "$(mktemp -d)" && pwd -P)
trap 'rm -rf "$work"' EXIT
failures=0
cases=0

check() {  # name, expected line, output
  cases=$((cases + 1))
  if ! grep -qxF -- "$2" <<<"$3"; then
    echo "FAIL $1: no line '$2' in:"
    echo "$3" | sed 's/^/    /'
    failures=$((failures + 1))
  fi
}

run() {  # runs which with PATH=$1 and the other arguments
  local path=$1
  shift
  PATH="$path" "$which_bin" "$@"
  local status=$?
  [ "$status" = 0 ] || echo "exit status $status"
}

mkdir -p "$work/d1" "$work/d2" "$work/d3" "$work/here" "$work/d1/tool.dir"
for d in d2 d3; do echo "#!/bin/sh" >"$work/$d/tool"; done
touch "$work/d1/notepad.exe" "$work/d3/deep"
mkdir "$work/here/tool.dir"
cd "$work/here"
P="$work/d1:$work/d2:$work/d3"

out=$(run "$P" tool)
check "first folder that holds the name" "Path for tool: $work/d2/tool" "$out"

out=$(run "$work/d3:$work/d2" tool)
check "PATH order decides" "Path for tool: $work/d3/tool" "$out"

cp "$work/d2/tool" "$work/here/tool"
out=$(run "$P" tool)
check "current directory first" "Path for tool: $work/here/tool" "$out"
out=$(run "$P" ./tool)
check "a ./ name is shown as a full path" "Path for ./tool: $work/here/tool" "$out"
rm "$work/here/tool"

out=$(run "$P" notepad)
check "no extension is added" "notepad not found along the System Path" "$out"
out=$(run "$P" notepad.exe)
check "the full name is found" "Path for notepad.exe: $work/d1/notepad.exe" "$out"

out=$(run "$work/d1/:$work/d2/" tool)
check "an entry ending in / gets no second /" "Path for tool: $work/d2/tool" "$out"

out=$(run "\"$work/d1\":\"$work/d3\"" deep)
check "quotes around an entry are removed" "Path for deep: $work/d3/deep" "$out"

out=$(run "$P" tool.dir)
check "a directory is not a file" "tool.dir not found along the System Path" "$out"

out=$(run "" tool)
check "empty PATH" "tool not found along the System Path" "$out"
out=$(run "::$work/d2:" tool)
check "empty PATH entries are skipped" "Path for tool: $work/d2/tool" "$out"

long=$(printf 'x%.0s' $(seq 1 5000))
out=$(run "$P" "$long")
check "a 5,000-character name" "$long not found along the System Path" "$out"
check "a 5,000-character name ends normally" "BW which" "$out"

out=$(printf 'deep\n\n' | run "$P")
check "the name is asked for" "Enter File Name: Path for deep: $work/d3/deep" "$out"
check "then Enter is awaited" "Press Enter ... " "$(printf '%s' "$out" | tail -n 1)"
out=$(run "$P" </dev/null)
check "no name at all" "Enter File Name:  not found along the System Path" "$out"

out=$(run "$P" deep ignored extra)
check "only the first argument counts" "Path for deep: $work/d3/deep" "$out"

# The whole output of one run, byte for byte.
rule=-------------------------------------------------------------------
expected="which [filename]
Version 1.10
Locates a filename within the SYSTEM Path
Brindle Works LLC
$rule
Path for deep: $work/d3/deep

$rule
This program determines which program is executed by the system
by finding the first occurance of the file along the system PATH.
To modify the system path and the order that a program is found,
change the PATH variable in your shell's start-up file (for
example ~/.profile) or in the environment that starts the program.
$rule

BW which
Shipped with the vek source code analyser; use it and pass it on
freely.  It comes with no warranty of any kind.
"
cases=$((cases + 1))
if ! diff <(printf '%s\n' "$expected") <(run "$P" deep); then
  echo "FAIL the whole output differs"
  failures=$((failures + 1))
fi

echo "which: $((cases - failures)) passed, $failures failed"
[ "$failures" = 0 ]
