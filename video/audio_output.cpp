#include "video/audio_output.h"

namespace ostrel {
namespace {

// Opening the device is the only sure test that there is one.
bool CanOpen(GstElement* sink) {
  const bool opened = gst_element_set_state(sink, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE;
  gst_element_set_state(sink, GST_STATE_NULL);
  return opened;
}

}  // namespace

GstElementPtr MakeAudioOutput() {
  GstElementPtr sink = MakeElement("autoaudiosink");
  if (sink && CanOpen(sink.get())) return sink;
  GstElementPtr silent = MakeElement("fakesink");
  if (silent) g_object_set(silent.get(), "sync", TRUE, nullptr);
  return silent;
}

}  // namespace ostrel
