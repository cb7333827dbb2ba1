#pragma once

#include <cstddef>
#include <cstdio>
#include <vector>

#include "track/uninitialized_allocator.h"

namespace ostrel {

// A chunk's bytes; filled by reading, so never zeroed first.
using ChunkBytes = std::vector<char, UninitializedAllocator<char>>;

// Reads a text file in chunks of about `chunkBytes` that each end where a line piece ends, so
// that every chunk can be cut into the same pieces as the whole file, on its own and on any
// thread. What follows the last whole piece is carried into the next chunk.
class PieceChunkSource {
 public:
  PieceChunkSource(std::FILE* file, std::size_t chunkBytes);

  // Replaces `chunk` with the next one; false when the file has nothing more (or a read
  // failed: what came before the failure has been handed out).
  bool Next(ChunkBytes& chunk);
  bool failed() const { return failed_; }

 private:
  std::FILE* file_;
  std::size_t chunkBytes_;
  ChunkBytes carry_;
  bool atEnd_ = false;
  bool failed_ = false;
};

}  // namespace ostrel
