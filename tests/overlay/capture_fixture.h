#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "overlay/bitmap_headers.h"
#include "overlay/overlay_pens.h"

namespace ostrel::testing {

// A grabbed frame as the grabber hands it out: 24-bit rows from the bottom up, each padded
// to 4 bytes. Picture pixel (x, y), counted from the top, is blue x, green y (both modulo
// 256), red 0x40, and every padding byte is 0xEE, so that a lost row, a flipped picture or a
// lost colour shows.
struct GrabbedFrame {
  BitmapInfoHeader header;
  std::vector<std::uint8_t> pixels;

  std::size_t RowBytes() const {
    return (static_cast<std::size_t>(header.biWidth) * 3 + 3) / 4 * 4;
  }
};

inline GrabbedFrame MakeGrabbedFrame(std::int32_t width, std::int32_t height) {
  GrabbedFrame frame;
  frame.header.biWidth = width;
  frame.header.biHeight = height;
  frame.header.biSizeImage = 0;  // grabbers often leave it out; the snapshot recomputes it
  frame.pixels.assign(frame.RowBytes() * static_cast<std::size_t>(height), 0xEE);
  for (std::int32_t y = 0; y < height; ++y) {
    const std::size_t row = frame.RowBytes() * static_cast<std::size_t>(height - 1 - y);
    for (std::int32_t x = 0; x < width; ++x) {
      const std::size_t at = row + 3 * static_cast<std::size_t>(x);
      frame.pixels[at] = static_cast<std::uint8_t>(x);
      frame.pixels[at + 1] = static_cast<std::uint8_t>(y);
      frame.pixels[at + 2] = 0x40;
    }
  }
  return frame;
}

// The red, green and blue of picture pixel (x, y), counted from the top, in the bytes of a
// 24-bit bottom-up bitmap file.
inline std::uint32_t FileRgb(const std::vector<std::uint8_t>& file, std::int32_t width,
                             std::int32_t height, std::int32_t x, std::int32_t y) {
  const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  const std::size_t at = kBitmapPixelOffset + rowBytes * static_cast<std::size_t>(height - 1 - y) +
                         3 * static_cast<std::size_t>(x);
  return static_cast<std::uint32_t>(file.at(at + 2)) << 16 |
         static_cast<std::uint32_t>(file.at(at + 1)) << 8 | file.at(at);
}

// The background of pixel (x, y) in a MakeGrabbedFrame picture.
inline std::uint32_t BackgroundRgb(std::int32_t x, std::int32_t y) {
  return 0x400000u | (static_cast<std::uint32_t>(y) & 0xffu) << 8 |
         (static_cast<std::uint32_t>(x) & 0xffu);
}

inline std::uint32_t PenRgb(const Pen& pen) { return pen.colour.rgb() & 0xffffffu; }

inline std::vector<std::uint8_t> FileContent(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>());
}

inline void WriteContent(const std::filesystem::path& path,
                         const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

}  // namespace ostrel::testing
