// ostrel-cli render on a generated demo folder: the written videos play back with the frames
// asked for, the tracking data sits where the data puts it in either look, and failures
// leave no file behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/render_progress.h"
#include "clock/time_log.h"
#include "overlay/live_overlay.h"
#include "overlay/overlay_style.h"
#include "overlay/snapshot_drawing.h"
#include "tests/cli/decoded_video.h"
#include "tests/support/recording_messages.h"
#include "tests/support/temp_folder.h"
#include "tools/demo/demo_tracks.h"
#include "track/track_data.h"
#include "video/track_timeline.h"

namespace ostrel {
namespace {

namespace fs = std::filesystem;

struct CliRun {
  int status = -1;
  std::string err;
};

// Runs ostrel-cli with `arguments` (quoted for the shell), keeping its standard error.
CliRun RunCli(const std::string& arguments, const fs::path& errFile) {
  const std::string command =
      std::string(OSTREL_CLI_PATH) + " " + arguments + " > /dev/null 2> '" + errFile.string() + "'";
  const int status = std::system(command.c_str());
  std::ifstream in(errFile);
  std::ostringstream text;
  text << in.rdbuf();
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text.str()};
}

int Distance(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

// The demo's detections on the objects' rims (every point but each object's centre, which
// its trail crosses), in picture pixels of a 640 x 480 frame.
std::vector<QPoint> RimPoints(int frame) {
  const demo::DemoScene scene({640, 480, 30, 90});
  std::vector<QPoint> rim;
  const auto points = demo::DemoPoints(scene)[static_cast<std::size_t>(frame)].points;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (i % 3 == 0) continue;
    rim.emplace_back(static_cast<int>(points[i].x * 640 + 0.5), static_cast<int>((1 - points[i].y) * 480 + 0.5));
  }
  return rim;
}

// Which pixels of a 640 x 480 frame the tracking data paints at `position`, drawn by the
// viewer's own code on an empty layer: the live look's mask after a redraw of that frame,
// or the snapshot look's strokes.
std::vector<bool> Footprint(const std::string& video, ReferenceTime position, OverlayStyle style) {
  testing::RecordingMessages messages;
  ClockOffset offset;
  TrackStore store;
  EXPECT_TRUE(ReadTimeLog(offset, video, messages));
  EXPECT_TRUE(LoadTrackData(store, video, messages));
  const bool inSync = TrackTimeline(store, offset).Follow(position);
  auto overlay = CreateOverlayResources(QSize(640, 480));
  const OverlayScene scene{store, {0, 0, 640, 480}};
  QImage layer(640, 480, QImage::Format_ARGB32);
  layer.fill(Qt::transparent);
  if (style == OverlayStyle::Live) {
    RedrawOverlays(*overlay, scene, inSync);
  } else {
    DrawSnapshotOverlay(layer, scene, overlay->pens);
  }
  std::vector<bool> painted;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      painted.push_back(style == OverlayStyle::Live ? (Surface(*overlay).pixel(x, y) & 0xFFFFFFu) != 0
                                                    : qAlpha(layer.pixel(x, y)) != 0);
    }
  }
  return painted;
}

// The pixels within `reach` of a painted one, either way along both axes.
std::vector<bool> Near(const std::vector<bool>& painted, int reach) {
  std::vector<bool> near(painted.size(), false);
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      if (!painted[static_cast<std::size_t>(y * 640 + x)]) continue;
      for (int ny = std::max(0, y - reach); ny <= std::min(479, y + reach); ++ny) {
        for (int nx = std::max(0, x - reach); nx <= std::min(639, x + reach); ++nx) {
          near[static_cast<std::size_t>(ny * 640 + nx)] = true;
        }
      }
    }
  }
  return near;
}

