#include "overlay/capture_messages.h"

namespace ostrel {
namespace {

UserMessage Error(std::string text) { return {std::move(text), "Error", MessageOwner::MainWindow}; }

}  // namespace

UserMessage CaptureNotWrittenMessage(const std::string& path) {
  return Error("The captured frame could not be written to " + path + ".");
}

UserMessage CaptureNotReadMessage(const std::string& path) {
  return Error("The captured frame " + path +
               " could not be read; no annotated snapshot was made.");
}

UserMessage CaptureIncompleteMessage(const std::string& path) {
  return Error("The captured frame " + path +
               " holds fewer picture bytes than its header states (no frame had been grabbed?);"
               " no annotated snapshot was made.");
}

UserMessage CaptureUnsupportedMessage(const std::string& path) {
  return Error("The captured frame " + path +
               " is not an uncompressed 24-bit bottom-up picture; no annotated snapshot was made.");
}

UserMessage SnapshotNotWrittenMessage(const std::string& path) {
  return Error("The annotated snapshot could not be written to " + path + ".");
}

}  // namespace ostrel
