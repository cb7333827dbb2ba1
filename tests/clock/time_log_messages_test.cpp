// What the user is told when a video has no camera log to read, and that nothing changes then.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "clock/time_log.h"
#include "tests/support/recording_messages.h"
#include "tests/support/temp_folder.h"
#include "tests/support/time_log_writer.h"

namespace ostrel {
namespace {

constexpr ClockOffset kBefore{111, 22};

struct FailureCase {
  std::string videoPath;
  UserMessage message;
  std::string logPath;  // in the report
};

TEST(TimeLogMessages, AVideoWithoutALogCannotBeOpened) {
  const testing::TempFolder folder;
  // Logs of neighbouring names must not stand in for the missing one.
  testing::WriteTimeLog(folder.path() / "cam07.log", {testing::VideoLine{"cam07_012", {1, 0, 0, 0}}});
  testing::WriteTimeLog(folder.path() / "cam07_012.log", {testing::VideoLine{"cam07_012", {1, 0, 0, 0}}});
  std::filesystem::create_directory(folder.path() / "cam08_.log");
  const std::string missingLog = folder.File("cam07_.log");
  const std::string directoryLog = folder.File("cam08_.log");

  const FailureCase cases[] = {
      {"cam07_012.avi", {"Invalid filename.", "cam07_012.avi"}, ""},
      {"", {"Invalid filename.", ""}, ""},
      // The stem must keep two characters; the caption is the name, digits and all.
      {"/rec/c12.avi", {"Invalid filename.", "c12"}, ""},
      {"/rec/7.avi", {"Invalid filename.", "7"}, ""},
      {"/rec/", {"Invalid filename.", ""}, ""},
      {folder.File("cam07_012.avi"), {"Failed in open LOG file.", missingLog}, missingLog},
      {folder.File("CAM07_012.avi"), {"Failed in open LOG file.", folder.File("CAM07_.log")},
       folder.File("CAM07_.log")},
      {folder.File("cam08_001.avi"), {"Failed in open LOG file.", directoryLog}, directoryLog},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.videoPath);
    testing::RecordingMessages messages;
    ClockOffset offset = kBefore;
    TimeLogReport report;
    report.logPath = "stale";
    EXPECT_FALSE(ReadTimeLog(offset, c.videoPath, messages, &report));
    EXPECT_EQ(offset, kBefore);
    EXPECT_EQ(messages.shown, std::vector<UserMessage>{c.message});
    EXPECT_EQ(messages.shown.at(0).owner, MessageOwner::None);
    EXPECT_EQ(report.logPath, c.logPath);
  }
}

TEST(TimeLogMessages, TheLogPathFollowsTheSeparatorGiven) {
  testing::RecordingMessages messages;
  ClockOffset offset;
  TimeLogReport report;
  EXPECT_FALSE(ReadTimeLog(offset, R"(C:\rec\cam07_012.avi)", messages, &report, '\\'));
  EXPECT_EQ(report.logPath, R"(C:\rec\cam07_.log)");
  EXPECT_EQ(messages.shown,
            (std::vector<UserMessage>{{"Failed in open LOG file.", R"(C:\rec\cam07_.log)"}}));
}

TEST(TimeLogMessages, OnlyTheUnknownSignIsReportedWhileReading) {
  const testing::TempFolder folder;
  testing::WriteTimeLog(folder.path() / "cam07_.log",
                        {testing::RawLine{"garbage \x01\x7f\xff line"}, testing::RawLine{"TIMEADJ x"},
                         testing::RawLine{"TIMEADJ y"}});
  testing::RecordingMessages messages;
  ClockOffset offset = kBefore;
  EXPECT_TRUE(ReadTimeLog(offset, folder.File("cam07_012.avi"), messages));
  EXPECT_EQ(offset, kBefore);
  ASSERT_EQ(messages.shown, (std::vector<UserMessage>{{"Unknown TIMEADJ", "Warning"}}));
  EXPECT_EQ(messages.shown[0].owner, MessageOwner::None);
}

}  // namespace
}  // namespace ostrel
