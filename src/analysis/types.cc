#include "analysis/types.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <new>

#include "analysis/dispatch_parts.h"
#include "analysis/functions.h"
#include "analysis/notice_points.h"
#include "analysis/type_output.h"
#include "driver/state.h"
#include "reports/output.h"

namespace vek {

namespace {

constexpr size_t kNpos = std::string_view::npos;
// A type head or body statement longer than this is dropped rather than
// gathered further (no declaration is that long).
constexpr size_t kStatementMax = 16 * 1024;

bool NameStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
         c == '~';
}

bool DotLanguage(const G& g) {
  return g.typing.java_flag || g.typing.csharp_flag;
}

std::string_view WithoutPrefix(std::string_view name) {
  if (name.substr(0, kInterfacePrefix.size()) == kInterfacePrefix)
    name.remove_prefix(kInterfacePrefix.size());
  return name;
}

// The last part of a qualified type name: after its last ':' or, when it
// has none, after its last '.'.
std::string_view LastPart(std::string_view name, bool colon_first) {
  name = WithoutPrefix(name);
  size_t cut = colon_first ? name.rfind(':') : kNpos;
  if (cut == kNpos) cut = name.rfind('.');
  return cut == kNpos ? name : name.substr(cut + 1);
}

// Is `word` at `pos` of `text` a whole word?
bool WordAt(std::string_view text, size_t pos, std::string_view word) {
  return text.substr(pos, word.size()) == word &&
         (pos == 0 || !IsWordChar(text[pos - 1])) &&
         (pos + word.size() >= text.size() ||
          !IsWordChar(text[pos + word.size()]));
}

size_t FindWord(std::string_view text, std::string_view word,
                size_t from = 0) {
  for (size_t p = text.find(word, from); p != kNpos;
       p = text.find(word, p + 1))
    if (WordAt(text, p, word)) return p;
  return kNpos;
}

// The index after the bracket group that opens at `i` (`open` ... `close`,
// nested); the end of the text when it never closes.
size_t SkipGroup(std::string_view text, size_t i, char open, char close) {
  int depth = 0;
  for (; i < text.size(); ++i) {
    if (text[i] == open) {
      ++depth;
    } else if (text[i] == close && --depth == 0) {
      return i + 1;
    }
  }
  return text.size();
}

// A line's text without its // comment and its complete /* */ comments.
void AppendWithoutComments(std::string& out, std::string_view line) {
  const size_t n = line.size();
  size_t i = 0;
  while (i < n) {
    // The text up to the next '/' goes over whole, line ends as blanks.
    size_t j = line.find('/', i);
    if (j == kNpos) j = n;
    const size_t at = out.size();
    out.append(line.data() + i, j - i);
    for (size_t k = at; k < out.size(); ++k)
      if (out[k] == '\n' || out[k] == '\r') out[k] = ' ';
    if (j >= n) break;
    const char next = j + 1 < n ? line[j + 1] : '\0';
    if (next == '/') break;
    if (next == '*') {
      size_t close = line.find("*/", j + 2);
      if (close == kNpos) break;
      out += ' ';
      i = close + 2;
      continue;
    }
    out += '/';
    i = j + 1;
  }
}

void RemoveWord(std::string& text, std::string_view word) {
  for (size_t p = FindWord(text, word); p != kNpos;
       p = FindWord(text, word, p)) {
    text.erase(p, word.size());
    text.insert(p, 1, ' ');
  }
}

TypeRecord* NewRecord(TypeList& list, std::string_view name, G& g) {
  std::unique_ptr<TypeRecord> record(new (std::nothrow) TypeRecord);
  TypeRecord* added = nullptr;
  if (record) {
    record->name = std::string(name);
    record->file = g.file.name;
    record->line = g.file.line_number;
    added = list.Add(std::move(record));
  }
  if (added == nullptr) Out(g, "  Memory Error: %s\n", strerror(ENOMEM));
  return added;
}

int TypeDefaultPrivate(int kind) { return kind != kKindStruct; }

void SetDefaultAccess(G& g) {
  ScanState& s = g.scan;
  s.access_public = !TypeDefaultPrivate(g.ts.cur.kind);
  s.access_protected = 0;
  s.access_private = TypeDefaultPrivate(g.ts.cur.kind);
}

// The counter of the access level in force: private, else protected, else
// public.
int& ByAccess(const G& g, int& pub, int& prot, int& priv) {
  if (g.scan.access_private) return priv;
  if (g.scan.access_protected) return prot;
  return pub;
}

const char* AccessWord(const G& g) {
  if (g.scan.access_private) return "Private";
  if (g.scan.access_protected) return "Protected";
  return "Public";
}

// Is the current type body the innermost open block?
bool AtTypeBodyLevel(const G& g) {
  return g.fs.class_open_flag && g.fs.function_scope <= 0 &&
         g.fs.brace_depth == g.ts.cur.body_depth;
}

bool NameWord(std::string_view head, size_t& i, std::string& word,
              size_t& end);

// The base list in a type head: after the ':' that follows the name in
// C++ and C#, after "extends" or "implements" in Java.
std::string BasesOf(std::string_view head, size_t name_end, const G& g) {
  std::string_view rest = head.substr(std::min(name_end, head.size()));
  if (g.typing.java_flag) {
    size_t ext = FindWord(rest, "extends");
    size_t imp = FindWord(rest, "implements");
    size_t at = std::min(ext, imp);
    if (at == kNpos) return {};
    return std::string(rest.substr(at + (at == ext ? 7 : 10)));
  }
  for (size_t i = 0; i < rest.size(); ++i) {
    char c = rest[i];
    if (c == '<') {
      i = SkipGroup(rest, i, '<', '>') - 1;
    } else if (c == '(') {
      // The parameters of a C# primary constructor.
      i = SkipGroup(rest, i, '(', ')') - 1;
    } else if (c == ':') {
      if (i + 1 < rest.size() && rest[i + 1] == ':') {
        ++i;
        continue;
      }
      std::string bases(rest.substr(i + 1));
      if (g.typing.csharp_flag) {
        // "class Svc(ILogger log) : Base(log)": the base's arguments are
        // no part of its name.
        for (size_t p = bases.find('('); p != std::string::npos;
             p = bases.find('(', p))
          bases.erase(p, SkipGroup(bases, p, '(', ')') - p);
      }
      return bases;
    }
  }
  return {};
}

// True when the '(' that ends `before` (the type head from its keyword up
// to the parenthesis) belongs to the head: in template arguments
// ("Storage<(N > 64)>"), in the base list ("public MAKE_BASE(D)", a C#
// "where T : new()"), or, in Java and C#, right after the type's name (the
// parameters of a record or primary constructor).  Otherwise the head was
// a return type ("struct s *f(int a)").
bool HeadOwnsParen(std::string_view before, const G& g) {
  int angle = 0;
  for (size_t p = 0; p < before.size(); ++p) {
    const char c = before[p];
    if (c == '(') {
      p = SkipGroup(before, p, '(', ')') - 1;
    } else if (c == '<') {
      ++angle;
    } else if (c == '>' && angle > 0) {
      --angle;
    } else if (c == ':' && angle == 0) {
      if (p + 1 < before.size() && before[p + 1] == ':') {
        ++p;
        continue;
      }
      return true;  // the base list
    }
  }
  if (angle > 0) return true;
  if (!DotLanguage(g)) return false;
  if (FindWord(before, "extends") != kNpos ||
      FindWord(before, "implements") != kNpos ||
      FindWord(before, "where") != kNpos)
    return true;
  size_t i = 0, end = 0;
  std::string word;
  if (!NameWord(before, i, word, end)) return false;
  return TrimLeft(before.substr(end), " \t\r\n").empty();
}

// Reads the name word of a type head from `i`; `end` receives the index
// after it.  Returns false when no name starts there.
bool NameWord(std::string_view head, size_t& i, std::string& word,
              size_t& end) {
  while (i < head.size()) {
    if (IsBlank(head[i]) || IsLineEnd(head[i])) {
      ++i;
    } else if (head.compare(i, 2, "[[") == 0) {
      i = SkipGroup(head, i, '[', ']');
    } else if (head.compare(i, 2, "/*") == 0) {
      size_t close = head.find("*/", i + 2);
      if (close == kNpos) return false;
      i = close + 2;
    } else {
      break;
    }
  }
  if (i >= head.size() || !NameStart(head[i])) return false;
  word.clear();
  size_t p = i;
  while (p < head.size()) {
    char c = head[p];
    if (c == '<') {
      size_t close = SkipGroup(head, p, '<', '>');
      word.append(head.substr(p, close - p));
      p = close;
      continue;
    }
    if (c == ':' && p + 1 < head.size() && head[p + 1] == ':') {
      word += "::";
      p += 2;
      continue;
    }
    if (c == '\0' || IsBlank(c) || IsLineEnd(c) || c == '(' || c == '{' ||
        c == '}' || c == ':' || c == ';' || c == ',')
      break;
    word += c;
    ++p;
  }
  end = p;
  return true;
}

// The index after the attributes that stand at `i` ("[[deprecated]]",
// "__attribute__((visibility(\"default\")))", "__declspec(x)").
size_t SkipAttributes(std::string_view text, size_t i) {
  for (;;) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (text.compare(i, 2, "[[") == 0) {
      i = SkipGroup(text, i, '[', ']');
      continue;
    }
    size_t word_end = i;
    while (word_end < text.size() && IsWordChar(text[word_end])) ++word_end;
    std::string_view word = text.substr(i, word_end - i);
    if (word != "__attribute__" && word != "__declspec" && word != "alignas")
      return i;
    size_t p = word_end;
    while (p < text.size() && IsBlank(text[p])) ++p;
    if (p >= text.size() || text[p] != '(') return i;
    i = SkipGroup(text, p, '(', ')');
  }
}

