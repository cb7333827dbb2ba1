#pragma once

#include <QRect>
#include <QSize>
#include <algorithm>
#include <cstdint>
#include <vector>

namespace ostrel {

// One bit for every pixel of a picture: which pixels a stroke has already painted, so that a
// combining stroke inverts each pixel once. Whoever draws picture after picture keeps one,
// and each stroke takes its own bits back before the next begins.
//
// A word holds a tile of 8 x 8 pixels, a byte a row of it: a trail's line walks down rows, and
// its bits for eight rows come in one word, not eight words a row apart. A 1080p picture
// takes 260 kB.
//
// The tiles of a window of 512 x 512 pixels are kept apart, in 32 kB that stay in the cache:
// each stroke moves the window to where it begins, and a stroke seldom leaves it. Held with
// the picture, a redraw's strokes spread over the picture would find their bits in memory,
// since the video passes through the cache between redraws.
class SeenPixels {
 public:
  // Made the size of `picture` with no pixel seen; the same size keeps the bits as they are.
  void Fit(QSize picture);
  void Clear();
  // Centres the window on pixel (x, y). Only while no pixel is seen, as between strokes.
  void CentreWindow(std::int32_t x, std::int32_t y) {
    constexpr auto kHalf = static_cast<std::int32_t>(kWindowTiles / 2);
    windowLeft_ = (x >> 3) - kHalf;
    windowTop_ = (y >> 3) - kHalf;
  }

  // Pixels inside the picture. 1 when the pixel was not seen before, else 0.
  std::size_t Insert(std::int32_t x, std::int32_t y) {
    std::uint64_t& word = Tile(x, y);
    const std::uint64_t bit = std::uint64_t{1} << (((y & 7) << 3) | (x & 7));
    const std::size_t fresh = (word & bit) == 0 ? 1 : 0;
    word |= bit;
    return fresh;
  }
  void Erase(std::int32_t x, std::int32_t y) { Tile(x, y) &= ~(std::uint64_t{1} << (((y & 7) << 3) | (x & 7))); }

  // Marks the pixels left .. right of row y (inside the picture) seen, and calls
  // fresh(from, to) for each piece of them that was not seen before, left to right; pieces
  // that meet at a tile's edge come as two.
  template <typename Fresh>
  void InsertRun(std::int32_t y, std::int32_t left, std::int32_t right, Fresh&& fresh) {
    const int shift = (y & 7) << 3;
    if ((left >> 3) == (right >> 3)) [[likely]] {  // a steep line's two or three pixels
      std::uint64_t* tile = &Tile(left, y);
      const unsigned wanted = RowBits(left & 7, right & 7);
      const unsigned unseen = wanted & ~static_cast<unsigned>(*tile >> shift);
      *tile |= std::uint64_t{wanted} << shift;
      if (unseen == wanted) [[likely]] {
        fresh(left, right);
      } else {
        TakePieces(unseen, left & ~7, fresh);
      }
      return;
    }
    for (std::int32_t base = left & ~7; base <= right; base += 8) {
      std::uint64_t* tile = &Tile(base, y);
      const std::int32_t from = std::max(left, base);
      const std::int32_t to = std::min(right, base + 7);
      const unsigned wanted = RowBits(from - base, to - base);
      const unsigned unseen = wanted & ~static_cast<unsigned>(*tile >> shift);
      *tile |= std::uint64_t{wanted} << shift;
      if (unseen == wanted) [[likely]] {  // a line's row away from the joints
        fresh(from, to);
        continue;
      }
      TakePieces(unseen, base, fresh);
    }
  }
  // The pixels left .. right of row y, inside the picture, unseen.
  void EraseRun(std::int32_t y, std::int32_t left, std::int32_t right) {
    const int shift = (y & 7) << 3;
    for (std::int32_t base = left & ~7; base <= right; base += 8) {
      Tile(base, y) &= ~(std::uint64_t{RowBits(std::max(left, base) - base, std::min(right, base + 7) - base)} << shift);
    }
  }
  // Every pixel of `rect`, which must lie inside the picture. Whole tiles are cleared: only
  // for a rectangle around every pixel seen since the bits were last all clear.
  void EraseTilesOf(const QRect& rect);
  // Tiles EraseTilesOf(rect) would clear.
  std::size_t TilesOf(const QRect& rect) const;

 private:
  // Calls fresh(from, to) for each run of set bits of a tile's row whose first pixel is `base`.
  template <typename Fresh>
  static void TakePieces(unsigned unseen, std::int32_t base, Fresh& fresh) {
    while (unseen != 0) {
      const int first = __builtin_ctz(unseen);
      const int length = __builtin_ctz(~(unseen >> first));
      fresh(base + first, base + first + length - 1);
      unseen &= ~RowBits(first, first + length - 1);
    }
  }
  // Bits first .. last of a tile's row, 0 <= first <= last <= 7.
  static unsigned RowBits(int first, int last) { return ((2u << last) - 1) & ~((1u << first) - 1); }
  std::uint64_t& Tile(std::int32_t x, std::int32_t y) {
    const auto column = static_cast<std::uint32_t>((x >> 3) - windowLeft_);
    const auto row = static_cast<std::uint32_t>((y >> 3) - windowTop_);
    if (column < kWindowTiles && row < kWindowTiles) return window_[row * kWindowTiles + column];
    return tiles_[static_cast<std::size_t>(y >> 3) * tilesPerRow_ + static_cast<std::size_t>(x >> 3)];
  }

  static constexpr std::uint32_t kWindowTiles = 64;

  QSize picture_;
  std::size_t tilesPerRow_ = 0;
  std::vector<std::uint64_t> tiles_;  // of the picture, but for the window's tiles
  std::vector<std::uint64_t> window_ = std::vector<std::uint64_t>(kWindowTiles * kWindowTiles, 0);
  std::int32_t windowLeft_ = 0;  // in tiles
  std::int32_t windowTop_ = 0;
};

}  // namespace ostrel
