#!/usr/bin/env bash
# Compares the functions vek finds, and their cyclomatic complexity, with
# those of pmccabe on two samples of real code: the C files of the
# benchmark tree and a spread of Boost's C++ headers.
#
# What it does:
#   1. installs pmccabe and libboost1.81-dev when they are missing and
#      unpacks /usr/src/linux-source-6.1.tar.xz into the cache directory
#      once, as bench/run_bench.sh does (installing linux-source-6.1 if
#      needed);
#   2. builds a release vek in <repo>/build-cmp (incremental, so cheap when
#      nothing changed);
#   3. for each sample, in this order:
#        the *.c files under kernel, mm, fs/ext4, net/ipv4 and lib, sorted,
#        the same list as bench/run_bench.sh;
#        every BOOST_STEP-th (default 50th) *.hpp file under
#        /usr/include/boost in sorted order (about 300 headers);
#      runs, each once over the whole list:
#        vek -C -fa -c -F list      the per-file function rows: every
#                                   function vek reports, with its
#                                   cyclomatic complexity
#        vek -X -Tf -fa -c -F list  the project function list: the same
#                                   functions with the line of their
#                                   closing brace
#        pmccabe <files>            traditional McCabe (second column),
#                                   first line and length of each function
#      and pairs the rows of vek's two lists by their measures (LOC, eLOC,
#      lLOC, comments, lines, returns, complexity), since the project list
#      leaves some functions out and names a few otherwise;
#   4. matches the functions of the two tools by (file, name), the name of
#      vek's project list first, then the per-file name, then the last
#      part of the name (the tools qualify C++ methods differently); where
#      a name occurs more than once in a file (overloads, static functions
#      in #if branches, functions made by macros) the pairs with the
#      closest last lines are taken first;
#   5. prints, per sample, the counts of functions found by each tool,
#      matched, found by one only, matched with equal and with different
#      complexity, the distribution of the difference (vek - pmccabe), the
#      15 biggest differences, 15 examples of each kind of unmatched
#      function (the functions only one tool finds), the functions vek's
#      two lists name differently and the files with the most unmatched
#      functions.
#
# Line numbers: for pmccabe the line of the function name; for vek the
# first line of the function as vek counts it (its closing line less its
# line count plus one, usually the line of the opening brace). A vek
# function that is missing from vek's project list has no line ("?").
#
# vek's default cyclomatic complexity is 1 + if + ?: + while + for + case +
# goto + || + &&, pmccabe's traditional count does not count goto, so some
# differences are expected.
#
# Usage:
#   bench/compare_functions.sh
#
# Environment:
#   BENCH_CACHE  where the kernel tree is unpacked (default bench/.cache)
#   BOOST_STEP   take every BOOST_STEP-th Boost header (default 50)
#   CMP_BUILD    build directory of vek (default <repo>/build-cmp)
#   CMP_KEEP     a directory to keep the raw outputs in, per sample in
#                CMP_KEEP/linux and CMP_KEEP/boost (vek.csv, vek.xml,
#                pmccabe.txt, pmccabe.err, list.lst) with pairs.tsv, one row
#                per function: kind, file, name, vek line, pmccabe line,
#                vek complexity, pmccabe complexity
#   CMP_SETS     all (default), linux or boost: the samples to compare
#   CMP_SHOW     examples to print in each list (default 15)
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
cache=${BENCH_CACHE:-$top/bench/.cache}
build=${CMP_BUILD:-$top/build-cmp}
show=${CMP_SHOW:-15}

note() { printf '%s\n' "$*" >&2; }
die() { note "compare_functions: $*"; exit 1; }

boost_dir=/usr/include/boost
boost_step=${BOOST_STEP:-50}
sets=${CMP_SETS:-all}

case $show in '' | *[!0-9]*) die "CMP_SHOW must be a number" ;; esac
case $boost_step in '' | *[!0-9]* | 0) die "BOOST_STEP must be a positive number" ;; esac
case $sets in all | linux | boost) ;; *) die "CMP_SETS must be all, linux or boost" ;; esac
command -v python3 >/dev/null || die "python3 is needed"

# --- 1. pmccabe, the trees and a release build --------------------------------
# shellcheck source=bench/lib.sh
. "$top/bench/lib.sh"
[ "$sets" = boost ] || unpack_tree
if [ "$sets" != linux ] && [ ! -f "$boost_dir/version.hpp" ]; then
  install_pkg libboost1.81-dev || die "libboost1.81-dev is missing and could not be installed"
