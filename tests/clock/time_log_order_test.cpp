// Which lines of a camera log count, in which order, and what the report tells about them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clock/time_log.h"
#include "tests/support/recording_messages.h"
#include "tests/support/temp_folder.h"
#include "tests/support/time_log_writer.h"

namespace ostrel {
namespace {

using testing::CorrectionLine;
using testing::RawLine;
using testing::TimeLogEntry;
using testing::VideoLine;

constexpr ClockMs kOneHour = 3'600'000;

const std::vector<TimeLogEntry> kExampleLog = {
    CorrectionLine{'-', {0, 0, 1, 500}},
    VideoLine{"cam07_012", {9, 58, 12, 40}},
    VideoLine{"cam07_013", {10, 8, 12, 120}},
};

TEST(TimeLogOrder, TheExampleLogPlacesEachVideoOfTheCamera) {
  struct Case {
    const char* video;
    ClockMs startMs;
  };
  const Case cases[] = {{"cam07_013.avi", 36'490'620}, {"cam07_012.avi", 35'890'540}};
  const testing::TempFolder folder;
  for (const bool crlf : {false, true}) {
    for (const bool useSpaces : {false, true}) {
      testing::WriteTimeLog(folder.path() / "cam07_.log", kExampleLog,
                            {.crlf = crlf, .useSpaces = useSpaces});
      for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.video) + (crlf ? " crlf" : " lf") + (useSpaces ? " spaces" : " tabs"));
        testing::RecordingMessages messages;
        ClockOffset offset;
        ASSERT_TRUE(ReadTimeLog(offset, folder.File(c.video), messages));
        EXPECT_EQ(offset, (ClockOffset{c.startMs, -1500}));
        EXPECT_TRUE(messages.shown.empty());
      }
    }
  }
}

struct OrderCase {
  const char* what;
  std::vector<TimeLogEntry> lines;
  ClockOffset expected;
};

TEST(TimeLogOrder, CorrectionsBeforeTheVideosLineCountAndTheLastOneWins) {
  const ClockOffset before{111, 22};
  const OrderCase cases[] = {
      {"several corrections: the last before the video's line counts",
       {CorrectionLine{'+', {0, 0, 1, 0}}, CorrectionLine{'-', {0, 0, 2, 0}},
        CorrectionLine{'+', {0, 0, 3, 0}}, VideoLine{"cam07_012", {1, 0, 0, 0}}},
       {kOneHour + 3000, 3000}},
      {"a correction after the video's line is never read",
       {CorrectionLine{'+', {0, 0, 1, 0}}, VideoLine{"cam07_012", {1, 0, 0, 0}},
        CorrectionLine{'+', {0, 0, 5, 0}}},
       {kOneHour + 1000, 1000}},
      {"a video's line before every correction uses the correction in force",
       {VideoLine{"cam07_012", {1, 0, 0, 0}}, CorrectionLine{'-', {0, 0, 5, 0}}},
       {kOneHour + 22, 22}},
      {"corrections of other cameras' lines in between still count",
       {CorrectionLine{'-', {0, 0, 1, 0}}, VideoLine{"cam07_011", {0, 30, 0, 0}},
        CorrectionLine{'-', {0, 0, 2, 0}}, VideoLine{"cam07_012", {1, 0, 0, 0}}},
       {kOneHour - 2000, -2000}},
      {"the first line matching the name wins",
       {VideoLine{"cam07_0123", {1, 0, 0, 0}}, VideoLine{"cam07_012", {2, 0, 0, 0}}},
       {kOneHour + 22, 22}},
      {"no line for the video: startMs stays, a correction still applies",
       {CorrectionLine{'+', {0, 0, 4, 0}}, VideoLine{"cam07_011", {1, 0, 0, 0}},
        VideoLine{"cam07_01", {2, 0, 0, 0}}},
       {111, 4000}},
      {"an empty log changes nothing", {}, before},
  };
  const testing::TempFolder folder;
  for (const OrderCase& c : cases) {
    SCOPED_TRACE(c.what);
    testing::WriteTimeLog(folder.path() / "cam07_.log", c.lines);
    testing::RecordingMessages messages;
    ClockOffset offset = before;
    ASSERT_TRUE(ReadTimeLog(offset, folder.File("cam07_012.avi"), messages));
    EXPECT_EQ(offset, c.expected);
    EXPECT_TRUE(messages.shown.empty());
  }
}

