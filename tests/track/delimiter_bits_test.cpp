#include "track/delimiter_bits.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace ostrel {
namespace {

constexpr std::string_view kDelimiters = " ,\t\n";

std::size_t NaiveNext(std::string_view line, std::size_t from, bool delimiter) {
  while (from < line.size() && (kDelimiters.find(line[from]) != std::string_view::npos) != delimiter) ++from;
  return std::min(from, line.size());
}

// Lines of every length around the 64-character blocks, of delimiters, letters and bytes
// above 127, searched from every place in both ways, against a character-by-character search.
TEST(DelimiterBits, FindsWhatACharacterByCharacterSearchFinds) {
  std::mt19937 random(3);
  const std::string alphabet = std::string(kDelimiters) + "x=.-\xe9\x80\r0";
  for (std::size_t length = 0; length <= 200; ++length) {
    std::string line;
    for (std::size_t i = 0; i < length; ++i) line += alphabet[random() % alphabet.size()];
    SCOPED_TRACE(length);
    for (std::size_t from = 0; from <= length + 1; ++from) {
      DelimiterBits bits(line, kDelimiters);
      ASSERT_EQ(bits.NextDelimiter(from), NaiveNext(line, from, true)) << "from " << from;
      ASSERT_EQ(bits.NextOther(from), NaiveNext(line, from, false)) << "from " << from;
    }
  }
}

TEST(DelimiterBits, WalksForwardThroughBlocks) {
  const std::string line = std::string(70, 'a') + " b" + std::string(60, ' ') + "c";
  DelimiterBits bits(line, kDelimiters);
  EXPECT_EQ(bits.NextDelimiter(0), 70u);
  EXPECT_EQ(bits.NextOther(70), 71u);
  EXPECT_EQ(bits.NextDelimiter(71), 72u);
  EXPECT_EQ(bits.NextOther(72), 132u);
  EXPECT_EQ(bits.NextDelimiter(132), 133u);
  EXPECT_EQ(bits.NextOther(133), 133u);
}

}  // namespace
}  // namespace ostrel
