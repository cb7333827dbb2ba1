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
//
// A band's run takes 8 bytes, half of a record's: showing reads every run at every painted
// frame, from memory that the video has passed through since, and the sort writes them all
// after every redraw. A run longer than a band run can hold comes as pieces.
class XorBandRuns {
 public:
  static constexpr int kBandShift = 6;  // bands of 64 rows, as the video view paints them
  // The widest picture whose every column a band run can name: wider than any widget.
  static constexpr std::int64_t kWidestPicture = std::int64_t{1} << 24;

  // Puts the runs of `record` in bands, cut to a picture of `size`: nothing outside it is kept.
  // The picture must be at most kWidestPicture wide; the runs' bits are colour bits, the low 24.
  void Build(const XorRecord& record, QSize size);
  void Clear();

  // Calls visit(run) for every run on rows top .. bottom.
  template <typename Visit>
  void ForEachRun(int top, int bottom, Visit&& visit) const {
    top = std::max(top, 0);
    if (top > bottom || bands_ == 0) return;
    const auto firstBand = static_cast<std::size_t>(top >> kBandShift);
    const auto lastBand = std::min(static_cast<std::size_t>(bottom >> kBandShift), bands_ - 1);
    for (std::size_t band = firstBand; band <= lastBand; ++band) {
      const auto bandTop = static_cast<std::int32_t>(band << kBandShift);
      const bool whole = bandTop >= top && bandTop + (1 << kBandShift) - 1 <= bottom;
      for (const BandRun& packed : runs_[band]) {
        const XorRun run = packed.Unpacked(bandTop);
        if (whole || (run.y >= top && run.y <= bottom)) visit(run);
      }
    }
  }

 private:
  struct BandRun {
    static constexpr std::int32_t kLongest = 256;  // pixels

    // A run of 1 .. kLongest pixels on row `row` of its band.
    static BandRun Packed(std::int32_t row, std::int32_t left, std::int32_t pixels, std::uint32_t bits) {
      return {(bits & 0x00FFFFFFu) | static_cast<std::uint32_t>(row) << 24,
              static_cast<std::uint32_t>(left) | static_cast<std::uint32_t>(pixels - 1) << 24};
    }
    XorRun Unpacked(std::int32_t bandTop) const {
      const auto left = static_cast<std::int32_t>(leftAndLength & 0x00FFFFFFu);
      return {bandTop + static_cast<std::int32_t>(bitsAndRow >> 24), left,
              left + static_cast<std::int32_t>(leftAndLength >> 24), bitsAndRow & 0x00FFFFFFu};
    }

    std::uint32_t bitsAndRow;     // the colour bits in the low 24, the row in the band above
    std::uint32_t leftAndLength;  // the first column in the low 24, the pixels less one above
  };

  // A list a band, kept with its room from build to build: one pass over the record fills
  // them, where sizing one array for all would need a pass to count first.
  std::vector<std::vector<BandRun>> runs_;
  std::size_t bands_ = 0;  // of the picture last built for; runs_ may hold more
};

}  // namespace ostrel
