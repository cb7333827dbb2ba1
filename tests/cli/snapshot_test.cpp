// ostrel-cli snapshot on a generated demo folder: the frame at a position, plain and with the
// tracking data drawn where the data puts it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "overlay/bitmap_headers.h"
#include "tests/support/temp_folder.h"
#include "tools/demo/demo_tracks.h"

namespace ostrel {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int RunCli(const std::string& arguments) {
  const std::string command = std::string(OSTREL_CLI_PATH) + " " + arguments + " > /dev/null 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class SnapshotTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    demoFolder_ = new testing::TempFolder;
    const std::string command =
        std::string(MAKE_DEMO_DATA_PATH) + " '" + demoFolder_->path().string() + "' --seconds 2 > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  static void TearDownTestSuite() { delete demoFolder_; }

  std::string Snapshot(const std::string& extra) const {
    return "snapshot '" + demoFolder_->File("demo01.avi") + "' --output-dir '" + output.path().string() + "' " + extra;
  }

  static testing::TempFolder* demoFolder_;
  testing::TempFolder output;
};

testing::TempFolder* SnapshotTest::demoFolder_ = nullptr;

// Blue, green, red of the pixel at picture coordinates (x, y) of a bottom-up 24-bit bitmap.
std::array<std::uint8_t, 3> PixelAt(const std::vector<std::uint8_t>& file, int x, int y) {
  const auto width = static_cast<std::size_t>(640);
  const std::size_t row = (width * 3 + 3) / 4 * 4;
  const std::size_t at = 54 + static_cast<std::size_t>(479 - y) * row + static_cast<std::size_t>(x) * 3;
  return {file[at], file[at + 1], file[at + 2]};
}

TEST_F(SnapshotTest, WritesThePlainAndTheAnnotatedFrame) {
  ASSERT_EQ(RunCli(Snapshot("--position 1000")), 0);
  const std::vector<std::uint8_t> plain = ReadBytes(output.path() / "1.bmp");
  const std::vector<std::uint8_t> annotated = ReadBytes(output.path() / "2.bmp");
  const std::size_t imageBytes = 640u * 3u * 480u;
  ASSERT_EQ(plain.size(), 54 + imageBytes);
  ASSERT_EQ(annotated.size(), 54 + imageBytes);
  EXPECT_EQ(plain[0], 'B');
  EXPECT_EQ(plain[1], 'M');

  // One second in is frame 30. The detections on each object's rim are white discs in the
  // annotated file only; its centre lies on the trail, drawn over the disc in a trajectory pen.
  const demo::DemoScene scene({640, 480, 30, 60});
  const auto points = demo::DemoPoints(scene)[30].points;
  const std::vector<std::array<std::uint8_t, 3>> pens = {{0, 0, 255}, {128, 128, 255}, {0, 128, 255}, {255, 0, 128}};
  for (std::size_t i = 0; i < points.size(); ++i) {
    const int x = static_cast<int>(points[i].x * 640 + 0.5);
    const int y = static_cast<int>((1 - points[i].y) * 480 + 0.5);
    SCOPED_TRACE(::testing::Message() << "point " << i << " at " << x << "," << y);
    const bool centre = i % 3 == 0;
    if (centre) {
      EXPECT_THAT(pens, ::testing::Contains(PixelAt(annotated, x, y)));
    } else {
      EXPECT_EQ(PixelAt(annotated, x, y), (std::array<std::uint8_t, 3>{255, 255, 255}));
    }
    EXPECT_NE(PixelAt(plain, x, y), PixelAt(annotated, x, y));
  }
}

TEST_F(SnapshotTest, NeverOverwritesAndGivesTheSameBytesForTheSameFrame) {
  ASSERT_EQ(RunCli(Snapshot("--position 500")), 0);
  ASSERT_EQ(RunCli(Snapshot("--position 500")), 0);
  EXPECT_EQ(ReadBytes(output.path() / "2.bmp"), ReadBytes(output.path() / "3.bmp"));
  EXPECT_FALSE(fs::exists(output.path() / "4.bmp"));
}

TEST_F(SnapshotTest, AnOffsetMovesTheTrackingDataNotThePicture) {
  ASSERT_EQ(RunCli(Snapshot("--position 1000")), 0);
  ASSERT_EQ(RunCli(Snapshot("--position 1000 --offset 500")), 0);
  EXPECT_EQ(ReadBytes(output.path() / "1.bmp").size(), 54u + 640u * 3u * 480u);
  EXPECT_NE(ReadBytes(output.path() / "2.bmp"), ReadBytes(output.path() / "3.bmp"));
}

TEST_F(SnapshotTest, ReportsWhatItCannotDo) {
  EXPECT_EQ(RunCli("snapshot '" + demoFolder_->File("demo01.avi") + "'"), 2);  // no position
  EXPECT_EQ(RunCli(Snapshot("--position -1")), 2);
  EXPECT_EQ(RunCli("snapshot '" + output.File("missing.avi") + "' --position 0"), 1);
  const fs::path text = output.path() / "clip01.avi";
  std::ofstream(text) << "not a video";
  std::ofstream(output.path() / "clip.log") << "clip01 0:0:0:0\n";
  EXPECT_EQ(RunCli("snapshot '" + text.string() + "' --position 0"), 1);
  EXPECT_FALSE(fs::exists(output.path() / "1.bmp"));
}

}  // namespace
}  // namespace ostrel
