// The generic owning list every collection of the program uses: input files,
// functions, types, namespaces, macros, notices, work file rows.  The list
// owns its elements; order is insertion order unless a sorted insert is used.
#ifndef VEK_COMMON_LIST_H_
#define VEK_COMMON_LIST_H_

#include <algorithm>
#include <cstddef>
#include <functional>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace vek {

// A comparison gets the new element (or a search key), an existing element
// and the descending flag, and returns <0, 0 or >0.  With the descending
// flag it compares with the operands swapped, so one function serves both
// orders of -kd.
template <class T>
using Compare = int (*)(const T& a, const T& b, bool descending);

template <class T>
class List {
 public:
  List() = default;
  List(const List&) = delete;
  List& operator=(const List&) = delete;
  List(List&&) = default;
  List& operator=(List&&) = default;

  size_t count() const { return items_.size(); }
  bool empty() const { return items_.empty(); }

  // Appends and returns the element, or nullptr when memory ran out (the
  // element is then freed).
  T* list_append(std::unique_ptr<T> element) {
    return InsertAt(items_.size(), std::move(element));
  }

  // Inserts before the first element for which `cmp` does not say
  // "greater", so a new element goes in front of equal ones.  Without a
  // comparison the element is appended.
  T* list_insert_sorted(std::unique_ptr<T> element, Compare<T> cmp,
                        bool descending) {
    if (cmp == nullptr) return list_append(std::move(element));
    size_t i = 0;
    while (i < items_.size() && cmp(*element, *items_[i], descending) > 0) ++i;
    return InsertAt(i, std::move(element));
  }

  // As list_insert_sorted, but returns false without inserting when an
  // equal element is met before the insertion point.
  bool list_insert_unique(std::unique_ptr<T> element, Compare<T> cmp,
                          bool descending) {
    if (cmp == nullptr) return list_append(std::move(element)) != nullptr;
    size_t i = 0;
    for (; i < items_.size(); ++i) {
      int c = cmp(*element, *items_[i], descending);
      if (c == 0) return false;
      if (c < 0) break;
    }
    return InsertAt(i, std::move(element)) != nullptr;
  }

  // The first element comparing equal to `key`, or nullptr.
  template <class K>
  T* list_find(const K& key, int (*cmp)(const K&, const T&, bool)) const {
    for (const auto& item : items_)
      if (cmp(key, *item, false) == 0) return item.get();
    return nullptr;
  }

  // The element at `index` counted from the first, or nullptr.
  T* list_at(size_t index) const {
    return index < items_.size() ? items_[index].get() : nullptr;
  }

  template <class F>
  void list_visit(F&& visit) const {
    for (const auto& item : items_) visit(*item);
  }

  void list_free() { items_.clear(); }

  // Moves every element of `other` to the end of this list.
  void Splice(List& other) {
    for (auto& item : other.items_) InsertAt(items_.size(), std::move(item));
    other.items_.clear();
  }

  // Stable sort by a comparison; equal elements keep their order.
  void StableSort(Compare<T> cmp, bool descending) {
    std::stable_sort(items_.begin(), items_.end(),
                     [&](const std::unique_ptr<T>& a,
                         const std::unique_ptr<T>& b) {
                       return cmp(*a, *b, descending) < 0;
                     });
  }

  // Turns the order of the elements around.
  void Reverse() { std::reverse(items_.begin(), items_.end()); }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  T* InsertAt(size_t index, std::unique_ptr<T> element) {
    if (!element) return nullptr;
    try {
      T* raw = element.get();
      items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index),
                    std::move(element));
      return raw;
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
  }

  std::vector<std::unique_ptr<T>> items_;
};

// Comparisons shared by every list of metrics entries.  By name: the whole
// names without regard to case.  By number: never "equal", so a new entry
// goes in front of entries with the same value.
struct MetricsEntry;
int CompareByName(const MetricsEntry& a, const MetricsEntry& b,
                  bool descending);
int CompareNumbers(long long a, long long b, bool descending);

}  // namespace vek

#endif  // VEK_COMMON_LIST_H_
