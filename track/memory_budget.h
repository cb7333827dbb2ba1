#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <stdexcept>
#include <vector>

namespace ostrel {

// The memory a load may take for its arrays. An allocation that would pass the budget fails
// the way an exhausted heap would, so every "out of memory" path of a loader can be reached
// on purpose, and a hostile file cannot make a load take more than it is allowed.
class MemoryBudget {
 public:
  explicit MemoryBudget(std::uint64_t bytes = std::numeric_limits<std::uint64_t>::max())
      : remaining_(bytes) {}

  bool Take(std::uint64_t bytes) {
    if (bytes > remaining_) return false;
    remaining_ -= bytes;
    return true;
  }

 private:
  std::uint64_t remaining_;
};

// Replaces `array` with `count` elements made by `make(array, count)`; false, with `array`
// empty, when the budget or the heap cannot give the memory.
template <typename T, typename A, typename Make>
bool AllocateArrayWith(std::vector<T, A>& array, std::uint64_t count, MemoryBudget& budget,
                       Make make) {
  std::vector<T, A>().swap(array);
  if (count > std::numeric_limits<std::uint64_t>::max() / sizeof(T)) return false;
  if (!budget.Take(count * sizeof(T))) return false;
  try {
    make(array, static_cast<std::size_t>(count));
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  return true;
}

// `count` copies of `fill`.
template <typename T, typename A>
bool AllocateArray(std::vector<T, A>& array, std::uint64_t count, const T& fill,
                   MemoryBudget& budget) {
  return AllocateArrayWith(array, count, budget,
                           [&fill](auto& target, std::size_t size) { target.assign(size, fill); });
}

// `count` default-inserted elements: left unwritten by an UninitializedAllocator.
template <typename T, typename A>
bool AllocateArray(std::vector<T, A>& array, std::uint64_t count, MemoryBudget& budget) {
  return AllocateArrayWith(array, count, budget,
                           [](auto& target, std::size_t size) { target.resize(size); });
}

}  // namespace ostrel
