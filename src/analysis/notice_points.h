// Where the analysis raises a quality notice.  The scan calls raise_notice
// at every place a built-in notice applies; counting and writing the notice
// belong to the notice emitter, which joins here.
#ifndef VEK_ANALYSIS_NOTICE_POINTS_H_
#define VEK_ANALYSIS_NOTICE_POINTS_H_

#include <string_view>

namespace vek {

struct G;

// Notice `number` at `line_number`; `detail` is the text the message names
// (a keyword, a name), empty when none.
void raise_notice(G& g, int number, int line_number,
                  std::string_view detail = {});

}  // namespace vek

#endif  // VEK_ANALYSIS_NOTICE_POINTS_H_
