#pragma once

#include <QSize>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "overlay/xor_record.h"

namespace ostrel {

// A record's runs put in bands of rows, one band after the other: what showing a trail layer
// combines into each painted frame, a band of the picture at a time. Within a band the runs
// keep the record's order, which exclusive-or does not care about.
class XorBandRuns {
 public:
  static constexpr int kBandShift = 6;  // bands of 64 rows, as the video view paints them

  // Puts the runs of `record` in bands, cut to a picture of `size`: nothing outside it is kept.
  void Build(const XorRecord& record, QSize size);
  void Clear();

  // Calls visit(run) for every run on rows top .. bottom.
  template <typename Visit>
  void ForEachRun(int top, int bottom, Visit&& visit) const {
    if (starts_.size() < 2) return;  // no rows
    top = std::max(top, 0);
    if (top > bottom) return;
    const auto firstBand = static_cast<std::size_t>(top >> kBandShift);
    const auto lastBand = std::min(static_cast<std::size_t>(bottom >> kBandShift), starts_.size() - 2);
    for (std::size_t band = firstBand; band <= lastBand; ++band) {
      const bool whole = static_cast<int>(band << kBandShift) >= top &&
                         static_cast<int>(((band + 1) << kBandShift) - 1) <= bottom;
      for (std::uint32_t i = starts_[band]; i < starts_[band + 1]; ++i) {
        if (whole || (runs_[i].y >= top && runs_[i].y <= bottom)) visit(runs_[i]);
      }
    }
  }

 private:
  std::vector<std::uint32_t> starts_;  // band b's runs lie from starts_[b] to starts_[b + 1]
  XorRecord runs_;
};

}  // namespace ostrel
