#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace ostrel {

// The chroma blocks of a picture that a drawing touched. Whoever blends picture after
// picture keeps one, so that a blend allocates nothing. The blocks come back row by row
// from the top, however they were added: blending them in the picture's own order reads
// and writes its planes the way the memory prefetches them.
class TouchedBlocks {
 public:
  // Starts an empty set for a picture of `columns` by `rows` blocks.
  void Start(int columns, int rows);
  // The block must lie inside the picture given to Start.
  void Add(int column, int row) {
    marks_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(column)] = 1;
    empty_ = false;
  }

  // Calls visit(column, row) for each block added since Start, once each, row by row from
  // the top and left to right, and empties the set.
  template <typename Visit>
  void Take(Visit visit) {
    if (empty_) return;
    for (int row = 0; row < rows_; ++row) {
      std::uint8_t* marks = marks_.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_);
      int column = 0;
      // Most of a row is untouched: eight marks are passed over at once.
      for (; column + 8 <= columns_; column += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, marks + column, sizeof word);
        if (word == 0) continue;
        for (int i = 0; i < 8; ++i) VisitMarked(marks, column + i, row, visit);
      }
      for (; column < columns_; ++column) VisitMarked(marks, column, row, visit);
    }
    empty_ = true;
  }

 private:
  template <typename Visit>
  static void VisitMarked(std::uint8_t* marks, int column, int row, Visit& visit) {
    if (marks[column] == 0) return;
    marks[column] = 0;
    visit(column, row);
  }

  int columns_ = 0;
  int rows_ = 0;
  bool empty_ = true;
  std::vector<std::uint8_t> marks_;  // all zero whenever `empty_`
};

}  // namespace ostrel
