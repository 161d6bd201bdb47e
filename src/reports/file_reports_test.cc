#include "reports/file_reports.h"

#include <gtest/gtest.h>

#include <string>

#include "driver/state.h"
#include "reports/capture_test_util.h"
#include "reports/file_header.h"
#include "reports/metrics_blocks.h"
#include "reports/output.h"
#include "reports/report_test_util.h"

namespace vek {
namespace {

void UseFormat(G& g, ReportFormat f) {
  g.opt.html_flag = f == kFormatHtml;
  g.opt.csv_flag = f == kFormatCsv;
  g.opt.xml_flag = f == kFormatXml;
}

std::string Centred(const std::string& title) {
  return std::string(37 - title.size() / 2, ' ') + title + "\n";
}

const std::string kRule = std::string("  ") + kHyphens36 + kHyphens36 + "\n\n";
const std::string kZeroLoc =
    "  LOC 0        eLOC 0        lLOC 0        Comment 0        Lines        0\n";

TEST(SafeRatio, NoDivisionByZero) {
  EXPECT_EQ(0.0, SafeRatio(5, 0));
  EXPECT_EQ(0.0, SafeRatio(5, -2));
  EXPECT_DOUBLE_EQ(2.5, SafeRatio(5, 2));
  EXPECT_EQ(0.0, SafeDiv(5.0, 0.0));
  EXPECT_DOUBLE_EQ(0.25, SafeDiv(1.0, 4.0));
}

TEST(SafeRatio, TrackMinMax) {
  // The first value sets the minimum although both start at 0; a negative
  // value never leaves a negative minimum.
  int min = 0, max = 0;
  TrackMinMax(7, min, max, 1);
  TrackMinMax(9, min, max, 2);
  EXPECT_EQ(7, min);
  EXPECT_EQ(9, max);
  TrackMinMax(-4, min, max, 3);
  EXPECT_EQ(0, min);
  double dmin = 0, dmax = 0;
  TrackMinMaxReal(0.5, dmin, dmax, 1);
  TrackMinMaxReal(0.25, dmin, dmax, 2);
  EXPECT_DOUBLE_EQ(0.25, dmin);
  EXPECT_DOUBLE_EQ(0.5, dmax);
}

TEST(MetricBlock, NegativeCountsAndAverages) {
  CapturedG cap;
  G& g = cap.g();
  LocBlock(g, -5, -1, 0, -2, -9);
  MethodsBlock(g, 1, 2, -3);
  AverageBlock(g, 0, 10, 10, 10, 10, 10);  // no files: no block
  AverageBlock(g, 1, 0, 0, 0, 0, 0);       // one file repeats the totals
  EXPECT_EQ(kZeroLoc +
                "  Methods      Publ 1        Prot 2        Private 0        "
                "Total        3\n"
                "  Average per File, metric/1 files\n" + kZeroLoc,
            cap.text());

  CapturedG csv;
  UseFormat(csv.g(), kFormatCsv);
  AverageBlock(csv.g(), 4, 10, 7, 3, 4, 31);  // truncated
  EXPECT_EQ("Avg LOC,2,eLOC,1,lLOC,0,Comment,1,Lines,7\n", csv.text());
}

TEST(MetricBlock, RatiosAndComplexity) {
  CapturedG cap;
  G& g = cap.g();
  QualityBlock(g, 2, 3, 2000);  // 1.5 notices per KeLOC print as 2
  QualityBlock(g, 0, 4, 0);
  ClassTotalsBlock(g, 0, 5);
  ComplexityBlock(g, 4, 2, 7);  // not in complexity mode
  g.opt.complexity_flag = 1;
  ComplexityBlock(g, 4, 2, 7);
  EXPECT_EQ(
      "  Quality      Funcs 2       Notice 3      QN/Func  1.5    QN/KeLOC      2\n"
      "  Quality      Funcs 0       Notice 4      QN/Func  0.0    QN/KeLOC      0\n"
      "  Total Classses 0           Total Functions 5       Avg Func/Class   0.00\n"
      "  Complexity   Param 4       Return 2      Cyclo Vg 7       Total       13\n",
      cap.text());
}

TEST(MetricBlock, XmlBlocksNest) {
  CapturedG cap;
  G& g = cap.g();
  UseFormat(g, kFormatXml);
  g.opt.complexity_flag = 1;
  LocBlock(g, 1, 2, 3, 4, 5);
  AverageBlock(g, 2, 1, 1, 1, 1, 1);
  FunctionPointBlock(g, 1.0, 0.5, 0.0);
  ComplexityBlock(g, 4, 2, 7);
  QualityBlock(g, 1, 1, 1);
  MethodsBlock(g, 1, 1, 1);
  AttributesBlock(g, 1, 1, 1);
  ClassTotalsBlock(g, 1, 1);
  std::string out = cap.text();
  EXPECT_EQ("", XmlNestingError(out));
  EXPECT_TRUE(Has(out, "<interface_complexity>6</interface_complexity>"));
}

TEST(FileReportTotalSummary, FileForms) {
  CapturedG zero;  // a file of no lines
  zero.g().opt.report_option_flag = zero.g().opt.summary_flag = 1;
  TotalSummary(zero.g(), 0);
  EXPECT_EQ(kRule + Centred("~~ Total File Summary ~~") + "\n" + kZeroLoc,
            zero.text());

  // Under function analysis a file without functions or notices has no
  // rule; without -s a line feed ends the summary.
  CapturedG bare;
  bare.g().opt.report_option_flag = bare.g().opt.function_flag = 1;
  TotalSummary(bare.g(), 0);
  EXPECT_EQ(Centred("~~ Total File Summary ~~") + "\n" + kZeroLoc + "\n",
            bare.text());

  CapturedG silent;
  UseFormat(silent.g(), kFormatXml);
  TotalSummary(silent.g(), 0);
  UseFormat(silent.g(), kFormatText);
  silent.g().opt.function_list_flag = 1;
  TotalSummary(silent.g(), 1);
  EXPECT_EQ("", silent.text());
}

TEST(FileReportTotalSummary, ProjectText) {
  CapturedG none;
  TotalSummary(none.g(), 1);
  EXPECT_EQ(kZeroLoc, none.text());  // no analysed files, no average

  CapturedG cap;
  G& g = cap.g();
  g.files_processed = 2;
  g.opt.function_points_flag = 1;
  g.fp_totals[0] = 10.0;
  g.counters.loc = 1281;
  g.counters.skipped_lines = 7;
  TotalSummary(g, 1);
  EXPECT_EQ(
      "  LOC 1281     eLOC 1281     lLOC 0        Comment 0        Lines        0\n"
      "  Average per File, metric/2 files\n"
      "  LOC 640      eLOC 640      lLOC 0        Comment 0        Lines        0\n"
      "  Function Points         FP(LOC) 10.0    FP(eLOC) 0.0    FP(lLOC)     0.0\n"
      "  Total physical lines skipped from skip token match: 7\n\n",
      cap.text());
}

TEST(FileReportTotalSummary, ProjectCsvAndXml) {
  CapturedG csv;
  G& g = csv.g();
  UseFormat(g, kFormatCsv);
  g.opt.function_points_flag = 1;
  g.fp_totals[0] = 1.5;
  FileCounters& c = g.counters;
  c.loc = 50;
  c.noneff_brace_lines = 10;
  c.semicolon_count = 30;
  c.comment_lines = 10;
  c.line_count = 80;
  c.skipped_lines = 3;
  TotalSummary(g, 1);
  EXPECT_EQ("\nTotal,Skipped,Lines,3\nFunction,Point,Totals\n"
            "FP LOC,       1.5,FP eLOC,       0.0,FP lLOC,       0.0,\n\n"
            "Project,Totals\n"
            "LOC,50,eLOC,40,lLOC,30,Comment,10,Lines,80,Comment/eLOC,0.25\n\n",
            csv.text());

  CapturedG xml;
  UseFormat(xml.g(), kFormatXml);
  xml.g().counters.comment_lines = 4;
  TotalSummary(xml.g(), 1);
  EXPECT_EQ("", XmlNestingError(xml.text()));
  EXPECT_TRUE(Has(xml.text(), "<comment_per_eloc>0.00</comment_per_eloc>\n"
                              "<function_point_loc>0.0</function_point_loc>\n"));
}

CsvFileCounts SampleCounts() {
  CsvFileCounts c;
  c.loc = 10, c.eloc = 8, c.lloc = 6, c.comments = 4, c.blanks = 2;
  c.lines = 16, c.classes = 1, c.functions = 2, c.parameters = 3;
  c.returns = 1, c.cyclomatic = 5, c.notices = 2;
  c.fp[0] = 0.125, c.fp[1] = 0.25, c.fp[2] = 0.5;
  return c;
}

void CloseTable(G& g) {
  CsvFileRow(g.report_stream, "", 0, 0, CsvFileCounts(), 1, g);
}

TEST(FileReportCsvTable, RowsAndClosingRows) {
  CapturedG cap;
  G& g = cap.g();
  UseFormat(g, kFormatCsv);
  CloseTable(g);  // no rows, no closing rows
  const int64_t when = 1000000000;
  const std::string date = FormatTime(static_cast<time_t>(when), "%c");
  CsvFileRow(g.report_stream, "a.c", when, 100, SampleCounts(), 0, g);
  // A file of no lines; the comma in its name would shift the columns.
  CsvFileRow(g.report_stream, "b,c.c", when, 0, CsvFileCounts(), 0, g);
  CloseTable(g);
  EXPECT_EQ(
      "Type, Name, , Date, Size, LOC, eLOC, lLOC, Comments, Blanks, Lines, "
      "Comment/eLOC, Classes, Functions, Parameters, Returns, InterComp, "
      "CycloComp, Total Complexity, Notices\n"
      "File, a.c,, " + date +
          ", 100, 10, 8, 6, 4, 2, 16, 0.50, 1, 2, 3, 1, 4, 5, 9, 2\n"
          "File, b c.c,, " + date +
          ", 0, 0, 0, 0, 0, 0, 0, 0.00, 0, 0, 0, 0, 0, 0, 0, 0\n"
          "Files, 2\n"
          "File, Total,, , 100, 10, 8, 6, 4, 2, 16, 0.50, 1, 2, 3, 1, 4, 5, 9, 2\n"
          "File, Average,, , 50.00, 5.00, 4.00, 3.00, 2.00, 1.00, 8.00, 0.25, "
          "0.50, 1.00, 1.50, 0.50, 2.00, 2.50, 4.50, 1.00\n"
          "File, Maximum,, , 100, 10, 8, 6, 4, 2, 16, 0.50, 1, 2, 3, 1, 4, 5, 9, 2\n"
          "File, Minimum,, , 0, 0, 0, 0, 0, 0, 0, 0.00, 0, 0, 0, 0, 0, 0, 0, 0\n",
      cap.text());
}

TEST(FileReportCsvTable, HeadingOncePerRunTotalsOncePerTable) {
  CapturedG cap;
  G& g = cap.g();
  UseFormat(g, kFormatCsv);
  g.opt.function_flag = 1;  // -fa: an empty line after every row
  CsvFileRow(g.report_stream, "a.c", 0, 5, SampleCounts(), 0, g);
  CloseTable(g);
  CloseTable(g);  // nothing left to close
  CsvFileCounts small;
  small.loc = 1;
  CsvFileRow(g.report_stream, "b.c", 0, 7, small, 0, g);
  CloseTable(g);
  std::string out = cap.text();
  EXPECT_EQ(out.find("Type, Name"), out.rfind("Type, Name"));
  EXPECT_TRUE(Has(out, ", 9, 2\n\nFiles, 1\n"));
  size_t second = out.rfind("Files, ");
  EXPECT_EQ("Files, 1\nFile, Total,, , 7, 1, 0, 0, 0, 0, 0, 0.00, 0, 0, 0, 0, "
            "0, 0, 0, 0\n",
            out.substr(second, out.find("File, Average", second) - second));
}

TEST(FileReportCsvTable, FunctionPointColumns) {
  CapturedG cap;
  G& g = cap.g();
  UseFormat(g, kFormatCsv);
  g.opt.function_points_flag = 1;
  CsvFileRow(g.report_stream, "a.c", 0, 100, SampleCounts(), 0, g);
  CsvFileRow(g.report_stream, "b.c", 0, 100, SampleCounts(), 0, g);
  CloseTable(g);
  std::string out = cap.text();
  EXPECT_EQ(0u, out.find("Type, Name, , Date, Size, LOC/FP, eLOC/FP, lLOC/FP, "
                         "Comments,"));
  EXPECT_TRUE(Has(out, ", 100, 10/0.1       , 8/0.2       , 6/0.5       , 4, 2"));
  EXPECT_TRUE(Has(out, "File, Total,, , 200, 20/0.2       , 16/0.5       , "
                       "12/1.0       , 8,"));
}

void CountFiles(G& g) {
  int* t = g.typing.files_by_type;
  t[kTypeC] = 2, t[kTypeCHeader] = 1, t[kTypeCpp] = 3, t[kTypeJava] = 1;
  t[kTypeOther] = 4;
}

TEST(FileReportFileSummary, TextAndCsv) {
  CapturedG text;
  CountFiles(text.g());
  FileSummary(text.g());
  EXPECT_EQ("\n" + kRule + Centred("~~ File Summary ~~") +
                "\n  C Source Files *.c ....:          2"
                "  C/C++ Include Files *.h:          1\n"
                "  C++ Source Files *.c* .:          3"
                "  C++ Include Files *.h* :          0\n"
                "  C# Source Files *.cs ..:          0"
                "  Java Source File *.jav*:          1\n"
                "  Other File Count ......:          4\n"
                "  Total File Count ......:         11\n",
            text.text());

  CapturedG csv;
  UseFormat(csv.g(), kFormatCsv);
  csv.g().opt.totals_detail = 1;
  CountFiles(csv.g());
  FileSummary(csv.g());
  std::string out = csv.text();
  // The detail rows (here only the closing row) come before the counts.
  EXPECT_EQ(0u, out.find("File Detail Summary\n\nProject Total\n"));
  EXPECT_TRUE(Has(out, "\n\nC Source Files *.c,         2\n"
                       "C/C++ Include Files *.h,         1\n"));
  EXPECT_TRUE(Has(out, "\nTotal File Count,        11\n"));
}

TEST(FileReportFileSummary, XmlHoldsTotalsAndCounts) {
  CapturedG cap;
  UseFormat(cap.g(), kFormatXml);
  CountFiles(cap.g());
  FileSummary(cap.g());
  std::string out = cap.text();
  EXPECT_EQ("", XmlNestingError(out));
  EXPECT_EQ(0u, out.find("<report>\n<name>File Summary</name>\n<totals>\n"));
  EXPECT_TRUE(Has(out, "<total_file_count>11</total_file_count>\n"
                       "</file_counts>\n</report>\n"));
}

TEST(FileReportHeader, TotalWithZeroTimeIsASummaryRow) {
  CapturedG cap;
  FileHeader("Total", 0, 0, 0, cap.g());
  EXPECT_EQ("\n  Total\n\n", cap.text());
}

}  // namespace
}  // namespace vek
