// "Grabber" and "Capture" on the real main window: the box switches the grabber's buffering
// and "Capture" with it; a capture writes the grabbed frame and its annotated snapshot into
// the working folder, numbering past files that are already there, and tells the user,
// naming the path, when it cannot write.
#include <QAbstractButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/control_bar.h"
#include "tests/app/opened_viewer.h"

namespace ostrel::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Blue, green, red at picture pixel (x, y) of a bottom-up 24-bit bitmap file.
std::array<std::uint8_t, 3> PixelAt(const std::vector<std::uint8_t>& file, int width, int height, int x, int y) {
  const auto row = static_cast<std::size_t>((width * 3 + 3) / 4 * 4);
  const std::size_t at = 54 + static_cast<std::size_t>(height - 1 - y) * row + static_cast<std::size_t>(x) * 3;
  return {file.at(at), file.at(at + 1), file.at(at + 2)};
}

class ViewerCaptureTest : public OpenedViewerTest {
 protected:
  QAbstractButton& Control(int id) { return *qobject_cast<QAbstractButton*>(window_->controlBar().control(id)); }
  fs::path InFolder(const std::string& name) { return folder_.path() / name; }
};

TEST_F(ViewerCaptureTest, TheGrabberBoxSwitchesBufferingAndCaptureWithIt) {
  // Before an Open there is no grabber: the commands change nothing.
  window_->DispatchCommand(1008);
  window_->DispatchCommand(1009);
  EXPECT_FALSE(Control(1009).isEnabled());
  EXPECT_FALSE(fs::exists(InFolder("1.bmp")));

  OpenAndHold();
  EXPECT_FALSE(Control(1008).isChecked());
  EXPECT_FALSE(Control(1009).isEnabled());
  Control(1008).click();
  EXPECT_TRUE(Control(1008).isChecked());
  EXPECT_TRUE(Control(1009).isEnabled());
  Control(1008).click();
  EXPECT_FALSE(Control(1009).isEnabled());
  Control(1008).click();
  EXPECT_TRUE(Control(1009).isEnabled());

  // Every Open clears the box and disables "Capture" again.
  window_->DispatchCommand(12);
  EXPECT_FALSE(Control(1008).isChecked());
  EXPECT_FALSE(Control(1009).isEnabled());
}

TEST_F(ViewerCaptureTest, CaptureWritesTheFrameAndNumberedSnapshotsWithTheOverlayDrawnIn) {
  OpenAndHold();
  Control(1008).click();
  std::ofstream(InFolder("3.bmp")) << "an earlier snapshot";
  Control(1009).click();
  Control(1009).click();
  EXPECT_TRUE(messages_.shown.empty()) << messages_.shown.front().text;

  const auto plain = ReadBytes(InFolder("1.bmp"));
  const auto first = ReadBytes(InFolder("2.bmp"));
  const auto second = ReadBytes(InFolder("4.bmp"));
  const std::size_t imageBytes = 160u * 3u * 120u;
  ASSERT_EQ(plain.size(), 54 + imageBytes);
  ASSERT_EQ(first.size(), 54 + imageBytes);
  EXPECT_EQ(plain[0], 'B');
  EXPECT_EQ(plain[1], 'M');
  EXPECT_EQ(first, second) << "the same frame and data give the same snapshot";
  EXPECT_EQ(ReadBytes(InFolder("3.bmp")).size(), std::string("an earlier snapshot").size()) << "not overwritten";
  EXPECT_FALSE(fs::exists(InFolder("5.bmp")));

  // The current frame's points are white discs in the snapshot, at the picture's own size;
  // the moving one is the centre of its box, so its trail is drawn over it.
  const auto points = PointsOf(Slot());
  for (std::size_t i = 0; i < points.size(); ++i) {
    const int x = static_cast<int>(points[i].x * 160 + 0.5);
    const int y = static_cast<int>((1 - points[i].y) * 120 + 0.5);
    SCOPED_TRACE(::testing::Message() << "point at " << x << "," << y);
    if (i == 1) {
      EXPECT_EQ(PixelAt(first, 160, 120, x, y), (std::array<std::uint8_t, 3>{255, 255, 255}));
    }
    EXPECT_NE(PixelAt(plain, 160, 120, x, y), PixelAt(first, 160, 120, x, y));
  }
  // Far from the tracking data, the snapshot is the grabbed frame.
  EXPECT_EQ(PixelAt(first, 160, 120, 80, 114), PixelAt(plain, 160, 120, 80, 114));
}

TEST_F(ViewerCaptureTest, AFolderThatCannotBeWrittenIsReportedByPath) {
  OpenAndHold();
  Control(1008).click();
  const fs::path missing = folder_.path() / "gone" / "away";
  State().WorkingFolder = missing.string();
  Control(1009).click();
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_NE(messages_.shown[0].text.find((missing / "1.bmp").string()), std::string::npos)
      << messages_.shown[0].text;
  EXPECT_FALSE(fs::exists(missing));

  // No snapshot came of it, so the next capture's is still the first of the run.
  State().WorkingFolder = folder_.path().string();
  Control(1009).click();
  EXPECT_EQ(messages_.shown.size(), 1u);
  EXPECT_TRUE(fs::exists(InFolder("1.bmp")));
  EXPECT_TRUE(fs::exists(InFolder("2.bmp")));
}

}  // namespace
}  // namespace ostrel::testing
