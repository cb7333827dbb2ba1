#include "overlay/bitmap_headers.h"

#include <gtest/gtest.h>

#include <vector>

namespace ostrel {
namespace {

TEST(BitmapFileHeader, IsFourteenLittleEndianBytes) {
  const BitmapFileHeader header{0x4D42, 0x11223344, 0x5566, 0x7788, 54};
  const auto bytes = EncodeBitmapFileHeader(header);
  const std::vector<std::uint8_t> expected = {'B',  'M',  0x44, 0x33, 0x22, 0x11, 0x66,
                                              0x55, 0x88, 0x77, 54,   0,    0,    0};
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), expected);
  EXPECT_EQ(DecodeBitmapFileHeader(bytes), header);
}

TEST(BitmapInfoHeader, IsFortyLittleEndianBytesInFieldOrder) {
  BitmapInfoHeader header;
  header.biWidth = 0x01020304;
  header.biHeight = -2;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = 0x0A0B0C0D;
  header.biSizeImage = 0xCAFEBABE;
  header.biXPelsPerMeter = 2835;
  header.biYPelsPerMeter = -1;
  header.biClrUsed = 7;
  header.biClrImportant = 0x80000000u;
  const auto bytes = EncodeBitmapInfoHeader(header);
  const std::vector<std::uint8_t> expected = {
      40,   0,    0,    0,     // biSize
      0x04, 0x03, 0x02, 0x01,  // biWidth
      0xFE, 0xFF, 0xFF, 0xFF,  // biHeight
      1,    0,                 // biPlanes
      24,   0,                 // biBitCount
      0x0D, 0x0C, 0x0B, 0x0A,  // biCompression
      0xBE, 0xBA, 0xFE, 0xCA,  // biSizeImage
      0x13, 0x0B, 0,    0,     // biXPelsPerMeter
      0xFF, 0xFF, 0xFF, 0xFF,  // biYPelsPerMeter
      7,    0,    0,    0,     // biClrUsed
      0,    0,    0,    0x80,  // biClrImportant
  };
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), expected);
  EXPECT_EQ(DecodeBitmapInfoHeader(bytes), header);
}

TEST(BitmapImageSize, RowsArePaddedToWholeWords) {
  struct Case {
    std::int32_t width;
    std::int32_t height;
    std::uint16_t bits;
    std::optional<std::uint32_t> size;
  };
  const Case cases[] = {
      {1, 1, 24, 4},
      {4, 2, 24, 24},
      {45, 30, 24, 136 * 30},
      {13, 1, 24, 40},
      {7, 3, 8, 24},
      {33, 1, 1, 8},
      {0, 5, 24, std::nullopt},
      {5, 0, 24, std::nullopt},
      {5, -5, 24, std::nullopt},
      {0x7FFFFFFF, 0x7FFFFFFF, 24, std::nullopt},  // more than a 32-bit size holds
  };
  for (const Case& test : cases) {
    BitmapInfoHeader header;
    header.biWidth = test.width;
    header.biHeight = test.height;
    header.biBitCount = test.bits;
    EXPECT_EQ(BitmapImageSize(header), test.size)
        << test.width << "x" << test.height << "x" << test.bits;
  }
}

}  // namespace
}  // namespace ostrel
