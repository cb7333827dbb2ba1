#pragma once

#include <QImage>

#include <vector>

#include "overlay/pixel_shapes.h"
#include "overlay/tile_marks.h"
#include "overlay/touched_blocks.h"
#include "overlay/xor_record.h"
#include "overlay/yuv_picture.h"

namespace ostrel {

// How the pixels of an overlay layer go onto a picture.
enum class LayerBlend {
  // The live overlay's mask (Format_RGB32): a pixel whose 24 colour bits are not all zero
  // is combined with the picture's R'G'B' colour under it by exclusive-or.
  Xor,
  // A transparent layer painted with opaque colours (Format_ARGB32): a pixel whose alpha is
  // not zero replaces the picture's colour under it.
  Cover,
};

// Pixels of a layer that a drawing went through: rows of pixels and the runs of a record, in
// any order, each as often as it came.
struct DrawnPixels {
  const std::vector<PixelSpan>& spans;
  const XorRecord& pixels;
};

// Puts a 32-bit layer, top-left on top-left, onto a Y'CbCr picture, changing only what the
// layer touches. Each touched pixel gets the luma of its new colour; each chroma sample
// moves by the average change that the touched pixels of its block make to it, so a block
// without a touched pixel keeps its bytes exactly. Parts of either outside the other are
// left alone.
void BlendLayerIntoYuv(const QImage& layer, LayerBlend blend, const YuvPicture& picture);
// The same, looking only at the marked tiles of the layer: everywhere else it must be
// untouched (black for exclusive-or, transparent for covering).
void BlendLayerIntoYuv(const QImage& layer, const TileMarks& marks, LayerBlend blend, const YuvPicture& picture);
// The same, looking only at the blocks that hold a pixel of `drawn`: every pixel the layer
// touches must be among them. Its work follows the drawing's pixels, not its tiles. `blocks`
// is the caller's, kept from picture to picture.
void BlendLayerIntoYuv(const QImage& layer, const DrawnPixels& drawn, TouchedBlocks& blocks, LayerBlend blend,
                       const YuvPicture& picture);

}  // namespace ostrel
