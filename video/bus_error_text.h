#pragma once

#include <gst/gst.h>

#include <string>

namespace ostrel {

// The text of an error message from a GStreamer bus, or `fallback` when it carries none; a
// full disk is named as such.
std::string BusErrorText(GstMessage* message, const char* fallback);

}  // namespace ostrel
