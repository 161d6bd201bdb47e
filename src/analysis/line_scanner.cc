#include "analysis/line_scanner.h"

#include <cstring>

#include "analysis/keywords.h"
#include "analysis/notice_points.h"
#include "analysis/scope.h"
#include "driver/state.h"
#include "reports/output.h"
#include "udqn/udqn.h"

namespace vek {

namespace {

bool LanguageKnown(const FileTyping& t) {
  return t.c_flag || t.cpp_flag || t.java_flag || t.csharp_flag;
}

bool IsAlnum(char c) { return IsAlpha(c) || IsDigit(c); }

// Letters, digits and '_': the characters of names and numbers.
struct IdentifierTable {
  bool is[256] = {};
  IdentifierTable() {
    for (int c = 0; c < 256; ++c)
      is[c] = IsAlnum(static_cast<char>(c)) || c == '_';
  }
};
const IdentifierTable kIdentifier;

inline bool IsIdentifierChar(char c) {
  return kIdentifier.is[static_cast<unsigned char>(c)];
}

// The end of the name or number that goes on at `j`: the first position
// from `j` that holds no letter, digit or '_', or `len`.  Four characters
// a step while the line holds them.
inline size_t IdentifierEnd(const char* text, size_t j, size_t len) {
  for (; j + 4 <= len; j += 4) {
    if (!IsIdentifierChar(text[j])) return j;
    if (!IsIdentifierChar(text[j + 1])) return j + 1;
    if (!IsIdentifierChar(text[j + 2])) return j + 2;
    if (!IsIdentifierChar(text[j + 3])) return j + 3;
  }
  while (j < len && IsIdentifierChar(text[j])) ++j;
  return j;
}

// True when the code before the next code character has left nothing to
// settle at it (see code_dispatch_word): a name then only matters to the
// dispatch when it may be a keyword.
inline bool NothingPending(const G& g, int line_number) {
  const ScanState& s = g.scan;
  return g.fs.try_state != FunctionState::kTryHandlers &&
         (s.scope_check_kind == 0 || s.scope_check_deferred == 0) &&
         (s.assignment_pending == 0 || s.assignment_pending == line_number);
}

// How plain code (outside comments, strings, character literals and
// regions) takes each character: names and numbers and runs of blanks
// whole, the punctuation that changes no lexical state one at a time;
// the rest (quotes, comment marks, control characters) goes the long way.
enum PlainKind : unsigned char {
  kPlainOther = 0,
  kPlainName,
  kPlainBlank,
  kPlainPunctuation,
};
struct PlainKindTable {
  unsigned char kind[256] = {};
  PlainKindTable() {
    for (int c = 0; c < 256; ++c) {
      const char ch = static_cast<char>(c);
      if (IsIdentifierChar(ch))
        kind[c] = kPlainName;
      else if (ch == ' ' || ch == '\t')
        kind[c] = kPlainBlank;
      else if (c > ' ' && ch != '"' && ch != '\'' && ch != '/' && ch != '*')
        kind[c] = kPlainPunctuation;
    }
  }
};
const PlainKindTable kPlainKind;

// Which punctuation of plain code the dispatch acts on when nothing is
// pending (see code_dispatch_punctuation and dispatch_operator): brackets,
// ';', '=', '?', '<', '>', ',', '@' and '#' always; '.', '+', '-', '&' and
// '|' only doubled ("..", "++", "&&"); the rest (':', '!', '~', '%', '^'
// ...) never.  The two must change together.
enum PunctuationUse : unsigned char { kUseNever = 0, kUseAlways, kUseDoubled };
struct PunctuationUseTable {
  unsigned char use[256] = {};
  PunctuationUseTable() {
    for (unsigned char c : std::string_view("(){}[];=?<>,@#"))
      use[c] = kUseAlways;
    for (unsigned char c : std::string_view(".+-&|")) use[c] = kUseDoubled;
  }
};
const PunctuationUseTable kPunctuationUse;

// Number of backslashes directly in front of position i.
size_t BackslashesBefore(const char* line, size_t i) {
  size_t n = 0;
  while (n < i && line[i - 1 - n] == '\\') ++n;
  return n;
}

bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The length of the escape sequence at the start of `s` (a backslash and
// what it escapes: one character, or the digits of "\x41", "\u00e9",
// "\101"), 0 when `s` does not start with a backslash.
size_t EscapeLength(std::string_view s) {
  if (s.size() < 2 || s[0] != '\\') return 0;
  size_t most = 2;
  bool hex = true;
  switch (s[1]) {
    case 'x': most = s.size(); break;
    case 'u': most = 6; break;
    case 'U': most = 10; break;
    default:
      if (s[1] < '0' || s[1] > '7') return 2;
      most = 4;
      hex = false;
  }
  size_t n = hex ? 2 : 1;
  while (n < most && n < s.size() &&
         (hex ? IsHexDigit(s[n]) : s[n] >= '0' && s[n] <= '7'))
    ++n;
  return n;
}

// Trims extracted text for -Es and -Ec: punctuation and white space at
// the end, then escape pairs at the end ("Done!\n" gives "Done!"); and at
// the start punctuation, white space and escape sequences ("\tName"
// gives "Name", not "tName").  In a comment a backslash escapes nothing
// ("\brief" stays a word); only a "\n" or "\t" standing alone is taken
// for an escape there.
std::string_view TrimExtract(std::string_view s, bool string_text) {
  // Letters and digits stay, and so do the bytes of letters beyond ASCII.
  auto keeps = [](char c) {
    return IsAlnum(c) || static_cast<unsigned char>(c) >= 0x80;
  };
  auto escape_at_start = [&](std::string_view t) -> size_t {
    if (string_text) return EscapeLength(t);
    if (t.size() >= 2 && t[0] == '\\' && (t[1] == 'n' || t[1] == 't') &&
        (t.size() == 2 || !IsAlnum(t[2])))
      return 2;
    return 0;
  };
  // A letter after an odd run of backslashes is an escape ("\\n" is a
  // backslash and a letter n).
  auto escape_at_end = [&](std::string_view t) {
    if (t.size() < 2 || t[t.size() - 2] != '\\') return false;
    char e = t.back();
    bool known = string_text ? std::string_view("abfnrtv").find(e) !=
                                   std::string_view::npos
                             : e == 'n';
    return known && BackslashesBefore(t.data(), t.size() - 1) % 2 == 1;
  };
  while (!s.empty() && !keeps(s.back())) s.remove_suffix(1);
  while (escape_at_end(s)) s.remove_suffix(2);
  for (;;) {
    if (size_t n = escape_at_start(s); n > 0) {
      s.remove_prefix(n);
    } else if (!s.empty() && !keeps(s.front())) {
      s.remove_prefix(1);
    } else {
      break;
    }
  }
  return s;
}

// Under -EC only trailing line ends and white space go.
std::string_view TrimDocumentation(std::string_view s) {
  return TrimRight(s, " \t\r\n");
}

// Writes and clears the extraction buffer: a closed string (`string_text`)
// or the comments of a line.
void WriteExtract(G& g, int line_number, bool string_text) {
  LineText& x = g.scan.extract;
  std::string_view text = g.opt.extract_docs && !g.opt.extract_comments &&
                                  !g.opt.extract_strings
                              ? TrimDocumentation(x.view())
                              : TrimExtract(x.view(), string_text);
  if (!text.empty()) {
    if (g.opt.html_flag)
      Out(g, "  %6d: %s\n", line_number, HtmlEscape(text).c_str());
    else if (g.opt.xml_flag)  // the text stands inside the XML document
      Out(g, "  %6d: %s\n", line_number, XmlEscape(text).c_str());
    else
      Out(g, "  %6d: %.*s\n", line_number, static_cast<int>(text.size()),
          text.data());
  }
  x.Clear();
}

// A tab is "A TAB is equivalent to n space" blanks wide: it counts that
// width both as white space and as characters, so that white space never
// passes the characters it is a share of.
inline void CountTab(int tab_size, FileCounters& k) {
  k.whitespace_count += tab_size;
  k.char_count += tab_size - 1;
}

// A run of `tabs` tabs, counted as that many CountTab calls.
inline void CountTabs(int tabs, int tab_size, FileCounters& k) {
  if (tabs <= 0) return;
  k.whitespace_count += tab_size * tabs;
  k.char_count += (tab_size - 1) * tabs;
}

// One character inside a comment or a string, where only white space,
// the blank flag and the line's last character can change.  Returns 1 for
// a tab, which raises the tab notice in a comment (the caller raises them
// together at the end of the run: nothing else is raised in between).
inline int CountQuiet(char d, int tab_size, ScanState& s, FileCounters& k) {
  if (d == ' ') {
    ++k.whitespace_count;
  } else if (d == '\t') {
    CountTab(tab_size, k);
    return 1;
  } else if (d != '\r' && d != '\n') {
    s.last_char = d;
    if (static_cast<unsigned char>(d) > ' ') s.blank = 0;
  }
  return 0;
}


// A run of comment text without its end: what CountQuiet does to each
// character, in a loop the compiler can widen.  Returns the run's tabs.
int CountQuietRun(const char* p, size_t n, int tab_size, ScanState& s,
                  FileCounters& k) {
  int spaces = 0, tabs = 0;
  unsigned char above_blank = 0;
  for (size_t j = 0; j < n; ++j) {
    const unsigned char d = static_cast<unsigned char>(p[j]);
    spaces += d == ' ';
    tabs += d == '\t';
    above_blank |= d > ' ';
  }
  for (size_t j = n; j > 0; --j) {
    const char d = p[j - 1];
    if (d != ' ' && d != '\t' && d != '\r' && d != '\n') {
      s.last_char = d;
      break;
    }
  }
  if (above_blank) s.blank = 0;
  k.whitespace_count += spaces;
  CountTabs(tabs, tab_size, k);
  return tabs;
}

// Number of double quotes in a row from position i.
size_t QuotesFrom(const char* line, size_t i, size_t len) {
  size_t n = 0;
  while (i + n < len && line[i + n] == '"') ++n;
  return n;
}

// The string a '"' at i opens, by the language and what stands in front
// of and after it.  Returns how many characters the opening takes (the
// quotes, and a raw string's delimiter with its '(') and sets the kind and
// the closing text in the scanner state.
size_t OpenString(const char* line, size_t i, size_t len, const FileTyping& t,
                  ScanState& s) {
  s.string_kind = kPlainString;
  if (t.java_flag) {
    if (QuotesFrom(line, i, len) >= 3) {  // a text block
      s.string_kind = kTextBlock;
      s.string_quotes = 3;
      return 3;
    }
  } else if (t.csharp_flag) {
    // The prefix: any mix of '@' and '$' ("@$" is as verbatim as "$@").
    bool verbatim = false;
    for (size_t p = i; p > 0 && (line[p - 1] == '@' || line[p - 1] == '$');
         --p)
      verbatim = verbatim || line[p - 1] == '@';
    if (verbatim) {
      s.string_kind = kVerbatimString;
      return 1;
    }
    size_t quotes = QuotesFrom(line, i, len);
    if (quotes >= 3) {  // a raw string, closed by as many quotes
      s.string_kind = kQuotedRawString;
      s.string_quotes = static_cast<int>(quotes);
      return quotes;
    }
  } else if (t.c_flag || t.cpp_flag || t.header_flag) {
    // R"delim(...)delim", also with the prefixes L, u, U and u8.
    size_t p = i;
    while (p > 0 && IsIdentifierChar(line[p - 1])) --p;
    std::string_view prefix(line + p, i - p);
    if (prefix == "R" || prefix == "LR" || prefix == "uR" || prefix == "UR" ||
        prefix == "u8R") {
      size_t d = i + 1;
      while (d < len && d - (i + 1) <= kRawDelimiterSize && line[d] != '(' &&
             line[d] != ')' && line[d] != '\\' && line[d] != '"' &&
             static_cast<unsigned char>(line[d]) > ' ')
        ++d;
      size_t n = d - (i + 1);
      if (d < len && line[d] == '(' && n <= kRawDelimiterSize) {
        s.string_kind = kParenRawString;
        memcpy(s.raw_delimiter, line + i + 1, n);
        s.raw_delimiter_len = static_cast<int>(n);
        return n + 2;
      }
    }
  }
  return 1;
}

// Whether the '"' at i closes the open string, and how many characters the
// closing takes; 0 when the quote belongs to the string's text.  `width`
// gets the characters that stay in the string when 0 is returned.
size_t CloseString(const char* line, size_t i, size_t len, const ScanState& s,
                   size_t& width) {
  width = 1;
  switch (s.string_kind) {
    case kVerbatimString:
      if (i + 1 < len && line[i + 1] == '"') {  // "" is a quote
        width = 2;
        return 0;
      }
      return 1;
    case kTextBlock:
      if (BackslashesBefore(line, i) % 2 == 0 && QuotesFrom(line, i, len) >= 3)
        return 3;
      return 0;
    case kQuotedRawString: {
      size_t quotes = static_cast<size_t>(s.string_quotes);
      return QuotesFrom(line, i, len) >= quotes ? quotes : 0;
    }
    case kParenRawString: {
      size_t n = static_cast<size_t>(s.raw_delimiter_len);
      if (i >= n + 1 && line[i - n - 1] == ')' &&
          memcmp(line + i - n, s.raw_delimiter, n) == 0)
        return 1;
      return 0;
    }
    default:
      return BackslashesBefore(line, i) % 2 == 0 ? 1 : 0;
  }
}

bool HasComment(const ScanState& s) {
  return s.block_comment_on_line || s.in_line_comment;
}

void WriteDeterminationTrace(const char* text, size_t len, int line_number,
                             G& g) {
  const ScanState& s = g.scan;
  const FileTyping& t = g.typing;
  if (g.opt.html_flag) {
    std::string_view line = TrimLeft(std::string_view(text, len));
    line = TrimRight(line, "\r\n");
    Out(g, "\n  <b>Line</b> %d: <font color=\"%s\">%s</font>  <b>LOC Type(s)</b>:",
        line_number, g.cfg.color_line.c_str(), HtmlEscape(line).c_str());
  } else {
    Out(g, "\n  Line %d: ", line_number);
    if (g.opt.xml_flag)
      Out(g, "%s", XmlEscape(std::string_view(text, len)).c_str());
    else
      fwrite(text, 1, len, g.report_stream);
    Out(g, "  LOC Type(s):");
  }
  if (s.blank) Out(g, " Blank");
  if (s.code) {
    Out(g, " LOC");
    Out(g, s.non_effective ? " Non-Effective" : " Effective");
    if (s.logical) Out(g, " Logical");
  }
  if (s.block_comment_on_line) {
    Out(g, t.java_flag     ? " Java (C-Style) Comment"
           : t.csharp_flag ? " C# (C Style) Comment"
           : t.cpp_flag    ? " C++ (C Style) Comment"
                           : " C Comment");
  } else if (s.in_line_comment) {
    Out(g, t.java_flag ? " Java Comment" : t.csharp_flag ? " C# Comment" : " C++ Comment");
  }
  Out(g, "\n");
}

bool MentionsFallThrough(const char* text, size_t len) {
  static const char* const kPhrases[] = {"fall through", "drop through",
                                         "fall thru", "drop thru"};
  // Every phrase holds "thr"; most comment lines do not.  Its 'h' is
  // looked for, the rarer letter.
  bool thr = false;
  for (size_t at = 1; at + 1 < len;) {
    const void* h = memchr(text + at, 'h', len - 1 - at);
    if (h == nullptr) break;
    at = static_cast<size_t>(static_cast<const char*>(h) - text);
    if (text[at - 1] == 't' && text[at + 1] == 'r') {
      thr = true;
      break;
    }
    ++at;
  }
  if (!thr) return false;
  std::string_view line(text, len);
  for (const char* p : kPhrases)
    if (line.find(p) != std::string_view::npos) return true;
  return false;
}

void DebugTrace(const char* text, size_t len, G& g) {
  Out(g, "*** Debug:\n*** Line   : ");
  fwrite(text, 1, len, g.report_stream);
  ScanState& m = g.scan;
  Out(g, "*** Code   : %s\n", m.code_text.c_str());
  Out(g, "*** String : %s\n", m.string_text.c_str());
  Out(g, "*** Comment: %s\n", m.comment_text.c_str());
}

}  // namespace

int lone_bracket_line(std::string_view text, char bracket) {
  text = text.substr(0, kReadSize);
  size_t cut = text.find("//");
  if (cut != std::string_view::npos) text = text.substr(0, cut);
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i >= text.size() || text[i] != bracket) return 0;
  for (++i; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\n' || c == '\r') return 1;
    if (c == ' ' || c == '\t' || c == ';') continue;
    if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
      size_t end = text.find("*/", i + 2);
      if (end == std::string_view::npos) return 0;
      i = end + 1;
      continue;
    }
    return 0;
  }
  return 1;
}

