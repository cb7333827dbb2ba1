#include "overlay/frame_capture.h"

#include <limits>

#include "overlay/capture_messages.h"
#include "overlay/file_bytes.h"

namespace ostrel {

std::optional<std::vector<std::uint8_t>> EncodeCapturedFrame(const BitmapInfoHeader& header,
                                                             std::span<const std::uint8_t> pixels) {
  if (pixels.size() > std::numeric_limits<std::uint32_t>::max() - kBitmapPixelOffset)
    return std::nullopt;
  BitmapFileHeader file;
  file.bfSize = static_cast<std::uint32_t>(pixels.size() + kBitmapPixelOffset);
  const auto fileBytes = EncodeBitmapFileHeader(file);
  const auto infoBytes = EncodeBitmapInfoHeader(header);
  std::vector<std::uint8_t> bytes(fileBytes.begin(), fileBytes.end());
  bytes.insert(bytes.end(), infoBytes.begin(), infoBytes.end());
  bytes.insert(bytes.end(), pixels.begin(), pixels.end());
  return bytes;
}

bool WriteCapturedFrame(const std::filesystem::path& path, const BitmapInfoHeader& header,
                        std::span<const std::uint8_t> pixels, MessageSink& messages) {
  const auto bytes = EncodeCapturedFrame(header, pixels);
  if (bytes && WriteWholeFile(path, FileCreation::Replace, {*bytes})) return true;
  messages.Show(CaptureNotWrittenMessage(path.string()));
  return false;
}

bool CaptureFrame(const BitmapInfoHeader& header, std::span<const std::uint8_t> pixels,
                  const OverlayScene& scene, const OverlayPens& pens, SnapshotTarget& target) {
  if (!WriteCapturedFrame(CapturePath(target.folder), header, pixels, target.messages))
    return false;
  return WriteAnnotatedSnapshot(scene, pens, target);
}

}  // namespace ostrel
