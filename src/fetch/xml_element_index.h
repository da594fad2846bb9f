#pragma once

// The element index of an XmlDocument: one fixed-size entry per element,
// located by byte offsets into the unchanged document text, linked to its
// relatives by entry numbers. Entry 0 stands for the document itself.
//
// Entries live in blocks of kBlockEntries reached through a table of block
// pointers, so an entry number never changes and a full block never moves
// while the index grows. Only the last block may be partial; it is sized to
// the exact capacity and reallocated when it grows.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace tavi {

// One element. The sibling list of a parent is circular backwards only: the
// first child's previous-sibling word holds the parent's last child, so
// appending a child needs no walk.
struct ElementEntry {
  std::uint32_t start;             // offset of the start tag's '<' (entry 0: 0)
  std::uint32_t length;            // through the end tag's '>', or the start tag alone
  std::uint32_t tag_lengths;       // start-tag and end-tag lengths and flags, packed
  std::uint32_t parent;            // entry number of the parent
  std::uint32_t first_child;       // 0 = none
  std::uint32_t next_sibling;      // 0 = last
  std::uint32_t previous_sibling;  // first child: the last child
};

// The packed tag-length word: start-tag length in bits 0-19, two flags in bits
// 20 and 21, end-tag length in bits 22-31. A length that does not fit is held
// as the field's largest value, which readers take as "measure the tag again".
inline constexpr std::uint32_t kMaxHeldStartTagLength = (1u << 20) - 1;
inline constexpr std::uint32_t kMaxHeldEndTagLength = (1u << 10) - 1;
// Bit 20: the element was closed without its end tag and its children moved
// up to its parent.
inline constexpr std::uint32_t kNotEndedFlag = 1u << 20;
// Bit 21 of entry 0: the parse met an error.
inline constexpr std::uint32_t kIllFormedFlag = 1u << 21;

// The packed word for the given lengths (each saturated to its field) and flags.
constexpr std::uint32_t PackTagLengths(std::size_t start_tag_length, std::size_t end_tag_length,
                                       std::uint32_t flags = 0) {
  const auto start = static_cast<std::uint32_t>(
      start_tag_length < kMaxHeldStartTagLength ? start_tag_length : kMaxHeldStartTagLength);
  const auto end = static_cast<std::uint32_t>(
      end_tag_length < kMaxHeldEndTagLength ? end_tag_length : kMaxHeldEndTagLength);
  return start | flags | (end << 22);
}
constexpr std::uint32_t HeldStartTagLength(std::uint32_t packed) {
  return packed & kMaxHeldStartTagLength;
}
constexpr std::uint32_t HeldEndTagLength(std::uint32_t packed) { return packed >> 22; }

class ElementIndex {
 public:
  static constexpr std::uint32_t kBlockEntries = 65536;

  ElementIndex() = default;
  ElementIndex(const ElementIndex& other);
  ElementIndex& operator=(const ElementIndex& other);
  // A moved-from index is empty (size 0) until restarted.
  ElementIndex(ElementIndex&& other) noexcept;
  ElementIndex& operator=(ElementIndex&& other) noexcept;

  // Starts a new index for a text of `text_length` bytes: capacity for
  // text_length / 64 + 8 entries, entry 0 zeroed and the only one in use.
  // Full blocks of an earlier index are kept; nothing else survives.
  void Restart(std::size_t text_length);

  // Takes the next free entry, growing the capacity when all are in use, and
  // returns its number. The entry's content is unspecified until written.
  std::uint32_t Append();

  // Entry `n`; n must be below size().
  ElementEntry& operator[](std::uint32_t n) {
    return blocks_[n / kBlockEntries][n % kBlockEntries];
  }
  const ElementEntry& operator[](std::uint32_t n) const {
    return blocks_[n / kBlockEntries][n % kBlockEntries];
  }

  // Entries in use (entry 0 included; 0 before the first Restart).
  std::uint32_t size() const { return used_; }
  std::uint32_t capacity() const { return capacity_; }
  // Blocks allocated.
  std::size_t block_count() const { return block_count_; }
  // Bytes held by the entries and the block table.
  std::size_t AllocatedBytes() const;

 private:
  using Block = std::unique_ptr<ElementEntry[]>;

  void Grow();
  void SetCapacity(std::uint32_t capacity);
  void ResizeBlock(std::size_t block, std::uint32_t entries);
  std::uint32_t BlockSize(std::size_t block) const;

  // The block table: its size is the table's capacity, block_count_ of its
  // slots are in use.
  std::vector<Block> blocks_;
  std::size_t block_count_ = 0;
  std::uint32_t capacity_ = 0;
  std::uint32_t used_ = 0;
};

}  // namespace tavi
