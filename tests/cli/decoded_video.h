#pragma once

#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

namespace ostrel::testing {

// What a video file holds when it is played back with GStreamer from start to end.
struct DecodedVideo {
  bool played = false;            // decoding reached the end without an error
  int frames = 0;
  double lastFrameSeconds = -1;   // presentation time of the last frame
  std::vector<QImage> kept;       // RGB32 copies of the frames asked for, in their order
};

// Decodes every frame of `path`, keeping copies of the frames whose numbers (from 0) are in
// `keep`, which must be in rising order.
DecodedVideo DecodeVideo(const std::string& path, const std::vector<int>& keep);

}  // namespace ostrel::testing