fi
command -v pmccabe >/dev/null || install_pkg pmccabe || die "pmccabe is missing and could not be installed"
build_vek

# --- 2. the report script ---------------------------------------------------
# The tools run in a scratch directory holding links to the trees, so that
# both print the same short relative names.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/vek-cmp.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/home"
export VEKHOME=$scratch/home VEKCFGHOME=$scratch/home
cd "$scratch"
cat >report.py <<'PY'
import collections
import difflib
import re
import sys
import xml.etree.ElementTree as ET

show = int(sys.argv[1])
keep = sys.argv[2]
label = sys.argv[3]

files = [l.rstrip('\n') for l in open('list.lst', encoding='utf-8', errors='surrogateescape')]


def text(s):
    """A name or path fit for one line of the report."""
    out = []
    for ch in s:
        o = ord(ch)
        if ch == '\\' or o < 0x20 or o == 0x7f or 0xdc80 <= o <= 0xdcff:
            out.append('\\\\' if ch == '\\' else '\\x%02x' % (o & 0xff))
        else:
            out.append(ch)
    return ''.join(out)


class Fn:
    __slots__ = ('tool', 'file', 'name', 'alias', 'cc', 'first', 'last', 'order', 'peer')

    def __init__(self, tool, file, name, cc, first, last, order):
        self.tool, self.file, self.name, self.alias, self.cc = tool, file, name, None, cc
        self.first, self.last, self.order, self.peer = first, last, order, None

    def where(self):
        return '%s:%s' % (text(self.file), '?' if self.first is None else self.first)


# vek, per-file CSV rows. A row is
#   Function, NAME, (PARAMETERS), ,, LOC, eLOC, lLOC, Comments, Blanks,
#   Lines, Comment/eLOC, , Classes, Parameters, Returns, InterComp,
#   CycloComp, Total Complexity, Notices
# The parameters have their commas turned into semicolons; the last 17
# fields are fixed, so the name and parameters are what is left of them and
# the name ends at the first ", (" (the parameter list always starts with a
# parenthesis). The file's rows end with its Total, Average, Maximum and
# Minimum rows, which carry no parameter list.
def num(s):
    return int(s.strip() or 0)


csv_rows = collections.defaultdict(list)   # file -> [(name, cc, signature)]
bad_rows = 0
cur = None
for line in open('vek.csv', encoding='utf-8', errors='surrogateescape'):
    line = line.rstrip('\r\n')
    if line.startswith('Project Functional Metrics'):
        break
    if line.startswith('File,') and not line.startswith('File, '):
        cur = line[5:]
        continue
    if cur is None or not line.startswith('Function, '):
        continue
    fields = line.split(',')
    if len(fields) < 20:
        bad_rows += 1
        continue
    head = ','.join(fields[:-17])[len('Function, '):]
    cut = head.find(', (')
    if cut < 0:
        if head.rstrip(',') not in ('Total', 'Average', 'Maximum', 'Minimum'):
            bad_rows += 1
        continue
    try:
        # LOC, eLOC, lLOC, comments, lines, returns, cyclomatic
        sig = tuple(num(fields[i]) for i in (-15, -14, -13, -12, -10, -5, -3))
    except ValueError:
        bad_rows += 1
        continue
    csv_rows[cur].append((head[:cut], sig[-1], sig))

# vek, project list in XML: file, name, closing line and the same measures.
xml_rows = collections.defaultdict(list)   # file -> [(name, cc, signature, last)]
for _, el in ET.iterparse('vek.xml'):
    if el.tag != 'function':
        continue
    def get(tag, nth=0):
        found = el.findall(tag)
        return int(found[nth].text) if len(found) > nth and found[nth].text else 0
    sig = (get('loc'), get('eloc'), get('lloc'), get('comments'), get('lines'),
           get('returns'), get('cyclomatic_complexity'))
    xml_rows[el.findtext('file') or ''].append(
        (el.findtext('name') or '', sig[-1], sig, get('line')))
    el.clear()

