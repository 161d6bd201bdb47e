// Storage for many short texts that live as long as the run: bytes are
// appended to blocks of 1 MB and never move, so a text is named by a
// 32-bit handle (block number and offset) and read back in place.  Growing
// never copies what is stored, so the peak is the stored bytes plus one
// block.  The macro names and the function records keep their texts here.
#ifndef VEK_COMMON_TEXT_BLOCKS_H_
#define VEK_COMMON_TEXT_BLOCKS_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace vek {

class TextBlocks {
 public:
  static constexpr int kOffsetBits = 20;
  static constexpr size_t kBlockSize = size_t{1} << kOffsetBits;
  static constexpr uint32_t kNone = 0xffffffffu;  // never a handle

  TextBlocks() = default;
  TextBlocks(const TextBlocks&) = delete;
  TextBlocks& operator=(const TextBlocks&) = delete;
  TextBlocks(TextBlocks&&) = default;
  TextBlocks& operator=(TextBlocks&&) = default;

  // Copies the parts one after the other and returns the handle of the
  // first byte.  A piece longer than a block gets a block of its own.
  // Throws std::bad_alloc when memory or the handles run out (nothing is
  // then stored).
  uint32_t Append(std::initializer_list<std::string_view> parts);

  const char* At(uint32_t handle) const {
    return blocks_[handle >> kOffsetBits].data.get() +
           (handle & (kBlockSize - 1));
  }

  // Walks every stored piece in order: f(const char* start, size_t size)
  // gets each block's used bytes.
  template <class F>
  void ForEachBlock(F f) const {
    for (const Block& b : blocks_) f(b.data.get(), b.used);
  }

  void clear() { blocks_.clear(); }
  size_t memory() const;

 private:
  struct Block {
    std::unique_ptr<char[]> data;
    size_t used = 0;
    size_t capacity = 0;
  };
  std::vector<Block> blocks_;
};

// Variable-length sizes: 7 bits a byte, low bits first, the high bit set
// on every byte but the last.  Texts shorter than 128 bytes take one byte.
size_t PutSize(char* out, uint32_t value);  // returns bytes written (<= 5)
uint32_t GetSize(const char*& in);           // advances `in`

}  // namespace vek

#endif  // VEK_COMMON_TEXT_BLOCKS_H_
