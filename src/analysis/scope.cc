#include "analysis/scope.h"

#include <cerrno>
#include <cstring>
#include <string_view>

#include "analysis/dispatch_parts.h"
#include "analysis/functions.h"
#include "analysis/notice_points.h"
#include "analysis/types.h"
#include "driver/state.h"
#include "reports/function_records.h"
#include "reports/function_reports.h"
#include "reports/output.h"

namespace vek {

namespace {

constexpr int kEnumBody = 1;

bool FunctionAnalysis(const G& g) {
  return g.opt.function_flag || g.opt.extract_docs;
}

// True when `text` ends in `extern "C"` (or "C++"), blanks and complete
// comments aside: a linkage block opens only when its own brace follows.
bool EndsInLinkage(std::string_view text) {
  size_t end = text.size();
  for (;;) {
    while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t' ||
                       text[end - 1] == '\r' || text[end - 1] == '\n'))
      --end;
    if (end >= 2 && text.substr(end - 2, 2) == "*/") {
      size_t open = text.rfind("/*", end - 2);
      if (open == std::string_view::npos) return false;
      end = open;
      continue;
    }
    break;
  }
  text = text.substr(0, end);
  for (std::string_view linkage : {std::string_view("extern \"C\""),
                                   std::string_view("extern \"C++\"")})
    if (text.size() >= linkage.size() &&
        text.substr(text.size() - linkage.size()) == linkage)
      return true;
  return false;
}

// The previous code line without its // comment.
std::string_view WithoutLineComment(std::string_view line) {
  size_t cut = line.find("//");
  return cut == std::string_view::npos ? line : line.substr(0, cut);
}

// A brace that opens a linkage block: the brace of `extern "C" {`, or a
// brace that starts its line after a line ending in `extern "C"` or after
// `#ifdef __cplusplus`.  `extern "C" int f(int) {` is a function with C
// linkage: its brace opens the body.
bool LinkageBlock(std::string_view line, size_t brace, const G& g) {
  std::string_view before = line.substr(0, brace);
  if (EndsInLinkage(before)) return true;
  if (!TrimLeft(before).empty()) return false;
  std::string_view prev = g.scan.prev_code_line.view();
  if (prev.find('{') != std::string_view::npos) return false;
  return prev.find("__cplusplus") != std::string_view::npos ||
         EndsInLinkage(WithoutLineComment(prev));
}

// The file counters a function's measures are differences of.
FunctionState::Snapshot CountersNow(const FileCounters& k) {
  FunctionState::Snapshot now;
  now.loc = k.loc;
  now.comments = k.comment_lines;
  now.blanks = k.blank_lines;
  now.noneff = k.noneff_brace_lines + k.noneff_paren_lines;
  now.whitespace = k.whitespace_count;
  now.chars = k.char_count;
  now.alloc = k.alloc_count;
  now.frees = k.free_count;
  now.news = k.new_count;
  now.deletes = k.delete_count;
  return now;
}

void OpenFunctionBody(int line_number, G& g) {
  FunctionState& f = g.fs;
  const FileCounters& k = g.counters;
  ScanState& s = g.scan;
  f.param_collect_flag = 0;
  if (FunctionAnalysis(g)) function_body_opens(line_number, g);
  f.func_start_line = line_number;
  if (s.comment_run == 0) raise_notice(g, 51, line_number, "function");
  ++f.functions_begun;
  // A comment block right above the function belongs to it.
  f.snap = CountersNow(k);
  f.snap.comments -= s.comment_run;
  s.comment_run = 0;
  // A C# "new()" constraint in the head marks no statement of the body.
  s.new_in_statement = 0;
  int fall_through = s.fn.fall_through;
  int last_was_break = s.fn.last_was_break;
  s.fn = FunctionCounters();
  s.fn.fall_through = fall_through;
  s.fn.last_was_break = last_was_break;
  f.paren_depth = 0;
  f.bracket_depth = 0;
  f.switch_depth = 0;
  f.switch_level = 0;
  f.function_scope = 1;
}

// The part of a name that notice #2 measures: after the last ':' in C and
// C++, after the last '.' in Java and C#, and in C# up to a '<'.
std::string_view ShortName(std::string_view name, const G& g) {
  const FileTyping& t = g.typing;
  size_t cut = (t.java_flag || t.csharp_flag) ? name.rfind('.')
                                               : name.rfind(':');
  if (cut != std::string_view::npos) name = name.substr(cut + 1);
  if (t.csharp_flag) name = name.substr(0, name.find('<'));
  return name;
}

