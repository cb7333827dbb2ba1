#include "overlay/touched_blocks.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace ostrel {
namespace {

using Blocks = std::vector<std::pair<int, int>>;

Blocks Taken(TouchedBlocks& blocks) {
  Blocks taken;
  blocks.Take([&taken](int column, int row) { taken.emplace_back(column, row); });
  return taken;
}

// Blocks come back once each in the picture's order, whatever order and however often they
// were added; on both sides of a run of eight marks and in a row's last, shorter run.
TEST(TouchedBlocks, GivesEachBlockOnceRowByRowAndEmptiesItself) {
  TouchedBlocks blocks;
  blocks.Start(11, 3);
  for (const auto& [column, row] : Blocks{{10, 2}, {0, 1}, {8, 0}, {7, 0}, {0, 1}, {3, 2}, {10, 2}, {9, 0}}) {
    blocks.Add(column, row);
  }
  EXPECT_EQ(Taken(blocks), (Blocks{{7, 0}, {8, 0}, {9, 0}, {0, 1}, {3, 2}, {10, 2}}));
  EXPECT_TRUE(Taken(blocks).empty());
}

// A set started again forgets what it held, whether it was taken or not and whether the
// picture keeps its size or not.
TEST(TouchedBlocks, StartingAgainForgetsWhatWasNotTaken) {
  TouchedBlocks blocks;
  blocks.Start(4, 4);
  blocks.Add(1, 1);
  blocks.Start(4, 4);
  blocks.Add(2, 3);
  EXPECT_EQ(Taken(blocks), (Blocks{{2, 3}}));
  blocks.Add(0, 0);
  blocks.Start(20, 2);
  blocks.Add(19, 1);
  EXPECT_EQ(Taken(blocks), (Blocks{{19, 1}}));
}

}  // namespace
}  // namespace ostrel
