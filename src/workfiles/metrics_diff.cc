#include "workfiles/metrics_diff.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/text.h"
#include "config/config.h"
#include "driver/state.h"
#include "reports/output.h"
#include "workfiles/atomic_file.h"

namespace vek {

const char* const kStateLabels[kDiffStates] = {"Unp", "Equ", "Mod", "Dif",
                                               "Rem", "New", "Prc", "Tot"};

const MetricInfo kMetricInfo[kDiffMetrics] = {
    {kItemLoc, &MetricsEntry::loc},
    {kItemEloc, &MetricsEntry::eloc},
    {kItemLloc, &MetricsEntry::lloc},
    {kItemComments, &MetricsEntry::comments},
    {kItemBlanks, &MetricsEntry::blanks},
    {kItemLines, &MetricsEntry::lines},
    {kItemFunctions, &MetricsEntry::functions},
    {kItemCyclomatic, &MetricsEntry::cyclomatic},
    {kItemInterface, &MetricsEntry::interface_complexity},
    {kItemTotalComplexity, &MetricsEntry::total_complexity},
    {kItemNotices, &MetricsEntry::notices},
};

namespace {

void AddCounts(DiffSums& sums, const MetricsEntry& e) {
  ++sums.files;
  for (int m = 0; m < kDiffMetrics; ++m) sums.metric[m] += e.*kMetricInfo[m].field;
  sums.size += e.size;
}

void AddDifference(DiffSums& sums, const MetricsEntry& e) {
  for (int m = 0; m < kDiffMetrics; ++m) sums.metric[m] += e.*kMetricInfo[m].field;
  sums.size += e.size;
}

std::string LowerName(const std::string& name) { return Lower(name); }

// The newer entries by name, for matching in constant time per file.
class NewerIndex {
 public:
  NewerIndex(const List<MetricsEntry>& newer, bool case_sensitive)
      : case_sensitive_(case_sensitive) {
    entries_.reserve(newer.count());
    for (const auto& e : newer) entries_.push_back(e.get());
    exact_.reserve(entries_.size());
    // Walking backwards leaves the first of equal names in the map.
    for (size_t i = entries_.size(); i-- > 0;) {
      exact_[entries_[i]->name] = i;
      if (!case_sensitive_) folded_[LowerName(entries_[i]->name)].push_back(i);
    }
    for (auto& [name, list] : folded_) std::reverse(list.begin(), list.end());
  }

  // The first unmatched newer entry with exactly this name, or null.
  MetricsEntry* Exact(const std::string& name) const {
    auto it = exact_.find(name);
    if (it == exact_.end()) return nullptr;
    // Equal names in one work file: the first one not yet matched.
    for (size_t i = it->second;
         i < entries_.size() && entries_[i]->name == name; ++i)
      if (entries_[i]->state == kStateUnprocessed) return entries_[i];
    return nullptr;
  }

  // The first unmatched newer entry whose name differs only in case.
  MetricsEntry* Folded(const std::string& name) const {
    if (case_sensitive_) return nullptr;
    auto it = folded_.find(LowerName(name));
    if (it == folded_.end()) return nullptr;
    for (size_t i : it->second)
      if (entries_[i]->state == kStateUnprocessed) return entries_[i];
    return nullptr;
  }

