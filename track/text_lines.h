#pragma once

#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

namespace ostrel {

// Longest piece of a line handed out at once; the rest of a longer line comes as a line of
// its own. The text readers of the tracker's files have always read lines this way.
inline constexpr std::size_t kLinePieceChars = 199;

// Takes the next line piece from the front of `text` and returns it without its line end.
// `text` must run to the end of the file or hold at least kLinePieceWindow bytes, which is all
// a piece and its line end can span.
inline constexpr std::size_t kLinePieceWindow = kLinePieceChars + 2;
std::string_view TakeLinePiece(std::string_view& text);

// How many bytes from the front of `text` come apart into whole pieces whatever bytes follow
// them: up to the last line feed, or else a run of full-length pieces. Reading can be split
// there and each part read on its own, with the same pieces.
std::size_t WholePiecesLength(std::string_view text);

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