int LargestChannelDistance(QRgb a, QRgb b) {
  return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

class RenderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    demoFolder_ = new testing::TempFolder;
    const std::string command =
        std::string(MAKE_DEMO_DATA_PATH) + " '" + demoFolder_->path().string() + "' --seconds 3 > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  static void TearDownTestSuite() { delete demoFolder_; }

  static std::string Video() { return demoFolder_->File("demo01.avi"); }
  CliRun Render(const std::string& arguments) const { return RunCli("render " + arguments, output.path() / "err.txt"); }
  CliRun RenderDemo(const std::string& file, const std::string& extra) const {
    return Render("'" + Video() + "' --output '" + output.File(file) + "' " + extra);
  }

  static testing::TempFolder* demoFolder_;
  testing::TempFolder output;
};

testing::TempFolder* RenderTest::demoFolder_ = nullptr;

TEST_F(RenderTest, WritesMatroskaAndAviThatPlayEveryFrame) {
  ASSERT_EQ(RenderDemo("all.mkv", "").status, 0);
  ASSERT_EQ(RenderDemo("all.avi", "--style snapshot").status, 0);
  for (const char* file : {"all.mkv", "all.avi"}) {
    SCOPED_TRACE(file);
    const testing::DecodedVideo video = testing::DecodeVideo(output.File(file), {0});
    EXPECT_TRUE(video.played);
    EXPECT_EQ(video.frames, 90);
    EXPECT_NEAR(video.lastFrameSeconds, 89.0 / 30, 0.01);
    ASSERT_EQ(video.kept.size(), 1u);
    EXPECT_EQ(video.kept[0].size(), QSize(640, 480));
  }
}

TEST_F(RenderTest, SnapshotLookPutsWhiteDiscsOnTheDetections) {
  ASSERT_EQ(RenderDemo("snap.mkv", "--style snapshot").status, 0);
  const auto drawn = testing::DecodeVideo(output.File("snap.mkv"), {30});
  const auto plain = testing::DecodeVideo(Video(), {30});
  ASSERT_EQ(drawn.kept.size(), 1u);
  ASSERT_EQ(plain.kept.size(), 1u);
  const QRgb white = qRgb(255, 255, 255);
  for (const QPoint& point : RimPoints(30)) {
    SCOPED_TRACE(::testing::Message() << "rim point " << point.x() << "," << point.y());
    // Lossy compression blurs the 7-pixel discs a little, never into the background.
    EXPECT_LT(Distance(drawn.kept[0].pixel(point), white), 60);
    EXPECT_GT(Distance(plain.kept[0].pixel(point), white), 150);
  }
}

TEST_F(RenderTest, LiveLookInvertsThePictureUnderTheDetections) {
  ASSERT_EQ(RenderDemo("live.mkv", "").status, 0);
  const auto drawn = testing::DecodeVideo(output.File("live.mkv"), {30});
  const auto plain = testing::DecodeVideo(Video(), {30});
  ASSERT_EQ(drawn.kept.size(), 1u);
  ASSERT_EQ(plain.kept.size(), 1u);
  // Where the picture is near mid-grey its inverse looks much the same, so the check counts
  // on the points where inverting makes a clear difference being most of them.
  int telling = 0;
  const std::vector<QPoint> rim = RimPoints(30);
  for (const QPoint& point : rim) {
    SCOPED_TRACE(::testing::Message() << "rim point " << point.x() << "," << point.y());
    const QRgb under = plain.kept[0].pixel(point);
    const QRgb inverted = qRgb(255 - qRed(under), 255 - qGreen(under), 255 - qBlue(under));
    EXPECT_LT(Distance(drawn.kept[0].pixel(point), inverted), 90);
    if (Distance(under, inverted) > 200) ++telling;
  }
  EXPECT_GE(telling * 2, static_cast<int>(rim.size()));
}

