#pragma once

#include <cstdint>
#include <vector>

#include "video/bitmap_info_header.h"
#include "video/gst_handles.h"

namespace ostrel {

// The header that describes `sample`'s frame once grabbed; nothing when it holds no BGRx frame.
bool SampleHeader(GstSample* sample, BitmapInfoHeader& header);

// Converts `sample`'s BGRx frame into the layout of `header`: 24-bit BGR rows from the
// bottom of the picture up, each padded to 4 bytes, biSizeImage bytes in all. False, and
// `pixels` untouched, when the frame is missing or not the size the header states.
bool GrabFrameAsBottomUpBgr(const GstSamplePtr& sample, const BitmapInfoHeader& header,
                            std::vector<std::uint8_t>& pixels);

}  // namespace ostrel
