// The code dispatch: keywords, preprocessor directives, operators and
// brackets in code, with the keyword and construct counters they raise.
#ifndef VEK_ANALYSIS_KEYWORDS_H_
#define VEK_ANALYSIS_KEYWORDS_H_

#include <cstddef>
#include <cstdint>

namespace vek {

struct G;

// Handles the code character at `i` of `line` (length `len`, the line end
// already removed): called by the scanner for every character outside
// comments, strings and character literals of a C, C++, Java or C# file.
void code_dispatch(const char* line, size_t i, size_t len, int line_number,
                   G& g);
// The same for the scanner, which knows what it hands over: a name or a
// number at `i` that ends before `word_end`, ...
void code_dispatch_word(const char* line, size_t i, size_t word_end,
                        size_t len, int line_number, G& g);
// ... or a character of code that is neither a letter, a digit, '_', a
// blank nor a line end.
void code_dispatch_punctuation(const char* line, size_t i, size_t len,
                               int line_number, G& g);

// The lead sets and keyword lengths by first letter ('a' to 'z' are 0 to
// 25, '_' is 26), as bit sets, built from the keyword table.
struct KeywordCandidates {
  uint32_t lead[256] = {};  // bit n: a keyword of letter n may follow
  uint32_t starts = 0;      // letters that begin a keyword
  uint64_t lengths[27] = {};
};
extern const KeywordCandidates kKeywordCandidates;

// True when a class, struct or union keyword at `i` follows the '>' of a
// template head written without a blank ("template<class T>class Box").
bool type_word_after_template(const char* line, size_t i, size_t len);

// Whether the word at `i` (ending before `word_end`) may be a keyword by
// its text alone: its first letter, the character in front of it and its
// length.  A word that may not needs no dispatch unless earlier code left
// something to settle at it.  Runs for every word of code.
inline bool keyword_candidate(const char* line, size_t i, size_t word_end,
                              size_t len) {
  const char first = line[i];
  int letter;
  if (first >= 'a' && first <= 'z')
    letter = first - 'a';
  else if (first == '_')
    letter = 26;
  else
    return false;
  const KeywordCandidates& t = kKeywordCandidates;
  if (i > 0) {
    const char before = line[i - 1];
    if ((t.lead[static_cast<unsigned char>(before)] >> letter & 1) == 0 &&
        (before != '>' || !type_word_after_template(line, i, len)))
      return false;
  } else if ((t.starts >> letter & 1) == 0) {
    return false;
  }
  // A keyword is a whole word: when a letter, digit or '_' follows it, no
  // follow set accepts it and no effect counts anything.
  const size_t word_len = word_end - i;
  return word_len >= 2 && word_len < 64 && (t.lengths[letter] >> word_len & 1) != 0;
}

// After a keyword ending before `pos`, skips blanks and tabs; when the next
// character is `a` or `b`, a CR, a LF, the end of the line or the start of
// a comment, raises `*counter` (when not null) and returns 1; else 0.
int keyword_follows(const char* line, size_t pos, size_t len, int* counter,
                    char a, char b);

// The end-of-line step of the dispatch: the pending macro check (the end
// of a -m macro block) for a line that does not continue.
void end_of_logical_line(int line_number, G& g);

}  // namespace vek

#endif  // VEK_ANALYSIS_KEYWORDS_H_
