#pragma once

#include <algorithm>
#include <cstdint>

#include "overlay/yuv_picture.h"

namespace ostrel {

// Converts between one picture's Y'CbCr codes and the 24-bit R'G'B' colours the overlay
// draws with (0x00RRGGBB), in fixed point. It runs for every pixel an overlay touches, tens
// of thousands a frame, so the conversions are inline and a block's chroma is worked out
// once for all its pixels.
class YuvColourCoder {
 public:
  // Chroma comes in these steps of a code, so that a block's average loses nothing.
  static constexpr int kFractionBits = 16;

  // What one chroma sample (Cb, Cr) adds to the red, green and blue of its pixels.
  struct ChromaShift {
    int red = 0;
    int green = 0;
    int blue = 0;
  };

  explicit YuvColourCoder(const YuvCoding& coding);

  ChromaShift Chroma(int u, int v) const {
    const int cb = u - chromaOffset_;
    const int cr = v - chromaOffset_;
    return {redFromCr_ * cr, -greenFromCb_ * cb - greenFromCr_ * cr, blueFromCb_ * cb};
  }
  std::uint32_t ToRgb(int y, const ChromaShift& chroma) const {
    const int luma = (y - lumaOffset_) * fromLuma_ + kHalf;
    return static_cast<std::uint32_t>(Limited((luma + chroma.red) >> kFractionBits) << 16 |
                                      Limited((luma + chroma.green) >> kFractionBits) << 8 |
                                      Limited((luma + chroma.blue) >> kFractionBits));
  }
  std::uint32_t ToRgb(int y, int u, int v) const { return ToRgb(y, Chroma(u, v)); }

  // The luma code of a colour, limited to 0..255.
  int Luma(std::uint32_t rgb) const {
    return Limited(lumaOffset_ + ((luma_.Apply(rgb) + kHalf) >> kFractionBits));
  }
  // The chroma codes of a colour, times 1 << kFractionBits, not limited.
  int CbFine(std::uint32_t rgb) const { return (chromaOffset_ << kFractionBits) + cb_.Apply(rgb); }
  int CrFine(std::uint32_t rgb) const { return (chromaOffset_ << kFractionBits) + cr_.Apply(rgb); }

  // The red, green and blue of a few colours added up (at most a chroma block's four).
  struct ColourSum {
    int red = 0;
    int green = 0;
    int blue = 0;
    int count = 0;

    void Add(std::uint32_t rgb) {
      red += static_cast<int>(rgb >> 16 & 0xFFu);
      green += static_cast<int>(rgb >> 8 & 0xFFu);
      blue += static_cast<int>(rgb & 0xFFu);
      ++count;
    }
  };
  // The sums of CbFine and CrFine over the colours added: the codes are linear in the
  // colour, so the sum of the colours gives exactly the sum of their codes.
  int CbFineTotal(const ColourSum& sum) const { return sum.count * (chromaOffset_ << kFractionBits) + cb_.Apply(sum); }
  int CrFineTotal(const ColourSum& sum) const { return sum.count * (chromaOffset_ << kFractionBits) + cr_.Apply(sum); }

 private:
  static constexpr int kHalf = 1 << (kFractionBits - 1);

  struct Weights {
    int r = 0;
    int g = 0;
    int b = 0;
    int Apply(std::uint32_t rgb) const {
      return r * static_cast<int>(rgb >> 16 & 0xFFu) + g * static_cast<int>(rgb >> 8 & 0xFFu) +
             b * static_cast<int>(rgb & 0xFFu);
    }
    int Apply(const ColourSum& sum) const { return r * sum.red + g * sum.green + b * sum.blue; }
  };

  static int Limited(int value) { return std::clamp(value, 0, 255); }

  int lumaOffset_;
  int chromaOffset_;
  // Code to colour: luma, red from Cr, green from Cb and Cr, blue from Cb.
  int fromLuma_;
  int redFromCr_;
  int greenFromCb_;
  int greenFromCr_;
  int blueFromCb_;
  // Colour to code.
  Weights luma_;
  Weights cb_;
  Weights cr_;
};

}  // namespace ostrel
