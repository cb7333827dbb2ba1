#pragma once

#include <QRect>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "overlay/picture_mapping.h"

namespace ostrel {
namespace line_detail {

// Products of two 33-bit pixel distances need more than 64 bits.
__extension__ using Wide = __int128;

// The steps k of a line whose major coordinate start + k * direction lies in [low, high],
// limited to the steps 0 .. steps - 1 that the line draws.
struct StepRange {
  std::int64_t first = 0;
  std::int64_t last = -1;
};

inline StepRange StepsWithin(std::int64_t start, std::int64_t direction, std::int64_t steps, std::int64_t low,
                             std::int64_t high) {
  StepRange range;
  if (direction > 0) {
    range.first = low - start;
    range.last = high - start;
  } else {
    range.first = start - high;
    range.last = start - low;
  }
  range.first = std::max<std::int64_t>(range.first, 0);
  range.last = std::min<std::int64_t>(range.last, steps - 1);
  return range;
}

// Calls visit(x, y) for each pixel of the pen square at (x, y) inside `clip` that the square at
// (previousX, previousY) did not cover: a line's neighbouring squares overlap by half or more,
// and those pixels need not come twice.
template <typename Visit>
inline void VisitPenSquare(std::int64_t x, std::int64_t y, std::int64_t previousX, std::int64_t previousY,
                           std::int32_t width, const QRect& clip, Visit& visit) {
  const std::int64_t w = width;
  const bool inside = x >= clip.left() && y >= clip.top() && x + w - 1 <= clip.right() && y + w - 1 <= clip.bottom();
  for (std::int64_t row = y; row < y + w; ++row) {
    if (!inside && (row < clip.top() || row > clip.bottom())) continue;
    const bool rowCovered = row >= previousY && row < previousY + w;
    for (std::int64_t column = x; column < x + w; ++column) {
      if (!inside && (column < clip.left() || column > clip.right())) continue;
      if (rowCovered && column >= previousX && column < previousX + w) continue;
      visit(static_cast<std::int32_t>(column), static_cast<std::int32_t>(row));
    }
  }
}

}  // namespace line_detail

// The part of `picture` that the pen squares of lines between `low` and `high` can reach: they
// lie between the lines' ends, and the pen's width beyond the larger.
inline QRect LineBox(PixelPoint low, PixelPoint high, std::int32_t penWidth, const QRect& picture) {
  const std::int64_t reach = std::max(penWidth, 1) - 1;
  const std::int64_t left = std::max<std::int64_t>(low.x, picture.left());
  const std::int64_t top = std::max<std::int64_t>(low.y, picture.top());
  const std::int64_t right = std::min<std::int64_t>(std::int64_t{high.x} + reach, picture.right());
  const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{high.y} + reach, picture.bottom());
  if (left > right || top > bottom) return {};
  return QRect(QPoint(static_cast<int>(left), static_cast<int>(top)),
               QPoint(static_cast<int>(right), static_cast<int>(bottom)));
}

// The steps of a line by the line rule of pixel_shapes.h: step k moves the major coordinate
// (x when the line is at least as wide as it is tall, else y) by k * direction from its start,
// and the minor one by `offset`, which grows by one whenever `remainder` reaches `divisor`.
// Only the steps first .. last, whose pen squares can reach the clip, are planned; offset and
// remainder are those of step first.
struct LineSteps {
  bool alongX = true;
  std::int64_t majorStart = 0;
  std::int64_t minorStart = 0;
  std::int64_t direction = 1;  // of the major coordinate
  std::int64_t minorStep = 1;  // of the minor one
  std::int64_t rise = 0;
  std::int64_t divisor = 1;
  std::int64_t first = 0;
  std::int64_t last = -1;
  std::int64_t offset = 0;
  std::int64_t remainder = 0;

  // Moves on to the next step.
  void Advance() {
    remainder += rise;
    if (remainder >= divisor) {
      remainder -= divisor;
      ++offset;
    }
  }
};

