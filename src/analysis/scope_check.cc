#include "analysis/scope_check.h"

#include "analysis/notice_points.h"
#include "driver/state.h"

namespace vek {

namespace {

constexpr int kDo = 1;
constexpr int kElse = 2;
constexpr int kWhile = 5;
constexpr int kScopeNotice = 22;

bool IsWordChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         (c >= '0' && c <= '9') || c == '_';
}

// The first character from `pos` that is not a blank or tab.
size_t NextNonBlank(const char* line, size_t pos, size_t len) {
  while (pos < len && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
  return pos;
}

// The line ends here: its end, a line end character or a comment.
bool EndsAt(const char* line, size_t pos, size_t len) {
  if (pos >= len || line[pos] == '\r' || line[pos] == '\n') return true;
  return line[pos] == '/' && pos + 1 < len &&
         (line[pos + 1] == '/' || line[pos + 1] == '*');
}

void Clear(ScanState& s) {
  s.scope_check_kind = 0;
  s.scope_check_deferred = 0;
}

// The decision waits for the next code, after a comment or on a later
// line.
void Defer(ScanState& s) { s.scope_check_deferred = 1; }

// The content is not braced: the notice, inside a function body only.
void Raise(G& g) {
  ScanState& s = g.scan;
  if (g.fs.function_scope > 0)
    raise_notice(g, kScopeNotice, s.scope_check_line, s.scope_check_word);
  Clear(s);
}

// Decides the check by what follows at `pos`: a '{' satisfies it (as does
// a ';' after a while, the tail of a do-while), a line end defers it,
// anything else raises the notice.
void DecideAt(const char* line, size_t pos, size_t len, G& g) {
  ScanState& s = g.scan;
  pos = NextNonBlank(line, pos, len);
  if (EndsAt(line, pos, len)) {
    Defer(s);
  } else if (line[pos] == '{' ||
             (line[pos] == ';' && s.scope_check_kind == kWhile)) {
    Clear(s);
  } else {
    Raise(g);
  }
}

// True when the code of the line (up to a comment) has as many '(' as ')'
// and no '{'.
bool BalancedWithoutBrace(const char* line, size_t len) {
  int depth = 0;
  char quote = 0;
  for (size_t p = 0; p < len; ++p) {
    const char c = line[p];
    if (quote != 0) {
      if (c == '\\') ++p;
      else if (c == quote) quote = 0;
      continue;
    }
    switch (c) {
      case '"':
      case '\'':
        quote = c;
        break;
      case '\r':
      case '\n':
        return depth == 0;  // the line ends
      case '/':
        if (EndsAt(line, p, len)) return depth == 0;  // a comment
        break;
      case '{':
        return false;
      case '(':
        ++depth;
        break;
      case ')':
        --depth;
        break;
      default:
        break;
    }
  }
  return depth == 0;
}

}  // namespace

void scope_check_open(int kind, std::string_view word, const char* line,
                      size_t end, size_t len, int line_number, G& g) {
  ScanState& s = g.scan;
  if (!(g.opt.function_flag || g.opt.extract_docs) || s.preproc_flag) return;
  s.scope_check_kind = kind;
  s.scope_check_line = line_number;
  s.scope_check_paren = s.paren_level;
  s.scope_check_deferred = 0;
  static constexpr const char* kWords[] = {"", "do", "else", "for", "if",
                                           "while"};
  s.scope_check_word = word == "foreach"        ? "foreach"
                       : kind >= 1 && kind <= 5 ? kWords[kind]
                                                : "";
  if (kind == kDo || kind == kElse) DecideAt(line, end, len, g);
}

void scope_check_close_paren(const char* line, size_t i, size_t len, G& g) {
  ScanState& s = g.scan;
  if (s.scope_check_kind == 0 || s.scope_check_kind == kDo ||
      s.scope_check_kind == kElse || s.scope_check_deferred != 0 ||
      s.paren_level != s.scope_check_paren)
    return;
  DecideAt(line, i + 1, len, g);
}

void scope_check_code(const char* line, size_t i, size_t len, G& g) {
  ScanState& s = g.scan;
  if (s.scope_check_kind == 0 || s.scope_check_deferred == 0) return;
  // Directive lines between the keyword and its content decide nothing.
  if (line[i] == '#' || s.preproc_flag) return;
  if (s.scope_check_kind == kElse && len - i >= 2 && line[i] == 'i' &&
      line[i + 1] == 'f' && (i + 2 >= len || !IsWordChar(line[i + 2]))) {
    Clear(s);
    return;
  }
  if (BalancedWithoutBrace(line, len))
    Raise(g);
  else
    Clear(s);
}

}  // namespace vek
