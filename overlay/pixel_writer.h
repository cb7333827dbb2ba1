#pragma once

#include <QColor>
#include <QImage>
#include <cstdint>
#include <vector>

#include "overlay/pixel_shapes.h"

namespace ostrel {

// How a canvas puts colour on its pixels: replacing them, or combining them with an
// exclusive-or, so that drawing the same thing again restores them.
enum class DrawMode { Copy, Xor };

// Puts one colour straight into the pixels of the picture formats the overlay draws on
// (the 32-bit mask and frames, the transparent layer a rendered snapshot look is painted
// on, the 24-bit snapshot), as a painter with antialiasing off would, without a paint
// engine's cost per call: strokes come as thousands of single pixels. Only the colour bits
// change; in the 32-bit formats the top byte (unused, or alpha) is left as it is when
// combining and set opaque when copying.
class PixelWriter {
 public:
  static bool Supports(QImage::Format format);

  // `image` must be of a supported format and stay alive, unshared, while the writer is used.
  PixelWriter(QImage& image, DrawMode mode);

  void SetColour(const QColor& colour);
  // Both take pixels inside the image. Put is inline: strokes call it once per pixel.
  void Put(std::int32_t x, std::int32_t y) {
    uchar* row = bits_ + static_cast<qsizetype>(y) * stride_;
    if (wide_) {
      PutWide(reinterpret_cast<std::uint32_t*>(row) + x);
    } else {
      PutNarrow(row + 3 * static_cast<qsizetype>(x));
    }
  }
  // Put, unless `skip`: chosen by masking rather than by a branch in the 32-bit formats, for
  // strokes whose pixels come again at random.
  void PutUnless(std::int32_t x, std::int32_t y, bool skip) {
    uchar* row = bits_ + static_cast<qsizetype>(y) * stride_;
    if (!wide_) {
      if (!skip) PutNarrow(row + 3 * static_cast<qsizetype>(x));
      return;
    }
    std::uint32_t* pixel = reinterpret_cast<std::uint32_t*>(row) + x;
    const std::uint32_t keep = 0u - static_cast<std::uint32_t>(skip);
    *pixel = combine_ ? *pixel ^ (rgb_ & ~keep) : (*pixel & keep) | ((0xFF000000u | rgb_) & ~keep);
  }
  void PutSpan(const PixelSpan& span);
  // Whether painting a pixel twice differs from painting it once.
  bool combines() const { return combine_; }

 private:
  void PutWide(std::uint32_t* pixel) const { *pixel = combine_ ? *pixel ^ rgb_ : 0xFF000000u | rgb_; }
  void PutNarrow(uchar* pixel) const;

  uchar* bits_;
  const std::uint32_t* end_;  // one past the picture's last pixel, for a 32-bit one
  qsizetype stride_;
  bool combine_;
  bool wide_;  // 32 bits a pixel, else 24 (blue, green, red)
  std::uint32_t rgb_ = 0;
  uchar blue_ = 0;
  uchar green_ = 0;
  uchar red_ = 0;
};

// Puts `colour` on every pixel of `spans`, which must lie inside the image.
void PaintSpans(QImage& image, DrawMode mode, const std::vector<PixelSpan>& spans, const QColor& colour);

}  // namespace ostrel
