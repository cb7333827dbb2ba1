#include "video/bus_error_text.h"

#include "video/gst_handles.h"

namespace ostrel {

std::string BusErrorText(GstMessage* message, const char* fallback) {
  GError* error = nullptr;
  gchar* debug = nullptr;
  gst_message_parse_error(message, &error, &debug);
  const GErrorPtr ownedError(error);
  const GCharPtr ownedDebug(debug);
  std::string text = error && error->message ? error->message : fallback;
  if (error && g_error_matches(error, GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_NO_SPACE_LEFT)) {
    text += " (no space left on the device)";
  }
  return text;
}

}  // namespace ostrel
