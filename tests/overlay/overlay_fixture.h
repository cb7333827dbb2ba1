#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "overlay/picture_mapping.h"
#include "overlay/video_rect.h"
#include "track/track_store.h"

namespace ostrel::testing {

// A pixel of a picture, for sets of expected pixels.
using Pixel = std::pair<int, int>;  // x, y
using PixelSet = std::set<Pixel>;

// The pixels x0..x1 by y0..y1, both ends included.
inline PixelSet Block(int x0, int y0, int x1, int y1) {
  PixelSet pixels;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) pixels.insert({x, y});
  }
  return pixels;
}

inline PixelSet Union(std::initializer_list<PixelSet> sets) {
  PixelSet all;
  for (const PixelSet& set : sets) all.insert(set.begin(), set.end());
  return all;
}

// The colour bits of a mask or picture pixel.
inline QRgb Rgb(const QImage& image, int x, int y) { return image.pixel(x, y) & 0x00ffffffu; }

// Every pixel whose colour bits are not zero, with those bits.
inline std::map<Pixel, QRgb> PaintedPixels(const QImage& image) {
  std::map<Pixel, QRgb> painted;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (Rgb(image, x, y) != 0) painted[{x, y}] = Rgb(image, x, y);
    }
  }
  return painted;
}

// The painted pixels a picture should show: `pixels` in `colour`, nothing else.
inline std::map<Pixel, QRgb> Painted(const PixelSet& pixels, QRgb colour) {
  std::map<Pixel, QRgb> painted;
  for (const Pixel& pixel : pixels) painted[pixel] = colour;
  return painted;
}

inline bool IsClear(const QImage& image) { return PaintedPixels(image).empty(); }

// The point whose MapToWindow through `rect` is exactly (x, y).
inline TrackPoint PointAt(const VideoRect& rect, int x, int y) {
  return {(x - rect.left) / static_cast<double>(rect.width),
          1.0 - (y - rect.top) / static_cast<double>(rect.height)};
}

// A sample centred on (x, y) of `rect` whose box has the given corners in pixels.
inline TrajectorySample SampleAtPixel(const VideoRect& rect, int x, int y,
                                      std::array<PixelPoint, 4> corners,
                                      std::int32_t breakFlag = 0) {
  TrajectorySample sample;
  sample.centre = PointAt(rect, x, y);
  for (std::size_t i = 0; i < 4; ++i) sample.corners[i] = PointAt(rect, corners[i].x, corners[i].y);
  sample.breakFlag = breakFlag;
  return sample;
}

// A box of the pixel rectangle (left, top)-(right, bottom), corners in drawing order.
inline std::array<PixelPoint, 4> BoxCorners(int left, int top, int right, int bottom) {
  return {PixelPoint{left, top}, PixelPoint{right, top}, PixelPoint{right, bottom},
          PixelPoint{left, bottom}};
}

// The pixels a 2-pixel pen paints for the closed box (left, top)-(right, bottom).
inline PixelSet BoxPixels(int left, int top, int right, int bottom) {
  return Union({Block(left, top, right + 1, top + 1), Block(left, bottom, right + 1, bottom + 1),
                Block(left, top, left + 1, bottom + 1), Block(right, top, right + 1, bottom + 1)});
}

// A TrackStore filled by hand: `slotTotal` frames, each with its points and the trajectory
// samples it shows, indexed as the loaders index them.
class StoreBuilder {
 public:
  explicit StoreBuilder(std::int32_t slotTotal)
      : points_(static_cast<std::size_t>(slotTotal)), shown_(static_cast<std::size_t>(slotTotal)) {}

  StoreBuilder& Points(std::int32_t slot, std::vector<TrackPoint> points) {
    points_.at(static_cast<std::size_t>(slot)) = std::move(points);
    return *this;
  }

  // Adds a trajectory; returns its index.
  std::int32_t Trajectory(std::int32_t kind, std::vector<TrajectorySample> samples,
                          double param3 = 0.8) {
    ostrel::Trajectory trajectory;
    trajectory.header.id = static_cast<std::int32_t>(trajectories_.size()) + 1;
    trajectory.header.kind = kind;
    trajectory.header.param3 = param3;
    trajectory.samples.assign(samples.begin(), samples.end());
    trajectories_.push_back(std::move(trajectory));
    return static_cast<std::int32_t>(trajectories_.size()) - 1;
  }

  StoreBuilder& Show(std::int32_t slot, std::int32_t trajectory, std::int32_t sample) {
    shown_.at(static_cast<std::size_t>(slot)).push_back({trajectory, sample});
    return *this;
  }

  TrackStore Build(std::int32_t currentSlot) const {
    TrackStore store;
    store.slotCount = static_cast<std::int32_t>(points_.size());
    for (std::size_t slot = 0; slot < points_.size(); ++slot) {
      store.frameIndex.push_back(static_cast<std::int32_t>(slot));
      store.pointFrames.push_back({static_cast<std::int32_t>(slot),
                                   static_cast<std::int32_t>(40 * slot),
                                   static_cast<std::int16_t>(points_[slot].size()),
                                   static_cast<std::int32_t>(store.points.size())});
      store.points.insert(store.points.end(), points_[slot].begin(), points_[slot].end());
      store.frameTrajectoryIndex.push_back(
          {static_cast<std::int32_t>(store.frameTrajectoryList.size()),
           static_cast<std::int16_t>(shown_[slot].size())});
      store.frameTrajectoryList.insert(store.frameTrajectoryList.end(), shown_[slot].begin(),
                                       shown_[slot].end());
    }
    store.trajectories = trajectories_;
    store.CurrentSlot = currentSlot;
    return store;
  }

 private:
  std::vector<std::vector<TrackPoint>> points_;
  std::vector<std::vector<FrameTrajectoryList>> shown_;
  std::vector<ostrel::Trajectory> trajectories_;
};

}  // namespace ostrel::testing
