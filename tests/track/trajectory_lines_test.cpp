#include "track/trajectory_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ostrel {
namespace {

// A sample line is read from its first token whatever that token's first characters are, and
// whatever delimiters come before it: only the file's reader insists on the keyword.
TEST(ReadSampleLine, ReadsTheFirstTokenWithOrWithoutTheKeyword) {
  const std::string values =
      "20 time=7 x1=0.125 y1=0.25 x2=0.625 y2=0.25 x3=0.625 y3=0.75 x4=0.125 y4=0.5 score=0.875 "
      "breakflg=2";
  struct Case {
    const char* name;
    std::string line;
  };
  const std::vector<Case> cases = {
      {"keyword", "frame=" + values},
      {"keyword in upper case", "FRAME=" + values},
      {"other prefix", "sample" + values},
      {"blanks before the keyword", " ,\tframe=" + values},
      {"blanks before another prefix", "  abcde:" + values},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SampleLine read = ReadSampleLine(c.line);
    EXPECT_TRUE(read.complete);
    EXPECT_EQ(read.rawFrame, 20);
    EXPECT_EQ(read.values.clockMs, 7);
    EXPECT_EQ(read.values.corners[2], (TrackPoint{0.625, 0.75}));
    EXPECT_EQ(read.values.score, 0.875);
    EXPECT_EQ(read.values.breakFlag, 1);
  }
}

TEST(ReadSampleLine, AFirstTokenShorterThanItsPrefixReadsNothing) {
  for (const std::string line : {"", "   ", "frame", " fra=1 time=7", "\tframe"}) {
    SCOPED_TRACE("\"" + line + "\"");
    const SampleLine read = ReadSampleLine(line);
    EXPECT_FALSE(read.complete);
    EXPECT_EQ(read.rawFrame, 0);
  }
}

}  // namespace
}  // namespace ostrel
