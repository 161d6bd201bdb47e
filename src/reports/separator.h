// The dashed separator that opens and closes the function, type and macro
// blocks of the quality notice reports.
#ifndef VEK_REPORTS_SEPARATOR_H_
#define VEK_REPORTS_SEPARATOR_H_

#include <string>
#include <string_view>

namespace vek {

struct G;

// Width of a separator after its two leading blanks: the width of the
// rules of the reports, so that the right edges line up.
constexpr size_t kSeparatorWidth = 72;

// "  ---- <label>: Line <n> " filled with '-' to kSeparatorWidth characters
// after the two blanks (at least four closing dashes however long the
// label).
std::string separator_text(std::string_view label, int line_number);

// Writes the separator between two newlines; HTML gets the same text with
// the label escaped.
void separator_line(G& g, std::string_view label, int line_number);

}  // namespace vek

#endif  // VEK_REPORTS_SEPARATOR_H_
