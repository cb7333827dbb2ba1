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

// The numbers inside a line have the rest of the line after them, which lets the plain readers
// take a quicker path; what follows the number must not change what is read.
TEST(PlainDecimal, AgreesWithTheGeneralReadersInsideALine) {
  std::mt19937_64 random(5);
  const std::vector<std::string> followers = {" y1=0.1234567 x2=0.7654321", ",3", "\t", "e5 x",
                                              "E-2 score=1", "x", ".5 7", "..", "0000000000000000000",
                                              "1234567890123456789 ", std::string(20, ' ')};
  std::uniform_int_distribution<int> digitCount(0, 10);
  for (int n = 0; n < 20000; ++n) {
    const std::string digits = std::to_string(random()) + std::to_string(random());
    const std::size_t integer = static_cast<std::size_t>(digitCount(random));
    const std::size_t fraction = static_cast<std::size_t>(digitCount(random));
    std::string number = digits.substr(0, integer);
    if (n % 3 != 0) number += "." + digits.substr(integer, fraction);
    const std::string sign = n % 5 == 0 ? "-" : (n % 7 == 0 ? "+" : "");
    const std::string text = sign + number + followers[static_cast<std::size_t>(n) % followers.size()];
    ExpectSameReal(text);
    ExpectSameInt(text);
  }
}

TEST(PlainDecimal, ReadsWhereTheNumberEnds) {
  const std::string rest = " x3=0.9007105 y3=0.2571581";
  const struct {
    std::string number;
    std::size_t length;
  } cases[] = {{"0.8919132", 9}, {"-0.832523", 9}, {"12345678.12345678", 17}, {".5", 2},
               {"5.", 2}, {"1234567", 7}, {"7", 1}, {"0.1234567e", 0}, {"0.5E1", 0}, {".", 0},
               // Eight digits in all, the most one word holds, and one more.
               {"1234567.8", 9}, {"1234567.", 8}, {"12345678", 8}, {"0.12345678", 10},
               {"-1.", 3}, {"+.5", 3}, {"-0", 2}, {"5.e3", 0},
               // One digit before the point and up to eight after it, and one more.
               {"9.99999999", 10}, {"-0.00000001", 11}, {"0.123456789", 11}, {"-0.", 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    double value = 0.0;
    EXPECT_EQ(ReadPlainReal(c.number + rest, value), c.length);
    if (c.length > 0) {
      EXPECT_EQ(value, ReadDecimalReal(c.number));
    }
  }
  std::int32_t whole = 0;
  EXPECT_EQ(ReadPlainInt("1000040 x1=0.5", whole), 7u);
  EXPECT_EQ(whole, 1000040);
  EXPECT_EQ(ReadPlainInt("-12345678 x1=0.5", whole), 9u);
  EXPECT_EQ(whole, -12345678);
  EXPECT_EQ(ReadPlainInt("time=1000040", whole), 0u);
}

}  // namespace
}  // namespace ostrel
