// timeadj.log: its exact bytes, that the camera log reader takes them back, and failures.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "clock/time_adjust_log.h"
#include "clock/time_log.h"
#include "tests/clock/read_file_bytes.h"
#include "tests/support/point_file_writer.h"
#include "tests/support/recording_messages.h"
#include "tests/support/temp_folder.h"

namespace ostrel {
namespace {

namespace fs = std::filesystem;

using testing::ReadFileBytes;

std::vector<std::string> FolderEntries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

TEST(TimeAdjustLog, WritesOneCrLfLineWithTheUnpaddedMagnitude) {
  struct Case {
    std::int32_t adjustMs;
    const char* bytes;
  };
  const Case cases[] = {
      {-1500, "TIMEADJ\t-\t0:0:1:500\r\n"},
      {3'723'004, "TIMEADJ\t+\t1:2:3:4\r\n"},
      {0, "TIMEADJ\t+\t0:0:0:0\r\n"},
      {-1, "TIMEADJ\t-\t0:0:0:1\r\n"},
      {86'400'000, "TIMEADJ\t+\t24:0:0:0\r\n"},
      {INT32_MAX, "TIMEADJ\t+\t596:31:23:647\r\n"},
      {INT32_MIN, "TIMEADJ\t-\t596:31:23:648\r\n"},
  };
  const testing::TempFolder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.adjustMs);
    testing::RecordingMessages messages;
    ASSERT_TRUE(WriteTimeAdjustLog({12345, c.adjustMs}, folder.path().string(), messages));
    EXPECT_EQ(ReadFileBytes(folder.path() / "timeadj.log"), c.bytes);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(FolderEntries(folder.path()), std::vector<std::string>{"timeadj.log"});
  }
}

TEST(TimeAdjustLog, ReplacesTheWholeOldContentAndKeepsItsPermissions) {
  const testing::TempFolder folder;
  const fs::path file = folder.path() / "timeadj.log";
  testing::WriteFileBytes(file, "TIMEADJ\t-\t596:31:23:648\r\nold second line\r\n");
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
  testing::RecordingMessages messages;
  ASSERT_TRUE(WriteTimeAdjustLog({0, 7}, folder.path().string(), messages));
  EXPECT_EQ(ReadFileBytes(file), "TIMEADJ\t+\t0:0:0:7\r\n");
  EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<std::string>{"timeadj.log"});
}

TEST(TimeAdjustLog, TheCameraLogReaderTakesTheWrittenLineBack) {
  const std::int32_t values[] = {-1500, 3'723'004, 0, 1, -1, 999, -86'400'001, INT32_MAX, INT32_MIN};
  constexpr ClockMs kOneHour = 3'600'000;
  const testing::TempFolder folder;
  for (const std::int32_t value : values) {
    SCOPED_TRACE(value);
    testing::RecordingMessages messages;
    ASSERT_TRUE(WriteTimeAdjustLog({0, value}, folder.path().string(), messages));
    testing::WriteFileBytes(folder.path() / "cam07_.log",
                            ReadFileBytes(folder.path() / "timeadj.log") + "cam07_012 1:00:00:000\r\n");
    ClockOffset offset{5, 5};
    ASSERT_TRUE(ReadTimeLog(offset, folder.File("cam07_012.avi"), messages));
    EXPECT_EQ(offset.adjustMs, value);
    EXPECT_EQ(offset.startMs,
              static_cast<std::int32_t>(static_cast<std::uint32_t>(kOneHour) + static_cast<std::uint32_t>(value)));
    EXPECT_TRUE(messages.shown.empty());
  }
}

TEST(TimeAdjustLog, AFailedWriteIsReportedAndLeavesNoFileBehind) {
  const testing::TempFolder folder;
  const fs::path missingFolder = folder.path() / "gone";
  const fs::path fileAsFolder = folder.path() / "plain";
  testing::WriteFileBytes(fileAsFolder, "x");
  // timeadj.log that is a folder cannot be replaced by a file: the rename fails.
  const fs::path blocked = folder.path() / "blocked";
  fs::create_directories(blocked / "timeadj.log");

  struct Case {
    fs::path folder;
    std::vector<std::string> entriesAfter;
  };
  const Case cases[] = {{missingFolder, {}}, {fileAsFolder, {}}, {blocked, {"timeadj.log"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder.string());
    testing::RecordingMessages messages;
    EXPECT_FALSE(WriteTimeAdjustLog({0, -1500}, c.folder.string(), messages));
    const std::string target = (c.folder / "timeadj.log").string();
    EXPECT_EQ(messages.shown,
              (std::vector<UserMessage>{{"The time adjustment could not be saved to timeadj.log.", target}}));
    if (fs::is_directory(c.folder)) {
      EXPECT_EQ(FolderEntries(c.folder), c.entriesAfter);
    }
  }
  EXPECT_FALSE(fs::exists(missingFolder));
  EXPECT_EQ(ReadFileBytes(fileAsFolder), "x");
  EXPECT_TRUE(fs::is_empty(blocked / "timeadj.log"));
}

}  // namespace
}  // namespace ostrel
