#pragma once

#include <QCommandLineParser>
#include <cstdint>
#include <optional>
#include <string>

#include "overlay/overlay_style.h"
#include "video/render_encoding.h"
#include "video/render_range.h"

namespace ostrel::cli {

// What "ostrel-cli render" is asked to do.
struct RenderRequest {
  std::string video;
  std::string output;
  RenderEncoding encoding;
  RenderRange range;
  std::int32_t offsetMs = 0;
  OverlayStyle style = OverlayStyle::Live;
};

struct RenderOptions {
  QCommandLineOption output{{"o", "output"},
                            "The file to write; its extension chooses the container:\n"
                            "{EXTENSIONS}. An existing file is replaced.",
                            "FILE"};
  QCommandLineOption from{"from", "Playback position of the first frame written, in milliseconds\n(default 0).", "MS"};
  QCommandLineOption to{"to", "Playback position where writing stops, in milliseconds; the\nframe at MS is not written (default: the end).", "MS"};
  QCommandLineOption offset{"offset",
                            "Milliseconds added to the video's start time from the camera log,\n"
                            "as the arrow keys add them in the viewer (default 0).",
                            "MS"};
  QCommandLineOption style{"style",
                           "live (default): as the viewer shows the video at its native size:\n"
                           "points inverting the picture, trails and boxes only while the\n"
                           "tracking frame lies within a second of the video's time.\n"
                           "snapshot: as an annotated capture: white discs, every trail and\n"
                           "box of the frame in the capture's pens.",
                           "STYLE"};

  RenderOptions();
};

// The request the command line makes, or nothing with `problem` saying what is wrong.
std::optional<RenderRequest> ReadRenderRequest(const QCommandLineParser& parser, const RenderOptions& options,
                                               std::string& problem);

}  // namespace ostrel::cli
