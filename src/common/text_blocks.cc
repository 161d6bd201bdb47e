#include "common/text_blocks.h"

#include <cstring>
#include <new>

namespace vek {

uint32_t TextBlocks::Append(std::initializer_list<std::string_view> parts) {
  size_t need = 0;
  for (std::string_view p : parts) need += p.size();
  if (blocks_.empty() || blocks_.back().capacity - blocks_.back().used < need) {
    // Handles keep 12 bits of block number: 4096 blocks, at least 4 GB.
    if (blocks_.size() >= (size_t{1} << (32 - kOffsetBits)) - 1)
      throw std::bad_alloc();
    Block b;
    b.capacity = need > kBlockSize ? need : kBlockSize;
    b.data.reset(new char[b.capacity]);
    blocks_.push_back(std::move(b));  // on failure `b` frees its bytes
  }
  Block& b = blocks_.back();
  // A piece of its own block starts at offset 0, so its handle fits.
  const uint32_t handle =
      static_cast<uint32_t>(((blocks_.size() - 1) << kOffsetBits) | b.used);
  char* out = b.data.get() + b.used;
  for (std::string_view p : parts) {
    if (!p.empty()) std::memcpy(out, p.data(), p.size());
    out += p.size();
  }
  b.used += need;
  return handle;
}

size_t TextBlocks::memory() const {
  size_t bytes = blocks_.capacity() * sizeof(Block);
  for (const Block& b : blocks_) bytes += b.capacity;
  return bytes;
}

size_t PutSize(char* out, uint32_t value) {
  size_t n = 0;
  while (value >= 0x80) {
    out[n++] = static_cast<char>((value & 0x7f) | 0x80);
    value >>= 7;
  }
  out[n++] = static_cast<char>(value);
  return n;
}

uint32_t GetSize(const char*& in) {
  uint32_t value = 0;
  for (int shift = 0;; shift += 7) {
    const unsigned char c = static_cast<unsigned char>(*in++);
    value |= static_cast<uint32_t>(c & 0x7f) << shift;
    if ((c & 0x80) == 0 || shift >= 28) return value;
  }
}

}  // namespace vek
