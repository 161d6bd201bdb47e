// The reports about source files: the total summary of a file or of the
// project, the CSV file table and the end-of-run file summary by language.
// Each prints the file counters of G, which hold the project totals once
// the file loop is over.
#ifndef VEK_REPORTS_FILE_REPORTS_H_
#define VEK_REPORTS_FILE_REPORTS_H_

#include <cstdint>
#include <cstdio>
#include <string_view>

#include "analysis/counters.h"

namespace vek {

struct G;

// The project counters a project report prints: the 64-bit totals where
// the file fields hold them (capped to int after the file loop), else the
// file fields themselves.
ProjectCounters ProjectView(const G& g);

// The centred title of a report section, inside the header colour in HTML.
// The caller writes the rule before it and whatever follows it.
void ReportTitle(G& g, std::string_view title);

// The three function points of the file being reported: those of its
// record, or the project's when no file is current.
const double* CurrentFunctionPoints(const G& g);

// "~~ Total File Summary ~~" (project 0) or "~~ Total Project Summary ~~"
// (project 1) from the file counters.  Nothing for a file in XML or in -l
// mode; the project gets a compact form in CSV and XML.
void TotalSummary(G& g, int project);

// The counts of one row of the CSV file table.
struct CsvFileCounts {
  int loc = 0, eloc = 0, lloc = 0, comments = 0, blanks = 0, lines = 0;
  int classes = 0, functions = 0, parameters = 0, returns = 0;
  int cyclomatic = 0, notices = 0;
  double fp[3] = {0.0, 0.0, 0.0};  // function points of LOC, eLOC, lLOC
};

// The row counts of the current file (classes and structs both count as
// classes) with its function points.
CsvFileCounts CsvFileCountsOf(const G& g);

// One "File" row of the CSV file table, preceded by the table heading the
// first time in a run, and added to the table's totals and extremes.  With
// `summary` set, the other arguments are ignored and the closing rows
// (Files, Total, Average, Maximum, Minimum) are written when any row was,
// after which the table starts afresh.
void CsvFileRow(FILE* stream, std::string_view name, int64_t mtime, long size,
                const CsvFileCounts& counts, int summary, G& g);

// The end-of-run count of input files by language; "~~ File Detail
// Summary ~~" with -Td.
void FileSummary(G& g);

}  // namespace vek

#endif  // VEK_REPORTS_FILE_REPORTS_H_
