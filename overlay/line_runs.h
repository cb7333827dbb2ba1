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
// other, and together they cover one unbroken run of it. Rows come about in the order the
// line passes them. A pen wider than kWidestRunPen comes a pixel at a time instead, as runs
// of one that may come more than once.
namespace line_detail {

// Any pen up to kWidestRunPen, a square at a time, keeping the runs of the rows the last
// square covered.
template <typename Take>
void WalkLineRuns(PixelPoint from, PixelPoint to, std::int32_t penWidth, const QRect& clip, Take& take) {
  constexpr std::int64_t kNone = std::numeric_limits<std::int64_t>::max();
  const std::int64_t width = penWidth;
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

// The runs of a pen two pixels wide, the live trails' pen, from the line's steps alone. Its
// square at step k covers rows y_k and y_k + 1, so a row is covered by two neighbouring groups
// of steps at most: along y, the steps k - 1 and k; along x, the steps that share one minor
// offset and those of the offset before. Along x the major coordinate only grows or only
// shrinks, so such a row runs from the first step of the earlier group to the last of the later.
template <typename Take>
void WalkTwoPixelRuns(PixelPoint from, PixelPoint to, const QRect& clip, Take& take) {
  LineSteps plan = PlanLineSteps(from, to, 2, clip);
  if (plan.first > plan.last) return;
  const auto close = [&](std::int64_t row, std::int64_t a, std::int64_t b) __attribute__((always_inline)) {
    if (row < clip.top() || row > clip.bottom()) return;
    const std::int64_t low = std::max<std::int64_t>(std::min(a, b), clip.left());
    const std::int64_t high = std::min<std::int64_t>(std::max(a, b) + 1, clip.right());
    if (low <= high) take(static_cast<std::int32_t>(row), static_cast<std::int32_t>(low), static_cast<std::int32_t>(high));
  };
  std::int64_t major = plan.majorStart + plan.first * plan.direction;
  std::int64_t minor = plan.minorStart + plan.minorStep * plan.offset;
  if (!plan.alongX) {
    // Each step a row: the row it shares with the step before, taken as the step comes.
    // Which of a square's two rows, its top (0) or its bottom (1), the next step leaves alone:
    const std::int64_t unshared = plan.direction > 0 ? 0 : 1;
    close(major + unshared, minor, minor);
    for (std::int64_t k = plan.first + 1; k <= plan.last; ++k) {
      plan.Advance();
      const std::int64_t next = plan.minorStart + plan.minorStep * plan.offset;
      close(major + (1 - unshared), minor, next);
      major += plan.direction;
      minor = next;
    }
    close(major + (1 - unshared), minor, minor);
    return;
  }
  // Along x: the row of the minor offset left behind, shared with the group before it.
  const std::int64_t behind = plan.minorStep > 0 ? 0 : 1;
  std::int64_t groupStart = major;
  std::int64_t earlierStart = major;  // of the group before, or this group's when it is the first
  for (std::int64_t k = plan.first + 1; k <= plan.last; ++k) {
    plan.Advance();
    const std::int64_t next = plan.minorStart + plan.minorStep * plan.offset;
    major += plan.direction;
    if (next == minor) continue;
    close(minor + behind, earlierStart, major - plan.direction);
    earlierStart = groupStart;
    groupStart = major;
    minor = next;
  }
  close(minor, behind == 0 ? earlierStart : groupStart, major);
  close(minor + 1, behind == 0 ? groupStart : earlierStart, major);
}

}  // namespace line_detail

template <typename Take>
void ForEachLineRun(PixelPoint from, PixelPoint to, std::int32_t penWidth, const QRect& clip, Take&& take) {
  if (penWidth > kWidestRunPen) {
    ForEachLinePixel(from, to, penWidth, clip, [&](std::int32_t x, std::int32_t y) { take(y, x, x); });
  } else if (penWidth == 2) {
    line_detail::WalkTwoPixelRuns(from, to, clip, take);
  } else {
    line_detail::WalkLineRuns(from, to, penWidth, clip, take);
  }
}

}  // namespace ostrel