# Both lists hold a file's functions in the order vek met them, but the
# project list may leave some out and may name a function differently: the
# rows are paired by their measures. A function keeps both names; it is
# matched by its project-list name first and by the other one after that.
vek = []
not_in_project = 0
only_in_project = 0
renamed = []
for f in sorted(set(csv_rows) | set(xml_rows)):
    rows, xr = csv_rows.get(f, []), xml_rows.get(f, [])
    base = len(vek)
    pair = {}
    sm = difflib.SequenceMatcher(None, [r[2] for r in rows], [x[2] for x in xr],
                                 autojunk=False)
    for a, b, n in sm.get_matching_blocks():
        for k in range(n):
            pair[a + k] = b + k
    used = set(pair.values())
    for i, (name, cc, sig) in enumerate(rows):
        if i in pair:
            pname, _, _, last = xr[pair[i]]
            fn = Fn('vek', f, pname, cc, last - sig[4] + 1, last, len(vek) - base)
            if pname != name:
                fn.alias = name
                renamed.append(fn)
        else:
            fn = Fn('vek', f, name, cc, None, None, len(vek) - base)
            not_in_project += 1
        vek.append(fn)
    for j, (pname, cc, sig, last) in enumerate(xr):
        if j not in used:   # in the project list only
            vek.append(Fn('vek', f, pname, cc, last - sig[4] + 1, last, len(vek) - base))
            only_in_project += 1
vek_project_count = sum(len(x) for x in xml_rows.values())

# pmccabe: modified, traditional, statements, first line, lines, then
# "file(line): name" with the line of the function name.
pm_rx = re.compile(r'^(\d+)\t(\d+)\t(\d+)\t(\d+)\t(\d+)\t(.*)\((\d+)\): (.*)$')
pmc = []
pm_bad = 0
order = collections.Counter()
for line in open('pmccabe.txt', encoding='utf-8', errors='surrogateescape'):
    m = pm_rx.match(line.rstrip('\n'))
    if not m:
        pm_bad += 1
        continue
    f, name = m.group(6), m.group(8)
    first = int(m.group(4))
    pmc.append(Fn('pmccabe', f, name, int(m.group(2)), int(m.group(7)),
                  first + int(m.group(5)) - 1, order[f]))
    order[f] += 1
pm_err_files = set()
for line in open('pmccabe.err', encoding='utf-8', errors='surrogateescape'):
    m = re.match(r'^"(.*)", line \d+:', line)
    if m:
        pm_err_files.add(m.group(1))

# Matching by (file, name); among equal names the closest last lines pair
# first, then the order in the file. A second round tries the names that
# vek's per-file list gives where its project list says otherwise.
def match(named_vek, pmc_left):
    groups = collections.defaultdict(lambda: ([], []))
    for name, v in named_vek:
        groups[(v.file, name)][0].append(v)
    for p in pmc_left:
        groups[(p.file, p.name)][1].append(p)
    for vs, ps in groups.values():
        if not vs or not ps:
            continue
        if len(vs) == 1 and len(ps) == 1:
            vs[0].peer, ps[0].peer = ps[0], vs[0]
            continue
        cand = []
        for v in vs:
            for p in ps:
                d = abs(v.last - p.last) if v.last is not None else 1 << 40
                cand.append((d, abs(v.order - p.order), v.order, p.order, v, p))
        cand.sort(key=lambda c: c[:4])
        for *_, v, p in cand:
            if v.peer is None and p.peer is None:
                v.peer, p.peer = p, v


match([(v.name, v) for v in vek], pmc)
match([(v.alias, v) for v in vek if v.alias is not None and v.peer is None],
      [p for p in pmc if p.peer is None])


def short(name):
    """The last part of a qualified name, without template arguments:
    the tools qualify C++ methods differently (vek by namespace and
    class, pmccabe by class only, and not inside the class body)."""
    out, depth = [], 0
    for ch in name:
        if ch == '<':
            depth += 1
        elif ch == '>' and depth > 0:
            depth -= 1
        elif depth == 0:
            out.append(ch)
    name = ''.join(out).replace(' ', '')
    if 'operator' in name:
        return 'operator'   # pmccabe leaves out the operator's symbol
    return re.split(r'::|\.', name)[-1]


def match_short():
    groups = collections.defaultdict(lambda: ([], []))
    for v in vek:
        if v.peer is None:
            groups[(v.file, short(v.name))][0].append(v)
    for p in pmc:
        if p.peer is None:
            groups[(p.file, short(p.name))][1].append(p)
    for vs, ps in groups.values():
        cand = []
        for v in vs:
            for p in ps:
                d = abs(v.last - p.last) if v.last is not None else 1 << 40
                cand.append((d, abs(v.order - p.order), v.order, p.order, v, p))
        cand.sort(key=lambda c: c[:4])
        for *_, v, p in cand:
            if v.peer is None and p.peer is None:
                v.peer, p.peer = p, v


