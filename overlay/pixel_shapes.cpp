#include "overlay/pixel_shapes.h"

#include <algorithm>
#include <cstdlib>

namespace ostrel {
namespace {

// Products of two 33-bit pixel distances need more than 64 bits.
__extension__ using Wide = __int128;

// The steps k of a line whose major coordinate start + k * direction lies in [low, high],
// limited to the steps 0 .. steps - 1 that the line draws.
struct StepRange {
  std::int64_t first = 0;
  std::int64_t last = -1;
};

StepRange StepsWithin(std::int64_t start, std::int64_t direction, std::int64_t steps,
                      std::int64_t low, std::int64_t high) {
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

struct PenSquare {
  std::int64_t x = 0;
  std::int64_t y = 0;
  std::int32_t width = 0;

  bool Covers(std::int64_t column, std::int64_t row) const {
    return column >= x && column < x + width && row >= y && row < y + width;
  }
};

// The pixels of `square` inside the clip that `previous` did not cover: a line's
// neighbouring squares overlap by half or more, and those pixels need not come twice.
void AppendPenSquare(const PenSquare& square, const PenSquare& previous, const QRect& clip,
                     std::vector<PixelPoint>& pixels) {
  for (std::int64_t row = square.y; row < square.y + square.width; ++row) {
    if (row < clip.top() || row > clip.bottom()) continue;
    for (std::int64_t column = square.x; column < square.x + square.width; ++column) {
      if (column < clip.left() || column > clip.right() || previous.Covers(column, row)) continue;
      pixels.push_back({static_cast<std::int32_t>(column), static_cast<std::int32_t>(row)});
    }
  }
}

// Spans in order of y, then left. Spans inside a picture (every coordinate in 0 .. 65535, a
// few billion of them at most) sort as row-major integer keys with their place in the low
// bits, several times faster than pairs through a comparison; any others sort as pairs.
std::vector<PixelSpan> SortSpansIntoRows(std::vector<PixelSpan> spans) {
  const auto inPicture = [](const PixelSpan& span) {
    return span.y >= 0 && span.y <= 0xFFFF && span.left >= 0 && span.left <= 0xFFFF;
  };
  if (spans.size() > 0xFFFFFFFFu || !std::all_of(spans.begin(), spans.end(), inPicture)) {
    std::sort(spans.begin(), spans.end(), [](const PixelSpan& a, const PixelSpan& b) {
      return a.y != b.y ? a.y < b.y : a.left < b.left;
    });
    return spans;
  }
  std::vector<std::uint64_t> keys;
  keys.reserve(spans.size());
  for (std::size_t i = 0; i < spans.size(); ++i) {
    keys.push_back(std::uint64_t{static_cast<std::uint32_t>(spans[i].y)} << 48 |
                   std::uint64_t{static_cast<std::uint32_t>(spans[i].left)} << 32 | i);
  }
  std::sort(keys.begin(), keys.end());
  std::vector<PixelSpan> sorted;
  sorted.reserve(spans.size());
  for (std::uint64_t key : keys) sorted.push_back(spans[key & 0xFFFFFFFFu]);
  return sorted;
}

}  // namespace

void AppendEllipseSpans(std::int64_t left, std::int64_t top, std::int64_t right,
                        std::int64_t bottom, const QRect& clip, std::vector<PixelSpan>& spans) {
  const Wide width = right - left;
  const Wide height = bottom - top;
  if (width <= 0 || height <= 0) return;
  // Doubled coordinates keep the test in integers: the centre of pixel x is at 2x + 1.
  const Wide limit = width * width * height * height;
  const std::int64_t firstRow = std::max<std::int64_t>(top, clip.top());
  const std::int64_t lastRow = std::min<std::int64_t>(bottom - 1, clip.bottom());
  const std::int64_t firstColumn = std::max<std::int64_t>(left, clip.left());
  const std::int64_t lastColumn = std::min<std::int64_t>(right - 1, clip.right());
  for (std::int64_t y = firstRow; y <= lastRow; ++y) {
    const Wide dy = 2 * Wide{y} + 1 - top - bottom;
    std::int64_t spanLeft = lastColumn + 1;
    std::int64_t spanRight = firstColumn - 1;
    for (std::int64_t x = firstColumn; x <= lastColumn; ++x) {
      const Wide dx = 2 * Wide{x} + 1 - left - right;
      if (dx * dx * height * height + dy * dy * width * width > limit) continue;
      spanLeft = std::min(spanLeft, x);
      spanRight = std::max(spanRight, x);
    }
    if (spanLeft <= spanRight) {
      spans.push_back({static_cast<std::int32_t>(y), static_cast<std::int32_t>(spanLeft),
                       static_cast<std::int32_t>(spanRight)});
    }
  }
}

void AppendLinePixels(PixelPoint from, PixelPoint to, std::int32_t penWidth, const QRect& clip,
                      std::vector<PixelPoint>& pixels) {
  const std::int64_t dx = std::int64_t{to.x} - from.x;
  const std::int64_t dy = std::int64_t{to.y} - from.y;
  const bool alongX = std::llabs(dx) >= std::llabs(dy);
  const std::int64_t steps = alongX ? std::llabs(dx) : std::llabs(dy);
  if (steps == 0 || penWidth <= 0 || clip.isEmpty()) return;
  const std::int64_t majorStart = alongX ? from.x : from.y;
  const std::int64_t minorStart = alongX ? from.y : from.x;
  const std::int64_t majorDelta = alongX ? dx : dy;
  const std::int64_t minorDelta = alongX ? dy : dx;
  const std::int64_t direction = majorDelta > 0 ? 1 : -1;
  // Only the steps whose pen square can reach the clip are walked, however long the line.
  const std::int64_t majorLow = (alongX ? clip.left() : clip.top()) - (penWidth - 1);
  const std::int64_t majorHigh = alongX ? clip.right() : clip.bottom();
  const StepRange range = StepsWithin(majorStart, direction, steps, majorLow, majorHigh);
  if (range.first > range.last) return;
  // The minor offset at step k is k * |minorDelta| / steps rounded half away from zero, that is
  // (2k|minorDelta| + steps) / (2 steps) rounded down: kept as a quotient and remainder that
  // each step moves on by 2|minorDelta|, less than the divisor, so one carry at most.
  const std::int64_t minorStep = minorDelta >= 0 ? 1 : -1;
  const std::int64_t rise = 2 * std::llabs(minorDelta);
  const std::int64_t divisor = 2 * steps;
  const Wide first = Wide{range.first} * rise + steps;
  auto offset = static_cast<std::int64_t>(first / divisor);
  auto remainder = static_cast<std::int64_t>(first % divisor);
  PenSquare previous;  // none before the first step
  for (std::int64_t k = range.first; k <= range.last; ++k) {
    const std::int64_t major = majorStart + k * direction;
    const std::int64_t minor = minorStart + minorStep * offset;
    const PenSquare square{alongX ? major : minor, alongX ? minor : major, penWidth};
    AppendPenSquare(square, previous, clip, pixels);
    previous = square;
    remainder += rise;
    if (remainder >= divisor) {
      remainder -= divisor;
      ++offset;
    }
  }
}

std::vector<PixelSpan> MergeOverlappingSpans(std::vector<PixelSpan> spans) {
  std::vector<PixelSpan> sorted = SortSpansIntoRows(std::move(spans));
  std::vector<PixelSpan> merged;
  for (const PixelSpan& span : sorted) {
    if (!merged.empty() && merged.back().y == span.y && std::int64_t{span.left} <= std::int64_t{merged.back().right} + 1) {
      merged.back().right = std::max(merged.back().right, span.right);
    } else {
      merged.push_back(span);
    }
  }
  return merged;
}

std::vector<PixelSpan> MergeIntoSpans(const std::vector<PixelPoint>& pixels) {
  // Row-major keys sort as plain integers, several times faster than comparing pairs.
  std::vector<std::uint64_t> keys;
  keys.reserve(pixels.size());
  for (const PixelPoint& pixel : pixels) {
    keys.push_back(std::uint64_t{static_cast<std::uint32_t>(pixel.y) ^ 0x80000000u} << 32 |
                   (static_cast<std::uint32_t>(pixel.x) ^ 0x80000000u));
  }
  std::sort(keys.begin(), keys.end());
  std::vector<PixelSpan> spans;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (i > 0 && keys[i] == keys[i - 1]) continue;
    const auto y =
        static_cast<std::int32_t>(static_cast<std::uint32_t>(keys[i] >> 32) ^ 0x80000000u);
    const auto x = static_cast<std::int32_t>(static_cast<std::uint32_t>(keys[i]) ^ 0x80000000u);
    if (!spans.empty() && spans.back().y == y && spans.back().right + 1 == x) {
      spans.back().right = x;
    } else {
      spans.push_back({y, x, x});
    }
  }
  return spans;
}

}  // namespace ostrel