// Qualifies a type name by the open namespace and the enclosing types.
std::string Qualify(const std::string& name, const G& g) {
  if (name.empty() || !NameStart(name[0])) return name;
  const FunctionState& f = g.fs;
  const TypeState& t = g.ts;
  const bool dots = DotLanguage(g);
  const int outer = std::min(t.class_index, kTypeStackSize);
  std::string prefix;
  if (f.namespace_open_flag && !f.namespace_name.empty() &&
      NameStart(f.namespace_name[0]) && name.find("::") == std::string::npos &&
      name.find('.') == std::string::npos) {
    prefix = f.namespace_name + (dots ? "." : "::");
    for (int k = 1; k <= outer; ++k) {
      std::string_view o = WithoutPrefix(t.stack[k].name);
      size_t colon = o.rfind(':');
      if (colon != kNpos) {
        prefix += std::string(o.substr(colon + 1)) + "::";
      } else {
        size_t dot = o.rfind('.');
        prefix += std::string(dot == kNpos ? o : o.substr(dot + 1)) + ".";
      }
    }
  } else if (t.class_index > 0) {
    for (int k = 1; k <= outer; ++k) {
      prefix += std::string(LastPart(t.stack[k].name, !dots));
      prefix += dots ? "." : "::";
    }
  }
  return prefix + name;
}

