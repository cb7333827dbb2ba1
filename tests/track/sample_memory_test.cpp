#include "track/sample_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "track/track_store.h"

namespace ostrel {
namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;

bool Aligned(const void* at) {
  return reinterpret_cast<std::uintptr_t>(at) % alignof(std::max_align_t) == 0;
}

TEST(SampleMemory, GivesAlignedSpacesThatDoNotOverlapAcrossBlocks) {
  SampleMemory memory;
  // Sizes that leave blocks part-used and one larger than any usual block.
  const std::vector<std::size_t> sizes = {1, 104, 3 * 104, kLargePage - 8, 5000, 200u << 20, 104};
  std::vector<std::pair<unsigned char*, std::size_t>> spaces;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    auto* space = static_cast<unsigned char*>(memory.Allocate(sizes[i]));
    ASSERT_TRUE(Aligned(space)) << i;
    std::memset(space, static_cast<int>(i + 1), sizes[i]);
    spaces.emplace_back(space, sizes[i]);
  }
  // Each space still holds what was written into it after all the others were written.
  for (std::size_t i = 0; i < spaces.size(); ++i) {
    const auto [space, size] = spaces[i];
    EXPECT_EQ(space[0], i + 1);
    EXPECT_EQ(space[size - 1], i + 1);
  }
  std::size_t asked = 0;
  for (const std::size_t size : sizes) asked += size;
  EXPECT_GE(memory.MappedBytes(), asked);
}

TEST(SampleMemory, ArraysKeepTheirMemoryAliveAndCopiesTakeTheHeap) {
  auto memory = std::make_shared<SampleMemory>();
  const std::weak_ptr<SampleMemory> watch = memory;
  SampleArray array(SampleAllocator<TrajectorySample>{memory});
  memory.reset();
  TrajectorySample sample;
  for (std::int32_t i = 0; i < 1000; ++i) {
    sample.frame = i;
    array.push_back(sample);
  }
  ASSERT_FALSE(watch.expired());
  EXPECT_EQ(array.get_allocator().memory(), watch.lock());

  const SampleArray copy = array;
  EXPECT_EQ(copy.get_allocator().memory(), nullptr);
  EXPECT_EQ(copy, array);
  SampleArray assigned;
  assigned = array;
  EXPECT_EQ(assigned.get_allocator().memory(), nullptr);
  EXPECT_EQ(assigned, array);

  SampleArray moved = std::move(array);
  EXPECT_EQ(moved.get_allocator().memory(), watch.lock());
  EXPECT_EQ(moved.back().frame, 999);
  // Emptying by a swap with a fresh array hands the memory back.
  SampleArray().swap(moved);
  EXPECT_TRUE(watch.expired());
}

}  // namespace
}  // namespace ostrel
