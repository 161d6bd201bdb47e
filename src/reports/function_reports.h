// The function reports: the block written at each function's closing
// brace, the -C -fa function rows of the file table, the file and project
// function summary, and the project function list with its totals.  The
// frame, the "Sorted By" line and the entry function points are shared
// with the other project lists (types, namespaces).
#ifndef VEK_REPORTS_FUNCTION_REPORTS_H_
#define VEK_REPORTS_FUNCTION_REPORTS_H_

#include <cstddef>
#include <cstdio>
#include <string_view>

namespace vek {

struct G;
struct FunctionMeasure;

// Function points of `count` lines of basis `kind` (0 LOC, 1 eLOC,
// 2 lLOC) for the language of the file last typed; 0.0 when the factor is
// 0 or less.
double FunctionPoints(int count, int kind, const G& g);

// The function-point block of a list entry (only with -fp), computed for
// the language of the entry's own file.  The typing of the current file is
// left as it was.
void EntryFunctionPoints(G& g, std::string_view file, int loc, int eloc,
                         int lloc);

// A label of the summary tables ("  Total LOC .....: "): as it is in text;
// in HTML its words up to the colon in bold.
void SummaryLabel(G& g, std::string_view label);

// "Sorted By: <key> - <direction>" when a -k key is in force.
void SortedByLine(G& g);

// The titles of one project list report.
struct ListReportNames {
  const char* title;       // text and HTML, "~~ ... ~~"
  const char* xml_name;    // text of the XML name element
  const char* csv_title;   // CSV title line, with its line feeds
  const char* csv_count;   // label of the CSV count row
  const char* csv_header;  // CSV column heading, with its line feed
};

// The head of a list report: title, "Sorted By" line and, in CSV, the
// count and the column heading.  EndListReport closes the XML report.
void BeginListReport(G& g, const ListReportNames& names, size_t count);
void EndListReport(G& g);

// One row of the -C -fa function table for `m`, preceded by the table
// heading the first time in a run.  With `m` null: the file's closing
// rows (Total, Average, Maximum, Minimum) when it had rows, after which
// the next file starts afresh.
void CsvFunctionRow(FILE* stream, const FunctionMeasure* m, G& g);

// The block that ends a function: its CSV row under -C -fa; otherwise,
// unless totals-only or -EC, the complexity, LOC and memory blocks and the
// "Function End" separator (with notices) or a line feed.  The -fd detail
// that precedes it is the caller's.
void function_end_report(G& g, const FunctionMeasure& m);

// "~~ File Functional Summary ~~" of the current file (project 0), from
// the analyser's file sums, or of the whole run (project 1).  Nothing when
// there are no functions.
void FileFunctionSummary(G& g, int project);

// "~~ Project Functional Metrics ~~": every recorded function in -k order
// with its metrics, then "~~ Project Functional Analysis ~~" with totals,
// averages, maxima and minima.  Nothing when no function was recorded.
void FunctionReport(G& g);

}  // namespace vek

#endif  // VEK_REPORTS_FUNCTION_REPORTS_H_
