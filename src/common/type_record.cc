#include "common/type_record.h"

#include <cctype>
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

TypeRecord* TypeList::Find(std::string_view name) const {
  auto it = index_.find(FoldName(name));
  return it == index_.end() ? nullptr : it->second;
}

TypeRecord* TypeList::Add(std::unique_ptr<TypeRecord> record) {
  if (!record) return nullptr;
  std::string key = FoldName(record->name);
  TypeRecord* added = items_.list_append(std::move(record));
  if (added == nullptr) return nullptr;
  try {
    index_.emplace(std::move(key), added);  // the first of a name wins
  } catch (const std::bad_alloc&) {
  }
  return added;
}

}  // namespace vek
