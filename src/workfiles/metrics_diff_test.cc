#include "workfiles/metrics_diff.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "common/text.h"
#include "config/config.h"
#include "reports/capture_test_util.h"
#include "reports/report_test_util.h"
#include "workfiles/workfiles_test_util.h"

namespace vek {
namespace {

std::unique_ptr<MetricsEntry> File(const std::string& name, int loc,
                                   int size = 1000) {
  auto e = std::make_unique<MetricsEntry>();
  e->name = name;
  e->size = size;
  e->loc = loc;
  e->eloc = loc;
  e->lloc = loc / 2;
  e->lines = loc + 10;
  e->cyclomatic = 3;
  e->interface_complexity = 2;
  e->total_complexity = 5;
  e->functions = 1;
  return e;
}

DiffItems DefaultItems() {
  DiffItems items;
  ShowAllItems(items);
  return items;
}

struct Diff {
  List<MetricsEntry> older, newer, out;
  WorkFileState w;
  DiffOptions options;
  DiffItems items = DefaultItems();

  void Run() { ASSERT_TRUE(CompareBaselines(older, newer, out, items, options, w, nullptr)); }
  const MetricsEntry& Row(size_t i) const { return *out.list_at(i); }
};

TEST(CompareBaselines, IdenticalBaselinesAreAllEqual) {
  Diff d;
  for (auto* list : {&d.older, &d.newer}) {
    list->list_append(File("a.c", 10));
    list->list_append(File("b.c", 20));
  }
  d.Run();
  ASSERT_EQ(2u, d.out.count());
  for (const auto& e : d.out) {
    EXPECT_EQ(kStateEqual, e->state);
    EXPECT_EQ(0, e->loc);
    EXPECT_EQ(0.0f, e->change_percent);
  }
  for (long long v : d.w.difference.metric) EXPECT_EQ(0, v);
  EXPECT_EQ(2, d.w.older.files);
  EXPECT_EQ(2, d.w.newer.files);
  EXPECT_EQ(30, d.w.newer.metric[kMetricLoc]);
  EXPECT_LT(ComputeWorkTime(0.0, Config()).man_hours, 1.0);
}

TEST(CompareBaselines, SizeOnlyChangeIsEqualButItsSizeCounts) {
  Diff d;
  d.older.list_append(File("a.c", 10, 1000));
  d.newer.list_append(File("a.c", 10, 1040));
  d.Run();
  ASSERT_EQ(1u, d.out.count());
  EXPECT_EQ(kStateEqual, d.Row(0).state);
  EXPECT_EQ(40, d.Row(0).size);
  EXPECT_EQ(40, d.w.difference.size);
}

TEST(CompareBaselines, RemovedFileCountsByItsPlusSetting) {
  for (int plus : {0, 1}) {
    Diff d;
    d.items.item[kItemLoc].plus = plus;
    d.older.list_append(File("gone.c", 100, 500));
    d.Run();
    ASSERT_EQ(1u, d.out.count());
    const MetricsEntry& e = d.Row(0);
    EXPECT_EQ(kStateRemoved, e.state);
    EXPECT_EQ(plus ? 100 : -100, e.loc);
    EXPECT_EQ(plus ? 100 : -100, d.w.difference.metric[kMetricLoc]);
    EXPECT_EQ(-100, e.eloc);  // eLOC keeps its own (default) setting
    EXPECT_EQ(plus ? 500 : -500, d.w.difference.size);
    EXPECT_EQ(-100.0f, e.change_percent);
    EXPECT_EQ(1, d.w.older.files);
    EXPECT_EQ(0, d.w.newer.files);
  }
}

TEST(CompareBaselines, ModifiedFileWithoutOlderEffectiveLinesIsAHundredPercent) {
  Diff d;
  auto old_file = File("a.c", 0);
  d.older.list_append(std::move(old_file));
  d.newer.list_append(File("a.c", 8));
  d.older.list_append(File("b.c", 40));
  d.newer.list_append(File("b.c", 50));
  d.Run();
  EXPECT_EQ(kStateModified, d.Row(0).state);
  EXPECT_FLOAT_EQ(100.0f, d.Row(0).change_percent);
  EXPECT_EQ(8, d.Row(0).loc);
  EXPECT_FLOAT_EQ(25.0f, d.Row(1).change_percent);
  EXPECT_EQ(18, d.w.difference.metric[kMetricLoc]);
}

TEST(CompareBaselines, NamesMatchWithoutCaseUnlessCaseCounts) {
  for (bool sensitive : {false, true}) {
    Diff d;
    d.options.case_sensitive = sensitive;
    d.older.list_append(File("Main.c", 10));
    d.newer.list_append(File("main.c", 10));
    d.Run();
    if (sensitive) {
      ASSERT_EQ(2u, d.out.count());
      EXPECT_EQ(kStateRemoved, d.Row(0).state);
      EXPECT_EQ(kStateNew, d.Row(1).state);
    } else {
      ASSERT_EQ(1u, d.out.count());
      EXPECT_EQ(kStateEqual, d.Row(0).state);
      EXPECT_EQ("main.c", d.Row(0).name);
    }
  }
}

TEST(CompareBaselines, EachNewerFileIsMatchedOnce) {
  // Main.c and main.c in both baselines pair by their exact names; a name
  // that only differs in case does not take a file twice.
  Diff d;
  d.older.list_append(File("Main.c", 10));
  d.older.list_append(File("main.c", 20));
  d.older.list_append(File("X.c", 5));
  d.newer.list_append(File("Main.c", 10));
  d.newer.list_append(File("main.c", 20));
  d.Run();
  ASSERT_EQ(3u, d.out.count());
  EXPECT_EQ(kStateEqual, d.Row(0).state);
  EXPECT_EQ(kStateRemoved, d.Row(1).state);
  EXPECT_EQ(kStateEqual, d.Row(2).state);
  EXPECT_EQ(2, d.w.newer.files);
}

TEST(CompareBaselines, ExcludedStatesAreCountedButHidden) {
  Diff d;
  d.options = {false, false, false, true, true, true, true};
  d.older.list_append(File("eq.c", 1));
  d.older.list_append(File("mod.c", 1));
  d.older.list_append(File("rem.c", 1));
  d.newer.list_append(File("eq.c", 1));
  d.newer.list_append(File("mod.c", 2));
  d.newer.list_append(File("new.c", 1));
  d.Run();
  ASSERT_EQ(4u, d.out.count());
  for (const auto& e : d.out) EXPECT_TRUE(IsHidden(*e)) << e->name;
  EXPECT_EQ(3, d.w.older.files);
  EXPECT_EQ(3, d.w.newer.files);
}

// The matching checked against a plain model: a map of names and a
// quadratic search.
TEST(CompareBaselines, AgreesWithASimpleModelOnRandomBaselines) {
  std::mt19937 random(7);
  for (int round = 0; round < 20; ++round) {
    Diff d;
    std::map<std::string, int> older, newer;
    for (int i = 0; i < 200; ++i) {
      std::string name = "f" + std::to_string(random() % 300) + ".c";
      int loc = static_cast<int>(random() % 4);
      if (random() % 2) {
        if (older.emplace(name, loc).second) d.older.list_append(File(name, loc));
      } else if (newer.emplace(name, loc).second) {
        d.newer.list_append(File(name, loc));
      }
    }
    d.older.StableSort([](const MetricsEntry& a, const MetricsEntry& b, bool) {
      return a.name.compare(b.name);
    }, false);
    d.Run();
    int equal = 0, modified = 0, removed = 0, added = 0;
    long long loc = 0;
    for (const auto& [name, value] : older) {
      auto it = newer.find(name);
      if (it == newer.end()) {
        ++removed;
        loc -= value;
      } else if (it->second == value) {
        ++equal;
      } else {
        ++modified;
        loc += it->second - value;
      }
    }
    for (const auto& [name, value] : newer)
      if (!older.count(name)) {
        ++added;
        loc += value;
      }
    int states[kDiffStates] = {};
    for (const auto& e : d.out) ++states[e->state];
    EXPECT_EQ(equal, states[kStateEqual]);
    EXPECT_EQ(modified, states[kStateModified]);
    EXPECT_EQ(removed, states[kStateRemoved]);
    EXPECT_EQ(added, states[kStateNew]);
    EXPECT_EQ(loc, d.w.difference.metric[kMetricLoc]);
    for (size_t i = 1; i < d.out.count(); ++i)
      EXPECT_LT(d.out.list_at(i - 1)->name, d.out.list_at(i)->name);
  }
}

TEST(DiffItems, ConfigurationLines) {
  DiffItems items;
  ParseDiffItems("", items);
  for (int n = 0; n < kDataFields; ++n) EXPECT_FALSE(items.shown(n));
  ParseDiffItems(kDefaultWorkDiffConfig, items);
  EXPECT_TRUE(items.shown(kItemLoc));
  EXPECT_TRUE(items.shown(kItemElocPercent));
  EXPECT_FALSE(items.plus(kItemLoc));
  EXPECT_FALSE(items.shown(kItemLines - 1));
  ParseDiffItems("  LOC_COUNT off -\n\tELOC_COUNT on +\nNO_SUCH_ITEM ON +\n"
                 "# LLOC_COUNT ON +\nloc_count ON +\nUNKNOWN_DATA_FIELD ON +\n"
                 "CYCLOMATIC_COMPLEXITY ON",
                 items);
  EXPECT_FALSE(items.shown(kItemLoc));
  EXPECT_TRUE(items.shown(kItemEloc));
  EXPECT_TRUE(items.plus(kItemEloc));
  EXPECT_FALSE(items.shown(kItemLloc));
  EXPECT_FALSE(items.shown(0));
  EXPECT_TRUE(items.shown(kItemCyclomatic));
  EXPECT_FALSE(items.plus(kItemCyclomatic));
}

TEST(DiffItems, MissingFileIsWrittenWithTheDefaults) {
  ScratchDir dir;
  CapturedG captured;
  DiffItems items;
  std::string path = dir / "vek_workdiff.cfg";
  EXPECT_EQ(0, load_diff_items(path, items, captured.g()));
  EXPECT_TRUE(items.shown(kItemLoc));
  EXPECT_TRUE(items.shown(kItemLines - 1));  // every item, not only the default
  EXPECT_EQ(kDefaultWorkDiffConfig, ReadText(path));
  EXPECT_EQ(1, load_diff_items(path, items, captured.g()));
  EXPECT_FALSE(items.shown(kItemLines - 1));
  EXPECT_EQ("", captured.text());
}

TEST(DiffItems, UnreadableFileIsNamedAndLeftAlone) {
  ScratchDir dir;
  CapturedG captured;
  DiffItems items;
  // A folder cannot be read as a file, whoever runs the test.
  EXPECT_EQ(0, load_diff_items(dir.path(), items, captured.g()));
  EXPECT_TRUE(Has(captured.text(), dir.path()));
  EXPECT_TRUE(Has(captured.text(), "Cannot read the differential configuration"));
  EXPECT_EQ(1, captured.g().workfile.input_faults);
  EXPECT_TRUE(items.shown(kItemLoc));
}

TEST(WorkTime, BasisOfZeroNeverDividesByZero) {
  Config c;
  WorkTime t = ComputeWorkTime(7 * 86400.0, c);
  EXPECT_DOUBLE_EQ(7.0, t.calendar_days);
  EXPECT_DOUBLE_EQ(5.0, t.work_days);
  EXPECT_DOUBLE_EQ(40.0, t.man_hours);
  EXPECT_DOUBLE_EQ(1.0, t.man_weeks);
  c.work_seconds_per_hour = 0;
  c.work_hours_per_man_day = 0;
  t = ComputeWorkTime(86400.0, c);
  EXPECT_EQ(0.0, t.work_days);
  EXPECT_EQ(0.0, t.man_days);
  EXPECT_EQ("1:01:01:01", DhmsText(SplitSeconds(90061.0)));
  EXPECT_EQ("0:00:00:00", DhmsText(SplitSeconds(0.0)));
  EXPECT_DOUBLE_EQ(-50.0, PercentChange(5, 10));
  EXPECT_EQ(0.0, PercentChange(5, 0));
}

}  // namespace
}  // namespace vek