TEST(TimeLogOrder, AnUnknownSignKeepsTheCorrectionReadBeforeIt) {
  const testing::TempFolder folder;
  testing::WriteTimeLog(folder.path() / "cam07_.log",
                        {CorrectionLine{'+', {0, 0, 1, 0}}, CorrectionLine{'?', {0, 0, 2, 0}},
                         CorrectionLine{'+', {0, 0, 3, 0}}, VideoLine{"cam07_012", {1, 0, 0, 0}}});
  testing::RecordingMessages messages;
  ClockOffset offset{111, 22};
  TimeLogReport report;
  ASSERT_TRUE(ReadTimeLog(offset, folder.File("cam07_012.avi"), messages, &report));
  EXPECT_EQ(offset, (ClockOffset{111, 1000}));
  EXPECT_EQ(messages.shown, (std::vector<UserMessage>{{"Unknown TIMEADJ", "Warning"}}));
  EXPECT_EQ(report.unknownSignLine, 2u);
  EXPECT_EQ(report.corrections.size(), 1u);
  EXPECT_FALSE(report.videoLine.has_value());
}

TEST(TimeLogOrder, TheReportNamesTheLinesReadByTheirNumberInTheFile) {
  const testing::TempFolder folder;
  testing::WriteTimeLog(folder.path() / "cam07_.log",
                        {RawLine{"# camera 7"},
                         CorrectionLine{'+', {0, 0, 1, 0}},
                         RawLine{std::string(450, 'x')},  // three pieces, one line
                         CorrectionLine{'-', {1, 2, 3, 4}},
                         RawLine{std::string(199, 'y')},  // one full piece, then its line end
                         VideoLine{"cam07_012", {1, 0, 0, 0}},
                         CorrectionLine{'+', {0, 0, 9, 0}}},
                        {.crlf = true});
  testing::RecordingMessages messages;
  ClockOffset offset;
  TimeLogReport report;
  ASSERT_TRUE(ReadTimeLog(offset, folder.File("cam07_012.avi"), messages, &report));

  EXPECT_EQ(report.logPath, folder.File("cam07_.log"));
  ASSERT_EQ(report.corrections.size(), 2u);
  EXPECT_EQ(report.corrections[0].lineNumber, 2u);
  EXPECT_EQ(report.corrections[0].sign, 1);
  EXPECT_EQ(report.corrections[0].adjustMs, 1000);
  EXPECT_EQ(report.corrections[1].lineNumber, 4u);
  EXPECT_EQ(report.corrections[1].sign, -1);
  EXPECT_EQ(report.corrections[1].time, (LogClockTime{1, 2, 3, 4}));
  EXPECT_EQ(report.corrections[1].adjustMs, -3'723'004);
  ASSERT_TRUE(report.videoLine.has_value());
  EXPECT_EQ(report.videoLine->lineNumber, 6u);
  EXPECT_EQ(report.videoLine->time, (LogClockTime{1, 0, 0, 0}));
  EXPECT_EQ(report.videoLine->startMs, kOneHour - 3'723'004);
  EXPECT_EQ(offset.startMs, report.videoLine->startMs);
  EXPECT_FALSE(report.unknownSignLine.has_value());
  EXPECT_FALSE(report.readError);
}

TEST(TimeLogOrder, TheReportTellsWhenTheVideosLineWasNotFound) {
  const testing::TempFolder folder;
  testing::WriteTimeLog(folder.path() / "cam07_.log",
                        {CorrectionLine{'+', {0, 0, 1, 0}}, VideoLine{"cam07_013", {1, 0, 0, 0}}});
  testing::RecordingMessages messages;
  ClockOffset offset{5, 0};
  TimeLogReport report;
  ASSERT_TRUE(ReadTimeLog(offset, folder.File("cam07_012.avi"), messages, &report));
  EXPECT_FALSE(report.videoLine.has_value());
  EXPECT_EQ(report.corrections.size(), 1u);
  EXPECT_EQ(offset, (ClockOffset{5, 1000}));
}

}  // namespace
}  // namespace ostrel
