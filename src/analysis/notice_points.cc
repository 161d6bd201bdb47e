#include "analysis/notice_points.h"

#include "driver/state.h"

namespace vek {

// The emitter of the quality notices is not part of the program yet: a
// raised notice is neither counted nor written until it is.  The trace
// records every raise, enabled or not, so that the scan can be checked.
void raise_notice(G& g, int number, int line_number, const NoticeArgs&) {
  if (g.notice_trace != nullptr)
    g.notice_trace->emplace_back(number, line_number);
}

void raise_notice(G& g, int number, int line_number,
                  std::string_view detail) {
  NoticeArgs args;
  args.text = detail;
  raise_notice(g, number, line_number, args);
}

}  // namespace vek
