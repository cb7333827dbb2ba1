#include "overlay/tile_marks.h"

#include <QImage>
#include <algorithm>

namespace ostrel {
namespace {

constexpr std::uint32_t kColourBits = 0x00FFFFFFu;

int TilesFor(int pixels) { return pixels <= 0 ? 0 : ((pixels - 1) >> TileMarks::kTileShift) + 1; }

std::uint32_t* PixelAt(QImage& picture, int x, int y) {
  return reinterpret_cast<std::uint32_t*>(picture.scanLine(y)) + x;
}

// Rows `stride` bytes apart from `first`; stops at the first row with colour in it.
bool TileIsBlack(const std::uint32_t* first, qsizetype stride, int width, int rows) {
  const auto* row = reinterpret_cast<const uchar*>(first);
  for (int y = 0; y < rows; ++y, row += stride) {
    const auto* pixel = reinterpret_cast<const std::uint32_t*>(row);
    std::uint32_t any = 0;
    for (int x = 0; x < width; ++x) any |= pixel[x];
    if ((any & kColourBits) != 0) return false;
  }
  return true;
}

}  // namespace

TileMarks::TileMarks(QSize picture)
    : picture_(picture.isValid() ? picture : QSize(0, 0)),
      tilesX_(TilesFor(picture_.width())),
      tilesY_(TilesFor(picture_.height())),
      marks_(static_cast<std::size_t>(tilesX_) * static_cast<std::size_t>(tilesY_), 0) {}

void TileMarks::MarkSpan(int y, int left, int right) {
  const std::size_t row = Index(0, y >> kTileShift);
  std::fill(marks_.begin() + static_cast<std::ptrdiff_t>(row + static_cast<std::size_t>(left >> kTileShift)),
            marks_.begin() + static_cast<std::ptrdiff_t>(row + static_cast<std::size_t>(right >> kTileShift) + 1),
            std::uint8_t{1});
}

void TileMarks::MarkRect(const QRect& rect) {
  const QRect inside = rect & QRect(QPoint(0, 0), picture_);
  if (inside.isEmpty()) return;
  for (int ty = inside.top() >> kTileShift; ty <= inside.bottom() >> kTileShift; ++ty) {
    MarkSpan(ty << kTileShift, inside.left(), inside.right());
  }
}

void TileMarks::MarkAll(const TileMarks& other) {
  if (other.marks_.size() != marks_.size()) return;
  for (std::size_t i = 0; i < marks_.size(); ++i) marks_[i] |= other.marks_[i];
}

void TileMarks::Clear() { std::fill(marks_.begin(), marks_.end(), std::uint8_t{0}); }

bool TileMarks::Empty() const {
  return std::none_of(marks_.begin(), marks_.end(), [](std::uint8_t mark) { return mark != 0; });
}

void TileMarks::DropClearTiles(const QImage& picture) {
  if (picture.size() != picture_ || picture.depth() != 32) return;
  const uchar* bits = picture.constBits();
  const qsizetype stride = picture.bytesPerLine();
  for (int ty = 0; ty < tilesY_; ++ty) {
    const int top = ty << kTileShift;
    const int rows = std::min(kTileSize, picture_.height() - top);
    for (int tx = 0; tx < tilesX_; ++tx) {
      std::uint8_t& mark = marks_[Index(tx, ty)];
      if (mark == 0) continue;
      const int left = tx << kTileShift;
      const auto* first = reinterpret_cast<const std::uint32_t*>(bits + top * stride) + left;
      if (TileIsBlack(first, stride, std::min(kTileSize, picture_.width() - left), rows)) mark = 0;
    }
  }
}

void FillMarkedTiles(QImage& picture, const TileMarks& marks, std::uint32_t pixel) {
  if (picture.size() != marks.picture() || picture.depth() != 32) return;
  marks.ForEachRun(QRect(QPoint(0, 0), marks.picture()), [&](const QRect& run) {
    for (int y = run.top(); y <= run.bottom(); ++y) {
      std::uint32_t* first = PixelAt(picture, run.left(), y);
      std::fill(first, first + run.width(), pixel);
    }
  });
}

}  // namespace ostrel