// The drawing changes the picture where the data paints, and only there: away from the
// data the rendered frame is the plain decode, within what encoding it again costs. A frame
// two seconds in shows that nothing drawn into earlier frames has leaked into later ones.
TEST_F(RenderTest, OnlyThePixelsTheDataPaintsChange) {
  struct Case {
    const char* style;
    OverlayStyle look;
  };
  for (const Case& c : {Case{"live", OverlayStyle::Live}, Case{"snapshot", OverlayStyle::Snapshot}}) {
    SCOPED_TRACE(c.style);
    const std::string file = std::string(c.style) + ".mkv";
    ASSERT_EQ(RenderDemo(file, std::string("--style ") + c.style).status, 0);
    const auto drawn = testing::DecodeVideo(output.File(file), {60});
    const auto plain = testing::DecodeVideo(Video(), {60});
    ASSERT_EQ(drawn.kept.size(), 1u);
    ASSERT_EQ(plain.kept.size(), 1u);
    const std::vector<bool> painted = Footprint(Video(), 20'000'000, c.look);  // frame 60, at 2 s
    const std::vector<bool> near = Near(painted, 8);
    int paintedCount = 0;
    int paintedChanged = 0;
    int farCount = 0;
    long long farDifference = 0;
    int farOff = 0;
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 640; ++x) {
        const auto index = static_cast<std::size_t>(y * 640 + x);
        const int distance = LargestChannelDistance(drawn.kept[0].pixel(x, y), plain.kept[0].pixel(x, y));
        if (painted[index]) {
          ++paintedCount;
          paintedChanged += distance > 24 ? 1 : 0;
        } else if (!near[index]) {
          ++farCount;
          farDifference += distance;
          farOff += distance > 16 ? 1 : 0;
        }
      }
    }
    ASSERT_GT(paintedCount, 500);
    ASSERT_GT(farCount, 100'000);
    // Thin lines in shared chroma and lossy coding soften some painted pixels, and a pen
    // can come close to the picture under it; most still stand out clearly.
    EXPECT_GT(paintedChanged * 10, paintedCount * 7) << paintedChanged << " of " << paintedCount;
    EXPECT_LT(static_cast<double>(farDifference) / farCount, 2.0);
    EXPECT_LT(farOff * 1000, farCount) << farOff << " of " << farCount;
  }
}

TEST_F(RenderTest, FromAndToSelectTheFramesWritten) {
  ASSERT_EQ(RenderDemo("part.avi", "--from 1000 --to 2000 --style snapshot").status, 0);
  const testing::DecodedVideo part = testing::DecodeVideo(output.File("part.avi"), {0});
  EXPECT_TRUE(part.played);
  EXPECT_EQ(part.frames, 30);
  EXPECT_NEAR(part.lastFrameSeconds, 29.0 / 30, 0.01);  // the file starts at 0
  // Its first frame is the one at one second, with that frame's detections drawn in.
  ASSERT_EQ(part.kept.size(), 1u);
  for (const QPoint& point : RimPoints(30)) {
    EXPECT_LT(Distance(part.kept[0].pixel(point), qRgb(255, 255, 255)), 60);
  }
  ASSERT_EQ(RenderDemo("tail.mkv", "--from 2500").status, 0);
  EXPECT_EQ(testing::DecodeVideo(output.File("tail.mkv"), {}).frames, 15);
}

TEST_F(RenderTest, AnOffsetMovesTheTrackingDataNotThePicture) {
  ASSERT_EQ(RenderDemo("late.mkv", "--style snapshot --offset 500 --to 1100").status, 0);
  const auto drawn = testing::DecodeVideo(output.File("late.mkv"), {30});
  ASSERT_EQ(drawn.kept.size(), 1u);
  // Frame 30 now lies half a second later on the recording clock: it shows frame 45's
  // detections, not its own (a trail may cross a disc, so most of them must be white).
  const auto white = [&](const std::vector<QPoint>& points) {
    return std::count_if(points.begin(), points.end(), [&](const QPoint& point) {
      return Distance(drawn.kept[0].pixel(point), qRgb(255, 255, 255)) < 60;
    });
  };
  EXPECT_GE(white(RimPoints(45)), 6);
  EXPECT_LE(white(RimPoints(30)), 2);
}

