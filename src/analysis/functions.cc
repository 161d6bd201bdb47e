// Function identification: the name in front of a parenthesis, its
// validation and qualification, and the normal forms of names and
// parameter lists.
#include "analysis/functions.h"

#include <cstring>

#include <algorithm>
#include <string>
#include <string_view>

#include "analysis/dispatch_parts.h"
#include "driver/state.h"
#include "reports/output.h"

namespace vek {

namespace {

constexpr size_t kNpos = std::string_view::npos;
constexpr size_t kTextMax = kLineSize - 1;  // a full name or parameter buffer

// Words that stand before a parenthesis without naming a function.
constexpr std::string_view kSystemTypes[] = {
    "unsigned", "char", "short", "int",   "long", "float", "double",
    "void",     "signed", "while", "if", "else", "for"};

bool IsNameStart(char c) { return IsAlpha(c) || c == '_' || c == '~'; }

// Characters that can stand in no function name: a name written straight
// after the end of a statement, a block or an attribute ("}int g(",
// "{Counter(", "]]int f(") starts after them.
bool EndsName(char c) {
  return c == '{' || c == '}' || c == ';' || c == ',' || c == '=' ||
         c == ')' || c == ']' || c == '"' || c == '\'' || c == '!' ||
         c == '?';
}
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }

// The first occurrence of `word` in `t` that is a whole word.
size_t FindWord(std::string_view t, std::string_view word) {
  for (size_t at = t.find(word); at != kNpos; at = t.find(word, at + 1)) {
    size_t end = at + word.size();
    if ((at == 0 || !IsWordChar(t[at - 1])) &&
        (end >= t.size() || !IsWordChar(t[end])))
      return at;
  }
  return kNpos;
}

// The index of the first significant character after `pos` (blanks, tabs
// and block comments skipped; a // comment ends the text), or t.size().
size_t NextSignificant(std::string_view t, size_t pos) {
  if (pos + 1 >= t.size()) return t.size();
  return SkipBlanksAndComments(t.data(), pos + 1, t.size());
}

char NextSignificantChar(std::string_view t, size_t pos) {
  size_t at = NextSignificant(t, pos);
  return at < t.size() ? t[at] : '\0';
}

// Where a // comment starts in `t`, passing over string and character
// literals and block comments; kNpos when there is none.
size_t LineCommentStart(std::string_view t) {
  // Most heads hold no '/' at all.
  if (t.empty() || std::memchr(t.data(), '/', t.size()) == nullptr) return kNpos;
  char quote = 0;
  for (size_t i = 0; i < t.size(); ++i) {
    char c = t[i];
    if (quote) {
      if (c == '\\') {
        ++i;
      } else if (c == quote) {
        quote = 0;
      }
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '/' && i + 1 < t.size() && t[i + 1] == '*') {
      size_t close = t.find("*/", i + 2);
      if (close == kNpos) return kNpos;
      i = close + 1;
    } else if (c == '/' && i + 1 < t.size() && t[i + 1] == '/') {
      return i;
    }
  }
  return kNpos;
}

bool IsKnownMacro(std::string_view name, const G& g) {
  return g.macro_names.contains(name);
}

bool IsSystemType(std::string_view name) {
  return std::find(std::begin(kSystemTypes), std::end(kSystemTypes), name) !=
         std::end(kSystemTypes);
}

// States of the statement in which a search must not go on.
bool StatementForbids(const G& g) {
  const ScanState& s = g.scan;
  return s.preproc_flag || s.define_flag || s.typedef_flag ||
         s.assignment_flag || s.template_beg_flag;
}

void Reject(G& g) {
  FunctionState& f = g.fs;
  f.funcname_flag = 0;
  f.func_name.clear();
  f.param_text.clear();
}

void RejectWithTemplate(G& g) {
  Reject(g);
  g.fs.template_flag = 0;
  g.fs.template_text.clear();
}

// The index of the ')' that closes the first '(' of a parameter text, or
// kNpos when the list does not close in it.
size_t ListEnd(std::string_view t) {
  const size_t open = t.find('(');
  if (open == kNpos) return kNpos;
  int depth = 0;
  for (size_t i = open; i < t.size(); ++i) {
    if (t[i] == '(') {
      ++depth;
    } else if (t[i] == ')' && --depth == 0) {
      return i;
    }
  }
  return kNpos;
}

// Copies backwards from `q` (a '>') to the '<' that matches it, dropping
// blanks and tabs, onto the reversed name; returns the index in front of
// the group (negative at the start of the text).
long CopyTemplateGroup(std::string_view t, long q, std::string& work) {
  int depth = 0;
  while (q >= 0 && work.size() < kTextMax) {
    char d = t[static_cast<size_t>(q)];
    if (d == '>') {
      ++depth;
    } else if (d == '<') {
      --depth;
    }
    if (!IsBlank(d)) work += d;
    --q;
    if (depth == 0) break;
  }
  return q;
}

// The ordinary path: the name that ends in front of the parenthesis at
// `p`.  Returns false when the parenthesis opens a function-pointer
// declarator without a parameter list.
bool OrdinaryName(std::string_view t, size_t p, G& g) {
  const size_t n = t.size();
  if (p > n) p = n;  // n: the line end of a previous code line
  // A trailing line comment is no part of the head.
  size_t comment = LineCommentStart(t);
  if (comment != kNpos && comment <= p) p = comment;

  // "(*name)(...)": the name stands inside the first parenthesis.
  if (p < n && NextSignificantChar(t, p) == '*') {
    ++p;
    if (t.find('(') == t.rfind('(')) return false;
    while (p < n && t[p] != '(' && NextSignificantChar(t, p) != '*') ++p;
    if (p >= n) return false;
  }

  long q = static_cast<long>(p);
  do {
    if (q > 0) --q;
  } while (q > 0 && (IsBlank(t[q]) || t[q] == ')' || t[q] == '\r' ||
                     t[q] == '\n'));

  std::string work;  // the name, last character first
  if (t[static_cast<size_t>(q)] == ' ') q = -1;
  while (q >= 0 && work.size() < kTextMax) {
    const char c = t[static_cast<size_t>(q)];
    if (c == '\t' || c == '(' || EndsName(c)) break;
    if (c == '>') {
      q = CopyTemplateGroup(t, q, work);
      continue;
    }
    if (c == '/' && q > 0 && t[q - 1] == '*') {
      // A comment between the name and its parenthesis.  One that
      // follows a word already taken separates it from the next.
      if (!work.empty()) break;
      size_t open = t.rfind("/*", static_cast<size_t>(q - 1));
      if (open == kNpos) break;
      q = static_cast<long>(open) - 1;
      while (q >= 0 && IsBlank(t[static_cast<size_t>(q)])) --q;
      continue;
    }
    if (c == '*' || c == '&') break;
    if (c == ' ') {
      // "A :: b" is read as "A::b".
      long r = q;
      while (r >= 0 && IsBlank(t[static_cast<size_t>(r)])) --r;
      bool before = r >= 1 && t[r] == ':' && t[r - 1] == ':';
      bool after = work.size() >= 2 && work[work.size() - 1] == ':' &&
                   work[work.size() - 2] == ':';
      if (!before && !after) break;
      q = r;
      continue;
    }
    work += c;
    --q;
  }
  std::string name(work.rbegin(), work.rend());

  // Anything up to a '&', '*' or blank outside template arguments is type.
  int depth = 0;
  for (size_t i = name.size(); i-- > 1;) {
    char c = name[i];
    if (c == '>') {
      ++depth;
    } else if (c == '<') {
      --depth;
    } else if (depth <= 0 && (c == '&' || c == '*' || c == ' ')) {
      name.erase(0, i + 1);
      break;
    }
  }
  g.fs.func_name = std::move(name);
  return true;
}

// The operator path: "[Qualifier::]operator<symbol or type>".
void OperatorName(std::string_view t, size_t op, G& g) {
  const size_t n = t.size();
  std::string qualifier;
  size_t r = op;
  while (r > 0 && IsBlank(t[r - 1])) --r;
  if (r >= 2 && t[r - 1] == ':' && t[r - 2] == ':') {
    size_t end = r - 2;
    while (end > 0 && IsBlank(t[end - 1])) --end;
    // The qualifier is the word in front of the "::", template arguments
    // (blanks and all) included.
    size_t start = end;
    while (start > 0) {
      char c = t[start - 1];
      if (c == '>') {
        int depth = 0;
        while (start > 0) {
          char d = t[--start];
          if (d == '>') ++depth;
          if (d == '<' && --depth == 0) break;
        }
        continue;
      }
      if (IsBlank(c) || c == '&' || c == '*') break;
      --start;
    }
    for (size_t i = start; i < r && qualifier.size() < kTextMax; ++i)
      if (!IsBlank(t[i])) qualifier += t[i];
    if (qualifier.size() >= 2 &&
        qualifier.compare(qualifier.size() - 2, 2, "::") == 0)
      qualifier.resize(qualifier.size() - 2);
  }

  constexpr std::string_view kWord = "operator";
  std::string name(kWord);
  size_t k = op + kWord.size();
  if (NextSignificantChar(t, k - 1) == '(') {
    name = "operator ()";
  } else {
    bool first_blank = true;
    while (k < n && name.size() < kTextMax) {
      char c = t[k];
      if (c == '\0' || c == '\r' || c == '\n' || c == '(') break;
      if (c == '/' && k + 1 < n && t[k + 1] == '*') {
        size_t close = t.find("*/", k + 2);
        k = close == kNpos ? n : close + 2;
        continue;
      }
      if (IsBlank(c)) {
        while (k < n && IsBlank(t[k])) ++k;
        if (first_blank) name += ' ';
        first_blank = false;
        continue;
      }
      name += c;
      ++k;
    }
  }
  if (!qualifier.empty()) name = qualifier + "::" + name;
  g.fs.func_name = Bounded(name, kLineSize);
  if (g.debug_flag)
    Out(g, "*** Debug: operator G->func_name = %s\n\n", g.fs.func_name.c_str());
}

// The template prefix of the function being accepted: the template head
// the dispatch kept, without its keyword.  The head is used up.
void TakeTemplate(G& g) {
  std::string& head = g.scan.template_head;
  if (head.empty() || !g.typing.cpp_flag) return;
  std::string_view v = head;
  constexpr std::string_view kKeyword = "template";
  if (v.substr(0, kKeyword.size()) == kKeyword) v.remove_prefix(kKeyword.size());
  v = TrimRight(TrimLeft(v));
  g.fs.template_text = Bounded(v, kLineSize);
  g.fs.template_flag = 1;
  head.clear();
}

// The namespaces a name qualified by `first` ("net" of "net::connect")
// is completed with when defined inside namespace `ns`: those around the
// innermost part of `ns` named `first` ("app" for "app::net"), none when
// that is the outermost, all of `ns` when no part is named so.
std::string_view CompletingNamespace(std::string_view ns,
                                     std::string_view first) {
  size_t end = ns.size();
  for (;;) {
    size_t cut = end >= 2 ? ns.rfind("::", end - 2) : kNpos;
    size_t begin = cut == kNpos ? 0 : cut + 2;
    if (ns.substr(begin, end - begin) == first)
      return cut == kNpos ? std::string_view() : ns.substr(0, cut);
    if (cut == kNpos) return ns;
    end = cut;
  }
}

// Functions defined inside an open namespace or package carry its name,
// or that of their class.
void Qualify(G& g) {
  FunctionState& f = g.fs;
  const FileTyping& t = g.typing;
  const bool c_family = t.c_flag || t.cpp_flag;
  const bool in_class = f.class_open_flag && !f.class_name.empty() &&
                        IsNameStart(f.class_name[0]);
  if (!f.namespace_open_flag || f.namespace_name.empty() ||
      !IsNameStart(f.namespace_name[0])) {
    // A method defined in its class body outside any namespace still
    // belongs to its class.
    if (in_class && f.func_name.find(':') == std::string::npos)
      f.func_name = Bounded(f.class_name + (c_family ? "::" : ".") + f.func_name,
                            kLineSize);
    return;
  }
  size_t colon = f.func_name.find(':');
  std::string name;
  if (colon == std::string::npos) {
    bool by_class = f.class_open_flag && !f.class_name.empty() &&
                    IsNameStart(f.class_name[0]);
    name = (by_class ? f.class_name : f.namespace_name) +
           (c_family ? "::" : ".") + f.func_name;
  } else {
    std::string_view outer = CompletingNamespace(
        f.namespace_name, std::string_view(f.func_name).substr(0, colon));
    if (outer.empty()) return;
    name = std::string(outer) + (t.csharp_flag ? "." : "::") + f.func_name;
  }
  f.func_name = Bounded(name, kLineSize);
}

}  // namespace

