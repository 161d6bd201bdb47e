#include "reports/keyword_report.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "driver/state.h"
#include "reports/capture_test_util.h"
#include "reports/output.h"
#include "reports/report_test_util.h"

namespace vek {
namespace {

// A file whose every count is different, so a value in the wrong place
// shows.
void FillCounters(FileCounters& c) {
  c.loc = 120, c.noneff_brace_lines = 15, c.noneff_paren_lines = 5;  // eLOC 100
  c.semicolon_count = 90, c.for_count = 10, c.for_headers = 10;     // lLOC 80
  c.blank_lines = 30, c.comment_lines = 50;  // 200 logical lines
  c.line_count = 190, c.char_count = 5000, c.whitespace_count = 1000;
  c.literal_strings = 11, c.continuation_lines = 12, c.preprocessor_count = 13;
  c.include_count = 14, c.import_count = 16, c.define_count = 17;
  c.typedef_count = 18, c.const_count = 19, c.enum_count = 20, c.do_count = 21;
  c.while_count = 22, c.switch_count = 23, c.default_count = 24;
  c.case_count = 25, c.break_count = 26, c.if_count = 27, c.else_count = 28;
  c.goto_count = 29, c.return_count = 31, c.exit_count = 32;
  c.exit_underscore_count = 3, c.abort_count = 4, c.macro_count = 33;
  c.struct_count = 6, c.union_count = 7, c.class_count = 34;
  c.interface_count = 35, c.template_count = 36, c.friend_count = 37;
  c.namespace_count = 38, c.package_count = 39, c.function_count = 40;
  c.virtual_count = 8, c.inline_count = 9, c.alloc_count = 41;
  c.free_count = 42, c.new_count = 43, c.delete_count = 44;
  c.open_paren = 45, c.close_paren = 46, c.open_brace = 47, c.close_brace = 48;
  c.open_bracket = 49, c.close_bracket = 50, c.notice_count = 51;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Centred(const std::string& title) {
  return std::string(37 - title.size() / 2, ' ') + title + "\n";
}

TEST(KeywordReport, TextLayout) {
  CapturedG cap;
  FillCounters(cap.g().counters);
  KeywordReport(cap.g(), 0);
  const std::string expected =
      std::string("\n  ") + kHyphens36 + kHyphens36 + "\n\n" +
      Centred("~~ File Keywords and Metrics ~~") + "\n" +
      "  --------------- LOC ---------------  case, break .........:    25,    26\n"
      "  Lines of Code (LOC) .:          120  if, else ............:    27,    28\n"
      "  Lines of just { or } :           15  goto, return ........:    29,    31\n"
      "  Lines of just (or)   :            5  exit, _exit, abort ..:    32,  3, 4\n"
      "  Effective LOC (eLOC) :          100  macros, struct, union:    33,  6, 7\n"
      "  Code Statement (lLOC):           80  class, interface ....:    34,    35\n"
      "  -------------- Lines --------------  template, friend ....:    36,    37\n"
      "  Blank Lines .........:           30  namespace, package ..:    38,    39\n"
      "  Comment Lines .......:           50  func, virtual, inline:    40,  8, 9\n"
      "  Total Logical Lines .:          200  Memory alloc, free ..:    41,    42\n"
      "  Total Physical Lines :          190  Memory new, delete ..:    43,    44\n"
      "  ------------ Key Words ------------  ------------- Analysis ------------\n"
      "  Literal Strings .....:           11  Continuation Lines \\.:           12\n"
      "  Preprocessor Lines #.:           13  Paren Count (,) .....:    45,    46\n"
      "  #include, import ....:     14,   16  Brace Count {,} .....:    47,    48\n"
      "  #define, typedef ....:     17,   18  Bracket Count [,] ...:    49,    50\n"
      "  const, enum .........:     19,   20  Chars/NBLine, Notices:    31,    51\n"
      "  do, while ...........:     21,   22  Code, eCode Lines ...: 60.0%, 50.0%\n"
      "  switch, default .....:     23,   24  Comment, Blank Lines : 25.0%, 15.0%\n"
      "  for .................:           10  Characters, Spaces ..: 80.0%, 20.0%\n";
  EXPECT_EQ(expected, cap.text());

  CapturedG csv;  // CSV output has no form of its own
  FillCounters(csv.g().counters);
  csv.g().opt.csv_flag = 1;
  KeywordReport(csv.g(), 0);
  EXPECT_EQ(expected, csv.text());
}

TEST(KeywordReport, SharesNeverDivideByZeroOrGoNegative) {
  CapturedG empty;
  KeywordReport(empty.g(), 0);
  EXPECT_TRUE(Has(empty.text(), "Chars/NBLine, Notices:     0,     0\n"
                                "  do, while"));
  EXPECT_TRUE(Has(empty.text(), "Code, eCode Lines ...:  0.0%,  0.0%\n"));
  // XML prints these shares of no logical lines as a plain 0.
  empty.g().opt.xml_flag = 1;
  KeywordReport(empty.g(), 0);
  EXPECT_TRUE(Has(empty.text(), "<name>File Verbose Metrics</name>\n"));
  EXPECT_TRUE(Has(empty.text(), "<blank_line_percentage_logical_lines>0<"));

  // Tabs count their full width as white space, which can pass the
  // character count.
  CapturedG tabs;
  tabs.g().counters.char_count = 4;
  tabs.g().counters.whitespace_count = 16;
  KeywordReport(tabs.g(), 0);
  EXPECT_TRUE(Has(tabs.text(), "Characters, Spaces ..:  0.0%,400.0%\n"));
}

TEST(KeywordReport, HtmlBoldLabelsAndColouredHeads) {
  CapturedG cap;
  cap.g().opt.html_flag = 1;
  FillCounters(cap.g().counters);
  KeywordReport(cap.g(), 0);
  std::string out = cap.text();
  EXPECT_TRUE(Has(out, "\">--------------- LOC ---------------</font></b>"
                       "  <b>case, break</b> .........:    25,    26\n"
                       "  <b>Lines of Code (LOC)</b> .:          120"
                       "  <b>if, else</b> ............:    27,    28\n"));
  EXPECT_TRUE(Has(out, "  <b>Continuation Lines \\</b>.:           12\n"));
}

TEST(KeywordReport, XmlElementsInOrder) {
  CapturedG cap;
  cap.g().opt.xml_flag = 1;
  FillCounters(cap.g().counters);
  KeywordReport(cap.g(), 1);
  std::string out = cap.text();
  EXPECT_EQ("", XmlNestingError(out));
  std::vector<std::string> lines = Lines(out);
  ASSERT_EQ(65u, lines.size());  // report, name, 62 values, end of report
  EXPECT_EQ("<name>Total Verbose Metrics</name>", lines[1]);
  EXPECT_EQ("<loc_percent_logical_lines>60.0</loc_percent_logical_lines>",
            lines[11]);
  EXPECT_EQ("<chars_per_nonblank_line>31</chars_per_nonblank_line>", lines[15]);
  EXPECT_EQ("<_exit_count>3</_exit_count>", lines[59]);
  EXPECT_EQ("<quality_notice_count>51</quality_notice_count>", lines[63]);
}

TEST(KeywordReportMemory, TwoCountsToALine) {
  CapturedG none;
  none.g().counters.loc = 10;
  MemorySummary(none.g());
  EXPECT_EQ("", none.text());

  CapturedG cap;
  FileCounters& c = cap.g().counters;
  c.alloc_count = 3, c.free_count = 2, c.delete_count = 1;
  MemorySummary(cap.g());
  EXPECT_EQ(std::string("\n  ") + kHyphens36 + kHyphens36 + "\n\n" +
                Centred("~~ Memory Allocation/De-allocation Summary ~~") +
                "\n  Memory alloc count ....:          3"
                "  Memory free count .....:          2\n"
                "  Memory new count ......:          0"
                "  Memory delete count ...:          1\n",
            cap.text());
}

TEST(KeywordReportMemory, XmlStaysWellFormed) {
  CapturedG xml;
  xml.g().opt.xml_flag = 1;
  xml.g().counters.new_count = 2;
  MemorySummary(xml.g());
  EXPECT_EQ("", XmlNestingError(xml.text()));
  EXPECT_TRUE(Has(xml.text(), "<memory_new_count>2</memory_new_count>\n"));
}

}  // namespace
}  // namespace vek
