#include "common/name_set.h"

#include <functional>
#include <limits>
#include <new>

namespace vek {

size_t NameSet::Hash(std::string_view name) {
  return std::hash<std::string_view>{}(name);
}

std::string_view NameSet::NameAt(uint32_t handle) const {
  const char* p = text_.At(handle);
  const uint32_t len = GetSize(p);
  return {p, len};
}

size_t NameSet::Find(std::string_view name, size_t hash) const {
  const size_t mask = slots_.size() - 1;
  size_t i = hash & mask;
  while (slots_[i] != TextBlocks::kNone && NameAt(slots_[i]) != name)
    i = (i + 1) & mask;
  return i;
}

bool NameSet::contains(std::string_view name) const {
  if (size_ == 0) return false;
  return slots_[Find(name, Hash(name))] != TextBlocks::kNone;
}

void NameSet::Grow() {
  std::vector<uint32_t> bigger(slots_.empty() ? 1024 : slots_.size() * 2,
                               TextBlocks::kNone);
  const size_t mask = bigger.size() - 1;
  for (uint32_t handle : slots_) {
    if (handle == TextBlocks::kNone) continue;
    size_t i = Hash(NameAt(handle)) & mask;
    while (bigger[i] != TextBlocks::kNone) i = (i + 1) & mask;
    bigger[i] = handle;
  }
  slots_.swap(bigger);
}

bool NameSet::insert(std::string_view name) {
  if (name.size() > std::numeric_limits<uint32_t>::max() / 2)
    throw std::bad_alloc();
  // At most 3/4 full, so that a probe run stays short.
  if ((size_ + 1) * 4 > slots_.size() * 3) Grow();
  const size_t i = Find(name, Hash(name));
  if (slots_[i] != TextBlocks::kNone) return false;
  char head[8];
  const size_t head_size = PutSize(head, static_cast<uint32_t>(name.size()));
  slots_[i] = text_.Append({std::string_view(head, head_size), name});
  ++size_;
  return true;
}

void NameSet::clear() {
  text_.clear();
  slots_.clear();
  size_ = 0;
}

std::vector<std::string> NameSet::names() const {
  std::vector<std::string> out;
  out.reserve(size_);
  text_.ForEachBlock([&out](const char* p, size_t used) {
    const char* end = p + used;
    while (p < end) {
      const uint32_t len = GetSize(p);
      out.emplace_back(p, len);
      p += len;
    }
  });
  return out;
}

size_t NameSet::memory() const {
  return text_.memory() + slots_.capacity() * sizeof(uint32_t);
}

}  // namespace vek
