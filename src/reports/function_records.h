// The project's function records and the key order of every project list.
//
// A function record is kept packed (FunctionRecord: its counts, the
// handle of its texts and the number of its file); a run over a large tree
// records hundreds of thousands.  The reports read each one back as a
// MetricsEntry filled like this:
//   name                  qualified function name
//   text2                 normalised parameter text
//   text3                 template prefix; empty when there is none
//   text4                 the file the function is defined in
//   loc, eloc, lloc       the function's size counts
//   comments, blanks      its comment and blank lines
//   lines                 closing line - opening line + 1
//   cyclomatic            cyclomatic complexity
//   interface_complexity  parameters + returns
//   total_complexity      cyclomatic + interface complexity
//   functions             1, so that sums over a list count its functions
//   state                 work state, used by the work file comparison
//   extra[kFnLine]        line of the closing brace
//   extra[kFnParams]      parameter count
//   extra[kFnReturns]     return points
//   extra[kFnStartLine]   line of the opening brace
// The other fields stay 0.
//
// The sort keys and the sorted insert serve every list of metrics entries
// (functions, types, namespaces) and the file list.
#ifndef VEK_REPORTS_FUNCTION_RECORDS_H_
#define VEK_REPORTS_FUNCTION_RECORDS_H_

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/function_state.h"
#include "common/list.h"
#include "common/metrics_entry.h"
#include "common/text_blocks.h"

namespace vek {

struct G;
struct FileRecord;

// Slots of MetricsEntry::extra in a function record.
enum FunctionRecordExtra {
  kFnLine = 0,
  kFnParams = 1,
  kFnReturns = 2,
  kFnStartLine = 3,
};

// The keys of -k.  Keys 7 to 10 are meant for the file list.
enum SortKey {
  kSortNone = 0,
  kSortName = 1,
  kSortLoc = 2,
  kSortEloc = 3,
  kSortLloc = 4,
  kSortCyclomatic = 5,
  kSortWorkState = 6,
  kSortFunctionCount = 7,
  kSortNoticeCount = 8,
  kSortFileDate = 9,
  kSortFileSize = 10,
  kSortKeys = 11
};

// The name of a key as the "Sorted By" line prints it; "No Sort Method"
// for 0 and for any number that is not a key.
const char* SortKeyName(int key);

// One recorded function, packed.
struct FunctionRecord {
  uint32_t text = TextBlocks::kNone;  // sizes of name, parameters and
                                      // template prefix, then their bytes
  int file = 0;                       // index into the record files
  int loc = 0, eloc = 0, lloc = 0, comments = 0, blanks = 0, lines = 0;
  int cyclomatic = 0, params = 0, returns = 0, start_line = 0, end_line = 0;
};

// The recorded functions of the run, in recording order until
// OrderRecordedFunctions.  Texts live in text blocks, each file name once,
// and the records in a deque, so that neither ever copies on growth.
class FunctionRecords {
 public:
  // Records `m`.  Throws std::bad_alloc when memory runs out.
  void Add(const FunctionMeasure& m);

  size_t count() const { return records_.size(); }
  bool empty() const { return records_.empty(); }
  std::string_view Name(const FunctionRecord& r) const;

  // Record `i` as a function record entry; `e` keeps its string buffers
  // from one call to the next.
  void Unpack(size_t i, MetricsEntry& e) const;
  MetricsEntry Entry(size_t i) const;
  std::vector<MetricsEntry> Entries() const;

  std::deque<FunctionRecord>& records() { return records_; }

 private:
  TextBlocks text_;
  std::deque<FunctionRecord> records_;
  std::vector<std::string> files_;
};

// Run-wide state of the function records and reports; lives in G.
struct FunctionReportState {
  FunctionRecords functions;     // every recorded function
  FunctionSums project;          // over every recorded function

  // The -C -fa function rows of the current file: sums, extremes and the
  // row count, cleared after the file's closing rows.
  // Columns: LOC, eLOC, lLOC, comments, blanks, lines, functions,
  // parameters, returns, interface, cyclomatic and total complexity; the
  // comment/eLOC ratio apart.
  static constexpr int kCsvColumns = 12;
  struct CsvRows {
    int rows = 0;
    long long total[kCsvColumns] = {};
    long long max[kCsvColumns] = {};
    long long min[kCsvColumns] = {};
    double ratio_total = 0.0, ratio_max = 0.0, ratio_min = 0.0;
  } csv;
  int csv_header_written = 0;  // the function row heading, once per run
};

// Links `entry` into `list` by `key`: in front of the first element it
// does not compare greater than (smaller than, when descending), so it
// goes in front of equal ones; appended without a key.  Returns the
// entry, or nullptr (the entry freed) when the list cannot take it.
MetricsEntry* InsertSorted(List<MetricsEntry>& list,
                           std::unique_ptr<MetricsEntry> entry, int key,
                           bool descending);

// Re-orders a list by `key` in the direction of -kd, keeping the order of
// equal elements.  Nothing for key 0 or an unknown key.
void SortList(List<MetricsEntry>& list, int key, const G& g);
void SortList(List<FileRecord>& list, int key, const G& g);

// Puts the recorded functions in -k order: by key, equal functions latest
// recorded first (the order InsertSorted one by one would give, followed by
// SortList).  Nothing for key 0 or an unknown key.
void OrderRecordedFunctions(FunctionRecords& list, int key, const G& g);

// Records a finished function in the project list (in recording order) and adds
// it to the project's function sums.  Returns false, with errno set, when
// the list cannot take the record; the sums count the function anyway, as
// the file's sums do.
bool record_function(G& g, const FunctionMeasure& m);

// The physical lines of a function: closing line - opening line + 1, or
// its measured lines when the opening line is not known.
int FunctionLines(const FunctionMeasure& m);

// The sums and maxima of the current file, from the analyser's file sums.
FunctionSums FileFunctionSums(const G& g);

}  // namespace vek

#endif  // VEK_REPORTS_FUNCTION_RECORDS_H_