bool ValFunctionName(G& g, size_t operator_pos) {
  std::string& name = g.fs.func_name;
  name.resize(TrimRight(name, kWhiteEnd).size());
  bool ok = false;
  if (!name.empty()) {
    const char first = name.front();
    const char last = name.back();
    const bool tail = IsAlpha(last) || IsDigit(last) || last == '~' ||
                      last == '_';
    if (!g.typing.c_flag && operator_pos != kNoOperator) {
      ok = IsNameStart(first) || first == ':';
    } else if (g.typing.c_flag) {
      ok = tail;
    } else {
      ok = tail || last == ':' || last == '>' || last == '<';
    }
  }
  if (g.debug_flag)
    Out(g, "*** Debug: ValFunctionName: %d - %s\n\n", ok ? 1 : 0,
        name.c_str());
  return ok;
}

std::string FirstWord(std::string_view line, size_t start, G& g) {
  size_t i = start;
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (i >= line.size() || IsLineEnd(line[i])) return {};
  if (line.substr(i, 2) == "//") return {};
  if (line.substr(i, 2) == "/*") {
    size_t close = line.find("*/", i + 2);
    if (close == kNpos) return {};
    i = close + 2;
    while (i < line.size() && IsBlank(line[i])) ++i;
  }
  constexpr std::string_view kStops = " \t{:\r\n(;)/";
  size_t end = i;
  while (end < line.size() && line[end] != '\0' &&
         kStops.find(line[end]) == kNpos)
    ++end;
  if (end - i > kTextMax) {
    Out(g, "  Error: Unexpected line length with no line feed\n");
    return {};
  }
  if (end == i || !IsNameStart(line[i])) return {};
  return std::string(line.substr(i, end - i));
}

