#pragma once

#include <QRect>
#include <cstdint>
#include <vector>

#include "overlay/picture_mapping.h"

namespace ostrel {

// The pixel rules every overlay shape follows, so that the live overlay and the snapshots
// put their shapes on exactly the same pixels:
//
// - An ellipse given by (left, top, right, bottom) covers the pixels inside the rectangle
//   whose right column and bottom row are excluded: a pixel belongs to it when its centre
//   lies inside or on the ellipse inscribed in that rectangle.
// - A line's centre line runs from its start pixel up to, not including, its end pixel: one
//   pixel per step along the longer axis, the other coordinate rounded half away from zero.
//   A pen of width w paints, for every centre-line pixel, the w x w square whose top-left
//   pixel that is.

// One run of pixels in a row, both ends included.
struct PixelSpan {
  std::int32_t y = 0;
  std::int32_t left = 0;
  std::int32_t right = 0;

  bool operator==(const PixelSpan&) const = default;
};

// Appends, row by row from the top, the spans of the ellipse that lie inside `clip`.
void AppendEllipseSpans(std::int64_t left, std::int64_t top, std::int64_t right,
                        std::int64_t bottom, const QRect& clip, std::vector<PixelSpan>& spans);

// Appends the pixels a pen of `penWidth` paints for the line from `from` to `to`, as far as
// they lie inside `clip`; the same pixel may be appended more than once.
void AppendLinePixels(PixelPoint from, PixelPoint to, std::int32_t penWidth, const QRect& clip,
                      std::vector<PixelPoint>& pixels);

// Sorts spans into rows and merges those that overlap or touch, so that each pixel they
// cover lies in one span.
std::vector<PixelSpan> MergeOverlappingSpans(std::vector<PixelSpan> spans);

// Sorts pixels into rows and merges them into spans, each pixel once.
std::vector<PixelSpan> MergeIntoSpans(const std::vector<PixelPoint>& pixels);

}  // namespace ostrel
