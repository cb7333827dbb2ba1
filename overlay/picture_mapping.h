#pragma once

#include <cstdint>

#include "overlay/video_rect.h"
#include "track/track_store.h"

namespace ostrel {

// A pixel position in a window's client area or in a picture, y growing downwards.
struct PixelPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;

  bool operator==(const PixelPoint&) const = default;
};

// Adds 0.5 to a positive value and subtracts it from any other, then truncates toward zero.
// Values beyond what a pixel coordinate can hold saturate, and NaN gives 0, so that a wild
// number in a tracking file can never make the conversion undefined.
std::int64_t RoundHalfAwayFromZero(double value);

// True when the point lies more than 5 pixels inside the picture on every side (all four
// comparisons strict); a picture without width or height shows no point.
bool IsPointVisible(const TrackPoint& point, const VideoRect& videoRect);

// The client-area pixel of a point shown through videoRect; the point's y axis points up,
// the window's down. Coordinates saturate at the 32-bit range.
PixelPoint MapToWindow(const TrackPoint& point, const VideoRect& videoRect);

// The pixel of a point in a picture of the given size, with no window offset.
PixelPoint MapToPicture(const TrackPoint& point, std::int32_t width, std::int32_t height);

// Squared distance; pixels further apart than 64 bits can count give the largest value.
std::int64_t SquaredDistance(PixelPoint a, PixelPoint b);

}  // namespace ostrel
