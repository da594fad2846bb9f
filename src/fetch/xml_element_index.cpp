#include "fetch/xml_element_index.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <utility>

namespace tavi {
namespace {

// A few entries more than the text suggests, so that a tiny document never
// grows its index.
constexpr std::size_t kReserveExtraEntries = 8;
// One element per 64 bytes of text is typical of feeds.
constexpr std::size_t kTextBytesPerReservedEntry = 64;

// Entries of block `block` that are in use when `used` entries are.
std::uint32_t UsedInBlock(std::uint32_t used, std::size_t block) {
  const std::uint64_t block_start = std::uint64_t{block} * ElementIndex::kBlockEntries;
  if (used <= block_start) return 0;
  return static_cast<std::uint32_t>(
      std::min<std::uint64_t>(used - block_start, ElementIndex::kBlockEntries));
}

}  // namespace

ElementIndex::ElementIndex(const ElementIndex& other)
    : blocks_(other.blocks_.size()),
      block_count_(other.block_count_),
      capacity_(other.capacity_),
      used_(other.used_) {
  for (std::size_t block = 0; block < block_count_; ++block) {
    blocks_[block].reset(new ElementEntry[BlockSize(block)]);
    const std::uint32_t in_use = UsedInBlock(used_, block);
    if (in_use > 0)
      std::memcpy(blocks_[block].get(), other.blocks_[block].get(), in_use * sizeof(ElementEntry));
  }
}

ElementIndex& ElementIndex::operator=(const ElementIndex& other) {
  if (this != &other) *this = ElementIndex(other);
  return *this;
}

ElementIndex::ElementIndex(ElementIndex&& other) noexcept
    : blocks_(std::exchange(other.blocks_, {})),
      block_count_(std::exchange(other.block_count_, 0)),
      capacity_(std::exchange(other.capacity_, 0)),
      used_(std::exchange(other.used_, 0)) {}

ElementIndex& ElementIndex::operator=(ElementIndex&& other) noexcept {
  blocks_ = std::exchange(other.blocks_, {});
  block_count_ = std::exchange(other.block_count_, 0);
  capacity_ = std::exchange(other.capacity_, 0);
  used_ = std::exchange(other.used_, 0);
  return *this;
}

void ElementIndex::Restart(std::size_t text_length) {
  const std::size_t wanted = text_length / kTextBytesPerReservedEntry + kReserveExtraEntries;
  used_ = 0;
  SetCapacity(static_cast<std::uint32_t>(std::min<std::size_t>(wanted, UINT32_MAX)));
  blocks_[0][0] = ElementEntry{};
  used_ = 1;
}

std::uint32_t ElementIndex::Append() {
  if (used_ == capacity_) Grow();
  return used_++;
}

std::size_t ElementIndex::AllocatedBytes() const {
  return std::size_t{capacity_} * sizeof(ElementEntry) + blocks_.size() * sizeof(Block);
}

std::uint32_t ElementIndex::BlockSize(std::size_t block) const {
  assert(block < block_count_ && "block out of range");
  if (block + 1 < block_count_) return kBlockEntries;
  return capacity_ - static_cast<std::uint32_t>(block * kBlockEntries);
}

// A fresh capacity for an index with nothing in use. Blocks that already have
// the size wanted stay where they are, which spares repeated parses of large
// texts most of their allocations.
void ElementIndex::SetCapacity(std::uint32_t capacity) {
  assert(used_ == 0 && "entries in use would be lost");
  const std::size_t needed_blocks = (std::size_t{capacity} + kBlockEntries - 1) / kBlockEntries;
  // The table for block number d holds 2d + 4 pointers.
  if (needed_blocks > blocks_.size()) blocks_.resize(2 * (needed_blocks - 1) + 4);
  for (std::size_t block = 0; block < needed_blocks; ++block) {
    const auto wanted = static_cast<std::uint32_t>(
        std::min<std::size_t>(kBlockEntries, capacity - block * kBlockEntries));
    const std::uint32_t held = block < block_count_ ? BlockSize(block) : 0;
    if (held != wanted) blocks_[block].reset(new ElementEntry[wanted]);
  }
  for (std::size_t block = needed_blocks; block < block_count_; ++block) blocks_[block].reset();
  block_count_ = needed_blocks;
  capacity_ = capacity;
}

// Grows by half of the entries in use, but never past the end of the block
// after the last one, so a growth step moves at most one partial block.
void ElementIndex::Grow() {
  assert(used_ == capacity_ && block_count_ > 0 && "grow only a full index");
  assert(used_ < UINT32_MAX && "entry numbers exhausted");
  const std::size_t last_block = block_count_ - 1;
  const std::uint64_t next_block_end = std::uint64_t{last_block + 2} * kBlockEntries;
  const std::uint64_t used = used_;
  const std::uint64_t wanted = std::max(used + used / 2, used + 1);
  const auto capacity =
      static_cast<std::uint32_t>(std::min<std::uint64_t>({wanted, next_block_end, UINT32_MAX}));
  const std::uint64_t last_block_end = std::uint64_t{last_block + 1} * kBlockEntries;
  if (capacity <= last_block_end) {
    ResizeBlock(last_block, capacity - static_cast<std::uint32_t>(last_block * kBlockEntries));
    capacity_ = capacity;
    return;
  }
  ResizeBlock(last_block, kBlockEntries);
  const std::size_t new_block = last_block + 1;
  if (new_block >= blocks_.size()) {
    std::vector<Block> table(2 * new_block + 4);
    std::move(blocks_.begin(), blocks_.begin() + block_count_, table.begin());
    blocks_.swap(table);
  }
  blocks_[new_block].reset(new ElementEntry[capacity - last_block_end]);
  block_count_ = new_block + 1;
  capacity_ = capacity;
}

// Moves block `block` (the last one) to a new allocation of `entries`
// entries, keeping the entries in use.
void ElementIndex::ResizeBlock(std::size_t block, std::uint32_t entries) {
  if (BlockSize(block) == entries) return;
  Block resized(new ElementEntry[entries]);
  const std::uint32_t in_use = UsedInBlock(used_, block);
  if (in_use > 0) std::memcpy(resized.get(), blocks_[block].get(), in_use * sizeof(ElementEntry));
  blocks_[block] = std::move(resized);
}

}  // namespace tavi
