#pragma once

#include <filesystem>

namespace ostrel {

// An output file being written: unless Keep() is called, it is removed when this goes, so
// that a failed or interrupted write leaves no torn file behind. Only a regular file is
// ever removed (never a device such as /dev/null that an output was pointed at).
class PartialOutput {
 public:
  explicit PartialOutput(std::filesystem::path path) : path_(std::move(path)) {}
  ~PartialOutput();
  PartialOutput(const PartialOutput&) = delete;
  PartialOutput& operator=(const PartialOutput&) = delete;

  void Keep() { kept_ = true; }

 private:
  std::filesystem::path path_;
  bool kept_ = false;
};

}  // namespace ostrel
