#pragma once

#include <cstdint>

namespace ostrel {

// One colour component of a picture in memory: 8-bit samples, `pixelStride` bytes apart
// in a row (2 where two components share a plane), rows `stride` bytes apart.
struct YuvPlane {
  std::uint8_t* data = nullptr;
  int stride = 0;
  int pixelStride = 1;
};

// How the picture's Y'CbCr codes stand for R'G'B' colours: the luma weights of red and
// blue (Kr, Kb) and the codes of black and of the largest excursions, as
// Y' = lumaOffset + lumaExcursion * luma and Cb, Cr = chromaOffset + chromaExcursion * Pb, Pr.
struct YuvCoding {
  double kr = 0.299;
  double kb = 0.114;
  int lumaOffset = 16;
  int lumaExcursion = 219;
  int chromaOffset = 128;
  int chromaExcursion = 224;
};

// A decoded video picture in 8-bit Y'CbCr, drawn into where it lies: a view of memory that
// somebody else owns. Each chroma sample covers a block of (1 << chromaShiftX) by
// (1 << chromaShiftY) luma samples, at most 2 x 2.
struct YuvPicture {
  int width = 0;
  int height = 0;
  YuvPlane y;
  YuvPlane u;
  YuvPlane v;
  int chromaShiftX = 1;
  int chromaShiftY = 1;
  YuvCoding coding;
};

}  // namespace ostrel