// Cut at "//", one block comment removed, runs of braces, ';' and white
// space made one blank, then the blanks removed.
std::string CleanName(std::string_view text) {
  std::string s(text.substr(0, text.find("//")));
  size_t open = s.find("/*");
  if (open != std::string::npos) {
    size_t close = s.find("*/", open + 2);
    s.erase(open, close == std::string::npos ? std::string::npos
                                             : close + 2 - open);
  }
  std::string squeezed;
  bool run = false;
  for (char c : s) {
    if (c == '{' || c == '}' || c == ';' || IsBlank(c) || IsLineEnd(c)) {
      if (!run) squeezed += ' ';
      run = true;
    } else {
      squeezed += c;
      run = false;
    }
  }
  return NormaliseName(squeezed);
}

void NestedIndexError(G& g) { Out(g, "\n  Error: Nested Class indexing\n"); }

// Takes the template head the dispatch kept for the type that follows it.
std::string TakeTypeTemplate(G& g) {
  std::string& head = g.scan.template_head;
  if (head.empty() || g.scan.template_beg_flag) return {};
  std::string_view v = head;
  constexpr std::string_view kKeyword = "template";
  if (v.substr(0, kKeyword.size()) == kKeyword) v.remove_prefix(kKeyword.size());
  std::string templ(TrimRight(TrimLeft(v)));
  head.clear();
  return templ;
}

// The qualified, cleaned name at the start of a type head; `end` receives
// the index after the name word.  Export macros and attributes between the
// keyword and the name are passed over.
std::string HeadName(std::string_view head, G& g, size_t* end_out) {
  if (g.scan.template_beg_flag) return {};
  size_t i = 0;
  std::string word;
  size_t end = 0;
  for (;;) {
    if (!NameWord(head, i, word, end)) return {};
    bool attribute = word.compare(0, 2, "__") == 0 || word == "alignas";
    if (!g.macro_names.contains(word) && !attribute) break;
    size_t p = end;
    while (p < head.size() && IsBlank(head[p])) ++p;
    if (p < head.size() && head[p] == '(') p = SkipGroup(head, p, '(', ')');
    i = p;
  }
  if (end_out != nullptr) *end_out = end;
  return CleanName(Qualify(word, g));
}

// An attribute or export macro that takes arguments in a type head
// ("struct __attribute__((packed)) s {", "class alignas(16) X {"): the word
// in front of the '(' at `i`.  It stands before the type's name, so after
// the keyword or another attribute; after a name, a '*' or a '&' the word
// names a function that returns the type ("struct node *__lookup(").
bool HeadAttributeAt(const char* line, size_t i, const G& g) {
  size_t end = i;
  while (end > 0 && IsBlank(line[end - 1])) --end;
  size_t start = end;
  while (start > 0 && IsWordChar(line[start - 1])) --start;
  std::string_view word(line + start, end - start);
  auto attribute = [&](std::string_view w) {
    return !w.empty() && (w.substr(0, 2) == "__" || w == "alignas" ||
                          g.macro_names.contains(w));
  };
  if (!attribute(word)) return false;
  size_t p = start;
  while (p > 0 && IsBlank(line[p - 1])) --p;
  if (p == 0) {
    // The head goes on from an earlier line: what ends that line decides
    // ("static struct buffer_head *" above "__read_block(").
    std::string_view prev = g.scan.prev_code_line.view();
    prev = TrimRight(prev, " \t\r\n");
    if (prev.empty()) return true;
    line = prev.data();
    p = prev.size();
  }
  const char before = line[p - 1];
  if (before == ')' || before == ']') return true;  // after an attribute
  if (!IsWordChar(before)) return false;
  size_t q = p;
  while (q > 0 && IsWordChar(line[q - 1])) --q;
  std::string_view prev(line + q, p - q);
  return prev == "struct" || prev == "class" || prev == "union" ||
         prev == "interface" || attribute(prev);
}

// Appends a line to the statement text of a type body with its comments,
// or the whole line when it is a directive, turned into blanks, so that
// positions in the line stay positions in the text and nothing in a
// comment ("// true when lo < hi") shapes the members that follow.
// `in_comment`: the line starts inside a block comment.
void AppendStatementLine(std::string& out, std::string_view line,
                         bool in_comment, bool directive) {
  const size_t base = out.size();
  out.append(line);
  char* c = out.data() + base;
  const size_t n = line.size();
  auto blank = [&](size_t from, size_t to) {
    for (size_t k = from; k < to; ++k)
      if (c[k] != '\n' && c[k] != '\r') c[k] = ' ';
  };
  if (directive) {
    blank(0, n);
    return;
  }
  // The end of the block comment that is open at `from`.
  auto comment_end = [&](size_t from) {
    size_t close = line.find("*/", from);
    return close == kNpos ? n : close + 2;
  };
  size_t k = 0;
  if (in_comment) {
    k = comment_end(0);
    blank(0, k);
  }
  char quote = 0;
  for (; k < n; ++k) {
    const char ch = line[k];
    if (quote != 0) {
      if (ch == '\\') {
        ++k;
      } else if (ch == quote) {
        quote = 0;
      }
    } else if (ch == '"' || ch == '\'') {
      quote = ch;
    } else if (line.compare(k, 2, "//") == 0) {
      blank(k, n);
      return;
    } else if (line.compare(k, 2, "/*") == 0) {
      size_t to = comment_end(k + 2);
      blank(k, to);
      k = to - 1;
    }
  }
}

// True when the line is a preprocessor directive or continues one.
bool DirectiveLine(const char* text, size_t len, const G& g) {
  if (g.scan.preproc_flag && g.scan.continuation_flag) return true;
  std::string_view v = TrimLeft(std::string_view(text, len), " \t");
  return !v.empty() && v[0] == '#' && !g.scan.in_block_comment;
}

}  // namespace

bool class_metrics_on(const G& g) {
  const Options& o = g.opt;
  return o.object_flag || o.inheritance_flag || o.class_methods_flag ||
         o.totals_flag;
}

