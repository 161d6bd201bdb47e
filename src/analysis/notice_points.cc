#include "analysis/notice_points.h"

#include "driver/state.h"

namespace vek {

// The emitter of the quality notices is not part of the program yet: a
// raised notice is neither counted nor written until it is.  The trace
// records every raise, enabled or not, so that the scan can be checked.
void raise_notice(G& g, int number, int line_number,
                  std::string_view /*detail*/) {
  if (g.notice_trace != nullptr)
    g.notice_trace->emplace_back(number, line_number);
}

}  // namespace vek
