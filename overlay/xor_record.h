#pragma once

#include <QImage>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace ostrel {

// One pixel of a 32-bit picture that a combining canvas changed, and the colour bits it
// combined in. Without initialisers, so that room made for deltas about to be written is not
// cleared first (see DeltaAllocator); make one with braces.
struct XorDelta {
  std::int32_t x;
  std::int32_t y;
  std::uint32_t bits;
};

// Makes the room a record grows by without writing it: a trail's line grows the record by as
// many deltas as it may write, then keeps those it did.
template <typename T>
struct DeltaAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = DeltaAllocator<U>;
  };
  DeltaAllocator() = default;
  template <typename U>
  DeltaAllocator(const DeltaAllocator<U>&) noexcept {}
  template <typename U>
  void construct(U* place) noexcept {
    ::new (static_cast<void*>(place)) U;
  }
  template <typename U, typename... Args>
  void construct(U* place, Args&&... args) {
    std::allocator_traits<std::allocator<T>>::construct(*this, place, std::forward<Args>(args)...);
  }
};

// Everything a combining canvas did, or would have done, to a picture, in order.
// Exclusive-or undoes itself, so combining the same bits in again takes the drawing away
// exactly, as drawing the same shapes again would, without working out their pixels anew.
using XorRecord = std::vector<XorDelta, DeltaAllocator<XorDelta>>;

// Combines every delta of `record` that lies inside `picture` into it: into the picture it was
// recorded from, that takes the drawing away; into one without it, it puts the drawing there.
void CombineXorRecord(QImage& picture, const XorRecord& record);

// Orders the record by row, top first, keeping the order within a row; `scratch` is kept by
// the caller between calls so that no call allocates. Exclusive-or does not care about
// order, and rows in order let a reader find a band of rows at once.
void SortXorRecordByRow(XorRecord& record, XorRecord& scratch);

}  // namespace ostrel
