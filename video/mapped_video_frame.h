#pragma once

#include <gst/video/video.h>

#include <cstdint>

#include "video/gst_handles.h"

namespace ostrel {

// The pixels of one BGRx frame, mapped for reading for as long as the object lives; the
// sample it came from is kept alive with it.
class MappedVideoFrame {
 public:
  explicit MappedVideoFrame(GstSamplePtr sample);
  ~MappedVideoFrame();
  MappedVideoFrame(const MappedVideoFrame&) = delete;
  MappedVideoFrame& operator=(const MappedVideoFrame&) = delete;

  // False when the sample holds no frame or not BGRx pixels; nothing else may be asked then.
  bool valid() const { return mapped_; }
  std::int32_t width() const { return frame_.info.width; }
  std::int32_t height() const { return frame_.info.height; }
  std::int32_t stride() const { return frame_.info.stride[0]; }
  const std::uint8_t* pixels() const { return static_cast<const std::uint8_t*>(frame_.data[0]); }

 private:
  GstSamplePtr sample_;
  GstVideoFrame frame_{};
  bool mapped_ = false;
};

}  // namespace ostrel
