// The -m macro report: the name of every macro defined with arguments and,
// under -n, the block that frames the notices raised inside its body.
#ifndef VEK_REPORTS_MACRO_BLOCK_H_
#define VEK_REPORTS_MACRO_BLOCK_H_

#include <string_view>

namespace vek {

struct G;

// "  Macro: <name>" (HTML: in the macro colour).
void macro_line(G& g, std::string_view name);

// Under -n: the "Macro Begin" separator, the macro line and the heading of
// the macro's notices.
void macro_block_begin(G& g, std::string_view name, int line_number);

// Under -n, at the end of the macro's logical line: the name again and the
// "Macro End" separator.
void macro_block_end(G& g, std::string_view name, int line_number);

}  // namespace vek

#endif  // VEK_REPORTS_MACRO_BLOCK_H_
