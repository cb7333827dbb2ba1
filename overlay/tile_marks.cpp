#include "overlay/tile_marks.h"

#include <QImage>
#include <algorithm>

namespace ostrel {
namespace {

int TilesFor(int pixels) { return pixels <= 0 ? 0 : ((pixels - 1) >> TileMarks::kTileShift) + 1; }

std::uint32_t* PixelAt(QImage& picture, int x, int y) {
  return reinterpret_cast<std::uint32_t*>(picture.scanLine(y)) + x;
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
