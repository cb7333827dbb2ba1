#include "overlay/bitmap_headers.h"

#include <limits>

namespace ostrel {
namespace {

class ByteWriter {
 public:
  explicit ByteWriter(std::span<std::uint8_t> bytes) : bytes_(bytes) {}

  template <typename Unsigned>
  void Put(Unsigned value) {
    for (std::size_t i = 0; i < sizeof(Unsigned); ++i) {
      bytes_[at_++] = static_cast<std::uint8_t>(value >> (8 * i));
    }
  }
  void PutSigned(std::int32_t value) { Put(static_cast<std::uint32_t>(value)); }

 private:
  std::span<std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  template <typename Unsigned>
  Unsigned Get() {
    Unsigned value = 0;
    for (std::size_t i = 0; i < sizeof(Unsigned); ++i) {
      value =
          static_cast<Unsigned>(value | static_cast<Unsigned>(Unsigned{bytes_[at_++]} << (8 * i)));
    }
    return value;
  }
  std::int32_t GetSigned() { return static_cast<std::int32_t>(Get<std::uint32_t>()); }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

}  // namespace

std::array<std::uint8_t, kBitmapFileHeaderBytes> EncodeBitmapFileHeader(
    const BitmapFileHeader& header) {
  std::array<std::uint8_t, kBitmapFileHeaderBytes> bytes{};
  ByteWriter out(bytes);
  out.Put(header.bfType);
  out.Put(header.bfSize);
  out.Put(header.bfReserved1);
  out.Put(header.bfReserved2);
  out.Put(header.bfOffBits);
  return bytes;
}

BitmapFileHeader DecodeBitmapFileHeader(
    std::span<const std::uint8_t, kBitmapFileHeaderBytes> bytes) {
  ByteReader in(bytes);
  BitmapFileHeader header;
  header.bfType = in.Get<std::uint16_t>();
  header.bfSize = in.Get<std::uint32_t>();
  header.bfReserved1 = in.Get<std::uint16_t>();
  header.bfReserved2 = in.Get<std::uint16_t>();
  header.bfOffBits = in.Get<std::uint32_t>();
  return header;
}

std::array<std::uint8_t, kBitmapInfoHeaderBytes> EncodeBitmapInfoHeader(
    const BitmapInfoHeader& header) {
  std::array<std::uint8_t, kBitmapInfoHeaderBytes> bytes{};
  ByteWriter out(bytes);
  out.Put(header.biSize);
  out.PutSigned(header.biWidth);
  out.PutSigned(header.biHeight);
  out.Put(header.biPlanes);
  out.Put(header.biBitCount);
  out.Put(header.biCompression);
  out.Put(header.biSizeImage);
  out.PutSigned(header.biXPelsPerMeter);
  out.PutSigned(header.biYPelsPerMeter);
  out.Put(header.biClrUsed);
  out.Put(header.biClrImportant);
  return bytes;
}

BitmapInfoHeader DecodeBitmapInfoHeader(
    std::span<const std::uint8_t, kBitmapInfoHeaderBytes> bytes) {
  ByteReader in(bytes);
  BitmapInfoHeader header;
  header.biSize = in.Get<std::uint32_t>();
  header.biWidth = in.GetSigned();
  header.biHeight = in.GetSigned();
  header.biPlanes = in.Get<std::uint16_t>();
  header.biBitCount = in.Get<std::uint16_t>();
  header.biCompression = in.Get<std::uint32_t>();
  header.biSizeImage = in.Get<std::uint32_t>();
  header.biXPelsPerMeter = in.GetSigned();
  header.biYPelsPerMeter = in.GetSigned();
  header.biClrUsed = in.Get<std::uint32_t>();
  header.biClrImportant = in.Get<std::uint32_t>();
  return header;
}

std::optional<std::uint64_t> BitmapRowBytes(const BitmapInfoHeader& header) {
  if (header.biWidth <= 0) return std::nullopt;
  const std::uint64_t bits = static_cast<std::uint64_t>(header.biWidth) * header.biBitCount;
  return (bits + 31) / 32 * 4;
}

std::optional<std::uint32_t> BitmapImageSize(const BitmapInfoHeader& header) {
  const auto row = BitmapRowBytes(header);
  if (!row || header.biHeight <= 0) return std::nullopt;
  const std::uint64_t size = *row * static_cast<std::uint64_t>(header.biHeight);
  if (size > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  return static_cast<std::uint32_t>(size);
}

}  // namespace ostrel
