#pragma once

#include <cstddef>

namespace ostrel::bench {

// Heap bytes the process holds now and the most it held since the last reset; counted by
// the replacement operator new and delete of heap_meter.cpp, linked into the benchmark.
std::size_t HeapBytesNow();
std::size_t HeapBytesPeak();
void ResetHeapPeak();

}  // namespace ostrel::bench