std::string GetClassname(std::string_view head, G& g) {
  return HeadName(head, g, nullptr);
}

std::string CleanClassName(std::string_view text, const G& g) {
  std::string s(text);
  if (g.typing.java_flag) {
    size_t imp = FindWord(s, "implements");
    if (imp != kNpos) {
      size_t ext = FindWord(s, "extends");
      if (ext != kNpos && ext > imp) {
        // "implements ... extends ...": kept as written.
      } else if (ext != kNpos) {
        s.erase(0, ext);
      } else {
        s.erase(imp);
      }
    }
  }
  if (g.typing.csharp_flag) {
    size_t where = FindWord(s, "where");
    if (where != kNpos) s.erase(where);
  }
  for (std::string_view w : {"public", "private", "protected", "extends",
                             "virtual"})
    RemoveWord(s, w);
  std::string cleaned = CleanName(s);
  return std::string(TrimRight(TrimLeft(cleaned, " \t\r\n"), " \t\r\n"));
}

// --- Stacks --------------------------------------------------------------

void PushClass(G& g) {
  TypeState& t = g.ts;
  ++t.class_index;
  if (t.class_index == kTypeStackSize + 1) NestedIndexError(g);
  if (t.class_index <= kTypeStackSize) {
    TypeFrame& frame = t.stack[t.class_index];
    frame = std::move(t.cur);
    frame.counts.access_public = g.scan.access_public;
    frame.counts.access_protected = g.scan.access_protected;
    frame.counts.access_private = g.scan.access_private;
  }
  t.cur = TypeFrame();
  g.scan.access_public = 0;
  g.scan.access_protected = 0;
  g.scan.access_private = 1;
}

void PopClass(G& g) {
  TypeState& t = g.ts;
  if (t.class_index < 1) {
    t.class_index = 0;
    NestedIndexError(g);
    return;
  }
  if (t.class_index <= kTypeStackSize) {
    TypeFrame inner = std::move(t.cur);
    t.cur = std::move(t.stack[t.class_index]);
    TypeCounts& c = t.cur.counts;
    // Members of a nested type count for the enclosing type as well.
    c.methods_public += inner.counts.methods_public;
    c.methods_protected += inner.counts.methods_protected;
    c.methods_private += inner.counts.methods_private;
    c.data_public += inner.counts.data_public;
    c.data_protected += inner.counts.data_protected;
    c.data_private += inner.counts.data_private;
    g.scan.access_public = c.access_public;
    g.scan.access_protected = c.access_protected;
    g.scan.access_private = c.access_private;
  }
  --t.class_index;
  g.fs.class_name = std::string(WithoutPrefix(t.cur.name));
}

void PushNamespace(G& g) {
  TypeState& t = g.ts;
  ++t.namespace_index;
  if (t.namespace_index == kTypeStackSize + 1) NestedIndexError(g);
  if (t.namespace_index <= kTypeStackSize) {
    t.ns_stack[t.namespace_index] = std::move(t.ns);
    t.ns_stack[t.namespace_index].name = g.fs.namespace_name;
  }
  g.fs.namespace_open_flag = 1;
  g.fs.namespace_name.clear();
  t.ns = NamespaceFrame();
}

void PopNamespace(G& g) {
  TypeState& t = g.ts;
  if (t.namespace_index < 1) {
    t.namespace_index = 0;
    NestedIndexError(g);
    return;
  }
  if (t.namespace_index <= kTypeStackSize) {
    t.ns = std::move(t.ns_stack[t.namespace_index]);
    g.fs.namespace_name = t.ns.name;
  }
  g.fs.namespace_open_flag = 1;
  --t.namespace_index;
}

// --- Heads ---------------------------------------------------------------

void type_keyword(G& g, int kind, const char* line, size_t end, size_t len,
                  int line_number) {
  TypeState& t = g.ts;
  t.head_pending = 1;
  t.head_union = kind == kKindUnion;
  t.head_kind = kind == kKindUnion ? kKindStruct : kind;
  t.head_line = line_number;
  t.head_keyword_end = end;
  t.head_before_line = 0;
  t.head_text.clear();
  AppendWithoutComments(t.head_text,
                        std::string_view(line + end, len > end ? len - end : 0));
  t.head_template = TakeTypeTemplate(g);
  t.namespace_pending = 0;
}

void namespace_keyword(G& g, const char* line, size_t end, size_t len,
                       int line_number, bool declaration) {
  std::string_view text(line, len);
  end = SkipAttributes(text, end);
  std::string word = FirstWord(text, end, g);
  // "namespace a::b {" names the nested namespace at once;
  // "namespace a::inline b {" as well.
  size_t p = word.empty() ? end : text.find(word, end) + word.size();
  while (!word.empty() && text.compare(p, 2, "::") == 0) {
    std::string more = FirstWord(text, p + 2, g);
    if (more.empty()) break;
    p = text.find(more, p + 2) + more.size();
    if (more == "inline") {
      std::string inner = FirstWord(text, p, g);
      if (inner.empty()) break;
      p = text.find(inner, p) + inner.size();
      more = inner;
    }
    word += "::" + more;
  }
  if (declaration && !g.typing.java_flag) {
    // "namespace alias = other;" is no namespace; "namespace X;" (C#)
    // opens one for the rest of the file.
    if (text.find('=', end) != kNpos || !g.typing.csharp_flag) return;
  }
  FunctionState& f = g.fs;
  TypeState& t = g.ts;
  const char* sep = DotLanguage(g) ? "." : "::";
  if (f.namespace_open_flag) {
    std::string outer = f.namespace_name;
    PushNamespace(g);
    f.namespace_name = word.empty() ? std::string()
                                    : (outer.empty() ? word : outer + sep + word);
  } else {
    f.namespace_name = word;
    f.namespace_open_flag = 1;
    t.ns = NamespaceFrame();
  }
  f.namespace_name = Bounded(f.namespace_name, kLineSize);
  t.ns.name = f.namespace_name;
  t.ns.file_scoped = declaration ? 1 : 0;
  if (!declaration) {
    t.namespace_pending = 1;
    t.head_pending = 0;
  }
  const bool named = !f.namespace_name.empty() && NameStart(f.namespace_name[0]);
  namespace_output(g, true, line_number);
  if (named && g.namespaces.Find(f.namespace_name) == nullptr) {
    if (g.typing.java_flag)
      ++g.counters.package_count;
    else
      ++g.counters.namespace_count;
    NewRecord(g.namespaces, f.namespace_name, g);
  }
}

