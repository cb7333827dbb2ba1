#include "overlay/picture_mapping.h"

namespace ostrel {

PixelPoint MapToPicture(const TrackPoint& point, std::int32_t width, std::int32_t height) {
  return MapToWindow(point, VideoRect{0, 0, width, height});
}

}  // namespace ostrel
