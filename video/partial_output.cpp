#include "video/partial_output.h"

namespace ostrel {

PartialOutput::~PartialOutput() {
  if (kept_) return;
  std::error_code error;
  if (std::filesystem::is_regular_file(std::filesystem::symlink_status(path_, error))) {
    std::filesystem::remove(path_, error);
  }
}

}  // namespace ostrel
