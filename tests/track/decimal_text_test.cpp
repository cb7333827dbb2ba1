#include "track/decimal_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace ostrel {
namespace {

TEST(ReadDecimalInt, ReadsLikeStrtolOver32Bits) {
  const struct {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"42", 42},           {"  \t-17xyz", -17},  {"+8", 8},
      {"0012", 12},         {"", 0},              {"abc", 0},
      {"-", 0},             {"+-3", 0},           {"- 3", 0},
      {"12.9", 12},         {"3e4", 3},           {"2147483647", 2147483647},
      {"2147483648", 2147483647},                 {"-2147483648", -2147483647 - 1},
      {"-2147483649", -2147483647 - 1},           {"99999999999999999999999", 2147483647},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ReadDecimalInt(c.text), c.value);
  }
}

TEST(ReadDecimalInt, StopsAtTheEndOfTheViewNotAtATerminator) {
  const std::string_view digits = "12345";
  EXPECT_EQ(ReadDecimalInt(digits.substr(0, 3)), 123);
}

TEST(ReadDecimalLow16, KeepsTheLow16BitsUnsigned) {
  const struct {
    const char* text;
    std::int32_t value;
  } cases[] = {{"30", 30}, {"65535", 65535}, {"65536", 0}, {"65537", 1}, {"-1", 65535}, {"x", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ReadDecimalLow16(c.text), c.value);
  }
}

TEST(ReadDecimalReal, ReadsLikeStrtod) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"0.25", 0.25},     {"  -1.5e2,", -150.0}, {"+.5", 0.5},     {"5.", 5.0},
      {"1e", 1.0},        {"1e+", 1.0},          {"2E-3x", 0.002}, {"", 0.0},
      {".", 0.0},         {"-.e5", 0.0},         {"abc", 0.0},     {"nan", 0.0},
      {"inf", 0.0},       {"0x10", 0.0},         {"1,5", 1.0},     {"1e-999", 0.0},
      {"0.000e999", 0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ReadDecimalReal(c.text), c.value);
  }
}

TEST(ReadDecimalReal, OverflowGivesAnInfinityOfItsSign) {
  EXPECT_EQ(ReadDecimalReal("1e999"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(ReadDecimalReal("-12.5e400"), -std::numeric_limits<double>::infinity());
  EXPECT_TRUE(std::signbit(ReadDecimalReal("-1e-999")));
}

}  // namespace
}  // namespace ostrel
