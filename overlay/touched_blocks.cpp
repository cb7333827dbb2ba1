#include "overlay/touched_blocks.h"

namespace ostrel {

void TouchedBlocks::Start(int columns, int rows) {
  if (columns == columns_ && rows == rows_) {
    for (const std::size_t index : list_) marks_[index] = 0;
  } else {
    columns_ = columns;
    rows_ = rows;
    marks_.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0);
  }
  list_.clear();
}

}  // namespace ostrel
