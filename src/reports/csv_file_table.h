// Run-wide state of the CSV file table (-C with -s or -fa): the column
// totals and extremes over the rows written so far, and whether the table
// heading has been printed.  Lives in G; see CsvFileRow.
#ifndef VEK_REPORTS_CSV_FILE_TABLE_H_
#define VEK_REPORTS_CSV_FILE_TABLE_H_

namespace vek {

// The integer columns of a file row, in the order they are printed.
enum CsvFileColumn {
  kColSize,
  kColLoc,
  kColEloc,
  kColLloc,
  kColComments,
  kColBlanks,
  kColLines,
  kColClasses,
  kColFunctions,
  kColParameters,
  kColReturns,
  kColInterComp,
  kColCycloComp,
  kColTotalComp,
  kColNotices,
  kCsvIntColumns
};

// One value per column.  Totals of many files can pass the range of int,
// so the integer columns are kept wide.
struct CsvFileColumns {
  long long n[kCsvIntColumns] = {};
  double comment_per_eloc = 0.0;
  double fp[3] = {0.0, 0.0, 0.0};  // function points of LOC, eLOC, lLOC
};

struct CsvFileTable {
  int header_written = 0;  // once per run
  int rows = 0;            // rows since the last closing rows
  CsvFileColumns total, max, min;

  // Forgets the rows after the closing rows; the heading stays written.
  void Reset() {
    rows = 0;
    total = max = min = CsvFileColumns();
  }
};

}  // namespace vek

#endif  // VEK_REPORTS_CSV_FILE_TABLE_H_
