#pragma once

#include <QImage>
#include <QObject>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "video/bitmap_info_header.h"
#include "video/graph_event.h"
#include "video/reference_time.h"

namespace ostrel {

// What the viewer's operations and its picture need of a media graph: render a file, play
// and stop it, read and move its position, take its events, its picture size, the newest
// frame and the grabber. The viewer plays through MediaGraph; tests drive the same
// operations with graphs whose time, events and failures they script. Every call is made
// from the thread the graph lives on.
class PlaybackGraph : public QObject {
  Q_OBJECT

 public:
  ~PlaybackGraph() override = default;

  // Opens `path` (UTF-8) and prerolls it, paused at its first frame; false when it cannot.
  virtual bool RenderFile(const std::string& path) = 0;

  virtual bool Run() = 0;   // plays
  virtual bool Stop() = 0;  // pauses: position and picture stay
  // The state the graph is in or heading to; never waits.
  virtual GraphState GetState() const = 0;

  // The playback position and the stop position (the end), in 100 ns units.
  virtual bool GetPositions(ReferenceTime& current, ReferenceTime& stop) const = 0;
  // Moves the playback position; the stop position stays.
  virtual bool SetPositions(ReferenceTime current) = 0;

  // The decoded picture's width and height in pixels.
  virtual bool GetVideoSize(std::int32_t& width, std::int32_t& height) const = 0;
  // The format the grabber hands frames out in; nothing before a file is rendered.
  virtual std::optional<BitmapInfoHeader> GetConnectedMediaType() const = 0;
  // While on, the grabber keeps the newest frame.
  virtual void SetBufferSamples(bool buffer) = 0;
  // The buffered frame in the layout of GetConnectedMediaType; false when none.
  virtual bool GetCurrentBuffer(std::vector<std::uint8_t>& pixels) const = 0;

  // The oldest waiting event; nothing, at once, when none waits.
  virtual std::optional<GraphEvent> GetEvent() = 0;

  // The newest frame delivered to this thread, for display (null before the first).
  virtual const QImage& CurrentFrame() const = 0;

 signals:
  // Events wait for GetEvent.
  void graphNotify();
  // CurrentFrame() holds a newer frame.
  void frameReady();

 protected:
  PlaybackGraph() = default;
};

}  // namespace ostrel
