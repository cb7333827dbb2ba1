#pragma once

#include <gst/video/video.h>

#include <optional>

#include "overlay/yuv_picture.h"
#include "video/gst_handles.h"

namespace ostrel {

// The raw video a render draws into: 8-bit Y'CbCr in the layouts decoders put out (chroma
// planar or interleaved, subsampled at most 2 x 2), so that a decoded frame reaches the
// drawing, and then the encoder, as it was decoded, without a conversion on the way.
GstCapsPtr DrawableVideoCaps();

// The pixels of a frame mapped for writing, as a picture to draw into; nothing for a
// format outside DrawableVideoCaps.
std::optional<YuvPicture> PictureOfFrame(const GstVideoFrame& frame);

}  // namespace ostrel