double Percent(double part, double whole) {
  return whole > 0 ? part / whole * 100.0 : 0.0;
}

// The checks at the end of a function body, in their fixed order.
void FunctionEndNotices(const FunctionMeasure& m, int line_number, G& g) {
  const Config& c = g.cfg;
  const FunctionState& f = g.fs;
  const FunctionCounters& fn = g.scan.fn;
  auto notice = [&](int n, bool when, const NoticeArgs& a = NoticeArgs()) {
    if (when) raise_notice(g, n, line_number, a);
  };
  auto values = [](int a, int b) {
    NoticeArgs args;
    args.v[0] = a;
    args.v[1] = b;
    return args;
  };
  auto percents = [](double a, double b) {
    NoticeArgs args;
    args.p[0] = a;
    args.p[1] = b;
    return args;
  };
  bool content = m.loc > c.min_function_loc_content;
  int cases = fn.local_case + (c.default_in_case_break ? fn.local_default : 0);
  const int name_length = static_cast<int>(ShortName(m.name, g).size());
  NoticeArgs name = values(name_length, c.max_function_name_length);
  name.text = m.name;
  notice(2, name_length > c.max_function_name_length, name);
  notice(10, f.non_ansi_flag != 0);
  notice(11, f.bracket_depth != 0);
  notice(12, f.paren_depth != 0);
  notice(13, fn.local_default < fn.local_switch);
  NoticeArgs breaks = values(fn.local_case, fn.local_default);
  breaks.v[2] = fn.local_break;
  breaks.v[3] = fn.fall_through;
  notice(14, fn.local_break + fn.fall_through < cases, breaks);
  double comments = Percent(m.comments, m.comments + m.loc);
  notice(17, m.comments + m.loc > 0 && content &&
                 comments < c.min_function_comment,
         percents(comments, c.min_function_comment));
  notice(46, content && m.blank_percent < c.min_function_blank,
         percents(m.blank_percent, c.min_function_blank));
  notice(16, content && m.whitespace_percent < c.min_function_whitespace,
         percents(m.whitespace_percent, c.min_function_whitespace));
  notice(18, m.eloc > c.max_function_eloc, values(c.max_function_eloc, 0));
  notice(27, m.returns > c.max_return_points,
         values(m.returns, c.max_return_points));
  notice(29, m.params > c.max_interface, values(m.params, c.max_interface));
  notice(49, m.params == 0 && !f.explicit_void_params);
  notice(48, m.lloc <= c.min_function_lloc, values(m.lloc, c.min_function_lloc));
  notice(28, m.cyclomatic > c.max_cyclomatic,
         values(m.cyclomatic, c.max_cyclomatic));
}

// Measures and records the function whose body closed on `line_number`,
// when the file counters stood at `end`.
void CloseFunctionBody(int line_number, const FunctionState::Snapshot& end,
                       G& g) {
  FunctionState& f = g.fs;
  ScanState& s = g.scan;
  FileCounters& k = g.counters;
  const Options& o = g.opt;
  if (FunctionAnalysis(g)) {
    FunctionMeasure m;
    m.name = f.func_name;
    m.parameters = f.param_text;
    if (f.template_flag) m.templ = f.template_text;
    m.file = g.file.name;
    m.start_line = f.func_start_line;
    m.returns = s.fn.local_returns > 0 ? s.fn.local_returns : 1;
    m.loc = end.loc - f.snap.loc + 1;  // this line is counted after the pass
    m.comments = end.comments - f.snap.comments;
    m.eloc = m.loc - (end.noneff - f.snap.noneff);
    m.lloc = s.fn.local_semicolons - s.fn.local_for_headers;
    m.blanks = end.blanks - f.snap.blanks;
    m.lines = m.blanks + m.comments + m.loc;
    int chars = end.chars - f.snap.chars;
    m.whitespace_percent =
        chars > 0 ? Percent(end.whitespace - f.snap.whitespace, chars) : 0.0;
    m.blank_percent = m.blanks >= 1 ? Percent(m.blanks, m.lines) : 0.0;
    m.params = f.param_count;
    m.alloc = end.alloc - f.snap.alloc;
    m.frees = end.frees - f.snap.frees;
    m.news = end.news - f.snap.news;
    m.deletes = end.deletes - f.snap.deletes;
    m.inline_flag = function_is_inline(g);

    m.cyclomatic = cyclomatic_complexity(g);
    FunctionEndNotices(m, line_number, g);
    m.interface_complexity = m.params + m.returns;
    m.total_complexity = m.cyclomatic + m.interface_complexity;
    k.cyclomatic_sum += m.cyclomatic;
    k.return_sum += m.returns;
    k.parameter_sum += m.params;
    f.func_end_line = line_number;
    m.end_line = line_number;
    if (!record_function(g, m)) {
      Out(g, "Memory Error: %s\n", strerror(ENOMEM));
    } else {
      f.sums.Add(m);
      ++k.function_count;
      type_function_closed(m, g);
      if (!o.function_list_flag && !o.class_methods_flag) {
        // Under -EC the entry was written at the opening brace and no
        // metrics follow, so the closing entry would only repeat it.
        if (!o.extract_docs || o.notice_flag) function_end_output(m, g);
        if (!o.totals_flag && !o.extract_docs &&
            !(o.csv_flag && o.csv_file_rows))
          print_cc_detail(m.cyclomatic, g);
        function_end_report(g, m);
      }
    }
  }
  s.enum_state = 0;
  s.typedef_flag = 0;
  s.preproc_flag = 0;
  s.region_flag = 0;
  s.if_directive_flag = 0;
  s.scope_check_kind = 0;
  s.fn.fall_through = 0;
  s.comment_run = 0;
  clear_function_candidate(g);
}

