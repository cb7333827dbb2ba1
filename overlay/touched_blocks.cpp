#include "overlay/touched_blocks.h"

#include <algorithm>

namespace ostrel {

void TouchedBlocks::Start(int columns, int rows) {
  // A set that was never taken still holds its marks.
  if (!empty_) std::fill(marks_.begin(), marks_.end(), std::uint8_t{0});
  empty_ = true;
  if (columns == columns_ && rows == rows_) return;
  columns_ = columns;
  rows_ = rows;
  marks_.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0);
}

}  // namespace ostrel
