#pragma once

#include <chrono>
#include <ostream>
#include <string>

#include "video/render_pipeline.h"
#include "video/render_range.h"

namespace ostrel::cli {

// "render  42%  118.3 fps  0:00:12 left": how much of the range is written, how fast, and
// how long the rest will take at that pace. Percent and time left need the video's
// duration; without it only frames and speed are told.
std::string FormatRenderProgress(const RenderProgress& progress, const RenderRange& range,
                                 double elapsedSeconds);

// Keeps a progress line on a stream: on a terminal one line redrawn in place, elsewhere (a
// log file, a pipe) a plain line now and then, so that logs stay readable.
class RenderProgressLine {
 public:
  RenderProgressLine(std::ostream& err, bool terminal, RenderRange range);

  void Show(const RenderProgress& progress);
  // The last state, always shown, and the line ended.
  void Finish(const RenderProgress& progress);

 private:
  double Elapsed() const;

  std::ostream& err_;
  bool terminal_;
  RenderRange range_;
  std::chrono::steady_clock::time_point start_;
  double lastLine_ = 0;
  bool shown_ = false;
};

}  // namespace ostrel::cli
