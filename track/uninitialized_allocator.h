#pragma once

#include <memory>
#include <type_traits>
#include <utility>

namespace ostrel {

// An allocator whose containers leave new elements of plain-data types unwritten when they
// grow, so that an array about to be filled from a file is not first zeroed in full: on a
// hundred-megabyte point array that zeroing costs as much as reading the file.
// Callers must write every element they keep.
template <typename T>
class UninitializedAllocator : public std::allocator<T> {
 public:
  using value_type = T;
  template <typename U>
  struct rebind {
    using other = UninitializedAllocator<U>;
  };

  UninitializedAllocator() = default;
  template <typename U>
  UninitializedAllocator(const UninitializedAllocator<U>&) noexcept {}

  // Aggregates of plain data begin their lifetime in the allocated storage implicitly.
  template <typename U>
  void construct(U*) noexcept
    requires std::is_trivially_copyable_v<U> && std::is_trivially_destructible_v<U>
  {}

  template <typename U, typename... Args>
  void construct(U* place, Args&&... args) {
    std::construct_at(place, std::forward<Args>(args)...);
  }
};

template <typename T, typename U>
bool operator==(const UninitializedAllocator<T>&, const UninitializedAllocator<U>&) noexcept {
  return true;
}

}  // namespace ostrel
