#include "bench/heap_meter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace ostrel::bench {
namespace {

// Process-wide by nature: operator new has no other place to count in.
std::atomic<std::size_t> now{0};
std::atomic<std::size_t> peak{0};

void* Allocate(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (!block) throw std::bad_alloc();
  const std::size_t held = now += malloc_usable_size(block);
  std::size_t seen = peak.load();
  while (held > seen && !peak.compare_exchange_weak(seen, held)) {
  }
  return block;
}

void Release(void* block) {
  if (!block) return;
  now -= malloc_usable_size(block);
  std::free(block);
}

}  // namespace

std::size_t HeapBytesNow() { return now.load(); }
std::size_t HeapBytesPeak() { return peak.load(); }
void ResetHeapPeak() { peak.store(now.load()); }

}  // namespace ostrel::bench

void* operator new(std::size_t size) { return ostrel::bench::Allocate(size); }
void* operator new[](std::size_t size) { return ostrel::bench::Allocate(size); }
void operator delete(void* block) noexcept { ostrel::bench::Release(block); }
void operator delete[](void* block) noexcept { ostrel::bench::Release(block); }
void operator delete(void* block, std::size_t) noexcept { ostrel::bench::Release(block); }
void operator delete[](void* block, std::size_t) noexcept { ostrel::bench::Release(block); }
