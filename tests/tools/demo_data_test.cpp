#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "clock/time_log.h"
#include "tests/support/recording_messages.h"
#include "tests/support/temp_folder.h"
#include "tools/demo/demo_tracks.h"
#include "track/frame_lookup.h"
#include "track/track_data.h"

namespace ostrel {
namespace {

using demo::DemoScene;

// The pixel under a tracker point in the rendered picture.
const std::uint8_t* PixelUnder(const std::vector<std::uint8_t>& rgb, const demo::SceneSize& size,
                               const TrackPoint& point) {
  const auto x = static_cast<std::size_t>(point.x * size.width);
  const auto y = static_cast<std::size_t>((1.0 - point.y) * size.height);
  return &rgb[(y * static_cast<std::size_t>(size.width) + x) * 3];
}

TEST(DemoData, EveryObjectCentreLiesOnItsObjectInThePicture) {
  const DemoScene scene({320, 240, 30, 300});
  const auto records = demo::DemoPoints(scene);
  ASSERT_EQ(records.size(), 300u);
  std::vector<std::uint8_t> rgb;
  for (const int frame : {0, 1, 77, 150, 299}) {
    SCOPED_TRACE(frame);
    scene.Render(frame, rgb);
    const auto objects = scene.ObjectsAt(frame);
    const auto& points = records[static_cast<std::size_t>(frame)].points;
    ASSERT_EQ(points.size(), 3 * objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i) {
      const std::uint8_t* pixel = PixelUnder(rgb, scene.size(), points[3 * i]);
      EXPECT_EQ(pixel[0], objects[i].red);
      EXPECT_EQ(pixel[1], objects[i].green);
      EXPECT_EQ(pixel[2], objects[i].blue);
    }
  }
}

TEST(DemoData, TheGeneratedFolderLoadsCompletelyAndInStep) {
  testing::TempFolder folder;
  const std::string command =
      std::string(MAKE_DEMO_DATA_PATH) + " '" + folder.path().string() + "' --seconds 2 > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::string video = folder.File("demo01.avi");
  ASSERT_TRUE(std::filesystem::file_size(video) > 0);

  testing::RecordingMessages messages;
  ClockOffset offset;
  ASSERT_TRUE(ReadTimeLog(offset, video, messages));
  EXPECT_EQ(offset.startMs, demo::kDemoStartMs);

  TrackStore store;
  TrackDataReport report;
  ASSERT_TRUE(LoadTrackData(store, video, messages, {}, &report));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(store.pointFrameCount(), 60);
  EXPECT_EQ(report.trajectories.samplesStored, 60u + 3u * 59u);
  EXPECT_EQ(report.trajectories.malformedSampleLines + report.trajectories.samplesOutOfRange, 0u);
  std::array<int, 3> kinds{};
  for (const Trajectory& trajectory : store.trajectories) ++kinds[static_cast<std::size_t>(trajectory.header.kind)];
  EXPECT_EQ(kinds, (std::array<int, 3>{1, 2, 1}));

  // One second into the video, the frame shown is frame 30 with every object tracked.
  FindFrameForTime(store, offset.startMs + 1000);
  EXPECT_EQ(store.CurrentSlot, 30);
  EXPECT_EQ(store.frameTrajectoryIndex[30].count, 4);
}

}  // namespace
}  // namespace ostrel
