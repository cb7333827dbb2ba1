#include "video/render_pipeline.h"

#include <gst/video/video.h>

#include <vector>

#include "video/bus_error_text.h"
#include "video/yuv_frame_picture.h"

namespace ostrel {
namespace {

constexpr GstClockTime kReportInterval = 250 * GST_MSECOND;
constexpr guint kQueueBytes = 64u << 20;

struct GstMessageUnref {
  void operator()(GstMessage* message) const { gst_message_unref(message); }
};
using GstMessagePtr = std::unique_ptr<GstMessage, GstMessageUnref>;

void ApplySettings(GstElement* element, const RenderEncoding& encoding) {
  for (const auto& [name, value] : encoding.encoderSettings) {
    if (g_object_class_find_property(G_OBJECT_GET_CLASS(element), name.c_str())) {
      gst_util_set_object_arg(G_OBJECT(element), name.c_str(), value.c_str());
    }
  }
}

bool IsVideoPad(GstPad* pad) {
  GstCapsPtr caps(gst_pad_get_current_caps(pad));
  if (!caps) caps.reset(gst_pad_query_caps(pad, nullptr));
  if (!caps || gst_caps_get_size(caps.get()) == 0) return false;
  const gchar* name = gst_structure_get_name(gst_caps_get_structure(caps.get(), 0));
  return g_str_has_prefix(name, "video/");
}

void PostError(GstElement* from, const char* text) {
  GError* error = g_error_new_literal(GST_STREAM_ERROR, GST_STREAM_ERROR_WRONG_TYPE, text);
  gst_element_post_message(from, gst_message_new_error(GST_OBJECT(from), error, nullptr));
  g_error_free(error);
}

}  // namespace

RenderPipeline::RenderPipeline(RenderRange range, FramePainter painter)
    : tap_(range, std::move(painter), counters_) {}

RenderPipeline::~RenderPipeline() {
  if (pipeline_) gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
}

std::unique_ptr<RenderPipeline> RenderPipeline::Create(const std::string& input, const std::string& output,
                                                       const RenderEncoding& encoding, RenderRange range,
                                                       FramePainter painter, std::string& error) {
  std::unique_ptr<RenderPipeline> pipeline(new RenderPipeline(range, std::move(painter)));
  if (!pipeline->Build(input, output, encoding, error)) return nullptr;
  return pipeline;
}

bool RenderPipeline::Build(const std::string& input, const std::string& output, const RenderEncoding& encoding,
                           std::string& error) {
  pipeline_ = MakeElement("pipeline", "render");
  // Three threads share the work, as in a plain transcode: decoding up to the first queue,
  // drawing between the queues, encoding (with the encoder's own threads) after the second.
  enum Stage { kSource, kDecoder, kConvertIn, kFormats, kToDrawing, kToEncoder, kConvertOut, kEncoder, kMuxer, kSink };
  const std::vector<const char*> factories = {"filesrc",  "decodebin", "videoconvert",           "capsfilter",
                                              "queue",    "queue",     "videoconvert",           encoding.encoder.c_str(),
                                              encoding.muxer.c_str(), "filesink"};
  std::vector<GstElementPtr> elements;
  for (const char* factory : factories) {
    elements.push_back(MakeElement(factory));
    if (!elements.back() || !pipeline_) {
      error = std::string("the GStreamer element ") + factory + " is not installed";
      return false;
    }
    gst_bin_add(GstCast<GstBin>(pipeline_.get()), elements.back().get());
  }
  g_object_set(elements[kSource].get(), "location", input.c_str(), nullptr);
  g_object_set(elements[kSink].get(), "location", output.c_str(), nullptr);
  // Frames are drawn into as they were decoded; the conversions pass them through untouched
  // unless the decoder or the encoder needs another layout.
  g_object_set(elements[kFormats].get(), "caps", DrawableVideoCaps().get(), nullptr);
  ApplySettings(elements[kEncoder].get(), encoding);
  // Up to a second of frames either side of the drawing (the queues' own time limit) within
  // 64 MB, rather than the seven 720p frames their 10 MB hold: decoding and encoding come
  // in bursts, and a short queue leaves one of them waiting.
  for (Stage queue : {kToDrawing, kToEncoder}) g_object_set(elements[queue].get(), "max-size-bytes", kQueueBytes, nullptr);
  if (!gst_element_link(elements[kSource].get(), elements[kDecoder].get()) ||
      !gst_element_link_many(elements[kConvertIn].get(), elements[kFormats].get(), elements[kToDrawing].get(),
                             elements[kToEncoder].get(), elements[kConvertOut].get(), elements[kEncoder].get(),
                             elements[kMuxer].get(), elements[kSink].get(), nullptr)) {
    error = "the encoder " + encoding.encoder + " cannot feed the muxer " + encoding.muxer;
    return false;
  }
  const GstPadPtr tapped(gst_element_get_static_pad(elements[kToDrawing].get(), "src"));
  tap_.Attach(tapped.get());
  videoIn_ = elements[kConvertIn].get();
  g_signal_connect(elements[kDecoder].get(), "pad-added", G_CALLBACK(&RenderPipeline::OnPadAdded), this);
  g_signal_connect(elements[kDecoder].get(), "no-more-pads", G_CALLBACK(&RenderPipeline::OnNoMorePads), this);
  bus_.reset(gst_element_get_bus(pipeline_.get()));
  return true;
}

void RenderPipeline::OnPadAdded(GstElement* /*decoder*/, GstPad* pad, gpointer pipeline) {
  auto* self = static_cast<RenderPipeline*>(pipeline);
  const GstPadPtr sink(gst_element_get_static_pad(self->videoIn_, "sink"));
  // The first video stream is rendered; sound and further streams are left unlinked.
  if (gst_pad_is_linked(sink.get()) || !IsVideoPad(pad)) return;
  gst_pad_link(pad, sink.get());
}

void RenderPipeline::OnNoMorePads(GstElement* decoder, gpointer pipeline) {
  auto* self = static_cast<RenderPipeline*>(pipeline);
  const GstPadPtr sink(gst_element_get_static_pad(self->videoIn_, "sink"));
  if (!gst_pad_is_linked(sink.get())) PostError(decoder, "the file holds no video stream");
}

RenderProgress RenderPipeline::Progress() const {
  RenderProgress progress;
  progress.frames = counters_.frames.load(std::memory_order_relaxed);
  progress.position = counters_.position.load(std::memory_order_relaxed);
  gint64 duration = 0;
  if (gst_element_query_duration(pipeline_.get(), GST_FORMAT_TIME, &duration) && duration > 0) {
    progress.duration = NanosecondsToReferenceTime(duration);
  }
  return progress;
}

bool RenderPipeline::Run(const ProgressReport& report, std::string& error) {
  error.clear();
  gst_element_set_state(pipeline_.get(), GST_STATE_PLAYING);
  const auto wanted = static_cast<GstMessageType>(GST_MESSAGE_ERROR | GST_MESSAGE_EOS);
  bool finished = false;
  while (!finished) {
    const GstMessagePtr message(gst_bus_timed_pop_filtered(bus_.get(), kReportInterval, wanted));
    if (!message) {
      report(Progress());
      continue;
    }
    finished = true;
    if (GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_ERROR) error = BusErrorText(message.get(), "the pipeline failed");
  }
  const RenderProgress last = Progress();
  gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
  if (!error.empty()) return false;
  report(last);
  return true;
}

}  // namespace ostrel
