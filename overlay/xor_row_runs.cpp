#include "overlay/xor_row_runs.h"

#include <algorithm>

namespace ostrel {

void XorRowRuns::Build(const XorRecord& record, int rows) {
  const auto rowCount = static_cast<std::size_t>(std::max(rows, 0));
  starts_.assign(rowCount + 1, 0);
  for (const XorDelta& delta : record) {
    if (delta.y >= 0 && delta.y < rows) ++starts_[static_cast<std::size_t>(delta.y) + 1];
  }
  for (std::size_t row = 0; row < rowCount; ++row) starts_[row + 1] += starts_[row];
  ends_.assign(starts_.begin(), starts_.end() - 1);
  runs_.resize(starts_.back());
  // In the record's order: a walk's pixels of one row come one after the other, each beside
  // the one before, whichever way it walks.
  for (const XorDelta& delta : record) {
    if (delta.y < 0 || delta.y >= rows) continue;
    const auto row = static_cast<std::size_t>(delta.y);
    std::uint32_t& end = ends_[row];
    if (end > starts_[row]) {
      XorRun& last = runs_[end - 1];
      if (last.bits == delta.bits) {
        if (delta.x == std::int64_t{last.right} + 1) {
          last.right = delta.x;
          continue;
        }
        if (delta.x == std::int64_t{last.left} - 1) {
          last.left = delta.x;
          continue;
        }
      }
    }
    runs_[end++] = {delta.x, delta.x, delta.bits};
  }
  Compact();
}

// Showing reads the runs of every row, a row after the other, at each painted frame, with the
// runs long gone from the cache: without the room between the rows the reads are one stream,
// not a fresh place a row.
void XorRowRuns::Compact() {
  std::uint32_t next = 0;
  for (std::size_t row = 0; row < ends_.size(); ++row) {
    const std::uint32_t start = starts_[row];
    const std::uint32_t count = ends_[row] - start;
    std::copy(runs_.begin() + start, runs_.begin() + start + count, runs_.begin() + next);
    starts_[row] = next;
    next += count;
    ends_[row] = next;
  }
  runs_.resize(next);
}

void XorRowRuns::Clear() {
  starts_.clear();
  ends_.clear();
  runs_.clear();
}

}  // namespace ostrel
