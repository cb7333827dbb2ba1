#include "video/mapped_video_frame.h"

namespace ostrel {

MappedVideoFrame::MappedVideoFrame(GstSamplePtr sample) : sample_(std::move(sample)) {
  if (!sample_) return;
  GstCaps* caps = gst_sample_get_caps(sample_.get());
  GstBuffer* buffer = gst_sample_get_buffer(sample_.get());
  GstVideoInfo info;
  if (!caps || !buffer || !gst_video_info_from_caps(&info, caps)) return;
  if (info.finfo->format != GST_VIDEO_FORMAT_BGRx) return;
  mapped_ = gst_video_frame_map(&frame_, &info, buffer, GST_MAP_READ);
}

MappedVideoFrame::~MappedVideoFrame() {
  if (mapped_) gst_video_frame_unmap(&frame_);
}

}  // namespace ostrel