TEST_F(RenderTest, RefusesCommandLinesItDoesNotUnderstand) {
  const std::string video = "'" + Video() + "'";
  EXPECT_EQ(Render(video).status, 2);                                   // no output
  EXPECT_EQ(Render("--output '" + output.File("x.mkv") + "'").status, 2);  // no video
  EXPECT_EQ(RenderDemo("x.webm", "").status, 2);
  EXPECT_EQ(RenderDemo("x.mkv", "--from -5").status, 2);
  EXPECT_EQ(RenderDemo("x.mkv", "--from 2000 --to 1000").status, 2);
  EXPECT_EQ(RenderDemo("x.mkv", "--style fancy").status, 2);
  EXPECT_EQ(RenderDemo("x.mkv", "--offset ten").status, 2);
  EXPECT_EQ(Render(video + " --output " + video).status, 2);
  const CliRun unknown = RenderDemo("x.mkv", "--speed 2");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_THAT(unknown.err, ::testing::HasSubstr("--help"));
  EXPECT_FALSE(fs::exists(output.path() / "x.mkv"));
}

TEST_F(RenderTest, HelpExplainsEveryOption) {
  const std::string command = std::string(OSTREL_CLI_PATH) + " render --help";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string help;
  std::array<char, 4096> chunk{};
  std::size_t got = 0;
  while ((got = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0) help.append(chunk.data(), got);
  EXPECT_EQ(pclose(pipe), 0);
  for (const char* option : {"--output", "--from", "--to", "--offset", "--style", "live", "snapshot", ".avi", ".mkv",
                             ".mp4", ".mov", "Exit status"}) {
    EXPECT_THAT(help, ::testing::HasSubstr(option));
  }
}

TEST_F(RenderTest, ABrokenInputFailsAndLeavesNoFile) {
  EXPECT_EQ(RenderDemo("gone.mkv", "").status, 0);
  // A video whose camera log is readable but whose file is missing or is no video.
  std::ofstream(output.path() / "clip.log") << "clip01 0:0:0:0\nclip02 0:0:0:0\n";
  std::ofstream(output.path() / "clip02.avi") << "not a video at all";
  for (const char* input : {"clip01.avi", "clip02.avi"}) {
    SCOPED_TRACE(input);
    const CliRun run = Render("'" + output.File(input) + "' --output '" + output.File("gone.mkv") + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, ::testing::HasSubstr(input));
    EXPECT_FALSE(fs::exists(output.path() / "gone.mkv"));
  }
  // A range that holds no frame writes nothing either.
  EXPECT_EQ(RenderDemo("empty.mkv", "--from 60000").status, 1);
  EXPECT_FALSE(fs::exists(output.path() / "empty.mkv"));
}

TEST_F(RenderTest, AnOutputThatCannotBeWrittenFails) {
  const CliRun missing = RenderDemo("no/such/folder/out.mkv", "");
  EXPECT_EQ(missing.status, 1);
  EXPECT_THAT(missing.err, ::testing::HasSubstr("out.mkv"));
  EXPECT_FALSE(fs::exists(output.path() / "no"));
  // A device that is always full fails every write, as a full disk does; the device itself
  // is of course not removed.
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  fs::create_symlink("/dev/full", output.path() / "full.mkv");
  const CliRun full = RenderDemo("full.mkv", "");
  EXPECT_EQ(full.status, 1);
  EXPECT_THAT(full.err, ::testing::HasSubstr("no space left"));
  EXPECT_TRUE(fs::exists("/dev/full"));
}

TEST_F(RenderTest, ProgressComesAsPlainLinesOffATerminal) {
  const CliRun run = RenderDemo("progress.mkv", "");
  ASSERT_EQ(run.status, 0);
  EXPECT_THAT(run.err, ::testing::HasSubstr("render 100%"));
  EXPECT_THAT(run.err, ::testing::HasSubstr(" fps"));
  EXPECT_EQ(run.err.find('\r'), std::string::npos);
}

TEST(RenderProgressFormat, TellsPercentSpeedAndTimeLeft) {
  RenderProgress progress;
  progress.frames = 300;
  progress.position = 20'000'000;   // 2 s into a range from 1 s to 5 s
  progress.duration = 100'000'000;  // of a 10 s video
  const RenderRange range{10'000'000, 50'000'000};
  EXPECT_EQ(cli::FormatRenderProgress(progress, range, 10.0), "render  25%  30.0 fps  0:00:30 left");
  progress.duration = 0;
  EXPECT_EQ(cli::FormatRenderProgress(progress, range, 10.0), "render  300 frames  30.0 fps");
}

}  // namespace
}  // namespace ostrel
