#include "analysis/inheritance_tree.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/type_record.h"
#include "driver/state.h"
#include "reports/capture_test_util.h"
#include "reports/report_test_util.h"

namespace vek {
namespace {

void AddClass(G& g, const std::string& name, const std::string& bases = "",
              const std::string& file = "a.cc", int line = 1) {
  auto r = std::make_unique<TypeRecord>();
  r->name = name;
  r->bases = bases;
  r->file = file;
  r->line = line;
  r->base_count = BaseCount(bases);
  g.classes.Add(std::move(r));
}

std::vector<std::string> Names(const std::vector<std::unique_ptr<TreeNode>>& f) {
  std::vector<std::string> out;
  for (const auto& n : f) out.push_back(n->name);
  return out;
}

using V = std::vector<std::string>;

class InheritanceTreeTest : public testing::Test {
 protected:
  G& g() { return cap_.g(); }
  std::string Build() {
    BuildInheritanceTree(g());
    return cap_.text();
  }
  std::string Print() {
    size_t before = cap_.text().size();
    PrintInheritanceTree(g());
    return cap_.text().substr(before);
  }
  CapturedG cap_;
};

TEST_F(InheritanceTreeTest, ChainPrintsDepthsChildrenAndStatistics) {
  AddClass(g(), "A");
  AddClass(g(), "B", "A");
  AddClass(g(), "C", "B");
  Build();
  std::string out = Print();
  EXPECT_TRUE(Has(out, "~~ Class Inheritance Tree ~~\n")) << out;
  EXPECT_TRUE(Has(out,
                  "\n  D - Depth where base class depth = 0\n"
                  "  C - Number of direct child classes\n"
                  "  P - Number of direct parents, Multiple Inheritance > 1\n"
                  "\n  + A [D0.C1]\n"
                  "    - B [D1.C1.P1]\n"
                  "      - C [D2.C0.P1]\n"
                  "\n  Total Classes        : 3\n"
                  "  Total Base Classes   : 1\n"
                  "  Total Derived Classes: 2\n"
                  "  Derived/Based Ratio  : 2.00  \n"
                  "\n  Maximum Depth of Inheritance: 2\n"
                  "  Average Depth of Inheritance: 1.00  \n"
                  "  Maximum Number of Direct Child Classes: 1\n"
                  "  Average Number of Direct Child Classes: 0.67  \n"))
      << out;
  EXPECT_FALSE(Has(out, "Parents Not Found"));
}

TEST_F(InheritanceTreeTest, ChainInCsvXmlAndHtml) {
  AddClass(g(), "A");
  AddClass(g(), "B", "A");
  AddClass(g(), "C", "B");
  Build();
  g().opt.csv_flag = 1;
  std::string csv = Print();
  EXPECT_TRUE(Has(csv,
                  "\nClass Inheritance Tree\n\nD - Depth where base class "
                  "depth = 0\n"))
      << csv;
  EXPECT_TRUE(Has(csv,
                  "\n'+ A,[D0.C1]\n,- B,[D1.C1.P1]\n,,- C,[D2.C0.P1]\n"
                  "Total Classes,3\nTotal Base Classes,1\n"
                  "Total Derived Classes,2\nDerived/Based Ratio,2.00  \n"))
      << csv;

  g().opt.csv_flag = 0;
  g().opt.xml_flag = 1;
  std::string xml = Print();
  EXPECT_EQ("", XmlNestingError(xml)) << xml;
  EXPECT_TRUE(Has(xml,
                  "<class>\n<name>B</name>\n<depth>1</depth>\n"
                  "<children>1</children>\n<parent>1</parent>\n</class>\n"))
      << xml;
  EXPECT_TRUE(Has(xml, "<derived_to_base_ratio>2.00</derived_to_base_ratio>\n"));

  g().opt.xml_flag = 0;
  g().opt.html_flag = 1;
  std::string html = Print();
  EXPECT_TRUE(Has(html,
                  "\n  <b>+ <font color=\"#FF3300\">A</font></b> "
                  "[<span><font color=\"#333300\">D0</font></span>."
                  "<span><font color=\"#CC6600\">C1</font></span>]<br />"))
      << html;
  EXPECT_TRUE(Has(html, "<b>-</b> C [<font color=\"#333300\">D2</font>."
                        "<font color=\"#CC6600\">C0</font>.P1]<br />"))
      << html;
  EXPECT_TRUE(Has(html, "  <b>Total Classes        :</b> 3\n"));
}

TEST_F(InheritanceTreeTest, TwoBasesHangUnderEachAndCountOnce) {
  AddClass(g(), "Left");
  AddClass(g(), "Right");
  AddClass(g(), "Both", "Left,Right");
  Build();
  std::string out = Print();
  EXPECT_TRUE(Has(out,
                  "\n  + Left [D0.C1]\n    - Both [D1.C0.P2]\n"
                  "\n  + Right [D0.C1]\n    - Both [D1.C0.P2]\n"))
      << out;
  EXPECT_TRUE(Has(out, "  Total Classes        : 3\n"
                       "  Total Base Classes   : 2\n"
                       "  Total Derived Classes: 1\n"))
      << out;
  // Sums count every place, the class count each name once: 2/3 each.
  EXPECT_TRUE(Has(out, "  Average Depth of Inheritance: 0.67  \n")) << out;
  EXPECT_TRUE(Has(out, "  Average Number of Direct Child Classes: 0.67  \n"));
}

TEST_F(InheritanceTreeTest, TemplateArgumentCommasDoNotSplitBases) {
  AddClass(g(), "Map<K,V>");
  AddClass(g(), "Cache", "Map<K,V>");
  Build();
  ASSERT_EQ(1u, g().tree.roots.size());
  EXPECT_EQ((V{"Cache"}), Names(g().tree.roots[0]->children));
  EXPECT_EQ(1, g().tree.roots[0]->children[0]->parent_count);
}

TEST_F(InheritanceTreeTest, LostParentsAndBaseDefinedAfterChildren) {
  AddClass(g(), "Widget", "QObject", "w.cc", 12);
  AddClass(g(), "Late", "Base");  // Base comes later in the list
  AddClass(g(), "Base");
  AddClass(g(), "Other");
  Build();
  // Only the class whose base was never seen is lost; the order of the
  // class list (the order the files were read in) does not matter.
  EXPECT_EQ((V{"Widget"}), Names(g().tree.lost));
  EXPECT_EQ((V{"Base", "Other"}), Names(g().tree.roots));
  EXPECT_EQ((V{"Late"}), Names(g().tree.roots[0]->children));

  std::string out = Print();
  EXPECT_TRUE(Has(out, "\n  + Base [D0.C1]\n    - Late [D1.C0.P1]\n"
                       "\n  + Other [D0.C0]\n")) << out;
  // Lost classes stay out of the statistics.
  EXPECT_TRUE(Has(out, "  Total Classes        : 3\n")) << out;
  EXPECT_TRUE(Has(out, "~~ Parents Not Found - Inheritance Tree ~~\n"
                       "  Lost Child Node: Widget  Parent: QObject\n"))
      << out;
  EXPECT_FALSE(Has(out, "Lost Child Node: Late")) << out;

  g().opt.xml_flag = 1;
  std::string xml = Print();
  EXPECT_EQ("", XmlNestingError(xml)) << xml;
  EXPECT_TRUE(Has(xml, "<parents_not_found_tree>\n<lost_child_node>\n"
                       "<name>Widget</name>\n<parent>QObject</parent>\n"));
}

// The same classes give the same tree in any list order.
TEST_F(InheritanceTreeTest, TreeDoesNotDependOnListOrder) {
  const std::vector<std::pair<std::string, std::string>> classes = {
      {"A", ""}, {"B", "A"}, {"C", "B"}, {"D", "B,X"}, {"E", "C,D"},
      {"X", ""}, {"ns::F", "C"}};
  auto tree_of = [&](std::vector<size_t> order) {
    CapturedG cap;
    for (size_t k : order)
      AddClass(cap.g(), classes[k].first, classes[k].second);
    BuildInheritanceTree(cap.g());
    PrintInheritanceTree(cap.g());
    return cap.text();
  };
  const std::string forward = tree_of({0, 1, 2, 3, 4, 5, 6});
  EXPECT_TRUE(Has(forward, "Total Classes        : 7\n")) << forward;
  EXPECT_FALSE(Has(forward, "Parents Not Found")) << forward;
  EXPECT_EQ(forward, tree_of({6, 5, 4, 3, 2, 1, 0}));
  EXPECT_EQ(forward, tree_of({4, 6, 2, 0, 3, 1, 5}));
}

// Classes that derive from each other end up lost, and the build ends.
TEST_F(InheritanceTreeTest, CycleOfBasesEnds) {
  AddClass(g(), "P", "Q");
  AddClass(g(), "Q", "P");
  AddClass(g(), "Self", "Self");
  AddClass(g(), "Root");
  Build();
  EXPECT_EQ((V{"Root"}), Names(g().tree.roots));
  EXPECT_EQ((V{"P", "Q", "Self"}), Names(g().tree.lost));
}

TEST_F(InheritanceTreeTest, LostNodeHoldsCopiesOfChildrenFoundElsewhere) {
  AddClass(g(), "X");
  // Mixed has one base in the tree and one nowhere: it stands in both
  // forests, and its children found in the tree are copied to the lost one.
  AddClass(g(), "Mixed", "X,Nowhere");
  AddClass(g(), "Kid", "Mixed");
  AddClass(g(), "Kid", "Mixed");  // the same class seen again
  Build();
  ASSERT_EQ((V{"Mixed"}), Names(g().tree.lost));
  EXPECT_EQ((V{"Kid"}), Names(g().tree.lost[0]->children));
  EXPECT_EQ(2, g().tree.lost[0]->children[0]->depth);
  EXPECT_EQ((V{"Kid", "Kid"}), Names(g().tree.roots[0]->children[0]->children));
}

TEST_F(InheritanceTreeTest, DuplicateRootReportedOnceAndDropped) {
  AddClass(g(), "Dup", "", "one.cc");
  AddClass(g(), "dup", "", "two.cc");
  std::string out = Build();
  EXPECT_EQ("  Error: Duplicate Root Node: dup - Inheritance \n", out);
  ASSERT_EQ(1u, g().tree.roots.size());
  EXPECT_EQ("one.cc", g().tree.roots[0]->file);
  // A second build does nothing.
  EXPECT_EQ(out, Build());
}

TEST_F(InheritanceTreeTest, UnqualifiedBaseResolvesInDerivedScopeFirst) {
  AddClass(g(), "ns::A");
  AddClass(g(), "A");
  AddClass(g(), "ns::B", "A");
  AddClass(g(), "pkg.Base");
  AddClass(g(), "pkg.Impl", "base");  // case ignored; found spelling used
  AddClass(g(), "::G");
  AddClass(g(), "other::C", "G");     // falls back to global scope
  AddClass(g(), "D", "ns::A");        // qualified bases are used as written
  Build();
  EXPECT_EQ((V{"::G", "A", "ns::A", "pkg.Base"}), Names(g().tree.roots));
  EXPECT_EQ((V{"other::C"}), Names(g().tree.roots[0]->children));
  EXPECT_TRUE(g().tree.roots[1]->children.empty());
  EXPECT_EQ((V{"D", "ns::B"}), Names(g().tree.roots[2]->children));
  EXPECT_EQ("ns::A", g().tree.roots[2]->children[1]->parent);
  ASSERT_EQ((V{"pkg.Impl"}), Names(g().tree.roots[3]->children));
  EXPECT_EQ("pkg.Base", g().tree.roots[3]->children[0]->parent);
}

TEST_F(InheritanceTreeTest, ChildrenSortedByNameAndAttachedToFirstPlace) {
  AddClass(g(), "R1");
  AddClass(g(), "R2");
  AddClass(g(), "M", "R2,R1");
  AddClass(g(), "b", "R1");
  AddClass(g(), "A", "R1");
  AddClass(g(), "Leaf", "M");  // M stands under R1 and R2: R1's M wins
  Build();
  const auto& r1 = g().tree.roots[0]->children;
  EXPECT_EQ((V{"A", "b", "M"}), Names(r1));
  EXPECT_EQ((V{"Leaf"}), Names(r1[2]->children));
  EXPECT_EQ(2, r1[2]->children[0]->depth);
  EXPECT_TRUE(g().tree.roots[1]->children[0]->children.empty());
}

TEST_F(InheritanceTreeTest, SkipsBadNamesAndEmptyBasePieces) {
  AddClass(g(), " blank");
  AddClass(g(), "");
  AddClass(g(), "ns::");     // a bare qualifier is no root
  AddClass(g(), "T", " ");   // a blank base list means no base
  AddClass(g(), "U", "T,");  // the empty piece is not a second base
  Build();
  EXPECT_EQ((V{"T"}), Names(g().tree.roots));
  EXPECT_EQ((V{"U"}), Names(g().tree.roots[0]->children));
  EXPECT_TRUE(g().tree.lost.empty());
}

TEST_F(InheritanceTreeTest, NoticesForDepthAndChildLimits) {
  std::vector<std::pair<int, int>> trace;
  g().notice_trace = &trace;
  g().cfg.max_inheritance_depth = 1;
  g().cfg.max_child_classes = 1;
  AddClass(g(), "A", "", "a.cc", 1);
  AddClass(g(), "B", "A", "a.cc", 2);
  AddClass(g(), "C", "A", "a.cc", 3);
  AddClass(g(), "D", "B", "a.cc", 4);
  Build();
  g().opt.totals_profile = 1;  // -Tp: no tree lines, the notices still come
  std::string out = Print();
  EXPECT_EQ((std::vector<std::pair<int, int>>{{41, 1}, {40, 4}}), trace);
  EXPECT_FALSE(Has(out, "+ A")) << out;
  EXPECT_FALSE(Has(out, "Total Classes")) << out;
}

TEST_F(InheritanceTreeTest, NothingPrintedWithoutClassesOrRoots) {
  BuildInheritanceTree(g());
  EXPECT_EQ("", Print());
  AddClass(g(), "Orphan", "Missing");
  g().tree.Clear();
  BuildInheritanceTree(g());
  EXPECT_TRUE(g().tree.roots.empty());
  EXPECT_EQ("", Print());
}

TEST_F(InheritanceTreeTest, DeepChainWalksAndFreesWithoutRecursion) {
  // Deep enough that a recursive walk or a recursive free of the nodes
  // would run out of stack.
  const int n = 200000;
  g().cfg.max_inheritance_depth = n;
  g().opt.totals_profile = 1;
  // Listed derived first, so that ordering the bases first has to walk
  // the whole chain.
  for (int i = n - 1; i >= 1; --i)
    AddClass(g(), "C" + std::to_string(i), "C" + std::to_string(i - 1));
  AddClass(g(), "C0");
  Build();
  Print();
  EXPECT_EQ(n - 1, g().tree.depth_max);
  EXPECT_EQ(1, g().tree.child_max);
  EXPECT_EQ(n - 1, g().tree.derived);
  g().tree.Clear();
  EXPECT_TRUE(g().tree.root_index.empty());
}

}  // namespace
}  // namespace vek
