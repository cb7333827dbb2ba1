#pragma once

#include <filesystem>
#include <string>

namespace ostrel::testing {

// A fresh, empty folder under the system's temporary folder, removed with everything in it
// when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path of `name` inside the folder, as a string for the loaders.
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace ostrel::testing
