// The notice summary list and the quality profile in their four formats.
#include "reports/notice_reports.h"

#include <gtest/gtest.h>

#include <string>

#include "analysis/notice_points.h"
#include "driver/state.h"
#include "reports/capture_test_util.h"
#include "reports/report_test_util.h"

namespace vek {
namespace {

class NoticeReports : public ::testing::Test {
 protected:
  G& g() { return cap_.g(); }
  // Records notices as the single-line emitter does (no format is on, so
  // nothing is written).
  void RecordSome() {
    emit_short_notice(g(), "src/b.c", 9, 30);
    emit_short_notice(g(), "src/a.c", 4, 4);
    emit_short_notice(g(), "src/b.c", 2, 22);
  }
  CapturedG cap_;
};

TEST_F(NoticeReports, ListIsSilentWithoutRecordedNotices) {
  g().notice_totals[3] = 5;  // counted but never recorded
  notice_list_report(g());
  EXPECT_EQ("", cap_.text());
}

TEST_F(NoticeReports, ListTextInRecordedOrder) {
  RecordSome();
  notice_list_report(g());
  EXPECT_EQ("\n  " + std::string(72, '-') + "\n\n" +
                std::string(23, ' ') + "~~ Quality Notice Summary ~~\n" +
                "  Total Quality Notices: 3\n"
                "  b.c - Notice #30: Line 9, TAB character has been identified\n"
                "  a.c - Notice # 4: Line 4, Assignment '=' within 'if' statement\n"
                "  b.c - Notice #22: Line 2, if, else, for or while not bound by scope\n",
            cap_.text());
}

TEST_F(NoticeReports, ListSortedByFileOrByNotice) {
  RecordSome();
  g().opt.sort_key = 1;
  g().opt.notice_visual_flag = 1;
  notice_list_report(g());
  std::string text = cap_.text();
  // By name, equal names keep their order.
  EXPECT_NE(std::string::npos,
            text.find("src/a.c(4) : Notice # 4 - Assignment '=' within 'if' statement\n"
                      "src/b.c(9) : Notice #30 - TAB character has been identified\n"
                      "src/b.c(2) : Notice #22 - if, else, for or while not bound by scope\n"));
  CapturedG desc;
  desc.g().opt.sort_key = 8;
  desc.g().opt.sort_descending = 1;
  desc.g().opt.csv_flag = 1;
  for (int n : {4, 30, 22}) emit_short_notice(desc.g(), "x.c", n, n);
  notice_list_report(desc.g());
  EXPECT_EQ("\nTotal Quality Notices. 3\n\nFilename, Notice, Line, Description\n"
            "x.c, 30, 30, TAB character has been identified\n"
            "x.c, 22, 22, if  else  for or while not bound by scope\n"
            "x.c,  4, 4, Assignment '=' within 'if' statement\n",
            desc.text());
}

TEST_F(NoticeReports, ListXmlAndHtml) {
  g().opt.xml_flag = 1;
  emit_short_notice(g(), "a<b>.c", 3, 27);
  std::string xml = cap_.text();
  notice_list_report(g());
  xml = cap_.text().substr(xml.size());
  EXPECT_EQ("<report>\n<name>Total Quality Notices</name>\n"
            "<notice_count>1</notice_count>\n"
            "<notice>\n<file>a&lt;b&gt;.c</file>\n<type>27</type>\n<line>3</line>\n"
            "<description>Number of function return points &gt; 1</description>\n"
            "</notice>\n</report>\n",
            xml);
  CapturedG html;
  html.g().opt.html_flag = 1;
  emit_short_notice(html.g(), "dir/a&b.c", 3, 26);
  notice_list_report(html.g());
  EXPECT_TRUE(Has(html.text(), "  <a href=\"dir/a%26b.c\" target=\"_blank\">a&amp;b.c</a> - "
                               "<font color=#CC0000><b>Notice</b></font> <b>#26</b>: "
                               "Line <b>3</b>, void * generic type identified\n"))
      << html.text();
  EXPECT_TRUE(Has(html.text(), "~~ Quality Notice Summary ~~"));
}

TEST_F(NoticeReports, ProfileTextWithDensity) {
  g().notice_totals[30] = 3;
  g().notice_totals[4] = 1;
  g().counters.loc = 200;
  g().counters.noneff_brace_lines = 40;  // eLOC 160
  g().counters.semicolon_count = 0;     // no lLOC: its line is left out
  quality_profile_report(g());
  EXPECT_EQ("\n  " + std::string(72, '-') + "\n\n" + std::string(23, ' ') +
                "~~ Project Quality Profile ~~\n\n"
                "  Type  Count Percent  Quality Notice\n"
                "  " + std::string(72, '_') + "\n\n"
                "  4         1   25.00  Assignment '=' within 'if' statement\n"
                "  30        3   75.00  TAB character has been identified\n"
                "  " + std::string(72, '_') + "\n\n"
                "            4  100.00  Total Quality Notices\n\n" +
                std::string(23, ' ') + "~~ Quality Notice Density ~~\n"
                "  Basis: 1000 (K)\n\n"
                "  Quality Notices/K LOC   =       20.0 (  2.00%)\n"
                "  Quality Notices/K eLOC  =       25.0 (  2.50%)\n",
            cap_.text());
}

TEST_F(NoticeReports, ProfileCsvAndXml) {
  g().opt.csv_flag = 1;
  g().notice_totals[58] = 2;
  g().counters.loc = 10;
  g().counters.semicolon_count = 4;
  quality_profile_report(g());
  EXPECT_EQ("\nProject Quality Profile\n\nType,Count,Percent,Quality Notice\n"
            "58,      2,100.00,VEK skip quality notices token match - Quality Notices ignored\n"
            "\n,      2,100.00,Total Quality Notices\n\n"
            "Quality Notice (QN) Density\nBasis,1000,(K)\n,,  %\n"
            "QN/K LOC,200.0,20.00\nQN/K eLOC,200.0,20.00\nQN/K lLOC,500.0,50.00\n",
            cap_.text());
  CapturedG xml;
  xml.g().opt.xml_flag = 1;
  quality_profile_report(xml.g());  // nothing found, no lines
  EXPECT_EQ("<report>\n<name>Project Quality Profile</name>\n"
            "<total_notices>0</total_notices>\n"
            "<notice>\n<type>All</type>\n<count>0</count>\n<percent>100.00</percent>\n"
            "<description>Total Quality Notices</description>\n</notice>\n"
            "<notice_density>\n</notice_density>\n</report>\n",
            xml.text());
  xml.g().notice_totals[1] = 1;
  xml.g().counters.loc = 4;
  quality_profile_report(xml.g());
  EXPECT_EQ("", XmlNestingError(xml.text()));
  EXPECT_TRUE(Has(xml.text(),
                  "<quality_notice_count_per_k_loc>250.0</quality_notice_count_per_k_loc>\n"
                  "<quality_notice_percent_loc>25.00</quality_notice_percent_loc>\n"));
}

TEST_F(NoticeReports, DisabledNoticesStayOutOfTheProfile) {
  g().file.name = "t.c";
  g().cfg.notice_on[9] = 0;
  raise_notice(g(), 9, 1);
  raise_notice(g(), 8, 2);
  quality_profile_report(g());
  EXPECT_FALSE(Has(cap_.text(), "'goto' keyword identified"));
  EXPECT_TRUE(Has(cap_.text(), "  8         1  100.00  'realloc' function identified\n"));
}

}  // namespace
}  // namespace vek
