#include "track/text_lines.h"

#include <gtest/gtest.h>

#include "tests/support/point_file_writer.h"
#include "tests/support/temp_folder.h"
#include "track/byte_source.h"
#include "track/piece_chunks.h"

namespace ostrel {
namespace {

std::vector<std::string> Pieces(const std::string& content, std::size_t bufferBytes = 1 << 16) {
  testing::TempFolder folder;
  const std::string path = folder.File("lines.txt");
  testing::WriteFileBytes(path, content);
  FileHandle file(std::fopen(path.c_str(), "rb"));
  TextLineReader reader(file.get(), bufferBytes);
  std::vector<std::string> pieces;
  std::string_view piece;
  while (reader.Next(piece)) pieces.emplace_back(piece);
  EXPECT_FALSE(reader.failed());
  return pieces;
}

TEST(TextLineReader, EndsLinesAtLineFeedsAndCarriageReturnLineFeeds) {
  using Lines = std::vector<std::string>;
  const struct {
    const char* why;
    std::string content;
    Lines pieces;
  } cases[] = {
      {"empty file", "", {}},
      {"no final line end", "a\nb", {"a", "b"}},
      {"final line end", "a\nb\n", {"a", "b"}},
      {"blank lines", "\n\nx\n", {"", "", "x"}},
      {"carriage return line feed", "a b\r\nc\r\n", {"a b", "c"}},
      {"a lone carriage return stays", "a\rb\n", {"a\rb"}},
      {"198 characters and the line end fit one piece", std::string(198, 'x') + "\ny", {std::string(198, 'x'), "y"}},
      {"199 characters leave the line end to a piece of its own", std::string(199, 'x') + "\ny",
       {std::string(199, 'x'), "", "y"}},
      {"the same with a carriage return", std::string(199, 'x') + "\r\ny", {std::string(199, 'x'), "", "y"}},
      {"a long line comes in pieces", std::string(450, 'z') + "\n",
       {std::string(199, 'z'), std::string(199, 'z'), std::string(52, 'z')}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(Pieces(c.content), c.pieces);
  }
}

TEST(TextLineReader, GivesTheSamePiecesWhateverItsBufferSize) {
  std::string content;
  for (int line = 0; line < 500; ++line) {
    content += std::string(static_cast<std::size_t>(line * 7 % 430), static_cast<char>('a' + line % 26));
    content += line % 3 == 0 ? "\r\n" : "\n";
  }
  const std::vector<std::string> reference = Pieces(content, 1 << 20);
  EXPECT_EQ(Pieces(content, 1), reference);
  EXPECT_EQ(Pieces(content, 403), reference);
}

// Lines of many lengths around a piece's reach, with both line ends, and a tail without any.
std::string MixedLines() {
  std::string content;
  for (int line = 0; line < 300; ++line) {
    content += std::string(static_cast<std::size_t>(line * 13 % 620), static_cast<char>('a' + line % 26));
    content += line % 4 == 0 ? "\r\n" : "\n";
  }
  return content + std::string(450, 'q');
}

std::vector<std::string> PiecesOf(std::string_view text) {
  std::vector<std::string> pieces;
  while (!text.empty()) pieces.emplace_back(TakeLinePiece(text));
  return pieces;
}

TEST(LinePieces, SplittingWhereWholePiecesEndChangesNoPiece) {
  const std::string content = MixedLines();
  const std::vector<std::string> reference = Pieces(content);
  ASSERT_EQ(PiecesOf(content), reference);
  // A text without line feeds splits after full-length pieces only.
  const std::string unbroken(1000, 'u');
  for (const std::string& text : {content, unbroken}) {
    for (std::size_t cut = 0; cut < text.size(); cut += 37) {
      const std::string_view front = std::string_view(text).substr(0, cut);
      const std::size_t whole = WholePiecesLength(front);
      ASSERT_LE(whole, cut);
      std::vector<std::string> split = PiecesOf(front.substr(0, whole));
      for (std::string& piece : PiecesOf(std::string_view(text).substr(whole))) split.push_back(std::move(piece));
      ASSERT_EQ(split, PiecesOf(text)) << "cut at " << cut;
    }
  }
}

TEST(LinePieces, WholePiecesEndAfterTheLastLineFeedOrAfterFullPieces) {
  const struct {
    const char* why;
    std::string text;
    std::size_t whole;
  } cases[] = {
      {"empty", "", 0},
      {"no line end yet", "frame=1 time=2", 0},
      {"after the last line feed", "a\nbb\r\ncc", 6},
      {"a piece's reach without a line feed holds one piece", std::string(kLinePieceWindow, 'x'), kLinePieceChars},
      {"one byte less decides nothing", std::string(kLinePieceWindow - 1, 'x'), 0},
      {"two pieces' reach", std::string(kLinePieceChars + kLinePieceWindow, 'x'), 2 * kLinePieceChars},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(WholePiecesLength(c.text), c.whole);
  }
}

TEST(PieceChunkSource, ChunksGiveTheFilesPiecesWhateverTheirSize) {
  const std::string content = MixedLines();
  const std::vector<std::string> reference = Pieces(content);
  testing::TempFolder folder;
  const std::string path = folder.File("chunks.txt");
  testing::WriteFileBytes(path, content);
  for (const std::size_t chunkBytes : {std::size_t{1}, std::size_t{500}, std::size_t{4096}, std::size_t{1} << 20}) {
    SCOPED_TRACE(chunkBytes);
    FileHandle file(std::fopen(path.c_str(), "rb"));
    PieceChunkSource source(file.get(), chunkBytes);
    ChunkBytes chunk;
    std::string joined;
    std::vector<std::string> pieces;
    while (source.Next(chunk)) {
      const std::string_view text = chunk.view();
      joined += text;
      for (std::string& piece : PiecesOf(text)) pieces.push_back(std::move(piece));
    }
    EXPECT_FALSE(source.failed());
    EXPECT_EQ(joined, content);
    EXPECT_EQ(pieces, reference);
  }
}

}  // namespace
}  // namespace ostrel