match_short()
by_short = sum(1 for v in vek if v.peer is not None and v.name != v.peer.name
               and (v.alias is None or v.alias != v.peer.name))

matched = [v for v in vek if v.peer is not None]
only_vek = [v for v in vek if v.peer is None]
only_pmc = [p for p in pmc if p.peer is None]
equal = [v for v in matched if v.cc == v.peer.cc]
differ = [v for v in matched if v.cc != v.peer.cc]


def pct(n, d):
    return '%5.1f%%' % (100.0 * n / d) if d else '    -'


print()
print('Input: %d files, %s' % (len(files), label))
print('pmccabe complained about %d files (it still reports what it could parse)'
      % len(pm_err_files))
if bad_rows or pm_bad:
    print('unreadable rows: vek %d, pmccabe %d' % (bad_rows, pm_bad))
print()
row = '%-44s %7s %7s'
print(row % ('', 'count', 'share'))
print(row % ('functions found by vek', len(vek), ''))
print(row % ('  missing from its project list', not_in_project, ''))
if only_in_project:
    print(row % ('  in its project list only', only_in_project, ''))
print(row % ('  named otherwise in its project list', len(renamed), ''))
print(row % ('functions found by pmccabe', len(pmc), ''))
print(row % ('matched by (file, name)', len(matched) - by_short, ''))
print(row % ('matched by (file, last part of the name)', by_short, ''))
print(row % ('only in vek', len(only_vek), pct(len(only_vek), len(vek)) + ' v'))
print(row % ('only in pmccabe', len(only_pmc), pct(len(only_pmc), len(pmc)) + ' p'))
print(row % ('matched, equal complexity', len(equal), pct(len(equal), len(matched)) + ' m'))
print(row % ('matched, different complexity', len(differ), pct(len(differ), len(matched)) + ' m'))
print('(v: of vek\'s functions, p: of pmccabe\'s, m: of the matched)')
print('files with functions: vek %d, pmccabe %d; files where vek finds none '
      'but pmccabe some: %d' % (
          len({v.file for v in vek}), len({p.file for p in pmc}),
          len({p.file for p in pmc} - {v.file for v in vek})))
print('sum of the complexity of the matched: vek %d, pmccabe %d' % (
    sum(v.cc for v in matched), sum(v.peer.cc for v in matched)))
apart = [v for v in matched if v.first is not None
         and (v.last < v.peer.first or v.first > v.peer.last)]
print('matched pairs whose line ranges do not overlap (one name defined twice,'
      ' e.g. in #if and #else): %d' % len(apart))

print()
print('Difference of complexity, vek - pmccabe, of the matched functions:')
dist = collections.Counter(v.cc - v.peer.cc for v in matched)
for d in sorted(dist):
    if d:
        print('  %+5d  %7d' % (d, dist[d]))
print('  %5d  %7d' % (0, dist[0]))


def sample(items, n):
    """n items spread evenly over the list (all of it when it is short)."""
    if len(items) <= n:
        return items
    step = len(items) / n
    return [items[int(i * step)] for i in range(n)]


def key(fn):
    return (fn.file, fn.first if fn.first is not None else 0, fn.name)


print()
print('The %d biggest differences (vek line / pmccabe line):' % show)
print('  %5s %5s %5s  %s' % ('vek', 'pmc', 'diff', 'function'))
big = sorted(differ, key=lambda v: (-abs(v.cc - v.peer.cc), key(v)))[:show]
for v in big:
    print('  %5d %5d %+5d  %s  %s / %s' % (v.cc, v.peer.cc, v.cc - v.peer.cc,
                                          text(v.name), v.where(), v.peer.first))

for label, items in (('only in vek', only_vek), ('only in pmccabe', only_pmc)):
    items = sorted(items, key=key)
    print()
    print('%d of the %d functions %s (spread over the list):'
          % (min(show, len(items)), len(items), label))
    for fn in sample(items, show):
        print('  %5d  %s  %s' % (fn.cc, fn.where(), text(fn.name)))

