#pragma once

#include <QImage>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "overlay/bitmap_headers.h"

namespace ostrel {

// A grabbed frame's file image, checked to hold a whole 24-bit picture.
struct CapturedFrame {
  std::vector<std::uint8_t> image;  // the file as read
  BitmapInfoHeader info;            // with biSizeImage recomputed from the picture's size
};

// Why a file image cannot be annotated.
enum class CapturedFrameProblem {
  None,
  Incomplete,   // shorter than its headers, or fewer pixel bytes than the picture needs
  Unsupported,  // not 24 bits per pixel, compressed, or not a positive width and height
};

// Checks a file image and recomputes its image size. Only uncompressed 24-bit bottom-up
// pictures are taken: they are what the grabber writes, their pixels begin right after the
// headers, and the snapshot file has no place for a colour table.
CapturedFrameProblem CheckCapturedFrame(std::span<const std::uint8_t> image,
                                        BitmapInfoHeader& info);

// The picture as a top-down 24-bit image with the same bytes per pixel (blue, green, red).
QImage PictureFromCapturedFrame(const CapturedFrame& frame);
// Puts the picture's pixels back into the rows of the file image, leaving their padding.
void StorePictureInCapturedFrame(const QImage& picture, CapturedFrame& frame);

}  // namespace ostrel
