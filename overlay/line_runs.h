#pragma once

#include <QRect>
#include <algorithm>
#include <cstdint>
#include <limits>

#include "overlay/line_pixels.h"

namespace ostrel {

// The widest pen whose lines are walked as runs; a wider one is walked pixel by pixel.
inline constexpr std::int32_t kWidestRunPen = 8;

// Calls take(y, left, right) once for every row of `clip` that the pen of `penWidth` paints for
// the line from `from` to `to`, with the row's pixels left .. right cut at the clip. They are
// the pixels of ForEachLinePixel, each once, in one run a row: along a line a square moves by
// at most one pixel each way a step, so the squares that cover a row are one after the
// other, and together they cover one unbroken run of it. Rows come as the squares leave
// them. A pen wider than kWidestRunPen comes a pixel at a time instead, as runs of one that
// may come more than once.
namespace line_detail {

// kWidth is the pen's width when known at compile time (the live trails' 2 pixels), else 0 and
// `penWidth` holds it: a known width keeps the rows' runs in registers.
template <int kWidth, typename Take>
void WalkLineRuns(PixelPoint from, PixelPoint to, std::int32_t penWidth, const QRect& clip, Take& take) {
  constexpr std::int64_t kNone = std::numeric_limits<std::int64_t>::max();
  const std::int64_t width = kWidth > 0 ? kWidth : penWidth;
  // The runs of rows top .. top + width - 1, those the last square covered.
  std::int64_t top = kNone;
  std::int64_t lows[kWidestRunPen];
  std::int64_t highs[kWidestRunPen];
  const auto close = [&](std::int64_t row, std::int64_t low, std::int64_t high) __attribute__((always_inline)) {
    if (row < clip.top() || row > clip.bottom()) return;
    low = std::max<std::int64_t>(low, clip.left());
    high = std::min<std::int64_t>(high, clip.right());
    if (low <= high) take(static_cast<std::int32_t>(row), static_cast<std::int32_t>(low), static_cast<std::int32_t>(high));
  };
  ForEachLineSquare(from, to, penWidth, clip, [&](std::int64_t x, std::int64_t y) __attribute__((always_inline)) {
    if (top == kNone) {
      top = y;
      for (std::int64_t i = 0; i < width; ++i) {
        lows[i] = x;
        highs[i] = x + width - 1;
      }
      return;
    }
    if (y == top + 1) {  // the top row is left behind, one below comes
      close(top, lows[0], highs[0]);
      for (std::int64_t i = 0; i + 1 < width; ++i) {
        lows[i] = lows[i + 1];
        highs[i] = highs[i + 1];
      }
      lows[width - 1] = x;
      highs[width - 1] = x;
    } else if (y == top - 1) {  // the bottom row is left behind, one above comes
      close(top + width - 1, lows[width - 1], highs[width - 1]);
      for (std::int64_t i = width - 1; i > 0; --i) {
        lows[i] = lows[i - 1];
        highs[i] = highs[i - 1];
      }
      lows[0] = x;
      highs[0] = x;
    }
    top = y;
    for (std::int64_t i = 0; i < width; ++i) {
      lows[i] = std::min(lows[i], x);
      highs[i] = std::max(highs[i], x + width - 1);
    }
  });
  if (top == kNone) return;
  for (std::int64_t i = 0; i < width; ++i) close(top + i, lows[i], highs[i]);
}

}  // namespace line_detail

template <typename Take>
void ForEachLineRun(PixelPoint from, PixelPoint to, std::int32_t penWidth, const QRect& clip, Take&& take) {
  if (penWidth > kWidestRunPen) {
    ForEachLinePixel(from, to, penWidth, clip, [&](std::int32_t x, std::int32_t y) { take(y, x, x); });
  } else if (penWidth == 2) {
    line_detail::WalkLineRuns<2>(from, to, penWidth, clip, take);
  } else {
    line_detail::WalkLineRuns<0>(from, to, penWidth, clip, take);
  }
}

}  // namespace ostrel
