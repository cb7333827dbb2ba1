#include "overlay/pixel_shapes.h"

#include <algorithm>

#include "overlay/line_pixels.h"

namespace ostrel {
namespace {

using line_detail::Wide;

// Moves `from` into `to` in order of key(span), keeping the order of equal keys; every key lies
// in 0 .. keys - 1.
template <typename Key>
void CountingSort(const std::vector<PixelSpan>& from, std::vector<PixelSpan>& to, std::size_t keys, Key key) {
  std::vector<std::size_t> starts(keys + 1, 0);
  for (const PixelSpan& span : from) ++starts[key(span) + 1];
  for (std::size_t k = 0; k < keys; ++k) starts[k + 1] += starts[k];
  to.resize(from.size());
  for (const PixelSpan& span : from) to[starts[key(span)]++] = span;
}

// Spans in order of y, then left. Spans inside a picture (every coordinate in 0 .. 65535)
// are sorted by counting, left first and then rows: two passes over the spans, however many,
// with a count for every column and row. Any others sort through a comparison.
std::vector<PixelSpan> SortSpansIntoRows(std::vector<PixelSpan> spans) {
  const auto inPicture = [](const PixelSpan& span) {
    return span.y >= 0 && span.y <= 0xFFFF && span.left >= 0 && span.left <= 0xFFFF;
  };
  if (!std::all_of(spans.begin(), spans.end(), inPicture)) {
    std::sort(spans.begin(), spans.end(), [](const PixelSpan& a, const PixelSpan& b) {
      return a.y != b.y ? a.y < b.y : a.left < b.left;
    });
    return spans;
  }
  std::int32_t lastRow = 0;
  std::int32_t lastLeft = 0;
  for (const PixelSpan& span : spans) {
    lastRow = std::max(lastRow, span.y);
    lastLeft = std::max(lastLeft, span.left);
  }
  std::vector<PixelSpan> byLeft;
  CountingSort(spans, byLeft, static_cast<std::size_t>(lastLeft) + 1,
               [](const PixelSpan& span) { return static_cast<std::size_t>(span.left); });
  CountingSort(byLeft, spans, static_cast<std::size_t>(lastRow) + 1,
               [](const PixelSpan& span) { return static_cast<std::size_t>(span.y); });
  return spans;
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
  ForEachLinePixel(from, to, penWidth, clip, [&pixels](std::int32_t x, std::int32_t y) { pixels.push_back({x, y}); });
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