// A function-try-block ("void f() try { ... } catch (...) { ... }")
// ends with its last handler, which only the code after it shows: the
// closing brace of the try block and of each handler leaves the function
// open, and the first code that is no further handler closes it as it
// stood at that brace.
void CloseFunctionTry(G& g) {
  FunctionState& f = g.fs;
  ScanState& s = g.scan;
  f.try_state = FunctionState::kNoTry;
  s.catch_flag = 0;
  // The comments between the last handler and this code belong to what
  // follows.
  const int comment_run = s.comment_run;
  CloseFunctionBody(f.try_end_line, f.try_end, g);
  s.comment_run = comment_run;
}

}  // namespace

void function_try_keyword(G& g) {
  FunctionState& f = g.fs;
  if (f.funcname_flag && f.function_scope <= 0 && f.paren_depth <= 0 &&
      f.try_state == FunctionState::kNoTry)
    f.try_state = FunctionState::kTryHead;
}

void function_try_code(const char* line, size_t i, size_t len, G& g) {
  FunctionState& f = g.fs;
  if (f.try_state != FunctionState::kTryHandlers) return;
  if (f.function_scope > 0 || f.paren_depth > 0) return;
  const char c = line[i];
  if (c == '{' || c == '(' || c == ')') return;  // a handler's head or body
  constexpr std::string_view kCatch = "catch";
  std::string_view rest(line + i, len - i);
  if (rest.substr(0, kCatch.size()) == kCatch &&
      (rest.size() == kCatch.size() || !IsWordChar(rest[kCatch.size()])))
    return;
  CloseFunctionTry(g);
}

void scope_file_end(G& g) {
  if (g.fs.try_state == FunctionState::kTryHandlers) CloseFunctionTry(g);
  g.fs.try_state = FunctionState::kNoTry;
}

void scope_line_start(const char* text, size_t len, int line_number, G& g) {
  FunctionState& f = g.fs;
  if (f.function_scope < 0) f.function_scope = 0;
  if (f.class_open_flag || g.ts.head_pending) types_line_start(text, len, g);
  collect_parameter_line(text, len, line_number, g);
}

void scope_open_paren(const char* line, size_t i, size_t len, int line_number,
                      G& g) {
  FunctionState& f = g.fs;
  ++f.paren_depth;
  // The arguments of an export macro or attribute in a type head
  // ("class ALIGNED(16) Packet {"), or of a template argument in a member
  // ("std::function<void(int)> cb;"), are neither a function head nor the
  // end of the type head.
  if (type_paren_is_argument(line, i, g)) return;
  // "struct s *f(int a)": a parenthesis after the struct's name makes it a
  // return type, not a type head.
  if (f.function_scope <= 0) f.type_head_pending = 0;
  // A function's parameter list is never inside other parentheses (as the
  // arguments of an attribute are).
  if (FunctionAnalysis(g) && f.function_scope == 0 && f.paren_depth == 1)
    function_at_paren(line, i, len, line_number, g);
}

void scope_close_paren(int line_number, G& g) {
  FunctionState& f = g.fs;
  FileCounters& k = g.counters;
  --f.paren_depth;
  if (k.close_paren > k.open_paren) {
    // Running balance check: more ')' than '(' so far.
    raise_balance_notice(g, line_number, false);
    f.paren_depth = 0;
    k.close_paren = k.open_paren;
  }
  if (f.paren_depth <= 0 && f.function_scope <= 0) function_paren_closed(g);
}

