// Where the analysis raises a quality notice.  The scan calls raise_notice
// at every place a built-in notice applies, with the values its message
// names; the common emission procedure counts and writes it.
#ifndef VEK_ANALYSIS_NOTICE_POINTS_H_
#define VEK_ANALYSIS_NOTICE_POINTS_H_

#include <string_view>

namespace vek {

struct G;

// The values a notice's message names besides its line, in the order the
// message uses them: `text` is a keyword, a name or a word such as "Class"
// or "function"; `file` the file named by the tree and file notices (#40
// to #42, #45; empty means the current file); `v` counts and limits;
// `p` percentages.
struct NoticeArgs {
  std::string_view text;
  std::string_view file;
  int v[6] = {0, 0, 0, 0, 0, 0};
  double p[2] = {0.0, 0.0};
};

// Notice `number` at `line_number`.
void raise_notice(G& g, int number, int line_number, const NoticeArgs& args);
// The same with only a text argument (a keyword, a name), empty when none.
void raise_notice(G& g, int number, int line_number,
                  std::string_view detail = {});

}  // namespace vek

#endif  // VEK_ANALYSIS_NOTICE_POINTS_H_
