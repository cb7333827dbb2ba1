#include "track/sample_memory.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>

// Under AddressSanitizer each space is a heap block of its own, so that a read past the end
// of a sample array is caught as it would be with heap arrays.
#if defined(__SANITIZE_ADDRESS__)
#define OSTREL_SAMPLES_ON_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define OSTREL_SAMPLES_ON_HEAP 1
#endif
#endif

namespace ostrel {

std::size_t SampleMemory::MappedBytes() const {
  std::size_t bytes = 0;
  for (const Block& block : blocks_) bytes += block.bytes;
  return bytes;
}

#ifdef OSTREL_SAMPLES_ON_HEAP

SampleMemory::~SampleMemory() {
  for (const Block& block : blocks_) ::operator delete(block.start);
}

void* SampleMemory::Allocate(std::size_t bytes) {
  blocks_.reserve(blocks_.size() + 1);
  void* const start = ::operator new(bytes);
  blocks_.push_back({start, bytes});
  return start;
}

#else

namespace {

// The large page of x86-64 and of most 64-bit ARM systems. Where pages are of another size
// the blocks are still whole numbers of small pages, and the marking merely does less.
constexpr std::size_t kLargePage = std::size_t{2} << 20;
// Blocks double from the first size to the last, so a small file maps little and a large one
// a few dozen blocks.
constexpr std::size_t kFirstBlock = kLargePage;
constexpr std::size_t kLastBlock = std::size_t{64} << 20;

std::size_t RoundUp(std::size_t bytes, std::size_t unit) {
  if (bytes > static_cast<std::size_t>(-1) - unit) throw std::bad_alloc();
  return (bytes + unit - 1) / unit * unit;
}

// `bytes` (a multiple of kLargePage) of zeroed memory starting on a large page's boundary.
void* MapAligned(std::size_t bytes) {
  const std::size_t span = bytes + kLargePage;
  void* const mapped = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto first = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = RoundUp(first, kLargePage);
  // What lies before and after the aligned part goes back at once.
  if (aligned > first) munmap(mapped, aligned - first);
  const std::size_t after = span - (aligned - first) - bytes;
  if (after > 0) munmap(reinterpret_cast<void*>(aligned + bytes), after);
  void* const start = reinterpret_cast<void*>(aligned);
  // Only a wish: without large pages the block works the same.
  madvise(start, bytes, MADV_HUGEPAGE);
  return start;
}

}  // namespace

SampleMemory::~SampleMemory() {
  for (const Block& block : blocks_) munmap(block.start, block.bytes);
}

void* SampleMemory::Allocate(std::size_t bytes) {
  const std::size_t taken = RoundUp(std::max<std::size_t>(bytes, 1), alignof(std::max_align_t));
  if (taken > left_) MapBlock(taken);
  void* const start = next_;
  next_ += taken;
  left_ -= taken;
  return start;
}

void SampleMemory::MapBlock(std::size_t atLeast) {
  const std::size_t usual = blocks_.empty() ? kFirstBlock : std::min(2 * blocks_.back().bytes, kLastBlock);
  const std::size_t bytes = std::max(usual, RoundUp(atLeast, kLargePage));
  blocks_.reserve(blocks_.size() + 1);
  void* const start = MapAligned(bytes);
  blocks_.push_back({start, bytes});
  next_ = static_cast<std::byte*>(start);
  left_ = bytes;
}

#endif

}  // namespace ostrel
