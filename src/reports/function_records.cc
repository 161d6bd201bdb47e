#include "reports/function_records.h"

#include <algorithm>
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


long long KeyValue(const FunctionRecord& r, int key) {
  switch (key) {
    case kSortLoc: return r.loc;
    case kSortEloc: return r.eloc;
    case kSortLloc: return r.lloc;
    case kSortCyclomatic: return r.cyclomatic;
    case kSortFunctionCount: return 1;
    default: return 0;  // no work state, notices, date or size
  }
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

void OrderRecordedFunctions(FunctionRecords& list, int key, const G& g) {
  if (key <= kSortNone || key >= kSortKeys) return;
  // A sorted insert puts each function in front of the equal ones already
  // there, so equal functions end up latest first.  Reversing the recording
  // order and sorting stably gives that same order in O(n log n).  For
  // names the insert also stops at any nameless function; the stable sort
  // that follows moves every nameless one to the front regardless, so only
  // the order among equals matters, and that is latest first throughout.
  std::deque<FunctionRecord>& records = list.records();
  std::reverse(records.begin(), records.end());
  const bool descending = g.opt.sort_descending != 0;
  std::stable_sort(records.begin(), records.end(),
                   [&](const FunctionRecord& a, const FunctionRecord& b) {
                     const FunctionRecord& x = descending ? b : a;
                     const FunctionRecord& y = descending ? a : b;
                     if (key == kSortName)
                       return CaseCompare(list.Name(x), list.Name(y)) < 0;
                     return KeyValue(x, key) < KeyValue(y, key);
                   });
}

void FunctionRecords::Add(const FunctionMeasure& m) {
  if (files_.empty() || files_.back() != m.file) files_.push_back(m.file);
  char head[16];
  size_t n = PutSize(head, static_cast<uint32_t>(m.name.size()));
  n += PutSize(head + n, static_cast<uint32_t>(m.parameters.size()));
  n += PutSize(head + n, static_cast<uint32_t>(m.templ.size()));
  FunctionRecord r;
  r.text = text_.Append({std::string_view(head, n), m.name, m.parameters,
                         m.templ});
  r.file = static_cast<int>(files_.size() - 1);
  r.loc = m.loc;
  r.eloc = m.eloc;
  r.lloc = m.lloc;
  r.comments = m.comments;
  r.blanks = m.blanks;
  r.lines = FunctionLines(m);
  r.cyclomatic = m.cyclomatic;
  r.params = m.params;
  r.returns = m.returns;
  r.start_line = m.start_line;
  r.end_line = m.end_line;
  records_.push_back(r);
}

std::string_view FunctionRecords::Name(const FunctionRecord& r) const {
  const char* p = text_.At(r.text);
  const uint32_t name = GetSize(p);
  GetSize(p);
  GetSize(p);
  return {p, name};
}

void FunctionRecords::Unpack(size_t i, MetricsEntry& e) const {
  const FunctionRecord& r = records_[i];
  const char* p = text_.At(r.text);
  const uint32_t name = GetSize(p);
  const uint32_t params = GetSize(p);
  const uint32_t templ = GetSize(p);
  e.name.assign(p, name);
  e.text2.assign(p + name, params);
  e.text3.assign(p + name + params, templ);
  e.text4 = files_[static_cast<size_t>(r.file)];
  e.loc = r.loc;
  e.eloc = r.eloc;
  e.lloc = r.lloc;
  e.comments = r.comments;
  e.blanks = r.blanks;
  e.lines = r.lines;
  e.cyclomatic = r.cyclomatic;
  e.interface_complexity = r.params + r.returns;
  e.total_complexity = e.interface_complexity + r.cyclomatic;
  e.functions = 1;
  e.extra[kFnLine] = r.end_line;
  e.extra[kFnParams] = r.params;
  e.extra[kFnReturns] = r.returns;
  e.extra[kFnStartLine] = r.start_line;
}

MetricsEntry FunctionRecords::Entry(size_t i) const {
  MetricsEntry e;
  Unpack(i, e);
  return e;
}

std::vector<MetricsEntry> FunctionRecords::Entries() const {
  std::vector<MetricsEntry> out(records_.size());
  for (size_t i = 0; i < records_.size(); ++i) Unpack(i, out[i]);
  return out;
}

bool record_function(G& g, const FunctionMeasure& m) {
  FunctionReportState& st = g.fn_report;
  st.project.Add(m);
  try {
    st.functions.Add(m);
  } catch (const std::bad_alloc&) {
    errno = ENOMEM;
    return false;
  }
  return true;
}

FunctionSums FileFunctionSums(const G& g) { return g.fs.sums; }

}  // namespace vek
