#include "app/letterbox.h"

#include <algorithm>

namespace ostrel {

VideoRect LetterboxVideo(std::int32_t clientWidth, std::int32_t clientHeight,
                         std::int32_t barHeight, VideoSize video) {
  const std::int64_t availableHeight = std::max<std::int64_t>(0, std::int64_t{clientHeight} - barHeight);
  // The products are taken in 64 bits so that no window or video size can overflow them;
  // every quotient fits back into 32 bits because it never exceeds the client size.
  const std::int64_t widthBound = std::int64_t{clientWidth} * video.height;
  const std::int64_t heightBound = availableHeight * video.width;
  std::int64_t width = 0;
  std::int64_t height = 0;
  if (widthBound <= heightBound) {
    width = clientWidth;
    height = widthBound / video.width;
  } else {
    height = availableHeight;
    width = heightBound / video.height;
  }
  return VideoRect{static_cast<std::int32_t>((clientWidth - width) / 2),
                   static_cast<std::int32_t>((availableHeight - height) / 2),
                   static_cast<std::int32_t>(width), static_cast<std::int32_t>(height)};
}

}  // namespace ostrel
