#pragma once

#include <string>

namespace ostrel {

// Event codes the graph reports through GetEvent.
inline constexpr int kEventComplete = 1;    // EC_COMPLETE: the stream played to its end
inline constexpr int kEventErrorAbort = 3;  // EC_ERRORABORT: playback failed; `text` says why

struct GraphEvent {
  int code = 0;
  std::string text;  // empty except for errors

  bool operator==(const GraphEvent&) const = default;
};

// What GetState reports; the numbers are those the viewer compares against.
enum class GraphState { Stopped = 0, Paused = 1, Running = 2 };

}  // namespace ostrel
