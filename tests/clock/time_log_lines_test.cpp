// How each form of line in a camera log is read, one line at a time, in logs on disk.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "clock/time_log.h"
#include "tests/support/recording_messages.h"
#include "tests/support/temp_folder.h"
#include "tests/support/time_log_writer.h"

namespace ostrel {
namespace {

using testing::RawLine;
using testing::TimeLogEntry;

constexpr ClockOffset kBefore{111, 22};
constexpr ClockMs kOneHour = 3'600'000;
// Read after each line under test: shows the correction in force, or that reading stopped.
const std::string kFollowingLine = "cam07_012 1:00:00:000";

struct LineCase {
  std::string line;
  std::int32_t adjustMs;
  ClockMs startMs;
  bool warned = false;
};

ClockOffset ReadLogOf(const testing::TempFolder& folder, const std::vector<TimeLogEntry>& lines,
                      testing::RecordingMessages& messages, testing::TimeLogStyle style = {}) {
  testing::WriteTimeLog(folder.path() / "cam07_.log", lines, style);
  ClockOffset offset = kBefore;
  EXPECT_TRUE(ReadTimeLog(offset, folder.File("cam07_012.avi"), messages));
  return offset;
}

void ExpectLineCases(const std::vector<LineCase>& cases) {
  const testing::TempFolder folder;
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.line);
    testing::RecordingMessages messages;
    const ClockOffset offset = ReadLogOf(folder, {RawLine{c.line}, RawLine{kFollowingLine}}, messages);
    EXPECT_EQ(offset.adjustMs, c.adjustMs);
    EXPECT_EQ(offset.startMs, c.startMs);
    if (c.warned) {
      EXPECT_EQ(messages.shown, (std::vector<UserMessage>{{"Unknown TIMEADJ", "Warning"}}));
    } else {
      EXPECT_TRUE(messages.shown.empty());
    }
  }
}

TEST(TimeLogLines, CorrectionLinesSetTheCorrectionForTheVideoLineAfterThem) {
  ExpectLineCases({
      {"timeadj + 0:0:1:500", 1500, kOneHour + 1500},
      {"TIMEADJ - 0:70:0:0", -4'200'000, kOneHour - 4'200'000},
      {"TIMEADJ\t-\t0:0:1:500", -1500, kOneHour - 1500},
      {"TIMEADJX + 0:0:1:500", 1500, kOneHour + 1500},  // the keyword is compared over 7 characters
      {"TIMEADJ + 5", 18'000'000, kOneHour + 18'000'000},
      {"TIMEADJ +", 0, kOneHour},  // no numbers: all four count as 0
      {"TIMEADJ \t  -  \t 0:0:2:0", -2000, kOneHour - 2000},
      {"TIMEADJ\t+::\t1:2:3:4", 3'723'004, kOneHour + 3'723'004},
  });
}

TEST(TimeLogLines, OnlyTheSignsFirstCharacterCounts) {
  ExpectLineCases({
      // The sign token runs to the next blank or colon, so hours written with it are lost.
      {"TIMEADJ +1:30:00:000", 108'000'000, kOneHour + 108'000'000},
      {"TIMEADJ -1:30:00:000", -108'000'000, kOneHour - 108'000'000},
      {"TIMEADJ +x 0:0:1:0", 1000, kOneHour + 1000},
      {"TIMEADJ -+ 0:0:1:0", -1000, kOneHour - 1000},
  });
}

TEST(TimeLogLines, MinutesSecondsAndMillisecondsEndOnlyAtAColon) {
  ExpectLineCases({
      {"TIMEADJ + 1: 2 :3:4", 3'723'004, kOneHour + 3'723'004},
      {"TIMEADJ + 1:2 3:4:5", 3'724'005, kOneHour + 3'724'005},  // "2 3" reads as 2
      // Empty fields are skipped: "0::1:500" reads as hours 0, minutes 1, seconds 500.
      {"TIMEADJ + 0::1:500", 560'000, kOneHour + 560'000},
      // A comma ends only the first token: "+,0" is the sign and the fields move one up.
      {"TIMEADJ,+,0:0:1:500", 560'000, kOneHour + 560'000},
  });
}

TEST(TimeLogLines, NumbersKeepTheirLow16BitsAsUnsigned) {
  ExpectLineCases({
      {"TIMEADJ + 65536:0:0:0", 0, kOneHour},
      {"TIMEADJ + 0:0:0:-1", 65535, kOneHour + 65535},
      {"TIMEADJ + 0:0:0:65537", 1, kOneHour + 1},
      {"TIMEADJ + 0:0:0:99999999999", 65535, kOneHour + 65535},  // saturated first, then cut
      {"TIMEADJ + 0:0:0:+7x9", 7, kOneHour + 7},
      {"TIMEADJ + 0:0:0:abc", 0, kOneHour},
  });
}

TEST(TimeLogLines, DurationsWrapAroundIn32Bits) {
  ExpectLineCases({
      {"TIMEADJ + 65535:65535:65535:65535", -594'468'041, kOneHour - 594'468'041},
      {"TIMEADJ - 65535:65535:65535:65535", 594'468'041, kOneHour + 594'468'041},
      // 2^31 ms: neither sign can hold it, both give INT32_MIN.
      {"TIMEADJ + 596:31:23:648", INT32_MIN, INT32_MIN + kOneHour},
      {"TIMEADJ - 596:31:23:648", INT32_MIN, INT32_MIN + kOneHour},
  });
}

