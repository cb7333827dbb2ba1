#pragma once

#include <gst/gst.h>

#include "video/media_graph.h"

namespace ostrel {

class MediaGraphTestPeer {
 public:
  // Posts an error from the graph's video sink, as a failing element does, with `text` as its
  // message.
  static void PostElementError(MediaGraph& graph, const char* text) {
    GError* error = g_error_new_literal(gst_resource_error_quark(), GST_RESOURCE_ERROR_FAILED, text);
    GstMessage* message =
        gst_message_new_error(GstCast<GstObject>(graph.grabber_.get()), error, "posted by a test");
    g_error_free(error);
    gst_element_post_message(graph.grabber_.get(), message);
  }
};

}  // namespace ostrel
