#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string_view>

namespace ostrel {

// The bytes of one chunk. Reading fills them, so they are never zeroed or constructed first,
// and a small file touches no more of the buffer than it holds.
class ChunkBytes {
 public:
  std::string_view view() const { return {bytes_.get(), size_}; }
  std::size_t size() const { return size_; }

 private:
  friend class PieceChunkSource;

  // Room for `capacity` bytes, keeping the first size() of them.
  void Reserve(std::size_t capacity);
  void Assign(const char* bytes, std::size_t count);

  std::unique_ptr<char[]> bytes_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

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
