#include "overlay/yuv_layer_blend.h"

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "overlay/yuv_colour_coder.h"
#include "tests/overlay/yuv_picture_fixture.h"

namespace ostrel {
namespace {

using testing::OwnedYuvPicture;
using testing::YuvLayout;

const YuvCoding kBt601Limited{};
const YuvCoding kBt709Limited{0.2126, 0.0722, 16, 219, 128, 224};
const YuvCoding kBt601Full{0.299, 0.114, 0, 255, 128, 255};

int ChannelDistance(std::uint32_t a, std::uint32_t b) {
  int largest = 0;
  for (int shift : {0, 8, 16}) {
    largest = std::max(largest, std::abs(static_cast<int>((a >> shift) & 0xFFu) - static_cast<int>((b >> shift) & 0xFFu)));
  }
  return largest;
}

struct CodeCase {
  const char* name;
  YuvCoding coding;
  std::uint32_t rgb;
  int y;
  int cb;
  int cr;
};

TEST(YuvColourCoder, GivesTheStandardCodesOfTheCommonColours) {
  const CodeCase cases[] = {
      {"601 black", kBt601Limited, 0x000000, 16, 128, 128},  {"601 white", kBt601Limited, 0xFFFFFF, 235, 128, 128},
      {"601 red", kBt601Limited, 0xFF0000, 81, 90, 240},     {"601 green", kBt601Limited, 0x00FF00, 145, 54, 34},
      {"601 blue", kBt601Limited, 0x0000FF, 41, 240, 110},   {"709 red", kBt709Limited, 0xFF0000, 63, 102, 240},
      {"709 blue", kBt709Limited, 0x0000FF, 32, 240, 118},   {"full white", kBt601Full, 0xFFFFFF, 255, 128, 128},
      {"full red", kBt601Full, 0xFF0000, 76, 85, 255},
  };
  for (const CodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    const YuvColourCoder coder(c.coding);
    EXPECT_EQ(coder.Luma(c.rgb), c.y);
    constexpr int kOne = 1 << YuvColourCoder::kFractionBits;
    EXPECT_NEAR(coder.CbFine(c.rgb), c.cb * kOne, kOne / 2 + 1);
    EXPECT_NEAR(coder.CrFine(c.rgb), c.cr * kOne, kOne / 2 + 1);
    EXPECT_LE(ChannelDistance(coder.ToRgb(c.y, c.cb, c.cr), c.rgb), 2);
  }
}

TEST(YuvColourCoder, ColoursSurviveTheRoundTripWithinRounding) {
  for (const YuvCoding& coding : {kBt601Limited, kBt709Limited, kBt601Full}) {
    const YuvColourCoder coder(coding);
    for (std::uint32_t rgb = 0; rgb < 0x1000000u; rgb += 0x0F1F0Bu) {
      const int cb = (coder.CbFine(rgb) + (1 << 15)) >> YuvColourCoder::kFractionBits;
      const int cr = (coder.CrFine(rgb) + (1 << 15)) >> YuvColourCoder::kFractionBits;
      ASSERT_LE(ChannelDistance(coder.ToRgb(coder.Luma(rgb), cb, cr), rgb), 3) << std::hex << rgb;
    }
  }
}

// A picture of smoothly varying colours, different in every block.
void FillGradient(OwnedYuvPicture& picture, int width, int height) {
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      picture.Y(x, y) = static_cast<std::uint8_t>(40 + 3 * x + 2 * y);
      picture.U(x, y) = static_cast<std::uint8_t>(90 + 5 * (x / 2) + y / 2);
      picture.V(x, y) = static_cast<std::uint8_t>(160 - 4 * (y / 2) + x / 2);
    }
  }
}

struct LayoutCase {
  const char* name;
  YuvLayout layout;
};

const LayoutCase kLayouts[] = {{"I420", YuvLayout::Planar420},
                               {"NV12", YuvLayout::Interleaved420},
                               {"Y42B", YuvLayout::Planar422},
                               {"Y444", YuvLayout::Planar444}};

constexpr int kWidth = 21;  // odd, so the last column of blocks is cut
constexpr int kHeight = 13;

QImage ClearLayer(QImage::Format format) {
  QImage layer(kWidth, kHeight, format);
  layer.fill(format == QImage::Format_ARGB32 ? 0x00000000u : 0xFF000000u);
  return layer;
}

