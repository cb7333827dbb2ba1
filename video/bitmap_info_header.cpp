#include "video/bitmap_info_header.h"

namespace ostrel {

std::int64_t Rgb24RowBytes(std::int32_t width) {
  return (static_cast<std::int64_t>(width) * 3 + 3) / 4 * 4;
}

BitmapInfoHeader MakeRgb24Header(std::int32_t width, std::int32_t height) {
  BitmapInfoHeader header;
  header.biWidth = width;
  header.biHeight = height;
  header.biSizeImage = static_cast<std::uint32_t>(Rgb24RowBytes(width) * height);
  return header;
}

}  // namespace ostrel
