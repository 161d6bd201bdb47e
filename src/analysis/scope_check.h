// The scope check of notice #22: a do, else, for, foreach, if or while
// whose content is not enclosed in braces.  The keyword opens the check;
// the character after it (do, else) or after its condition's ')' (for,
// foreach, if, while) decides it, or, at a line end, the first code of a
// later line.  Any '{' satisfies a pending check.
#ifndef VEK_ANALYSIS_SCOPE_CHECK_H_
#define VEK_ANALYSIS_SCOPE_CHECK_H_

#include <cstddef>
#include <string_view>

namespace vek {

struct G;

// The keyword `word` of `kind` (1 do, 2 else, 3 for or foreach, 4 if,
// 5 while) ends at index `end` of a code line of `len` characters.  Only
// while function analysis is on.
void scope_check_open(int kind, std::string_view word,
                      const char* line, size_t end, size_t len,
                      int line_number, G& g);
// A ')' at index `i`, after the parenthesis level went down.
void scope_check_close_paren(const char* line, size_t i, size_t len, G& g);
// Code at index `i` of a line: decides a check deferred by a line end or
// a comment, at the first code that follows.
void scope_check_code(const char* line, size_t i, size_t len, G& g);

}  // namespace vek

#endif  // VEK_ANALYSIS_SCOPE_CHECK_H_
