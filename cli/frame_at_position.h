#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "overlay/bitmap_headers.h"
#include "video/reference_time.h"

namespace ostrel::cli {

// One decoded frame of a video, as the viewer's grabber hands it out.
struct GrabbedFrame {
  BitmapInfoHeader header;
  std::vector<std::uint8_t> pixels;  // bottom-up 24-bit rows, as the header describes
};

// Decodes the frame shown at playback position `position` of `video` through the same media
// graph the viewer plays with; nothing, with the reason in `error`, when the file cannot be
// played there. Needs a running QCoreApplication (frames arrive through its event loop).
std::optional<GrabbedFrame> GrabFrameAt(const std::string& video, ReferenceTime position, std::string& error);

}  // namespace ostrel::cli
