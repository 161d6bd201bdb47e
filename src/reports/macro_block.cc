#include "reports/macro_block.h"

#include <string>

#include "driver/state.h"
#include "reports/output.h"
#include "reports/separator.h"

namespace vek {

void macro_line(G& g, std::string_view name) {
  if (g.opt.html_flag) {
    Out(g, "  <b>Macro</b>: <b><font color=\"%s\">%s</font></b>\n",
        g.cfg.color_macro.c_str(), HtmlEscape(name).c_str());
  } else {
    std::string text(name);
    Out(g, "  Macro: %s\n", text.c_str());
  }
}

void macro_block_begin(G& g, std::string_view name, int line_number) {
  separator_line(g, "Macro Begin", line_number);
  macro_line(g, name);
  section_banner(g, "Macro Quality Notices");
}

void macro_block_end(G& g, std::string_view name, int line_number) {
  Out(g, "\n");
  macro_line(g, name);
  separator_line(g, "Macro End", line_number);
}

}  // namespace vek
