#include "workfiles/diff_report.h"

#include <gtest/gtest.h>

#include <string>

#include "driver/state.h"
#include "reports/capture_test_util.h"
#include "reports/output.h"
#include "reports/report_test_util.h"
#include "workfiles/workfiles_test_util.h"

namespace vek {
namespace {

class DiffReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteText(older_, WorkHeader("7.75", 1700000000) +
                          "a.c| 1 100 10 8 2 1 13 4 3 0 2 1 \n"
                          "gone.c| 1 100 100 90 0 0 100 50 1 0 0 1 \n"
                          "same.c| 1 100 5 5 0 0 5 2 1 0 0 1 \n");
    WriteText(newer_, WorkHeader("7.75", 1700000000 + 30 * 86400) +
                          "a.c| 2 140 14 12 2 1 17 6 4 1 3 2 \n"
                          "new.c| 2 50 3 3 0 0 3 1 1 0 0 1 \n"
                          "same.c| 2 130 5 5 0 0 5 2 1 0 0 1 \n");
    G& g = captured_.g();
    g.paths.workdiff_cfg_file = dir_ / "vek_workdiff.cfg";
    g.opt.no_header_flag = 1;
  }

  std::string Run(int expected_status = 0) {
    EXPECT_EQ(expected_status, run_metrics_diff(captured_.g(), older_, newer_, 1));
    return captured_.text();
  }

  ScratchDir dir_;
  std::string older_ = dir_ / "old.dat";
  std::string newer_ = dir_ / "new.dat";
  CapturedG captured_;
};

TEST_F(DiffReportTest, RowsSummaryAndTotals) {
  std::string out = Run();
  EXPECT_TRUE(Has(out, "  Mod        4       4       2       0       0       4"
                       "       1       1       1       2       1    50.00 a.c\n"))
      << out;
  EXPECT_TRUE(Has(out, "  Rem     -100     -90     -50       0       0    -100"))
      << out;
  EXPECT_TRUE(Has(out, "  Equ        0       0       0       0       0       0"
                       "       0       0       0       0       0     0.00 same.c\n"));
  // The size of same.c grew by 30 bytes but no count changed.
  EXPECT_TRUE(Has(out, "Older Source Files\n  ---"));
  EXPECT_TRUE(Has(out, "-\n  Files          3\n  LOC          115\n")) << out;
  EXPECT_TRUE(Has(out, "  Time Delta:      2592000 Seconds\n"
                       "                30:00:00:00 Days:Hrs:Min:Sec\n"));
  EXPECT_FALSE(Has(out, "Productivity Estimate"));
  EXPECT_TRUE(Has(out, "Total Metrics Size Differential Percdent"));
  EXPECT_TRUE(Has(out, "  LOC       -80.87 %\n")) << out;
}

TEST_F(DiffReportTest, EmptyConfigurationShowsNoMetricColumns) {
  WriteText(dir_ / "vek_workdiff.cfg", "");
  std::string out = Run();
  EXPECT_TRUE(Has(out, "  State File\n")) << out;
  EXPECT_TRUE(Has(out, "  Mod  a.c\n")) << out;
  EXPECT_TRUE(Has(out, "  Equ        1\n")) << out;  // only the file count
  EXPECT_FALSE(Has(out, "LOC"));
  EXPECT_EQ("", ReadText(dir_ / "vek_workdiff.cfg"));
}

TEST_F(DiffReportTest, ExclusionsHideRowsButTotalsCountEveryFile) {
  Options& o = captured_.g().opt;
  o.skip_new = o.skip_removed = o.skip_equal = o.skip_modified = 1;
  std::string out = Run();
  for (const char* note : {"New files are not processed for this report\n",
                           "Removed files are not processed for this report\n",
                           "Modified files are not processed for this report\n",
                           "Equal files are not processed for this report\n"})
    EXPECT_TRUE(Has(out, note)) << note;
  EXPECT_FALSE(Has(out, " a.c\n"));
  EXPECT_FALSE(Has(out, "  New  "));
  EXPECT_TRUE(Has(out, "Total Metrics Older Source Files\n"
                       "  ------------------------------------------------------------------------\n"
                       "  Files          3\n"));
}

TEST_F(DiffReportTest, TotalsOnlyLeavesOutTheFileRows) {
  captured_.g().opt.totals_workdiff = 1;
  std::string out = Run();
  EXPECT_FALSE(Has(out, "File Metrics Differentials"));
  EXPECT_TRUE(Has(out, "  New        3       3       1"));
}

