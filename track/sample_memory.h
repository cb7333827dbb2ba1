#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

namespace ostrel {

// The memory that one load's sample arrays are carved from, in blocks mapped on the boundaries
// of the system's large pages and marked for them. A large file's samples take a hundred
// megabytes or more; taken from the heap, each of their small pages costs the kernel a fault
// as it is first written, and those faults were a sixth of a load's time. Large pages take
// one fault for 512 small ones.
//
// Space is handed out front to back and comes back only when the memory goes: the arrays of
// a load are made once and never shrink, and a grown array leaves at most its old size
// behind. Not safe to share between threads.
class SampleMemory {
 public:
  SampleMemory() = default;
  SampleMemory(const SampleMemory&) = delete;
  SampleMemory& operator=(const SampleMemory&) = delete;
  ~SampleMemory();

  // `bytes` aligned for any plain type; throws std::bad_alloc when the system has no more.
  void* Allocate(std::size_t bytes);

  // The bytes taken from the system so far, for tests and reports.
  std::size_t MappedBytes() const;

 private:
  struct Block {
    void* start = nullptr;
    std::size_t bytes = 0;
  };

  void MapBlock(std::size_t atLeast);  // unused where each space is a heap block

  std::vector<Block> blocks_;
  std::byte* next_ = nullptr;
  std::size_t left_ = 0;
};

// An allocator for arrays of samples: from a SampleMemory when it is given one, which it then
// keeps alive, else from the heap. An array moved or swapped takes its memory along; a copy,
// made or assigned, keeps to the heap or to the memory the array already had, so that a copy
// never shares the memory of a load with another thread.
template <typename T>
class SampleAllocator {
 public:
  using value_type = T;
  using propagate_on_container_move_assignment = std::true_type;
  using propagate_on_container_copy_assignment = std::false_type;
  using propagate_on_container_swap = std::true_type;
  using is_always_equal = std::false_type;

  SampleAllocator() = default;
  explicit SampleAllocator(std::shared_ptr<SampleMemory> memory) : memory_(std::move(memory)) {}
  template <typename U>
  SampleAllocator(const SampleAllocator<U>& other) noexcept : memory_(other.memory()) {}

  T* allocate(std::size_t count) {
    if (count > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    if (!memory_) return std::allocator<T>().allocate(count);
    static_assert(alignof(T) <= alignof(std::max_align_t), "samples are plain data");
    return static_cast<T*>(memory_->Allocate(count * sizeof(T)));
  }

  void deallocate(T* array, std::size_t count) noexcept {
    // Space of the memory comes back when the memory goes.
    if (!memory_) std::allocator<T>().deallocate(array, count);
  }

  SampleAllocator select_on_container_copy_construction() const { return SampleAllocator(); }

  const std::shared_ptr<SampleMemory>& memory() const noexcept { return memory_; }

  template <typename U>
  bool operator==(const SampleAllocator<U>& other) const noexcept {
    return memory_ == other.memory();
  }

 private:
  std::shared_ptr<SampleMemory> memory_;
};

}  // namespace ostrel
