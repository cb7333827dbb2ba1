#include "track/text_lines.h"

#include <gtest/gtest.h>

#include "tests/support/point_file_writer.h"
#include "tests/support/temp_folder.h"
#include "track/byte_source.h"

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

}  // namespace
}  // namespace ostrel
