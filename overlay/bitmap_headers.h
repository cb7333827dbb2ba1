#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace ostrel {

inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::size_t kBitmapFileHeaderBytes = 14;
inline constexpr std::size_t kBitmapInfoHeaderBytes = 40;
// Where the pixels of a bitmap without a colour table begin.
inline constexpr std::size_t kBitmapPixelOffset = kBitmapFileHeaderBytes + kBitmapInfoHeaderBytes;

// The 14 bytes that open a bitmap file.
struct BitmapFileHeader {
  std::uint16_t bfType = 0x4D42;  // "BM"
  std::uint32_t bfSize = 0;
  std::uint16_t bfReserved1 = 0;
  std::uint16_t bfReserved2 = 0;
  std::uint32_t bfOffBits = kBitmapPixelOffset;

  bool operator==(const BitmapFileHeader&) const = default;
};

// The 40-byte header of a device-independent bitmap, in the file's field order, as the
// grabber describes its frames and a grabbed "1.bmp" stores them.
struct BitmapInfoHeader {
  std::uint32_t biSize = 40;
  std::int32_t biWidth = 0;
  std::int32_t biHeight = 0;  // positive: the rows run from the bottom of the picture up
  std::uint16_t biPlanes = 1;
  std::uint16_t biBitCount = 24;
  std::uint32_t biCompression = kBiRgb;
  std::uint32_t biSizeImage = 0;
  std::int32_t biXPelsPerMeter = 0;
  std::int32_t biYPelsPerMeter = 0;
  std::uint32_t biClrUsed = 0;
  std::uint32_t biClrImportant = 0;

  bool operator==(const BitmapInfoHeader&) const = default;
};

// Little-endian, field by field, whatever the machine's byte order.
std::array<std::uint8_t, kBitmapFileHeaderBytes> EncodeBitmapFileHeader(
    const BitmapFileHeader& header);
BitmapFileHeader DecodeBitmapFileHeader(
    std::span<const std::uint8_t, kBitmapFileHeaderBytes> bytes);
std::array<std::uint8_t, kBitmapInfoHeaderBytes> EncodeBitmapInfoHeader(
    const BitmapInfoHeader& header);
BitmapInfoHeader DecodeBitmapInfoHeader(
    std::span<const std::uint8_t, kBitmapInfoHeaderBytes> bytes);

// Bytes of one pixel row, padded to whole 32-bit words; nothing for a width of 0 or less.
std::optional<std::uint64_t> BitmapRowBytes(const BitmapInfoHeader& header);
// Row bytes times the height: the biSizeImage a picture of this header needs. Nothing for a
// height of 0 or less or a size that a 32-bit biSizeImage cannot hold.
std::optional<std::uint32_t> BitmapImageSize(const BitmapInfoHeader& header);

}  // namespace ostrel
