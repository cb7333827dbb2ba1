#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "clock/clock_offset.h"
#include "overlay/overlay_state.h"
#include "overlay/snapshot_counter.h"
#include "track/track_store.h"
#include "video/bitmap_info_header.h"
#include "video/playback_graph.h"
#include "video/video_geometry.h"

namespace ostrel {

using GraphFactory = std::function<std::unique_ptr<PlaybackGraph>()>;

// Which parts of the held graph an Open has got as far as taking into use. Each handler
// checks the part it needs and does nothing without it; all are cleared whenever the graph
// is replaced, so none of them ever refers to a graph that is gone.
struct GraphReferences {
  bool frameGrabber = false;
  bool videoWindow = false;  // the picture shows this graph's frames
  bool graphEvents = false;  // its notifications reach the main window
  bool graphControl = false;
  bool graphSeeking = false;

  bool operator==(const GraphReferences&) const = default;
};

// Everything the viewer knows while it runs: owned by the main window and handed by
// reference to the operations. Nothing of it is global.
struct PlaybackState {
  PlaybackState();
  explicit PlaybackState(std::unique_ptr<PlaybackGraph> firstGraph);
  ~PlaybackState();
  PlaybackState(const PlaybackState&) = delete;
  PlaybackState& operator=(const PlaybackState&) = delete;

  TrackStore trackStore;
  ClockOffset clockOffset;
  VideoRect videoRect;
  VideoSize videoSize;
  // Where the open dialog starts and timeadj.log and captures are written: the process's
  // folder at start, then the folder of the video chosen last.
  std::string WorkingFolder;
  // Makes the graph for each Open; the media services' own unless a test scripts one.
  GraphFactory createGraph;
  // The graph made at start-up until the first Open replaces it, then the open video's.
  std::unique_ptr<PlaybackGraph> graph;
  GraphReferences held;
  // The grabbed frame's format, taken at each Open; the capture acts only while it is held.
  std::optional<BitmapInfoHeader> GrabberFormat;
  // The number of the next annotated snapshot, for the whole run: never reset by an Open.
  SnapshotCounter snapshotCounter;
  // Null until the main window creates the overlay resources, and again after their release.
  std::unique_ptr<OverlayState> overlay;
  // A playback failure of the open video has been told to the user.
  bool playbackErrorShown = false;
};

}  // namespace ostrel
