#include "overlay/xor_band_runs.h"

namespace ostrel {

// A sort by counting into a few bands: the scatter writes a stream a band, where one a row
// would write to a thousand places, each missing the cache.
void XorBandRuns::Build(const XorRecord& record, QSize size) {
  const int rows = std::max(size.height(), 0);
  const std::size_t bands = rows == 0 ? 0 : (static_cast<std::size_t>(rows - 1) >> kBandShift) + 1;
  constexpr std::int32_t kLongest = BandRun::kLongest;
  std::vector<std::uint32_t> next(bands + 1, 0);
  ForEachRunInside(record, size, [&](const XorRun& run) {
    next[(static_cast<std::size_t>(run.y) >> kBandShift) + 1] += static_cast<std::uint32_t>((run.right - run.left) / kLongest + 1);
  });
  for (std::size_t band = 0; band < bands; ++band) next[band + 1] += next[band];
  starts_ = next;
  runs_.resize(next.back());
  constexpr std::int32_t kRowMask = (1 << kBandShift) - 1;
  ForEachRunInside(record, size, [&](const XorRun& run) {
    std::uint32_t& at = next[static_cast<std::size_t>(run.y) >> kBandShift];
    const std::int32_t row = run.y & kRowMask;
    std::int32_t left = run.left;
    for (; run.right - left >= kLongest; left += kLongest) runs_[at++] = BandRun::Packed(row, left, kLongest, run.bits);
    runs_[at++] = BandRun::Packed(row, left, run.right - left + 1, run.bits);
  });
}

void XorBandRuns::Clear() {
  starts_.clear();
  runs_.clear();
}

}  // namespace ostrel
