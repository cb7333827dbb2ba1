#include "track/piece_chunks.h"

#include <algorithm>
#include <string_view>

#include "track/text_lines.h"

namespace ostrel {

PieceChunkSource::PieceChunkSource(std::FILE* file, std::size_t chunkBytes)
    : file_(file), chunkBytes_(std::max(chunkBytes, 2 * kLinePieceWindow)) {}

bool PieceChunkSource::Next(ChunkBytes& chunk) {
  chunk.swap(carry_);
  carry_.clear();
  std::size_t filled = chunk.size();
  chunk.resize(std::max(filled, chunkBytes_));
  while (!atEnd_ && filled < chunk.size()) {
    const std::size_t got = std::fread(chunk.data() + filled, 1, chunk.size() - filled, file_);
    filled += got;
    if (got == 0) {
      atEnd_ = true;
      failed_ = std::ferror(file_) != 0;
    }
  }
  chunk.resize(filled);
  if (atEnd_) return !chunk.empty();
  // A full chunk always holds a whole piece, since it is longer than a piece's reach.
  const std::size_t whole = WholePiecesLength(std::string_view(chunk.data(), chunk.size()));
  carry_.assign(chunk.begin() + static_cast<std::ptrdiff_t>(whole), chunk.end());
  chunk.resize(whole);
  return true;
}

}  // namespace ostrel
