#include "video/frame_grab.h"

#include <gst/video/video.h>

#include <cstring>

#include "video/mapped_video_frame.h"

namespace ostrel {
namespace {

void CopyRowAsBgr(const std::uint8_t* bgrx, std::int32_t width, std::uint8_t* bgr) {
  for (std::int32_t x = 0; x < width; ++x, bgrx += 4, bgr += 3) std::memcpy(bgr, bgrx, 3);
}

}  // namespace

bool SampleHeader(GstSample* sample, BitmapInfoHeader& header) {
  GstCaps* caps = sample ? gst_sample_get_caps(sample) : nullptr;
  GstVideoInfo info;
  if (!caps || !gst_video_info_from_caps(&info, caps)) return false;
  if (info.finfo->format != GST_VIDEO_FORMAT_BGRx || info.width <= 0 || info.height <= 0) return false;
  header = MakeRgb24Header(info.width, info.height);
  return true;
}

bool GrabFrameAsBottomUpBgr(const GstSamplePtr& sample, const BitmapInfoHeader& header,
                            std::vector<std::uint8_t>& pixels) {
  const MappedVideoFrame frame(ShareSample(sample));
  if (!frame.valid() || frame.width() != header.biWidth || frame.height() != header.biHeight) {
    return false;
  }
  const std::int64_t rowBytes = Rgb24RowBytes(header.biWidth);
  pixels.assign(header.biSizeImage, 0);
  for (std::int32_t row = 0; row < header.biHeight; ++row) {
    const std::int32_t sourceRow = header.biHeight - 1 - row;
    CopyRowAsBgr(frame.pixels() + static_cast<std::int64_t>(sourceRow) * frame.stride(), header.biWidth,
                 pixels.data() + row * rowBytes);
  }
  return true;
}

}  // namespace ostrel
