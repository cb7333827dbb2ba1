#include "video/yuv_frame_picture.h"

#include <algorithm>
#include <array>

namespace ostrel {
namespace {

constexpr std::array kDrawableFormats = {GST_VIDEO_FORMAT_I420, GST_VIDEO_FORMAT_YV12, GST_VIDEO_FORMAT_NV12,
                                         GST_VIDEO_FORMAT_NV21, GST_VIDEO_FORMAT_Y42B, GST_VIDEO_FORMAT_Y444};

bool IsDrawable(GstVideoFormat format) {
  return std::find(kDrawableFormats.begin(), kDrawableFormats.end(), format) != kDrawableFormats.end();
}

YuvPlane Plane(const GstVideoFrame& frame, int component) {
  const GstVideoFormatInfo* format = frame.info.finfo;
  auto* plane = static_cast<std::uint8_t*>(frame.data[GST_VIDEO_FORMAT_INFO_PLANE(format, component)]);
  return {plane + GST_VIDEO_FORMAT_INFO_POFFSET(format, component), GST_VIDEO_FRAME_COMP_STRIDE(&frame, component),
          GST_VIDEO_FRAME_COMP_PSTRIDE(&frame, component)};
}

// The frame's colorimetry as the viewer's conversion to R'G'B' reads it; an unknown matrix
// is taken as BT.601's.
YuvCoding CodingOf(const GstVideoInfo& info) {
  YuvCoding coding;
  gdouble kr = 0;
  gdouble kb = 0;
  if (gst_video_color_matrix_get_Kr_Kb(info.colorimetry.matrix, &kr, &kb)) {
    coding.kr = kr;
    coding.kb = kb;
  }
  std::array<gint, GST_VIDEO_MAX_COMPONENTS> offset{};
  std::array<gint, GST_VIDEO_MAX_COMPONENTS> scale{};
  gst_video_color_range_offsets(info.colorimetry.range, info.finfo, offset.data(), scale.data());
  coding.lumaOffset = offset[GST_VIDEO_COMP_Y];
  coding.lumaExcursion = scale[GST_VIDEO_COMP_Y];
  coding.chromaOffset = offset[GST_VIDEO_COMP_U];
  coding.chromaExcursion = scale[GST_VIDEO_COMP_U];
  return coding;
}

}  // namespace

GstCapsPtr DrawableVideoCaps() {
  GstCapsPtr caps(gst_caps_new_empty_simple("video/x-raw"));
  GValue formats = G_VALUE_INIT;
  g_value_init(&formats, GST_TYPE_LIST);
  for (const GstVideoFormat format : kDrawableFormats) {
    GValue name = G_VALUE_INIT;
    g_value_init(&name, G_TYPE_STRING);
    g_value_set_static_string(&name, gst_video_format_to_string(format));
    gst_value_list_append_and_take_value(&formats, &name);
  }
  gst_caps_set_value(caps.get(), "format", &formats);
  g_value_unset(&formats);
  return caps;
}

std::optional<YuvPicture> PictureOfFrame(const GstVideoFrame& frame) {
  const GstVideoFormatInfo* format = frame.info.finfo;
  if (!IsDrawable(GST_VIDEO_FORMAT_INFO_FORMAT(format))) return std::nullopt;
  YuvPicture picture;
  picture.width = GST_VIDEO_INFO_WIDTH(&frame.info);
  picture.height = GST_VIDEO_INFO_HEIGHT(&frame.info);
  picture.y = Plane(frame, GST_VIDEO_COMP_Y);
  picture.u = Plane(frame, GST_VIDEO_COMP_U);
  picture.v = Plane(frame, GST_VIDEO_COMP_V);
  picture.chromaShiftX = GST_VIDEO_FORMAT_INFO_W_SUB(format, GST_VIDEO_COMP_U);
  picture.chromaShiftY = GST_VIDEO_FORMAT_INFO_H_SUB(format, GST_VIDEO_COMP_U);
  picture.coding = CodingOf(frame.info);
  return picture;
}

}  // namespace ostrel
