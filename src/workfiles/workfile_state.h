// The part of G that belongs to work files and the metrics differential:
// the work file being written by a creating run, and the settings and
// totals of one differential run.
#ifndef VEK_WORKFILES_WORKFILE_STATE_H_
#define VEK_WORKFILES_WORKFILE_STATE_H_

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "workfiles/atomic_file.h"
#include "workfiles/diff_items.h"

namespace vek {

// The metric counts the differential compares and sums, in report order.
enum DiffMetric {
  kMetricLoc,
  kMetricEloc,
  kMetricLloc,
  kMetricComments,
  kMetricBlanks,
  kMetricLines,
  kMetricFunctions,
  kMetricCyclomatic,
  kMetricInterface,
  kMetricTotalComplexity,
  kMetricNotices,
  kDiffMetrics
};

// A file count and a sum per metric, for one baseline, one state or the
// difference of two baselines.
struct DiffSums {
  long long files = 0;
  long long metric[kDiffMetrics] = {};
  long long size = 0;             // bytes; kept for the total differential
  double percent_sum = 0.0;       // sum of the entries' eLOC percentages
};

// The time between two work files and the work it stands for.
struct WorkTime {
  double delta_seconds = 0.0;
  double calendar_days = 0.0;
  double work_days = 0.0;
  double man_hours = 0.0;
  double man_days = 0.0;
  double man_weeks = 0.0;
  double man_months = 0.0;
  double man_years = 0.0;
};

// The lines of one file compared between two baselines, by category
// (code, non-effective, logical, comment, blank): changed or added in the
// newer file, equal in both, removed from the older one.
enum LineCategory { kLineCode, kLineNonEffective, kLineLogical, kLineComment,
                    kLineBlank, kLineCategories };
struct LineCounts {
  int changed[kLineCategories] = {};
  int equal[kLineCategories] = {};
  int removed[kLineCategories] = {};
};

struct MetricsEntry;
struct G;

// Compares the line data of a file present in both baselines (-wd);
// returns false when either side's line data cannot be loaded, leaving
// the counts 0.
using LineCompare = std::function<bool(G& g, const MetricsEntry& older,
                                       const MetricsEntry& newer,
                                       LineCounts& counts)>;

struct WorkFileState {
  // A creating run (-w"create dir"): the open work file, written under a
  // temporary name until the run completes it.
  AtomicFile file;
  std::string path;         // the final work file path
  std::string latest_path;  // where the "workfile.dat" copy goes
  // The line-data path of the file being analysed, stored in its record;
  // empty unless the line capture of the code differential set it.
  std::string dif_path;

  // One differential run (-wx).
  DiffItems items;
  std::string older_path, newer_path;
  int64_t older_time = 0, newer_time = 0;
  DiffSums older, newer, difference;
  WorkTime work;
  int input_faults = 0;  // inputs that could not be read in full
  // The line comparison behind -wd; empty while no code differential is
  // built into the program.
  LineCompare compare_lines;
};

}  // namespace vek

#endif  // VEK_WORKFILES_WORKFILE_STATE_H_
