#include "video/render_frame_tap.h"

#include "video/yuv_frame_picture.h"

namespace ostrel {
namespace {

struct GstEventUnref {
  void operator()(GstEvent* event) const { gst_event_unref(event); }
};
using GstEventPtr = std::unique_ptr<GstEvent, GstEventUnref>;

// A mapped frame, unmapped when it goes.
class WritableFrame {
 public:
  WritableFrame(const GstVideoInfo& info, GstBuffer* buffer)
      : mapped_(gst_video_frame_map(&frame_, &info, buffer, GST_MAP_WRITE)) {}
  ~WritableFrame() {
    if (mapped_) gst_video_frame_unmap(&frame_);
  }
  WritableFrame(const WritableFrame&) = delete;
  WritableFrame& operator=(const WritableFrame&) = delete;

  bool mapped() const { return mapped_; }
  const GstVideoFrame& frame() const { return frame_; }

 private:
  GstVideoFrame frame_{};
  bool mapped_ = false;
};

}  // namespace

void RenderFrameTap::Attach(GstPad* pad) {
  gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, &RenderFrameTap::OnBuffer, this, nullptr);
}

GstPadProbeReturn RenderFrameTap::OnBuffer(GstPad* pad, GstPadProbeInfo* info, gpointer tap) {
  return static_cast<RenderFrameTap*>(tap)->Pass(pad, info);
}

GstPadProbeReturn RenderFrameTap::Pass(GstPad* pad, GstPadProbeInfo* info) {
  GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
  const std::optional<ReferenceTime> position = PositionOf(pad, buffer);
  if (!position) return GST_PAD_PROBE_DROP;  // a frame without a time cannot be placed
  counters_.position.store(*position, std::memory_order_relaxed);
  if (range_.Before(*position)) return GST_PAD_PROBE_DROP;
  if (range_.After(*position)) return End(pad, info);
  // Decoders hand out frames nobody else holds, so this is no copy in the usual case.
  buffer = gst_buffer_make_writable(buffer);
  GST_PAD_PROBE_INFO_DATA(info) = buffer;
  if (!Paint(pad, buffer, *position)) return GST_PAD_PROBE_DROP;
  Restamp(buffer);
  counters_.frames.fetch_add(1, std::memory_order_relaxed);
  return GST_PAD_PROBE_OK;
}

GstPadProbeReturn RenderFrameTap::End(GstPad* pad, GstPadProbeInfo* info) {
  // The end goes down from here, not from upstream: a queue that was refused a frame keeps
  // every later event to itself, the end of the stream included, and the muxer must see it
  // to finish the file.
  if (!ended_) gst_pad_push_event(pad, gst_event_new_eos());
  ended_ = true;
  gst_buffer_unref(GST_PAD_PROBE_INFO_BUFFER(info));
  GST_PAD_PROBE_INFO_DATA(info) = nullptr;
  GST_PAD_PROBE_INFO_FLOW_RETURN(info) = GST_FLOW_EOS;
  return GST_PAD_PROBE_HANDLED;
}

std::optional<ReferenceTime> RenderFrameTap::PositionOf(GstPad* pad, const GstBuffer* buffer) {
  if (!GST_BUFFER_PTS_IS_VALID(buffer)) return std::nullopt;
  const GstEventPtr event(gst_pad_get_sticky_event(pad, GST_EVENT_SEGMENT, 0));
  if (!event) return std::nullopt;
  const GstSegment* segment = nullptr;
  gst_event_parse_segment(event.get(), &segment);
  segmentStart_ = segment->start;
  const GstClockTime streamTime = gst_segment_to_stream_time(segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer));
  if (streamTime == GST_CLOCK_TIME_NONE) return std::nullopt;
  const ReferenceTime time = NanosecondsToReferenceTime(static_cast<std::int64_t>(streamTime));
  // Positions count from the first frame, as the viewer's do: some containers stamp it late.
  if (!origin_) origin_ = time;
  return std::max<ReferenceTime>(time - *origin_, 0);
}

bool RenderFrameTap::Paint(GstPad* pad, GstBuffer* buffer, ReferenceTime position) {
  GstCapsPtr caps(gst_pad_get_current_caps(pad));
  if (!caps) return false;
  if (!caps_ || !gst_caps_is_equal(caps.get(), caps_.get())) {
    if (!gst_video_info_from_caps(&info_, caps.get())) return false;
    caps_ = std::move(caps);
  }
  WritableFrame frame(info_, buffer);
  if (!frame.mapped()) return false;
  const std::optional<YuvPicture> picture = PictureOfFrame(frame.frame());
  if (!picture) return false;
  painter_(*picture, position);
  return true;
}

void RenderFrameTap::Restamp(GstBuffer* buffer) {
  const GstClockTime pts = GST_BUFFER_PTS(buffer);
  if (!firstWritten_) firstWritten_ = pts;
  // Moved to the segment's start, so that the written file begins at 0 whatever the range.
  GST_BUFFER_PTS(buffer) = segmentStart_ + (pts >= *firstWritten_ ? pts - *firstWritten_ : 0);
  GST_BUFFER_DTS(buffer) = GST_CLOCK_TIME_NONE;
}

}  // namespace ostrel
