#pragma once

#include <memory>
#include <new>
#include <utility>

namespace ostrel {

// An allocator whose vectors make room without writing it, for element types without
// initialisers: a vector grown by what may be written next and cut back to what was, as a
// trail's line grows its record, pays for no clearing in between. Elements made with values
// are made as usual.
template <typename T>
struct UnclearedAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UnclearedAllocator<U>;
  };
  UnclearedAllocator() = default;
  template <typename U>
  UnclearedAllocator(const UnclearedAllocator<U>&) noexcept {}
  template <typename U>
  void construct(U* place) noexcept {
    ::new (static_cast<void*>(place)) U;
  }
  template <typename U, typename... Args>
  void construct(U* place, Args&&... args) {
    std::allocator_traits<std::allocator<T>>::construct(*this, place, std::forward<Args>(args)...);
  }
};

}  // namespace ostrel
