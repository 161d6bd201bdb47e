#include "common/type_record.h"

#include <cctype>
#include <cstdint>
#include <new>

namespace vek {

int BaseCount(std::string_view bases) {
  int count = 1;
  for (size_t i = 0; i < bases.size(); ++i) {
    if (bases[i] == '<') {
      size_t close = bases.find('>', i + 1);
      if (close == std::string_view::npos) break;
      i = close;
    } else if (bases[i] == ',') {
      ++count;
    }
  }
  return count;
}

std::string FoldName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

namespace {

unsigned char Fold(char c) {
  return static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)));
}

size_t FoldedHash(std::string_view name) {
  uint64_t h = 14695981039346656037ull;  // FNV-1a
  for (char c : name) {
    h ^= Fold(c);
    h *= 1099511628211ull;
  }
  return static_cast<size_t>(h ^ (h >> 29));
}

bool SameFolded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

}  // namespace

size_t TypeList::Slot(std::string_view name) const {
  const size_t mask = index_.size() - 1;
  size_t i = FoldedHash(name) & mask;
  while (index_[i] != nullptr && !SameFolded(index_[i]->name, name))
    i = (i + 1) & mask;
  return i;
}

void TypeList::Grow() {
  std::vector<TypeRecord*> bigger(index_.empty() ? 64 : index_.size() * 2,
                                  nullptr);
  const size_t mask = bigger.size() - 1;
  for (TypeRecord* r : index_) {
    if (r == nullptr) continue;
    size_t i = FoldedHash(r->name) & mask;
    while (bigger[i] != nullptr) i = (i + 1) & mask;
    bigger[i] = r;
  }
  index_.swap(bigger);
}

TypeRecord* TypeList::Find(std::string_view name) const {
  if (indexed_ == 0) return nullptr;
  return index_[Slot(name)];
}

TypeRecord* TypeList::Add(std::unique_ptr<TypeRecord> record) {
  if (!record) return nullptr;
  TypeRecord* added = items_.list_append(std::move(record));
  if (added == nullptr) return nullptr;
  try {
    if ((indexed_ + 1) * 4 > index_.size() * 3) Grow();
    const size_t i = Slot(added->name);
    if (index_[i] == nullptr) {  // the first of a name wins
      index_[i] = added;
      ++indexed_;
    }
  } catch (const std::bad_alloc&) {
  }
  return added;
}

}  // namespace vek
