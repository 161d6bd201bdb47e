#include "reports/function_reports.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "analysis/function_state.h"
#include "config/languages.h"
#include "driver/state.h"
#include "reports/capture_test_util.h"
#include "reports/function_records.h"
#include "reports/metrics_blocks.h"
#include "reports/output.h"
#include "reports/report_test_util.h"
#include "reports/separator.h"

namespace vek {
namespace {

void UseFormat(G& g, ReportFormat f) {
  g.opt.html_flag = f == kFormatHtml;
  g.opt.csv_flag = f == kFormatCsv;
  g.opt.xml_flag = f == kFormatXml;
}

void RegisterBuiltins(G& g) {
  static const char* const kNames[] = {"Other", "C", "C Header", "C++",
                                       "C++ Header", "Java", "C#"};
  for (int type = 0; type < kBuiltinLanguages; ++type)
    register_language(kNames[type], *language_extension_key(g, type), g);
  build_allowed_extensions(g);
}

FunctionMeasure Fn(const std::string& name, int loc, int eloc = 0,
                   int lloc = 0, int cyclomatic = 1) {
  FunctionMeasure m;
  m.name = name;
  m.parameters = "()";
  m.file = "a.c";
  m.start_line = 10;
  m.end_line = 10 + loc - 1;
  m.loc = loc;
  m.eloc = eloc;
  m.lloc = lloc;
  m.cyclomatic = cyclomatic;
  m.returns = 1;
  m.interface_complexity = 1;
  m.total_complexity = cyclomatic + 1;
  return m;
}

std::vector<std::string> Names(const FunctionRecords& list) {
  std::vector<std::string> out;
  for (const MetricsEntry& e : list.Entries()) out.push_back(e.name);
  return out;
}

std::vector<std::string> Names(const List<MetricsEntry>& list) {
  std::vector<std::string> out;
  for (const auto& e : list) out.push_back(e->name);
  return out;
}

using V = std::vector<std::string>;

TEST(FunctionReportSort, EachKeyBothWaysNewEntryBeforeEqualOnes) {
  struct Case {
    int key;
    bool descending;
    V expected;
  };
  // a and c tie on every numeric key; c comes later, so it goes first.
  const std::vector<Case> cases = {
      {kSortNone, false, {"b", "a", "c", "D"}},
      {kSortName, false, {"a", "b", "c", "D"}},
      {kSortName, true, {"D", "c", "b", "a"}},
      {kSortLoc, false, {"D", "c", "a", "b"}},
      {kSortLoc, true, {"b", "c", "a", "D"}},
      {kSortEloc, false, {"D", "c", "a", "b"}},
      {kSortEloc, true, {"b", "c", "a", "D"}},
      {kSortLloc, false, {"D", "c", "a", "b"}},
      {kSortLloc, true, {"b", "c", "a", "D"}},
      {kSortCyclomatic, false, {"D", "c", "a", "b"}},
      {kSortCyclomatic, true, {"b", "c", "a", "D"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "key " << c.key << " desc "
                                    << c.descending);
    auto g = std::make_unique<G>();
    g->opt.sort_key = c.key;
    g->opt.sort_descending = c.descending;
    ASSERT_TRUE(record_function(*g, Fn("b", 9, 9, 9, 9)));
    ASSERT_TRUE(record_function(*g, Fn("a", 5, 5, 5, 5)));
    ASSERT_TRUE(record_function(*g, Fn("c", 5, 5, 5, 5)));
    ASSERT_TRUE(record_function(*g, Fn("D", 1, 1, 1, 1)));
    OrderRecordedFunctions(g->fn_report.functions, c.key, *g);
    EXPECT_EQ(c.expected, Names(g->fn_report.functions));
    // Ordering a list already in key order again keeps equal entries
    // latest first, as a fresh insert would.
  }
}

// Ordering once at the end must give exactly what inserting each function
// in key order, then re-sorting for the report, gave: same keys, many ties,
// nameless functions among them (the insert stops at those).
TEST(FunctionReportSort, OrderingOnceMatchesOrderedInsertion) {
  std::mt19937 random(15);
  for (int key = kSortNone; key <= kSortKeys; ++key) {
    for (bool descending : {false, true}) {
      SCOPED_TRACE(testing::Message() << "key " << key << " desc "
                                      << descending);
      auto g = std::make_unique<G>();
      g->opt.sort_key = key;
      g->opt.sort_descending = descending;
      List<MetricsEntry> inserted;
      for (int i = 0; i < 600; ++i) {
        // Three names, one of them empty, in two spellings of case: ties
        // for every key.
        static const char* const kNames[] = {"", "alpha", "ALPHA", "beta",
                                             "b"};
        FunctionMeasure m =
            Fn(kNames[random() % 5], 1 + static_cast<int>(random() % 4),
               static_cast<int>(random() % 3), static_cast<int>(random() % 3),
               1 + static_cast<int>(random() % 3));
        m.templ = std::to_string(i);  // tells equal entries apart
        ASSERT_TRUE(record_function(*g, m));
        auto e = std::make_unique<MetricsEntry>();
        e->name = m.name;
        e->text3 = m.templ;
        e->loc = m.loc;
        e->eloc = m.eloc;
        e->lloc = m.lloc;
        e->cyclomatic = m.cyclomatic;
        e->functions = 1;
        ASSERT_NE(nullptr, InsertSorted(inserted, std::move(e), key,
                                        descending));
      }
      SortList(inserted, key, *g);
      OrderRecordedFunctions(g->fn_report.functions, key, *g);
      std::vector<std::string> want, got;
      for (const auto& e : inserted) want.push_back(e->text3);
      for (const MetricsEntry& e : g->fn_report.functions.Entries())
        got.push_back(e.text3);
      ASSERT_EQ(want, got);
    }
  }
}

// 50,000 functions sorted by a key: an insert per function that walks the
// list would make this take many seconds; the limit here is generous and
// only catches that.
TEST(FunctionReportSort, ManyFunctionsOrderInLinearithmicTime) {
  auto g = std::make_unique<G>();
  g->opt.sort_key = kSortLoc;
  std::mt19937 random(7);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 50000; ++i)
    ASSERT_TRUE(record_function(
        *g, Fn("f" + std::to_string(i), 1 + static_cast<int>(random() % 50))));
  OrderRecordedFunctions(g->fn_report.functions, kSortLoc, *g);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  long long last = 0;
  for (const MetricsEntry& e : g->fn_report.functions.Entries()) {
    ASSERT_LE(last, e.loc);
    last = e.loc;
  }
  EXPECT_LT(elapsed, std::chrono::seconds(5));
}

TEST(FunctionReportSort, FileKeysAndResorting) {
  auto g = std::make_unique<G>();
  List<MetricsEntry> list;
  auto entry = [](const char* name, int value) {
    auto e = std::make_unique<MetricsEntry>();
    e->name = name;
    e->state = e->functions = e->notices = e->size = value;
    e->time = value;
    return e;
  };
  for (int key = kSortWorkState; key <= kSortFileSize; ++key) {
    SCOPED_TRACE(key);
    list.list_free();
    InsertSorted(list, entry("x", 2), key, false);
    InsertSorted(list, entry("y", 1), key, false);
    InsertSorted(list, entry("z", 2), key, false);
    EXPECT_EQ((V{"y", "z", "x"}), Names(list));
  }
  // Unsorted list, then sorted by name, then by size descending: equal
  // sizes keep their order.
  g->opt.sort_descending = 1;
  SortList(list, kSortName, *g);
  EXPECT_EQ((V{"z", "y", "x"}), Names(list));
  SortList(list, kSortFileSize, *g);
  EXPECT_EQ((V{"z", "x", "y"}), Names(list));

  // The file list sorts by its own fields.
  List<FileRecord> files;
  for (long size : {30L, 10L, 20L}) {
    auto r = std::make_unique<FileRecord>();
    r->name = "f" + std::to_string(size);
    r->size = size;
    files.list_append(std::move(r));
  }
  g->opt.sort_descending = 0;
  SortList(files, kSortFileSize, *g);
  std::vector<std::string> order;
  for (const auto& r : files) order.push_back(r->name);
  EXPECT_EQ((V{"f10", "f20", "f30"}), order);
}

TEST(FunctionReportSort, RecordFieldsAndProjectSums) {
  auto g = std::make_unique<G>();
  FunctionMeasure m = Fn("ns::f", 12, 10, 6, 4);
  m.parameters = "(int a, int b)";
  m.templ = "template <class T>";
  m.params = 2;
  m.returns = 3;
  m.comments = 5;
  m.blanks = 2;
  m.start_line = 20;
  m.end_line = 40;  // comments above and blank lines inside
  ASSERT_TRUE(record_function(*g, m));
  ASSERT_TRUE(record_function(*g, Fn("g", 3, 2, 1, 7)));
  const MetricsEntry e = g->fn_report.functions.Entry(0);
  EXPECT_EQ("template <class T>", e.text3);
  EXPECT_EQ(21, e.lines);
  EXPECT_EQ(40, e.extra[kFnLine]);
  EXPECT_EQ(5, e.interface_complexity);
  EXPECT_EQ(9, e.total_complexity);
  const FunctionSums& s = g->fn_report.project;
  EXPECT_EQ(2, s.functions);
  EXPECT_EQ(15, s.loc);
  EXPECT_EQ(11, s.cyclomatic);
  EXPECT_EQ(7, s.max_cyclomatic);
  EXPECT_EQ(9, s.max_total_complexity);  // 4 + 2 + 3 beats 7 + 0 + 1
}

TEST(FunctionReportSortedBy, FourFormatsAndNoKey) {
  CapturedG none;
  SortedByLine(none.g());
  EXPECT_EQ("", none.text());

  const std::string plain = "Sorted By: Cylcomatic Complexity - Descending";
  const std::string pad(37 - plain.size() / 2, ' ');
  const std::pair<ReportFormat, std::string> cases[] = {
      {kFormatText, pad + plain + "\n"},
      {kFormatHtml, "\n" + pad + "<b><font color=\"#993300\">Sorted By "
                    "Cylcomatic Complexity - Descending</font></b>\n"},
      {kFormatCsv, plain + "\n"},
      {kFormatXml, "<sort_mode>Cylcomatic Complexity</sort_mode>\n"
                   "<sort_direction>Descending</sort_direction>\n"},
  };
  for (const auto& [format, expected] : cases) {
    CapturedG cap;
    UseFormat(cap.g(), format);
    cap.g().opt.sort_key = kSortCyclomatic;
    cap.g().opt.sort_descending = 1;
    SortedByLine(cap.g());
    EXPECT_EQ(expected, cap.text());
  }
}

class FunctionReportList : public ::testing::Test {
 protected:
  void Record(const FunctionMeasure& m) { ASSERT_TRUE(record_function(g(), m)); }
  void TwoFunctions() {
    FunctionMeasure f = Fn("alpha", 10, 8, 5, 3);
    f.parameters = "(int a, int b)";
    f.params = 2;
    f.returns = 1;
    f.comments = 4;
    f.blanks = 1;
    Record(f);
    FunctionMeasure h = Fn("beta", 4, 0, 0, 1);
    h.comments = 2;
    Record(h);
  }
  G& g() { return cap_.g(); }
  std::string text() { return cap_.text(); }

