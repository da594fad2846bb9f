#include "fetch/xml_element_index.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

constexpr std::uint32_t kBlock = ElementIndex::kBlockEntries;

// Appends until `count` entries are in use, each entry holding its number.
void FillTo(ElementIndex& index, std::uint32_t count) {
  while (index.size() < count) {
    const std::uint32_t entry = index.Append();
    index[entry] = ElementEntry{entry, entry, 0, 0, 0, 0, 0};
  }
}

bool EntriesHoldTheirNumbers(const ElementIndex& index) {
  for (std::uint32_t entry = 1; entry < index.size(); ++entry) {
    if (index[entry].start != entry) return false;
  }
  return true;
}

TEST(ElementIndex, ReservesOneEntryPer64BytesAndEight) {
  ElementIndex index;
  index.Restart(0);
  EXPECT_EQ(index.capacity(), 8u);
  EXPECT_EQ(index.size(), 1u);
  index.Restart(6400);
  EXPECT_EQ(index.capacity(), 108u);
  EXPECT_EQ(index.block_count(), 1u);
  index.Restart(std::size_t{64} * 100000);
  EXPECT_EQ(index.capacity(), 100008u);
  EXPECT_EQ(index.block_count(), 2u);
  EXPECT_EQ(index.size(), 1u);
  EXPECT_EQ(index[0].first_child, 0u);
}

TEST(ElementIndex, GrowsByHalfOfTheEntriesInUse) {
  ElementIndex index;
  index.Restart(0);
  const std::uint32_t expected[] = {12, 18, 27, 40, 60};
  for (const std::uint32_t capacity : expected) {
    FillTo(index, index.capacity() + 1);
    EXPECT_EQ(index.capacity(), capacity);
  }
  EXPECT_TRUE(EntriesHoldTheirNumbers(index));
}

TEST(ElementIndex, CompletesThePartialBlockWhenStartingAnother) {
  ElementIndex index;
  index.Restart(std::size_t{64} * 100000);  // 100,008 entries: a full and a partial block
  FillTo(index, 100009);
  EXPECT_EQ(index.capacity(), 150012u);  // 100,008 + 50,004
  EXPECT_EQ(index.block_count(), 3u);
  EXPECT_TRUE(EntriesHoldTheirNumbers(index));
}

TEST(ElementIndex, NeverGrowsPastTheEndOfTheNextBlock) {
  ElementIndex index;
  index.Restart(std::size_t{64} * (5 * kBlock));  // five full blocks and 8 entries
  FillTo(index, index.capacity() + 1);
  EXPECT_EQ(index.capacity(), 7 * kBlock);  // not 1.5 x 327,688
  EXPECT_EQ(index.block_count(), 7u);
  EXPECT_TRUE(EntriesHoldTheirNumbers(index));
}

TEST(ElementIndex, FullBlocksNeverMove) {
  ElementIndex index;
  index.Restart(0);
  FillTo(index, kBlock + 1);
  const ElementEntry* first_block = &index[1];
  FillTo(index, 4 * kBlock);
  EXPECT_EQ(&index[1], first_block);
  EXPECT_TRUE(EntriesHoldTheirNumbers(index));
  // A new parse keeps the full blocks it needs.
  index.Restart(std::size_t{64} * 2 * kBlock);
  EXPECT_EQ(&index[1], first_block);
}

TEST(ElementIndex, CopiesAreIndependentAndMovesLeaveAnEmptyIndex) {
  ElementIndex index;
  index.Restart(0);
  FillTo(index, 70000);
  ElementIndex copy = index;
  EXPECT_EQ(copy.size(), 70000u);
  EXPECT_EQ(copy.capacity(), index.capacity());
  EXPECT_TRUE(EntriesHoldTheirNumbers(copy));
  copy[5].start = 0;
  EXPECT_EQ(index[5].start, 5u);
  EXPECT_EQ(copy.AllocatedBytes(), index.AllocatedBytes());

  ElementIndex moved = std::move(copy);
  EXPECT_EQ(moved.size(), 70000u);
  EXPECT_EQ(copy.size(), 0u);
  copy.Restart(10);
  EXPECT_EQ(copy.size(), 1u);
}

TEST(ElementIndex, PacksTagLengthsWithinTheirLimits) {
  const std::uint32_t packed = PackTagLengths(kMaxHeldStartTagLength - 1, 1022, kNotEndedFlag);
  EXPECT_EQ(HeldStartTagLength(packed), kMaxHeldStartTagLength - 1);
  EXPECT_EQ(HeldEndTagLength(packed), 1022u);
  EXPECT_NE(packed & kNotEndedFlag, 0u);
  EXPECT_EQ(packed & kIllFormedFlag, 0u);
  const std::uint32_t saturated = PackTagLengths(5u << 20, 5000);
  EXPECT_EQ(HeldStartTagLength(saturated), kMaxHeldStartTagLength);
  EXPECT_EQ(HeldEndTagLength(saturated), kMaxHeldEndTagLength);
  EXPECT_EQ(saturated & (kNotEndedFlag | kIllFormedFlag), 0u);
}

}  // namespace
}  // namespace tavi
