// The pieces of the code dispatch (keywords.cc, operators.cc,
// preprocessor.cc) and the small text tests they share.  Internal to the
// analysis subsystem; the scanner only sees analysis/keywords.h.
#ifndef VEK_ANALYSIS_DISPATCH_PARTS_H_
#define VEK_ANALYSIS_DISPATCH_PARTS_H_

#include <cstddef>

namespace vek {

struct G;

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }
inline bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
inline bool IsWordChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         (c >= '0' && c <= '9') || c == '_';
}

// True when a // or /* comment starts at `pos`.
inline bool CommentAt(const char* line, size_t pos, size_t len) {
  return pos + 1 < len && line[pos] == '/' &&
         (line[pos + 1] == '/' || line[pos + 1] == '*');
}

// The first position at or after `pos` that is neither a blank, a tab nor
// inside a complete /* */ comment; `len` when a // comment or a comment
// that does not close on the line comes first.
size_t SkipBlanksAndComments(const char* line, size_t pos, size_t len);

// Recognises the keyword that starts at `i` (the word ends before
// `word_end`), if any, and applies its effect; returns true when the
// characters at `i` began a keyword.
bool dispatch_keyword(const char* line, size_t i, size_t word_end,
                      size_t len, int line_number, G& g);

// A '#' that starts a preprocessor directive.
void dispatch_directive(const char* line, size_t i, size_t len,
                        int line_number, G& g);

// Brackets, ';', '=' and the other operators.
void dispatch_operator(const char* line, size_t i, size_t len,
                       int line_number, G& g);

// The literal test of notice #50 on the text after an assignment, from
// `pos`; defers itself to the next code character when the line ends first.
void test_literal_assignment(const char* line, size_t pos, size_t len,
                             int line_number, G& g);

}  // namespace vek

#endif  // VEK_ANALYSIS_DISPATCH_PARTS_H_