std::string NormaliseName(std::string_view name) {
  if (name.size() >= kLineSize) return std::string(name.substr(0, kTextMax));
  std::string out;
  size_t i = 0;
  auto word_at = [&](std::string_view word) {
    return name.substr(i, word.size()) == word &&
           (i == 0 || !IsWordChar(name[i - 1]));
  };
  while (i < name.size()) {
    const char c = name[i];
    if (IsBlank(c)) {
      ++i;
      continue;
    }
    // Only 'c', 't' and 'o' can begin the words looked for here.
    if (c != 'c' && c != 't' && c != 'o') {
      out += c;
      ++i;
      continue;
    }
    bool dropped = false;
    for (std::string_view word : {std::string_view("class"),
                                  std::string_view("typename")}) {
      size_t end = i + word.size();
      if (word_at(word) && end < name.size() && IsBlank(name[end])) {
        i = end;
        dropped = true;
        break;
      }
    }
    if (dropped) continue;
    constexpr std::string_view kOperator = "operator";
    size_t end = i + kOperator.size();
    if (word_at(kOperator) && end < name.size() && IsBlank(name[end])) {
      out += "operator ";
      i = end;
      while (i < name.size() && IsBlank(name[i])) ++i;
      continue;
    }
    out += c;
    ++i;
  }
  return out;
}

