#pragma once

#include <functional>
#include <memory>
#include <string>

#include "video/gst_handles.h"
#include "video/render_encoding.h"
#include "video/render_frame_tap.h"
#include "video/render_range.h"

namespace ostrel {

// How far a render has got, for a progress display.
struct RenderProgress {
  std::uint64_t frames = 0;       // frames written
  ReferenceTime position = 0;     // playback position of the latest frame decoded
  ReferenceTime duration = 0;     // the video's length; 0 while unknown
};
using ProgressReport = std::function<void(const RenderProgress&)>;

// One GStreamer pipeline that decodes a video, lets a painter draw into every frame in the
// decoded buffer itself and encodes the result into a new file without sound:
//   filesrc ! decodebin ! videoconvert ! Y'CbCr ! queue ! [painter] ! queue ! videoconvert
//   ! encoder ! muxer ! filesink
// The frames keep the decoder's own layout through the drawing, so the conversions pass
// them through and the encoder gets what a plain transcode would give it. Decoding,
// drawing and encoding each run on their own thread.
class RenderPipeline {
 public:
  // Nothing, with `error` saying which element is missing, when the elements cannot be made.
  static std::unique_ptr<RenderPipeline> Create(const std::string& input, const std::string& output,
                                                const RenderEncoding& encoding, RenderRange range,
                                                FramePainter painter, std::string& error);
  ~RenderPipeline();
  RenderPipeline(const RenderPipeline&) = delete;
  RenderPipeline& operator=(const RenderPipeline&) = delete;

  // Runs until the range is written, calling `report` on this thread a few times a second
  // and once at the end. False, with `error` set, when the input cannot be read or decoded,
  // holds no video, or the output cannot be written. The pipeline is stopped and the output
  // file closed when it returns.
  bool Run(const ProgressReport& report, std::string& error);

 private:
  RenderPipeline(RenderRange range, FramePainter painter);
  bool Build(const std::string& input, const std::string& output, const RenderEncoding& encoding,
             std::string& error);
  static void OnPadAdded(GstElement* decoder, GstPad* pad, gpointer pipeline);
  static void OnNoMorePads(GstElement* decoder, gpointer pipeline);
  RenderProgress Progress() const;

  GstElementPtr pipeline_;
  GstBusPtr bus_;
  GstElement* videoIn_ = nullptr;  // owned by the pipeline
  RenderCounters counters_;
  RenderFrameTap tap_;
};

}  // namespace ostrel
