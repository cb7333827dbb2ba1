#include "overlay/xor_band_runs.h"

namespace ostrel {

// The runs go to their bands as they come: each band's list is a stream of writes, where a
// list a row would write to a thousand places, each missing the cache.
void XorBandRuns::Build(const XorRecord& record, QSize size) {
  const int rows = std::max(size.height(), 0);
  bands_ = rows == 0 ? 0 : (static_cast<std::size_t>(rows - 1) >> kBandShift) + 1;
  if (runs_.size() < bands_) runs_.resize(bands_);
  for (std::vector<BandRun>& band : runs_) band.clear();
  constexpr std::int32_t kLongest = BandRun::kLongest;
  constexpr std::int32_t kRowMask = (1 << kBandShift) - 1;
  ForEachRunInside(record, size, [&](const XorRun& run) {
    std::vector<BandRun>& band = runs_[static_cast<std::size_t>(run.y) >> kBandShift];
    const std::int32_t row = run.y & kRowMask;
    std::int32_t left = run.left;
    for (; run.right - left >= kLongest; left += kLongest) band.push_back(BandRun::Packed(row, left, kLongest, run.bits));
    band.push_back(BandRun::Packed(row, left, run.right - left + 1, run.bits));
  });
}

void XorBandRuns::Clear() {
  for (std::vector<BandRun>& band : runs_) band.clear();
  bands_ = 0;
}

}  // namespace ostrel
