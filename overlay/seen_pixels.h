#pragma once

#include <QRect>
#include <QSize>
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
  // Every pixel of `rect`, which must lie inside the picture. The words it touches are cleared
  // whole: only for a rectangle around every pixel seen since the bits were last all clear.
  void EraseWordsOf(const QRect& rect);
  // Words EraseWordsOf(rect) would clear.
  std::size_t WordsOf(const QRect& rect) const;

 private:
  std::uint64_t& Word(std::int32_t x, std::int32_t y) {
    return words_[static_cast<std::size_t>(y) * rowWords_ + (static_cast<std::size_t>(x) >> 6)];
  }

  QSize picture_;
  std::size_t rowWords_ = 0;  // rows begin on a word of their own
  std::vector<std::uint64_t> words_;
};

}  // namespace ostrel
