#include "reports/separator.h"

#include <cstring>
#include <string>

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
    // The same text built in place: a report of functions writes two of
    // these for every function.
    constexpr std::string_view kHead = "  ---- ";
    constexpr std::string_view kLine = ": Line ";
    const std::string number = std::to_string(line_number);
    const size_t used = kHead.size() + label.size() + kLine.size() +
                        number.size() + 1;  // the frame's length
    const size_t width = kIndent + kSeparatorWidth;
    const size_t dashes =
        used + kMinClosingDashes <= width ? width - used : kMinClosingDashes;
    char line[256];
    if (used + dashes + 2 > sizeof line) {
      Out(g, "\n%s\n", separator_text(label, line_number).c_str());
      return;
    }
    size_t n = 0;
    auto put = [&](std::string_view piece) {
      memcpy(line + n, piece.data(), piece.size());
      n += piece.size();
    };
    put("\n");
    put(kHead);
    put(label);
    put(kLine);
    put(number);
    put(" ");
    memset(line + n, '-', dashes);
    n += dashes;
    put("\n");
    OutText(g, std::string_view(line, n));
  }
}

}  // namespace vek