TEST(BlendLayerIntoYuv, ANothingLayerLeavesEveryByte) {
  for (const LayoutCase& layout : kLayouts) {
    SCOPED_TRACE(layout.name);
    OwnedYuvPicture picture(kWidth, kHeight, layout.layout);
    FillGradient(picture, kWidth, kHeight);
    const std::vector<std::uint8_t> before = picture.Bytes();
    BlendLayerIntoYuv(ClearLayer(QImage::Format_RGB32), LayerBlend::Xor, picture.view());
    QImage transparent = ClearLayer(QImage::Format_ARGB32);
    transparent.setPixel(3, 3, 0x00FF0000u);  // a colour without alpha is no paint
    BlendLayerIntoYuv(transparent, LayerBlend::Cover, picture.view());
    EXPECT_EQ(picture.Bytes(), before);
  }
}

struct BlendCase {
  const char* name;
  LayerBlend blend;
  QImage::Format format;
  std::uint32_t paint;  // the layer pixel painted
};

const BlendCase kBlends[] = {
    {"xor white", LayerBlend::Xor, QImage::Format_RGB32, 0xFFFFFFFFu},
    {"xor pen", LayerBlend::Xor, QImage::Format_RGB32, 0xFF8000FFu},
    {"cover red", LayerBlend::Cover, QImage::Format_ARGB32, 0xFFFF0000u},
    {"cover white", LayerBlend::Cover, QImage::Format_ARGB32, 0xFFFFFFFFu},
};

// The colour a pixel shows after the blend, from its luma and its block's chroma.
std::uint32_t Shown(OwnedYuvPicture& picture, int x, int y) {
  return YuvColourCoder(picture.view().coding).ToRgb(picture.Y(x, y), picture.U(x, y), picture.V(x, y));
}

bool IsPainted(const BlendCase& c, QRgb pixel) {
  return (pixel & (c.blend == LayerBlend::Xor ? 0x00FFFFFFu : 0xFF000000u)) != 0;
}

std::uint32_t Expected(const BlendCase& c, std::uint32_t before) {
  return c.blend == LayerBlend::Xor ? before ^ (c.paint & 0xFFFFFFu) : c.paint & 0xFFFFFFu;
}

// What the blend must leave in one chroma sample: the old code moved by the average of the
// changes the block's touched pixels ask for, every pixel of the block in the picture
// counting once.
double ExpectedChroma(OwnedYuvPicture& original, const QImage& layer, const BlendCase& c, int bx, int by, bool blue) {
  const YuvPicture& view = original.view();
  const YuvColourCoder coder(view.coding);
  const int left = bx << view.chromaShiftX;
  const int top = by << view.chromaShiftY;
  const double before = blue ? original.U(left, top) : original.V(left, top);
  double change = 0;
  int pixels = 0;
  for (int y = top; y < std::min(top + (1 << view.chromaShiftY), kHeight); ++y) {
    for (int x = left; x < std::min(left + (1 << view.chromaShiftX), kWidth); ++x) {
      ++pixels;
      if (!IsPainted(c, layer.pixel(x, y))) continue;
      const std::uint32_t target = Expected(c, Shown(original, x, y));
      change += (blue ? coder.CbFine(target) : coder.CrFine(target)) / 65536.0 - before;
    }
  }
  return std::clamp(before + change / pixels, 0.0, 255.0);
}

// The layer paints a 4 x 4 square on whole blocks of every layout, and one pixel alone at
// (15, 9), which shares its block with pixels the layer leaves in all but 4:4:4.
TEST(BlendLayerIntoYuv, ChangesOnlyTheTouchedPixelsAndTheirBlocksChroma) {
  for (const LayoutCase& layout : kLayouts) {
    for (const BlendCase& c : kBlends) {
      SCOPED_TRACE(std::string(layout.name) + ", " + c.name);
      OwnedYuvPicture picture(kWidth, kHeight, layout.layout);
      FillGradient(picture, kWidth, kHeight);
      OwnedYuvPicture original(kWidth, kHeight, layout.layout);
      FillGradient(original, kWidth, kHeight);
      QImage layer = ClearLayer(c.format);
      for (int y = 2; y < 6; ++y) {
        for (int x = 4; x < 8; ++x) layer.setPixel(x, y, c.paint);
      }
      layer.setPixel(15, 9, c.paint);

      BlendLayerIntoYuv(layer, c.blend, picture.view());

      const YuvColourCoder coder(picture.view().coding);
      for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
          SCOPED_TRACE(::testing::Message() << "pixel " << x << "," << y);
          const bool touched = IsPainted(c, layer.pixel(x, y));
          const std::uint32_t target = Expected(c, Shown(original, x, y));
          EXPECT_EQ(picture.Y(x, y), touched ? coder.Luma(target) : original.Y(x, y));
          const int bx = x >> picture.view().chromaShiftX;
          const int by = y >> picture.view().chromaShiftY;
          EXPECT_NEAR(picture.U(x, y), ExpectedChroma(original, layer, c, bx, by, true), 0.5 + 1e-9);
          EXPECT_NEAR(picture.V(x, y), ExpectedChroma(original, layer, c, bx, by, false), 0.5 + 1e-9);
          // A block painted whole in one colour shows that colour, within rounding.
          const bool inSquare = x >= 4 && x < 8 && y >= 2 && y < 6;
          if (inSquare && c.blend == LayerBlend::Cover) {
            EXPECT_LE(ChannelDistance(Shown(picture, x, y), target), 4);
          }
        }
      }
    }
  }
}

