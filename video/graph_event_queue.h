#pragma once

#include <deque>
#include <mutex>
#include <optional>

#include "video/graph_event.h"

namespace ostrel {

// Events waiting for the UI thread. Any thread pushes; the UI thread is told once per batch
// and pops them without blocking.
class GraphEventQueue {
 public:
  // True when the UI thread must be told (no notice is pending); the caller then posts one.
  bool Push(GraphEvent event);
  // UI thread, on the notice: later pushes notify again.
  void NoticeTaken();
  // The oldest waiting event; nothing at once when none waits.
  std::optional<GraphEvent> Pop();
  void Clear();

 private:
  std::mutex mutex_;
  std::deque<GraphEvent> events_;
  bool noticePending_ = false;
};

}  // namespace ostrel
