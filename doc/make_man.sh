#!/usr/bin/env bash
# Writes the vek(1) manual page from the program's own full help text
# (-hf), so that the page and the program never disagree, and the default
# configuration files the install puts beside the program.
#
#   make_man.sh VEK OUT_DIR
set -euo pipefail
vek=$1
out=$2
mkdir -p "$out/defaults"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-1700000000} TZ=UTC LC_ALL=C
unset VEKHOME VEKDEBUG VEKCLASSMF
# A run in an empty folder writes the configuration with its defaults.
VEKCFGHOME="$home" "$vek" -hf >"$home/help.txt"
# The lines naming the folders of this build are left out of the copy.
grep -Ev '^# (Current Working Dir|Located Config|Located Macro)' "$home/vek.cfg" \
  >"$out/defaults/vek.cfg"
cp "$home/vek_macro.cfg" "$out/defaults/"
version=$(VEKCFGHOME="$home" "$vek" --version | awk '{print $2}')

{
  cat <<HEAD
.TH VEK 1 "" "vek $version" "User Commands"
.SH NAME
vek \\- source code metrics and quality notices for C, C++, Java and C#
.SH SYNOPSIS
.B vek
[\\fIswitches\\fR] [\\fIfiles\\fR ...]
.br
.B vek \\-\\-help
|
.B \\-\\-version
.SH DESCRIPTION
The text below is the program's own manual, as
.B vek \\-hf
prints it.
.PP
.nf
HEAD
  # From the manual's title on; the report head before it names the run.
  # Backslashes and lines that begin like requests are escaped for troff.
  sed -n '/VEK Help Documentation/,$p' "$home/help.txt" |
    grep -Ev "Current Working Dir|Located Config|Located Macro" |
    sed -e 's/\\/\\e/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"
  cat <<'TAIL'
.fi
.SH FILES
.TP
.I vek.cfg
The configuration. It is looked for in
.BR $VEKCFGHOME ,
else in
.BR $VEKHOME ,
else in the folder of the program, where the install puts the defaults.
Keep your own
.I vek.cfg
in a folder of yours and set
.B VEKCFGHOME
to it; when the file is missing there,
.B vek
writes one with the defaults. A program installed in a folder you cannot
write still runs with the installed defaults.
.TP
.I vek_macro.cfg
The predefined macros, found like
.IR vek.cfg .
.SH ENVIRONMENT
.TP
.B VEKCFGHOME
Folder of the configuration files; wins over VEKHOME.
.TP
.B VEKHOME
Folder of the side files.
.TP
.B VEKDEBUG
When set, debug traces are written into the report.
.TP
.B SOURCE_DATE_EPOCH
When set, the run date of the reports, for reproducible output.
.SH EXIT STATUS
With quality notices on (\-n, \-N, \-T) the number of notices found, at
most 254; otherwise 0. 1 for a switch error or a fatal error. 255 when the
run could not do all it was asked: an input named on the command line or
in a list file cannot be read, the list file cannot be opened, the \-O file
is also an input, or the \-\-sarif log cannot be written.
TAIL
} >"$out/vek.1"
