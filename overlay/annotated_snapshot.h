#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "overlay/overlay_pens.h"
#include "overlay/overlay_scene.h"
#include "overlay/snapshot_counter.h"
#include "track/message_sink.h"

namespace ostrel {

// Where captures go, and who hears about a capture that fails.
struct SnapshotTarget {
  std::filesystem::path folder;  // the viewer's working folder
  SnapshotCounter& counter;
  MessageSink& messages;
};

// "<folder>/1.bmp", the latest grabbed frame.
std::filesystem::path CapturePath(const std::filesystem::path& folder);

// The bytes of the annotated snapshot of a grabbed frame's file image: its first 14 bytes as
// they are, its info header with biSizeImage recomputed, then the picture with the current
// frame's points, trails and boxes drawn in. The same file image and scene always give the
// same bytes. Nothing, with the user told (naming `pathForMessages`), when the image holds
// no complete uncompressed 24-bit picture.
std::optional<std::vector<std::uint8_t>> AnnotateCapturedFrame(std::span<const std::uint8_t> image,
                                                               const OverlayScene& scene,
                                                               const OverlayPens& pens,
                                                               const std::string& pathForMessages,
                                                               MessageSink& messages);

// Reads "1.bmp" of the target folder, annotates it and writes it to the next free numbered
// file. The counter advances only when a snapshot was made and got as far as its file name.
bool WriteAnnotatedSnapshot(const OverlayScene& scene, const OverlayPens& pens,
                            SnapshotTarget& target);

}  // namespace ostrel