void types_line_start(const char* text, size_t len, G& g) {
  TypeState& t = g.ts;
  // A head given up ("struct s *f(int a)") gathers nothing more.
  if (t.head_pending && !g.fs.type_head_pending) t.head_pending = 0;
  if (t.head_pending && g.file.line_number != t.head_line) {
    t.head_before_line = t.head_text.size() + 1;
    if (t.head_text.size() < kStatementMax) {
      t.head_text += ' ';
      AppendWithoutComments(t.head_text, std::string_view(text, len));
    }
  }
  if (!g.fs.class_open_flag) return;
  if (t.stmt_begin >= t.stmt.size() || t.stmt.size() > kStatementMax) {
    t.stmt.clear();
    t.stmt_begin = 0;
  } else if (t.stmt_begin > 0) {
    t.stmt.erase(0, t.stmt_begin);
    t.stmt_begin = 0;
  }
  t.line_offset = t.stmt.size();
  AppendStatementLine(t.stmt, std::string_view(text, len),
                      g.scan.in_block_comment != 0, DirectiveLine(text, len, g));
  while (t.stmt.size() > t.line_offset &&
         (t.stmt.back() == '\n' || t.stmt.back() == '\r'))
    t.stmt.pop_back();
  t.stmt += ' ';
}

// --- Bodies --------------------------------------------------------------

bool type_body_opens(const char* line, size_t len, int line_number, G& g) {
  TypeState& t = g.ts;
  FunctionState& f = g.fs;
  ScanState& s = g.scan;
  if (!t.head_pending) {
    t.namespace_pending = 0;
    t.ns.brace_depth = f.brace_depth + 1;
    return false;
  }
  t.head_pending = 0;
  clear_function_candidate(g);  // "class ALIGNED(16) X" made no function
  std::string_view head = t.head_text;
  head = head.substr(0, head.find('{'));

  if (f.class_open_flag) {
    PushClass(g);
  } else {
    // The statements of the body start on this line.
    t.stmt.clear();
    AppendStatementLine(t.stmt, std::string_view(line, len), false,
                        DirectiveLine(line, len, g));
    t.line_offset = 0;
  }
  TypeFrame& cur = t.cur;
  cur = TypeFrame();
  cur.kind = t.head_kind;
  cur.is_union = t.head_union;
  cur.body_depth = f.brace_depth + 1;
  // The members are no typedefs; the typedef goes on after the body
  // ("typedef struct point { int x; } point_t;").
  cur.typedef_flag = s.typedef_flag;
  s.typedef_flag = 0;
  cur.templ = std::move(t.head_template);
  t.head_template.clear();
  f.class_open_flag = 1;
  SetDefaultAccess(g);

  size_t name_end = 0;
  std::string name = HeadName(head, g, &name_end);
  name = CleanClassName(name, g);
  cur.bases = name.empty() ? std::string()
                           : CleanClassName(BasesOf(head, name_end, g), g);
  if (cur.kind == kKindInterface && !name.empty())
    name = std::string(kInterfacePrefix) + name;
  cur.name = Bounded(name, kLineSize);
  f.class_name = std::string(WithoutPrefix(cur.name));

  const FileCounters& k = g.counters;
  cur.snap.line = line_number;
  cur.snap.loc = k.loc;
  cur.snap.comments = k.comment_lines;
  cur.snap.blanks = k.blank_lines;
  cur.snap.noneff = k.noneff_brace_lines + k.noneff_paren_lines;
  cur.snap.lloc = k.lloc();
  cur.snap.whitespace = k.whitespace_count;
  cur.snap.chars = k.char_count;

  switch (cur.kind) {
    case kKindStruct:
      if (!cur.is_union) ++g.counters.struct_count;
      break;
    case kKindInterface: ++g.counters.interface_count; break;
    default: ++g.counters.class_count; break;
  }
  static constexpr const char* kWords[] = {"class", "struct", "interface"};
  if (s.comment_run == 0) {
    NoticeArgs args;
    args.text = kWords[cur.kind];
    raise_notice(g, 52 + cur.kind, line_number, args);
  }

  if (cur.name.empty()) return true;
  if (class_metrics_on(g) && g.namespaces.Find(cur.name) == nullptr) {
    TypeList& list = cur.kind == kKindInterface ? g.interfaces : g.classes;
    TypeRecord* record = list.Find(cur.name);
    if (record == nullptr) {
      record = NewRecord(list, cur.name, g);
      if (record != nullptr) {
        record->bases = cur.bases;
        record->templ = cur.templ;
        record->nesting = t.class_index;
        record->base_count = BaseCount(cur.bases);
        record->struct_flag = cur.kind == kKindStruct;
        record->interface_flag = cur.kind == kKindInterface;
      }
    } else if (record->templ.empty()) {
      record->templ = cur.templ;
    }
  }
  class_begin_output(g, line_number);
  if (g.opt.notice_flag && !cur.bases.empty()) {
    size_t comma = cur.bases.find(',');
    if (comma != kNpos && cur.bases.find('<') > comma) {
      NoticeArgs args;
      args.file = g.file.name;
      args.text = cur.name;
      raise_notice(g, 42, line_number, args);
    }
  }
  return true;
}

