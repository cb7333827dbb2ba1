#include "track/plain_decimal.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "track/decimal_text.h"

namespace ostrel {
namespace {

// Bit patterns, so that -0.0 and 0.0 differ.
void ExpectSameReal(const std::string& text) {
  SCOPED_TRACE("\"" + text + "\"");
  EXPECT_EQ(std::bit_cast<std::uint64_t>(ReadPlainDecimalReal(text)),
            std::bit_cast<std::uint64_t>(ReadDecimalReal(text)))
      << ReadPlainDecimalReal(text) << " against " << ReadDecimalReal(text);
}

void ExpectSameInt(const std::string& text) {
  SCOPED_TRACE("\"" + text + "\"");
  EXPECT_EQ(ReadPlainDecimalInt(text), ReadDecimalInt(text));
}

const std::vector<std::string> kEdgeCases = {
    "", "-", "+", ".", "-.", "0", "-0", "-0.0", "+0.5", "5.", ".5", "-.5", "0.1", "0.3",
    "123456789", "1234567890", "2147483647", "2147483648", "-2147483648", "-2147483649",
    "99999999999999999999", "9007199254740992", "9007199254740993", "0.9007199254740993",
    "1.0000000000000000000001", "0.0000000000000000000001", "0.00000000000000000000001",
    "1e5", "1E-3", "2.5e", "2.5e+", "0.5x", "7,5", " 3.25", "\t-1", "\r4", "--1", "+-1",
    "0x10", "inf", "nan", "1e400", "1e-400", "12abc", "3.14159265358979323846",
    "0.1234567", "-0.9999999", "4.35", "1.5 2.5",
};

TEST(PlainDecimal, AgreesWithTheGeneralReadersOnEdgeCases) {
  for (const std::string& text : kEdgeCases) {
    ExpectSameReal(text);
    ExpectSameInt(text);
  }
}

TEST(PlainDecimal, AgreesWithTheGeneralReadersOnRandomDecimals) {
  std::mt19937_64 random(99);
  const std::string alphabet = "0123456789012345678901234567890123456789.-+e ";
  std::uniform_int_distribution<std::size_t> length(1, 24);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> digitsAfterPoint(0, 18);
  for (int n = 0; n < 20000; ++n) {
    std::string text;
    const std::size_t size = length(random);
    for (std::size_t i = 0; i < size; ++i) text.push_back(alphabet[pick(random)]);
    ExpectSameReal(text);
    ExpectSameInt(text);
    // The shape trackers write: a fraction with a fixed number of decimals.
    const std::string decimal = std::to_string(random() % 100000) + "." +
                                std::to_string(random()).substr(0, static_cast<std::size_t>(digitsAfterPoint(random)));
    ExpectSameReal(decimal);
    ExpectSameReal("-" + decimal);
  }
}

}  // namespace
}  // namespace ostrel
