#pragma once

#include <QRect>
#include <QSize>
#include <algorithm>
#include <cstdint>
#include <vector>

namespace ostrel {

// One bit for every pixel of a picture: which pixels a stroke has already painted, so that a
// combining stroke inverts each pixel once. A 1080p picture takes 260 kB, which stays in the
// processor's cache while a trail's pixels come at random; whoever draws picture after
// picture keeps one, and each stroke takes its own bits back before the next begins.
class SeenPixels {
 public:
  // Made the size of `picture` with no pixel seen; the same size keeps the bits as they are.
  void Fit(QSize picture);
  void Clear();

  // Pixels inside the picture. 1 when the pixel was not seen before, else 0: a count, so that
  // a caller can keep the pixel by adding it rather than by guessing a branch.
  std::size_t Insert(std::int32_t x, std::int32_t y) {
    std::uint64_t& word = Word(x, y);
    const std::uint64_t bit = std::uint64_t{1} << (x & 63);
    const std::size_t fresh = (word & bit) == 0 ? 1 : 0;
    word |= bit;
    return fresh;
  }
  void Erase(std::int32_t x, std::int32_t y) { Word(x, y) &= ~(std::uint64_t{1} << (x & 63)); }

  // Marks the pixels left .. right of row y (inside the picture) seen, and calls
  // fresh(from, to) for each piece of them that was not seen before, left to right; pieces
  // that meet at a word's edge come as two.
  template <typename Fresh>
  void InsertRun(std::int32_t y, std::int32_t left, std::int32_t right, Fresh&& fresh) {
    std::uint64_t* row = &Word(0, y);
    for (std::int32_t base = left & ~63; base <= right; base += 64) {
      const std::uint64_t wanted = BitsBetween(std::max(left, base) - base, std::min(right, base + 63) - base);
      std::uint64_t& word = row[static_cast<std::size_t>(base) >> 6];
      std::uint64_t unseen = wanted & ~word;
      word |= wanted;
      while (unseen != 0) {
        const int first = __builtin_ctzll(unseen);
        const std::uint64_t from = unseen >> first;
        const int length = ~from == 0 ? 64 - first : __builtin_ctzll(~from);
        fresh(base + first, base + first + length - 1);
        unseen &= ~BitsBetween(first, first + length - 1);
      }
    }
  }
  // The pixels left .. right of row y, inside the picture, unseen.
  void EraseRun(std::int32_t y, std::int32_t left, std::int32_t right) {
    std::uint64_t* row = &Word(0, y);
    for (std::int32_t base = left & ~63; base <= right; base += 64) {
      row[static_cast<std::size_t>(base) >> 6] &= ~BitsBetween(std::max(left, base) - base, std::min(right, base + 63) - base);
    }
  }
  // Every pixel of `rect`, which must lie inside the picture. The words it touches are cleared
  // whole: only for a rectangle around every pixel seen since the bits were last all clear.
  void EraseWordsOf(const QRect& rect);
  // Words EraseWordsOf(rect) would clear.
  std::size_t WordsOf(const QRect& rect) const;

 private:
  // Bits first .. last of a word, 0 <= first <= last <= 63.
  static std::uint64_t BitsBetween(int first, int last) {
    const std::uint64_t upTo = last == 63 ? ~std::uint64_t{0} : (std::uint64_t{2} << last) - 1;
    return upTo & ~((std::uint64_t{1} << first) - 1);
  }
  std::uint64_t& Word(std::int32_t x, std::int32_t y) {
    return words_[static_cast<std::size_t>(y) * rowWords_ + (static_cast<std::size_t>(x) >> 6)];
  }

  QSize picture_;
  std::size_t rowWords_ = 0;  // rows begin on a word of their own
  std::vector<std::uint64_t> words_;
};

}  // namespace ostrel