void type_body_closes(int line_number, G& g) {
  TypeState& t = g.ts;
  FunctionState& f = g.fs;
  if (!f.class_open_flag) return;
  TypeFrame& cur = t.cur;
  const FileCounters& k = g.counters;
  int span = line_number - cur.snap.line;
  if (span < 1) span = 1;
  TypeSizes z;
  z.loc = k.loc - cur.snap.loc + 1;  // this line is counted after the pass
  z.comments = k.comment_lines - cur.snap.comments;
  z.eloc = z.loc - ((k.noneff_brace_lines + k.noneff_paren_lines) -
                    cur.snap.noneff);
  z.lloc = k.lloc() - cur.snap.lloc;
  z.blanks = k.blank_lines - cur.snap.blanks;
  z.lines = z.loc + z.comments + z.blanks;
  if (!cur.name.empty() && class_metrics_on(g)) {
    const Options& o = g.opt;
    if (o.notice_flag && o.object_flag) {
      const Config& c = g.cfg;
      const bool content = z.loc > c.min_class_loc_content;
      NoticeArgs args;
      args.text = cur.kind == kKindStruct ? "Struct" : "Class";
      double comment_pct = z.comments + z.loc > 0
                               ? 100.0 * z.comments / (z.comments + z.loc)
                               : 0.0;
      int chars = k.char_count - cur.snap.chars;
      double white_pct =
          chars > 0 ? 100.0 * (k.whitespace_count - cur.snap.whitespace) / chars
                    : 0.0;
      double blank_pct = z.blanks > 0 ? 100.0 * z.blanks / span : 0.0;
      auto notice = [&](int n, bool when, double pct, double limit) {
        if (!when) return;
        args.p[0] = pct;
        args.p[1] = limit;
        raise_notice(g, n, line_number, args);
      };
      notice(31, content && comment_pct < c.min_class_comment, comment_pct,
             c.min_class_comment);
      notice(16, content && white_pct < c.min_function_whitespace, white_pct,
             c.min_function_whitespace);
      notice(46, content && blank_pct < c.min_function_blank, blank_pct,
             c.min_function_blank);
      notice(37, cur.virtual_seen && !cur.virtual_dtor, 0, 0);
      const TypeCounts& n = cur.counts;
      int methods = n.methods_public + n.methods_protected + n.methods_private;
      args.v[0] = c.max_class_methods;
      notice(39, methods > c.max_class_methods, 0, 0);
    }
    class_end_output(g, line_number, z);
  }
  const int typedef_open = cur.typedef_flag;
  if (t.class_index > 0) {
    PopClass(g);
  } else {
    cur = TypeFrame();
    f.class_open_flag = 0;
    f.class_name.clear();
    g.scan.access_public = g.scan.access_protected = g.scan.access_private = 0;
  }
  if (typedef_open) g.scan.typedef_flag = 1;
}

void namespace_body_closes(int line_number, G& g) {
  FunctionState& f = g.fs;
  TypeState& t = g.ts;
  if (!f.namespace_open_flag) return;
  namespace_output(g, false, line_number);
  if (t.namespace_index > 0) {
    PopNamespace(g);
  } else {
    f.namespace_open_flag = 0;
    f.namespace_name.clear();
    t.ns = NamespaceFrame();
  }
}

// --- Members -------------------------------------------------------------

bool type_paren_is_argument(const char* line, size_t i, const G& g) {
  const TypeState& t = g.ts;
  if (g.fs.function_scope > 0) return false;
  // A namespace head holds no function head: its parentheses are those of
  // a macro or attribute ("namespace std _GLIBCXX_VISIBILITY(default) {").
  if (t.namespace_pending && g.fs.type_head_pending) return true;
  if (t.head_pending && g.fs.type_head_pending) {
    // Nested parentheses and the arguments of an attribute or export
    // macro before the type's name belong to the head.
    if (g.fs.paren_depth > 1 || HeadAttributeAt(line, i, g)) return true;
    // The head from its keyword up to this parenthesis.
    std::string before;
    size_t from = 0;
    if (g.file.line_number == t.head_line)
      from = std::min(t.head_keyword_end, i);
    else
      before = t.head_text.substr(0, std::min(t.head_before_line,
                                              t.head_text.size()));
    AppendWithoutComments(before, std::string_view(line + from, i - from));
    return HeadOwnsParen(before, g);
  }
  if (!AtTypeBodyLevel(g) || t.line_offset + i > t.stmt.size()) return false;
  // An open '<' in the statement so far (not "operator<", "->", "<<").
  std::string_view s(t.stmt);
  s = s.substr(0, t.line_offset + i);
  if (t.stmt_begin < s.size()) s.remove_prefix(t.stmt_begin); else return false;
  if (s.find("operator") != kNpos) return false;
  // A template argument list opens straight after its template's name;
  // a '<' after a blank compares ("lo < hi"), and one in a literal is text.
  int open = 0;
  char quote = 0;
  for (size_t p = 0; p < s.size(); ++p) {
    if (quote != 0) {
      if (s[p] == '\\') {
        ++p;
      } else if (s[p] == quote) {
        quote = 0;
      }
    } else if (s[p] == '"' || s[p] == '\'') {
      quote = s[p];
    } else if (s[p] == '<') {
      if (p + 1 < s.size() && s[p + 1] == '<') { ++p; continue; }
      if (p > 0 && IsWordChar(s[p - 1])) ++open;
    } else if (s[p] == '>' && open > 0 && (p == 0 || s[p - 1] != '-')) {
      --open;
    }
  }
  return open > 0;
}