 private:
  bool case_sensitive_;
  std::vector<MetricsEntry*> entries_;
  std::unordered_map<std::string_view, size_t> exact_;
  std::unordered_map<std::string, std::vector<size_t>> folded_;
};

// A differential entry with the deltas of a matched file.
void FillDeltas(MetricsEntry& d, const MetricsEntry& o, const MetricsEntry& n) {
  for (int m = 0; m < kDiffMetrics; ++m)
    d.*kMetricInfo[m].field = n.*kMetricInfo[m].field - o.*kMetricInfo[m].field;
  d.size = n.size - o.size;
}

// The deltas of a matched file from its compared lines (-wd).
void FillLineDeltas(MetricsEntry& d, const MetricsEntry& o,
                    const MetricsEntry& n, const LineCounts& c,
                    bool removed_as_modified) {
  FillDeltas(d, o, n);  // complexity, notices, functions and size
  const int* ch = c.changed;
  const int* rm = c.removed;
  if (removed_as_modified) {
    d.lloc = ch[kLineLogical] + rm[kLineLogical];
    d.loc = ch[kLineCode] + rm[kLineCode] + ch[kLineNonEffective] +
            rm[kLineNonEffective] + d.lloc;
    d.eloc = d.loc - ch[kLineNonEffective] - rm[kLineNonEffective];
    d.comments = ch[kLineComment] + rm[kLineComment];
    d.blanks = ch[kLineBlank] + rm[kLineBlank];
  } else {
    d.lloc = ch[kLineLogical];
    d.loc = ch[kLineCode] + ch[kLineNonEffective] + ch[kLineLogical];
    d.eloc = d.loc - ch[kLineNonEffective];
    d.comments = ch[kLineComment];
    d.blanks = ch[kLineBlank];
  }
  d.lines = d.loc + d.comments + d.blanks;
}

// The equal lines of a compared file (-wd).
void FillEqualLines(MetricsEntry& d, const LineCounts& c) {
  const int* eq = c.equal;
  d.loc = eq[kLineCode] + eq[kLineNonEffective] + eq[kLineLogical];
  d.eloc = eq[kLineCode] + eq[kLineLogical];
  d.lloc = eq[kLineLogical];
  d.comments = eq[kLineComment];
  d.blanks = eq[kLineBlank];
  d.lines = d.loc + d.comments + d.blanks;
}

bool AnyMetricChanged(const MetricsEntry& d) {
  for (const MetricInfo& m : kMetricInfo)
    if (d.*m.field != 0) return true;
  return false;
}

int CompareNamesBytes(const MetricsEntry& a, const MetricsEntry& b,
                      bool descending) {
  int c = a.name.compare(b.name);
  return descending ? -c : c;
}

}  // namespace

bool CompareBaselines(const List<MetricsEntry>& older,
                      List<MetricsEntry>& newer, List<MetricsEntry>& out,
                      const DiffItems& items, const DiffOptions& opt,
                      WorkFileState& w, G* g) {
  for (const auto& e : newer) e->state = kStateUnprocessed;
  NewerIndex index(newer, opt.case_sensitive);

  // Exact names pair first, so that Main.c and main.c in both baselines
  // each find their own file when case does not count.
  std::vector<MetricsEntry*> match(older.count(), nullptr);
  size_t i = 0;
  for (const auto& o : older) {
    if (MetricsEntry* n = index.Exact(o->name)) {
      n->state = kStateProcessed;
      match[i] = n;
    }
    ++i;
  }
  if (!opt.case_sensitive) {
    i = 0;
    for (const auto& o : older) {
      if (match[i] == nullptr)
        if (MetricsEntry* n = index.Folded(o->name)) {
          n->state = kStateProcessed;
          match[i] = n;
        }
      ++i;
    }
  }

  std::vector<std::unique_ptr<MetricsEntry>> rows;
  bool ok = true;
  auto add = [&](int state, bool hidden) -> MetricsEntry* {
    std::unique_ptr<MetricsEntry> d(new (std::nothrow) MetricsEntry);
    if (!d) return nullptr;
    try {
      rows.push_back(std::move(d));
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
    MetricsEntry* e = rows.back().get();
    e->state = state;
    if (hidden) e->extra[kHiddenSlot] = kHiddenMark;
    return e;
  };

  i = 0;
  for (const auto& op : older) {
    const MetricsEntry& o = *op;
    MetricsEntry* n = match[i++];
    if (n != nullptr) {
      MetricsEntry delta;
      LineCounts lines;
      if (opt.code_diff) {
        if (w.compare_lines && g != nullptr) w.compare_lines(*g, o, *n, lines);
        FillLineDeltas(delta, o, *n, lines, opt.removed_as_modified);
      } else {
        FillDeltas(delta, o, *n);
      }
      AddCounts(w.older, o);
      AddCounts(w.newer, *n);
      if (AnyMetricChanged(delta)) {
        AddDifference(w.difference, delta);
        MetricsEntry* d = add(kStateModified, opt.skip_modified);
        if (d == nullptr) { ok = false; break; }
        std::string name = n->name;
        *d = delta;
        d->name = name;
        d->state = kStateModified;
        if (opt.skip_modified) d->extra[kHiddenSlot] = kHiddenMark;
        d->time = n->time;
        d->change_percent = static_cast<float>(
            o.eloc > 0 ? static_cast<double>(delta.eloc) / o.eloc * 100.0 : 100.0);
        if (opt.code_diff) {
          MetricsEntry* q = add(kStateEqual, opt.skip_equal);
          if (q == nullptr) { ok = false; break; }
          q->name = name;
          FillEqualLines(*q, lines);
          q->size = delta.size;
          q->time = n->time;
        }
      } else {
        w.difference.size += delta.size;
        MetricsEntry* q = add(kStateEqual, opt.skip_equal);
        if (q == nullptr) { ok = false; break; }
        q->name = n->name;
        q->size = delta.size;
        q->time = n->time;
        if (opt.code_diff) {
          FillEqualLines(*q, lines);
          q->cyclomatic = n->cyclomatic;
          q->notices = n->notices;
          q->interface_complexity = n->interface_complexity;
          q->total_complexity = n->total_complexity;
          q->functions = n->functions;
        }
      }
      continue;
    }
    // Removed: the older values count for or against the totals by the
    // item's plus setting.
    AddCounts(w.older, o);
    MetricsEntry* d = add(kStateRemoved, opt.skip_removed);
    if (d == nullptr) { ok = false; break; }
    d->name = o.name;
    d->time = o.time;
    for (const MetricInfo& m : kMetricInfo) {
      int v = items.plus(m.item) ? o.*m.field : -(o.*m.field);
      d->*m.field = v;
      w.difference.metric[&m - kMetricInfo] += v;
    }
    d->size = items.plus(kItemLoc) ? o.size : -o.size;
    w.difference.size += d->size;
    d->change_percent = items.plus(kItemElocPercent) ? 100.0f : -100.0f;
  }

  if (ok) {
    for (const auto& np : newer) {
      MetricsEntry& n = *np;
      if (n.state != kStateUnprocessed) continue;
      AddCounts(w.newer, n);
      AddDifference(w.difference, n);
      MetricsEntry* d = add(kStateNew, opt.skip_new);
      if (d == nullptr) { ok = false; break; }
      std::string name = n.name;
      *d = n;
      d->name = name;
      d->text5.clear();
      d->state = kStateNew;
      d->extra[kHiddenSlot] = opt.skip_new ? kHiddenMark : 0;
      d->change_percent = 100.0f;
    }
  }

  std::stable_sort(rows.begin(), rows.end(),
                   [](const std::unique_ptr<MetricsEntry>& a,
                      const std::unique_ptr<MetricsEntry>& b) {
                     return CompareNamesBytes(*a, *b, false) < 0;
                   });
  for (auto& row : rows)
    if (out.list_append(std::move(row)) == nullptr) return false;
  return ok;
}

double PercentChange(long long newer, long long older) {
  if (older <= 0) return 0.0;
  return static_cast<double>(newer - older) / static_cast<double>(older) * 100.0;
}

WorkTime ComputeWorkTime(double delta, const Config& c) {
  auto div = [](double a, double b) { return b != 0.0 ? a / b : 0.0; };
  WorkTime t;
  t.delta_seconds = delta;
  t.calendar_days = delta / 86400.0;
  t.work_days = div(delta, 24.0 * c.work_seconds_per_hour) *
                (c.work_days_per_week / 7.0);
  t.man_hours = t.work_days * c.work_hours_per_shift * c.work_shifts_per_day;
  t.man_days = div(t.man_hours, c.work_hours_per_man_day);
  t.man_weeks = div(t.man_hours, c.work_hours_per_man_week);
  t.man_months = div(t.man_hours, c.work_hours_per_man_month);
  t.man_years = div(t.man_hours, c.work_hours_per_man_year);
  return t;
}

Dhms SplitSeconds(double delta) {
  long long s = static_cast<long long>(delta);
  Dhms d;
  d.days = s / 86400;
  long long rest = s % 86400;
  d.hours = static_cast<int>(rest / 3600);
  rest %= 3600;
  d.minutes = static_cast<int>(rest / 60);
  d.seconds = static_cast<int>(rest % 60);
  return d;
}

std::string DhmsText(const Dhms& d) {
  char text[64];
  snprintf(text, sizeof text, "%lld:%02d:%02d:%02d", d.days, d.hours,
           d.minutes, d.seconds);
  return text;
}

int load_diff_items(const std::string& path, DiffItems& items, G& g) {
  if (path.empty()) {
    ShowAllItems(items);
    return 0;
  }
  FILE* in = fopen(path.c_str(), "rb");
  if (in == nullptr && errno == ENOENT) {
    ShowAllItems(items);
    // A first run leaves the default file for the user to edit.
    AtomicFile out;
    if (out.Open(path)) {
      fputs(kDefaultWorkDiffConfig, out.stream());
      out.Commit();
    }
    return 0;
  }
  std::string text;
  bool read_ok = in != nullptr;
  int err = errno;
  if (in != nullptr) {
    char block[4096];
    size_t n;
    while ((n = fread(block, 1, sizeof block, in)) > 0) text.append(block, n);
    if (ferror(in)) {
      read_ok = false;
      err = errno;
    }
    fclose(in);
  }
  if (!read_ok) {
    Out(g,
        "\n  Error: Cannot read the differential configuration file\n"
        "         %s\n         %s\n         Every metric is shown\n",
        EscapeFor(g, path).c_str(), strerror(err));
    ++g.workfile.input_faults;
    ShowAllItems(items);
    return 0;
  }
  ParseDiffItems(text, items);
  return 1;
}

}  // namespace vek
