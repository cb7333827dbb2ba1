#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "track/message_sink.h"

namespace ostrel {

// The number of the next annotated snapshot file; it lives as long as the viewer runs.
struct SnapshotCounter {
  std::int32_t next = 2;
};

// "<folder>/<number>.bmp"
std::filesystem::path SnapshotPath(const std::filesystem::path& folder, std::int32_t number);

// Writes `bytes` to the first numbered file from the counter on whose name is free, and
// raises the counter past it. A name is taken by anything already there (a dangling link
// too): earlier snapshots are never overwritten. When the file cannot be written the user is
// told, naming its path, and the counter stays past that number.
bool WriteNumberedSnapshot(const std::filesystem::path& folder, std::span<const std::uint8_t> bytes,
                           SnapshotCounter& counter, MessageSink& messages);

}  // namespace ostrel
