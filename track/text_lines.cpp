#include "track/text_lines.h"

#include <algorithm>
#include <cstring>

namespace ostrel {
namespace {

// A piece and the two bytes that may end it ("\r\n").
constexpr std::size_t kWindowBytes = kLinePieceChars + 2;

}  // namespace

TextLineReader::TextLineReader(std::FILE* file, std::size_t bufferBytes)
    : file_(file), buffer_(std::max(bufferBytes, 2 * kWindowBytes)) {}

void TextLineReader::FillWindow() {
  if (atEnd_ || end_ - begin_ >= kWindowBytes) return;
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
    if (end_ >= kWindowBytes) break;
  }
}

bool TextLineReader::Next(std::string_view& piece) {
  FillWindow();
  const std::size_t available = end_ - begin_;
  if (available == 0) return false;
  const char* start = buffer_.data() + begin_;

  const auto* newline =
      static_cast<const char*>(std::memchr(start, '\n', std::min(available, kWindowBytes)));
  if (newline) {
    std::size_t length = static_cast<std::size_t>(newline - start);
    const std::size_t consumed = length + 1;
    if (length > 0 && start[length - 1] == '\r') --length;  // "\r\n" is one line end
    // The line end counts as one character of the piece, as in the fixed chunk it came in.
    if (length + 1 <= kLinePieceChars) {
      piece = std::string_view(start, length);
      begin_ += consumed;
      return true;
    }
  }
  const std::size_t length = std::min(available, kLinePieceChars);
  piece = std::string_view(start, length);
  begin_ += length;
  return true;
}

}  // namespace ostrel
