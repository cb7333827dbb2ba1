#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "overlay/video_rect.h"
#include "track/track_store.h"

namespace ostrel {

// A pixel position in a window's client area or in a picture, y growing downwards.
struct PixelPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;

  bool operator==(const PixelPoint&) const = default;
};

// These are inline: a live redraw maps thousands of samples, and a call each kept the
// divisions by the picture's size from being worked out once for all of them.

// Adds 0.5 to a positive value and subtracts it from any other, then truncates toward zero.
// Values beyond what a pixel coordinate can hold saturate, and NaN gives 0, so that a wild
// number in a tracking file can never make the conversion undefined.
inline std::int64_t RoundHalfAwayFromZero(double value) {
  // Far beyond any picture, yet small enough that adding a 32-bit offset cannot overflow.
  constexpr double kRoundingLimit = 4.0e18;
  if (std::isnan(value)) return 0;
  const double shifted = value > 0.0 ? value + 0.5 : value - 0.5;
  return static_cast<std::int64_t>(std::clamp(shifted, -kRoundingLimit, kRoundingLimit));
}

// The bounds of IsPointVisible for one picture, for testing many points against it: its four
// divisions are then made once, not once a point.
struct VisibleArea {
  explicit VisibleArea(const VideoRect& videoRect)
      : xLow(5.0 / static_cast<double>(videoRect.width)),
        xHigh(1.0 - 5.0 / static_cast<double>(videoRect.width)),
        yLow(5.0 / static_cast<double>(videoRect.height)),
        yHigh(1.0 - 5.0 / static_cast<double>(videoRect.height)) {}

  bool Contains(const TrackPoint& point) const {
    return xLow < point.x && point.x < xHigh && yLow < point.y && point.y < yHigh;
  }

  double xLow;
  double xHigh;
  double yLow;
  double yHigh;
};

// True when the point lies more than 5 pixels inside the picture on every side (all four
// comparisons strict); a picture without width or height shows no point.
inline bool IsPointVisible(const TrackPoint& point, const VideoRect& videoRect) {
  return VisibleArea(videoRect).Contains(point);
}

// The client-area pixel of a point shown through videoRect; the point's y axis points up,
// the window's down. Coordinates saturate at the 32-bit range.
inline PixelPoint MapToWindow(const TrackPoint& point, const VideoRect& videoRect) {
  const auto saturate = [](std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
  };
  const double width = videoRect.width;
  const double height = videoRect.height;
  return {saturate(RoundHalfAwayFromZero(width * point.x) + videoRect.left),
          saturate(RoundHalfAwayFromZero((1.0 - point.y) * height) + videoRect.top)};
}

// The pixel of a point in a picture of the given size, with no window offset.
PixelPoint MapToPicture(const TrackPoint& point, std::int32_t width, std::int32_t height);

// Squared distance; pixels further apart than 64 bits can count give the largest value.
inline std::int64_t SquaredDistance(PixelPoint a, PixelPoint b) {
  __extension__ using Wide = __int128;
  const Wide dx = Wide{a.x} - b.x;
  const Wide dy = Wide{a.y} - b.y;
  return static_cast<std::int64_t>(std::min<Wide>(dx * dx + dy * dy, std::numeric_limits<std::int64_t>::max()));
}

}  // namespace ostrel