void type_statement_restart(size_t i, G& g, bool closing) {
  TypeState& t = g.ts;
  if (!g.fs.class_open_flag) return;
  t.stmt_begin = std::min(t.line_offset + i + 1, t.stmt.size());
  if (closing && DotLanguage(g) && AtTypeBodyLevel(g)) SetDefaultAccess(g);
}

namespace {

void CountNamedMethod(int line_number, std::string_view name,
                      std::string_view params, G& g) {
  if (!g.fs.class_open_flag) return;
  TypeCounts& c = g.ts.cur.counts;
  ++ByAccess(g, c.methods_public, c.methods_protected, c.methods_private);
  if (g.opt.class_methods_flag && class_metrics_on(g))
    member_line(g, true, AccessWord(g), line_number, name, params);
}

// A declaration whose parameter list comes before any '=' is a method
// ("virtual void draw() = 0;"); the name is the word in front of it.
// An operator's name in a declaration ("bool operator==(const T&) const
// = default;"): the '=', '<' and '(' of the symbol are no initializer,
// template argument or parameter list.  `at` is where the word "operator"
// starts; returns false when no parameter list follows.
bool OperatorDeclaration(std::string_view statement, size_t at,
                         std::string& name, std::string& params) {
  size_t start = at;
  while (start >= 2 && statement[start - 1] == ':' &&
         statement[start - 2] == ':') {
    start -= 2;
    while (start > 0 && (IsWordChar(statement[start - 1]) ||
                         statement[start - 1] == '~'))
      --start;
  }
  size_t p = at + 8;  // "operator"
  while (p < statement.size() && IsBlank(statement[p])) ++p;
  bool call = false;
  if (p < statement.size() && statement[p] == '(') {
    size_t q = p + 1;
    while (q < statement.size() && IsBlank(statement[q])) ++q;
    if (q < statement.size() && statement[q] == ')') {
      call = true;
      p = q + 1;
    }
  }
  size_t open = statement.find('(', p);
  if (open == kNpos) return false;
  std::string qualifier(statement.substr(start, at - start));
  name = call ? NormaliseName(qualifier) + "operator ()"
              : NormaliseName(statement.substr(start, open - start));
  params = std::string(
      statement.substr(open, SkipGroup(statement, open, '(', ')') - open));
  return true;
}

bool MethodDeclaration(std::string_view statement, std::string& name,
                       std::string& params) {
  int angle = 0;
  for (size_t p = 0; p < statement.size(); ++p) {
    char c = statement[p];
    if (angle == 0 && c == 'o' && WordAt(statement, p, "operator"))
      return OperatorDeclaration(statement, p, name, params);
    if (c == '<') ++angle;
    if (c == '>' && angle > 0) --angle;
    if (angle > 0) continue;
    if (c == '=' || c == '{') return false;
    if (c != '(') continue;
    size_t end = p;
    while (end > 0 && IsBlank(statement[end - 1])) --end;
    size_t start = end;
    while (start > 0 && (IsWordChar(statement[start - 1]) ||
                         statement[start - 1] == '~' ||
                         statement[start - 1] == ':'))
      --start;
    if (start == end) return false;
    name = std::string(statement.substr(start, end - start));
    size_t close = SkipGroup(statement, p, '(', ')');
    params = std::string(statement.substr(p, close - p));
    return true;
  }
  return false;
}

}  // namespace

void type_statement_end(const char* line, size_t i, int line_number, G& g) {
  TypeState& t = g.ts;
  if (!AtTypeBodyLevel(g) || g.scan.paren_level > 0) {
    type_statement_restart(i, g, false);
    return;
  }
  size_t stop = std::min(t.line_offset + i, t.stmt.size());
  std::string_view statement;
  if (t.stmt_begin <= stop)
    statement = std::string_view(t.stmt).substr(t.stmt_begin, stop - t.stmt_begin);
  const FunctionState& f = g.fs;
  if (f.funcname_flag && !f.func_name.empty()) {
    // A method declared without a body here.
    size_t p = i;
    while (p > 0 && IsBlank(line[p - 1])) --p;
    if (p == 0 || line[p - 1] != '}') {
      g.fs.param_text = FormatParameters(g.fs.param_text, g.fs.func_name, g);
      CountMethod(line_number, g);
    }
  } else if (!statement.empty()) {
    std::string name, params;
    if (MethodDeclaration(statement, name, params))
      CountNamedMethod(line_number, name, FormatParameters(params, name, g), g);
    else
      CountData(statement, line_number, g);
  }
  type_statement_restart(i, g, false);
  // In Java and C# an access word belongs to one member.
  if (DotLanguage(g)) SetDefaultAccess(g);
}

void CountMethod(int line_number, G& g) {
  CountNamedMethod(line_number, NormaliseName(g.fs.func_name), g.fs.param_text,
                   g);
}

