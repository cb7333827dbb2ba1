#include "overlay/yuv_layer_blend.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "overlay/yuv_colour_coder.h"

namespace ostrel {
namespace {

// Pixels of a row tested together before any of their blocks is looked at: overlays touch
// a few percent of a picture, so most runs of the layer are skipped whole. A multiple of
// every block width.
constexpr int kRun = 8;

int BlockCount(int pixels, int shift) { return pixels <= 0 ? 0 : ((pixels - 1) >> shift) + 1; }

std::uint8_t Byte(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

// The rows of one row of chroma blocks: one or two of the layer and of the luma, and the
// chroma samples of the blocks.
struct BlockRow {
  const std::uint32_t* layer[2];
  std::uint8_t* luma[2];
  std::uint8_t* cb;
  std::uint8_t* cr;
  int rows;
};

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

  QRect Area() const { return QRect(0, 0, width_, height_); }

  // Marks the blocks that hold a pixel of `drawn` inside the area picture and layer share.
  void MarkBlocks(const DrawnPixels& drawn, TouchedBlocks& blocks) const {
    const int shiftX = picture_.chromaShiftX;
    const int shiftY = picture_.chromaShiftY;
    blocks.Start(BlockCount(width_, shiftX), BlockCount(height_, shiftY));
    for (const PixelSpan& span : drawn.spans) {
      if (span.y < 0 || span.y >= height_) continue;
      const int last = std::min(span.right, width_ - 1) >> shiftX;
      for (int column = std::max(span.left, 0) >> shiftX; column <= last; ++column) blocks.Add(column, span.y >> shiftY);
    }
    ForEachRunInside(drawn.pixels, QSize(width_, height_), [&](const XorRun& run) {
      for (int column = run.left >> shiftX; column <= run.right >> shiftX; ++column) blocks.Add(column, run.y >> shiftY);
    });
  }

  void BlendMarked(TouchedBlocks& blocks) const {
    const int blockHeight = 1 << picture_.chromaShiftY;
    BlockRow row{};
    int rowAt = -1;
    blocks.Take([&](int block, int chromaRow) {
      if (chromaRow != rowAt) {
        const int top = chromaRow << picture_.chromaShiftY;
        row = RowAt(chromaRow, top, std::min(top + blockHeight, height_));
        rowAt = chromaRow;
      }
      if (BlockTouched(row, block)) BlendBlock(row, block);
    });
  }

  // `area` must start on a block's first row and column; what of it lies outside the
  // picture or the layer is left alone.
  void BlendArea(const QRect& area) const {
    const QRect inside = area & Area();
    const int blockHeight = 1 << picture_.chromaShiftY;
    for (int top = inside.top(); top <= inside.bottom(); top += blockHeight) {
      const BlockRow row = RowAt(top >> picture_.chromaShiftY, top, std::min(top + blockHeight, height_));
      BlendBlockRow(row, inside.left(), inside.right() + 1);
    }
  }

 private:
  BlockRow RowAt(int chromaRow, int top, int bottom) const {
    BlockRow row{};
    row.rows = bottom - top;
    for (int i = 0; i < row.rows; ++i) {
      row.layer[i] = reinterpret_cast<const std::uint32_t*>(layerBits_ + static_cast<qsizetype>(top + i) * layerStride_);
      row.luma[i] = picture_.y.data + static_cast<std::ptrdiff_t>(top + i) * picture_.y.stride;
    }
    row.cb = picture_.u.data + static_cast<std::ptrdiff_t>(chromaRow) * picture_.u.stride;
    row.cr = picture_.v.data + static_cast<std::ptrdiff_t>(chromaRow) * picture_.v.stride;
    return row;
  }

  void BlendBlockRow(const BlockRow& row, int from, int to) const {
    for (int left = from; left < to; left += kRun) {
      const int right = std::min(left + kRun, to);
      if (!Touches(row, left, right)) continue;
      for (int block = left >> picture_.chromaShiftX; (block << picture_.chromaShiftX) < right; ++block) {
        if (BlockTouched(row, block)) BlendBlock(row, block);
      }
    }
  }

  bool Touches(const BlockRow& row, int left, int right) const {
    std::uint32_t any = 0;
    for (int i = 0; i < row.rows; ++i) {
      const std::uint32_t* pixels = row.layer[i] + left;
      if (right - left == kRun) {
        // A fixed count, which the compiler turns into a few wide loads.
        for (int x = 0; x < kRun; ++x) any |= pixels[x];
      } else {
        for (int x = 0; x < right - left; ++x) any |= pixels[x];
      }
    }
    return (any & touched_) != 0;
  }

  bool BlockTouched(const BlockRow& row, int block) const {
    const int left = block << picture_.chromaShiftX;
    const int right = std::min(left + (1 << picture_.chromaShiftX), width_);
    std::uint32_t any = 0;
    for (int i = 0; i < row.rows; ++i) {
      for (int x = left; x < right; ++x) any |= row.layer[i][x];
    }
    return (any & touched_) != 0;
  }

  // The bytes written here may alias anything, so the settings the loop reads are copied
  // into locals first, which the compiler can keep in registers across the writes.
  void BlendBlock(const BlockRow& row, int block) const {
    const int left = block << picture_.chromaShiftX;
    const int right = std::min(left + (1 << picture_.chromaShiftX), width_);
    const int lumaStep = picture_.y.pixelStride;
    const std::uint32_t touched = touched_;
    const bool combine = xor_;
    const YuvColourCoder& coder = coder_;
    std::uint8_t& cb = row.cb[block * picture_.u.pixelStride];
    std::uint8_t& cr = row.cr[block * picture_.v.pixelStride];
    const int oldCb = cb;
    const int oldCr = cr;
    const int oldCbFine = oldCb << YuvColourCoder::kFractionBits;
    const int oldCrFine = oldCr << YuvColourCoder::kFractionBits;
    const YuvColourCoder::ChromaShift chroma = coder.Chroma(oldCb, oldCr);
    YuvColourCoder::ColourSum changed;
    for (int i = 0; i < row.rows; ++i) {
      const std::uint32_t* marks = row.layer[i];
      std::uint8_t* lumaRow = row.luma[i];
      for (int x = left; x < right; ++x) {
        const std::uint32_t mark = marks[x];
        if ((mark & touched) == 0) continue;
        std::uint8_t& luma = lumaRow[x * lumaStep];
        const std::uint32_t paint = mark & 0x00FFFFFFu;
        const std::uint32_t colour = combine ? coder.ToRgb(luma, chroma) ^ paint : paint;
        luma = static_cast<std::uint8_t>(coder.Luma(colour));
        changed.Add(colour);
      }
    }
    const int cbChange = coder.CbFineTotal(changed) - changed.count * oldCbFine;
    const int crChange = coder.CrFineTotal(changed) - changed.count * oldCrFine;
    // A block holds 1, 2 or 4 pixels, so the average is a shift, rounded half up.
    const int shift = YuvColourCoder::kFractionBits +
                      std::countr_zero(static_cast<unsigned>((right - left) * row.rows));
    const int half = 1 << (shift - 1);
    cb = Byte(oldCb + ((cbChange + half) >> shift));
    cr = Byte(oldCr + ((crChange + half) >> shift));
  }

  const YuvPicture& picture_;
  YuvColourCoder coder_;
  bool xor_;
  std::uint32_t touched_;
  int width_;
  int height_;
  // Read a row at a time, thousands of times a picture: no call into the image each time.
  const uchar* layerBits_;
  qsizetype layerStride_;
};

}  // namespace

void BlendLayerIntoYuv(const QImage& layer, LayerBlend blend, const YuvPicture& picture) {
  if (layer.depth() != 32) return;
  const LayerBlender blender(layer, blend, picture);
  blender.BlendArea(blender.Area());
}

void BlendLayerIntoYuv(const QImage& layer, const TileMarks& marks, LayerBlend blend, const YuvPicture& picture) {
  if (layer.depth() != 32 || marks.picture() != layer.size()) return;
  const LayerBlender blender(layer, blend, picture);
  // Runs of tiles start on a tile's first row and column, and tiles hold whole blocks.
  static_assert(TileMarks::kTileSize % 4 == 0, "a tile must hold whole chroma blocks");
  marks.ForEachRun(blender.Area(), [&blender](const QRect& run) { blender.BlendArea(run); });
}

void BlendLayerIntoYuv(const QImage& layer, const DrawnPixels& drawn, TouchedBlocks& blocks, LayerBlend blend,
                       const YuvPicture& picture) {
  if (layer.depth() != 32) return;
  const LayerBlender blender(layer, blend, picture);
  blender.MarkBlocks(drawn, blocks);
  blender.BlendMarked(blocks);
}

}  // namespace ostrel
