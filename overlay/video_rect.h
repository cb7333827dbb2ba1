#pragma once

#include <cstdint>

namespace ostrel {

// Where the picture sits in the main window's client area, in pixels. Every overlay is
// mapped through it. Before any video is shown it matches the window's starting size.
struct VideoRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 800;
  std::int32_t height = 600;

  bool operator==(const VideoRect&) const = default;
};

}  // namespace ostrel
