// The code differential: while a work file is made with -wd, every analysed
// line becomes a 13-byte record (line number, kind, content hash) in a line
// data file beside the work file; when two baselines are compared with -wd,
// the records of a file present in both are matched by a longest common
// subsequence in which two lines match only when kind and hash are equal.
//
// Record layout, little-endian, no padding, no file header:
//   int32 line number (1-based) | char kind | IEEE double hash
#ifndef VEK_WORKFILES_CODE_DIFF_H_
#define VEK_WORKFILES_CODE_DIFF_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "workfiles/workfile_state.h"

namespace vek {

struct G;

constexpr size_t kLineRecordSize = 13;

struct LineData {
  int32_t line = 0;
  char kind = 0;
  double hash = 0.0;
};

// The content hash of a line: the printable bytes (and vertical tabs) c,
// numbered n = 1, 2, ..., summed as c / n; blanks and tabs are left out
// when `ignore_white_space`.
double LineHash(const char* text, size_t len, bool ignore_white_space);

void EncodeLineRecord(const LineData& d, unsigned char out[kLineRecordSize]);
LineData DecodeLineRecord(const unsigned char in[kLineRecordSize]);

// The line data name of a source path: drive and one leading separator
// dropped, blanks, dots and separators made '_'; a name of 256 characters
// or more keeps its last 254.
std::string FlattenName(std::string_view path);

// One line decision of a comparison: older and newer line numbers (0 when
// none), '=', '+' or '-', and the kind counted.
struct LineDecision {
  int older = 0;
  char op = 0;
  char kind = 0;
  int newer = 0;
};

// Adds one decision to the counts of every category of its kind.
void CountDecision(const LineDecision& d, LineCounts& counts);

// Compares two line lists: the segments of `max_lines` lines taken from
// the end of both files while both hold a whole one, then the rest in one
// more part.  `decide` receives every decision in trace-back order; the
// optional `trace` receives the debug lines.  Returns false when a matrix
// cannot be allocated (`failed_bytes` then holds its size); the decisions
// made before stay.
struct CompareHooks {
  std::function<void(const LineDecision&)> decide;
  // When set, takes a run of `count` lines that pair one to one (older[k]
  // with newer[k]) at once, in place of as many '=' decisions.
  std::function<void(const LineData* older, const LineData* newer, int count)>
      equal_run;
  std::function<void(const char* text)> trace;            // may be empty
  bool dump_matrix = false;                                // with `trace`
};
bool CompareLineLists(const std::vector<LineData>& older,
                      const std::vector<LineData>& newer, int max_lines,
                      const CompareHooks& hooks, double* failed_bytes);

// Loads a line data file found by the stored path relative to the work
// file (then the current folder).  Returns 1, or 0 after its message.
int load_line_data(const std::string& stored, const std::string& work_file,
                   std::vector<LineData>& lines, G& g);

// A creating run with -wd: makes the line data directory beside the work
// file (ends the run with status 1 when it cannot) and installs the line
// capture.  Called after the work file was opened.
void start_line_data(G& g);
// Before and after each analysed file of a creating run (or of -wD).
void begin_file_line_data(G& g, const std::string& source);
void end_file_line_data(G& g);
// Installs the kind display of -wD.
void start_kind_display(G& g);

// The line comparison of a differential run with -wd.
bool compare_file_lines(G& g, const MetricsEntry& older,
                        const MetricsEntry& newer, LineCounts& counts);

// The glossary of the -ws details, in the report's format.
void write_code_diff_glossary(G& g);

}  // namespace vek

#endif  // VEK_WORKFILES_CODE_DIFF_H_
