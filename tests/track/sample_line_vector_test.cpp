#include "track/sample_line_vector.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace ostrel {
namespace {

class SampleLineVector : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!SampleLineVectorAvailable()) GTEST_SKIP() << "this processor lacks the vector instructions";
  }
};

// The vector reader must give what the general reader gives, bit for bit (== would take -0.0
// for 0.0).
void ExpectAsTheGeneralReader(const std::string& line, const SampleLine& read) {
  const SampleLine expected = ReadSampleLine(line);
  EXPECT_EQ(read.rawFrame, expected.rawFrame);
  EXPECT_EQ(read.complete, expected.complete);
  EXPECT_EQ(std::memcmp(&read.values, &expected.values, sizeof read.values), 0)
      << "clock " << read.values.clockMs << " / " << expected.values.clockMs << ", x1 "
      << read.values.corners[0].x << " / " << expected.values.corners[0].x << ", score "
      << read.values.score << " / " << expected.values.score;
}

constexpr std::array<const char*, kSampleTokens> kKeys = {
    "frame=", "time=", "x1=", "y1=", "x2=", "y2=", "x3=", "y3=", "x4=", "y4=", "score=", "breakflg="};

std::string SampleText(const std::array<std::string, kSampleTokens>& values) {
  std::string line;
  for (std::size_t i = 0; i < kSampleTokens; ++i) {
    if (i > 0) line += ' ';
    line += kKeys[i] + values[i];
  }
  return line;
}

// A line as trackers write it, with one value changed.
std::string WithValue(std::size_t token, const std::string& value) {
  std::array<std::string, kSampleTokens> values = {
      "1", "1000040", "0.0724363", "0.535882", "0.3656889", "0.0579989",
      "0.5074357", "0.0374957", "0.4336457", "0.0698554", "0.4535651", "1"};
  values[token] = value;
  return SampleText(values);
}

TEST_F(SampleLineVector, ReadsPlainNumbersAsTheGeneralReaderDoesAndLeavesTheRest) {
  struct Case {
    std::string line;
    bool read;
  };
  const std::string plain = WithValue(0, "1");
  const std::vector<Case> cases = {
      {plain, true},
      {SampleText({"-3", "+40", "-0.5", "+0.25", "-12.75", "3", "5.", ".5", "-.5", "+5.", "-0", "-0"}), true},
      {SampleText({"0", "0", "0.0", "-0.0", "00012.5000", "1", "2", "3", "4", "5", "6", "0"}), true},
      // The most digits each kind takes, in a full lane.
      {SampleText({"999999999", "-999999999", "123456789012345", "0.12345678901234",
                   "-1234567.1234567", "+12345678901234", ".123456789012345", "1", "1", "1", "1",
                   "-123456789"}),
       true},
      // A prefix's characters are passed over whatever they are.
      {"FRAME=1 TIME=2 ab=0.5 cd=0.5 ef=0.5 gh=0.5 ij=0.5 kl=0.5 mn=0.5 op=0.5 qrstu=1 vwxyzabc=1",
       true},
      {WithValue(2, "1234567890123456"), false},  // sixteen digits
      {WithValue(1, "1234567890"), false},        // a whole number of ten digits
      {WithValue(1, "1.5"), false},               // a point in a whole number
      {WithValue(2, "12345678901234567"), false},  // longer than a lane
      {WithValue(2, "1e5"), false},
      {WithValue(2, "0.5abc"), false},
      {WithValue(2, "1.2.3"), false},
      {WithValue(2, "1-2"), false},
      {WithValue(2, "-"), false},
      {WithValue(2, "."), false},
      {WithValue(2, "+-1"), false},
      {WithValue(2, ""), false},
      {WithValue(11, "1\r"), false},
      {WithValue(2, "0.5\t"), false},
      {WithValue(2, "0.5,"), false},
      {WithValue(2, "0.5 "), false},  // a thirteenth token
      {" " + plain, false},
      {plain + " ", false},
      {plain.substr(0, plain.rfind(' ')), false},  // eleven tokens
      {plain + " x=1", false},
      {"frame=1 time=2 x1 y1=0.5 x2=0.5 y2=0.5 x3=0.5 y3=0.5 x4=0.5 y4=0.5 score=1 breakflg=1", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("\"" + c.line + "\"");
    SampleLine read;
    read.rawFrame = 12345;
    ASSERT_EQ(ReadSampleLineVector(c.line, read), c.read);
    if (c.read) {
      ExpectAsTheGeneralReader(c.line, read);
    } else {
      EXPECT_EQ(read.rawFrame, 12345);
      EXPECT_FALSE(read.complete);
    }
  }
}

// Values of every length the reader takes, so that they fall across the line's 64-character
// blocks and 16-character lanes at every offset.
std::string RandomPlainNumber(std::mt19937& random, bool whole) {
  std::uniform_int_distribution<int> pick(0, 99);
  std::string value;
  const int sign = pick(random);
  if (sign < 10) value += '-';
  if (sign >= 95) value += '+';
  const int maxDigits = whole ? 9 : 15;
  const int digits = 1 + pick(random) % maxDigits;
  for (int i = 0; i < digits; ++i) value += static_cast<char>('0' + pick(random) % 10);
  if (!whole && pick(random) < 80) {
    const std::size_t at = value.size() - static_cast<std::size_t>(pick(random) % (digits + 1));
    value.insert(at, 1, '.');
  }
  // A value fills at most a lane of sixteen characters.
  if (value.size() > 16) value.erase(0, 1);
  return value;
}

std::string RandomPlainLine(std::mt19937& random) {
  std::array<std::string, kSampleTokens> values;
  for (std::size_t i = 0; i < kSampleTokens; ++i) {
    values[i] = RandomPlainNumber(random, i == 0 || i == 1 || i == kSampleTokens - 1);
  }
  return SampleText(values);
}

TEST_F(SampleLineVector, ReadsRandomPlainLinesAsTheGeneralReaderDoes) {
  std::mt19937 random(11);
  for (int n = 0; n < 5000; ++n) {
    const std::string line = RandomPlainLine(random);
    SCOPED_TRACE("\"" + line + "\"");
    SampleLine read;
    ASSERT_TRUE(ReadSampleLineVector(line, read));
    ExpectAsTheGeneralReader(line, read);
  }
}

// Lines spoilt at random in one to three places: whatever the vector reader takes, it reads as
// the general reader does.
TEST_F(SampleLineVector, ReadsSpoiltLinesAsTheGeneralReaderDoesOrNotAtAll) {
  std::mt19937 random(12);
  const std::string spoilers = " ,\t\r.-+eE0123456789x=";
  std::uniform_int_distribution<int> pick(0, 999);
  for (int n = 0; n < 20000; ++n) {
    std::string line = RandomPlainLine(random);
    for (int spoilt = 0; spoilt <= pick(random) % 3; ++spoilt) {
      const auto at = static_cast<std::size_t>(pick(random)) % line.size();
      const char c = spoilers[static_cast<std::size_t>(pick(random)) % spoilers.size()];
      switch (pick(random) % 3) {
        case 0: line[at] = c; break;
        case 1: line.insert(at, 1, c); break;
        default: line.erase(at, 1); break;
      }
    }
    SCOPED_TRACE("\"" + line + "\"");
    SampleLine read;
    if (ReadSampleLineVector(line, read)) ExpectAsTheGeneralReader(line, read);
  }
}

}  // namespace
}  // namespace ostrel
