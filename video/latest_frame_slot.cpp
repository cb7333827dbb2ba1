#include "video/latest_frame_slot.h"

#include <utility>

namespace ostrel {
namespace {

GstBuffer* BufferOf(const GstSamplePtr& sample) {
  return sample ? gst_sample_get_buffer(sample.get()) : nullptr;
}

}  // namespace

bool LatestFrameSlot::Put(GstSamplePtr sample) {
  GstSamplePtr replaced;  // released outside the lock
  std::lock_guard lock(mutex_);
  // A sink hands the first frame after a preroll over twice (as preroll, then to render).
  const bool repeated = newest_ && BufferOf(newest_) == BufferOf(sample);
  if (!repeated) {
    ++stats_.arrived;
    if (untaken_) ++stats_.overtaken;
  }
  replaced = std::exchange(newest_, std::move(sample));
  untaken_ = true;
  const bool notify = !noticePending_;
  noticePending_ = true;
  return notify;
}

GstSamplePtr LatestFrameSlot::Take() {
  std::lock_guard lock(mutex_);
  noticePending_ = false;
  if (!untaken_) return nullptr;
  untaken_ = false;
  ++stats_.taken;
  return ShareSample(newest_);
}

GstSamplePtr LatestFrameSlot::Peek() const {
  std::lock_guard lock(mutex_);
  return ShareSample(newest_);
}

void LatestFrameSlot::Clear() {
  GstSamplePtr dropped;
  std::lock_guard lock(mutex_);
  dropped = std::move(newest_);
  untaken_ = false;
  noticePending_ = false;
}

FrameHandOverStats LatestFrameSlot::Stats() const {
  std::lock_guard lock(mutex_);
  return stats_;
}

}  // namespace ostrel
