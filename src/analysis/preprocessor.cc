// Preprocessor directives in the code dispatch: the directive counts, the
// line flags, and the macro names every #define adds to the macro list.
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>

#include "analysis/dispatch_parts.h"
#include "common/metrics_entry.h"
#include "driver/state.h"
#include "reports/macro_block.h"
#include "reports/output.h"

namespace vek {

namespace {

bool WordAt(const char* line, size_t p, size_t len, std::string_view word) {
  return len - p >= word.size() &&
         std::memcmp(line + p, word.data(), word.size()) == 0;
}

bool SepAt(const char* line, size_t p, size_t len) {
  return p >= len || IsBlank(line[p]) || IsLineEnd(line[p]) ||
         CommentAt(line, p, len);
}

// A name is kept once, with its first definition: a large tree defines
// the same names in file after file (millions of #define lines in a
// kernel tree), and a second entry would tell the look-ups nothing new.
void AddMacro(G& g, std::string_view name) {
  try {
    g.macro_names.insert(name);
  } catch (const std::bad_alloc&) {
    Out(g, "  Memory Error: %s\n", std::strerror(ENOMEM));
  }
}

// -m lists every macro that takes arguments; under -n its block stays open
// until the end of its logical line, so that the notices raised in its
// body stand inside it.
void ListMacro(G& g, int line_number) {
  const Options& o = g.opt;
  ScanState& s = g.scan;
  if (!o.macro_flag || o.totals_flag) return;
  if (o.notice_flag) {
    macro_block_begin(g, s.macro_name, line_number);
    s.macro_block_open = 1;
  } else {
    macro_line(g, s.macro_name);
  }
}

// "#define NAME" or "#define NAME(" from `p`, the position after "define".
void Define(const char* line, size_t p, size_t len, int line_number, G& g) {
  ScanState& s = g.scan;
  ++g.counters.define_count;
  ++g.counters.macro_count;
  s.define_flag = 1;
  size_t start = p;
  while (start < len && IsBlank(line[start])) ++start;
  size_t end = start;
  while (end < len && !IsBlank(line[end]) && !IsLineEnd(line[end]) &&
         line[end] != '(' && !CommentAt(line, end, len))
    ++end;
  s.macro_name = Bounded(std::string_view(line + start, end - start),
                         kLineSize);
  if (s.macro_name.empty()) return;
  if (end < len && line[end] == '(') {
    s.macro_with_args = 1;
    ListMacro(g, line_number);
  }
  AddMacro(g, s.macro_name);
}

}  // namespace

void dispatch_directive(const char* line, size_t i, size_t len,
                        int line_number, G& g) {
  ScanState& s = g.scan;
  size_t p = i + 1;
  while (p < len && IsBlank(line[p])) ++p;
  ++g.counters.preprocessor_count;
  s.preproc_flag = 1;

  if (WordAt(line, p, len, "define") && SepAt(line, p + 6, len)) {
    Define(line, p + 6, len, line_number, g);
  } else if (WordAt(line, p, len, "error") && SepAt(line, p + 5, len)) {
    s.error_flag = 1;
  } else if (WordAt(line, p, len, "if")) {
    s.if_directive_flag = 1;  // #if, #ifdef, #ifndef
  } else if (WordAt(line, p, len, "include")) {
    // "#include<x.h>" and "#include"x.h"" are includes as much as
    // "#include <x.h>".
    size_t q = p + 7;
    if (SepAt(line, q, len) || line[q] == '<' || line[q] == '"')
      ++g.counters.include_count;
  } else if (g.typing.csharp_flag && WordAt(line, p, len, "region")) {
    size_t q = p + 6;
    if (q >= len || IsBlank(line[q]) || IsLineEnd(line[q]) || line[q] == '/')
      s.region_flag = 1;  // the rest of the line is the region's title
  }
}

}  // namespace vek
