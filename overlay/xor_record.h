#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

namespace ostrel {

// One pixel of a 32-bit picture that a combining canvas changed, and the colour bits it
// combined in.
struct XorDelta {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::uint32_t bits = 0;
};

// Everything a combining canvas did, or would have done, to a picture, in order.
// Exclusive-or undoes itself, so combining the same bits in again takes the drawing away
// exactly, as drawing the same shapes again would, without working out their pixels anew.
using XorRecord = std::vector<XorDelta>;

// Combines every delta of `record` that lies inside `picture` into it: into the picture it was
// recorded from, that takes the drawing away; into one without it, it puts the drawing there.
void CombineXorRecord(QImage& picture, const XorRecord& record);

// Orders the record by row, top first, keeping the order within a row; `scratch` is kept by
// the caller between calls so that no call allocates. Exclusive-or does not care about
// order, and rows in order let a reader find a band of rows at once.
void SortXorRecordByRow(XorRecord& record, XorRecord& scratch);

}  // namespace ostrel
