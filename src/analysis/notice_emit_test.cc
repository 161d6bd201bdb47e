// The emission of the quality notices: which notices are counted and
// written, their long and single-line forms, the recorded-notice list, the
// running balance check and the end-of-file checks.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "analysis/notice_messages.h"
#include "analysis/notice_points.h"
#include "analysis/scan_test_util.h"
#include "driver/run.h"
#include "driver/state.h"

namespace vek {
namespace {

class NoticeTest : public ScanTest {
 protected:
  NoticeTest() {
    g().file.name = "t.c";
    g().opt.notice_flag = 1;
  }
  int Count(int n) { return g().notice_totals[n]; }
  std::string Line(size_t n) { return std::string(n, 'x') + ";\n"; }
};

using NoticeEmission = NoticeTest;

TEST_F(NoticeEmission, LineLengthBoundary) {
  Feed(Line(79));  // 80 characters: at the limit
  EXPECT_EQ(0, k().notice_count);
  EXPECT_EQ("", out());
  Feed(Line(80));
  EXPECT_EQ(1, Count(1));
  EXPECT_EQ(
      "\n    Notice #1: Line 2: Line character length = 81.  This width\n"
      "           exceeds the standard terminal width of 80 characters.\n",
      out());
}

TEST_F(NoticeEmission, DisabledNoticeIsNeitherCountedNorWritten) {
  g().cfg.notice_on[30] = 0;
  Feed("\tint a;\n");
  EXPECT_EQ(1, Raised(30));  // the scan still finds it
  EXPECT_EQ(0, k().notice_count);
  EXPECT_EQ(0, g().notice_count);
  EXPECT_EQ(0, Count(30));
  EXPECT_EQ("", out());
}

TEST_F(NoticeEmission, CountedWithoutNoticesButNotWritten) {
  g().opt.notice_flag = 0;
  Feed("\tint a;\n");
  EXPECT_EQ(1, k().notice_count);
  EXPECT_EQ(1, g().notice_count);
  EXPECT_EQ(1, Count(30));
  EXPECT_EQ("", out());
  EXPECT_TRUE(g().recorded_notices.empty());
}

TEST_F(NoticeEmission, SkipQualityRegionSuppressesAllButNotice58) {
  g().cfg.notice_on[57] = 1;
  g().cfg.notice_on[58] = 1;
  g().file.skip_quality_flag = 1;
  Feed("\tint a = 5;\n");
  raise_notice(g(), 57, 1);
  EXPECT_EQ(0, k().notice_count);
  EXPECT_EQ("", out());
  raise_notice(g(), 58, 2);
  EXPECT_EQ(1, k().notice_count);
  EXPECT_EQ(1, Count(58));
  EXPECT_EQ(
      "\n    Notice #58: Line 2, A VEK skip quality notice token match.\n"
      "           All lines between the begin and end tokens will be ignored\n"
      "           for VEK quality notice processing.\n",
      out());
  g().cfg.notice_on[58] = 0;
  raise_notice(g(), 58, 3);
  EXPECT_EQ(1, k().notice_count);
}

TEST_F(NoticeEmission, TotalsModeCountsAndCollectsOnly) {
  g().opt.totals_flag = 1;
  Feed("int *p = 0;\nvoid *q;\n");
  EXPECT_EQ(1, k().notice_count);
  EXPECT_EQ("", out());
  EXPECT_TRUE(g().recorded_notices.empty());
  g().opt.notice_collect_flag = 1;
  Feed("void *r;\n");
  EXPECT_EQ("", out());  // collected, not written: no single-line format
  ASSERT_EQ(1u, g().recorded_notices.size());
  const RecordedNotice& e = g().recorded_notices[0];
  EXPECT_EQ("t.c", g().notice_files[e.file]);
  EXPECT_EQ(26, e.number);
  EXPECT_EQ(3, e.line);
}

TEST_F(NoticeEmission, ReorderedAndHtmlLongForms) {
  g().cfg.reorder_notice = 1;
  Feed("void *p;\n");
  EXPECT_EQ(
      "\n    Line 1: Notice #26: The type 'void *' has been identified.\n"
      "           This data type is type independent, whereby it\n"
      "           prevents the compiler from checking the types\n"
      "           of variables and parameters.\n",
      out());
  NoticeArgs a;
  a.v[0] = 9;
  a.v[1] = 7;
  EXPECT_EQ(
      "\n    Line 4: Notice #55:\n"
      "           The depth of scope '9' exceeds the notice limit of 7.\n",
      long_notice_message(55, 4, "t.c", a, kNoticeReordered, g()));
  EXPECT_EQ(
      "\n    Notice #55: Line 4\n"
      "           The depth of scope '9' exceeds the notice limit of 7.\n",
      long_notice_message(55, 4, "t.c", a, kNoticePlain, g()));
  EXPECT_EQ(
      "\n    <font color=\"#CC0000\"><b>Notice</b></font> #48: <b>Line 4</b>: "
      "The number of logical lines of code or statements\n"
      "           9 is &lt;= to the specified minimum of 7.  This could\n"
      "           indicate a null function with no operational purpose.\n",
      long_notice_message(48, 4, "t.c", a, kNoticeHtml, g()));
}

TEST_F(NoticeEmission, FileNamingNoticesPutTheFileFirst) {
  EXPECT_EQ(
      "\n    Notice #45: File a&b.cpp: Line 12\n"
      "           New and delete counts do not match for this file.\n"
      "           This could indicate the potential for a memory leak.\n",
      long_notice_message(45, 12, "a&b.cpp", NoticeArgs(), kNoticePlain, g()));
  EXPECT_EQ(
      "\n    File a&b.cpp: Line 12: Notice #45\n"
      "           New and delete counts do not match for this file.\n"
      "           This could indicate the potential for a memory leak.\n",
      long_notice_message(45, 12, "a&b.cpp", NoticeArgs(), kNoticeReordered,
                          g()));
  EXPECT_NE(std::string::npos,
            long_notice_message(45, 12, "a&b.cpp", NoticeArgs(), kNoticeHtml, g())
                .find("<b>File</b> a&amp;b.cpp: <b>Line 12</b>\n"));
  NoticeArgs tree;
  tree.text = "Derived";
  EXPECT_EQ(
      "\n    Notice #42: File x.h: Line 3\n"
      "           Class multiple inheritance has been identified for class Derived.\n"
      "           Multiple inheritance should be driven by the design and\n"
      "           never imposed as an ad-hoc solution in implementation.\n"
      "           Unexpected object behavior may result and maintenance may\n"
      "           be difficult.\n",
      long_notice_message(42, 3, "x.h", tree, kNoticePlain, g()));
  tree.v[0] = 0;  // no limit given: the configured one
  EXPECT_NE(std::string::npos,
            long_notice_message(40, 3, "x.h", tree, kNoticePlain, g())
                .find("maximum value, 4.  This"));
}

TEST_F(NoticeEmission, TypeAndFunctionVariants) {
  NoticeArgs a;
  a.p[0] = 4.25;
  a.p[1] = 10.0;
  EXPECT_EQ("\n    Notice #16: Function white space, 4.2% is less than 10.0%.\n",
            long_notice_message(16, 9, "t.c", a, kNoticePlain, g()));
  EXPECT_EQ("\n    Notice #46: Function blank line percent, 4.2% is less than 10.0%.\n",
            long_notice_message(46, 9, "t.c", a, kNoticePlain, g()));
  a.text = "Struct";
  EXPECT_EQ("\n    Notice #16: Struct white space, 4.2% is less than 10.0%.\n",
            long_notice_message(16, 9, "t.c", a, kNoticePlain, g()));
  EXPECT_EQ("\n    Notice #31: Struct comments, 4.2% are less than 10.0%.\n",
            long_notice_message(31, 9, "t.c", a, kNoticePlain, g()));
  EXPECT_EQ("\n    Line 9: Notice #46: Struct blank line percent, 4.2% is less than 10.0%.\n",
            long_notice_message(46, 9, "t.c", a, kNoticeReordered, g()));
  NoticeArgs word;
  EXPECT_NE(std::string::npos,
            long_notice_message(53, 2, "t.c", word, kNoticePlain, g())
                .find("\n    Notice #53: Line 2, A struct has been identified"));
  word.text = "interface";
  EXPECT_NE(std::string::npos,
            long_notice_message(54, 2, "t.c", word, kNoticePlain, g())
                .find("A interface has been identified which does not\n"));
  NoticeArgs methods;
  methods.text = "Class";
  EXPECT_EQ(
      "\n    Notice #39: Line 5: The Number of Class methods exceeds the specified\n"
      "           maximum of 100 methods (public, protected and private).\n",
      long_notice_message(39, 5, "t.c", methods, kNoticePlain, g()));
}

TEST_F(NoticeEmission, MacroFormsOfPrefixOperators) {
  Feed("#define INC(x) (++x)\n");
  EXPECT_EQ(
      "\n    Notice #7: Line 1, a pre-increment '++ operator' identified\n"
      "           within a MACRO.  This syntax is non-portable and is\n"
      "           NOT recommended within macro definitions.\n",
      out());
  Feed("int f(int x) { return --x; }\n");
  EXPECT_NE(std::string::npos,
            out().find("\n    Notice #6: Line 2, pre-decrement '-- operator' identified.\n"
                       "           This can be a problematic construct in compound statements.\n"));
}

TEST_F(NoticeEmission, SingleLineForms) {
  g().opt.notice_single_flag = 1;
  Feed("void *p;\n");
  EXPECT_EQ("  Notice #  26: Line    1, void * generic type identified\n", out());
  g().cfg.reorder_notice = 1;
  Feed("void *q;\n");
  EXPECT_NE(std::string::npos,
            out().find("  Line    2: Notice #  26: void * generic type identified\n"));
  g().opt.notice_visual_flag = 1;
  Feed("void *r;\n");
  EXPECT_NE(std::string::npos,
            out().find("t.c(3) : Notice #26   - void * generic type identified\n"));
  EXPECT_EQ(3u, g().recorded_notices.size());
  EXPECT_EQ(1u, g().notice_files.size());  // one name for the file's notices
  EXPECT_EQ(3, Count(26));
}

TEST_F(NoticeEmission, SingleLineHtmlAndXml) {
  g().opt.notice_single_flag = 1;
  g().opt.html_flag = 1;
  emit_short_notice(g(), "t.c", 7, 27);
  EXPECT_EQ("  <font color=#CC0000><b>Notice</b></font> <b>#  27</b>: Line <b>7</b>, "
            "Number of function return points &gt; 1\n",
            out());
  CapturedG x;
  x.g().opt.notice_single_flag = 1;
  x.g().opt.xml_flag = 1;
  emit_short_notice(x.g(), "t.c", 7, 27);
  EXPECT_EQ("<notice>\n<type>27</type>\n<line>7</line><description>"
            "Number of function return points &gt; 1</description>\n</notice>\n",
            x.text());
  x.g().opt.no_file_names = 1;
  emit_short_notice(x.g(), "t.c", 8, 27);
  EXPECT_EQ(2u, x.g().recorded_notices.size());  // recorded, not written
  EXPECT_EQ(std::string::npos, x.text().find("<line>8</line>"));
}

TEST_F(NoticeEmission, ScopeNoticeShortFormNamesTheKeyword) {
  g().opt.function_flag = 1;
  g().opt.notice_single_flag = 1;
  Feed("int f(int a)\n{\n  while (a)\n    a--;\n  return a;\n}\n");
  EXPECT_NE(std::string::npos,
            out().find("  Notice #  22: Line    3, 'while' is not bound with scope braces {}\n"));
  g().opt.notice_visual_flag = 1;
  emit_short_notice(g(), "t.c", 3, 22, "for");
  EXPECT_NE(std::string::npos,
            out().find("t.c(3) : Notice #22   - 'for' is not bound with scope braces {}\n"));
  ASSERT_EQ(3u, g().recorded_notices.size());
  EXPECT_EQ(3, g().recorded_notices[0].line);
}

TEST_F(NoticeEmission, HugeAndZeroThresholdsFormatSafely) {
  NoticeArgs a;
  a.p[0] = 1e300;
  a.p[1] = -1e300;
  a.text = std::string_view("N", 1);
  std::string m = long_notice_message(19, 1, "t.c", a, kNoticePlain, g());
  EXPECT_GT(m.size(), 300u);
  EXPECT_EQ('\n', m.back());
  g().cfg.max_line_length = 0;
  g().cfg.max_scope_depth = 0;
  g().cfg.max_function_eloc = 0;
  g().cfg.min_function_lloc = INT_MAX;
  g().cfg.min_function_comment = 1e300;
  g().opt.function_flag = 1;
  Feed("void f(void)\n{\n  { x(); }\n}\n");
  EXPECT_EQ(4, Count(1));
  EXPECT_EQ(1, Count(55));
  EXPECT_EQ(1, Count(18));
  EXPECT_EQ(1, Count(48));
  EXPECT_EQ(1, Count(17));
  g().cfg.max_line_length = INT_MAX;
  Feed(Line(3000));
  EXPECT_EQ(4, Count(1));
}

TEST_F(NoticeEmission, ExitStatusCarriesTheCountOnlyWhenReported) {
  g().notice_count = 12;
  EXPECT_EQ(12, exit_status(g()));
  g().notice_count = 300;
  EXPECT_EQ(254, exit_status(g()));  // never wraps, stays below 255
  g().opt.notice_flag = 0;
  EXPECT_EQ(0, exit_status(g()));
  g().opt.totals_flag = 1;  // -X and the work file modes: no notice report
  EXPECT_EQ(0, exit_status(g()));
  g().opt.udqn_show_flag = 1;
  EXPECT_EQ(254, exit_status(g()));
}

// --- Function-end notices and their boundaries ---------------------------

class FunctionNotices : public NoticeTest {
 protected:
  FunctionNotices() {
    g().opt.function_flag = 1;
    g().opt.notice_flag = 0;
    // Only the notice under test should count.
    for (int n = 1; n <= kNoticeCount; ++n) g().cfg.notice_on[n] = 0;
  }
  void Only(int n) { g().cfg.notice_on[n] = 1; }
};

TEST_F(FunctionNotices, ThresholdsAreExceededNotReached) {
  for (int n : {18, 27, 28, 29, 55}) Only(n);
  Config& c = g().cfg;
  c.max_function_eloc = 4;
  c.max_return_points = 2;
  c.max_cyclomatic = 3;
  c.max_interface = 2;
  c.max_scope_depth = 3;
  // eLOC 4, 2 returns, cyclomatic 3, 2 parameters, depth 3: all at the limit.
  Feed("int f(int a, int b) {\n  if (a) { if (b) {\n    return 1; } }\n"
       "  return 0; }\n");
  EXPECT_EQ(0, k().notice_count);
  Feed("int g(int a, int b, int c) {\n  if (a) { if (b) { if (c) {\n"
       "    return 1; } } }\n  if (c) return 2;\n  return 0; }\n");
  EXPECT_EQ(1, Count(18));
  EXPECT_EQ(1, Count(27));
  EXPECT_EQ(1, Count(28));
  EXPECT_EQ(1, Count(29));
  EXPECT_EQ(1, Count(55));
}

TEST_F(FunctionNotices, OldStyleParameterDeclarationsRaise10) {
  Only(10);
  Feed("int ansi(int a)\n{\n  return a;\n}\n");
  EXPECT_EQ(0, Count(10));
  Feed("int old(a, b)\n  int a;\n  int b;\n{\n  return a + b;\n}\n");
  EXPECT_EQ(1, Count(10));
}

TEST_F(FunctionNotices, MessagesCarryTheirValues) {
  g().opt.notice_flag = 1;
  for (int n : {2, 27, 29}) Only(n);
  g().cfg.max_function_name_length = 5;
  g().cfg.max_interface = 1;
  g().cfg.max_return_points = 1;
  Feed("int Shape::longname(int a, int b) {\n  if (a) return b;\n  return a;\n}\n");
  EXPECT_EQ(
      "\n    Notice #2: Line 4: The function name:\n"
      "           Shape::longname\n"
      "           of 8 characters is greater than 5 characters in length.\n"
      "           This can be a portability and/or maintenance issue.\n"
      "\n    Notice #27: Line 4: The number of function return points\n"
      "           2 exceeds the specified limit of 1.\n"
      "\n    Notice #29: Line 4: The number of function input parameters,\n"
      "           2 exceeds the specified limit of 1.\n",
      out().substr(out().find("\n    Notice #2"),
                   out().rfind("\n  Function: ") - out().find("\n    Notice #2")));
}

TEST_F(FunctionNotices, NonOperationalFunctionBoundary) {
  Only(48);
  g().cfg.min_function_lloc = 1;
  Feed("void f(void) { a(); b(); }\n");
  EXPECT_EQ(0, Count(48));
  Feed("void g(void) { a(); }\n");
  EXPECT_EQ(1, Count(48));
}

TEST_F(FunctionNotices, CaseBreakComparisonFollowsTheDefaultSetting) {
  Only(14);
  const std::string body =
      "void f(int a)\n{\n  switch (a) {\n  case 1: case 2: break;\n"
      "  default: break;\n  }\n}\n";
  g().cfg.default_in_case_break = 0;
  Feed(body);
  EXPECT_EQ(0, Count(14));  // 2 breaks against 2 cases
  g().cfg.default_in_case_break = 1;
  g().opt.notice_flag = 1;
  Feed(body);
  EXPECT_EQ(1, Count(14));  // 2 breaks against 2 cases + 1 default
  EXPECT_NE(std::string::npos,
            out().find("           case : 2     default: 1                  Total 3   \n"
                       "           break: 2     fall through comment: 0     Total 2   \n"));
}

TEST_F(FunctionNotices, FallThroughCommentsCountAsBreaks) {
  Only(14);
  Feed("void f(int a)\n{\n  switch (a) {\n  case 1: x(); /* fall thru */\n"
       "  case 2: break;\n  }\n}\n");
  EXPECT_EQ(0, Count(14));
}

TEST_F(FunctionNotices, ContentAnalysisNeedsMoreLocThanTheMinimum) {
  for (int n : {16, 17, 46}) Only(n);
  g().cfg.min_function_loc_content = 3;
  // 3 LOC, no comments, no blank lines, little white space: too small.
  Feed("int f(int a)\n{\na=a+1;\nreturn a;}\n");
  EXPECT_EQ(0, k().notice_count);
  Feed("int g(int a)\n{\na=a+1;\na=a+2;\nreturn a;}\n");
  EXPECT_EQ(1, Count(16));
  EXPECT_EQ(1, Count(17));
  EXPECT_EQ(1, Count(46));
}

TEST_F(FunctionNotices, ZeroLiteralSetting) {
  Only(50);
  Feed("int f(void)\n{\n  int a = 0;\n  a = 0x00;\n  return a;\n}\n");
  EXPECT_EQ(0, Count(50));
  g().cfg.zero_literal = 1;
  Feed("int g(void)\n{\n  int a = 0;\n  return a;\n}\n");
  EXPECT_EQ(1, Count(50));
}

// --- The scope check of notice #22 ---------------------------------------

class ScopeNotice : public NoticeTest {
 protected:
  ScopeNotice() {
    g().opt.function_flag = 1;
    g().opt.notice_flag = 0;
  }
  // The lines #22 was counted for (the keyword's lines).
  std::vector<int> Counted() {
    std::vector<int> lines;
    for (const auto& [n, line] : trace_)
      if (n == 22) lines.push_back(line);
    return lines;
  }
  void Body(const std::string& code) {
    Feed("void f(int a)\n{\n" + code + "}\n");
  }
};

TEST_F(ScopeNotice, BracedContentSatisfiesTheCheck) {
  Body("  if (a) {\n  }\n  if (g(a))\n  {\n  }\n  while (a) { a--; }\n"
       "  for (;;)\n  {\n  }\n  do {\n  } while (a);\n  if (a) {\n  } else {\n  }\n"
       "  if (a) {\n  }\n  else\n  {\n  }\n  if (a) {\n  } else\n    if (a) {\n  }\n"
       "  do\n  {\n  } while (a);\n");
  EXPECT_EQ(std::vector<int>{}, Counted());
  EXPECT_EQ(0, Count(22));
}

TEST_F(ScopeNotice, UnbracedContentRaisesAtTheKeywordLine) {
  Body("  if (a) a--;\n"        // 3
       "  while (a)\n"          // 4
       "    a--;\n"
       "  for (;;) break;\n"    // 6
       "  do a--; while (a);\n" // 7
       "  if (a) {\n  }\n  else a++;\n");  // 10
  EXPECT_EQ((std::vector<int>{3, 4, 6, 7, 10}), Counted());
  EXPECT_EQ(5, Count(22));
}

TEST_F(ScopeNotice, UndecidedCases) {
  // A while ending a do-while; a condition over two lines; a content line
  // with open parentheses; a directive between keyword and content.
  Body("  do {\n  } while (a);\n  if (a &&\n      a > 1) {\n  }\n"
       "  if (a)\n    g(a,\n      a);\n  if (a)\n#ifdef X\n  {\n#endif\n  }\n");
  EXPECT_EQ(std::vector<int>{}, Counted());
}

TEST_F(ScopeNotice, OnlyInsideFunctionBodiesAndWithFunctionAnalysis) {
  Feed("#define LOOP(x) for (;;) x\nint a[] = { 1 };\n");
  EXPECT_EQ(0, Count(22));
  g().opt.function_flag = 0;
  Body("  if (a) a--;\n");
  EXPECT_EQ(0, Count(22));
}

TEST_F(ScopeNotice, LongFormNamesTheKeywordTwice) {
  g().opt.notice_flag = 1;
  for (int n = 1; n <= kNoticeCount; ++n) g().cfg.notice_on[n] = n == 22;
  Body("  foreach (var x in y)\n    a++;\n");
  EXPECT_EQ(
      "\n    Notice #22: Line 3: The keyword, 'foreach', appears not to be delimited\n"
      "           with scope { .. } operators around its content.  This\n"
      "           could cause a maintenance problem where code falls outside\n"
      "           the intended scope of the 'foreach' statement.\n",
      out().substr(out().find("\n    Notice"),
                   out().rfind("\n  Function: f") - out().find("\n    Notice")));
}

// --- Running balance checks and the end of a file ------------------------

using BalanceNotice = NoticeTest;

TEST_F(BalanceNotice, StrayBraceAndParenthesis) {
  Feed("}\nint a = (1));\n");
  EXPECT_EQ(2, Count(12));
  EXPECT_EQ(2, k().notice_count);
  EXPECT_EQ(
      "\n    Notice: #12\n           File: t.c\n           Line: 1\n"
      "           Brace scope is not balanced.  This may indicate the\n"
      "           use of conditional compilation, #ifdef.  VEK processes\n"
      "           all source code where bracing and parenthesis\n"
      "           counts in the file must be equal and well formed.  Brace\n"
      "           and paren counts are now forced to an equal state.  Suggest the\n"
      "           file be restructured to a more formal state.\n\n"
      "\n    Notice: #12\n           File: t.c\n           Line: 2\n"
      "           Parenthesis are not balanced.  This may ndicate the\n"
      "           use of conditional compilation, #ifdef.  VEK processes\n"
      "           all source code where bracing and parenthesis\n"
      "           counts in the file must be equal and well formed.  Parenthesis\n"
      "           count is now force to an equal state\n",
      out());
  EXPECT_EQ(k().open_brace, k().close_brace);
  EXPECT_EQ(k().open_paren, k().close_paren);
  // The counts were forced equal: nothing is left for the end of the file.
  end_of_file_scope_check(g());
  EXPECT_EQ(std::string::npos, out().find("NOTICE"));
}

TEST_F(BalanceNotice, ReorderedAndSingleLineForms) {
  g().cfg.reorder_notice = 1;
  Feed(")\n");
  EXPECT_EQ(0u, out().find("\n    Line: 1\n           File: t.c\n           Notice: #12\n"));
  g().opt.notice_single_flag = 1;
  Feed(")\n");
  EXPECT_NE(std::string::npos,
            out().find("  Line    2: Notice #  12: Open and closed parenthesis '()' are not equal\n"));
}

TEST_F(BalanceNotice, NotCountedWhenNotReportedOrInXmlAndCsv) {
  g().opt.notice_flag = 0;
  Feed("}\n");
  g().opt.notice_flag = 1;
  g().opt.csv_flag = 1;
  Feed("}\n");
  g().opt.csv_flag = 0;
  g().opt.xml_flag = 1;
  Feed("}\n");
  g().opt.xml_flag = 0;
  g().cfg.notice_on[12] = 0;
  Feed("}\n");
  EXPECT_EQ(4, Raised(12));
  EXPECT_EQ(0, k().notice_count);
  EXPECT_EQ("", out());
}

TEST_F(BalanceNotice, EndOfFileMessagesAreNotCounted) {
  g().opt.function_flag = 1;
  Feed("int f(void)\n{\n  if (a) {\n");
  end_of_file_scope_check(g());
  EXPECT_EQ(
      "\n    NOTICE: The end of the source file has been reached where the\n"
      "            open brace count { 2 != 0 } close brace count \n"
      "            This is an indication of non-compilable code within the source\n"
      "            file.  VEK processes all source code including code wrapped\n"
      "            with preprocessor directives.  Accurate metrics requires that\n"
      "            all code present in this file must be compilable.\n"
      "\n    NOTICE: The end of the source file has been reached where the\n"
      "            local function scope remains open.  The last known function\n"
      "            will be emitted but metrics cannot be generated in this\n"
      "            condition.\n",
      out().substr(out().find("\n    NOTICE"),
                   out().rfind("\n  Function: f") - out().find("\n    NOTICE")));
  EXPECT_NE(std::string::npos, out().find("\n  Function: f\n"));
  EXPECT_EQ(0, g().notice_count);
  CapturedG totals;
  totals.g().opt.totals_flag = 1;
  totals.g().counters.open_brace = 3;
  end_of_file_scope_check(totals.g());
  EXPECT_EQ("", totals.text());
}

class FileEndNotices : public NoticeTest {
 protected:
  FileEndNotices() {
    for (int n : {19, 20, 21, 45, 47}) g().cfg.notice_on[n] = 1;
  }
  std::vector<int> Order() {
    std::vector<int> numbers;
    for (const auto& [n, line] : trace_) numbers.push_back(n);
    return numbers;
  }
};

TEST_F(FileEndNotices, AllFiveInTheirOrder) {
  Use(kCpp);
  g().cfg.key_string = "Copyright";
  g().cfg.key_string_set = 1;
  Feed("int*p=new int;\n");
  g().file.line_number = 1;
  trace_.clear();
  file_end_notices(g());
  EXPECT_EQ((std::vector<int>{47, 20, 19, 45, 21}), Order());
  EXPECT_EQ(5, k().notice_count);
  EXPECT_EQ(
      "\n    Notice #47: File blank line percentage, 0.0% is less than 10.0%\n"
      "\n    Notice #20: File comment line percentage, 0.0% is less than 10.0%\n"
      "\n    Notice #19: File white space percentage, 7.1% is less than 10.0%\n"
      "\n    Notice #45: File t.c: Line 1\n"
      "           New and delete counts do not match for this file.\n"
      "           This could indicate the potential for a memory leak.\n"
      "\n    Notice #21: File does not contain the key string specified in the\n"
      "            vek.cfg file.\n"
      "            Key String: Copyright\n\n",
      out());
}

TEST_F(FileEndNotices, SilentAtTheLimits) {
  Use(kCpp);
  g().cfg.key_string = "Copyright";
  g().cfg.key_string_set = 1;
  g().cfg.min_file_blank = 50.0;    // 1 blank line of 2 LOC
  g().cfg.min_file_comment = 25.0;  // 1 comment line of 1 + 3 LOC lines
  // 2 blanks of 20 characters.
  Feed("// Copyright\nint a=new A(1,2);\n\nint b =delete_x;\n");
  g().cfg.min_file_whitespace = 100.0 * k().whitespace_count / k().char_count;
  trace_.clear();
  file_end_notices(g());
  EXPECT_EQ(std::vector<int>{45}, Order());  // new without delete
  g().cfg.min_file_blank = 0.0;
  g().cfg.min_file_comment = 0.0;
  g().cfg.min_file_whitespace = 0.0;
  Feed("delete a;\n");
  trace_.clear();
  file_end_notices(g());
  EXPECT_EQ(std::vector<int>{}, Order());
  Use(kC);  // the new/delete comparison is for C++ files only
  Feed("delete b;\n");
  trace_.clear();
  file_end_notices(g());
  EXPECT_EQ(std::vector<int>{}, Order());
}

TEST_F(FileEndNotices, HtmlFormsMarkTheValues) {
  g().opt.html_flag = 1;
  Feed("int a;\n");
  g().cfg.notice_on[20] = 0;
  g().cfg.notice_on[19] = 0;
  file_end_notices(g());
  EXPECT_EQ(
      "\n    <font color=\"#CC0000\"><b>Notice</b></font> #47: File blank line "
      "percentage, <b>0.0%</b> is less than <b>10.0%</b> \n",
      out());
}

}  // namespace
}  // namespace vek
