#pragma once

#include <cstdint>

#include "video/video_geometry.h"

namespace ostrel {

// The largest rectangle of the video's aspect ratio that fits the client area above the
// control bar, centred in it. Integer arithmetic, each division after its multiplication
// and truncating, so the picture lands on the same pixels at every size; on a tie the width
// decides. `video` must have a non-zero width and height.
//
// A client area lower than the bar (a minimised window reports 0 x 0) leaves no room: the
// picture then gets an empty rectangle centred on the top edge, and the next size change
// computes it afresh.
VideoRect LetterboxVideo(std::int32_t clientWidth, std::int32_t clientHeight,
                         std::int32_t barHeight, VideoSize video);

}  // namespace ostrel
