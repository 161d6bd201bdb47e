// Test helpers for report output: substring search and a check that XML
// output nests its elements properly.
#ifndef VEK_REPORTS_REPORT_TEST_UTIL_H_
#define VEK_REPORTS_REPORT_TEST_UTIL_H_

#include <string>
#include <vector>

namespace vek {

inline bool Has(const std::string& text, const std::string& piece) {
  return text.find(piece) != std::string::npos;
}

// Empty when every start tag is closed in order; else the first fault.
// Enough for report output: no attributes on elements, no comments.
inline std::string XmlNestingError(const std::string& xml) {
  std::vector<std::string> open;
  for (size_t i = xml.find('<'); i != std::string::npos; i = xml.find('<', i)) {
    size_t end = xml.find('>', i);
    if (end == std::string::npos) return "unclosed tag";
    std::string tag = xml.substr(i + 1, end - i - 1);
    i = end + 1;
    if (tag.empty() || tag[0] == '?') continue;
    if (tag[0] != '/') {
      open.push_back(tag);
    } else if (open.empty() || open.back() != tag.substr(1)) {
      return "unexpected <" + tag + ">";
    } else {
      open.pop_back();
    }
  }
  return open.empty() ? "" : "<" + open.back() + "> left open";
}

}  // namespace vek

#endif  // VEK_REPORTS_REPORT_TEST_UTIL_H_
