#include "track/trajectory_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "track/text_lines.h"

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

// Within a chunk, a line's numbers are read without asking where the line ends, since its line
// end stops them. Whatever follows the line end, digits and separators included, the line
// must read exactly as it does alone.
TEST(ReadTrajectoryLines, ALineFollowedByMoreTextReadsAsItDoesAlone) {
  const std::string head = "frame=1 time=2 x1=0.5 y1=0.5 x2=0.5 y2=0.5 x3=0.5 y3=0.5 x4=0.5";
  // The last characters of a piece that a whole line of text is cut to.
  std::string cutAtANumber = head + " y4=0.25";
  cutAtANumber.insert(head.size(), kLinePieceChars - cutAtANumber.size(), ' ');
  const std::vector<std::string> lines = {
      head + " y4=0.5 score=1.5 breakflg=1",
      head + " y4=0.5 score=1.5 breakflg=12345678",
      head + " y4=0.5 score=1.5 breakflg=",
      head + " y4=0.5 score=1.5 breakflg=-",
      head + " y4=0.5 score=1.5 breakflg=1e",
      head + " y4=0.5 score=5.",
      head + " y4=0.1234567",
      head + " y4=12345678901234567890",
      head + " y4=-.5",
      head + " y4=1e5",
      head + " y4=",
      head + " y4",
      head + " y4=0.5abc score=1.5 breakflg=1",
      "frame=12",
      "frame=",
      cutAtANumber,
  };
  // Read past its end, this would make the last number of a cut line longer.
  const std::string after = "5 y4=9 score=9 breakflg=9 x1=9\n";
  for (const SampleLineReaders readers :
       {SampleLineReaders::Quickest, SampleLineReaders::GeneralOnly}) {
    for (const std::string& line : lines) {
      // A lone carriage return ends no line, but it does end a piece cut from a long one; with
      // nothing between them, the line runs on into the text after it.
      for (const std::string lineEnd : {"\n", "\r\n", "\r", ""}) {
        SCOPED_TRACE("\"" + line + "\" then \"" + lineEnd + "\"");
        const std::string whole = line + lineEnd + after;
        std::string_view text = whole;
        std::vector<TrajectoryLineRead> read;
        ReadTrajectoryLines(whole, read, readers);
        const SampleLine alone = ReadSampleLine(TakeLinePiece(text));
        ASSERT_FALSE(read.empty());
        const SampleLine& first = std::get<SampleLine>(read.front());
        EXPECT_EQ(first.rawFrame, alone.rawFrame);
        EXPECT_EQ(first.complete, alone.complete);
        EXPECT_EQ(first.values, alone.values);
      }
    }
  }
}

}  // namespace
}  // namespace ostrel
