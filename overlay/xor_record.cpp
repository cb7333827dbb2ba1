#include "overlay/xor_record.h"

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

}  // namespace ostrel
