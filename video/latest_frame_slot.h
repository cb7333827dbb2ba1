#pragma once

#include <cstdint>
#include <mutex>

#include "video/gst_handles.h"

namespace ostrel {

// How frames fared on their way from the streaming thread to the UI thread.
struct FrameHandOverStats {
  std::uint64_t arrived = 0;    // frames put into the slot (a frame put twice counts once)
  std::uint64_t taken = 0;      // frames the UI thread took
  std::uint64_t overtaken = 0;  // frames replaced by a newer one before the UI thread took them
};

// The hand-over of decoded frames between GStreamer's streaming thread and the UI thread:
// one slot holding the newest frame, so a slow UI sees the latest picture and frames never
// pile up, and at most one notice pending, so the UI's queue never fills with them either.
class LatestFrameSlot {
 public:
  // Streaming thread: `sample` replaces the frame in the slot. True when the UI thread must be
  // told (no notice is pending); the caller then posts exactly one.
  bool Put(GstSamplePtr sample);
  // UI thread, on the notice: the newest frame (nothing if it was already taken); a later Put
  // notifies again.
  GstSamplePtr Take();
  // The newest frame, taken or not, without changing anything.
  GstSamplePtr Peek() const;
  // Forgets the frame and any pending notice (a new file, or the graph going away).
  void Clear();
  FrameHandOverStats Stats() const;

 private:
  mutable std::mutex mutex_;
  GstSamplePtr newest_;
  bool untaken_ = false;
  bool noticePending_ = false;
  FrameHandOverStats stats_;
};

}  // namespace ostrel
