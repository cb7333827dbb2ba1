#include "video/frame_image.h"

#include <memory>

#include "video/mapped_video_frame.h"

namespace ostrel {
namespace {

void ReleaseMappedFrame(void* frame) { delete static_cast<MappedVideoFrame*>(frame); }

}  // namespace

QImage FrameImage(GstSamplePtr sample) {
  auto frame = std::make_unique<MappedVideoFrame>(std::move(sample));
  if (!frame->valid()) return {};
  // The const constructor: any writer gets its own copy, the decoded frame is never touched.
  const uchar* pixels = frame->pixels();
  QImage image(pixels, frame->width(), frame->height(), frame->stride(), QImage::Format_RGB32,
               &ReleaseMappedFrame, frame.get());
  if (image.isNull()) return {};
  frame.release();  // the image's last copy frees it
  return image;
}

}  // namespace ostrel
