#include "video/render_encoding.h"

#include <QString>
#include <algorithm>
#include <filesystem>

namespace ostrel {
namespace {

struct ContainerEncoding {
  const char* extension;
  RenderEncoding encoding;
};

// x264's constant quality at its "veryfast" preset: most of its speed, little of its
// quality lost. MPEG-4 Part 2 at a fixed quantiser of 3 keeps fine lines and small discs.
RenderEncoding H264(const char* muxer) {
  return {"x264enc", {{"speed-preset", "veryfast"}, {"pass", "qual"}, {"quantizer", "20"}}, muxer};
}

const std::vector<ContainerEncoding>& Containers() {
  static const std::vector<ContainerEncoding> containers = {
      {".avi", {"avenc_mpeg4", {{"pass", "quant"}, {"quantizer", "3"}, {"max-bframes", "0"}}, "avimux"}},
      {".mkv", H264("matroskamux")},
      {".mp4", H264("mp4mux")},
      {".mov", H264("qtmux")},
  };
  return containers;
}

}  // namespace

std::optional<RenderEncoding> EncodingForOutput(const std::string& path) {
  const QString extension =
      QString::fromStdString(std::filesystem::path(path).extension().string()).toLower();
  const auto& containers = Containers();
  const auto found = std::find_if(containers.begin(), containers.end(), [&](const ContainerEncoding& known) {
    return extension == QLatin1String(known.extension);
  });
  if (found == containers.end()) return std::nullopt;
  return found->encoding;
}

std::string KnownOutputExtensions() {
  std::string list;
  for (const ContainerEncoding& container : Containers()) {
    if (!list.empty()) list += ", ";
    list += container.extension;
  }
  return list;
}

}  // namespace ostrel
