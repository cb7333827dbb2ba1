#pragma once

#include <cstdint>
#include <vector>

#include "overlay/yuv_picture.h"

namespace ostrel::testing {

// The memory layouts a decoder hands out, as the drawing sees them.
enum class YuvLayout { Planar420, Interleaved420, Planar422, Planar444 };

// A Y'CbCr picture that owns its memory, rows padded as decoders pad them.
class OwnedYuvPicture {
 public:
  OwnedYuvPicture(int width, int height, YuvLayout layout, YuvCoding coding = {}) {
    const bool interleaved = layout == YuvLayout::Interleaved420;
    view_.width = width;
    view_.height = height;
    view_.coding = coding;
    view_.chromaShiftX = layout == YuvLayout::Planar444 ? 0 : 1;
    view_.chromaShiftY = layout == YuvLayout::Planar420 || interleaved ? 1 : 0;
    const int chromaWidth = (width + (1 << view_.chromaShiftX) - 1) >> view_.chromaShiftX;
    const int chromaHeight = (height + (1 << view_.chromaShiftY) - 1) >> view_.chromaShiftY;
    const int lumaStride = width + 16;
    const int chromaStride = (interleaved ? 2 * chromaWidth : chromaWidth) + 16;
    luma_.assign(static_cast<std::size_t>(lumaStride * height), 0);
    cb_.assign(static_cast<std::size_t>(chromaStride * chromaHeight), 0);
    cr_.assign(interleaved ? 0 : cb_.size(), 0);
    view_.y = {luma_.data(), lumaStride, 1};
    if (interleaved) {
      view_.u = {cb_.data(), chromaStride, 2};
      view_.v = {cb_.data() + 1, chromaStride, 2};
    } else {
      view_.u = {cb_.data(), chromaStride, 1};
      view_.v = {cr_.data(), chromaStride, 1};
    }
  }
  OwnedYuvPicture(const OwnedYuvPicture&) = delete;
  OwnedYuvPicture& operator=(const OwnedYuvPicture&) = delete;

  const YuvPicture& view() const { return view_; }
  std::uint8_t& Y(int x, int y) { return view_.y.data[y * view_.y.stride + x]; }
  std::uint8_t& U(int x, int y) { return Chroma(view_.u, x, y); }
  std::uint8_t& V(int x, int y) { return Chroma(view_.v, x, y); }
  // Every byte of the picture's memory, padding included.
  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> all = luma_;
    all.insert(all.end(), cb_.begin(), cb_.end());
    all.insert(all.end(), cr_.begin(), cr_.end());
    return all;
  }

 private:
  // The chroma sample of the block that holds pixel (x, y).
  std::uint8_t& Chroma(const YuvPlane& plane, int x, int y) {
    return plane.data[(y >> view_.chromaShiftY) * plane.stride + (x >> view_.chromaShiftX) * plane.pixelStride];
  }

  YuvPicture view_;
  std::vector<std::uint8_t> luma_;
  std::vector<std::uint8_t> cb_;
  std::vector<std::uint8_t> cr_;  // empty when interleaved with Cb
};

}  // namespace ostrel::testing