std::string CleanParameterText(std::string_view text) {
  std::string_view t = text.substr(0, kTextMax);
  size_t comment = LineCommentStart(t);
  if (comment != kNpos) t = t.substr(0, comment);
  // The first block comment goes; the text on both sides of it joins.
  std::string_view tail;
  size_t open = t.find("/*");
  if (open != kNpos) {
    size_t close = t.find("*/", open + 2);
    if (close != kNpos) tail = t.substr(close + 2);
    t = t.substr(0, open);
  }
  std::string out;
  out.reserve(t.size() + tail.size());
  // Runs of blanks and line ends become one blank; the rest is copied a
  // run at a time.
  auto append = [&out](std::string_view piece) {
    size_t i = 0;
    while (i < piece.size()) {
      size_t j = i;
      while (j < piece.size() && !IsBlank(piece[j]) && !IsLineEnd(piece[j])) ++j;
      out.append(piece.data() + i, j - i);
      if (j == piece.size()) break;
      if (out.empty() || out.back() != ' ') out += ' ';
      i = j + 1;
    }
  };
  append(t);
  append(tail);
  return out;
}

std::string FormatParameters(std::string_view params, std::string_view name,
                             const G& g) {
  std::string_view t = params;
  const size_t brace = t.find('{');
  const size_t close = t.find(')');
  const bool is_operator =
      name == "operator" || name.find("::operator") != std::string_view::npos;
  if (!is_operator) {
    // The list ends at the parenthesis that closes its first one: what
    // follows ("const", "throw()", "noexcept(...)", "-> decltype(...)",
    // an initialiser list, the body) is no parameter.  A list that does
    // not close keeps its text up to the body.
    const size_t list_end = ListEnd(t);
    if (list_end != kNpos) {
      t = t.substr(0, list_end + 1);
    } else if (brace != kNpos && close != kNpos && brace > close) {
      t = t.substr(0, brace);
    }
  } else if (brace != kNpos && close != kNpos && brace > close) {
    t = t.substr(0, brace);
  } else {
    size_t last = t.rfind(')');
    if (last != kNpos) t = t.substr(0, last + 1);
  }

  // Written through a pointer: the text never grows in this pass.
  std::string out(t.size() + 1, '\0');
  char* const begin = out.data();
  char* o = begin;
  for (char c : t) {
    if (c == '\t' || IsLineEnd(c)) continue;
    if (c == ' ' && o != begin && (o[-1] == ' ' || o[-1] == '(')) continue;
    if (c == ')' && o != begin && o[-1] == ' ') --o;
    *o++ = c;
  }
  out.resize(static_cast<size_t>(o - begin));
  size_t last = out.rfind(')');
  if (last != std::string::npos) out.resize(last + 1);
  if (out.size() > kTextMax) out.resize(kTextMax);
  if (out.empty() || out.back() != ')') {
    if (out.size() == kTextMax) out.pop_back();
    out += ')';
  }
  if (g.fs.non_ansi_flag) out += " Non-ANSI Parameter Construct";
  if (g.fs.directive_flag) out += " Defined By Compiler Directive";
  return Bounded(out, kLineSize);
}

