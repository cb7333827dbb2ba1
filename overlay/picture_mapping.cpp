#include "overlay/picture_mapping.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ostrel {
namespace {

// Far beyond any picture, yet small enough that adding a 32-bit offset cannot overflow.
constexpr double kRoundingLimit = 4.0e18;

std::int32_t Saturate32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

std::int64_t RoundHalfAwayFromZero(double value) {
  if (std::isnan(value)) return 0;
  const double shifted = value > 0.0 ? value + 0.5 : value - 0.5;
  return static_cast<std::int64_t>(std::clamp(shifted, -kRoundingLimit, kRoundingLimit));
}

bool IsPointVisible(const TrackPoint& point, const VideoRect& videoRect) {
  const double width = videoRect.width;
  const double height = videoRect.height;
  return 5.0 / width < point.x && point.x < 1.0 - 5.0 / width &&  //
         5.0 / height < point.y && point.y < 1.0 - 5.0 / height;
}

PixelPoint MapToWindow(const TrackPoint& point, const VideoRect& videoRect) {
  const double width = videoRect.width;
  const double height = videoRect.height;
  return {Saturate32(RoundHalfAwayFromZero(width * point.x) + videoRect.left),
          Saturate32(RoundHalfAwayFromZero((1.0 - point.y) * height) + videoRect.top)};
}

PixelPoint MapToPicture(const TrackPoint& point, std::int32_t width, std::int32_t height) {
  return MapToWindow(point, VideoRect{0, 0, width, height});
}

std::int64_t SquaredDistance(PixelPoint a, PixelPoint b) {
  __extension__ using Wide = __int128;
  const Wide dx = Wide{a.x} - b.x;
  const Wide dy = Wide{a.y} - b.y;
  return static_cast<std::int64_t>(
      std::min<Wide>(dx * dx + dy * dy, std::numeric_limits<std::int64_t>::max()));
}

}  // namespace ostrel
