#pragma once

#include <cstdint>
#include <vector>

namespace ostrel {

// The chroma blocks of a picture that a drawing touched, each listed once, in the order
// first touched. Whoever blends picture after picture keeps one, so that a blend neither
// allocates nor clears a mark for every block of the picture: only the listed ones are
// unmarked again when the next list starts.
class TouchedBlocks {
 public:
  // Starts an empty list for a picture of `columns` by `rows` blocks.
  void Start(int columns, int rows);
  // The block must lie inside the picture given to Start.
  void Add(int column, int row) {
    const std::size_t index = static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
                              static_cast<std::size_t>(column);
    if (marks_[index] != 0) return;
    marks_[index] = 1;
    list_.push_back(index);
  }

  int columns() const { return columns_; }
  // Each block as row * columns + column.
  const std::vector<std::size_t>& list() const { return list_; }

 private:
  int columns_ = 0;
  int rows_ = 0;
  std::vector<std::uint8_t> marks_;
  std::vector<std::size_t> list_;
};

}  // namespace ostrel
