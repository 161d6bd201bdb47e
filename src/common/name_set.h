// A set of names that stays small when it holds millions of them: the
// macro names a large tree defines (a kernel tree defines about 2.6 million
// different ones).  Each name is stored once, as its length and its bytes,
// in text blocks; an open-addressing table of 32-bit handles finds it.
// About 45 bytes a name of 38 characters, against some 300 for a node-based
// set of strings.  Names are visited in the order they were first inserted.
#ifndef VEK_COMMON_NAME_SET_H_
#define VEK_COMMON_NAME_SET_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_blocks.h"

namespace vek {

class NameSet {
 public:
  NameSet() = default;
  NameSet(const NameSet&) = delete;
  NameSet& operator=(const NameSet&) = delete;

  // Adds the name unless it is there; true when it was added.  Throws
  // std::bad_alloc when memory runs out (the set is then unchanged).
  bool insert(std::string_view name);
  bool contains(std::string_view name) const;
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  void clear();

  // The names in insertion order.
  std::vector<std::string> names() const;

  // Bytes held by the text blocks and the table.
  size_t memory() const;

 private:
  static size_t Hash(std::string_view name);
  std::string_view NameAt(uint32_t handle) const;
  // The slot holding `name`, or the empty slot where it would go.
  size_t Find(std::string_view name, size_t hash) const;
  void Grow();

  TextBlocks text_;
  std::vector<uint32_t> slots_;  // TextBlocks::kNone: empty; a power of two
  size_t size_ = 0;
};

}  // namespace vek

#endif  // VEK_COMMON_NAME_SET_H_
