#include "overlay/annotated_snapshot.h"

#include "overlay/capture_messages.h"
#include "overlay/captured_frame.h"
#include "overlay/file_bytes.h"
#include "overlay/snapshot_drawing.h"

namespace ostrel {
namespace {

std::optional<CapturedFrame> CheckedFrame(std::span<const std::uint8_t> image,
                                          const std::string& path, MessageSink& messages) {
  CapturedFrame frame;
  switch (CheckCapturedFrame(image, frame.info)) {
    case CapturedFrameProblem::None:
      break;
    case CapturedFrameProblem::Incomplete:
      messages.Show(CaptureIncompleteMessage(path));
      return std::nullopt;
    case CapturedFrameProblem::Unsupported:
      messages.Show(CaptureUnsupportedMessage(path));
      return std::nullopt;
  }
  frame.image.assign(image.begin(), image.end());
  return frame;
}

std::vector<std::uint8_t> SnapshotBytes(const CapturedFrame& frame) {
  const auto info = EncodeBitmapInfoHeader(frame.info);
  std::vector<std::uint8_t> bytes(frame.image.begin(),
                                  frame.image.begin() + kBitmapFileHeaderBytes);
  bytes.insert(bytes.end(), info.begin(), info.end());
  const auto pixels = frame.image.begin() + kBitmapPixelOffset;
  bytes.insert(bytes.end(), pixels, pixels + frame.info.biSizeImage);
  return bytes;
}

}  // namespace

std::filesystem::path CapturePath(const std::filesystem::path& folder) { return folder / "1.bmp"; }

std::optional<std::vector<std::uint8_t>> AnnotateCapturedFrame(std::span<const std::uint8_t> image,
                                                               const OverlayScene& scene,
                                                               const OverlayPens& pens,
                                                               const std::string& pathForMessages,
                                                               MessageSink& messages) {
  std::optional<CapturedFrame> frame = CheckedFrame(image, pathForMessages, messages);
  if (!frame) return std::nullopt;
  QImage picture = PictureFromCapturedFrame(*frame);
  if (picture.isNull()) {
    messages.Show(CaptureNotReadMessage(pathForMessages));
    return std::nullopt;
  }
  DrawSnapshotOverlay(picture, scene, pens);
  StorePictureInCapturedFrame(picture, *frame);
  return SnapshotBytes(*frame);
}

bool WriteAnnotatedSnapshot(const OverlayScene& scene, const OverlayPens& pens,
                            SnapshotTarget& target) {
  const std::filesystem::path capture = CapturePath(target.folder);
  const auto image = ReadWholeFile(capture);
  if (!image) {
    target.messages.Show(CaptureNotReadMessage(capture.string()));
    return false;
  }
  const auto snapshot =
      AnnotateCapturedFrame(*image, scene, pens, capture.string(), target.messages);
  if (!snapshot) return false;
  return WriteNumberedSnapshot(target.folder, *snapshot, target.counter, target.messages);
}

}  // namespace ostrel
