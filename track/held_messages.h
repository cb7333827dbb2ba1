#pragma once

#include <utility>
#include <vector>

#include "track/message_sink.h"

namespace ostrel {

// Keeps the messages of work done on another thread until the thread that owns the real sink
// shows them: a desktop shell can show a box only from its own thread.
class HeldMessages final : public MessageSink {
 public:
  void Show(const UserMessage& message) override { held_.push_back(message); }

  // Shows the held messages, in the order they came, and forgets them.
  void ShowTo(MessageSink& sink) {
    std::vector<UserMessage> held;
    held.swap(held_);
    for (const UserMessage& message : held) sink.Show(message);
  }

 private:
  std::vector<UserMessage> held_;
};

}  // namespace ostrel
