#pragma once

#include <QImage>

#include "video/gst_handles.h"

namespace ostrel {

// A BGRx frame as a QImage (Format_RGB32) that reads the decoded pixels in place: the frame
// stays mapped, and its sample alive, until the last copy of the image is gone. A null image
// when the sample holds no BGRx frame.
QImage FrameImage(GstSamplePtr sample);

}  // namespace ostrel
