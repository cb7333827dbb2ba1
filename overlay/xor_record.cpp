#include "overlay/xor_record.h"

namespace ostrel {

void UndoXorRecord(QImage& picture, XorRecord& record) {
  if (picture.depth() == 32 && !record.empty()) {
    auto* pixels = reinterpret_cast<std::uint32_t*>(picture.bits());
    const auto size = static_cast<std::uint64_t>(picture.bytesPerLine() / 4) * static_cast<std::uint64_t>(picture.height());
    for (const XorDelta& delta : record) {
      if (delta.offset < size) pixels[delta.offset] ^= delta.bits;
    }
  }
  record.clear();
}

}  // namespace ostrel
