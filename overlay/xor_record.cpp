#include "overlay/xor_record.h"

#include <algorithm>

namespace ostrel {

void CombineXorRecord(QImage& picture, const XorRecord& record) {
  if (picture.depth() == 32 && !record.empty()) {
    uchar* bits = picture.bits();
    const qsizetype stride = picture.bytesPerLine();
    const int width = picture.width();
    const int height = picture.height();
    for (const XorDelta& delta : record) {
      if (delta.x < 0 || delta.x >= width || delta.y < 0 || delta.y >= height) continue;
      reinterpret_cast<std::uint32_t*>(bits + delta.y * stride)[delta.x] ^= delta.bits;
    }
  }
}

void SortXorRecordByRow(XorRecord& record, XorRecord& scratch) {
  if (record.empty()) return;
  const auto [lowest, highest] = std::minmax_element(record.begin(), record.end(),
                                                     [](const XorDelta& a, const XorDelta& b) { return a.y < b.y; });
  const std::int64_t low = lowest->y;
  const auto rows = static_cast<std::size_t>(std::int64_t{highest->y} - low + 1);
  // Rows further apart than any picture's are sorted without a count a row.
  if (rows > (std::size_t{1} << 20)) {
    std::stable_sort(record.begin(), record.end(), [](const XorDelta& a, const XorDelta& b) { return a.y < b.y; });
    return;
  }
  std::vector<std::uint32_t> starts(rows + 1, 0);
  for (const XorDelta& delta : record) ++starts[static_cast<std::size_t>(delta.y - low) + 1];
  for (std::size_t row = 0; row < rows; ++row) starts[row + 1] += starts[row];
  scratch.resize(record.size());
  for (const XorDelta& delta : record) scratch[starts[static_cast<std::size_t>(delta.y - low)]++] = delta;
  record.swap(scratch);
}

}  // namespace ostrel
