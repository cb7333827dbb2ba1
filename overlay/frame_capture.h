#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "overlay/annotated_snapshot.h"
#include "overlay/bitmap_headers.h"
#include "overlay/overlay_pens.h"
#include "overlay/overlay_scene.h"
#include "track/message_sink.h"

namespace ostrel {

// The bytes of a grabbed frame's file: the 14-byte file header (file size n + 54, pixels at
// 54), the grabber's info header as received, then the n pixel bytes as delivered. Nothing
// when n + 54 does not fit the file size field.
std::optional<std::vector<std::uint8_t>> EncodeCapturedFrame(const BitmapInfoHeader& header,
                                                             std::span<const std::uint8_t> pixels);

// Writes the grabbed frame to `path`, replacing what was there; the user is told, naming the
// path, when it cannot be written.
bool WriteCapturedFrame(const std::filesystem::path& path, const BitmapInfoHeader& header,
                        std::span<const std::uint8_t> pixels, MessageSink& messages);

// Writes the grabbed frame to "1.bmp" of the target folder and then its annotated snapshot.
// When "1.bmp" cannot be written no snapshot is made, so none ever comes from an older
// capture. True when both files were written.
bool CaptureFrame(const BitmapInfoHeader& header, std::span<const std::uint8_t> pixels,
                  const OverlayScene& scene, const OverlayPens& pens, SnapshotTarget& target);

}  // namespace ostrel
