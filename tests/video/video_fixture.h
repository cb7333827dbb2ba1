#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "tests/support/test_videos.h"
#include "video/media_graph.h"

namespace ostrel::testing {

inline constexpr ReferenceTime kReferenceUnitsPerSecond = 10'000'000;

// Runs the UI thread's events until `done` holds or `limit` passes; true when it held.
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(5)) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > limit.count()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QThread::msleep(1);
  }
  return true;
}

// Runs the UI thread's events for `span`.
inline void PumpFor(std::chrono::milliseconds span) {
  PumpUntil([] { return false; }, span);
}

// Counts a graph's signals as the UI thread receives them.
struct SignalCounts {
  int frames = 0;
  int notices = 0;
};

inline std::unique_ptr<SignalCounts> CountSignals(MediaGraph& graph) {
  auto counts = std::make_unique<SignalCounts>();
  SignalCounts* raw = counts.get();
  QObject::connect(&graph, &MediaGraph::frameReady, [raw] { ++raw->frames; });
  QObject::connect(&graph, &MediaGraph::graphNotify, [raw] { ++raw->notices; });
  return counts;
}

// A fresh temporary folder for each test and a graph ready to render into it.
class VideoTest : public ::testing::Test {
 protected:
  std::string Video(const std::string& name, const TestVideoSpec& spec) {
    const std::string path = folder_.File(name + ContainerExtension(spec.container));
    WriteTestVideo(path, spec);
    return path;
  }

  std::unique_ptr<MediaGraph> Graph() {
    std::unique_ptr<MediaGraph> graph = CreateMediaGraph();
    if (!graph) ADD_FAILURE() << "no graph could be made";
    return graph;
  }

  TempFolder folder_;
};

// The colour a pixel of the test picture was written in, judged with room for the codecs'
// losses; nothing when it is none of them.
inline bool LooksLike(std::uint8_t blue, std::uint8_t green, std::uint8_t red, TestColour colour) {
  const auto high = [](std::uint8_t value) { return value >= 170; };
  const auto low = [](std::uint8_t value) { return value <= 85; };
  switch (colour) {
    case TestColour::Red: return high(red) && low(green) && low(blue);
    case TestColour::Green: return low(red) && high(green) && low(blue);
    case TestColour::Blue: return low(red) && low(green) && high(blue);
    case TestColour::White: return high(red) && high(green) && high(blue);
    case TestColour::Black: return low(red) && low(green) && low(blue);
  }
  return false;
}

// The frame number shown by a frame's pixels: the box's position along the top half.
// `pixel(x, y)` gives blue, green, red of the pixel at x, y from the top. -1 when no box.
template <typename PixelAt>
std::int32_t FrameShown(PixelAt pixel, std::int32_t width, std::int32_t height) {
  const std::int32_t y = height / 4;
  for (std::int32_t x = kTestBoxSize / 2; x < width; x += kTestBoxSize) {
    const auto [b, g, r] = pixel(x, y);
    if (LooksLike(b, g, r, TestColour::Black)) return (x - kTestBoxSize / 2) / kTestBoxSize;
  }
  return -1;
}

}  // namespace ostrel::testing