TEST_F(DiffReportTest, ProductivityWithEnoughManHours) {
  G& g = captured_.g();
  g.opt.show_productivity = 1;
  g.opt.show_basis = 1;
  g.opt.show_glossary = 1;
  std::string out = Run();
  // 30 days are 21.43 work days, 171.43 man hours; LOC changed by -93,
  // eLOC by -83.
  EXPECT_TRUE(Has(out, "      171.43 Man Hours @ 8 Hrs per Shift 1 Shifts per Day\n"));
  EXPECT_TRUE(Has(out, "  Tot       -1      -0")) << out;
  EXPECT_TRUE(Has(out, "Per Man Year\n"));
  EXPECT_TRUE(Has(out, "  Work Hours per Man Year : 1960\n"));
  EXPECT_TRUE(Has(out, "  Quality   - Number of Quanity Notices\n"));
}

TEST_F(DiffReportTest, EveryFormatStaysParsable) {
  G& g = captured_.g();
  g.opt.xml_flag = 1;
  g.opt.show_productivity = g.opt.show_basis = g.opt.show_glossary = 1;
  WriteText(newer_, WorkHeader("6.0", 1700000000 + 30 * 86400) +
                        "a<&>'\".c| 2 140 14 12 2 1 17 6 4 1 3 2 \n");
  Run();
  write_trailer(g);  // the caller's part: closes the root element
  std::string out = captured_.text();
  EXPECT_EQ("", XmlNestingError(out)) << out;
  EXPECT_TRUE(Has(out, "<warning>Work file version does not match"));
  EXPECT_TRUE(Has(out, "<file>a&lt;&amp;&gt;&apos;&quot;.c</file>"));
  EXPECT_TRUE(Has(out, "<totals_man_hour>\n<loc>"));
}

TEST_F(DiffReportTest, CsvRowsKeepTheirColumns) {
  captured_.g().opt.csv_flag = 1;
  WriteText(newer_, WorkHeader() + "x, y.c| 2 140 14 12 2 1 17 6 4 1 3 2 \n");
  std::string out = Run();
  EXPECT_TRUE(Has(out, "State,LOC,eLOC,lLOC,Comment,Blanks,Lines,Fcount,Cyclo,"
                       "Inter,Complex,Quality,eLOC%,File\n"));
  EXPECT_TRUE(Has(out, "New,     14,     12,      6,      2,      1,     17,"
                       "      2,      4,      3,      7,      1,  100.00,x  y.c\n"))
      << out;
}

TEST_F(DiffReportTest, DifferentDifferentialSettingsStopTheRun) {
  WriteText(newer_, WorkHeader("7.75", 1700000000, 0, 1));
  std::string out = Run(1);
  EXPECT_TRUE(Has(out, "Older Work File: Ignore Blank Lines - Yes\n"
                       "         Newer Work File: Ignore Blank Lines - No\n"));
  EXPECT_FALSE(Has(out, "Total Metrics"));
}

TEST_F(DiffReportTest, UnloadableWorkFileGivesZeroTotalsAndStatusOne) {
  WriteText(older_, "not a work file\n");
  std::string out = Run(1);
  EXPECT_TRUE(Has(out, "Error: Failed to load work file, " + older_));
  EXPECT_TRUE(Has(out, "  Files          0\n"));
  EXPECT_FALSE(Has(out, "File Metrics Differentials"));
  EXPECT_EQ("not a work file\n", ReadText(older_));
}

TEST_F(DiffReportTest, NegativeTimeDeltaIsOnlyAWarning) {
  std::swap(older_, newer_);
  std::string out = Run();
  EXPECT_TRUE(Has(out, "Warning: The older work file was created after the present"));
  EXPECT_TRUE(Has(out, "-30:00:00:00 Days:Hrs:Min:Sec"));
}

TEST(ReportConfig, ShowsEveryItemOnOrOff) {
  ScratchDir dir;
  CapturedG captured;
  G& g = captured.g();
  g.opt.report_cfg_file = dir / "report.cfg";
  WriteText(g.opt.report_cfg_file, "FILE_NAME ON\nLOC_COUNT off\n");
  show_report_config(g);
  std::string out = captured.text();
  EXPECT_TRUE(Has(out, "# VEK CSV file metrics\n#\n"));
  EXPECT_TRUE(Has(out, "#     vek -X \"File CSV my_metrics.cfg\" -O my_metrics.csv\n#\n"));
  EXPECT_TRUE(Has(out, "FILE_NAME                               : On\n"
                       "LOC_COUNT                               : Off\n"));
  EXPECT_TRUE(Has(out, "ELOC_PERCENT_DIFF                       : Off\n"
                       "# End of report configuration\n"));
  EXPECT_FALSE(Has(out, "UNKNOWN_DATA_FIELD"));
}

}  // namespace
}  // namespace vek
