// The metrics differential report (-wx) in text, HTML, CSV and XML, and
// the display of the report configuration (-x"c").
#ifndef VEK_WORKFILES_DIFF_REPORT_H_
#define VEK_WORKFILES_DIFF_REPORT_H_

#include <string>

namespace vek {

struct G;

// Compares the work files `older` and `newer` and writes the whole report
// to the report stream; with `banner` the report head comes first.  The
// report trailer is the caller's.  Returns the exit status: 0, or 1 when
// the work files were made with different code differential settings, or
// when a work file or the differential configuration could not be read
// in full (the report then shows what could be read).
int run_metrics_diff(G& g, const std::string& older, const std::string& newer,
                     int banner);

// Writes the template of the report configuration with every item On or
// Off as the configuration named by -x"File csv name" says (every item On
// when none is named or it cannot be read; a missing one is created with
// the default differential configuration).
void show_report_config(G& g);

}  // namespace vek

#endif  // VEK_WORKFILES_DIFF_REPORT_H_
