#pragma once

#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

namespace ostrel {

// Longest piece of a line handed out at once; the rest of a longer line comes as a line of
// its own. The text readers of the tracker's files have always read lines this way.
inline constexpr std::size_t kLinePieceChars = 199;

// Reads a text file in line pieces as a Windows text-mode stream read in 200-byte chunks
// gives them: "\r\n" and "\n" end a line; a piece holds at most kLinePieceChars characters.
// Pieces are handed out without their line end and stay valid until the next call.
class TextLineReader {
 public:
  explicit TextLineReader(std::FILE* file, std::size_t bufferBytes = std::size_t{1} << 16);

  // The next piece; false at the end of the file or after a read error.
  bool Next(std::string_view& piece);
  bool failed() const { return failed_; }

 private:
  // Makes sure a whole piece and the byte after it are buffered, unless the file ends first.
  void FillWindow();

  std::FILE* file_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool atEnd_ = false;
  bool failed_ = false;
};

}  // namespace ostrel
