#include "overlay/seen_pixels.h"

namespace ostrel {

void SeenPixels::Fit(QSize picture) {
  if (picture == picture_) return;
  picture_ = picture;
  tilesPerRow_ = (static_cast<std::size_t>(std::max(picture.width(), 0)) + 7) / 8;
  const std::size_t tileRows = (static_cast<std::size_t>(std::max(picture.height(), 0)) + 7) / 8;
  tiles_.assign(tilesPerRow_ * tileRows, 0);
}

void SeenPixels::Clear() {
  std::fill(tiles_.begin(), tiles_.end(), 0);
  std::fill(window_.begin(), window_.end(), 0);
}

void SeenPixels::EraseTilesOf(const QRect& rect) {
  if (rect.isEmpty()) return;
  for (int y = rect.top() & ~7; y <= rect.bottom(); y += 8) {
    for (int x = rect.left() & ~7; x <= rect.right(); x += 8) Tile(x, y) = 0;
  }
}

std::size_t SeenPixels::TilesOf(const QRect& rect) const {
  if (rect.isEmpty()) return 0;
  const std::size_t perRow = (static_cast<std::size_t>(rect.right()) >> 3) - (static_cast<std::size_t>(rect.left()) >> 3) + 1;
  return perRow * ((static_cast<std::size_t>(rect.bottom()) >> 3) - (static_cast<std::size_t>(rect.top()) >> 3) + 1);
}

}  // namespace ostrel
