#include "overlay/seen_pixels.h"

#include <algorithm>

namespace ostrel {

void SeenPixels::Fit(QSize picture) {
  if (picture == picture_) return;
  picture_ = picture;
  rowWords_ = (static_cast<std::size_t>(std::max(picture.width(), 0)) + 63) / 64;
  words_.assign(rowWords_ * static_cast<std::size_t>(std::max(picture.height(), 0)), 0);
}

void SeenPixels::Clear() { std::fill(words_.begin(), words_.end(), 0); }

void SeenPixels::EraseWordsOf(const QRect& rect) {
  if (rect.isEmpty()) return;
  const auto first = static_cast<std::size_t>(rect.left()) >> 6;
  const std::size_t count = (static_cast<std::size_t>(rect.right()) >> 6) - first + 1;
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    std::uint64_t* row = words_.data() + static_cast<std::size_t>(y) * rowWords_ + first;
    std::fill(row, row + count, 0);
  }
}

std::size_t SeenPixels::WordsOf(const QRect& rect) const {
  if (rect.isEmpty()) return 0;
  const std::size_t perRow = (static_cast<std::size_t>(rect.right()) >> 6) - (static_cast<std::size_t>(rect.left()) >> 6) + 1;
  return perRow * static_cast<std::size_t>(rect.height());
}

}  // namespace ostrel
