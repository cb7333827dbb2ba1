#pragma once

#include <memory>

#include "app/video_geometry.h"
#include "clock/clock_offset.h"
#include "track/track_store.h"

namespace ostrel {

class MediaGraph;
class VideoView;

// Everything the viewer knows while it runs, owned by the main window and handed by
// reference to the operations that need it. Nothing of it is global.
struct ViewerState {
  ViewerState();
  explicit ViewerState(std::unique_ptr<MediaGraph> firstGraph);
  ~ViewerState();
  ViewerState(const ViewerState&) = delete;
  ViewerState& operator=(const ViewerState&) = delete;

  TrackStore trackStore;
  ClockOffset clockOffset;
  VideoRect videoRect;
  VideoSize videoSize;
  // The media graph held for the next video: the one made at start-up (its existence
  // proves the media services work) until an Open replaces it; released after the main
  // window has closed.
  std::unique_ptr<MediaGraph> graph;
  // The picture's window while an open video holds it (the main window's VideoView), null
  // otherwise; the picture is laid out only while it is held.
  VideoView* videoWindow = nullptr;
};

}  // namespace ostrel