if renamed:
    print()
    print('%d of the %d functions that vek names otherwise in its per-file list'
          ' (project-list name <- per-file name):' % (min(show, len(renamed)), len(renamed)))
    for fn in sample(sorted(renamed, key=key), show):
        print('  %s  %s <- %s' % (fn.where(), text(fn.name), text(fn.alias)))

print()
print('Files with the most unmatched functions (only in vek / only in pmccabe'
      ' / functions pmccabe finds):')
ov = collections.Counter(v.file for v in only_vek)
op = collections.Counter(p.file for p in only_pmc)
allp = collections.Counter(p.file for p in pmc)
worst = sorted(set(ov) | set(op), key=lambda f: (-(ov[f] + op[f]), f))[:show]
for f in worst:
    print('  %5d %5d %5d  %s' % (ov[f], op[f], allp[f], text(f)))

if keep:
    with open(keep + '/pairs.tsv', 'w', encoding='utf-8', errors='surrogateescape') as out:
        out.write('kind\tfile\tname\tvek_line\tpmccabe_line\tvek_cc\tpmccabe_cc\n')
        rows = []
        for v in vek:
            p = v.peer
            kind = 'only-vek' if p is None else ('equal' if v.cc == p.cc else 'differ')
            rows.append((kind, v.file, v.name, v.first, p and p.first, v.cc, p and p.cc))
        for p in only_pmc:
            rows.append(('only-pmccabe', p.file, p.name, None, p.first, None, p.cc))
        for r in rows:
            out.write('\t'.join('' if x is None else text(str(x)) for x in r) + '\n')
PY

# vek creates vek.cfg and vek_macro.cfg in VEKHOME on its first run, and
# that run does not yet apply the macro list (__attribute__ would be taken
# for a function name): make that first run on a file of no interest.
printf 'int x;\n' >warm.c
"$vek" -s warm.c >/dev/null 2>&1 || true
[ -f "$VEKHOME/vek.cfg" ] || note "note: vek created no vek.cfg in $VEKHOME"

# compare LABEL KEEP_SUBDIR: runs both tools over the files of list.lst
# and prints the report.
compare() {
  local label=$1 sub=$2
  mapfile -t files <list.lst
  [ ${#files[@]} -gt 0 ] || die "no files for $label"
  note "== vek -C -fa -c, vek -X -Tf -fa -c and pmccabe over ${#files[@]} files ($label)"
  # vek's exit status is a count (of notices), not a failure, so it is not
  # checked; an empty report is.
  "$vek" -C -fa -c -F list.lst >vek.csv 2>vek.err || true
  "$vek" -X -Tf -fa -c -F list.lst >vek.xml 2>>vek.err || true
  if [ ! -s vek.csv ] || [ ! -s vek.xml ]; then
    head -n 5 vek.err >&2
    die "vek wrote no report"
  fi
  pmccabe "${files[@]}" >pmccabe.txt 2>pmccabe.err || true
  [ -s pmccabe.txt ] || { head -n 5 pmccabe.err >&2; die "pmccabe wrote no report"; }
  local keep=
  if [ -n "${CMP_KEEP:-}" ]; then
    keep=$CMP_KEEP/$sub
    mkdir -p "$keep"
    cp vek.csv vek.xml pmccabe.txt pmccabe.err list.lst "$keep"/
  fi
  echo
  echo "######## $label"
  python3 report.py "$show" "$keep" "$label"
}

# --- 3. the kernel's C files ---------------------------------------------------
if [ "$sets" != boost ]; then
  ln -s "$tree" "$scratch/linux"
  for d in "${dirs[@]}"; do [ -d "linux/$d" ] || die "linux/$d is missing in $tree"; done
  (cd linux && find "${dirs[@]}" -type f -name '*.c' -print) |
    sed 's|^|linux/|' | LC_ALL=C sort >list.lst
  compare "C files under ${dirs[*]} of $tree_name" linux
fi

# --- 4. a sample of Boost's C++ headers ---------------------------------------
if [ "$sets" != linux ]; then
  ln -s "$boost_dir" "$scratch/boost"
  # Every BOOST_STEP-th header in sorted order: a spread over the libraries
  # rather than one of them.
  (cd "$scratch" && find boost/ -type f -name '*.hpp' -print) | LC_ALL=C sort |
    awk -v step="$boost_step" 'NR % step == 1' >list.lst
  compare "every ${boost_step}th *.hpp header of $boost_dir (libboost1.81-dev)" boost
fi
