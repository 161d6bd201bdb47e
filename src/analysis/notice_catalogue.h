// The catalogue of the built-in quality notices 1..58: whether each one is
// switched on and its short description.  Every part of the program that
// names a notice goes through these two lookups.
#ifndef VEK_ANALYSIS_NOTICE_CATALOGUE_H_
#define VEK_ANALYSIS_NOTICE_CATALOGUE_H_

#include <cstddef>
#include <string>

namespace vek {

struct G;

// Longest short description, in bytes.
constexpr size_t kNoticeDescriptionMax = 80;

// The enable value of notice `n` from the configuration (1 on, 0 off) for
// 0..58; -1 for 59 and above, for negative numbers and when `g` is null.
int notice_enabled(int n, const G* g);

// The short description of notice `n`.  For 1..58 the catalogue text with
// its threshold formatted in ("%d" or "%.1f"); all 58 texts are formatted
// together on the first call and kept in `g`, so later changes to the
// thresholds do not alter them.  Other numbers belong to user defined
// notices; until those are loaded the answer is "Unsupported".
std::string notice_description(int n, G& g);

}  // namespace vek

#endif  // VEK_ANALYSIS_NOTICE_CATALOGUE_H_
