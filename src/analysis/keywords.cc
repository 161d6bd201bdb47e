#include "analysis/keywords.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "analysis/dispatch_parts.h"
#include "analysis/notice_points.h"
#include "analysis/scope.h"
#include "analysis/scope_check.h"
#include "analysis/types.h"
#include "driver/state.h"
#include "reports/macro_block.h"

namespace vek {

namespace {

// The languages a keyword is recognised in.
enum Lang : unsigned {
  kLangC = 1,
  kLangCpp = 2,
  kLangJava = 4,
  kLangCs = 8,
  kAll = kLangC | kLangCpp | kLangJava | kLangCs,
  kCppCs = kLangCpp | kLangCs,
  kJavaCs = kLangJava | kLangCs,
};

// What may stand after a keyword.  kSkipBlanks passes over blanks and tabs
// first, so "if (" and "if(" are alike.
enum Follow : unsigned {
  kBlank = 1,         // blank or tab
  kLineEnd = 2,       // CR, LF or the end of the line
  kComment = 4,       // the start of a // or /* comment
  kSep = kBlank | kLineEnd | kComment,
  kOperatorChar = 8,  // any operator character ("operator+")
  kSkipBlanks = 16,
  kNextArg = kSkipBlanks | kLineEnd | kComment,  // "(", LF and the like
};

constexpr const char* kOperatorChars = "+-*/%^&|~!=<>()[],";

// The kinds the scope check of notice #22 remembers.
enum ScopeKind { kScopeDo = 1, kScopeElse = 2, kScopeFor = 3, kScopeIf = 4,
                 kScopeWhile = 5 };

enum EnumState { kEnumNone = 0, kEnumBody = 1, kEnumHead = 2 };

// A keyword found at `i`; `end` is the position after its last letter.
struct Hit {
  const char* line;
  size_t i;
  size_t end;
  size_t len;
  int line_number;
  G& g;
};

using Effect = void (*)(Hit&);

struct Keyword {
  std::string_view word;
  unsigned langs;
  bool cpp_word;  // in a C file: notice #24 and nothing else
  unsigned follow;
  const char* follow_chars;
  Effect effect;     // null: recognised, nothing to count here
  Effect otherwise;  // the word spelt out but its follow test failed
};

bool InSet(const char* set, char c) {
  return c != '\0' && std::strchr(set, c) != nullptr;
}

size_t SkipBlanks(const char* line, size_t pos, size_t len) {
  while (pos < len && IsBlank(line[pos])) ++pos;
  return pos;
}

bool FollowOk(unsigned follow, const char* chars, const char* line,
              size_t pos, size_t len) {
  if (follow & kSkipBlanks) pos = SkipBlanks(line, pos, len);
  if (pos >= len) return (follow & kLineEnd) != 0;
  char c = line[pos];
  if ((follow & kBlank) && IsBlank(c)) return true;
  if ((follow & kLineEnd) && IsLineEnd(c)) return true;
  if ((follow & kComment) && CommentAt(line, pos, len)) return true;
  if ((follow & kOperatorChar) && InSet(kOperatorChars, c)) return true;
  return InSet(chars, c);
}

// The characters that may stand in front of a keyword, by its first letter
// (the start of the line always may); null for letters that begin none.
constexpr const char* LeadSet(char first) {
  switch (first) {
    case 'a': case 'c': case 'd': case 'f': case 'g': case 'i': case 'n':
    case 'p': case 'r': case 's': case 't': case 'u':
      return " \t;)={}";
    case 'b': return " \t{};";
    case 'e': return " \t;)=}";
    case 'm': return " \t;)=";
    case 'o': return " \t:;)=(";
    case 'v': return " \t;:()={}";
    case 'w': return " \t;){}";
    case '_': return " \t;";
    default: return nullptr;
  }
}

unsigned FileLanguage(const FileTyping& t) {
  if (t.c_flag) return kLangC;
  if (t.cpp_flag) return kLangCpp;
  if (t.java_flag) return kLangJava;
  if (t.csharp_flag) return kLangCs;
  return 0;
}

void Notice(Hit& h, int number, std::string_view detail = {}) {
  raise_notice(h.g, number, h.line_number, detail);
}

// Remembers a do, else, for, if or while for the scope check of notice
// #22 (analysis/scope_check).
void OpenScopeCheck(Hit& h, ScopeKind kind) {
  scope_check_open(kind, std::string_view(h.line + h.i, h.end - h.i), h.line,
                   h.end, h.len, h.line_number, h.g);
}

// True when the rest of the line from the keyword holds a ';' before any
// '{': a declaration without a body on this line.
bool DeclarationOnly(const Hit& h) {
  std::string_view rest(h.line + h.i, h.len - h.i);
  size_t semi = rest.find(';');
  return semi != std::string_view::npos &&
         rest.substr(0, semi).find('{') == std::string_view::npos;
}

// --- Keyword effects ------------------------------------------------------

void Exit(Hit& h) {
  ++h.g.counters.exit_count;
  ++h.g.scan.fn.local_returns;
}

void Alloc(Hit& h) { ++h.g.counters.alloc_count; }
void Free(Hit& h) { ++h.g.counters.free_count; }
void Realloc(Hit& h) { Notice(h, 8); }

void And(Hit& h) {
  ++h.g.scan.fn.local_logical;
  ++h.g.scan.fn.local_and;
}

void Or(Hit& h) {
  ++h.g.scan.fn.local_logical;
  ++h.g.scan.fn.local_or;
}

// Notice #44 (a break outside any switch) is tested against the switch
// stack at both kinds of counted break.
void Break(Hit& h) {
  FunctionCounters& f = h.g.scan.fn;
  if (f.last_was_break) Notice(h, 56);
  f.last_was_break = 1;
  ++h.g.counters.break_count;
  ++f.local_break;
  scope_break(h.line_number, h.g);
}

void BreakOtherwise(Hit& h) {
  if (keyword_follows(h.line, h.end, h.len, &h.g.counters.break_count, ';',
                      '\n')) {
    ++h.g.scan.fn.local_break;
    scope_break(h.line_number, h.g);
  }
}

void Case(Hit& h) {
  ++h.g.counters.case_count;
  ++h.g.scan.fn.local_case;
  h.g.scan.fn.last_was_break = 0;
}

void Default(Hit& h) {
  ++h.g.counters.default_count;
  ++h.g.scan.fn.local_default;
  h.g.scan.fn.last_was_break = 0;
}

void DefaultOtherwise(Hit& h) {
  if (keyword_follows(h.line, h.end, h.len, &h.g.counters.default_count,
                      ':', '\n'))
    ++h.g.scan.fn.local_default;
}

void Catch(Hit& h) { h.g.scan.catch_flag = 1; }

// A type head outside function bodies: its name and bases are read up to
// the body's '{'.
void TypeHead(Hit& h, int kind) {
  if (DeclarationOnly(h) || h.g.fs.function_scope > 0) return;
  // "where T : class" inside a head already being read.
  if (h.g.ts.head_pending && h.g.fs.type_head_pending) return;
  type_keyword(h.g, kind, h.line, h.end, h.len, h.line_number);
  scope_body_head(h.g);
}

// True while the head of a function is open: in its parameter list, or in
// a C# generic constraint between the list and the body ("where T :
// class").  A type keyword there names no type.
bool InFunctionHead(const G& g) {
  const FunctionState& f = g.fs;
  return f.funcname_flag && f.function_scope <= 0 &&
         (f.param_collect_flag || g.scan.where_flag);
}

void Class(Hit& h) {
  ScanState& s = h.g.scan;
  if (s.define_flag || s.enum_state != kEnumNone || s.typedef_flag ||
      s.template_beg_flag)
    return;
  if (s.friend_flag) s.friend_class_flag = 1;
  if (InFunctionHead(h.g)) return;
  // A line with a ';' and no '{' before it is a declaration and opens no
  // head.
  TypeHead(h, kKindClass);
}

void Interface(Hit& h) {
  const ScanState& s = h.g.scan;
  if (s.template_beg_flag || InFunctionHead(h.g)) return;
  TypeHead(h, kKindInterface);
}

// True when the line holds an '=' that is no comparison ("==", "!=", "<=",
// ">="), as an initialised variable does ("struct point p = { 1, 2 };").
bool HoldsAssignment(std::string_view line) {
  for (size_t p = line.find('='); p != std::string_view::npos;
       p = line.find('=', p + 1)) {
    const char before = p > 0 ? line[p - 1] : '\0';
    const char after = p + 1 < line.size() ? line[p + 1] : '\0';
    if (after == '=') {
      ++p;
      continue;
    }
    if (before != '!' && before != '<' && before != '>') return true;
  }
  return false;
}

// A struct or union head at parenthesis level 0 with no assignment on the line.
// A typedef does not hold it back: "typedef struct point { ... } point_t;"
// defines the struct as well.
void StructOrUnion(Hit& h, int kind) {
  const ScanState& s = h.g.scan;
  if (s.define_flag || s.enum_state != kEnumNone || s.template_beg_flag ||
      s.paren_level > 0 || InFunctionHead(h.g))
    return;
  if (HoldsAssignment(std::string_view(h.line, h.len))) return;
  TypeHead(h, kind);
}

void Struct(Hit& h) { StructOrUnion(h, kKindStruct); }

void Const(Hit& h) {
  h.g.scan.const_flag = 1;
  ++h.g.counters.const_count;
}

void Final(Hit& h) { h.g.scan.const_flag = 1; }
void Continue(Hit& h) { Notice(h, 43); }
void Delegate(Hit& h) { h.g.scan.delegate_flag = 1; }
void Event(Hit& h) { h.g.scan.event_flag = 1; }
void Where(Hit& h) { h.g.scan.where_flag = 1; }
void Delete(Hit& h) { ++h.g.counters.delete_count; }

void Do(Hit& h) {
  ++h.g.counters.do_count;
  OpenScopeCheck(h, kScopeDo);
}

void Else(Hit& h) {
  if (h.g.scan.preproc_flag) return;
  ++h.g.counters.else_count;
  std::string_view rest(h.line + h.i, h.len - h.i);
  bool if_follows = rest.find("if") != std::string_view::npos;
  if (if_follows) return;
  ++h.g.scan.fn.local_else;
  size_t next = SkipBlanks(h.line, h.end, h.len);
  if (next >= h.len || h.line[next] != '{') OpenScopeCheck(h, kScopeElse);
}

// An enum is a definition when its body opens before the statement ends;
// when the line ends first, the next '{' decides.
void Enum(Hit& h) {
  ScanState& s = h.g.scan;
  s.enum_state = kEnumHead;
  for (size_t p = h.end; (p = SkipBlanksAndComments(h.line, p, h.len)) < h.len;
       ++p) {
    switch (h.line[p]) {
      case ';': case ')': case ',': case '=':
        s.enum_state = kEnumNone;
        return;
      case '{':
        ++h.g.counters.enum_count;
        s.enum_state = kEnumBody;
        return;
      default:
        break;
    }
  }
}

void For(Hit& h) {
  ++h.g.counters.for_count;
  ++h.g.scan.fn.local_for;
  OpenScopeCheck(h, kScopeFor);
}

void ForHeader(Hit& h) {
  For(h);
  ScanState& s = h.g.scan;
  s.in_for_header = 1;
  s.for_header_level = s.paren_level + 1;  // the '(' that follows
  s.for_header_counted = 0;
}

void Friend(Hit& h) {
  h.g.scan.friend_flag = 1;
  ++h.g.counters.friend_count;
}

void Get(Hit& h) { h.g.scan.property_get_flag = 1; }

void Goto(Hit& h) {
  Notice(h, 9);
  ++h.g.scan.fn.local_goto;
  ++h.g.counters.goto_count;
  if (h.g.cfg.goto_as_return) ++h.g.scan.fn.local_returns;
}

void If(Hit& h) {
  ScanState& s = h.g.scan;
  ++h.g.counters.if_count;
  if (s.preproc_flag) return;
  ++s.fn.local_if;
  s.in_if_condition = 1;
  s.condition_compares = 0;
  s.fn.last_was_break = 0;
  OpenScopeCheck(h, kScopeIf);
}

void While(Hit& h) {
  ScanState& s = h.g.scan;
  ++h.g.counters.while_count;
  ++s.fn.local_while;
  s.in_while_condition = 1;
  s.condition_compares = 0;
  OpenScopeCheck(h, kScopeWhile);
}

void Import(Hit& h) { ++h.g.counters.import_count; }
void Inline(Hit& h) { ++h.g.counters.inline_count; }

// "using namespace" is a using directive: notice #32, and no namespace of
// its own.
void Namespace(Hit& h) {
  if (h.g.scan.using_flag) {
    Notice(h, 32);
    return;
  }
  // Only names not yet in the namespace list are counted.
  if (h.g.fs.function_scope > 0) return;
  const bool declaration = DeclarationOnly(h);
  namespace_keyword(h.g, h.line, h.end, h.len, h.line_number, declaration);
  if (!declaration) scope_body_head(h.g);
}

void Package(Hit& h) {
  if (h.g.fs.function_scope > 0) return;
  namespace_keyword(h.g, h.line, h.end, h.len, h.line_number, true);
}

void New(Hit& h) {
  h.g.scan.new_in_statement = 1;
  ++h.g.counters.new_count;
}

void SetAccess(Hit& h, int is_public, int is_protected, int is_private) {
  ScanState& s = h.g.scan;
  s.access_public = is_public;
  s.access_protected = is_protected;
  s.access_private = is_private;
}

void Private(Hit& h) { SetAccess(h, 0, 0, 1); }
void Protected(Hit& h) { SetAccess(h, 0, 1, 0); }
void Public(Hit& h) { SetAccess(h, 1, 0, 0); }

// A return inside a C# delegate leaves the delegate, not the function.
void Return(Hit& h) {
  ScanState& s = h.g.scan;
  if (s.delegate_flag) return;
  s.return_flag = 1;
  ++h.g.counters.return_count;
  ++s.fn.local_returns;
}

void ReturnOtherwise(Hit& h) {
  ScanState& s = h.g.scan;
  if (s.delegate_flag) return;
  if (keyword_follows(h.line, h.end, h.len, &h.g.counters.return_count, '(',
                      '\n')) {
    s.return_flag = 1;
    ++s.fn.local_returns;
  }
}

// The nesting level of the switch is remembered here once scopes are
// tracked.
void Switch(Hit& h) {
  ++h.g.counters.switch_count;
  ++h.g.scan.fn.local_switch;
  scope_switch(h.g);
}

void SwitchOtherwise(Hit& h) {
  if (keyword_follows(h.line, h.end, h.len, &h.g.counters.switch_count, '(',
                      '\n')) {
    ++h.g.scan.fn.local_switch;
    scope_switch(h.g);
  }
}

// A template declaration opens the template head up to the '>' that
// balances its angle brackets; one without a body on this line (a
// declaration or an instantiation) is not counted.
void Template(Hit& h) {
  ScanState& s = h.g.scan;
  int& count = h.g.counters.template_count;
  if (!keyword_follows(h.line, h.end, h.len, &count, '<', '\n')) return;
  if (DeclarationOnly(h)) {
    --count;
    return;
  }
  size_t stop = h.len;
  int depth = 0;
  for (size_t p = h.end; p < h.len; ++p) {
    if (h.line[p] == '<') {
      ++depth;
    } else if (h.line[p] == '>' && depth > 0 && --depth == 0) {
      stop = p + 1;
      break;
    }
  }
  s.template_head = Bounded(std::string_view(h.line + h.i, stop - h.i),
                            kLineSize);
  s.template_beg_flag = 1;
  s.template_head_depth = 0;
}

void Try(Hit& h) {
  Notice(h, 38);
  if (h.g.typing.cpp_flag) function_try_keyword(h.g);
}

void Typedef(Hit& h) {
  h.g.scan.typedef_flag = 1;
  ++h.g.counters.typedef_count;
}

// Only "union {" and a union at the end of a line count; every union
// with a body is a type whose member functions are found like those of a
// struct.
void Union(Hit& h) {
  keyword_follows(h.line, h.end, h.len, &h.g.counters.union_count, '{', '\n');
  StructOrUnion(h, kKindUnion);
}

// A Java or C# record: "record Point(int x, int y) {".  The word is no
// keyword elsewhere ("record = r;"), so only a name after it makes a head;
// "record class" and "record struct" are left to their second word.
void Record(Hit& h) {
  const ScanState& s = h.g.scan;
  if (s.assignment_flag || s.paren_level > 0 || s.template_beg_flag) return;
  size_t p = SkipBlanks(h.line, h.end, h.len);
  size_t word_end = p;
  while (word_end < h.len && IsWordChar(h.line[word_end])) ++word_end;
  std::string_view word(h.line + p, word_end - p);
  if (word.empty() || !(IsAlpha(word[0]) || word[0] == '_') ||
      word == "class" || word == "struct" || word == "interface" ||
      word == "instanceof")
    return;
  TypeHead(h, kKindClass);
}

void Using(Hit& h) {
  h.g.scan.using_flag = 1;
  ++h.g.counters.using_count;
}

void Virtual(Hit& h) {
  ++h.g.counters.virtual_count;
  h.g.scan.virtual_flag = 1;
  type_virtual(h.line, h.end, h.len, h.g);
}

void Void(Hit& h) {
  // In a function head's parameter list the word marks the list as
  // explicitly void (notice #49).
  FunctionState& f = h.g.fs;
  if (f.funcname_flag && f.param_collect_flag && f.function_scope == 0)
    f.explicit_void_params = 1;
  size_t next = SkipBlanks(h.line, h.end, h.len);
  if (next < h.len && h.line[next] == '*') Notice(h, 26);
}

// The keywords, grouped by first letter.  "void" also accepts a '*' so
// that "void*" is seen like "void *".
constexpr Keyword kKeywords[] = {
    {"abort", kAll, false, kNextArg, "(", Exit, nullptr},
    {"alloc", kAll, false, kNextArg, "(", Alloc, nullptr},
    {"and", kAll, false, kSep, "(", And, nullptr},
    {"asm", kAll, true, kSep, "{", nullptr, nullptr},
    {"break", kAll, false, kBlank | kComment, ";", Break, BreakOtherwise},
    {"bool", kAll, true, kSep, "", nullptr, nullptr},
    {"calloc", kAll, false, kNextArg, "(", Alloc, nullptr},
    {"case", kAll, false, kSep, ":(", Case, nullptr},
    {"catch", kAll, true, kSep, "(", Catch, nullptr},
    {"class", kAll, true, kSep, "", Class, nullptr},
    {"const", kAll, false, kSep, "(", Const, nullptr},
    {"const_cast", kAll, true, kSep, "<", nullptr, nullptr},
    {"continue", kAll, false, kBlank | kComment, ";", Continue, nullptr},
    {"default", kAll, false, kBlank | kComment, ":", Default,
     DefaultOtherwise},
    {"delegate", kLangCs, false, kSep, "([", Delegate, nullptr},
    {"delete", kAll, true, kSep, "([", Delete, nullptr},
    {"do", kAll, false, kSep, "", Do, nullptr},
    {"dynamic_cast", kAll, true, kSep, "<", nullptr, nullptr},
    {"else", kAll, false, kSep, "{", Else, nullptr},
    {"enum", kAll, false, kSep, "{", Enum, nullptr},
    {"event", kLangCs, false, kSep, "", Event, nullptr},
    {"exit", kAll, false, kNextArg, "(", Exit, nullptr},
    // The base list after "extends" goes to class identification when
    // that joins.
    {"extends", kLangJava, false, kSep, "(", nullptr, nullptr},
    {"false", kAll, true, kSep, "(;),", nullptr, nullptr},
    {"final", kLangJava, false, kSep, "", Final, nullptr},
    {"for", kAll, false, kNextArg, "(", ForHeader, nullptr},
    {"foreach", kAll, false, kNextArg, "(", For, nullptr},
    {"free", kAll, false, kNextArg, "(", Free, nullptr},
    {"friend", kAll, true, kSep, "", Friend, nullptr},
    {"get", kAll, false, kSkipBlanks, "{", Get, nullptr},
    {"goto", kAll, false, kSep, "", Goto, nullptr},
    {"if", kAll, false, kNextArg, "(", If, nullptr},
    {"import", kLangJava, false, kSep, "", Import, nullptr},
    {"inline", kAll, false, kSep, "([;)", Inline, nullptr},
    {"interface", kJavaCs, false, kSep, "", Interface, nullptr},
    {"malloc", kAll, false, kNextArg, "(", Alloc, nullptr},
    {"mutable", kAll, true, kSep, "", nullptr, nullptr},
    {"namespace", kCppCs, true, kSep, "", Namespace, nullptr},
    {"new", kAll, true, kSep, "(", New, nullptr},
    {"operator", kAll, true, kSep | kOperatorChar, "", nullptr, nullptr},
    {"or", kAll, false, kSep, "(", Or, nullptr},
    {"overload", kAll, true, kSep, "", nullptr, nullptr},
    {"package", kLangJava, false, kSep, "", Package, nullptr},
    {"private", kAll, true, kSep, ":", Private, nullptr},
    {"protected", kAll, true, kSep, ":", Protected, nullptr},
    {"public", kAll, true, kSep, ":", Public, nullptr},
    {"realloc", kAll, false, kBlank | kComment, "(", Realloc, nullptr},
    {"record", kJavaCs, false, kBlank, "", Record, nullptr},
    {"reinterpret_cast", kAll, true, kSep, "<", nullptr, nullptr},
    {"return", kAll, false, kBlank | kComment, ";", Return, ReturnOtherwise},
    // "static" opens a Java or C# static initialiser; its head joins with
    // function scope tracking.
    {"static_cast", kAll, true, kSep, "<", nullptr, nullptr},
    {"struct", kAll, false, kSep, "{", Struct, nullptr},
    {"switch", kAll, false, kSep, "", Switch, SwitchOtherwise},
    {"template", kAll, true, kSep, "<", Template, nullptr},
    {"this", kAll, true, kSep, ";)-,.", nullptr, nullptr},
    {"throw", kAll, true, kSep, "", nullptr, nullptr},
    {"true", kAll, true, kSep, ";),", nullptr, nullptr},
    {"try", kAll, true, kSep, "{", Try, nullptr},
    {"typedef", kAll, false, kSep, "", Typedef, nullptr},
    {"typeid", kAll, true, kSep, "(", nullptr, nullptr},
    {"union", kAll, false, kSep, "{", Union, nullptr},
    {"using", kCppCs, true, kSep, "", Using, nullptr},
    {"virtual", kAll, true, kSep, "(", Virtual, nullptr},
    {"void", kAll, false, kSep, "(;)*", Void, nullptr},
    {"wchar_t", kAll, true, kSep, "(", nullptr, nullptr},
    {"where", kLangCs, false, kSep, "", Where, nullptr},
    {"while", kAll, false, kNextArg, "(", While, nullptr},
    {"_exit", kAll, false, kNextArg, "(", Exit, nullptr},
};

constexpr size_t kKeywordCount = sizeof(kKeywords) / sizeof(kKeywords[0]);

// The run of table entries for each first letter.
struct Range {
  size_t begin = 0;
  size_t end = 0;
};

const std::array<Range, 128>& FirstLetterIndex() {
  static const std::array<Range, 128> index = [] {
    std::array<Range, 128> r{};
    for (size_t k = 0; k < kKeywordCount; ++k) {
      Range& range = r[static_cast<unsigned char>(kKeywords[k].word[0])];
      if (range.end == 0) range.begin = k;
      range.end = k + 1;
    }
    return r;
  }();
  return index;
}

// True when the word at `i` is the directive word of "# word": "# if" is
// a directive, not the keyword.
// True when a class, struct or union keyword at `i` follows the '>' of a
// template head written without a blank ("template<class T>class Box").
bool TypeWordAfterTemplate(const char* line, size_t i, size_t len) {
  // "p->class" is a member of a C struct, not a head.
  if (i < 2 || line[i - 1] != '>' || line[i - 2] == '-') return false;
  for (std::string_view word : {"class", "struct", "union"}) {
    size_t end = i + word.size();
    if (end <= len && std::string_view(line + i, word.size()) == word &&
        (end == len || !IsWordChar(line[end])))
      return true;
  }
  return false;
}

bool IsDirectiveWord(const char* line, size_t i, const ScanState& s) {
  if (!s.preproc_flag) return false;
  size_t p = i;
  while (p > 0 && IsBlank(line[p - 1])) --p;
  return p < i && p > 0 && line[p - 1] == '#';
}

}  // namespace

bool type_word_after_template(const char* line, size_t i, size_t len) {
  return TypeWordAfterTemplate(line, i, len);
}

size_t SkipBlanksAndComments(const char* line, size_t pos, size_t len) {
  while (pos < len) {
    if (IsBlank(line[pos])) {
      ++pos;
    } else if (CommentAt(line, pos, len)) {
      if (line[pos + 1] == '/') return len;
      size_t close = std::string_view(line, len).find("*/", pos + 2);
      if (close == std::string_view::npos) return len;
      pos = close + 2;
    } else {
      return pos;
    }
  }
  return len;
}


namespace {

constexpr int LetterIndex(char c) { return c == '_' ? 26 : c - 'a'; }

constexpr KeywordCandidates BuildCandidateTables() {
  KeywordCandidates t;
  for (char first = 'a'; first <= 'z' + 1; ++first) {
    const char c = first > 'z' ? '_' : first;
    const char* lead = LeadSet(c);
    if (lead == nullptr) continue;
    t.starts |= uint32_t{1} << LetterIndex(c);
    for (const char* p = lead; *p != '\0'; ++p)
      t.lead[static_cast<unsigned char>(*p)] |= uint32_t{1} << LetterIndex(c);
  }
  for (const Keyword& k : kKeywords)
    if (k.word.size() < 64)
      t.lengths[LetterIndex(k.word[0])] |= uint64_t{1} << k.word.size();
  return t;
}

}  // namespace

constexpr KeywordCandidates kKeywordCandidates = BuildCandidateTables();

bool dispatch_keyword(const char* line, size_t i, size_t word_end,
                      size_t len, int line_number, G& g) {
  if (!keyword_candidate(line, i, word_end, len)) return false;
  const char first = line[i];
  const size_t word_len = word_end - i;
  if (IsDirectiveWord(line, i, g.scan)) return false;

  const unsigned language = FileLanguage(g.typing);
  const Range& range = FirstLetterIndex()[static_cast<unsigned char>(first)];
  for (size_t k = range.begin; k < range.end; ++k) {
    const Keyword& kw = kKeywords[k];
    if (kw.word.size() != word_len ||
        std::memcmp(line + i, kw.word.data(), word_len) != 0)
      continue;
    const size_t end = i + kw.word.size();
    const bool follows = FollowOk(kw.follow, kw.follow_chars, line, end, len);
    if (!follows && kw.otherwise == nullptr) continue;
    if (kw.cpp_word && language == kLangC) {
      // Two of the words keep an effect in C: "throw" leaves the function
      // like a return, and "new" still marks the statement.
      if (kw.word == "throw") ++g.scan.fn.local_returns;
      if (kw.word == "new") g.scan.new_in_statement = 1;
      raise_notice(g, 24, line_number, kw.word);
      return true;
    }
    if ((kw.langs & language) == 0) return true;
    Hit hit{line, i, end, len, line_number, g};
    Effect effect = follows ? kw.effect : kw.otherwise;
    if (effect != nullptr) effect(hit);
    return true;
  }
  return false;
}

int keyword_follows(const char* line, size_t pos, size_t len, int* counter,
                    char a, char b) {
  pos = SkipBlanks(line, pos, len);
  bool follows = pos >= len || line[pos] == a || line[pos] == b ||
                 IsLineEnd(line[pos]) || CommentAt(line, pos, len);
  if (!follows) return 0;
  if (counter != nullptr) ++*counter;
  return 1;
}

namespace {

// What any code character settles first: a handler list, a deferred scope
// check and a deferred assignment test wait for the next code.
inline void PendingAtCode(const char* line, size_t i, size_t len,
                          int line_number, G& g) {
  ScanState& s = g.scan;
  // A function-try-block's last handler ends at the code after it.
  if (g.fs.try_state == FunctionState::kTryHandlers)
    function_try_code(line, i, len, g);
  // A scope check of notice #22 deferred by a line end is decided here.
  if (s.scope_check_kind != 0 && s.scope_check_deferred != 0)
    scope_check_code(line, i, len, g);
  // An assignment whose line ended after its '=' is tested here, at the
  // first code of a later line.
  if (s.assignment_pending != 0 && s.assignment_pending != line_number) {
    s.assignment_pending = 0;
    test_literal_assignment(line, i, len, line_number, g);
  }
}

}  // namespace

void code_dispatch(const char* line, size_t i, size_t len, int line_number,
                   G& g) {
  ScanState& s = g.scan;
  if (s.region_flag || i >= len) return;
  const char c = line[i];
  if (IsBlank(c) || IsLineEnd(c)) return;
  if (IsWordChar(c)) {
    size_t word_end = i + 1;
    while (word_end < len && IsWordChar(line[word_end])) ++word_end;
    code_dispatch_word(line, i, word_end, len, line_number, g);
    return;
  }
  code_dispatch_punctuation(line, i, len, line_number, g);
}

void code_dispatch_word(const char* line, size_t i, size_t word_end,
                        size_t len, int line_number, G& g) {
  PendingAtCode(line, i, len, line_number, g);
  const char c = line[i];
  // Operators are punctuation: a name or a number starts none.
  if ((c >= 'a' && c <= 'z') || c == '_')
    dispatch_keyword(line, i, word_end, len, line_number, g);
}

void code_dispatch_punctuation(const char* line, size_t i, size_t len,
                               int line_number, G& g) {
  PendingAtCode(line, i, len, line_number, g);
  if (line[i] == '#') {
    // A '#' on a line that is already a directive is the stringizing or
    // token pasting operator of a macro body.
    if ((i == 0 || IsBlank(line[i - 1])) && !g.scan.preproc_flag)
      dispatch_directive(line, i, len, line_number, g);
    return;
  }
  dispatch_operator(line, i, len, line_number, g);
}

void end_of_logical_line(int line_number, G& g) {
  ScanState& s = g.scan;
  if (s.macro_block_open) {
    s.macro_block_open = 0;
    macro_block_end(g, s.macro_name, line_number);
  }
  s.macro_with_args = 0;
}

}  // namespace vek
