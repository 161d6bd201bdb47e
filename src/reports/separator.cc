#include "reports/separator.h"

#include "driver/state.h"
#include "reports/output.h"

namespace vek {

namespace {

constexpr size_t kMinClosingDashes = 4;
constexpr size_t kIndent = 2;

std::string Frame(std::string_view label, int line_number) {
  return "  ---- " + std::string(label) + ": Line " +
         std::to_string(line_number) + " ";
}

std::string Fill(size_t used) {
  const size_t width = kIndent + kSeparatorWidth;
  size_t dashes =
      used + kMinClosingDashes <= width ? width - used : kMinClosingDashes;
  return std::string(dashes, '-');
}

}  // namespace

std::string separator_text(std::string_view label, int line_number) {
  std::string text = Frame(label, line_number);
  return text + Fill(text.size());
}

void separator_line(G& g, std::string_view label, int line_number) {
  if (g.opt.html_flag) {
    // The fill is measured on the plain text so both forms line up.
    std::string plain = Frame(label, line_number);
    std::string html = Frame(HtmlEscape(label), line_number);
    Out(g, "\n%s%s\n", html.c_str(), Fill(plain.size()).c_str());
  } else {
    Out(g, "\n%s\n", separator_text(label, line_number).c_str());
  }
}

}  // namespace vek
