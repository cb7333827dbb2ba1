#include "tests/cli/decoded_video.h"

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#include <memory>

#include "video/gst_handles.h"
#include "video/media_services.h"

namespace ostrel::testing {
namespace {

QImage CopyFrame(GstSample* sample) {
  GstVideoInfo info;
  GstBuffer* buffer = gst_sample_get_buffer(sample);
  if (!gst_video_info_from_caps(&info, gst_sample_get_caps(sample))) return {};
  GstVideoFrame frame;
  if (!gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ)) return {};
  QImage copy = QImage(static_cast<const uchar*>(frame.data[0]), info.width, info.height, frame.info.stride[0],
                       QImage::Format_RGB32)
                    .copy();
  gst_video_frame_unmap(&frame);
  return copy;
}

}  // namespace

DecodedVideo DecodeVideo(const std::string& path, const std::vector<int>& keep) {
  DecodedVideo video;
  if (!InitializeMediaServices()) return video;
  GError* parseError = nullptr;
  const GCharPtr location(g_strescape(path.c_str(), nullptr));
  const std::string description = "filesrc location=\"" + std::string(location.get()) +
                                  "\" ! decodebin ! videoconvert ! video/x-raw,format=BGRx ! appsink name=sink sync=false";
  GstElementPtr pipeline(gst_parse_launch(description.c_str(), &parseError));
  const GErrorPtr ownedError(parseError);
  if (!pipeline) return video;
  // A floating reference becomes the handle's own; an ordinary one already is.
  if (g_object_is_floating(pipeline.get())) gst_object_ref_sink(pipeline.get());
  GstElementPtr sink(gst_bin_get_by_name(GstCast<GstBin>(pipeline.get()), "sink"));
  gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
  auto wanted = keep.begin();
  while (GstSamplePtr sample{gst_app_sink_pull_sample(GstCast<GstAppSink>(sink.get()))}) {
    const GstBuffer* buffer = gst_sample_get_buffer(sample.get());
    if (GST_BUFFER_PTS_IS_VALID(buffer)) video.lastFrameSeconds = static_cast<double>(GST_BUFFER_PTS(buffer)) / GST_SECOND;
    if (wanted != keep.end() && *wanted == video.frames) {
      video.kept.push_back(CopyFrame(sample.get()));
      ++wanted;
    }
    ++video.frames;
  }
  video.played = gst_app_sink_is_eos(GstCast<GstAppSink>(sink.get()));
  gst_element_set_state(pipeline.get(), GST_STATE_NULL);
  return video;
}

}  // namespace ostrel::testing