  CapturedG cap_;
};

TEST_F(FunctionReportList, EmptyListPrintsNothing) {
  for (ReportFormat f : {kFormatText, kFormatHtml, kFormatCsv, kFormatXml}) {
    UseFormat(g(), f);
    FunctionReport(g());
  }
  EXPECT_EQ("", text());
}

TEST_F(FunctionReportList, TextEntriesAndTotals) {
  TwoFunctions();
  Record(Fn("#if", 99));  // a misread name is neither listed nor counted
  g().opt.complexity_flag = 1;
  FunctionReport(g());
  std::string out = text();
  EXPECT_TRUE(Has(out, "  Function: alpha\n  Parameters: (int a, int b)\n"
                       "  Complexity   Param 2       Return 1      "
                       "Cyclo Vg 3       Total        6\n"
                       "  LOC 10       eLOC 8        lLOC 5        "
                       "Comment 4        Lines       10\n\n"))
      << out;
  EXPECT_FALSE(Has(out, "#if"));
  EXPECT_TRUE(Has(out, "  Total: Functions  \n"
                       "  LOC 14       eLOC 8        lLOC 5        "
                       "InCmp 4        CycloCmp       4\n"));
  EXPECT_TRUE(Has(out, "  Total Functions .......:          2"
                       "  Total Physical Lines ..:         14\n"));
  EXPECT_TRUE(Has(out, "  Total Cyclomatic Comp. :          4"
                       "  Total Interface Comp. .:          4\n"));
  EXPECT_TRUE(Has(out, "  Avg Physical Lines ....:       7.00\n"));
  EXPECT_TRUE(Has(out, "  Max LOC ...............:         10\n"));
  EXPECT_TRUE(Has(out, "  Min Parameters ........:          0"
                       "  Min Return Points .....:          1\n"));
  EXPECT_TRUE(Has(out, "  Max Comment Lines .....:          4"
                       "  Max Total Lines .......:         10\n"));
}

TEST_F(FunctionReportList, SummariesOnlyAndHtmlLabels) {
  TwoFunctions();
  UseFormat(g(), kFormatHtml);
  g().opt.totals_summaries_only = 1;
  FunctionReport(g());
  std::string out = text();
  EXPECT_TRUE(Has(out, "~~ Project Functional Metrics ~~"));
  EXPECT_FALSE(Has(out, "alpha"));
  EXPECT_TRUE(Has(out, "  <b>Total</b>: <b>Functions  </b>\n"));
  EXPECT_TRUE(Has(out, "  <b>Total Functions .......:</b>          2"
                       "  <b>Total Physical Lines ..:</b>         14\n"));
}

TEST_F(FunctionReportList, CsvRowsAndTotals) {
  TwoFunctions();
  UseFormat(g(), kFormatCsv);
  g().opt.sort_key = kSortLoc;
  FunctionReport(g());
  std::string out = text();
  EXPECT_TRUE(Has(out,
                  "\nProject Functional Metrics\n"
                  "Sorted By: LOC - Ascending\nCount,2\n"
                  "Type,Name,Params,LOC,eLOC,lLOC,Comments,Comments/eLOC,"
                  "Lines,Parameters,Returns,Interface Complexity,"
                  "Cyclomatic Complexity,Functional Complexity\n"
                  "Function,beta,(),4,0,0,2,0.00,4,0,1,1,1,2\n"
                  "Function,alpha,(int a; int b),10,8,5,4,0.50,10,2,1,3,3,6\n"))
      << out;
  // Every value has its own column: no count runs into the next label.
  EXPECT_TRUE(Has(out, "Total Functions\nCount,2,LOC,14,eLOC,8,lLOC,5,"
                       "Comments,6,Blanks,1,Parameters,2,Returns,2,"
                       "Inter Complex,4,Cyclo Complex,4,Total Complex,8,"
                       "Lines,14,Func Pts(LOC),0.0,"))
      << out;
  EXPECT_TRUE(Has(out, "Avg Functions\nCount,2,LOC,7.00,"));
  EXPECT_TRUE(Has(out, "Max Functions\nLOC,10,eLOC,8,lLOC,5,Comments,4,"
                       "Blanks,1,Parameters,2,Returns,1,Inter Complex,3,"
                       "Cyclo Complex,3,Lines,10\n"));
  EXPECT_TRUE(Has(out, "Min Functions\nLOC,4,eLOC,0,"));
}

TEST_F(FunctionReportList, XmlIsWellFormed) {
  RegisterBuiltins(g());
  FunctionMeasure t = Fn("Box<T>::get", 3, 3, 1);
  t.templ = "template <class T>";
  t.file = "box.hpp";
  Record(t);
  TwoFunctions();
  UseFormat(g(), kFormatXml);
  g().opt.totals_flag = 1;
  g().opt.complexity_flag = 1;
  g().opt.function_points_flag = 1;
  g().opt.sort_key = kSortName;
  FunctionReport(g());
  std::string out = text();
  EXPECT_EQ("", XmlNestingError(out)) << out;
  EXPECT_TRUE(Has(out, "<report>\n<name>Project Functional Metrics</name>\n"
                       "<sort_mode>Name</sort_mode>\n"));
  EXPECT_TRUE(Has(out, "<name>Box&lt;T&gt;::get</name>\n"));
  EXPECT_TRUE(Has(out, "<template>template &lt;class T&gt;</template>\n"));
  EXPECT_TRUE(Has(out, "<function_points_loc>0.0</function_points_loc>\n"));
  EXPECT_TRUE(Has(out, "<max_loc>10</max_loc>\n"));
  EXPECT_TRUE(Has(out, "<min_lines>3</min_lines>\n"));
  EXPECT_TRUE(Has(out, "<average_loc>5.67</average_loc>\n"));
}

TEST(FunctionReportPoints, EntryUsesItsOwnFilesLanguage) {
  CapturedG cap;
  G& g = cap.g();
  RegisterBuiltins(g);
  g.opt.function_points_flag = 1;
  type_file("now.java", g, 0);
  EntryFunctionPoints(g, "src/old.c", 1280, 128, 0);
  EntryFunctionPoints(g, "src/old.h", 1280, 128, 0);
  EXPECT_EQ(
      "  Function Points         FP(LOC) 10.0    FP(eLOC) 1.0    FP(lLOC)     "
      "0.0\n"
      "  Function Points         FP(LOC) 0.0     FP(eLOC) 0.0    FP(lLOC)     "
      "0.0\n",
      cap.text());
  EXPECT_EQ(1, g.typing.java_flag);  // the current file's typing is kept
  EXPECT_DOUBLE_EQ(1.0, FunctionPoints(53, kFpLoc, g));
}

class FunctionReportEnd : public ::testing::Test {
 protected:
  G& g() { return cap_.g(); }
  std::string text() { return cap_.text(); }
  CapturedG cap_;
};

TEST_F(FunctionReportEnd, BlocksThenSeparatorOrLineFeed) {
  FunctionMeasure m = Fn("f", 5, 3, 2, 2);
  m.alloc = 1;
  m.end_line = 14;
  g().opt.complexity_flag = 1;
  function_end_report(g(), m);  // no -a: no memory line; no -n: line feed
  g().opt.alloc_flag = 1;
  g().opt.notice_flag = 1;
  function_end_report(g(), m);
  EXPECT_EQ(
      "  Complexity   Param 0       Return 1      Cyclo Vg 2       Total        "
      "3\n"
      "  LOC 5        eLOC 3        lLOC 2        Comment 0        Lines        "
      "5\n\n"
      "  Complexity   Param 0       Return 1      Cyclo Vg 2       Total        "
      "3\n"
      "  LOC 5        eLOC 3        lLOC 2        Comment 0        Lines        "
      "5\n"
      "  Memory       Alloc 1       Free 0       New 0       Delete 0\n"
      "\n" + separator_text("Function End", 14) + "\n",
      text());

  CapturedG quiet;
  quiet.g().opt.totals_flag = 1;
  function_end_report(quiet.g(), m);
  quiet.g().opt.totals_flag = 0;
  quiet.g().opt.extract_docs = 1;
  function_end_report(quiet.g(), m);
  EXPECT_EQ("", quiet.text());
}

TEST_F(FunctionReportEnd, CsvRowsPerFileWithClosingRows) {
  G& gg = g();
  RegisterBuiltins(gg);
  type_file("a.c", gg, 0);
  UseFormat(gg, kFormatCsv);
  gg.opt.csv_file_rows = 1;
  gg.opt.function_flag = 1;
  CsvFunctionRow(gg.report_stream, nullptr, gg);  // no rows: no closing rows
  FunctionMeasure a = Fn("f", 4, 2, 1, 3);
  a.parameters = "(int a, int b)";
  a.params = 2;
  a.comments = 1;
  FunctionMeasure b = Fn("g", 2, 0, 0, 1);
  function_end_report(gg, a);
  function_end_report(gg, b);
  CsvFunctionRow(gg.report_stream, nullptr, gg);
  EXPECT_EQ(
      "Type, Name, Parameters, , , LOC, eLOC, lLOC, Comments, Blanks, Lines, "
      "Comment/eLOC, Classes, Functions, Parameters, Returns, InterComp, "
      "CycloComp, Total Complexity, Notices\n"
      "Function, f, (int a; int b), ,, 4, 2, 1, 1, 0, 4, 0.50, , 1, 2, 1, 3, "
      "3, 6, \n"
      "Function, g, (), ,, 2, 0, 0, 0, 0, 2, 0.00, , 1, 0, 1, 1, 1, 2, \n"
      "\nFunction, Total,, , , 6, 2, 1, 1, 0, 6, 0.50, , 2, 2, 2, 4, 4, 8, \n"
      "Function, Average,, , , 3.00, 1.00, 0.50, 0.50, 0.00, 3.00, 0.25, , "
      "1.00, 1.00, 1.00, 2.00, 2.00, 4.00, \n"
      "Function, Maximum,, , , 4, 2, 1, 1, 0, 4, 0.50, , 1, 2, 1, 3, 3, 6, \n"
      "Function, Minimum,, , , 2, 0, 0, 0, 0, 2, 0.00, , 1, 0, 1, 1, 1, 2, \n",
      text());
  // The next file starts afresh, under the heading already written.
  function_end_report(gg, b);
  CsvFunctionRow(gg.report_stream, nullptr, gg);
  std::string next = text();
  EXPECT_EQ(0u, next.rfind("Type, Name"));
  EXPECT_TRUE(Has(next, "\nFunction, Total,, , , 2, 0, 0, 0, 0, 2, 0.00, , 1,"));

  CapturedG fp;
  RegisterBuiltins(fp.g());
  type_file("a.c", fp.g(), 0);
  fp.g().opt.function_points_flag = 1;
  CsvFunctionRow(fp.g().report_stream, &a, fp.g());
  EXPECT_TRUE(Has(fp.text(), "LOC/FP, eLOC/FP, lLOC/FP, Comments"));
  EXPECT_TRUE(Has(fp.text(), ", ,, 4/0.0       , 2/0.0       , 1/0.0       , 1,"));
}

class FunctionReportSummary : public ::testing::Test {
 protected:
  void SetUp() override {
    FunctionSums& f = g().fs.sums;
    f.functions = 4;
    f.loc = 100;
    f.eloc = 80;
    f.lloc = 40;
    f.comments = 10;
    f.params = 6;
    f.returns = 5;
    f.cyclomatic = 9;
    f.max_loc = 50;
    f.max_eloc = 40;
    f.max_lloc = 20;
    f.max_params = 3;
    f.max_returns = 2;
    f.max_cyclomatic = 4;
    f.max_total_complexity = 8;
    g().fp_totals[0] = 1.5;
  }
  G& g() { return cap_.g(); }
  std::string text() { return cap_.text(); }
  CapturedG cap_;
};

TEST_F(FunctionReportSummary, TextWithAndWithoutComplexity) {
  FileFunctionSummary(g(), 0);
  std::string plain = text();
  EXPECT_TRUE(Has(plain, "~~ File Functional Summary ~~\n\n"
                         "  File Function Count....:          4\n"
                         "  Total Function LOC.....:        100"
                         "  Total Function Pts LOC :        1.5\n"))
      << plain;
  EXPECT_TRUE(Has(plain, "  Total Function Params .:          6"
                         "  Total Function Return .:          5\n"
                         "  Total Cyclo Complexity :          9"
                         "  Total Function Complex.:         20\n"));
  EXPECT_TRUE(Has(plain, "  Max Function lLOC .....:         20"
                         "  Average Function lLOC .:      10.00\n"));
  EXPECT_FALSE(Has(plain, "Parameters"));

  CapturedG c;
  c.g().fs = g().fs;
  c.g().opt.complexity_flag = 1;
  FileFunctionSummary(c.g(), 0);
  EXPECT_TRUE(Has(c.text(), "  Max Interface Complex. :          5"
                            "  Avg Interface Complex. :       2.75\n"
                            "  Max Cyclomatic Complex.:          4"
                            "  Avg Cyclomatic Complex.:       2.25\n"
                            "  Max Total Complexity ..:          8"
                            "  Avg Total Complexity ..:       5.00\n"));
}

TEST_F(FunctionReportSummary, NoFunctionsNothing) {
  g().fs = FunctionState();
  FileFunctionSummary(g(), 0);
  FileFunctionSummary(g(), 1);
  EXPECT_EQ("", text());
}

TEST_F(FunctionReportSummary, CsvAndXmlForms) {
  UseFormat(g(), kFormatCsv);
  FileFunctionSummary(g(), 0);
  EXPECT_EQ(
      "File Functional Summary\nFunctions,4\n"
      "LOC,100,eLOC,80,lLOC,40,Comments,10,Parameters,6,Returns,5,"
      "Cyclo Complex,9,Inter Complex,11,Total Complex,20,"
      "Func Pts(LOC),       1.5,Func Pts(eLOC),       0.0,"
      "Func Pts(lLOC),       0.0\n"
      "File Functional Maximum Summary\n"
      "LOC,50,eLOC,40,lLOC,20,,,Parameters,3,Returns,2,Cyclo Complex,4,"
      "Inter Complex,5,Total Complex,8\n"
      "File Functional Average Summary\n"
      "LOC,     25.00,eLOC,     20.00,lLOC,     10.00,Comments,      2.50,"
      "Parameters,      1.50,Returns,      1.25,Cyclo Complex,      2.25,"
      "Inter Complex,      2.75,Total Complex,      5.00\n",
      text());

  CapturedG xml;
  xml.g().fs = g().fs;
  UseFormat(xml.g(), kFormatXml);
  FileFunctionSummary(xml.g(), 0);
  EXPECT_EQ("", XmlNestingError(xml.text())) << xml.text();
  EXPECT_TRUE(Has(xml.text(), "<file_function_maximums>\n<LOC>50</LOC>\n"));
  EXPECT_TRUE(Has(xml.text(), "<interface_complexity>5</interface_complexity>"));
}

TEST_F(FunctionReportSummary, ProjectFormSumsEveryRecordedFunction) {
  g().fs = FunctionState();  // the last file's sums are not the project's
  FunctionMeasure a = Fn("a", 10, 9, 4, 3);
  a.params = 2;
  ASSERT_TRUE(record_function(g(), a));
  ASSERT_TRUE(record_function(g(), Fn("b", 30, 20, 8, 1)));
  UseFormat(g(), kFormatCsv);
  FileFunctionSummary(g(), 1);
  EXPECT_TRUE(Has(text(), "Functions,2\nLOC,40,eLOC,29,lLOC,12,Comments,0,"
                          "Parameters,2,Returns,2,Cyclo Complex,4,"
                          "Inter Complex,4,Total Complex,8,"
                          "Func Pts(LOC),       1.5,"))
      << text();
  EXPECT_TRUE(Has(text(), "LOC,30,eLOC,20,lLOC,8,,,Parameters,2,Returns,1,"
                          "Cyclo Complex,3,Inter Complex,3,Total Complex,6\n"));
}

}  // namespace
}  // namespace vek
