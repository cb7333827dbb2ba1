#pragma once

#include <vector>

#include "track/message_sink.h"

namespace ostrel::testing {

// Keeps every message instead of showing it, so tests can check text, caption and owner.
class RecordingMessages : public MessageSink {
 public:
  void Show(const UserMessage& message) override;

  std::vector<UserMessage> shown;
};

// Drops every message, for benchmarks and fuzzing where nobody reads them.
class DiscardMessages : public MessageSink {
 public:
  void Show(const UserMessage&) override {}
};

}  // namespace ostrel::testing
