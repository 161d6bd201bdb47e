#include "common/list.h"

#include "common/metrics_entry.h"
#include "common/text.h"

namespace vek {

int CompareByName(const MetricsEntry& a, const MetricsEntry& b,
                  bool descending) {
  return descending ? CaseCompare(b.name, a.name) : CaseCompare(a.name, b.name);
}

int CompareNumbers(long long a, long long b, bool descending) {
  if (descending) return a >= b ? -1 : 1;
  return a <= b ? -1 : 1;
}

}  // namespace vek
