#pragma once

#include <cstdint>

#include "overlay/video_rect.h"

namespace ostrel {

// The open video's native picture size; 0 by 0 until a video has been opened.
struct VideoSize {
  std::int32_t width = 0;
  std::int32_t height = 0;

  bool operator==(const VideoSize&) const = default;
};

}  // namespace ostrel
