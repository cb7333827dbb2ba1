#include "overlay/xor_record.h"

namespace ostrel {

void CombineXorRecord(QImage& picture, const XorRecord& record) {
  if (picture.depth() != 32 || record.empty()) return;
  uchar* const bits = picture.bits();
  const qsizetype stride = picture.bytesPerLine();
  for (const XorRun& run : record) {
    if (run.y < 0 || run.y >= picture.height()) continue;
    const std::int32_t left = std::max(run.left, 0);
    const std::int32_t right = std::min(run.right, picture.width() - 1);
    auto* pixel = reinterpret_cast<std::uint32_t*>(bits + run.y * stride) + left;
    for (std::int32_t x = left; x <= right; ++x) *pixel++ ^= run.bits;
  }
}

}  // namespace ostrel
