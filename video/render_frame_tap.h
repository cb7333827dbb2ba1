#pragma once

#include <gst/video/video.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

#include "overlay/yuv_picture.h"
#include "video/gst_handles.h"
#include "video/reference_time.h"
#include "video/render_range.h"

namespace ostrel {

// Draws into one decoded picture (the frame's own memory) at the frame's playback position.
using FramePainter = std::function<void(const YuvPicture& picture, ReferenceTime position)>;

// What a render has done so far; read from any thread while the frames flow.
struct RenderCounters {
  std::atomic<std::uint64_t> frames{0};        // frames written
  std::atomic<ReferenceTime> position{0};      // playback position of the latest frame seen
};

// Sits on the pad where decoded frames leave for the encoder: works out each frame's
// playback position, lets through only the frames of the range, re-stamped so that the
// output starts at 0, and has the painter draw into each one in place. A frame past the
// range ends the stream: the tap sends the end down to the encoder itself and refuses the
// frame, which stops the decoding upstream. Runs on the streaming thread; the painter is
// called there only.
class RenderFrameTap {
 public:
  RenderFrameTap(RenderRange range, FramePainter painter, RenderCounters& counters)
      : range_(range), painter_(std::move(painter)), counters_(counters) {}

  // Installs the tap on `pad`; the tap must outlive the pipeline's streaming.
  void Attach(GstPad* pad);

 private:
  static GstPadProbeReturn OnBuffer(GstPad* pad, GstPadProbeInfo* info, gpointer tap);
  GstPadProbeReturn Pass(GstPad* pad, GstPadProbeInfo* info);
  std::optional<ReferenceTime> PositionOf(GstPad* pad, const GstBuffer* buffer);
  GstPadProbeReturn End(GstPad* pad, GstPadProbeInfo* info);
  bool Paint(GstPad* pad, GstBuffer* buffer, ReferenceTime position);
  void Restamp(GstBuffer* buffer);

  RenderRange range_;
  FramePainter painter_;
  RenderCounters& counters_;
  std::optional<ReferenceTime> origin_;  // stream time of the first frame
  std::optional<GstClockTime> firstWritten_;
  GstClockTime segmentStart_ = 0;
  bool ended_ = false;
  GstCapsPtr caps_;
  GstVideoInfo info_{};
};

}  // namespace ostrel
