#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "overlay/uncleared_allocator.h"
#include "overlay/xor_record.h"

namespace ostrel {

// Neighbouring pixels of one row that a record combines with the same bits, both ends
// included. Without initialisers, for the same reason as XorDelta.
struct XorRun {
  std::int32_t left;
  std::int32_t right;
  std::uint32_t bits;
};

// A record put in rows, its neighbouring pixels of equal bits joined into runs: what showing
// a trail layer combines into each painted frame. A trail walked along a row gives runs as
// long as the walk, a steep one runs of two or three pixels, where the record has one delta
// a pixel. The runs of a row combine exactly the record's deltas of that row, each once.
class XorRowRuns {
 public:
  // Puts the deltas of `record` on rows 0 .. rows - 1 in runs; deltas on other rows are left
  // out, as they lie outside the picture.
  void Build(const XorRecord& record, int rows);
  void Clear();

  // Calls visit(y, run) for every run on rows top .. bottom, rows in order.
  template <typename Visit>
  void ForEachRun(int top, int bottom, Visit&& visit) const {
    const int last = std::min<int>(bottom, static_cast<int>(ends_.size()) - 1);
    for (int y = std::max(top, 0); y <= last; ++y) {
      const auto row = static_cast<std::size_t>(y);
      for (std::uint32_t i = starts_[row]; i < ends_[row]; ++i) visit(y, runs_[i]);
    }
  }

 private:
  void Compact();

  // Each row's runs lie from its start to its end, rows one after the other.
  std::vector<std::uint32_t> starts_;
  std::vector<std::uint32_t> ends_;
  std::vector<XorRun, UnclearedAllocator<XorRun>> runs_;
};

}  // namespace ostrel
