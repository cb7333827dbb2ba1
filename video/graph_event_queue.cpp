#include "video/graph_event_queue.h"

namespace ostrel {

bool GraphEventQueue::Push(GraphEvent event) {
  std::lock_guard lock(mutex_);
  events_.push_back(std::move(event));
  const bool notify = !noticePending_;
  noticePending_ = true;
  return notify;
}

void GraphEventQueue::NoticeTaken() {
  std::lock_guard lock(mutex_);
  noticePending_ = false;
}

std::optional<GraphEvent> GraphEventQueue::Pop() {
  std::lock_guard lock(mutex_);
  if (events_.empty()) return std::nullopt;
  GraphEvent event = std::move(events_.front());
  events_.pop_front();
  return event;
}

void GraphEventQueue::Clear() {
  std::lock_guard lock(mutex_);
  events_.clear();
  noticePending_ = false;
}

}  // namespace ostrel
