#include "track/companion_paths.h"

#include <gtest/gtest.h>

#include "tests/support/recording_messages.h"

namespace ostrel {
namespace {

struct SplitCase {
  const char* path;
  bool ok;
  const char* folder;
  const char* name;
  std::optional<std::string> extension;
};

TEST(SplitVideoPath, SplitsAtLastBackslashAndLastDot) {
  const SplitCase cases[] = {
      {R"(C:\data\cam07_012.avi)", true, R"(C:\data)", "cam07_012", "avi"},
      {R"(C:\data\a.b.avi)", true, R"(C:\data)", "a.b", "avi"},
      {R"(C:\data\.avi)", true, R"(C:\data)", ".avi", std::nullopt},
      {R"(C:\data\.hidden)", true, R"(C:\data)", ".hidden", std::nullopt},
      {R"(C:\data\clip)", true, R"(C:\data)", "clip", std::nullopt},
      {R"(C:\data\clip.)", true, R"(C:\data)", "clip", ""},
      {R"(C:\data\)", true, R"(C:\data)", "", std::nullopt},
      {R"(C:\clip.avi)", true, "C:", "clip", "avi"},
      {R"(\clip.avi)", true, "", "clip", "avi"},
      // On failure the folder holds the whole path and the name is left as it was.
      {"clip.avi", false, "clip.avi", "untouched", std::nullopt},
      {"C:/data/clip.avi", false, "C:/data/clip.avi", "untouched", std::nullopt},
      {"", false, "", "untouched", std::nullopt},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.path);
    VideoPathParts parts;
    parts.name = "untouched";
    EXPECT_EQ(SplitVideoPath(c.path, parts, '\\'), c.ok);
    EXPECT_EQ(parts.folder, c.folder);
    EXPECT_EQ(parts.name, c.name);
    EXPECT_EQ(parts.extension, c.extension);
  }
}

TEST(SplitVideoPath, UsesTheSlashByDefault) {
  VideoPathParts parts;
  ASSERT_TRUE(SplitVideoPath("/home/me/rec/cam07_012.avi", parts));
  EXPECT_EQ(parts.folder, "/home/me/rec");
  EXPECT_EQ(parts.name, "cam07_012");
  EXPECT_FALSE(SplitVideoPath(R"(C:\data\clip.avi)", parts));
}

TEST(SplitVideoPath, KeepsLongNamesWhole) {
  const std::string name(300, 'n');
  const std::string extension(40, 'e');
  VideoPathParts parts;
  ASSERT_TRUE(SplitVideoPath("/" + std::string(400, 'f') + "/" + name + "." + extension, parts));
  EXPECT_EQ(parts.name, name);
  EXPECT_EQ(parts.extension, extension);
  EXPECT_EQ(parts.folder.size(), 401u);
}

TEST(StripTrailingDigits, KeepsAtLeastTwoCharacters) {
  const struct {
    const char* name;
    bool ok;
    const char* after;
  } cases[] = {
      {"cam07_012", true, "cam07_"}, {"ca12", true, "ca"}, {"xy7", true, "xy"},
      {"xy", true, "xy"},            {"cam", true, "cam"}, {"c12", false, "c12"},
      {"x7", false, "x7"},           {"c", false, "c"},    {"x", false, "x"},
      {"7", false, "7"},             {"", false, ""},      {"2024", false, "2024"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string name = c.name;
    EXPECT_EQ(StripTrailingDigits(name), c.ok);
    EXPECT_EQ(name, c.after);
  }
}

TEST(ComposeCompanionPath, PutsExactlyOneSeparatorBetweenFolderAndName) {
  const struct {
    const char* video;
    std::string_view suffix;
    const char* expected;
  } cases[] = {
      {R"(C:\data\cam07_012.avi)", kPointFileSuffix, R"(C:\data\cam07_012.lpa)"},
      {R"(C:\data\cam07_012.avi)", kTrajectoryFileSuffix, R"(C:\data\cam07_012.traj)"},
      {R"(\clip.avi)", kPointFileSuffix, R"(\clip.lpa)"},
      {R"(C:\data\)", kPointFileSuffix, R"(C:\data\.lpa)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.video);
    VideoPathParts parts;
    ASSERT_TRUE(SplitVideoPath(c.video, parts, '\\'));
    EXPECT_EQ(ComposeCompanionPath(parts.folder, parts.name, c.suffix, '\\'), c.expected);
  }
}

TEST(ComposeCompanionPath, NamesTheCameraLogAfterTheStem) {
  VideoPathParts parts;
  ASSERT_TRUE(SplitVideoPath(R"(C:\rec\cam07_012.avi)", parts, '\\'));
  ASSERT_TRUE(StripTrailingDigits(parts.name));
  EXPECT_EQ(ComposeCompanionPath(parts.folder, parts.name, kTimeLogSuffix, '\\'),
            R"(C:\rec\cam07_.log)");
}

TEST(VideoCompanionPath, ReportsAnUnsplittablePathWithThePathAsCaption) {
  testing::RecordingMessages messages;
  EXPECT_EQ(VideoCompanionPath("/rec/cam.avi", kTrajectoryFileSuffix, messages), "/rec/cam.traj");
  EXPECT_TRUE(messages.shown.empty());

  EXPECT_EQ(VideoCompanionPath("cam.avi", kPointFileSuffix, messages), std::nullopt);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], (UserMessage{"Invalid filename.", "cam.avi", MessageOwner::None}));
}

}  // namespace
}  // namespace ostrel
