#include "overlay/xor_record.h"

#include "overlay/pixel_row_xor.h"

namespace ostrel {

void CombineXorRecord(QImage& picture, const XorRecord& record) {
  if (picture.depth() != 32 || record.empty()) return;
  uchar* const bits = picture.bits();
  const qsizetype stride = picture.bytesPerLine();
  const std::uint32_t* const end = PixelsEnd(picture);
  ForEachRunInside(record, picture.size(), [&](const XorRun& run) {
    auto* first = reinterpret_cast<std::uint32_t*>(bits + run.y * stride) + run.left;
    CombinePixelRun(first, run.right - run.left + 1, run.bits, end);
  });
}

}  // namespace ostrel
