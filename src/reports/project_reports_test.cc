#include "reports/project_reports.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include "analysis/counters.h"
#include "driver/state.h"
#include "reports/capture_test_util.h"
#include "reports/file_reports.h"
#include "reports/function_reports.h"
#include "reports/keyword_report.h"
#include "reports/metrics_blocks.h"
#include "reports/process_timer.h"
#include "reports/report_test_util.h"

namespace vek {
namespace {

void UseFormat(G& g, ReportFormat f) {
  g.opt.html_flag = f == kFormatHtml;
  g.opt.csv_flag = f == kFormatCsv;
  g.opt.xml_flag = f == kFormatXml;
}

constexpr ReportFormat kFormats[] = {kFormatText, kFormatHtml, kFormatCsv,
                                     kFormatXml};

// An analysed input file of the given type and sizes.
FileRecord* AddFile(G& g, const std::string& name, int type, int loc,
                    int comments = 0, int blanks = 0) {
  auto r = std::make_unique<FileRecord>();
  r->name = name;
  r->file_type = type;
  r->loc = loc;
  r->eloc = loc;
  r->lloc = loc / 2;
  r->comments = comments;
  r->blanks = blanks;
  r->lines = loc + comments + blanks;
  FileRecord* raw = r.get();
  g.input_files.list_append(std::move(r));
  return raw;
}

// --- Function points --------------------------------------------------------

TEST(FunctionPoints, LanguageFactorsOfTheTypedFile) {
  auto g = std::make_unique<G>();
  g->typing.c_flag = 1;
  EXPECT_DOUBLE_EQ(10.0, FunctionPoints(1280, kFpLoc, *g));
  // A C header counts as a header: factor 0 gives no points at all.
  g->typing.header_flag = 1;
  EXPECT_EQ(0.0, FunctionPoints(1280, kFpLoc, *g));
  g->typing = FileTyping();
  g->typing.java_flag = 1;
  EXPECT_DOUBLE_EQ(1.0, FunctionPoints(53, kFpEloc, *g));
  g->cfg.fp_factor[kFpJava][kFpLloc] = -3;
  EXPECT_EQ(0.0, FunctionPoints(53, kFpLloc, *g));
  EXPECT_EQ(0.0, FunctionPoints(53, 7, *g));  // no such basis
}

TEST(FunctionPoints, LanguageSummaryGroupsAndTotal) {
  CapturedG cap;
  G& g = cap.g();
  AddFile(g, "big.c", kTypeC, 1280, 10, 10);
  AddFile(g, "big.h", kTypeCHeader, 1280);
  AddFile(g, "gone.c", -1, 0);  // failed to open: counted nowhere
  LanguageSummary(g);
  std::string out = cap.text();
  size_t c = out.find("C Source Files *.c\n");
  size_t h = out.find("Header Include Files *.h*\n");
  ASSERT_NE(std::string::npos, c);
  ASSERT_NE(std::string::npos, h);
  EXPECT_LT(h, c);  // headers come first
  EXPECT_TRUE(Has(out.substr(c), "FP(LOC) 10.0 "));
  EXPECT_TRUE(Has(out.substr(h, c - h), "FP(LOC) 0.0 "));
  size_t total = out.find("Total All Languages");
  ASSERT_NE(std::string::npos, total);
  EXPECT_TRUE(Has(out.substr(total), "Average per File, metric/2 files"));
  EXPECT_TRUE(Has(out.substr(total), "FP(LOC) 10.0 "));
  EXPECT_FALSE(Has(out, "C++ Source Files"));  // empty groups are left out
}

// --- Language profile ---------------------------------------------------------

TEST(LanguageProfile, JavaOnlyProjectIsOneFullRow) {
  for (ReportFormat f : kFormats) {
    CapturedG cap;
    G& g = cap.g();
    UseFormat(g, f);
    AddFile(g, "A.java", kTypeJava, 40, 5, 7);
    AddFile(g, "B.java", kTypeJava, 2, 0, 1);
    LanguageProfile(g, 0);
    std::string out = cap.text();
    switch (f) {
      case kFormatText:
        EXPECT_TRUE(Has(out,
                        "  *.java     100.0     100.0     100.0         "
                        "100.0      100.0      100.0\n"))
            << out;
        break;
      case kFormatHtml:
        EXPECT_TRUE(Has(out, "  <b>*.java</b>     100.0")) << out;
        break;
      case kFormatCsv:
        EXPECT_TRUE(Has(out, ",*.java,,,100.0,100.0,100.0,100.0,100.0,100.0\n"))
            << out;
        break;
      case kFormatXml:
        EXPECT_TRUE(Has(out, "<lines_percent>100.0</lines_percent>")) << out;
        EXPECT_EQ("", XmlNestingError(out));
        break;
    }
    EXPECT_FALSE(Has(out, "*.c")) << out;
    EXPECT_FALSE(Has(out, "Other")) << out;
  }
}

TEST(LanguageProfile, SharesAndZeroProjectValues) {
  CapturedG cap;
  G& g = cap.g();
  g.opt.csv_flag = 1;
  // No comment lines anywhere: every comment share is 0.0, not a NaN.
  AddFile(g, "a.cs", kTypeCSharp, 30, 0, 1);
  AddFile(g, "b.cpp", kTypeCpp, 10, 0, 3);
  LanguageProfile(g, 0);
  std::string out = cap.text();
  EXPECT_TRUE(Has(out, ",  *.c*,,, 25.0, 25.0, 25.0,  0.0, 75.0, 29.5\n")) << out;
  EXPECT_TRUE(Has(out, ",  *.cs,,, 75.0, 75.0, 75.0,  0.0, 25.0, 70.5\n")) << out;
  // C# comes before Java and after C++ in the profile.
  EXPECT_LT(out.find("*.c*"), out.find("*.cs"));
}

TEST(LanguageSummary, EmptyProjectInEveryFormat) {
  for (ReportFormat f : kFormats) {
    CapturedG cap;
    G& g = cap.g();
    UseFormat(g, f);
    AddFile(g, "never-opened.c", -1, 0);
    LanguageSummary(g);
    std::string out = cap.text();
    EXPECT_TRUE(Has(out, "Total All Languages")) << out;
    EXPECT_FALSE(Has(out, "nan")) << out;
    EXPECT_FALSE(Has(out, "metric/")) << out;  // no average over 0 files
    if (f == kFormatXml) {
      EXPECT_EQ("", XmlNestingError(out));
    }
    if (f == kFormatCsv) {
      EXPECT_TRUE(Has(out, " ,Total All Languages, , ,0,0,0,0,0,0\n")) << out;
    }
  }
}

TEST(LanguageSummary, XmlProfileGoesToTheFileSummaryWhenThereIsOne) {
  CapturedG cap;
  G& g = cap.g();
  UseFormat(g, kFormatXml);
  g.opt.totals_flag = g.opt.totals_language = 1;
  AddFile(g, "a.c", kTypeC, 3);
  LanguageSummary(g);
  EXPECT_TRUE(Has(cap.text(), "Total Language Profile"));

  CapturedG detail;
  G& d = detail.g();
  UseFormat(d, kFormatXml);
  d.opt.totals_flag = d.opt.totals_language = d.opt.totals_detail = 1;
  AddFile(d, "a.c", kTypeC, 3);
  LanguageSummary(d);
  EXPECT_FALSE(Has(detail.text(), "Total Language Profile"));
  FileSummary(d);
  std::string out = detail.text();
  size_t profile = out.find("<language_profile>");
  ASSERT_NE(std::string::npos, profile);
  EXPECT_LT(out.find("</totals>"), profile);
  EXPECT_LT(profile, out.find("<file_counts>"));
  EXPECT_EQ("", XmlNestingError(out));
}

// --- Estimation ---------------------------------------------------------------

void SetFunctions(G& g, int functions, long long loc, long long params,
                  long long returns, long long cyclomatic) {
  FunctionSums& s = g.fn_report.project;
  s.functions = functions;
  s.loc = loc;
  s.eloc = loc / 2;
  s.lloc = loc / 4;
  s.params = params;
  s.returns = returns;
  s.cyclomatic = cyclomatic;
}

TEST(EstimationReport, RatiosAndZeroDivisors) {
  CapturedG cap;
  G& g = cap.g();
  SetFunctions(g, 3, 120, 10, 2, 0);
  EstimationReport(g);
  std::string out = cap.text();
  EXPECT_TRUE(Has(out, "~~ Estimation Analysis ~~"));
  EXPECT_TRUE(Has(out, "  Total Function LOC ....:        120  Total Function "
                       "eLOC ...:         60\n"))
      << out;
  EXPECT_TRUE(Has(out, "Lines of Code, LOC, per Function ...........................:"
                       "      40.00\n"));
  // Interface complexity is parameters plus returns: 120 / 12.
  EXPECT_TRUE(Has(out, "LOC per Function Interface Complexity (Parameters + "
                       "Return) :      10.00\n"));
  // No cyclomatic complexity at all: the ratio prints 0.00.
  EXPECT_TRUE(Has(out, "LOC per Function Cyclomatic Complexity ....................."
                       ":       0.00\n"))
      << out;
  EXPECT_TRUE(Has(out, "  Total Function Complex.:         12\n"));
}

TEST(EstimationReport, NoReturnsPrintsZero) {
  CapturedG cap;
  G& g = cap.g();
  SetFunctions(g, 2, 10, 0, 0, 2);
  EstimationReport(g);
  std::string out = cap.text();
  EXPECT_TRUE(Has(out, "per Function Return State ..............:       0.00\n"));
  EXPECT_TRUE(Has(out, "per Function Input Parameter ...........:       0.00\n"));
  EXPECT_FALSE(Has(out, "inf"));
}

TEST(EstimationReport, NothingWithoutFunctionsAndFourForms) {
  CapturedG none;
  EstimationReport(none.g());
  EXPECT_EQ("", none.text());
  for (ReportFormat f : kFormats) {
    CapturedG cap;
    G& g = cap.g();
    UseFormat(g, f);
    SetFunctions(g, 4, 40, 4, 4, 8);
    EstimationReport(g);
    std::string out = cap.text();
    if (f == kFormatXml) {
      EXPECT_EQ("", XmlNestingError(out));
      EXPECT_TRUE(Has(out, "<per_function>10.00</per_function>")) << out;
    } else if (f == kFormatCsv) {
      EXPECT_TRUE(Has(out, "LOC per Function,10.00\n")) << out;
      EXPECT_TRUE(Has(out, "lLOC per Total Complexity,0.62\n")) << out;
    } else if (f == kFormatHtml) {
      EXPECT_TRUE(Has(out, "  <b>Total Function Complex.</b>:         16\n"))
          << out;
      EXPECT_TRUE(Has(out, "  <b>Lines of Code, LOC, per Function</b> ....."))
          << out;
    }
  }
}

// --- Directory summary --------------------------------------------------------

TEST(DirectorySummary, ListsDirectoriesThatHeldFiles) {
  for (ReportFormat f : kFormats) {
    CapturedG cap;
    G& g = cap.g();
    UseFormat(g, f);
    auto used = std::make_unique<MetricsEntry>();
    used->name = "src/a&b";
    used->functions = 2;  // files
    used->loc = 30;
    used->lines = 44;
    auto unused = std::make_unique<MetricsEntry>();
    unused->name = "empty";
    g.directories.list_append(std::move(used));
    g.directories.list_append(std::move(unused));
    DirectorySummary(g);
    std::string out = cap.text();
    EXPECT_FALSE(Has(out, "empty")) << out;
    switch (f) {
      case kFormatText:
        EXPECT_TRUE(Has(out, "  Files 2 - src/a&b\n  LOC 30 ")) << out;
        break;
      case kFormatHtml:
        EXPECT_TRUE(Has(out, "  <b>Files</b> 2 - src/a&amp;b\n")) << out;
        break;
      case kFormatCsv:
        EXPECT_TRUE(Has(out, "Files,2,src/a&b\nLOC,30,")) << out;
        break;
      case kFormatXml:
        EXPECT_TRUE(Has(out, "<path>src/a&amp;b</path>\n<files>2</files>"));
        EXPECT_EQ("", XmlNestingError(out));
        break;
    }
  }
}

// --- File detail list ---------------------------------------------------------

TEST(FileDetailList, SortedByKeyWithClosingRow) {
  CapturedG cap;
  G& g = cap.g();
  g.opt.complexity_flag = 1;
  FileRecord* a = AddFile(g, "a.c", kTypeC, 10);
  FileRecord* b = AddFile(g, "b.c", kTypeC, 20);
  AddFile(g, "missing.c", -1, 0);
  a->functions = 5;
  a->notices = 1;
  b->functions = 2;
  b->notices = 4;
  a->size = 100;
  b->size = 900;
  a->fp[0] = 0.5;
  b->fp[0] = 1.25;
  g.project_bytes = 1000;
  g.opt.sort_key = 7;  // function count
  FileDetailList(g);
  std::string out = cap.text();
  EXPECT_LT(out.find("File: b.c"), out.find("File: a.c"));
  EXPECT_FALSE(Has(out, "missing.c"));
  // The header of a row carries no rule.
  EXPECT_FALSE(Has(out, "____"));
  size_t total = out.find("\n  Project Total\n");
  ASSERT_NE(std::string::npos, total) << out;
  std::string closing = out.substr(total);
  EXPECT_TRUE(Has(closing, "Funcs 7       Notice 5 ")) << closing;
  EXPECT_TRUE(Has(closing, "  LOC 30 ")) << closing;
  EXPECT_TRUE(Has(closing, "FP(LOC) 1.8 ")) << closing;

  CapturedG by_notices;
  G& n = by_notices.g();
  AddFile(n, "few.c", kTypeC, 1)->notices = 1;
  AddFile(n, "many.c", kTypeC, 1)->notices = 9;
  n.opt.sort_key = 8;
  n.opt.sort_descending = 1;
  FileDetailList(n);
  std::string desc = by_notices.text();
  EXPECT_LT(desc.find("many.c"), desc.find("few.c"));
}

TEST(FileDetailList, XmlRowsAndEmptyProject) {
  CapturedG cap;
  G& g = cap.g();
  UseFormat(g, kFormatXml);
  g.opt.totals_detail = 1;
  FileSummary(g);  // no files at all
  std::string out = cap.text();
  EXPECT_TRUE(Has(out, "<name>File Detail Summary</name>"));
  EXPECT_TRUE(Has(out, "<file_detail_total>\n<name>Project Total</name>"));
  EXPECT_EQ("", XmlNestingError(out));
}

// --- Benchmark ----------------------------------------------------------------

TEST(Benchmark, DayForm) {
  EXPECT_EQ("0:00:00:00", DayForm(0.001));
  EXPECT_EQ("1:02:03:04", DayForm(86400 + 2 * 3600 + 3 * 60 + 4.9));
  EXPECT_EQ("0:00:00:00", DayForm(-5));
}

TEST(Benchmark, RunInsideTheClockResolutionCountsAsOneSecond) {
  CapturedG cap;
  G& g = cap.g();
  g.counters.line_count = 178;
  g.counters.char_count = 3500;
  ProcessTimer t;
  t.Start();
  t.StopAt(t.start);
  EXPECT_DOUBLE_EQ(0.001, t.elapsed);
  WriteBenchmark(g, t);
  std::string out = cap.text();
  EXPECT_TRUE(Has(out, "~~ Performance Benchmark ~~"));
  EXPECT_TRUE(Has(out, "  Elapsed Time   :        0.001 Sec\n"
                       "                 :   0:00:00:00 Day:Hr:Min:Sec\n"));
  EXPECT_TRUE(Has(out, "\n  Time For Processing  : 1.000 s\n"
                       "  Performance Benchmark: 178 Physical Lines Processed/s\n"
                       "                       : 3500 Characters Parsed/s\n\n"))
      << out;
}

TEST(Benchmark, RatesAndForms) {
  for (ReportFormat f : kFormats) {
    CapturedG cap;
    G& g = cap.g();
    UseFormat(g, f);
    g.counters.line_count = 1000;
    g.counters.char_count = 50000;
    ProcessTimer t;
    t.divisor = 1000;
    t.start = 0;
    t.StopAt(2500);  // 2.5 s
    WriteBenchmark(g, t);
    std::string out = cap.text();
    EXPECT_FALSE(Has(out, "Time For Processing")) << out;
    switch (f) {
      case kFormatText:
      case kFormatHtml:
        EXPECT_TRUE(Has(out, "Benchmark: 400 Physical Lines Processed/s\n"));
        EXPECT_TRUE(Has(out, ": 20000 Characters Parsed/s\n"));
        break;
      case kFormatCsv:
        EXPECT_FALSE(Has(out, "A process benchmark"));
        EXPECT_TRUE(Has(out, "Elapsed Time,       2.500,Seconds\n"));
        EXPECT_TRUE(Has(out, "Physical Lines Processed/s,400\n"));
        break;
      case kFormatXml:
        EXPECT_FALSE(Has(out, "A process benchmark"));
        EXPECT_TRUE(Has(out, "<Characters_Processed_per_Second>20000<"));
        EXPECT_EQ("", XmlNestingError(out));
        break;
    }
  }
  // No lines at all: the timer, but no rates.
  CapturedG empty;
  ProcessTimer t;
  t.divisor = 1000;
  t.StopAt(3000);
  WriteBenchmark(empty.g(), t);
  EXPECT_TRUE(Has(empty.text(), "Elapsed Time   :        3.000 Sec"));
  EXPECT_FALSE(Has(empty.text(), "Processed/s"));
}

// --- Wide project sums --------------------------------------------------------

TEST(ProjectSums, PassTheRangeOfInt) {
  auto g = std::make_unique<G>();
  FileCounters file;
  file.char_count = 2000000000;
  file.whitespace_count = 500000000;
  file.loc = 1500000000;
  file.line_count = 1500000000;
  g->totals.Add(file);
  g->totals.Add(file);
  EXPECT_EQ(4000000000LL, g->totals.char_count);
  EXPECT_EQ(3000000000LL, g->totals.loc);
  // The file fields get the sums capped, never wrapped to negative values.
  FileCounters capped = g->totals.Capped();
  EXPECT_EQ(INT_MAX, capped.char_count);
  EXPECT_EQ(1000000000, capped.whitespace_count);
  g->counters = capped;
  ProjectCounters view = ProjectView(*g);
  EXPECT_EQ(4000000000LL, view.char_count);
  EXPECT_EQ(1000000000LL, view.whitespace_count);
  // Without totals (a report of the file fields alone) the fields rule.
  auto bare = std::make_unique<G>();
  bare->counters.loc = 12;
  EXPECT_EQ(12, ProjectView(*bare).loc);
}

TEST(ProjectSums, ProjectReportsPrintTheWideValues) {
  CapturedG cap;
  G& g = cap.g();
  g.opt.report_option_flag = 1;
  FileCounters file;
  file.loc = 1500000000;
  file.line_count = 1600000000;
  file.char_count = 2000000000;
  file.whitespace_count = 1000000000;
  g.totals.Add(file);
  g.totals.Add(file);
  g.counters = g.totals.Capped();
  g.files_processed = 2;
  TotalSummary(g, 1);
  std::string out = cap.text();
  EXPECT_TRUE(Has(out, "  LOC 3000000000  ")) << out;
  EXPECT_TRUE(Has(out, "Lines 3200000000\n")) << out;
  KeywordReport(g, 1);
  out = cap.text();
  EXPECT_TRUE(Has(out, "Characters, Spaces ..: 50.0%, 50.0%\n")) << out;
  EXPECT_TRUE(Has(out, "Lines of Code (LOC) .:   3000000000")) << out;
}

}  // namespace
}  // namespace vek