// Looking only at marked tiles, or only at the blocks of listed pixels, changes nothing when
// they cover the drawing: painted pixels in tiles and blocks cut by the picture's edges, a
// marked tile and a listed span with nothing painted in them, pixels listed twice and
// outside the picture. One list of blocks serves every case, as it serves picture after
// picture: what one case listed must not hide a block from the next.
TEST(BlendLayerIntoYuv, MarkedTilesAndListedPixelsBlendAsTheWholeLayer) {
  TouchedBlocks blocks;
  for (const LayoutCase& layout : kLayouts) {
    for (const BlendCase& c : kBlends) {
      SCOPED_TRACE(std::string(layout.name) + ", " + c.name);
      QImage layer = ClearLayer(c.format);
      TileMarks marks(layer.size());
      // Runs outside the picture, and runs cut by its left and right edges.
      XorRecord listed = {{2, -1, -1, 0}, {0, kWidth, kWidth, 0}, {kHeight, 3, 3, 0}, {6, -3, 1, 0},
                          {7, kWidth - 2, kWidth + 3, 0}};
      for (const auto& [x, y] : {std::pair{0, 0}, {9, 3}, {20, 4}, {17, kHeight - 1}, {8, 8}}) {
        layer.setPixel(x, y, c.paint);
        marks.MarkPixel(x, y);
        listed.push_back({y, x, x, 0});
        listed.push_back({y, x, x, 0});
      }
      marks.MarkPixel(1, kHeight - 1);
      const std::vector<PixelSpan> spans = {{9, 12, 16}, {kHeight - 1, 1, 2}, {-1, 0, 4}, {5, 18, kWidth + 6}};
      for (int x = 12; x <= 16; x += 3) layer.setPixel(x, 9, c.paint);
      layer.setPixel(kWidth - 1, 5, c.paint);
      marks.MarkSpan(9, 12, 16);
      marks.MarkPixel(kWidth - 1, 5);
      OwnedYuvPicture whole(kWidth, kHeight, layout.layout);
      FillGradient(whole, kWidth, kHeight);
      OwnedYuvPicture marked(kWidth, kHeight, layout.layout);
      FillGradient(marked, kWidth, kHeight);
      OwnedYuvPicture fromPixels(kWidth, kHeight, layout.layout);
      FillGradient(fromPixels, kWidth, kHeight);
      BlendLayerIntoYuv(layer, c.blend, whole.view());
      BlendLayerIntoYuv(layer, marks, c.blend, marked.view());
      BlendLayerIntoYuv(layer, DrawnPixels{spans, listed}, blocks, c.blend, fromPixels.view());
      EXPECT_EQ(marked.Bytes(), whole.Bytes());
      EXPECT_EQ(fromPixels.Bytes(), whole.Bytes());
    }
  }
}

TEST(BlendLayerIntoYuv, ChromaAtTheCutEdgeAveragesOnlyThePixelsInThePicture) {
  // Column 20 is the last; in 4:2:0 its block holds two pixels, not four. Painting both
  // gives the block their colour exactly as if the block were whole.
  OwnedYuvPicture picture(kWidth, kHeight, YuvLayout::Planar420);
  FillGradient(picture, kWidth, kHeight);
  QImage layer = ClearLayer(QImage::Format_ARGB32);
  layer.setPixel(20, 4, 0xFF00FF00u);
  layer.setPixel(20, 5, 0xFF00FF00u);
  BlendLayerIntoYuv(layer, LayerBlend::Cover, picture.view());
  EXPECT_LE(ChannelDistance(Shown(picture, 20, 4), 0x00FF00u), 4);
  EXPECT_LE(ChannelDistance(Shown(picture, 20, 5), 0x00FF00u), 4);
}

}  // namespace
}  // namespace ostrel
