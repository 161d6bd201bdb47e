// Operators that look like decisions but are not: the "&&" of a reference
// type and the "?" of a nullable type or a wildcard.  The code dispatch
// asks before it counts a logical and or an inlined if.
#ifndef VEK_ANALYSIS_DECISIONS_H_
#define VEK_ANALYSIS_DECISIONS_H_

#include <cstddef>

namespace vek {

struct FileTyping;

// True when the "&&" at `i` of a C or C++ line is no logical and: an
// rvalue or forwarding reference ("auto&& x", "T&& v = f()",
// "static_cast<T&&>(v)", "for (T&& e : list)") or the address of a label
// ("= &&done").  `in_for_header` tells whether a for header is open.
bool ReferenceAmpersands(const char* line, size_t i, size_t len,
                         bool in_for_header);

// True when the '?' at `i` is no inlined if: a C# nullable type ("int?",
// "List<int?>", "string? name = null"), a C# null-conditional access
// ("a?.b", "a?[0]") or a Java wildcard ("List<?>", "<? extends T>").
bool TypeQuestionMark(const char* line, size_t i, size_t len,
                      const FileTyping& typing);

}  // namespace vek

#endif  // VEK_ANALYSIS_DECISIONS_H_
