#include "clock/time_adjust_log.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#include "clock/wrapping_math.h"
#include "track/byte_source.h"

namespace ostrel {
namespace {

namespace fs = std::filesystem;

constexpr int kTemporaryNameAttempts = 16;

// A file created for this write alone, removed again unless it was renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const fs::path& folder) {
    std::random_device entropy;
    for (int attempt = 0; attempt < kTemporaryNameAttempts && !handle_; ++attempt) {
      path_ = folder / (std::string(".") + std::string(kTimeAdjustLogName) + "." +
                        std::to_string(entropy()) + ".tmp");
      // "x": fail rather than reuse a file someone else made under the same name.
      errno = 0;
      handle_.reset(std::fopen(path_.c_str(), "wbx"));
      if (!handle_ && errno != EEXIST) break;
    }
  }
  ~TemporaryFile() {
    handle_.reset();
    if (!committed_) {
      std::error_code ignored;
      fs::remove(path_, ignored);
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool opened() const { return handle_ != nullptr; }

  bool Write(std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), handle_.get()) == bytes.size();
  }

  // Closes the file and renames it to `target`, replacing what was there. A replaced file
  // keeps its permissions, as if it had been overwritten in place.
  bool CommitAs(const fs::path& target) {
    std::FILE* file = handle_.release();
    if (std::fclose(file) != 0) return false;
    std::error_code error;
    const fs::file_status existing = fs::status(target, error);
    if (fs::is_regular_file(existing)) fs::permissions(path_, existing.permissions(), error);
    fs::rename(path_, target, error);
    committed_ = !error;
    return committed_;
  }

 private:
  fs::path path_;
  FileHandle handle_;
  bool committed_ = false;
};

bool ReplaceFile(const fs::path& target, std::string_view content) {
  TemporaryFile temporary(target.parent_path());
  return temporary.opened() && temporary.Write(content) && temporary.CommitAs(target);
}

}  // namespace

std::string FormatTimeAdjustLog(const ClockOffset& offset) {
  const std::uint32_t v = UnsignedMagnitude(offset.adjustMs);
  std::string line = offset.adjustMs < 0 ? "TIMEADJ\t-\t" : "TIMEADJ\t+\t";
  line += std::to_string(v / 3600000u) + ":" + std::to_string(v / 60000u % 60u) + ":" +
          std::to_string(v / 1000u % 60u) + ":" + std::to_string(v % 1000u) + "\r\n";
  return line;
}

bool WriteTimeAdjustLog(const ClockOffset& offset, std::string_view folder, MessageSink& messages) {
  const fs::path target = fs::path(folder) / kTimeAdjustLogName;
  if (ReplaceFile(target, FormatTimeAdjustLog(offset))) return true;
  messages.Show({std::string(kTimeAdjustWriteFailedText), target.string()});
  return false;
}

}  // namespace ostrel