void analyse_line(const char* text, size_t len, int line_number, G& g) {
  ScanState& s = g.scan;
  FileCounters& k = g.counters;
  const Options& o = g.opt;

  if (!s.continuation_flag) {
    s.extract.Clear();
    s.quote_count = 0;
  }
  size_t L = len;
  if (L > 0 && text[L - 1] == '\n') --L;
  if (L > 0 && text[L - 1] == '\r') --L;

  if (g.cfg.key_string_set && !s.key_string_found &&
      std::string_view(text, L).find(g.cfg.key_string) != std::string_view::npos)
    s.key_string_found = 1;
  k.char_count += static_cast<int>(L);
  s.blank = 1;
  s.code = 0;
  s.non_effective = 0;
  s.logical = 0;
  s.star_seen = 0;
  s.last_char = 0;
  s.block_comment_on_line = s.in_block_comment;
  if (static_cast<long>(L) > g.cfg.max_line_length) {
    NoticeArgs a;
    a.v[0] = static_cast<int>(L);
    a.v[1] = g.cfg.max_line_length;
    raise_notice(g, 1, line_number, a);
  }
  // Heads pending from earlier lines continue here (class and static
  // block heads join with class identification).
  scope_line_start(text, len, line_number, g);

  const bool known = LanguageKnown(g.typing);
  const bool extract_strings = o.extract_strings;
  const bool extract_comments = o.extract_comments || o.extract_docs;
  const int tab_size = g.cfg.tab_size;
  const bool keep = g.debug_flag || g.partitions_flag;

  for (size_t i = 0; i < L; ++i) {
    char c = text[i];

    // Plain code: names and numbers, and runs of white space, are taken
    // whole.  Nothing can start inside a name or a number: no keyword
    // (their lead characters are never letters or digits) and no operator.
    // Nor can they leave plain code (only quotes, comment marks, a '#'
    // directive and a closing brace change that), so runs of them are
    // taken one after the other without looking at the state again.
    //
    // The punctuation of plain code other than quotes and comment marks
    // ('"', '\'', '/', '*') is taken here as well: it makes the line code
    // and goes to the dispatch, and only a '#' directive can change the
    // state then (a C# #region takes the rest of the line).
    if (!s.in_block_comment && !s.in_line_comment && !s.in_string &&
        !s.in_char && !s.region_flag) {
      for (;;) {
        const unsigned char kind = kPlainKind.kind[static_cast<unsigned char>(c)];
        if (kind == kPlainName) {
          s.blank = 0;
          s.code = 1;
          size_t j = IdentifierEnd(text, i + 1, L);
          if (known && (!NothingPending(g, line_number) ||
                        keyword_candidate(text, i, j, L)))
            code_dispatch_word(text, i, j, L, line_number, g);
          // A digit separator ("1'000'000", "0xFF'FF") is part of the
          // number and opens no character literal.
          if (IsDigit(c))
            while (j + 1 < L && text[j] == '\'' && IsIdentifierChar(text[j + 1]))
              for (j += 2; j < L && IsIdentifierChar(text[j]);) ++j;
          if (keep) s.code_text.Append(text + i, j - i);
          s.last_char = text[j - 1];
          i = j;
        } else if (kind == kPlainBlank) {
          size_t j = i;
          int spaces = 0, tabs = 0;
          for (; j < L; ++j) {
            if (text[j] == ' ')
              ++spaces;
            else if (text[j] == '\t')
              ++tabs;
            else
              break;
          }
          k.whitespace_count += spaces;
          CountTabs(tabs, tab_size, k);
          if (tabs > 0) raise_notice_repeated(g, 30, line_number, tabs);
          if (keep) s.code_text.Append(text + i, j - i);
          i = j;
        } else if (kind == kPlainPunctuation) {
          s.blank = 0;
          s.code = 1;
          if (known) {
            const unsigned char use =
                kPunctuationUse.use[static_cast<unsigned char>(c)];
            if (use == kUseAlways ||
                (use == kUseDoubled && i + 1 < L && text[i + 1] == c) ||
                !NothingPending(g, line_number))
              code_dispatch_punctuation(text, i, L, line_number, g);
          }
          s.last_char = c;
          if (keep) s.code_text.Append(c);
          ++i;
          if (s.region_flag) {
            if (i >= L) break;
            c = text[i];
            break;
          }
        } else {
          break;
        }
        if (i >= L) break;
        c = text[i];
      }
      if (i >= L) break;
    }

    // The rest of a // comment: only white space, the line's last
    // character and the comment partition change.
    if (s.in_line_comment && !s.region_flag) {
      const int tabs = CountQuietRun(text + i, L - i, tab_size, s, k);
      if (tabs > 0) raise_notice_repeated(g, 30, line_number, tabs);
      if (extract_comments) s.extract.Append(text + i, L - i);
      if (keep) s.comment_text.Append(text + i, L - i);
      break;
    }

    // The inside of a /* */ comment, up to the '*' that may close it.
    if (s.in_block_comment && !s.region_flag) {
      size_t j = i;
      for (;;) {
        const void* star = memchr(text + j, '*', L - j);
        if (star == nullptr) {
          j = L;
          break;
        }
        j = static_cast<size_t>(static_cast<const char*>(star) - text);
        if (j + 1 < L && text[j + 1] == '/' &&
            (s.block_comment_line < line_number ||
             static_cast<int>(j) > s.block_comment_star))
          break;
        ++j;
      }
      const int tabs = CountQuietRun(text + i, j - i, tab_size, s, k);
      if (tabs > 0) raise_notice_repeated(g, 30, line_number, tabs);
      if (j > i) {
        if (extract_comments) s.extract.Append(text + i, j - i);
        if (keep) s.comment_text.Append(text + i, j - i);
        i = j - 1;
        continue;
      }
    }

    // The inside of a string literal, up to its next quote or backslash.
    if (s.in_string && !s.region_flag && c != '"' && c != '\\') {
      size_t j = i;
      bool code = false;
      for (; j < L && text[j] != '"' && text[j] != '\\'; ++j) {
        const char d = text[j];
        CountQuiet(d, tab_size, s, k);  // a tab in a string raises nothing
        code = code || (static_cast<unsigned char>(d) > ' ' && d != '/');
      }
      if (code) s.code = 1;
      if (extract_strings) s.extract.Append(text + i, j - i);
      if (keep) s.string_text.Append(text + i, j - i);
      i = j - 1;
      continue;
    }

    const char next = i + 1 < L ? text[i + 1] : '\0';
    const char prev = i > 0 ? text[i - 1] : '\0';
    const unsigned char uc = static_cast<unsigned char>(c);
    size_t skip = 0;             // characters after c that c's token takes
    bool closed_string = false;  // c is the (first) closing quote

    if (extract_strings && s.in_string) s.extract.Append(c);
    if (s.blank && uc > ' ') s.blank = 0;
    if (!s.blank && !s.code && !s.in_block_comment && !s.in_line_comment &&
        uc > ' ' && c != '/')
      s.code = 1;
    bool in_comment = s.in_block_comment || s.in_line_comment;
    if (extract_comments && in_comment) s.extract.Append(c);

    if (!s.region_flag) {
      switch (c) {
        case '\t':
          CountTab(tab_size, k);
          if (!s.in_string) raise_notice(g, 30, line_number);
          break;
        case ' ':
          k.whitespace_count += 1;
          break;
        case '"':
          if (in_comment || s.in_char) break;
          if (!s.in_string) {
            // The opening quotes (and a raw string's delimiter) belong to
            // the string: they are passed over here.
            s.in_string = 1;
            ++s.quote_count;
            skip = OpenString(text, i, L, g.typing, s) - 1;
          } else {
            size_t width = 1;
            size_t close = CloseString(text, i, L, s, width);
            if (close == 0) {
              skip = width - 1;  // a quote of the string's text
            } else {
              // The closing )delim" of a raw string is no text of it.
              size_t tail = static_cast<size_t>(s.raw_delimiter_len) + 2;
              if (extract_strings && s.string_kind == kParenRawString &&
                  s.extract.len >= tail)
                s.extract.len -= tail;
              s.in_string = 0;
              s.string_kind = kPlainString;
              ++s.quote_count;
              ++k.literal_strings;
              closed_string = true;
              skip = close - 1;
              if (extract_strings) WriteExtract(g, line_number, true);
            }
          }
          break;
        case '\'':
          if (!in_comment && !s.in_string &&
              BackslashesBefore(text, i) % 2 == 0)
            s.in_char = !s.in_char;
          break;
        case '*':
          if (s.in_block_comment && !s.in_string && !s.in_char &&
              !s.in_line_comment && next == '/' &&
              (s.block_comment_line < line_number ||
               static_cast<int>(i) > s.block_comment_star)) {
            s.in_block_comment = 0;
            s.block_comment_star = -1;
            s.block_comment_line = -1;
            if (extract_comments) s.extract.Append('/');
            s.block_comment_on_line = 1;
          } else if (!in_comment && !s.block_comment_on_line && !s.in_string &&
                     !s.in_char) {
            s.star_seen = 1;
          }
          break;
        case '/':
          if (!s.in_string && !s.in_block_comment && !s.in_char &&
              !s.in_line_comment) {
            if (next == '*') {
              s.block_comment_star = static_cast<int>(i) + 1;
              s.block_comment_line = line_number;
              s.in_block_comment = 1;
              if (extract_comments) s.extract.Append('/');
              s.block_comment_on_line = 1;
            } else if (next == '/' && prev != '*') {
              s.in_line_comment = 1;
              if (extract_comments) s.extract.Append('/');
            }
          }
          break;
        default:
          if (known && !in_comment && !s.in_string && !s.in_char)
            code_dispatch(text, i, L, line_number, g);
          break;
      }
    }

    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') s.last_char = c;

    // Every character goes to one partition.
    if (!keep) {
      // Nobody reads the partitions of this run.
    } else if (s.in_block_comment || s.in_line_comment) {
      s.comment_text.Append(c);
    } else if (s.in_string) {
      s.string_text.Append(c);
    } else if (prev == '*' && c == '/') {
      s.comment_text.Append('*');
      s.comment_text.Append('/');
    } else if (c == '*' && next == '/') {
      // Goes with the '/' that follows.
    } else if (closed_string) {
      s.string_text.Append(c);
    } else {
      s.code_text.Append(c);
    }
    if (skip > 0) {
      // The rest of a string's opening or closing quotes, or the second
      // quote of a C# "" pair.
      if (keep) s.string_text.Append(text + i + 1, skip);
      i += skip;
    }
  }
  if (s.blank) s.block_comment_on_line = 0;

  bool has_comment = HasComment(s);
  if (o.deterministic_flag && !o.workfile_deterministic && known)
    WriteDeterminationTrace(text, len, line_number, g);
  if (s.blank) {
    ++k.blank_lines;
    s.comment_run = 0;
  }
  if (s.code) ++k.loc;
  // The user defined notices read the line and its partitions here.
  if (!g.udqn.records.empty()) apply_udqn(text, L, line_number, 0, g);
  if (has_comment) {
    ++s.comment_run;
    if (MentionsFallThrough(text, len)) ++s.fn.fall_through;
    ++k.comment_lines;
  }
  // The code differential takes the line and its kind here.
  if (line_sink != nullptr)
    if (char kind = line_type_code(g)) line_sink(g, text, len, line_number, kind);
  if (extract_comments && has_comment) WriteExtract(g, line_number, false);
  if (s.code) {
    s.prev_code_line.Clear();
    s.prev_code_line.Append(text, L);
  }
  // Only C and C++ splice a line ending in a backslash to the next; and
  // not inside a raw string, whose backslashes are its own text.
  const bool splices = !g.typing.java_flag && !g.typing.csharp_flag &&
                       !(s.in_string && s.string_kind != kPlainString);
  if (s.last_char == '\\' && splices) {
    ++k.continuation_lines;
    s.continuation_flag = 1;
  } else {
    end_of_logical_line(line_number, g);
    s.preproc_flag = 0;
    s.error_flag = 0;
    s.define_flag = 0;
    s.in_line_comment = 0;
    s.continuation_flag = 0;
    // A character literal cannot span lines: an apostrophe left open at
    // the end of a line (as in "#error don't") must not swallow the file.
    s.in_char = 0;
    // Only an ordinary string ends with its line; verbatim, raw and block
    // strings run on to their own closing quotes.
    if (s.quote_count % 2 == 0 && s.string_kind == kPlainString)
      s.in_string = 0;
  }
  // A string running on over lines is extracted a line at a time, each
  // piece with its own line number.
  if (extract_strings && s.in_string && s.string_kind != kPlainString)
    WriteExtract(g, line_number, true);
  if (g.debug_flag) DebugTrace(text, len, g);
  s.code_text.Clear();
  s.comment_text.Clear();
  s.string_text.Clear();
  s.region_flag = 0;
}

LineSink line_sink = nullptr;

char line_type_code(const G& g) {
  const ScanState& s = g.scan;
  bool comment = s.block_comment_on_line || s.in_line_comment;
  if (s.code) {
    if (s.non_effective) return comment ? 'n' : 'N';
    if (s.logical) return comment ? 'g' : 'G';
    return comment ? 'l' : 'L';
  }
  if (comment) return 'C';
  if (s.blank && !g.cfg.ignore_diff_blank_lines) return 'B';
  return 0;
}

void reset_file_state(G& g) {
  g.counters = FileCounters();
  g.scan = ScanState();
  g.fs = FunctionState();
  g.ts = TypeState();
}

void add_file_to_totals(G& g) { g.totals.Add(g.counters); }

void totals_to_file_fields(G& g) { g.counters = g.totals.Capped(); }

}  // namespace vek
