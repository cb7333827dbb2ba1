#pragma once

#include <QImage>
#include <cstdint>
#include <cstring>

namespace ostrel {

namespace pixel_xor_detail {

using Word = std::uint32_t __attribute__((vector_size(16)));
inline constexpr std::int64_t kWordPixels = 4;

inline void CombineWord(std::uint32_t* at, Word bits) {
  Word pixels;
  std::memcpy(&pixels, at, sizeof pixels);
  pixels ^= bits;
  std::memcpy(at, &pixels, sizeof pixels);
}

}  // namespace pixel_xor_detail

// Inverts `bits` in the 32-bit pixels first .. first + count - 1 (count >= 0) of a picture
// whose last pixel lies before `end`; a count below one inverts nothing. The overlay's runs are mostly two to eight pixels, and a
// loop a pixel at a time mispredicts where nearly every run ends; here up to eight pixels are
// two vector words whose lanes beyond the run combine with zero, writing those pixels back
// unchanged. The lanes must lie in the picture, so a run too near its end goes a pixel at a
// time.
inline void CombinePixelRun(std::uint32_t* first, std::int64_t count, std::uint32_t bits, const std::uint32_t* end) {
  using namespace pixel_xor_detail;
  if (count <= 0) return;
  if (end - first < kWordPixels * 2) {
    for (std::int64_t i = 0; i < count; ++i) first[i] ^= bits;
    return;
  }
  const Word colour = {bits, bits, bits, bits};
  while (count > kWordPixels * 2 && end - first >= kWordPixels * 4) {
    CombineWord(first, colour);
    CombineWord(first + kWordPixels, colour);
    first += kWordPixels * 2;
    count -= kWordPixels * 2;
  }
  if (count > kWordPixels * 2) {  // the picture's last pixels
    for (std::int64_t i = 0; i < count; ++i) first[i] ^= bits;
    return;
  }
  const Word lanes = {0, 1, 2, 3};
  const auto wanted = static_cast<std::uint32_t>(count);
  CombineWord(first, colour & static_cast<Word>(lanes < wanted));
  CombineWord(first + kWordPixels, colour & static_cast<Word>(lanes + kWordPixels < wanted));
}

// One past the last pixel of a 32-bit picture, for CombinePixelRun.
inline const std::uint32_t* PixelsEnd(const QImage& picture) {
  return reinterpret_cast<const std::uint32_t*>(picture.constBits() + picture.sizeInBytes());
}

}  // namespace ostrel