int CountParameters(std::string_view params) {
  // The markers FormatParameters appends say nothing about the count.
  for (std::string_view marker : {std::string_view(" Defined By Compiler Directive"),
                                  std::string_view(" Non-ANSI Parameter Construct")}) {
    if (params.size() >= marker.size() &&
        params.substr(params.size() - marker.size()) == marker)
      params.remove_suffix(marker.size());
  }
  if (params == "(void)" || params == "()") return 0;
  if (params.empty()) return 1;
  // Only the commas of the list itself separate parameters: not those
  // inside template arguments, a function-pointer parameter's own list or
  // a default argument's call or braces.
  int count = 1;
  int angle = 0;
  int nested = 0;  // parentheses, brackets and braces inside the list
  bool in_list = false;
  for (char c : params) {
    if (c == '(' || c == '[' || c == '{') {
      if (c == '(' && !in_list) {
        in_list = true;
      } else {
        ++nested;
      }
    } else if (c == ')' || c == ']' || c == '}') {
      if (nested > 0) --nested;
    } else if (c == '<') {
      ++angle;
    } else if (c == '>') {
      if (angle > 0) --angle;
    } else if (c == ',' && angle == 0 && nested == 0) {
      ++count;
    }
  }
  return count;
}

void GetFunction(std::string_view text, size_t p, G& g) {
  FunctionState& f = g.fs;
  f.macro_call_flag = 0;
  f.directive_flag = 0;
  if (text.empty() || f.instantiate_colon_flag) return;
  f.func_name.clear();
  f.param_text.clear();

  const FileTyping& t = g.typing;
  const size_t first_paren = text.find('(');
  const size_t op = FindWord(text, "operator");
  // Operators are overloaded in C++ and C# only; in Java "operator" is
  // an ordinary name.  The word must belong to this head: no statement or
  // block ends between it and the parenthesis.
  const bool operator_path =
      (t.cpp_flag || t.csharp_flag) && op != kNpos &&
      (first_paren == kNpos || op < first_paren) &&
      text.substr(op, p > op ? p - op : 0).find_first_of(";{}") == kNpos;
  if (operator_path) {
    OperatorName(text, op, g);
  } else if (!OrdinaryName(text, p, g)) {
    Reject(g);
    return;
  }

  if (!ValFunctionName(g, operator_path ? op : kNoOperator)) {
    Reject(g);
    return;
  }
  if (!g.scan.assignment_flag && IsSystemType(f.func_name)) {
    if (g.debug_flag)
      Out(g,
          "*** Debug:\n  Warning: Line No. %d\n           Function name is a "
          "system type - %s\n           This may occur if a macro name is "
          "equivalent\n           to a function name.  Functional analysis "
          "has\n           been skipped by VEK.\n\n",
          g.file.line_number, f.func_name.c_str());
    Reject(g);
    return;
  }
  if (t.csharp_flag && f.func_name.find('[') != std::string::npos) {
    Reject(g);  // an attribute
    return;
  }

  if (!IsKnownMacro(f.func_name, g)) {
    bool has_lower = std::any_of(f.func_name.begin(), f.func_name.end(), IsLower);
    if (!has_lower && FirstWord(text, 0, g) == f.func_name) f.macro_call_flag = 1;
    f.funcname_flag = 1;
    f.param_count = 0;
    f.explicit_void_params = 0;
    g.scan.fn.local_returns = 0;
    TakeTemplate(g);
    Qualify(g);
    return;
  }

  // A macro between the name and its parenthesis, or in front of the
  // name: search again in front of the macro's first occurrence.
  const std::string macro = f.func_name;
  const size_t at = FindWord(text, macro);
  if (at == kNpos || NextSignificantChar(text, at + macro.size() - 1) == '(' ||
      at < 1 || StatementForbids(g)) {
    RejectWithTemplate(g);
    return;
  }
  GetFunction(text, at, g);
  if (f.funcname_flag)
    f.param_text = CleanParameterText(text.substr(at + macro.size()));
}

}  // namespace vek
