#include "reports/function_records.h"

#include <cerrno>
#include <new>
#include <utility>

#include "analysis/function_state.h"
#include "common/text.h"
#include "driver/state.h"

namespace vek {

namespace {

constexpr const char* kSortKeyNames[kSortKeys] = {
    "No Sort Method", "Name",      "LOC",
    "eLOC",           "lLOC",      "Cylcomatic Complexity",
    "Work State",     "Function Count", "Quality Notice Count",
    "File Date",      "File Size",
};

long long KeyValue(const MetricsEntry& e, int key) {
  switch (key) {
    case kSortLoc: return e.loc;
    case kSortEloc: return e.eloc;
    case kSortLloc: return e.lloc;
    case kSortCyclomatic: return e.cyclomatic;
    case kSortWorkState: return e.state;
    case kSortFunctionCount: return e.functions;
    case kSortNoticeCount: return e.notices;
    case kSortFileDate: return e.time;
    case kSortFileSize: return e.size;
    default: return 0;
  }
}

long long KeyValue(const FileRecord& r, int key) {
  switch (key) {
    case kSortLoc: return r.loc;
    case kSortEloc: return r.eloc;
    case kSortLloc: return r.lloc;
    case kSortCyclomatic: return r.cyclomatic;
    case kSortFunctionCount: return r.functions;
    case kSortNoticeCount: return r.notices;
    case kSortFileDate: return r.mtime;
    case kSortFileSize: return r.size;
    default: return 0;  // files have no work state
  }
}

// Three-way comparison of two elements by key K.  For the sorted insert a
// nameless element never compares greater, so it stops the walk where it
// stands.  For re-sorting that rule is no ordering at all, so there a
// missing name simply sorts as the smallest name.
template <class T, int K, bool kForInsert>
int CompareKey(const T& a, const T& b, bool descending) {
  const T& x = descending ? b : a;
  const T& y = descending ? a : b;
  if constexpr (K == kSortName) {
    if (kForInsert && (a.name.empty() || b.name.empty())) return -1;
    return CaseCompare(x.name, y.name);
  } else {
    long long u = KeyValue(x, K);
    long long v = KeyValue(y, K);
    return u < v ? -1 : (u > v ? 1 : 0);
  }
}

template <class T, bool kForInsert, int... K>
Compare<T> KeyCompareOf(int key, std::integer_sequence<int, K...>) {
  static constexpr Compare<T> kTable[] = {&CompareKey<T, K, kForInsert>...};
  if (key <= kSortNone || key >= kSortKeys) return nullptr;
  return kTable[key];
}

template <class T, bool kForInsert>
Compare<T> KeyCompare(int key) {
  return KeyCompareOf<T, kForInsert>(key,
                                     std::make_integer_sequence<int, kSortKeys>());
}

template <class T>
void SortBy(List<T>& list, int key, const G& g) {
  Compare<T> cmp = KeyCompare<T, false>(key);
  if (cmp != nullptr) list.StableSort(cmp, g.opt.sort_descending != 0);
}


void FillRecord(MetricsEntry& e, const FunctionMeasure& m) {
  e.name = m.name;
  e.text2 = m.parameters;
  e.text3 = m.templ;
  e.text4 = m.file;
  e.loc = m.loc;
  e.eloc = m.eloc;
  e.lloc = m.lloc;
  e.comments = m.comments;
  e.blanks = m.blanks;
  e.lines = FunctionLines(m);
  e.cyclomatic = m.cyclomatic;
  e.interface_complexity = m.params + m.returns;
  e.total_complexity = e.interface_complexity + m.cyclomatic;
  e.functions = 1;
  e.extra[kFnLine] = m.end_line;
  e.extra[kFnParams] = m.params;
  e.extra[kFnReturns] = m.returns;
  e.extra[kFnStartLine] = m.start_line;
}

}  // namespace

const char* SortKeyName(int key) {
  return key > kSortNone && key < kSortKeys ? kSortKeyNames[key]
                                            : kSortKeyNames[kSortNone];
}

int FunctionLines(const FunctionMeasure& m) {
  if (m.start_line > 0 && m.end_line >= m.start_line)
    return m.end_line - m.start_line + 1;
  return m.lines;
}

MetricsEntry* InsertSorted(List<MetricsEntry>& list,
                           std::unique_ptr<MetricsEntry> entry, int key,
                           bool descending) {
  return list.list_insert_sorted(std::move(entry),
                                 KeyCompare<MetricsEntry, true>(key),
                                 descending);
}

void SortList(List<MetricsEntry>& list, int key, const G& g) {
  SortBy(list, key, g);
}

void SortList(List<FileRecord>& list, int key, const G& g) {
  SortBy(list, key, g);
}

void OrderRecordedFunctions(List<MetricsEntry>& list, int key, const G& g) {
  if (KeyCompare<MetricsEntry, false>(key) == nullptr) return;
  // A sorted insert puts each function in front of the equal ones already
  // there, so equal functions end up latest first.  Reversing the recording
  // order and sorting stably gives that same order in O(n log n).  For
  // names the insert also stops at any nameless function; the stable sort
  // that follows moves every nameless one to the front regardless, so only
  // the order among equals matters, and that is latest first throughout.
  list.Reverse();
  SortBy(list, key, g);
}

bool record_function(G& g, const FunctionMeasure& m) {
  FunctionReportState& st = g.fn_report;
  st.project.Add(m);
  std::unique_ptr<MetricsEntry> entry;
  try {
    entry = std::make_unique<MetricsEntry>();
    FillRecord(*entry, m);
  } catch (const std::bad_alloc&) {
    errno = ENOMEM;
    return false;
  }
  if (st.functions.list_append(std::move(entry)) == nullptr) {
    errno = ENOMEM;
    return false;
  }
  return true;
}

FunctionSums FileFunctionSums(const G& g) { return g.fs.sums; }

}  // namespace vek
