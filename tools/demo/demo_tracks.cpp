#include "tools/demo/demo_tracks.h"

#include <cmath>

namespace ostrel::demo {
namespace {

// The tracker's coordinates: 0..1 across the picture, y pointing up, written with six
// decimals as trackers print them (and short enough for the readers' line pieces).
double SixDecimals(double value) { return std::round(value * 1e6) / 1e6; }

TrackPoint Normalised(const SceneSize& size, double x, double y) {
  return {SixDecimals(x / size.width), SixDecimals(1.0 - y / size.height)};
}

// Each object's header values, chosen to show every kind and both snapshot pens.
struct TrajectoryLook {
  double param1, param2, param3, score;
};
constexpr TrajectoryLook kLooks[DemoScene::kClassicObjects] = {
    {0.5, 0.5, 0.9, 2.0},  // kind 0: mean score stays below 3
    {1.5, 0.5, 0.9, 1.0},  // kind 1
    {2.0, 2.0, 0.9, 1.0},  // kind 2
    {0.8, 0.5, 0.5, 3.5},  // kind 0 turned 1 by its mean score; a low param3
};

// Objects beyond the classic ones borrow the classic looks in turn.
const TrajectoryLook& Look(std::size_t object) { return kLooks[object % DemoScene::kClassicObjects]; }

testing::TrajectorySampleLine Sample(const SceneSize& size, const ObjectState& object, int frame, double score) {
  const double r = object.radius + 4;
  testing::TrajectorySampleLine sample;
  sample.frame = frame;
  sample.clockMs = FrameClock(size, frame);
  sample.corners = {Normalised(size, object.x - r, object.y - r), Normalised(size, object.x + r, object.y - r),
                    Normalised(size, object.x + r, object.y + r), Normalised(size, object.x - r, object.y + r)};
  sample.score = score;
  sample.breakValue = object.wrapped ? 5 : 0;
  return sample;
}

}  // namespace

ClockMs FrameClock(const SceneSize& size, int frame) {
  return kDemoStartMs + (frame * 1000 + size.fps / 2) / size.fps;
}

std::vector<testing::PointRecord> DemoPoints(const DemoScene& scene) {
  const SceneSize& size = scene.size();
  std::vector<testing::PointRecord> records;
  for (int frame = 0; frame < size.frames; ++frame) {
    std::vector<TrackPoint> points;
    for (const ObjectState& object : scene.ObjectsAt(frame)) {
      points.push_back(Normalised(size, object.x, object.y));
      points.push_back(Normalised(size, object.x + object.radius, object.y));
      points.push_back(Normalised(size, object.x, object.y - object.radius));
    }
    records.emplace_back(frame, FrameClock(size, frame), std::move(points));
  }
  return records;
}

std::vector<testing::TrajectoryRecord> DemoTrajectories(const DemoScene& scene) {
  const SceneSize& size = scene.size();
  const auto count = static_cast<std::size_t>(size.objects);
  std::vector<testing::TrajectoryRecord> trajectories(count);
  for (std::size_t i = 0; i < count; ++i) {
    const TrajectoryLook& look = Look(i);
    trajectories[i] = {static_cast<int>(i) + 1, 0, look.param1, look.param2, look.param3, {}};
  }
  // A raw frame 0 starts a new segment in the file, so only the first trajectory may have a
  // sample in frame 0: the tracker picks the others up one frame later.
  for (int frame = 0; frame < size.frames; ++frame) {
    const std::vector<ObjectState> objects = scene.ObjectsAt(frame);
    const std::size_t tracked = frame == 0 ? 1 : objects.size();
    for (std::size_t i = 0; i < tracked; ++i) {
      trajectories[i].samples.push_back(Sample(size, objects[i], frame, Look(i).score));
    }
  }
  return trajectories;
}

std::vector<testing::TimeLogEntry> DemoTimeLog(const std::vector<std::string>& videoNames) {
  std::vector<testing::TimeLogEntry> entries{testing::CorrectionLine{'+', {0, 0, 0, 0}}};
  for (const std::string& name : videoNames) entries.push_back(testing::VideoLine{name, {10, 0, 0, 0}});
  return entries;
}

}  // namespace ostrel::demo