TEST(TimeLogLines, AnUnknownSignWarnsAndEndsTheReading) {
  // The video's line after it is never read: startMs stays, and so does the correction.
  ExpectLineCases({
      {"TIMEADJ * 0:0:1:500", kBefore.adjustMs, kBefore.startMs, true},
      {"TIMEADJ", kBefore.adjustMs, kBefore.startMs, true},
      {"TIMEADJ \t ", kBefore.adjustMs, kBefore.startMs, true},
      {"TIMEADJ:+ 0:0:1:0", kBefore.adjustMs, kBefore.startMs, true},  // ':' does not end the keyword
      {"timeadj 1:0:0:0", kBefore.adjustMs, kBefore.startMs, true},
  });
}

TEST(TimeLogLines, TheVideosLineSetsTheStartAndEndsTheReading) {
  constexpr ClockMs kCam07_012 = 35'892'040;
  ExpectLineCases({
      {"cam07_012 9:58:12:040", kBefore.adjustMs, kCam07_012 + kBefore.adjustMs},
      {"cam07_012,9:58:12:040", kBefore.adjustMs, kCam07_012 + kBefore.adjustMs},
      {"cam07_012\t9:58:12:040", kBefore.adjustMs, kCam07_012 + kBefore.adjustMs},
      {"CAM07_012 9:58:12:040", kBefore.adjustMs, kCam07_012 + kBefore.adjustMs},
      {"cam07_0123 9:58:12:040", kBefore.adjustMs, kCam07_012 + kBefore.adjustMs},
      {"cam07_012.avi 9:58:12:040", kBefore.adjustMs, kCam07_012 + kBefore.adjustMs},
      {"cam07_012 9 58:12:040", kBefore.adjustMs, kCam07_012 + kBefore.adjustMs},
      // After the hours only colons separate: "58 12 040" is the minutes.
      {"cam07_012 9 58 12 040", kBefore.adjustMs, 35'880'000 + kBefore.adjustMs},
      {"cam07_012", kBefore.adjustMs, kBefore.adjustMs},
  });
}

TEST(TimeLogLines, OtherLinesAreIgnored) {
  const ClockMs following = kOneHour + kBefore.adjustMs;
  ExpectLineCases({
      {"cam07_01 9:58:12:040", kBefore.adjustMs, following},
      {"cam08_012 9:58:12:040", kBefore.adjustMs, following},
      // Both comparisons start at the first character, blanks included.
      {" TIMEADJ + 0:0:1:500", kBefore.adjustMs, following},
      {"\tcam07_012 9:58:12:040", kBefore.adjustMs, following},
      {"TIMEAD + 0:0:1:500", kBefore.adjustMs, following},
      {"", kBefore.adjustMs, following},
  });
}

TEST(TimeLogLines, StartWrapsAroundWithTheCorrection) {
  const testing::TempFolder folder;
  testing::WriteTimeLog(folder.path() / "cam07_.log", {RawLine{"cam07_012 0:0:0:001"}});
  testing::RecordingMessages messages;
  ClockOffset offset{0, INT32_MAX};
  ASSERT_TRUE(ReadTimeLog(offset, folder.File("cam07_012.avi"), messages));
  EXPECT_EQ(offset.startMs, INT32_MIN);
  EXPECT_EQ(offset.adjustMs, INT32_MAX);
}

TEST(TimeLogLines, LongLinesAreReadIn199CharacterPieces) {
  const std::string fill199(199, 'x');
  std::string cutCorrection = "TIMEADJ + 1:2:3:";
  cutCorrection.resize(199, ' ');
  ExpectLineCases({
      // The piece after the first 199 characters is a line of its own.
      {fill199 + "TIMEADJ + 0:0:2:000", 2000, kOneHour + 2000},
      {std::string(199, ' ') + "cam07_012 2:00:00:000", kBefore.adjustMs, 2 * kOneHour + kBefore.adjustMs},
      {fill199 + fill199 + "cam07_012 2:00:00:000", kBefore.adjustMs, 2 * kOneHour + kBefore.adjustMs},
      // Numbers past the cut belong to the next piece and are lost to this one.
      {cutCorrection + "4", 3'723'000, kOneHour + 3'723'000},
      // Exactly one piece: the line end after it only closes an empty line.
      {"TIMEADJ + 0:0:3:000" + std::string(199 - 19, ' '), 3000, kOneHour + 3000},
      // A correction that starts at character 198 is cut after its first letter.
      {std::string(198, 'x') + "TIMEADJ + 0:0:2:000", kBefore.adjustMs, kOneHour + kBefore.adjustMs},
  });
}

TEST(TimeLogLines, LineEndsMayBeCrLf) {
  const testing::TempFolder folder;
  for (const bool useSpaces : {false, true}) {
    SCOPED_TRACE(useSpaces ? "spaces" : "tabs");
    testing::RecordingMessages messages;
    const ClockOffset offset =
        ReadLogOf(folder,
                  {testing::CorrectionLine{'-', {0, 0, 0, 7}}, RawLine{"cam07_012 1:0:0:0"},
                   RawLine{"TIMEADJ + 0:0:9:0"}},
                  messages, {.crlf = true, .useSpaces = useSpaces});
    EXPECT_EQ(offset.adjustMs, -7);
    EXPECT_EQ(offset.startMs, kOneHour - 7);
    EXPECT_TRUE(messages.shown.empty());
  }
}

}  // namespace
}  // namespace ostrel