void scope_bracket(char c, G& g) {
  if (c == '[')
    ++g.fs.bracket_depth;
  else
    --g.fs.bracket_depth;
}

void open_brace_event(const char* line, size_t i, size_t len,
                      int line_number, G& g) {
  FunctionState& f = g.fs;
  ScanState& s = g.scan;
  if (f.paren_depth > 0) {
    s.in_if_condition = 0;
    s.in_while_condition = 0;
    s.in_for_header = 0;
  }
  s.where_flag = 0;
  const bool in_initializer =
      f.brace_depth > 0 && f.brace_depth <= FunctionState::kBraceStackSize &&
      f.brace_kinds[f.brace_depth - 1] == FunctionState::kInitializer;
  unsigned char kind;
  if (in_initializer || (s.assignment_flag && f.assign_at_top)) {
    // An initializer: "x = {", and every brace inside one.
    kind = FunctionState::kInitializer;
  } else if (f.try_state == FunctionState::kTryHandlers &&
             f.function_scope <= 0) {
    // A handler of a function-try-block: part of the function's body.
    f.function_scope = 1;
    kind = FunctionState::kBody;
  } else if (f.type_head_pending && f.function_scope <= 0) {
    // The body of a type or namespace: no nesting level of a function.
    f.type_head_pending = 0;
    ++f.body_count;
    kind = type_body_opens(line, len, line_number, g)
               ? FunctionState::kTypeBody
               : FunctionState::kNamespaceBody;
    s.comment_run = 0;
  } else if (f.function_scope <= 0 &&
             LinkageBlock(std::string_view(line, len), i, g)) {
    kind = FunctionState::kNoLevel;
  } else if (f.funcname_flag && f.paren_depth <= 0 && f.function_scope <= 0) {
    const bool method =
        f.class_open_flag && f.brace_depth == g.ts.cur.body_depth;
    OpenFunctionBody(line_number, g);
    if (method) CountMethod(line_number, g);
    kind = FunctionState::kBody;
  } else if (!s.new_in_statement && s.enum_state != kEnumBody) {
    ++f.function_scope;
    if (f.function_scope > g.cfg.max_scope_depth) {
      NoticeArgs a;
      a.v[0] = f.function_scope;
      a.v[1] = g.cfg.max_scope_depth;
      raise_notice(g, 55, line_number, a);
    }
    kind = FunctionState::kLevel;
  } else {
    kind = FunctionState::kNoLevel;
  }
  if (f.brace_depth < FunctionState::kBraceStackSize)
    f.brace_kinds[f.brace_depth] = kind;
  ++f.brace_depth;
  if (kind != FunctionState::kInitializer) type_statement_restart(i, g, false);
}

void close_brace_event(const char* line, size_t i, size_t len,
                       int line_number, G& g) {
  FunctionState& f = g.fs;
  ScanState& s = g.scan;
  FileCounters& k = g.counters;
  // The brace undoes what its opening brace did; past the stack's depth
  // every brace counts as a nesting level.
  unsigned char kind = FunctionState::kLevel;
  if (f.brace_depth > 0) {
    --f.brace_depth;
    if (f.brace_depth < FunctionState::kBraceStackSize)
      kind = f.brace_kinds[f.brace_depth];
  } else {
    kind = FunctionState::kNoLevel;  // a stray '}'
    if (class_metrics_on(g)) Out(g, "\n  Error: Nested Class indexing\n");
  }
  if (kind == FunctionState::kLevel || kind == FunctionState::kBody)
    --f.function_scope;
  if (kind == FunctionState::kTypeBody && f.body_count > 0) --f.body_count;
  if (k.close_brace > k.open_brace) {
    raise_balance_notice(g, line_number, true);
    f.function_scope = 0;
    f.paren_depth = 0;
    f.brace_depth = 0;
    f.body_count = 0;
    k.close_brace = k.open_brace;
    k.close_paren = k.open_paren;
  }
  if (f.function_scope < 1) s.property_get_flag = 0;
  size_t next = i + 1;
  while (next < len && (line[next] == ' ' || line[next] == '\t')) ++next;
  if (f.function_scope == 0 && (next >= len || line[next] != ';')) {
    s.enum_state = 0;
    s.typedef_flag = 0;
  }
  if (f.switch_depth > 0 && f.function_scope == f.switch_level) {
    --f.switch_depth;
    f.switch_level = f.switch_depth > 0 && f.switch_depth <= kSwitchStackSize
                         ? f.switch_stack[f.switch_depth - 1]
                         : 0;
  }
  if (kind == FunctionState::kBody && f.funcname_flag) {
    if (f.try_state != FunctionState::kNoTry && f.function_scope <= 0) {
      // The try block or a handler of a function-try-block: more
      // handlers may follow.
      f.try_state = FunctionState::kTryHandlers;
      f.try_end = CountersNow(k);
      f.try_end_line = line_number;
    } else {
      CloseFunctionBody(line_number, CountersNow(k), g);
    }
  }
  if (kind == FunctionState::kTypeBody) type_body_closes(line_number, g);
  if (kind == FunctionState::kNamespaceBody)
    namespace_body_closes(line_number, g);
  if (kind != FunctionState::kInitializer) type_statement_restart(i, g, true);
}

