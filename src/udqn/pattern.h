// The regular expressions of the user defined notices, compiled and matched
// through the POSIX interface of PCRE2 (with the library's JIT where it has
// one).  Only pattern.cc sees the library's headers; the rest of the
// program uses these calls and option values.
#ifndef VEK_UDQN_PATTERN_H_
#define VEK_UDQN_PATTERN_H_

#include <cstddef>
#include <string>

#include "udqn/udqn_set.h"

namespace vek {

// Option bits of the POSIX interface, as the notice file names them.
constexpr int kRegIcase = 0x0001;
constexpr int kRegNewline = 0x0002;
constexpr int kRegNotbol = 0x0004;
constexpr int kRegNoteol = 0x0008;
constexpr int kRegNosub = 0x0020;
constexpr int kRegExtended = 0;  // the library's patterns are extended anyway

// Longest error text kept from a failed compilation.
constexpr size_t kCompileMessageMax = 1024;

// Compiles `pattern` with `cflags`.  Returns null on failure and stores the
// library's reason (at most kCompileMessageMax - 1 characters) in `error`.
// With `jit` the compiled pattern is also translated to machine code, which
// matches the same texts faster; the tests compare the two.
CompiledPatternPtr CompilePattern(const std::string& pattern, int cflags,
                                  std::string* error, bool jit = true);

// Looks for the pattern in text[0, len), which may hold NUL bytes and need
// not end with one.  On a match returns true and stores the offsets of the
// match; a failure of the library (a match limit reached on a pathological
// pattern) is no match.
bool MatchPattern(const CompiledPattern& pattern, const char* text, size_t len,
                  int eflags, int* start, int* end);

// The version text of the regular expression library in use.
std::string RegexLibraryVersion();

}  // namespace vek

#endif  // VEK_UDQN_PATTERN_H_
