#include "overlay/pixel_writer.h"

#include <algorithm>

#include "overlay/pixel_row_xor.h"

namespace ostrel {

bool PixelWriter::Supports(QImage::Format format) {
  return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 || format == QImage::Format_BGR888;
}

PixelWriter::PixelWriter(QImage& image, DrawMode mode)
    : bits_(image.bits()),
      end_(PixelsEnd(image)),
      stride_(image.bytesPerLine()),
      combine_(mode == DrawMode::Xor),
      wide_(image.format() != QImage::Format_BGR888) {}

void PixelWriter::SetColour(const QColor& colour) {
  rgb_ = colour.rgb() & 0x00FFFFFFu;
  red_ = static_cast<uchar>(colour.red());
  green_ = static_cast<uchar>(colour.green());
  blue_ = static_cast<uchar>(colour.blue());
}

void PixelWriter::PutNarrow(uchar* pixel) const {
  if (combine_) {
    pixel[0] ^= blue_;
    pixel[1] ^= green_;
    pixel[2] ^= red_;
  } else {
    pixel[0] = blue_;
    pixel[1] = green_;
    pixel[2] = red_;
  }
}

void PixelWriter::PutSpan(const PixelSpan& span) {
  uchar* row = bits_ + static_cast<qsizetype>(span.y) * stride_;
  if (!wide_) {
    for (std::int32_t x = span.left; x <= span.right; ++x) PutNarrow(row + 3 * static_cast<qsizetype>(x));
    return;
  }
  // Whole rows of the 32-bit formats in one tight loop: the point layer is cleared this way.
  std::uint32_t* pixel = reinterpret_cast<std::uint32_t*>(row) + span.left;
  if (combine_) {
    CombinePixelRun(pixel, span.right - span.left + 1, rgb_, end_);
  } else {
    std::fill(pixel, pixel + (span.right - span.left + 1), 0xFF000000u | rgb_);
  }
}

void PaintSpans(QImage& image, DrawMode mode, const std::vector<PixelSpan>& spans, const QColor& colour) {
  if (spans.empty()) return;
  PixelWriter writer(image, mode);
  writer.SetColour(colour);
  for (const PixelSpan& span : spans) writer.PutSpan(span);
}

}  // namespace ostrel
