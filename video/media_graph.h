#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gst/app/gstappsink.h>

#include "video/bitmap_info_header.h"
#include "video/graph_event.h"
#include "video/graph_event_queue.h"
#include "video/gst_handles.h"
#include "video/latest_frame_slot.h"
#include "video/media_services.h"
#include "video/playback_graph.h"
#include "video/reference_time.h"

namespace ostrel {

// One video file decoded and played: its controls, position and seeking, its events, the
// native size, the newest frame for display, and the grabber that hands out the last frame as
// a 24-bit bitmap. Every call is made from the thread the graph was created on (the UI
// thread); GStreamer's threads only hand frames and events over, announced by the signals.
class MediaGraph : public PlaybackGraph {

 public:
  ~MediaGraph() override;
  MediaGraph(const MediaGraph&) = delete;
  MediaGraph& operator=(const MediaGraph&) = delete;

  // Opens `path` (UTF-8) and prerolls it: true once the first frame is decoded, paused at the
  // start. False, with RenderError() saying why and nothing left running, for a file that
  // cannot be read or decoded, has no video stream, or shows no frame within a few seconds.
  bool RenderFile(const std::string& path) override;
  const std::string& RenderError() const { return renderError_; }

  bool Run() override;   // plays
  bool Stop() override;  // pauses: position and picture stay
  // The state the graph is in or heading to; never waits.
  GraphState GetState() const override;

  // The playback position and the stop position (the video's duration), in 100 ns units,
  // counted from the first frame.
  bool GetPositions(ReferenceTime& current, ReferenceTime& stop) const override;
  // Moves the playback position (clamped to the video); the stop position stays.
  bool SetPositions(ReferenceTime current) override;

  // The decoded picture's width and height in pixels.
  bool GetVideoSize(std::int32_t& width, std::int32_t& height) const override;
  // The format the grabber hands frames out in; nothing before a file is rendered.
  std::optional<BitmapInfoHeader> GetConnectedMediaType() const override;
  // While on, the grabber keeps the newest frame; switching it off keeps the frame it holds.
  void SetBufferSamples(bool buffer) override;
  // The buffered frame in the layout of GetConnectedMediaType (biSizeImage bytes); false
  // when no frame was buffered.
  bool GetCurrentBuffer(std::vector<std::uint8_t>& pixels) const override;

  // The oldest waiting event; nothing, at once, when none waits.
  std::optional<GraphEvent> GetEvent() override;

  // The newest frame delivered to this thread, for display (null before the first).
  const QImage& CurrentFrame() const override { return currentFrame_; }
  FrameHandOverStats FrameStats() const { return frames_.Stats(); }

  // Its signals: graphNotify is queued to this object's thread; of frameReady at most one
  // is ever queued, frames that arrive before it is delivered only replace the frame it shows.

 private:
  MediaGraph(GstElementPtr playbin, GstElementPtr grabber);
  friend std::unique_ptr<MediaGraph> CreateMediaGraph();
  // Lets tests raise an element's error inside a live graph, which real files rarely do on cue.
  friend class MediaGraphTestPeer;

  static GstFlowReturn OnNewPreroll(GstAppSink* sink, gpointer graph);
  static GstFlowReturn OnNewSample(GstAppSink* sink, gpointer graph);
  static GstBusSyncReply OnBusMessage(GstBus* bus, GstMessage* message, gpointer graph);

  void HandOver(GstSample* sample);
  void PostEvent(GraphEvent event);
  void DeliverFrame();
  void DeliverNotice();
  void Close();
  bool Preroll();
  bool Fail(std::string reason);
  bool SeekTo(ReferenceTime position);
  void MeasureTimeline();

  GstElementPtr playbin_;
  GstElementPtr grabber_;  // the appsink, owned by the playbin too
  GstBusPtr bus_;
  LatestFrameSlot frames_;
  GraphEventQueue events_;
  std::atomic<bool> errorPosted_{false};

  std::optional<BitmapInfoHeader> format_;
  ReferenceTime origin_ = 0;  // the stream time of the first frame
  mutable ReferenceTime duration_ = 0;
  mutable ReferenceTime lastPosition_ = 0;
  bool bufferSamples_ = false;
  GstSamplePtr keptSample_;  // the frame held while buffering is off
  QImage currentFrame_;
  std::string renderError_;
};

// A fresh graph that has not yet rendered a file; nothing when the services cannot make
// one (for example when the playback elements are not installed).
std::unique_ptr<MediaGraph> CreateMediaGraph();

}  // namespace ostrel
