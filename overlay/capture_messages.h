#pragma once

#include <string>

#include "track/message_sink.h"

namespace ostrel {

// What a capture tells the user when a file cannot be made or used; each names the path.
UserMessage CaptureNotWrittenMessage(const std::string& path);
UserMessage CaptureNotReadMessage(const std::string& path);
UserMessage CaptureIncompleteMessage(const std::string& path);
UserMessage CaptureUnsupportedMessage(const std::string& path);
UserMessage SnapshotNotWrittenMessage(const std::string& path);

}  // namespace ostrel
