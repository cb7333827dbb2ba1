#pragma once

#include <QImage>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "track/uninitialized_allocator.h"

namespace ostrel {

// Neighbouring pixels of one row of a 32-bit picture that a combining canvas changed, both
// ends included, and the colour bits it combined into each. Plain data, so that room a record
// makes for runs about to be written is left unwritten (UninitializedAllocator); make one
// with braces.
struct XorRun {
  std::int32_t y;
  std::int32_t left;
  std::int32_t right;
  std::uint32_t bits;
};

// Everything a combining canvas did, or would have done, to a picture, in order: each pixel
// of a run combined once, a pixel in two runs twice. Exclusive-or undoes itself, so combining
// the same runs in again takes the drawing away exactly, as drawing the same shapes again
// would, without working out their pixels anew.
using XorRecord = std::vector<XorRun, UninitializedAllocator<XorRun>>;

// Calls visit(run) for the part of each run of `record` inside a picture of `size`, cut to it.
template <typename Visit>
void ForEachRunInside(const XorRecord& record, QSize size, Visit&& visit) {
  for (const XorRun& run : record) {
    if (run.y < 0 || run.y >= size.height()) continue;
    const std::int32_t left = std::max(run.left, 0);
    const std::int32_t right = std::min(run.right, size.width() - 1);
    if (left <= right) visit(XorRun{run.y, left, right, run.bits});
  }
}

// Combines every run of `record`, as far as it lies inside `picture`, into it: into the picture
// it was recorded from, that takes the drawing away; into one without it, it puts the drawing
// there.
void CombineXorRecord(QImage& picture, const XorRecord& record);

}  // namespace ostrel
