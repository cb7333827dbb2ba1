#pragma once

#include <cstdint>

#include "overlay/bitmap_headers.h"

namespace ostrel {

// Bytes in one row of a 24-bit bitmap `width` pixels wide: rows are padded to 4 bytes.
std::int64_t Rgb24RowBytes(std::int32_t width);

// The header of a 24-bit, uncompressed, bottom-up frame of `width` x `height` pixels.
BitmapInfoHeader MakeRgb24Header(std::int32_t width, std::int32_t height);

}  // namespace ostrel
