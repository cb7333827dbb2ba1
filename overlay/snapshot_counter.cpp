#include "overlay/snapshot_counter.h"

#include <limits>
#include <string>
#include <system_error>

#include "overlay/capture_messages.h"
#include "overlay/file_bytes.h"

namespace ostrel {
namespace {

bool NameTaken(const std::filesystem::path& path) {
  std::error_code error;
  const auto status = std::filesystem::symlink_status(path, error);
  return std::filesystem::exists(status);
}

}  // namespace

std::filesystem::path SnapshotPath(const std::filesystem::path& folder, std::int32_t number) {
  return folder / (std::to_string(number) + ".bmp");
}

bool WriteNumberedSnapshot(const std::filesystem::path& folder, std::span<const std::uint8_t> bytes,
                           SnapshotCounter& counter, MessageSink& messages) {
  constexpr std::int32_t kLastNumber = std::numeric_limits<std::int32_t>::max();
  while (counter.next < kLastNumber && NameTaken(SnapshotPath(folder, counter.next)))
    ++counter.next;
  const std::filesystem::path path = SnapshotPath(folder, counter.next);
  if (counter.next < kLastNumber) ++counter.next;
  if (WriteWholeFile(path, FileCreation::NewOnly, {bytes})) return true;
  messages.Show(SnapshotNotWrittenMessage(path.string()));
  return false;
}

}  // namespace ostrel
