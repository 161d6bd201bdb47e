// The metrics differential: two loaded work files compared file by file
// into a list of differential entries (New, Removed, Modified, Equal) with
// the sums of both baselines and of their difference; the work time
// between them; the item settings of the differential configuration.
#ifndef VEK_WORKFILES_METRICS_DIFF_H_
#define VEK_WORKFILES_METRICS_DIFF_H_

#include <string>

#include "common/list.h"
#include "common/metrics_entry.h"
#include "workfiles/diff_items.h"
#include "workfiles/workfile_state.h"

namespace vek {

struct G;
struct Config;

// Differential states, kept in MetricsEntry::state, and their labels.
enum DiffState {
  kStateUnprocessed = 0,
  kStateEqual = 1,
  kStateModified = 2,
  kStateDifferent = 3,  // the label of kStateModified under -wd
  kStateRemoved = 4,
  kStateNew = 5,
  kStateProcessed = 6,
  kStateTotal = 7,
  kDiffStates
};
extern const char* const kStateLabels[kDiffStates];

// An entry counted in the sums but not listed (-we, -wm, -wn, -wr) holds
// this mark in extra[kHiddenSlot].
constexpr int kHiddenMark = 117;
constexpr int kHiddenSlot = 0;
inline bool IsHidden(const MetricsEntry& e) {
  return e.extra[kHiddenSlot] == kHiddenMark;
}

// The data-field item and the entry field of each compared metric.
struct MetricInfo {
  int item;
  int MetricsEntry::*field;
};
extern const MetricInfo kMetricInfo[kDiffMetrics];

struct DiffOptions {
  bool case_sensitive = false;  // "Source file names are case sensitive"
  bool code_diff = false;       // -wd
  bool removed_as_modified = false;
  bool skip_equal = false, skip_modified = false;
  bool skip_new = false, skip_removed = false;
};

// Compares the baselines: every older entry is matched with the newer one
// of the same name (byte for byte first, then without regard to case when
// names are not case sensitive; each newer entry is matched once).  Fills
// `out` sorted by name and the sums older, newer and difference of `w`.
// The newer entries are marked processed.  With -wd, `lines` compares the
// line data of matched files.  Returns false when memory ran out; what was
// gathered stays.
bool CompareBaselines(const List<MetricsEntry>& older,
                      List<MetricsEntry>& newer, List<MetricsEntry>& out,
                      const DiffItems& items, const DiffOptions& options,
                      WorkFileState& w, G* g);

// [(newer - older) / older x 100], or 0 when the older value is not above 0.
double PercentChange(long long newer, long long older);

// The work time that `delta` seconds stand for, from the productivity
// basis of the configuration; a basis of 0 gives 0, never a division by 0.
WorkTime ComputeWorkTime(double delta, const Config& c);

// A number of seconds as days, hours, minutes and seconds.
struct Dhms {
  long long days;
  int hours, minutes, seconds;
};
Dhms SplitSeconds(double delta);
std::string DhmsText(const Dhms& d);

// Reads the item settings from `path`: returns 1 when the file was read.
// A missing file gives every item shown and is written with the default
// text; a file that exists but cannot be read gives every item shown, a
// message, and is left alone (counted in g.workfile.input_faults).
int load_diff_items(const std::string& path, DiffItems& items, G& g);

}  // namespace vek

#endif  // VEK_WORKFILES_METRICS_DIFF_H_