void CountData(std::string_view statement, int line_number, G& g) {
  std::string text;
  AppendWithoutComments(text, statement);
  std::string_view v = TrimRight(TrimLeft(text, " \t"), " \t");
  // Access labels ("public:") that stand in front of the declaration.
  for (bool again = true; again;) {
    again = false;
    for (std::string_view label : {"public", "protected", "private"}) {
      if (WordAt(v, 0, label)) {
        std::string_view rest = TrimLeft(v.substr(label.size()), " \t");
        if (!rest.empty() && rest[0] == ':' &&
            (rest.size() < 2 || rest[1] != ':')) {
          v = TrimLeft(rest.substr(1), " \t");
          again = true;
        }
      }
    }
  }
  if (v.empty()) return;
  for (std::string_view skip : {"typedef", "friend", "using", "enum", "class",
                                "struct", "union", "template", "namespace",
                                "static_assert", "return", "import",
                                "package", "interface", "delegate"})
    if (WordAt(v, 0, skip)) return;
  if (!NameStart(v[0]) && v[0] != ':') return;
  int declarators = 1;
  bool pointer = false;
  int depth = 0;
  bool in_initializer = false;
  for (size_t p = 0; p < v.size(); ++p) {
    char c = v[p];
    if (c == '(' || c == '[' || c == '{') {
      ++depth;
    } else if (c == ')' || c == ']' || c == '}') {
      if (depth > 0) --depth;
    } else if (c == '<') {
      size_t close = SkipGroup(v, p, '<', '>');
      if (close < v.size() || v.find('>', p) != kNpos) p = close - 1;
    } else if (c == '=' && depth == 0) {
      in_initializer = true;
    } else if (c == ',' && depth == 0) {
      ++declarators;
      in_initializer = false;
    } else if (c == '*' && !in_initializer) {
      pointer = true;
    }
  }
  TypeCounts& n = g.ts.cur.counts;
  ByAccess(g, n.data_public, n.data_protected, n.data_private) += declarators;
  const ScanState& s = g.scan;
  if (g.ts.cur.kind == kKindClass) {
    if (pointer && g.typing.cpp_flag) raise_notice(g, 34, line_number);
    if (s.access_private) {
    } else if (s.access_protected) {
      raise_notice(g, 36, line_number);
    } else {
      const Config& c = g.cfg;
      bool ignored = (c.ignore_public_const && s.const_flag) ||
                     (c.ignore_public_event && s.event_flag) ||
                     (c.ignore_public_delegate && s.delegate_flag);
      if (!ignored) raise_notice(g, 35, line_number);
    }
  }
  if (g.opt.class_methods_flag && class_metrics_on(g))
    member_line(g, false, AccessWord(g), line_number, v, {});
}

void type_virtual(const char* line, size_t end, size_t len, G& g) {
  if (!g.fs.class_open_flag) return;
  g.ts.cur.virtual_seen = 1;
  std::string_view rest(line + end, len - end);
  if (rest.find('~') != kNpos) g.ts.cur.virtual_dtor = 1;
}

// --- Metrics -------------------------------------------------------------

void type_function_closed(const FunctionMeasure& m, G& g) {
  if (!class_metrics_on(g)) return;
  Add_Func2Class(m.name, 0, 0, 0, 0, 0, 0, m.cyclomatic, m.params, m.returns,
                 g);
}

void Add_Func2Class(std::string_view function_name, int loc, int eloc,
                    int lloc, int comments, int blanks, int lines,
                    int cyclomatic, int params, int returns, G& g) {
  const bool dots = DotLanguage(g);
  std::string copy(function_name);
  size_t op = copy.find("::operator");
  if (op != std::string::npos) copy.erase(op + 2);
  const MethodSums one{1.0, params, returns, cyclomatic,
                       SizeSums{loc, eloc, lloc, comments, blanks, lines}};
  auto add = [&](TypeRecord& r) { r.methods += one; };
  for (int k = g.ts.class_index; k >= 0; --k) {
    size_t cut = dots ? copy.rfind('.') : copy.rfind(':');
    if (cut == std::string::npos) return;  // no qualifier: no method
    if (!dots && cut > 0 && copy[cut - 1] == ':') --cut;
    copy.erase(cut);
    std::string key = copy;
    TypeRecord* record = g.classes.Find(key);
    if (record == nullptr && !g.typing.csharp_flag) {
      size_t angle = key.find('<');
      if (angle != std::string::npos) {
        key.erase(angle);
        record = g.classes.Find(key);
      }
    }
    if (record == nullptr)
      record = g.interfaces.Find(std::string(kInterfacePrefix) + copy);
    if (g.debug_flag)
      Out(g, "*** Debug: Add_Func2Class: %s - %s, %p\n",
          std::string(function_name).c_str(), key.c_str(),
          static_cast<void*>(record));
    if (record == nullptr) {
      if (key.empty() || g.namespaces.Find(key) != nullptr) continue;
      if (g.debug_flag)
        Out(g, "**** Debug: Add Class %s - %d\n", key.c_str(),
            g.file.line_number);
      record = NewRecord(g.classes, key, g);
      if (record == nullptr) return;
    }
    add(*record);
    copy = key;
  }
}

void AddClassMetrics(int loc, int eloc, int lloc, int comments, int blanks,
                     int lines, G& g) {
  const TypeFrame& cur = g.ts.cur;
  if (g.namespaces.Find(cur.name) != nullptr) return;
  TypeList& list = cur.name.compare(0, kInterfacePrefix.size(),
                                    kInterfacePrefix) == 0
                       ? g.interfaces
                       : g.classes;
  TypeRecord* r = list.Find(cur.name);
  if (r == nullptr) return;
  r->size += SizeSums{loc, eloc, lloc, comments, blanks, lines};
  const TypeCounts& c = cur.counts;
  r->method_counts +=
      AccessCounts{c.methods_public, c.methods_protected, c.methods_private};
  r->data_counts += AccessCounts{c.data_public, c.data_protected, c.data_private};
  if (g.ts.class_index > 0) r->nesting = 1;
}

void types_file_end(int line_number, G& g) {
  FunctionState& f = g.fs;
  // A package, or a namespace declared for the whole file, ends here; so
  // do the scopes of a Java file left open.
  while (f.namespace_open_flag &&
         (g.typing.java_flag || g.ts.ns.file_scoped)) {
    namespace_body_closes(line_number, g);
    if (g.ts.namespace_index == 0 && !f.namespace_open_flag) break;
  }
  f.class_open_flag = 0;
  f.class_name.clear();
  f.namespace_open_flag = 0;
  f.namespace_name.clear();
  g.ts = TypeState();
}

}  // namespace vek
