#pragma once

#include <QRect>
#include <QSize>
#include <cstdint>
#include <vector>

class QImage;

namespace ostrel {

// Which 8 x 8 tiles of a picture may hold drawing. Drawing marks the tiles it touches, so the
// work of showing, moving and erasing an overlay follows what is drawn, not the picture's
// size: the few thousand pixels of points and trails instead of two million of a 1080p mask.
// A mark may outlive its drawing (a tile erased again still counts); drawing without its
// mark is the one thing that must never happen.
class TileMarks {
 public:
  static constexpr int kTileShift = 3;
  static constexpr int kTileSize = 1 << kTileShift;

  explicit TileMarks(QSize picture = {});

  QSize picture() const { return picture_; }
  // Pixels and spans inside the picture.
  void MarkPixel(int x, int y) { marks_[Index(x >> kTileShift, y >> kTileShift)] = 1; }
  void MarkSpan(int y, int left, int right);
  // Any rectangle; the part inside the picture is marked.
  void MarkRect(const QRect& rect);
  void MarkAll(const TileMarks& other);
  void Clear();
  bool Empty() const;

  // Calls visit(QRect) for each run of marked tiles along a row of tiles that meets `area`,
  // clipped to `area` and the picture; runs never overlap, so each pixel comes once.
  template <typename Visit>
  void ForEachRun(const QRect& area, Visit visit) const {
    const QRect inside = area & QRect(QPoint(0, 0), picture_);
    if (inside.isEmpty()) return;
    for (int ty = inside.top() >> kTileShift; ty <= inside.bottom() >> kTileShift; ++ty) {
      const int lastTile = inside.right() >> kTileShift;
      for (int tx = inside.left() >> kTileShift; tx <= lastTile; ++tx) {
        if (marks_[Index(tx, ty)] == 0) continue;
        const int first = tx;
        while (tx < lastTile && marks_[Index(tx + 1, ty)] != 0) ++tx;
        const QRect run(first << kTileShift, ty << kTileShift, (tx - first + 1) << kTileShift, kTileSize);
        visit(run & inside);
      }
    }
  }

 private:
  std::size_t Index(int tx, int ty) const {
    return static_cast<std::size_t>(ty) * static_cast<std::size_t>(tilesX_) + static_cast<std::size_t>(tx);
  }

  QSize picture_;
  int tilesX_ = 0;
  int tilesY_ = 0;
  std::vector<std::uint8_t> marks_;
};

// Sets every pixel of the marked tiles of a 32-bit picture to `pixel`.
void FillMarkedTiles(QImage& picture, const TileMarks& marks, std::uint32_t pixel);

}  // namespace ostrel
