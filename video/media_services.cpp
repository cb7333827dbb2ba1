#include "video/media_services.h"

#include <gst/gst.h>

#include "video/gst_handles.h"

namespace ostrel {

bool InitializeMediaServices() {
  GError* error = nullptr;
  const bool started = gst_init_check(nullptr, nullptr, &error);
  GErrorPtr owned(error);
  return started;
}

}  // namespace ostrel
