// Small string helpers shared by every subsystem: bounded copies that mirror
// the fixed buffers of the reports, case-insensitive comparison, trimming.
#ifndef VEK_COMMON_TEXT_H_
#define VEK_COMMON_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace vek {

// Buffer sizes shared across the program.
constexpr size_t kPathSize = 1024;   // paths
constexpr size_t kLineSize = 2048;   // lines and names
constexpr size_t kReadSize = 2047;   // one read of a source line

// Copies at most size-1 characters of `src`, like a copy into a buffer of
// `size` bytes that stops one short of its end.
inline std::string Bounded(std::string_view src, size_t size) {
  if (size == 0) return {};
  return std::string(src.substr(0, size - 1));
}

inline char LowerChar(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string Lower(std::string_view s);

// `path` with every byte but the unreserved ones of a URI and '/'
// percent-encoded ("a b#.c" gives "a%20b%23.c"), for links and file URIs.
std::string PercentEncode(std::string_view path);

// <0, 0, >0 comparing without regard to ASCII letter case.
int CaseCompare(std::string_view a, std::string_view b);
inline bool CaseEqual(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CaseCompare(a, b) == 0;
}
bool CaseStartsWith(std::string_view s, std::string_view prefix);

// Characters removed by the trimming helpers unless told otherwise.
constexpr std::string_view kBlankTab = " \t";
constexpr std::string_view kWhiteEnd = " \t\r\n";

std::string_view TrimLeft(std::string_view s,
                          std::string_view chars = kBlankTab);
std::string_view TrimRight(std::string_view s,
                           std::string_view chars = kWhiteEnd);

// Splits `s` at any of `seps`, dropping empty pieces.
template <class F>
void SplitEach(std::string_view s, std::string_view seps, F&& each) {
  size_t start = 0;
  while (start <= s.size()) {
    size_t end = s.find_first_of(seps, start);
    if (end == std::string_view::npos) end = s.size();
    if (end > start) each(s.substr(start, end - start));
    start = end + 1;
  }
}

// The text between the last '/' (or '\') and the end: a path's base name.
std::string_view BaseName(std::string_view path);

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsAlpha(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Reads a decimal integer at the start of `s` (after optional blanks and a
// sign); text that is not a number reads as 0.
int ParseInt(std::string_view s);

}  // namespace vek

#endif  // VEK_COMMON_TEXT_H_
