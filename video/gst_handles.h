#pragma once

#include <gst/gst.h>

#include <memory>

namespace ostrel {

// Owning handles for the GStreamer objects the graph holds: every reference taken is given
// back by a destructor, so no path can forget an unref.
struct GstObjectUnref {
  void operator()(void* object) const { gst_object_unref(object); }
};
struct GstSampleUnref {
  void operator()(GstSample* sample) const { gst_sample_unref(sample); }
};
struct GstCapsUnref {
  void operator()(GstCaps* caps) const { gst_caps_unref(caps); }
};
struct GErrorFree {
  void operator()(GError* error) const { g_error_free(error); }
};
struct GFree {
  void operator()(void* memory) const { g_free(memory); }
};

using GstElementPtr = std::unique_ptr<GstElement, GstObjectUnref>;
using GstBusPtr = std::unique_ptr<GstBus, GstObjectUnref>;
using GstPadPtr = std::unique_ptr<GstPad, GstObjectUnref>;
using GstSamplePtr = std::unique_ptr<GstSample, GstSampleUnref>;
using GstCapsPtr = std::unique_ptr<GstCaps, GstCapsUnref>;
using GErrorPtr = std::unique_ptr<GError, GErrorFree>;
using GCharPtr = std::unique_ptr<gchar, GFree>;

// A second owner of `sample`.
inline GstSamplePtr ShareSample(const GstSamplePtr& sample) {
  return GstSamplePtr(sample ? gst_sample_ref(sample.get()) : nullptr);
}

// A new element of `factory`, sunk so that the handle owns it outright (elements are born
// with a floating reference).
inline GstElementPtr MakeElement(const char* factory, const char* name = nullptr) {
  GstElement* element = gst_element_factory_make(factory, name);
  if (element) gst_object_ref_sink(element);
  return GstElementPtr(element);
}

// GStreamer's type hierarchy is C structs whose first member is the parent; its cast macros
// are C casts, so the one upcast/downcast the graph needs lives here.
template <typename To, typename From>
To* GstCast(From* object) {
  return reinterpret_cast<To*>(object);
}

}  // namespace ostrel
