// Brackets, statement ends, assignments and the other operators of the
// code dispatch.
#include <string_view>

#include "analysis/decisions.h"
#include "analysis/dispatch_parts.h"
#include "analysis/line_scanner.h"
#include "analysis/notice_points.h"
#include "analysis/scope.h"
#include "analysis/scope_check.h"
#include "analysis/types.h"
#include "driver/state.h"

namespace vek {

namespace {

constexpr int kEnumBody = 1;

bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The position of the ')' matching the '(' at `open`, or `len`.
size_t MatchingParen(const char* line, size_t open, size_t len) {
  int depth = 0;
  for (size_t p = open; p < len; ++p) {
    if (line[p] == '(') {
      ++depth;
    } else if (line[p] == ')' && --depth == 0) {
      return p;
    }
  }
  return len;
}

// True when the number starting at `pos` has the value zero ("0", "0.0",
// "0x00", "0UL", "0e5").
bool IsZeroLiteral(const char* line, size_t pos, size_t len) {
  size_t end = pos;
  while (end < len &&
         (IsWordChar(line[end]) || line[end] == '.' ||
          (line[end] == '\'' && end + 1 < len && IsWordChar(line[end + 1]))))
    ++end;  // "0'000" is zero, "0'001" is not
  std::string_view word(line + pos, end - pos);
  if (word.size() > 1 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
    for (size_t j = 2;
         j < word.size() && (IsHexDigit(word[j]) || word[j] == '\'');
         ++j)
      if (word[j] != '0' && word[j] != '\'') return false;
    return true;
  }
  for (char c : word) {
    if (c == 'e' || c == 'E') break;
    if (IsDigit(c) && c != '0') return false;
  }
  return true;
}

// True when the '=' at `i` belongs to an operator's name ("operator=",
// "operator +="): the head of an assignment operator, not an assignment.
bool InOperatorName(const char* line, size_t i) {
  constexpr std::string_view kWord = "operator";
  size_t p = i;
  while (p > 0 && (IsBlank(line[p - 1]) ||
                   std::string_view("+-*/%^&|<>!").find(line[p - 1]) !=
                       std::string_view::npos))
    --p;
  if (p < kWord.size()) return false;
  size_t start = p - kWord.size();
  if (std::string_view(line + start, kWord.size()) != kWord) return false;
  return start == 0 || !IsWordChar(line[start - 1]);
}

// The lone-bracket test at a bracket: only the first character of a line
// can make it a lone bracket line, so the line is examined at most once.
void LoneBracket(const char* line, size_t i, size_t len, G& g) {
  for (size_t p = i; p > 0; --p)
    if (!IsBlank(line[p - 1])) return;
  const char c = line[i];
  if (!lone_bracket_line(std::string_view(line, len), c)) return;
  if (c == '(' || c == ')')
    ++g.counters.noneff_paren_lines;
  else
    ++g.counters.noneff_brace_lines;
  g.scan.non_effective = 1;
}

// A bracketed attribute of a C++ or C# file, or class identification
// passing over a parenthesis, holds the parenthesis test back.
bool HoldParenTest(const G& g) {
  const ScanState& s = g.scan;
  const FileTyping& t = g.typing;
  bool attribute_language = t.cpp_flag || t.header_flag || t.csharp_flag;
  return s.pass_paren || (s.bracket_attribute && attribute_language);
}

void CountComparison(ScanState& s) {
  if (s.in_if_condition || s.in_while_condition) ++s.condition_compares;
}

void OpenParen(const char* line, size_t i, size_t len, int line_number,
               G& g) {
  ++g.counters.open_paren;
  ++g.scan.paren_level;
  if (!HoldParenTest(g)) LoneBracket(line, i, len, g);
  // The parentheses of a catch clause and of an annotation are no
  // function head.
  if (!g.scan.catch_flag && !g.scan.annotation_open)
    scope_open_paren(line, i, len, line_number, g);
  else
    ++g.fs.paren_depth;
}

void CloseParen(const char* line, size_t i, size_t len, int line_number,
                G& g) {
  ScanState& s = g.scan;
  ++g.counters.close_paren;
  scope_close_paren(line_number, g);
  if (s.paren_level > 0) --s.paren_level;
  // Outside function bodies an '=' inside parentheses is a default
  // argument or an annotation's or attribute's named argument
  // ("Counter(int start = 0)", "@Test(expected = X.class)"): it ends with
  // its parentheses and leaves the head open for the function.
  if (s.assignment_flag && g.fs.function_scope <= 0 &&
      s.paren_level < g.fs.assign_paren_level)
    s.assignment_flag = 0;
  scope_check_close_paren(line, i, len, g);
  if (s.paren_level == 0) {
    s.in_for_header = 0;
    s.in_if_condition = 0;
    s.in_while_condition = 0;
  }
  if (s.annotation_open && s.paren_level <= s.annotation_level)
    s.annotation_open = 0;
  if (!HoldParenTest(g)) LoneBracket(line, i, len, g);
}

void OpenBrace(const char* line, size_t i, size_t len, int line_number,
               G& g) {
  ScanState& s = g.scan;
  ++g.counters.open_brace;
  if (s.enum_state == 2) {  // an enum head whose body opens on a later line
    ++g.counters.enum_count;
    s.enum_state = kEnumBody;
  }
  // Braces in a macro body open no block of the file.
  if (!s.define_flag) open_brace_event(line, i, len, line_number, g);
  s.scope_check_kind = 0;  // any '{' satisfies the scope check of #22
  LoneBracket(line, i, len, g);
}

void CloseBrace(const char* line, size_t i, size_t len, int line_number,
                G& g) {
  ++g.counters.close_brace;
  g.scan.fn.last_was_break = 0;
  // The closing line's lone-bracket test runs before the function that
  // ends here is measured.
  LoneBracket(line, i, len, g);
  if (!g.scan.define_flag) close_brace_event(line, i, len, line_number, g);
}

// Notices #6 and #7 name the macro on a "#define NAME(" line.
NoticeArgs MacroNoticeArgs(const ScanState& s) {
  NoticeArgs a;
  if (s.macro_with_args) {
    a.text = s.macro_name;
    a.v[0] = 1;
  }
  return a;
}

// The name of the class a "friend class" declaration ending at `semi`
// befriends: the word in front of the ';'.
std::string_view FriendClassName(const char* line, size_t semi) {
  size_t end = semi;
  while (end > 0 && IsBlank(line[end - 1])) --end;
  size_t start = end;
  while (start > 0 && !IsBlank(line[start - 1])) --start;
  return std::string_view(line + start, end - start);
}

void Semicolon(const char* line, size_t i, int line_number, G& g) {
  ScanState& s = g.scan;
  // A member of a type body ends here (before the statement's flags go).
  if (g.fs.class_open_flag && !s.define_flag)
    type_statement_end(line, i, line_number, g);
  s.virtual_flag = 0;
  ++g.counters.semicolon_count;
  ++s.fn.local_semicolons;
  s.logical = 1;
  if (s.in_for_header && !s.for_header_counted &&
      s.paren_level == s.for_header_level) {
    ++g.counters.for_headers;
    ++s.fn.local_for_headers;
    s.for_header_counted = 1;
  }
  if (s.friend_class_flag && g.typing.cpp_flag)
    raise_notice(g, 15, line_number, FriendClassName(line, i));
  s.friend_flag = 0;
  s.friend_class_flag = 0;
  s.assignment_flag = 0;
  s.typedef_flag = 0;
  s.enum_state = 0;
  s.using_flag = 0;
  s.return_flag = 0;
  s.const_flag = 0;
  s.event_flag = 0;
  s.delegate_flag = 0;
  s.catch_flag = 0;
  s.new_in_statement = 0;
  s.template_depth = 0;
  s.template_beg_flag = 0;  // a template head never holds a ';'
  s.template_head.clear();
  s.statement_commas = 0;
  s.annotation_open = 0;
  scope_semicolon(g);
}

void Equals(const char* line, size_t i, size_t len, int line_number, G& g) {
  ScanState& s = g.scan;
  const char prev = i > 0 ? line[i - 1] : '\0';
  const char next = i + 1 < len ? line[i + 1] : '\0';
  if (prev == '=' || prev == '!' || prev == '<' || prev == '>') {
    CountComparison(s);
    return;
  }
  // The first '=' of "==", a C# lambda "=>" and a C++ lambda capture "[="
  // assign nothing.
  if (next == '=' || next == '>' || prev == '[') return;
  if (s.template_beg_flag || s.preproc_flag) return;
  if (!g.typing.c_flag && InOperatorName(line, i)) return;
  // Inside the body of an assignment operator (its name holds '=') no
  // assignment is taken; that test joins with function identification.
  if (!s.assignment_flag) g.fs.assign_paren_level = s.paren_level;
  s.assignment_flag = 1;
  test_literal_assignment(line, i + 1, len, line_number, g);
  // Class data counting of data definitions joins here.
  scope_assignment(g);
  if (s.in_if_condition)
    raise_notice(g, 4, line_number);
  else if (s.in_while_condition)
    raise_notice(g, 5, line_number);
}

// A Java annotation with arguments is open until its closing parenthesis;
// its parentheses are no function head.
void Annotation(const char* line, size_t i, size_t len, G& g) {
  size_t p = i + 1;
  while (p < len && (IsWordChar(line[p]) || line[p] == '.')) ++p;
  while (p < len && IsBlank(line[p])) ++p;
  if (p < len && line[p] == '(') {
    g.scan.annotation_open = 1;
    g.scan.annotation_level = g.scan.paren_level;
  }
}

}  // namespace

void test_literal_assignment(const char* line, size_t pos, size_t len,
                             int line_number, G& g) {
  ScanState& s = g.scan;
  for (;;) {
    pos = SkipBlanksAndComments(line, pos, len);
    if (pos >= len || IsLineEnd(line[pos])) {
      s.assignment_pending = line_number;
      return;
    }
    if (line[pos] != '(') break;
    size_t close = MatchingParen(line, pos, len);  // a cast
    if (close >= len) return;
    pos = close + 1;
  }
  if (!IsDigit(line[pos])) return;
  if (s.const_flag || s.enum_state == kEnumBody || s.virtual_flag) return;
  if (!g.cfg.zero_literal && IsZeroLiteral(line, pos, len)) return;
  raise_notice(g, 50, line_number);
}

// The scanner calls this only for the characters its PunctuationUseTable
// names (analysis/line_scanner.cc): a new case here goes there as well.
void dispatch_operator(const char* line, size_t i, size_t len,
                       int line_number, G& g) {
  ScanState& s = g.scan;
  FileCounters& k = g.counters;
  const char c = line[i];
  const char prev = i > 0 ? line[i - 1] : '\0';
  const char next = i + 1 < len ? line[i + 1] : '\0';
  const char after_next = i + 2 < len ? line[i + 2] : '\0';

  switch (c) {
    case '(': OpenParen(line, i, len, line_number, g); break;
    case ')': CloseParen(line, i, len, line_number, g); break;
    case '{': OpenBrace(line, i, len, line_number, g); break;
    case '}': CloseBrace(line, i, len, line_number, g); break;
    case '[':
      ++k.open_bracket;
      scope_bracket(c, g);
      // Bracketed attributes are marked here once function heads and
      // class bodies are tracked.
      break;
    case ']':
      ++k.close_bracket;
      scope_bracket(c, g);
      break;
    case ';': Semicolon(line, i, line_number, g); break;
    case '=': Equals(line, i, len, line_number, g); break;
    case '?':
      if (prev == '?' || next == '?') break;  // C#'s "??"
      if (TypeQuestionMark(line, i, len, g.typing)) break;
      ++s.fn.local_ternary;
      if (!s.macro_with_args) raise_notice(g, 23, line_number);
      break;
    case '.':
      if (next == '.' && after_next == '.' && i > 0 &&
          (IsBlank(prev) || prev == ',' || prev == '(') && !s.catch_flag &&
          g.opt.notice_flag) {
        const char after = i + 3 < len ? line[i + 3] : '\0';
        if (IsBlank(after) || after == ')') raise_notice(g, 3, line_number);
      }
      break;
    case '+':
    case '-':
      // A prefix "++x" or "--x"; the middle sign of "a+++b" is no prefix.
      if (next == c && prev != c &&
          (IsAlpha(after_next) || after_next == '_' || after_next == '~'))
        raise_notice(g, c == '+' ? 7 : 6, line_number,
                     MacroNoticeArgs(s));
      break;
    case '&':
    case '|':
      // Counted for the function only inside its body.
      // Directive lines ("#if A && B") and macro bodies are no code of
      // the function.
      if (next == c && prev != c && g.fs.function_scope > 0 &&
          g.fs.funcname_flag && !s.preproc_flag &&
          !(c == '&' && !g.typing.java_flag && !g.typing.csharp_flag &&
            ReferenceAmpersands(line, i, len, s.in_for_header))) {
        ++s.fn.local_logical;
        ++(c == '&' ? s.fn.local_and : s.fn.local_or);
      }
      break;
    case '<':
      if (s.template_beg_flag) ++s.template_head_depth;
      if (next == '=' || next == '<' || next == '-' || prev == '<') break;
      ++s.template_depth;
      CountComparison(s);
      break;
    case '>':
      if (s.template_beg_flag && prev != '-' && s.template_head_depth > 0 &&
          --s.template_head_depth == 0)
        s.template_beg_flag = 0;
      if (next == '=' || next == '>' || prev == '>' || prev == '-') break;
      if (s.template_depth > 0) --s.template_depth;
      CountComparison(s);
      break;
    case ',':
      // Commas of a base list are left out as well once class heads are
      // tracked.
      if (s.template_depth <= 0 && !s.friend_flag &&
          s.enum_state != kEnumBody && s.paren_level == 0)
        ++s.statement_commas;
      break;
    case '@':
      if (g.typing.java_flag) Annotation(line, i, len, g);
      break;
    default:
      break;
  }
}

}  // namespace vek