// The steps of the line from `from` to `to` whose squares can reach `clip`; none (first past
// last) for a line without length, a pen without width or an empty clip.
inline LineSteps PlanLineSteps(PixelPoint from, PixelPoint to, std::int32_t penWidth, const QRect& clip) {
  LineSteps plan;
  const std::int64_t dx = std::int64_t{to.x} - from.x;
  const std::int64_t dy = std::int64_t{to.y} - from.y;
  plan.alongX = std::llabs(dx) >= std::llabs(dy);
  const std::int64_t steps = plan.alongX ? std::llabs(dx) : std::llabs(dy);
  if (steps == 0 || penWidth <= 0 || clip.isEmpty()) return plan;
  plan.majorStart = plan.alongX ? from.x : from.y;
  plan.minorStart = plan.alongX ? from.y : from.x;
  const std::int64_t majorDelta = plan.alongX ? dx : dy;
  const std::int64_t minorDelta = plan.alongX ? dy : dx;
  plan.direction = majorDelta > 0 ? 1 : -1;
  // Only the steps whose pen square can reach the clip are walked, however long the line.
  const std::int64_t majorLow = (plan.alongX ? clip.left() : clip.top()) - (penWidth - 1);
  const std::int64_t majorHigh = plan.alongX ? clip.right() : clip.bottom();
  const line_detail::StepRange range = line_detail::StepsWithin(plan.majorStart, plan.direction, steps, majorLow, majorHigh);
  plan.first = range.first;
  plan.last = range.last;
  if (range.first > range.last) return plan;
  // The minor offset at step k is k * |minorDelta| / steps rounded half away from zero, that is
  // (2k|minorDelta| + steps) / (2 steps) rounded down: kept as a quotient and remainder that
  // each step moves on by 2|minorDelta|, less than the divisor, so one carry at most.
  plan.minorStep = minorDelta >= 0 ? 1 : -1;
  plan.rise = 2 * std::llabs(minorDelta);
  plan.divisor = 2 * steps;
  plan.remainder = steps;  // the usual start, without a wide division
  if (range.first > 0) {
    const line_detail::Wide first = line_detail::Wide{range.first} * plan.rise + steps;
    plan.offset = static_cast<std::int64_t>(first / plan.divisor);
    plan.remainder = static_cast<std::int64_t>(first % plan.divisor);
  }
  return plan;
}

// Calls visit(x, y) with the top-left pixel of each pen square of the line from `from` to `to`
// that can reach `clip`, in the order the line is drawn; neighbouring squares overlap. The
// squares are those of the line rule of pixel_shapes.h; pixels outside the clip are the
// visitor's to leave out.
template <typename Visit>
void ForEachLineSquare(PixelPoint from, PixelPoint to, std::int32_t penWidth, const QRect& clip, Visit&& visit) {
  LineSteps plan = PlanLineSteps(from, to, penWidth, clip);
  for (std::int64_t k = plan.first; k <= plan.last; ++k) {
    const std::int64_t major = plan.majorStart + k * plan.direction;
    const std::int64_t minor = plan.minorStart + plan.minorStep * plan.offset;
    if (plan.alongX) {
      visit(major, minor);
    } else {
      visit(minor, major);
    }
    plan.Advance();
  }
}

// Calls visit(x, y) for the pixels a pen of `penWidth` paints for the line from `from` to `to`,
// as far as they lie inside `clip`; a pixel comes again only where the line's squares that are
// not neighbours meet.
template <typename Visit>
void ForEachLinePixel(PixelPoint from, PixelPoint to, std::int32_t penWidth, const QRect& clip, Visit&& visit) {
  // No square before the first step: one far enough away to cover nothing of it.
  std::int64_t previousX = std::numeric_limits<std::int64_t>::min() / 2;
  std::int64_t previousY = std::numeric_limits<std::int64_t>::min() / 2;
  const auto square = [&](std::int64_t x, std::int64_t y) {
    line_detail::VisitPenSquare(x, y, previousX, previousY, penWidth, clip, visit);
    previousX = x;
    previousY = y;
  };
  ForEachLineSquare(from, to, penWidth, clip, square);
}

}  // namespace ostrel
