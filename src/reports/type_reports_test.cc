#include "reports/type_reports.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/type_record.h"
#include "driver/state.h"
#include "reports/capture_test_util.h"
#include "reports/function_records.h"
#include "reports/metrics_blocks.h"
#include "reports/report_test_util.h"

namespace vek {
namespace {

using V = std::vector<std::string>;

void UseFormat(G& g, ReportFormat f) {
  g.opt.html_flag = f == kFormatHtml;
  g.opt.csv_flag = f == kFormatCsv;
  g.opt.xml_flag = f == kFormatXml;
}

// A type with distinct counts: size n, 2n, ... so that sums show which
// records went into them.
TypeRecord* AddType(TypeList& list, const std::string& name, int n,
                    int nesting = 0) {
  auto r = std::make_unique<TypeRecord>();
  r->name = name;
  r->file = "shapes.cc";
  r->line = n;
  r->nesting = nesting;
  r->size.loc = 10 * n;
  r->size.eloc = 8 * n;
  r->size.lloc = 5 * n;
  r->size.comments = 2 * n;
  r->size.blanks = n;
  r->size.lines = 13 * n;
  r->methods.count = n;
  r->methods.params = 2 * n;
  r->methods.returns = n;
  r->methods.cyclomatic = 3 * n;
  r->method_counts = {n, 0, 1};
  r->data_counts = {0, n, 2};
  return list.Add(std::move(r));
}

V Names(const TypeList& list) {
  V out;
  for (const auto& r : list.items()) out.push_back(r->name);
  return out;
}

class TypeReportTest : public testing::Test {
 protected:
  G& g() { return cap_.g(); }
  std::string Run(void (*report)(G&)) {
    size_t before = cap_.text().size();
    report(g());
    return cap_.text().substr(before);
  }
  CapturedG cap_;
};

TEST_F(TypeReportTest, ClassEntriesSumsAndAnalysisInText) {
  g().opt.complexity_flag = 1;
  TypeRecord* shape = AddType(g().classes, "Shape", 1);
  shape->templ = "template<class T>";
  shape->bases = "Base,Other";
  TypeRecord* point = AddType(g().classes, "Shape::Point", 2, 1);
  point->struct_flag = 1;
  std::string out = Run(ClassReport);

  EXPECT_TRUE(Has(out, "~~ Project Class/Struct Metrics ~~\n"
                       "               Parent LOC Metrics Include Nested LOC "
                       "Metrics\n\n  Class: Shape\n"))
      << out;
  EXPECT_TRUE(Has(out,
                  "  Class: Shape\n  Template: template<class T>\n"
                  "  Inheritance: Base,Other\n"
                  "  Attributes   Publ 0        Prot 1        Private 2        "
                  "Total        3\n"
                  "  Methods      Publ 1        Prot 0        Private 1        "
                  "Total        2\n"
                  "  Complexity   Param 2       Return 1      Cyclo Vg 3       "
                  "Total        6\n"
                  "  LOC 10       eLOC 8        lLOC 5        Comment 2        "
                  "Lines       13\n\n"
                  "  Nested Struct: Shape::Point\n"))
      << out;
  // The parent sum leaves the nested struct out, the other takes both.
  EXPECT_TRUE(Has(out, "  Total: All Parent Classes/Structs\n"
                       "  Attributes   Publ 0        Prot 1 "))
      << out;
  EXPECT_TRUE(Has(out, "  Total: All Classes/Structs\n"
                       "  Attributes   Publ 0        Prot 3 "))
      << out;
  EXPECT_TRUE(Has(out, "~~ Project Class/Struct Analysis ~~\n\n"
                       "  Total Classes/Structs .:          2\n"
                       "  Total Nested Classes ..:          1"
                       "  Total Methods .........:          5\n"
                       "  Total Public Methods ..:          3"
                       "  Total Public Attributes:          0\n"))
      << out;
  EXPECT_TRUE(Has(out, "  Total Physical Lines ..:         39"
                       "  Total LOC .............:         30\n"
                       "  Total eLOC ............:         24"
                       "  Total lLOC ............:         15\n"
                       "  Total Cyclomatic Comp. :          9"
                       "  Total Interface Comp. .:          9\n"))
      << out;
  EXPECT_TRUE(Has(out, "  Avg Physical Lines ....:      19.50"
                       "  Avg Methods ...........:       2.50\n"
                       "  Avg Public Methods ....:       1.50"
                       "  Avg Public Attributes .:       0.00\n"))
      << out;
  EXPECT_TRUE(Has(out, "  Max Protected Methods .:          0"
                       "  Max Protected Attrib. .:          2\n"))
      << out;
  EXPECT_TRUE(Has(out, "  Min Return Points .....:          1"
                       "  Min Comment Lines .....:          2\n"))
      << out;
}

TEST_F(TypeReportTest, ClassRowsAndSummaryRowsInCsv) {
  UseFormat(g(), kFormatCsv);
  TypeRecord* shape = AddType(g().classes, "Shape<A,B>", 1);
  shape->bases = "Base,Other";
  AddType(g().classes, "Circle", 2);
  TypeRecord* empty = AddType(g().classes, "Empty", 0);
  empty->size.comments = 3;  // comments without eLOC: ratio 0.00
  std::string out = Run(ClassReport);
  EXPECT_TRUE(Has(out,
                  "\nProject Class/Struct Metrics\nClasses,3\n"
                  "Type,Name,LOC,eLOC,lLOC,Comments,Comments/eLOC,Lines,"
                  "Parameters,Returns,Interface Complexity,Cyclomatic "
                  "Complexity,Functional Complexity,Methods,Public Methods,"
                  "Protected Methods,Private Methods,Attributes,Public "
                  "Attributes,Protected Attributes,Private Attributes\n"
                  "Class,Shape<A B>,10,8,5,2,0.25,13,2,1,3,3,6,2,1,0,1,3,0,1,"
                  "2\nInheritance,Base Other\n"
                  "Class,Circle,20,16,10,4,0.25,26,4,2,6,6,12,3,2,0,1,4,0,2,"
                  "2\nClass,Empty,0,0,0,3,0.00,0,"))
      << out;
  EXPECT_FALSE(Has(out, "Parent LOC Metrics")) << out;
  EXPECT_TRUE(Has(out, "Total All Parent Classes/Structs\n"
                       "Attributes,Publ,      0,Prot,      3,Private,      6,"
                       "Total,       9\n"))
      << out;
  EXPECT_TRUE(Has(out,
                  "Project Class/Struct Analysis\n"
                  "Class,Total,30,24,15,9,0.38,39,6,3,9,9,18,6,3,0,3,9,0,3,6\n"
                  "Class,Average,10.00,8.00,5.00,3.00,0.17,13.00,2.00,1.00,"
                  "3.00,3.00,6.00,2.00,1.00,0.00,1.00,3.00,0.00,1.00,2.00\n"
                  "Class,Maximum,20,16,10,4,0.25,26,4,2,6,6,12,3,2,0,1,4,0,2,"
                  "2\n"
                  "Class,Minimum,0,0,0,2,0.00,0,0,0,0,0,0,1,0,0,1,2,0,0,2\n"))
      << out;

  // The table form of -C names the list and the nested note its own way.
  g().opt.csv_file_rows = 1;
  AddType(g().classes, "Circle::Inner", 1, 1);
  out = Run(ClassReport);
  EXPECT_TRUE(Has(out, "\nProject Class Metrics\n"
                       "Class/Struct Metrics Include Nested Class/Struct "
                       "Metrics\nClasses,4\n"))
      << out;
}

TEST_F(TypeReportTest, OnlyNestedTypesLeaveParentSumAtZero) {
  AddType(g().classes, "Outer::In", 3, 1);
  std::string out = Run(ClassReport);
  EXPECT_TRUE(Has(out, "  Total: All Parent Classes/Structs\n"
                       "  Attributes   Publ 0        Prot 0        Private 0 "
                       "       Total        0\n"
                       "  Methods      Publ 0        Prot 0        Private 0 "
                       "       Total        0\n"
                       "  LOC 0        eLOC 0        lLOC 0        Comment 0 "
                       "       Lines        0\n\n"
                       "  Total: All Classes/Structs\n"
                       "  Attributes   Publ 0        Prot 3 "))
      << out;
}

TEST_F(TypeReportTest, SummariesOnlyLeaveEntriesOut) {
  g().opt.totals_summaries_only = 1;
  AddType(g().classes, "Shape", 1);
  AddType(g().classes, "Circle", 2);
  std::string out = Run(ClassReport);
  EXPECT_TRUE(Has(out, "~~ Project Class/Struct Metrics ~~\n\n"
                       "  Total: All Parent Classes/Structs\n"))
      << out;
  EXPECT_FALSE(Has(out, "Class: ")) << out;
  EXPECT_TRUE(Has(out, "  Total Classes/Structs .:          2\n")) << out;
}

TEST_F(TypeReportTest, SortKeysPutLaterEqualRecordsFirst) {
  struct Case {
    int key;
    bool descending;
    V expected;
  };
  // b and a tie on LOC (2); a was added later, so it goes first.
  const std::vector<Case> cases = {
      {kSortName, false, {"a", "b", "C", "d"}},
      {kSortName, true, {"d", "C", "b", "a"}},
      {kSortLoc, false, {"C", "a", "b", "d"}},
      {kSortLoc, true, {"d", "a", "b", "C"}},
      {kSortCyclomatic, false, {"C", "a", "b", "d"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "key " << c.key << " desc "
                                    << c.descending);
    CapturedG cap;
    G& gg = cap.g();
    AddType(gg.classes, "d", 3);
    AddType(gg.classes, "b", 2);
    AddType(gg.classes, "C", 1);
    AddType(gg.classes, "a", 2);
    gg.opt.sort_key = c.key;
    gg.opt.sort_descending = c.descending;
    ClassReport(gg);
    EXPECT_EQ(c.expected, Names(gg.classes));
    // Look-ups still find the re-ordered records.
    ASSERT_NE(nullptr, gg.classes.Find("A"));
    EXPECT_EQ("a", gg.classes.Find("A")->name);
  }

  CapturedG cap;
  AddType(cap.g().classes, "Zeta", 1);
  AddType(cap.g().classes, "alpha", 1);
  cap.g().opt.sort_key = kSortName;
  ClassReport(cap.g());
  std::string out = cap.text();
  EXPECT_TRUE(Has(out, "Sorted By: Name - Ascending\n\n  Class: alpha\n"))
      << out;
  EXPECT_LT(out.find("Class: alpha"), out.find("Class: Zeta"));
}

TEST_F(TypeReportTest, TypesAreCreditedToTheirNamespaces) {
  TypeRecord* ns = AddType(g().namespaces, "geo::shapes", 0);
  ns->method_counts = {};
  ns->data_counts = {};
  AddType(g().namespaces, "geo", 0)->method_counts = {};
  AddType(g().namespaces, "Anonymous", 0);
  AddType(g().classes, "geo::shapes::Circle", 1);
  AddType(g().classes, "geo::shapes::Circle::Inner", 2, 1);  // counted only
  AddType(g().classes, "geo::Plane", 4);
  AddType(g().classes, "Anonymous::Hidden", 5);
  AddType(g().classes, "loose::Thing", 6);
  AddType(g().interfaces, std::string(kInterfacePrefix) + "geo::shapes::IDraw",
          3);
  Run(ClassReport);
  Run(InterfaceReport);

  EXPECT_EQ(3, ns->type_count);
  EXPECT_EQ(4, ns->methods.count);       // Circle 1 + IDraw 3
  EXPECT_EQ(40, ns->size.loc);
  EXPECT_EQ(4, ns->method_counts.pub);
  EXPECT_EQ(2, ns->method_counts.priv);
  TypeRecord* geo = g().namespaces.Find("geo");
  EXPECT_EQ(1, geo->type_count);
  EXPECT_EQ(0, g().namespaces.Find("Anonymous")->type_count);

  std::string out = Run(NamespaceReport);
  EXPECT_TRUE(Has(out, "  Namespace/Package: geo::shapes\n"
                       "  Total Classses 3           Total Functions 4     "
                       "  Avg Func/Class   1.33\n"))
      << out;
  EXPECT_TRUE(Has(out, "  Total Namespace/Package:          3\n"
                       "  Total Classes .........:          4"
                       "  Total Functions .......:          8\n"))
      << out;

  UseFormat(g(), kFormatCsv);
  out = Run(NamespaceReport);
  EXPECT_TRUE(Has(out, "Namespace/Package,geo::shapes,40,32,20,8,0.25,52,8,"
                       "4,12,12,24,3,4,4,0,2,8,0,4,4\n"))
      << out;
  EXPECT_TRUE(Has(out, "Namespace/Package,Total,")) << out;
}

TEST_F(TypeReportTest, NamespaceOfCutsOneQualifierAtATime) {
  AddType(g().namespaces, "a::b", 0);
  AddType(g().namespaces, "org.pkg", 0);
  EXPECT_EQ("a::b", NamespaceOf(g().namespaces, "a::b::c::D")->name);
  EXPECT_EQ("a::b", NamespaceOf(g().namespaces, "A::B::X")->name);
  EXPECT_EQ("org.pkg", NamespaceOf(g().namespaces, "org.pkg.Main")->name);
  EXPECT_EQ(nullptr, NamespaceOf(g().namespaces, "a::bc::D"));
  EXPECT_EQ(nullptr, NamespaceOf(g().namespaces, "Plain"));
  EXPECT_EQ(nullptr, NamespaceOf(g().namespaces, "::X"));
}

TEST_F(TypeReportTest, InterfacesShowNamesWithoutPrefix) {
  AddType(g().interfaces, std::string(kInterfacePrefix) + "IShape", 1);
  AddType(g().interfaces, std::string(kInterfacePrefix) + "IShape.IPart", 1,
          1);
  std::string out = Run(InterfaceReport);
  EXPECT_TRUE(Has(out, "~~ Project Interface Metrics ~~\n\n"
                       "  Interface: IShape\n"))
      << out;
  EXPECT_TRUE(Has(out, "  Nested Interface: IShape.IPart\n")) << out;
  EXPECT_TRUE(Has(out, "  Total: All Parent Interfaces\n")) << out;
  EXPECT_TRUE(Has(out, "  Total Interfaces ......:          2\n"
                       "  Total Nested Interfaces:          1")) << out;
  EXPECT_FALSE(Has(out, "Interface-")) << out;

  UseFormat(g(), kFormatHtml);
  out = Run(InterfaceReport);
  EXPECT_TRUE(Has(out, "  <b><a href=\"shapes.cc\" target=\"_blank\">"
                       "Interface</a></b>: <b><font color=\"#663300\">IShape"
                       "</font></b>\n"))
      << out;
  EXPECT_TRUE(Has(out, "  <b>Total Interfaces ......:</b>          2\n")) << out;
}

TEST_F(TypeReportTest, HtmlAndXmlForms) {
  AddType(g().classes, "Map<K,V>", 1)->templ = "template<class K>";
  AddType(g().classes, "Map<K,V>::Node", 1, 1);
  AddType(g().classes, "Map<K,V>::Leaf", 1, 1)->struct_flag = 1;
  AddType(g().namespaces, "ns", 1);
  AddType(g().interfaces, std::string(kInterfacePrefix) + "I", 1);
  g().opt.complexity_flag = 1;
  g().opt.function_points_flag = 1;

  UseFormat(g(), kFormatHtml);
  std::string html = Run(ClassReport);
  EXPECT_TRUE(Has(html, "<font color=\"#663300\">Map&lt;K,V&gt;</font>"))
      << html;
  EXPECT_TRUE(Has(html, "  <b>Template: </b><b><font color=\"#006699\">"
                        "template&lt;class K&gt;</font></b>\n"))
      << html;
  EXPECT_TRUE(Has(html, "  <b>Nested Class</b>: <b><font color=\"#663300\">"
                        "Map&lt;K,V&gt;::Node</font></b></b>\n"))
      << html;
  EXPECT_TRUE(Has(html, "  <b>Nested Struct</b>: <b><font color=\"#990000\">"
                        "Map&lt;K,V&gt;::Leaf</font></b>\n"))
      << html;
  EXPECT_TRUE(Has(html, "  <b>Total</b>: <b>All Parent Classes/Structs</b>\n"));

  UseFormat(g(), kFormatXml);
  for (auto report : {ClassReport, InterfaceReport, NamespaceReport}) {
    std::string xml = Run(report);
    EXPECT_EQ("", XmlNestingError(xml)) << xml;
    EXPECT_TRUE(Has(xml, "<function_points_loc>")) << xml;
  }
  std::string xml = Run(ClassReport);
  EXPECT_TRUE(Has(xml, "<report>\n<name>Project Class or Struct Metrics</name>\n"
                       "<note>Parent LOC Metrics Include Nested LOC Metrics"
                       "</note>\n<class>\n<name>Map&lt;K,V&gt;</name>\n"
                       "<template>template&lt;class K&gt;</template>\n"))
      << xml;
  EXPECT_TRUE(Has(xml, "<nested_struct>\n<name>Map&lt;K,V&gt;::Leaf</name>\n"));
  EXPECT_TRUE(Has(xml, "<total_all_class_struct_analysis>\n"
                       "<class_struct_count>3</class_struct_count>\n"
                       "<nested_count>2</nested_count>\n<methods>6</methods>\n"))
      << xml;
}

TEST_F(TypeReportTest, EmptyListsAndUnlistableNamesPrintNothing) {
  EXPECT_EQ("", Run(ClassReport));
  EXPECT_EQ("", Run(InterfaceReport));
  EXPECT_EQ("", Run(NamespaceReport));
  AddType(g().classes, "(anonymous)", 1);
  AddType(g().classes, "Real", 2);
  std::string out = Run(ClassReport);
  EXPECT_FALSE(Has(out, "(anonymous)")) << out;
  EXPECT_TRUE(Has(out, "  Total Classes/Structs .:          1\n")) << out;
}

}  // namespace
}  // namespace vek
