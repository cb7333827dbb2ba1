#include "overlay/captured_frame.h"

#include <algorithm>
#include <cstring>

namespace ostrel {
namespace {

constexpr std::uint16_t kTrueColourBits = 24;

std::size_t RowBytes(const CapturedFrame& frame) {
  return static_cast<std::size_t>(*BitmapRowBytes(frame.info));
}

// The file's rows run from the bottom of the picture up.
std::size_t RowOffset(const CapturedFrame& frame, int pictureRow) {
  const auto fileRow = static_cast<std::size_t>(frame.info.biHeight - 1 - pictureRow);
  return kBitmapPixelOffset + fileRow * RowBytes(frame);
}

}  // namespace

CapturedFrameProblem CheckCapturedFrame(std::span<const std::uint8_t> image,
                                        BitmapInfoHeader& info) {
  if (image.size() < kBitmapPixelOffset) return CapturedFrameProblem::Incomplete;
  info = DecodeBitmapInfoHeader(image.subspan<kBitmapFileHeaderBytes, kBitmapInfoHeaderBytes>());
  if (info.biBitCount != kTrueColourBits || info.biCompression != kBiRgb) {
    return CapturedFrameProblem::Unsupported;
  }
  const auto imageSize = BitmapImageSize(info);
  if (!imageSize) return CapturedFrameProblem::Unsupported;
  if (image.size() - kBitmapPixelOffset < *imageSize) return CapturedFrameProblem::Incomplete;
  info.biSizeImage = *imageSize;
  return CapturedFrameProblem::None;
}

QImage PictureFromCapturedFrame(const CapturedFrame& frame) {
  QImage picture(frame.info.biWidth, frame.info.biHeight, QImage::Format_BGR888);
  if (picture.isNull()) return picture;
  const auto pixelBytes = static_cast<std::size_t>(frame.info.biWidth) * 3;
  for (int row = 0; row < picture.height(); ++row) {
    std::memcpy(picture.scanLine(row), frame.image.data() + RowOffset(frame, row), pixelBytes);
  }
  return picture;
}

void StorePictureInCapturedFrame(const QImage& picture, CapturedFrame& frame) {
  const auto pixelBytes = static_cast<std::size_t>(frame.info.biWidth) * 3;
  for (int row = 0; row < picture.height(); ++row) {
    std::memcpy(frame.image.data() + RowOffset(frame, row), picture.constScanLine(row), pixelBytes);
  }
}

}  // namespace ostrel