void scope_semicolon(G& g) {
  FunctionState& f = g.fs;
  if (f.funcname_flag && f.function_scope == 0)
    function_at_semicolon(g, f.body_count > 0);
  f.type_head_pending = 0;
  f.assign_at_top = 0;
}

void scope_assignment(G& g) {
  FunctionState& f = g.fs;
  if (f.paren_depth > 0) return;
  f.assign_at_top = 1;
  // Outside function bodies an assignment outside parentheses makes a
  // variable definition ("int x = 1;", "DEFINE_X(a, b) = { 0 };"): a name
  // met before it is no function.
  if (f.function_scope <= 0 && f.funcname_flag) clear_function_candidate(g);
}

void scope_switch(G& g) {
  FunctionState& f = g.fs;
  if (f.switch_depth < kSwitchStackSize)
    f.switch_stack[f.switch_depth] = f.switch_level;
  ++f.switch_depth;
  f.switch_level = f.function_scope;
}

void scope_break(int line_number, G& g) {
  if (g.fs.switch_depth == 0 && g.fs.function_scope > 0)
    raise_notice(g, 44, line_number);
}

void scope_body_head(G& g) {
  if (g.fs.function_scope <= 0) g.fs.type_head_pending = 1;
}

int cyclomatic_complexity(const G& g) {
  const Config& c = g.cfg;
  const FunctionCounters& fn = g.scan.fn;
  int v = 0;
  if (c.cyclo_function_call) v += 1;
  if (c.cyclo_while) v += fn.local_while;
  if (c.cyclo_for) v += fn.local_for;
  if (c.cyclo_switch) v += fn.local_switch;
  if (c.cyclo_case) v += fn.local_case;
  if (c.cyclo_if) v += fn.local_if;
  if (c.cyclo_else) v += fn.local_else;
  if (c.cyclo_ternary) v += fn.local_ternary;
  if (c.cyclo_goto) v += fn.local_goto;
  if (c.cyclo_or) v += fn.local_or;
  if (c.cyclo_and) v += fn.local_and;
  return v;
}

void print_cc_detail(int cyclomatic, G& g) {
  const Options& o = g.opt;
  if (!o.function_detail_flag || cyclomatic <= 1 || o.csv_flag) return;
  if (o.xml_flag) {
    Out(g, " ");
    return;
  }
  const Config& c = g.cfg;
  const FunctionCounters& fn = g.scan.fn;
  Out(g, o.html_flag ? "    <B>Cyclomatic Complexity Vg Detail</B>\n"
                     : "    Cyclomatic Complexity Vg Detail\n");
  Out(g, "      Function Base           : 1\n");
  struct Row {
    int on;
    int count;
    const char* label;
  };
  const Row rows[] = {
      {c.cyclo_while, fn.local_while, "      Loops while / do        : %-6d\n"},
      {c.cyclo_for, fn.local_for, "      Loops for / foreach     : %-6d\n"},
      {c.cyclo_switch, fn.local_switch, "      Selection switch        : %-6d\n"},
      {c.cyclo_case, fn.local_case, "      Selection case          : %-6d\n"},
      {c.cyclo_if, fn.local_if, "      Conditional if / else if: %-6d\n"},
      {c.cyclo_else, fn.local_else, "      Conditional else        : %-6d\n"},
      {c.cyclo_ternary, fn.local_ternary, "      Inlined if-else ( ? : ) : %-6d\n"},
      {c.cyclo_goto, fn.local_goto, "      goto                    : %-6d\n"},
      {c.cyclo_or, fn.local_or, "      Logical or ( || )       : %-6d\n"},
      {c.cyclo_and, fn.local_and, "      Logical and ( && )      : %-6d\n"},
  };
  for (const Row& r : rows)
    if (r.on && r.count > 0) Out(g, r.label, r.count);
}

}  // namespace vek
