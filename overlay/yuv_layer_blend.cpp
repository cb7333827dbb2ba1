#include "overlay/yuv_layer_blend.h"

#include <algorithm>
#include <cstdint>

#include "overlay/yuv_colour_coder.h"

namespace ostrel {
namespace {

// Pixels of a row tested together before any of their blocks is looked at: overlays touch
// a few percent of a picture, so most runs of the layer are skipped whole. A multiple of
// every block width.
constexpr int kRun = 8;

// a / b rounded half away from zero, for b > 0.
int RoundedQuotient(int a, int b) { return a >= 0 ? (a + b / 2) / b : -((b / 2 - a) / b); }

std::uint8_t Byte(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

class LayerBlender {
 public:
  LayerBlender(const QImage& layer, LayerBlend blend, const YuvPicture& picture)
      : picture_(picture),
        coder_(picture.coding),
        xor_(blend == LayerBlend::Xor),
        touched_(xor_ ? 0x00FFFFFFu : 0xFF000000u),
        width_(std::min(picture.width, layer.width())),
        height_(std::min(picture.height, layer.height())),
        layerBits_(layer.constBits()),
        layerStride_(layer.bytesPerLine()) {}

  void BlendAll() const {
    const int blockHeight = 1 << picture_.chromaShiftY;
    for (int top = 0, chromaRow = 0; top < height_; top += blockHeight, ++chromaRow) {
      BlendBlockRow(chromaRow, top, std::min(top + blockHeight, height_));
    }
  }

 private:
  const std::uint32_t* LayerRow(int y) const {
    return reinterpret_cast<const std::uint32_t*>(layerBits_ + static_cast<qsizetype>(y) * layerStride_);
  }

  // Rows top .. bottom - 1 hold one row of chroma blocks.
  void BlendBlockRow(int chromaRow, int top, int bottom) const {
    for (int left = 0; left < width_; left += kRun) {
      const int right = std::min(left + kRun, width_);
      if (!Touches(left, right, top, bottom)) continue;
      for (int block = left >> picture_.chromaShiftX; (block << picture_.chromaShiftX) < right; ++block) {
        BlendBlock(block, chromaRow, top, bottom);
      }
    }
  }

  bool Touches(int left, int right, int top, int bottom) const {
    std::uint32_t any = 0;
    for (int y = top; y < bottom; ++y) {
      const std::uint32_t* row = LayerRow(y) + left;
      if (right - left == kRun) {
        // A fixed count, which the compiler turns into a few wide loads.
        for (int x = 0; x < kRun; ++x) any |= row[x];
      } else {
        for (int x = 0; x < right - left; ++x) any |= row[x];
      }
    }
    return (any & touched_) != 0;
  }

  void BlendBlock(int block, int chromaRow, int top, int bottom) const {
    const int left = block << picture_.chromaShiftX;
    const int right = std::min(left + (1 << picture_.chromaShiftX), width_);
    std::uint8_t& cb = picture_.u.data[chromaRow * picture_.u.stride + block * picture_.u.pixelStride];
    std::uint8_t& cr = picture_.v.data[chromaRow * picture_.v.stride + block * picture_.v.pixelStride];
    const YuvColourCoder::ChromaShift chroma = coder_.Chroma(cb, cr);
    int cbChange = 0;
    int crChange = 0;
    for (int y = top; y < bottom; ++y) {
      const std::uint32_t* row = LayerRow(y);
      std::uint8_t* lumaRow = picture_.y.data + y * picture_.y.stride;
      for (int x = left; x < right; ++x) {
        if ((row[x] & touched_) == 0) continue;
        std::uint8_t& luma = lumaRow[x * picture_.y.pixelStride];
        const std::uint32_t colour = NewColour(row[x] & 0x00FFFFFFu, luma, chroma);
        luma = static_cast<std::uint8_t>(coder_.Luma(colour));
        cbChange += coder_.CbFine(colour) - (cb << YuvColourCoder::kFractionBits);
        crChange += coder_.CrFine(colour) - (cr << YuvColourCoder::kFractionBits);
      }
    }
    const int share = (right - left) * (bottom - top) << YuvColourCoder::kFractionBits;
    cb = Byte(cb + RoundedQuotient(cbChange, share));
    cr = Byte(cr + RoundedQuotient(crChange, share));
  }

  std::uint32_t NewColour(std::uint32_t layerColour, int y, const YuvColourCoder::ChromaShift& chroma) const {
    return xor_ ? coder_.ToRgb(y, chroma) ^ layerColour : layerColour;
  }

  const YuvPicture& picture_;
  YuvColourCoder coder_;
  bool xor_;
  std::uint32_t touched_;
  int width_;
  int height_;
  const uchar* layerBits_;
  qsizetype layerStride_;
};

}  // namespace

void BlendLayerIntoYuv(const QImage& layer, LayerBlend blend, const YuvPicture& picture) {
  if (layer.depth() != 32) return;
  LayerBlender(layer, blend, picture).BlendAll();
}

}  // namespace ostrel
