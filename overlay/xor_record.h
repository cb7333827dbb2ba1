#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

#include "overlay/uncleared_allocator.h"

namespace ostrel {

// One pixel of a 32-bit picture that a combining canvas changed, and the colour bits it
// combined in. Without initialisers, so that room made for deltas about to be written is not
// cleared first (see UnclearedAllocator); make one with braces.
struct XorDelta {
  std::int32_t x;
  std::int32_t y;
  std::uint32_t bits;
};

// Everything a combining canvas did, or would have done, to a picture, in order.
// Exclusive-or undoes itself, so combining the same bits in again takes the drawing away
// exactly, as drawing the same shapes again would, without working out their pixels anew.
using XorRecord = std::vector<XorDelta, UnclearedAllocator<XorDelta>>;

// Combines every delta of `record` that lies inside `picture` into it: into the picture it was
// recorded from, that takes the drawing away; into one without it, it puts the drawing there.
void CombineXorRecord(QImage& picture, const XorRecord& record);

}  // namespace ostrel
