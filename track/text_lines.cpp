#include "track/text_lines.h"

#include <algorithm>
#include <cstring>

namespace ostrel {

std::string_view TakeLinePiece(std::string_view& text) {
  const char* const start = text.data();
  const std::size_t window = std::min(text.size(), kLinePieceWindow);
  const auto* newline = static_cast<const char*>(std::memchr(start, '\n', window));
  std::size_t taken = std::min(text.size(), kLinePieceChars);
  std::size_t length = taken;
  if (newline) {
    std::size_t lineLength = static_cast<std::size_t>(newline - start);
    const std::size_t consumed = lineLength + 1;
    if (lineLength > 0 && start[lineLength - 1] == '\r') --lineLength;  // "\r\n" is one line end
    // The line end counts as one character of the piece, as in the fixed chunk it came in.
    if (lineLength + 1 <= kLinePieceChars) {
      taken = consumed;
      length = lineLength;
    }
  }
  text.remove_prefix(taken);
  return {start, length};
}

std::size_t WholePiecesLength(std::string_view text) {
  // Every line feed ends a piece: within a piece's reach it either closes the line or, when the
  // line is too long, is left as the end of a piece of its own.
  const std::size_t lastNewline = text.rfind('\n');
  if (lastNewline != std::string_view::npos) return lastNewline + 1;
  // Without one, each piece takes kLinePieceChars bytes, known once its window is all here.
  if (text.size() < kLinePieceWindow) return 0;
  return (text.size() - kLinePieceWindow) / kLinePieceChars * kLinePieceChars + kLinePieceChars;
}

TextLineReader::TextLineReader(std::FILE* file, std::size_t bufferBytes)
    : file_(file), buffer_(std::max(bufferBytes, 2 * kLinePieceWindow)) {}

void TextLineReader::FillWindow() {
  if (atEnd_ || end_ - begin_ >= kLinePieceWindow) return;
  std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
  end_ -= begin_;
  begin_ = 0;
  while (!atEnd_ && end_ < buffer_.size()) {
    const std::size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
    end_ += got;
    if (got == 0) {
      atEnd_ = true;
      failed_ = std::ferror(file_) != 0;
    }
    if (end_ >= kLinePieceWindow) break;
  }
}

bool TextLineReader::Next(std::string_view& piece) {
  FillWindow();
  const std::size_t available = end_ - begin_;
  if (available == 0) return false;
  std::string_view rest(buffer_.data() + begin_, available);
  piece = TakeLinePiece(rest);
  begin_ += available - rest.size();
  return true;
}

}  // namespace ostrel
