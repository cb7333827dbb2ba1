#include "video/media_graph.h"

#include <algorithm>
#include <utility>

#include "video/audio_output.h"
#include "video/bus_error_text.h"
#include "video/frame_grab.h"
#include "video/frame_image.h"

namespace ostrel {
namespace {

// Long enough for a slow disk and a cold decoder, short enough that a stuck file is reported.
constexpr GstClockTime kPrerollTimeout = 5 * GST_SECOND;

// playbin's flags: video and sound with software volume; no subtitles, no deinterlacing,
// no colour balance (the viewer shows the frames as decoded).
constexpr guint kPlayFlagVideo = 1u << 0;
constexpr guint kPlayFlagAudio = 1u << 1;
constexpr guint kPlayFlagSoftVolume = 1u << 4;

GstElementPtr MakeGrabber() {
  GstElementPtr sink = MakeElement("appsink", "Grabber");
  if (!sink) return sink;
  GstCapsPtr caps(gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", nullptr));
  // One frame queued at most: a late UI thread sees the newest frame, never a backlog.
  g_object_set(sink.get(), "caps", caps.get(), "max-buffers", 1u, "drop", TRUE, "sync", TRUE,
               "enable-last-sample", FALSE, nullptr);
  return sink;
}

// Where `sample`'s frame lies on the stream's timeline; GST_CLOCK_TIME_NONE when unknown.
GstClockTime FirstFrameStreamTime(GstSample* sample) {
  GstBuffer* buffer = sample ? gst_sample_get_buffer(sample) : nullptr;
  const GstSegment* segment = sample ? gst_sample_get_segment(sample) : nullptr;
  if (!buffer || !segment || buffer->pts == GST_CLOCK_TIME_NONE) return GST_CLOCK_TIME_NONE;
  return gst_segment_to_stream_time(segment, GST_FORMAT_TIME, buffer->pts);
}

}  // namespace

std::unique_ptr<MediaGraph> CreateMediaGraph() {
  GstElementPtr playbin = MakeElement("playbin");
  GstElementPtr grabber = MakeGrabber();
  if (!playbin || !grabber) return nullptr;
  return std::unique_ptr<MediaGraph>(new MediaGraph(std::move(playbin), std::move(grabber)));
}

MediaGraph::MediaGraph(GstElementPtr playbin, GstElementPtr grabber)
    : playbin_(std::move(playbin)), grabber_(std::move(grabber)),
      bus_(gst_element_get_bus(playbin_.get())) {
  GstAppSinkCallbacks callbacks{};
  callbacks.new_preroll = &MediaGraph::OnNewPreroll;
  callbacks.new_sample = &MediaGraph::OnNewSample;
  gst_app_sink_set_callbacks(GstCast<GstAppSink>(grabber_.get()), &callbacks, this, nullptr);
  gst_bus_set_sync_handler(bus_.get(), &MediaGraph::OnBusMessage, this, nullptr);
  g_object_set(playbin_.get(), "video-sink", grabber_.get(), "flags",
               kPlayFlagVideo | kPlayFlagAudio | kPlayFlagSoftVolume, nullptr);
}

MediaGraph::~MediaGraph() {
  // NULL joins every streaming thread, so no callback can reach this object afterwards.
  gst_element_set_state(playbin_.get(), GST_STATE_NULL);
  gst_bus_set_sync_handler(bus_.get(), nullptr, nullptr, nullptr);
  GstAppSinkCallbacks none{};
  gst_app_sink_set_callbacks(GstCast<GstAppSink>(grabber_.get()), &none, nullptr, nullptr);
}

GstFlowReturn MediaGraph::OnNewPreroll(GstAppSink* sink, gpointer graph) {
  static_cast<MediaGraph*>(graph)->HandOver(gst_app_sink_pull_preroll(sink));
  return GST_FLOW_OK;
}

GstFlowReturn MediaGraph::OnNewSample(GstAppSink* sink, gpointer graph) {
  static_cast<MediaGraph*>(graph)->HandOver(gst_app_sink_pull_sample(sink));
  return GST_FLOW_OK;
}

GstBusSyncReply MediaGraph::OnBusMessage(GstBus*, GstMessage* message, gpointer graph) {
  auto* self = static_cast<MediaGraph*>(graph);
  if (message->type == GST_MESSAGE_EOS) {
    self->PostEvent({kEventComplete, {}});
  } else if (message->type == GST_MESSAGE_ERROR && !self->errorPosted_.exchange(true)) {
    // One failure is reported once, however many elements echo it.
    self->PostEvent({kEventErrorAbort, BusErrorText(message, "playback failed")});
  }
  // Nothing reads the bus itself, so no message may stay queued on it.
  return GST_BUS_DROP;
}

void MediaGraph::HandOver(GstSample* sample) {
  if (!sample) return;
  if (frames_.Put(GstSamplePtr(sample))) {
    QMetaObject::invokeMethod(this, [this] { DeliverFrame(); }, Qt::QueuedConnection);
  }
}

void MediaGraph::PostEvent(GraphEvent event) {
  if (events_.Push(std::move(event))) {
    QMetaObject::invokeMethod(this, [this] { DeliverNotice(); }, Qt::QueuedConnection);
  }
}

void MediaGraph::DeliverFrame() {
  QImage image = FrameImage(frames_.Take());
  if (image.isNull()) return;
  currentFrame_ = std::move(image);
  emit frameReady();
}

void MediaGraph::DeliverNotice() {
  events_.NoticeTaken();
  emit graphNotify();
}

void MediaGraph::Close() {
  gst_element_set_state(playbin_.get(), GST_STATE_NULL);
  frames_.Clear();
  events_.Clear();
  errorPosted_ = false;
  format_.reset();
  origin_ = 0;
  duration_ = 0;
  lastPosition_ = 0;
  keptSample_.reset();
  currentFrame_ = QImage();
}

bool MediaGraph::RenderFile(const std::string& path) {
  Close();
  renderError_.clear();
  GError* error = nullptr;
  const GCharPtr uri(gst_filename_to_uri(path.c_str(), &error));
  const GErrorPtr ownedError(error);
  if (!uri) return Fail(error && error->message ? error->message : "not a file name");
  GstElementPtr audio = MakeAudioOutput();
  g_object_set(playbin_.get(), "uri", uri.get(), "audio-sink", audio.get(), nullptr);
  return Preroll();
}

bool MediaGraph::Preroll() {
  if (gst_element_set_state(playbin_.get(), GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
    return Fail("the file cannot be played");
  }
  const GstStateChangeReturn result =
      gst_element_get_state(playbin_.get(), nullptr, nullptr, kPrerollTimeout);
  if (result == GST_STATE_CHANGE_FAILURE) return Fail("the file cannot be played");
  if (result == GST_STATE_CHANGE_ASYNC) return Fail("no picture within the time allowed");
  gint videoStreams = 0;
  g_object_get(playbin_.get(), "n-video", &videoStreams, nullptr);
  if (videoStreams <= 0) return Fail("the file holds no video stream");
  BitmapInfoHeader header;
  if (!SampleHeader(frames_.Peek().get(), header)) return Fail("no video frame was decoded");
  format_ = header;
  MeasureTimeline();
  return true;
}

void MediaGraph::MeasureTimeline() {
  // Some containers (MPEG above all) stamp their first frame later than 0; the viewer's
  // clock counts from the first frame, so positions are kept relative to it.
  const GstClockTime first = FirstFrameStreamTime(frames_.Peek().get());
  if (first != GST_CLOCK_TIME_NONE) origin_ = NanosecondsToReferenceTime(static_cast<std::int64_t>(first));
  // The first frame's stamp is not taken off the duration: where it is late (MPEG), the
  // duration is estimated from the stream's clock, which starts ahead of the frames.
  gint64 duration = 0;
  if (gst_element_query_duration(playbin_.get(), GST_FORMAT_TIME, &duration) && duration > 0) {
    duration_ = NanosecondsToReferenceTime(duration);
  }
}

bool MediaGraph::Fail(std::string reason) {
  // The element's own words say more than our summary; they arrived as the first event.
  std::optional<GraphEvent> event;
  while ((event = events_.Pop())) {
    if (event->code == kEventErrorAbort) {
      reason = event->text;
      break;
    }
  }
  Close();
  renderError_ = std::move(reason);
  return false;
}

bool MediaGraph::Run() {
  if (!format_) return false;
  return gst_element_set_state(playbin_.get(), GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
}

bool MediaGraph::Stop() {
  if (!format_) return false;
  return gst_element_set_state(playbin_.get(), GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE;
}

GraphState MediaGraph::GetState() const {
  GstState current = GST_STATE_NULL;
  GstState pending = GST_STATE_VOID_PENDING;
  const GstStateChangeReturn result = gst_element_get_state(playbin_.get(), &current, &pending, 0);
  const GstState state =
      result == GST_STATE_CHANGE_ASYNC && pending != GST_STATE_VOID_PENDING ? pending : current;
  if (state == GST_STATE_PLAYING) return GraphState::Running;
  if (state == GST_STATE_PAUSED) return GraphState::Paused;
  return GraphState::Stopped;
}

bool MediaGraph::GetPositions(ReferenceTime& current, ReferenceTime& stop) const {
  if (!format_) return false;
  gint64 position = 0;
  // While a seek flushes, the pipeline cannot answer; the last answer is still the truth.
  if (gst_element_query_position(playbin_.get(), GST_FORMAT_TIME, &position) && position >= 0) {
    lastPosition_ = std::max<ReferenceTime>(NanosecondsToReferenceTime(position) - origin_, 0);
  }
  // A duration estimated from the bit rate can fall short of the last frame; the end is
  // then at least where playback has got to.
  duration_ = std::max(duration_, lastPosition_);
  current = lastPosition_;
  stop = duration_;
  return true;
}

bool MediaGraph::SetPositions(ReferenceTime current) {
  if (!format_) return false;
  const ReferenceTime target = std::clamp<ReferenceTime>(current, 0, std::max<ReferenceTime>(duration_, 0));
  return SeekTo(target);
}

bool MediaGraph::SeekTo(ReferenceTime position) {
  const auto flags = static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
  if (!gst_element_seek_simple(playbin_.get(), GST_FORMAT_TIME, flags,
                               ReferenceTimeToNanoseconds(position + origin_))) {
    return false;
  }
  lastPosition_ = position;
  return true;
}

bool MediaGraph::GetVideoSize(std::int32_t& width, std::int32_t& height) const {
  if (!format_) return false;
  width = format_->biWidth;
  height = format_->biHeight;
  return true;
}

std::optional<BitmapInfoHeader> MediaGraph::GetConnectedMediaType() const { return format_; }

void MediaGraph::SetBufferSamples(bool buffer) {
  if (bufferSamples_ && !buffer) keptSample_ = frames_.Peek();
  if (buffer) keptSample_.reset();
  bufferSamples_ = buffer;
}

bool MediaGraph::GetCurrentBuffer(std::vector<std::uint8_t>& pixels) const {
  if (!format_) return false;
  const GstSamplePtr sample = bufferSamples_ ? frames_.Peek() : ShareSample(keptSample_);
  return sample && GrabFrameAsBottomUpBgr(sample, *format_, pixels);
}

std::optional<GraphEvent> MediaGraph::GetEvent() { return events_.Pop(); }

}  // namespace ostrel
