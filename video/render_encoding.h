#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ostrel {

// The GStreamer elements that write one container: a video encoder with its settings, and
// the muxer. Settings are property names with values as gst-launch-1.0 spells them.
struct RenderEncoding {
  std::string encoder;
  std::vector<std::pair<std::string, std::string>> encoderSettings;
  std::string muxer;
};

// The encoding for an output file, chosen by its extension (case ignored): H.264 for .mkv,
// .mp4 and .mov, MPEG-4 Part 2 for .avi, as players expect in those containers. Nothing for
// an extension no container is known for.
std::optional<RenderEncoding> EncodingForOutput(const std::string& path);

// The extensions EncodingForOutput knows, for help texts: ".avi, .mkv, ...".
std::string KnownOutputExtensions();

}  // namespace ostrel
