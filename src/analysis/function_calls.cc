// The calling order of function identification: where the scanner and the
// brace tracker hand over a parenthesis, a line, a statement end or a
// body's opening brace.
#include <string>
#include <string_view>

#include "analysis/dispatch_parts.h"
#include "analysis/functions.h"
#include "driver/state.h"

namespace vek {

namespace {

bool LanguageKnown(const FileTyping& t) {
  return t.c_flag || t.cpp_flag || t.java_flag || t.csharp_flag;
}

bool FunctionAnalysisOn(const G& g) {
  return g.opt.function_flag || g.opt.extract_docs;
}

// A parenthesis here may open a function head: outside bodies, brackets
// and the statements whose parentheses are never parameter lists.
bool HeadMayStart(const G& g, bool pending_allowed = false) {
  const ScanState& s = g.scan;
  const FunctionState& f = g.fs;
  return FunctionAnalysisOn(g) && LanguageKnown(g.typing) &&
         f.function_scope == 0 && (pending_allowed || !f.funcname_flag) &&
         g.counters.open_bracket == g.counters.close_bracket &&
         !s.preproc_flag && !s.define_flag && !s.typedef_flag &&
         !s.assignment_flag && !s.template_beg_flag && !s.property_get_flag &&
         !s.catch_flag && !s.annotation_open;
}

bool IsIdentifier(std::string_view w) {
  if (w.empty() || !(IsAlpha(w[0]) || w[0] == '_')) return false;
  for (char c : w)
    if (!IsWordChar(c)) return false;
  return true;
}

// True when a parameter text that met a ';' belongs to an old-style head,
// "f(a, b) int a; ...": its list holds bare names only and the ';' does
// not follow the list directly.  A prototype "f(int a);", a call and an
// object definition "T x(y);" are none.  Undecidable texts (cut short)
// count as old-style.
bool OldStyleHead(std::string_view t) {
  size_t open = t.find_first_not_of(' ');
  if (open == std::string_view::npos || t[open] != '(') return true;
  int depth = 0;
  size_t close = std::string_view::npos;
  for (size_t i = open; i < t.size(); ++i) {
    if (t[i] == '(') {
      ++depth;
    } else if (t[i] == ')' && --depth == 0) {
      close = i;
      break;
    }
  }
  if (close == std::string_view::npos) return true;
  size_t after = t.find_first_not_of(' ', close + 1);
  if (after != std::string_view::npos && t[after] == ';') return false;
  if (after != std::string_view::npos) {
    // An old-style declaration names a type and a parameter ("int a;");
    // a single word such as an attribute macro ("__read_mostly;") makes a
    // variable definition, not a function head.
    std::string_view decl = t.substr(after);
    decl = decl.substr(0, decl.find(';'));
    int words = 0;
    SplitEach(decl, " *&", [&](std::string_view) { ++words; });
    if (words < 2) return false;
  }
  std::string_view list = t.substr(open + 1, close - open - 1);
  bool any = false;
  bool names_only = true;
  SplitEach(list, ",", [&](std::string_view item) {
    item = TrimRight(TrimLeft(item, " "), " ");
    if (item.empty()) return;
    any = true;
    if (!IsIdentifier(item) || item == "void") names_only = false;
  });
  return any && names_only;
}

// True when the word in front of the '(' at `i` belongs to a head
// already read: an exception or attribute specifier, a trailing return
// type or a constraint ("throw()", "noexcept(...)", "-> decltype(...)").
bool HeadSpecifierAt(const char* line, size_t i) {
  size_t end = i;
  while (end > 0 && IsBlank(line[end - 1])) --end;
  size_t start = end;
  while (start > 0 && IsWordChar(line[start - 1])) --start;
  std::string_view word(line + start, end - start);
  for (std::string_view w :
       {"throw", "noexcept", "decltype", "requires", "alignas", "sizeof",
        "typeof", "__typeof__", "__attribute__", "__declspec", "asm",
        "__asm__", "override", "final", "const", "volatile"})
    if (word == w) return true;
  return word.empty();
}

}  // namespace

void function_at_paren(const char* line, size_t i, size_t len,
                       int line_number, G& g) {
  FunctionState& f = g.fs;
  if (f.funcname_flag && f.macro_call_flag && !f.param_collect_flag &&
      !f.non_ansi_flag && HeadMayStart(g, true) &&
      !HeadSpecifierAt(line, i)) {
    // A macro invocation without a ';' ("DECLARE_X(a, b)") held as a
    // candidate, and another list at the top level: the function whose
    // head follows the invocation.  Its name is taken when it is one.
    const FunctionState held = f;
    clear_function_candidate(g);
    function_at_paren(line, i, len, line_number, g);
    if (!f.funcname_flag) f = held;
    return;
  }
  if (!HeadMayStart(g)) return;
  std::string_view text(line, len);
  const bool opens_line = text.find_first_not_of(" \t") == i;
  const size_t next = SkipBlanksAndComments(line, i + 1, len);
  const bool pointer = next < len && line[next] == '*';
  if (opens_line && !pointer) {
    // "int\nname\n(int a)": the name is on the previous code line.
    std::string_view prev = g.scan.prev_code_line.view();
    GetFunction(prev, prev.size(), g);
  } else {
    GetFunction(text, i, g);
  }
  if (!f.funcname_flag) return;
  f.param_text = CleanParameterText(text.substr(i));
  f.param_collect_flag = 1;
  f.candidate_line = line_number;
}

void collect_parameter_line(const char* text, size_t len, int line_number,
                            G& g) {
  FunctionState& f = g.fs;
  if (!f.funcname_flag || f.function_scope != 0 || !LanguageKnown(g.typing))
    return;
  std::string_view line(text, len);
  size_t first = line.find_first_not_of(" \t");
  const bool directive = first != std::string_view::npos &&
                         line[first] == '#' && !g.scan.in_block_comment;
  if (directive) {
    size_t word = line.find_first_not_of(" \t", first + 1);
    if (word != std::string_view::npos && line.substr(word, 2) == "if")
      f.directive_flag = 1;
    return;
  }
  if (!f.param_collect_flag) return;
  // The lines come without their line ends: a blank keeps the last word
  // of one line apart from the first of the next.
  if (f.param_text.size() + 1 + len >= kLineSize) return;
  f.param_text = CleanParameterText(f.param_text + " " + std::string(line));
  f.candidate_line = line_number;
}

void function_at_semicolon(G& g, int in_type_body) {
  FunctionState& f = g.fs;
  if (!f.funcname_flag || f.function_scope != 0) return;
  f.param_collect_flag = 0;
  f.non_ansi_flag = 1;
  if (g.scan.paren_level != 0 || !FunctionAnalysisOn(g)) return;
  // A declaration in a type body is a method without a body here; at file
  // scope only an old-style head waits for its body past a ';'.
  if (in_type_body || !OldStyleHead(f.param_text)) clear_function_candidate(g);
}

void function_paren_closed(G& g) {
  if (g.fs.function_scope == 0) g.fs.param_collect_flag = 0;
}

void clear_function_candidate(G& g) {
  FunctionState& f = g.fs;
  f.funcname_flag = 0;
  f.non_ansi_flag = 0;
  f.template_flag = 0;
  f.macro_call_flag = 0;
  f.directive_flag = 0;
  f.param_collect_flag = 0;
  f.try_state = FunctionState::kNoTry;
  f.func_name.clear();
  f.param_text.clear();
  f.template_text.clear();
}

}  // namespace vek
