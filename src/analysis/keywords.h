// The code dispatch: keywords, preprocessor directives, operators and
// brackets in code, with the keyword and construct counters they raise.
#ifndef VEK_ANALYSIS_KEYWORDS_H_
#define VEK_ANALYSIS_KEYWORDS_H_

#include <cstddef>

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
