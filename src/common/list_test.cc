#include "common/list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/metrics_entry.h"

namespace vek {
namespace {

std::unique_ptr<MetricsEntry> Entry(const std::string& name, int loc = 0) {
  auto e = std::make_unique<MetricsEntry>();
  e->name = name;
  e->loc = loc;
  return e;
}

std::vector<std::string> Names(const List<MetricsEntry>& list) {
  std::vector<std::string> names;
  list.list_visit([&](const MetricsEntry& e) { names.push_back(e.name); });
  return names;
}

int ByLoc(const MetricsEntry& a, const MetricsEntry& b, bool descending) {
  return CompareNumbers(a.loc, b.loc, descending);
}

TEST(List, SortedByNameAscendingAndDescending) {
  List<MetricsEntry> up, down;
  for (const char* n : {"B", "a", "C"}) {
    up.list_insert_sorted(Entry(n), CompareByName, false);
    down.list_insert_sorted(Entry(n), CompareByName, true);
  }
  EXPECT_EQ((std::vector<std::string>{"a", "B", "C"}), Names(up));
  EXPECT_EQ((std::vector<std::string>{"C", "B", "a"}), Names(down));
}

TEST(List, EqualNameGoesInFrontOfExisting) {
  List<MetricsEntry> list;
  list.list_insert_sorted(Entry("x", 1), CompareByName, false);
  list.list_insert_sorted(Entry("X", 2), CompareByName, false);
  ASSERT_EQ(2u, list.count());
  EXPECT_EQ(2, list.list_at(0)->loc);
  EXPECT_EQ(1, list.list_at(1)->loc);
}

TEST(List, InsertUniqueRefusesEqualName) {
  List<MetricsEntry> list;
  EXPECT_TRUE(list.list_insert_unique(Entry("main"), CompareByName, false));
  EXPECT_TRUE(list.list_insert_unique(Entry("alpha"), CompareByName, false));
  EXPECT_FALSE(list.list_insert_unique(Entry("MAIN"), CompareByName, false));
  EXPECT_EQ((std::vector<std::string>{"alpha", "main"}), Names(list));
}

TEST(List, NumbersNeverCompareEqual) {
  // A new entry goes in front of entries with the same value, both ways.
  List<MetricsEntry> up, down;
  for (auto [name, loc] : std::vector<std::pair<const char*, int>>{
           {"first", 5}, {"second", 5}, {"small", 1}, {"big", 9}}) {
    up.list_insert_sorted(Entry(name, loc), ByLoc, false);
    down.list_insert_sorted(Entry(name, loc), ByLoc, true);
  }
  EXPECT_EQ((std::vector<std::string>{"small", "second", "first", "big"}),
            Names(up));
  EXPECT_EQ((std::vector<std::string>{"big", "second", "first", "small"}),
            Names(down));
  EXPECT_EQ(-1, CompareNumbers(3, 3, false));
  EXPECT_EQ(-1, CompareNumbers(3, 3, true));
}

TEST(List, WithoutComparisonAppends) {
  List<MetricsEntry> list;
  list.list_insert_sorted(Entry("z"), nullptr, false);
  list.list_insert_sorted(Entry("a"), nullptr, false);
  EXPECT_EQ((std::vector<std::string>{"z", "a"}), Names(list));
}

TEST(List, AtFindAndFree) {
  List<MetricsEntry> list;
  EXPECT_EQ(nullptr, list.list_at(0));
  list.list_free();  // freeing an empty list does nothing
  list.list_append(Entry("one"));
  list.list_append(Entry("two"));
  EXPECT_EQ(nullptr, list.list_at(2));
  MetricsEntry key;
  key.name = "TWO";
  ASSERT_NE(nullptr, list.list_find(key, CompareByName));
  EXPECT_EQ("two", list.list_find(key, CompareByName)->name);
  key.name = "three";
  EXPECT_EQ(nullptr, list.list_find(key, CompareByName));
  list.list_free();
  EXPECT_EQ(0u, list.count());
}

TEST(List, SpliceJoinsInOrder) {
  List<MetricsEntry> headers, sources;
  headers.list_append(Entry("a.h"));
  sources.list_append(Entry("a.c"));
  sources.list_append(Entry("b.c"));
  headers.Splice(sources);
  EXPECT_EQ((std::vector<std::string>{"a.h", "a.c", "b.c"}), Names(headers));
  EXPECT_TRUE(sources.empty());
}

TEST(List, AppendNullIsRefused) {
  List<MetricsEntry> list;
  EXPECT_EQ(nullptr, list.list_append(nullptr));
  EXPECT_EQ(0u, list.count());
}

}  // namespace
}  // namespace vek
