#include "track/piece_chunks.h"

#include <algorithm>
#include <cstring>

#include "track/text_lines.h"

namespace ostrel {

void ChunkBytes::Reserve(std::size_t capacity) {
  if (capacity <= capacity_) return;
  auto grown = std::make_unique_for_overwrite<char[]>(capacity);
  if (size_ > 0) std::memcpy(grown.get(), bytes_.get(), size_);
  bytes_ = std::move(grown);
  capacity_ = capacity;
}

void ChunkBytes::Assign(const char* bytes, std::size_t count) {
  size_ = 0;
  Reserve(count);
  if (count > 0) std::memcpy(bytes_.get(), bytes, count);
  size_ = count;
}

PieceChunkSource::PieceChunkSource(std::FILE* file, std::size_t chunkBytes)
    : file_(file), chunkBytes_(std::max(chunkBytes, 2 * kLinePieceWindow)) {}

bool PieceChunkSource::Next(ChunkBytes& chunk) {
  chunk.Assign(carry_.bytes_.get(), carry_.size_);
  carry_.size_ = 0;
  chunk.Reserve(std::max(chunk.size_ + kLinePieceWindow, chunkBytes_));
  while (!atEnd_ && chunk.size_ < chunk.capacity_) {
    const std::size_t got = std::fread(chunk.bytes_.get() + chunk.size_, 1, chunk.capacity_ - chunk.size_, file_);
    chunk.size_ += got;
    if (got == 0) {
      atEnd_ = true;
      failed_ = std::ferror(file_) != 0;
    }
  }
  if (atEnd_) return chunk.size_ > 0;
  // A full chunk always holds a whole piece, since it is longer than a piece's reach.
  const std::size_t whole = WholePiecesLength(chunk.view());
  carry_.Assign(chunk.bytes_.get() + whole, chunk.size_ - whole);
  chunk.size_ = whole;
  return true;
}

}  // namespace ostrel
