#pragma once

#include <ostream>
#include <vector>

#include "track/message_sink.h"

namespace ostrel::cli {

// Where the viewer would show a message box, the command line prints "caption: text" to
// its error stream, and keeps the message for a machine-readable report.
class ConsoleMessages : public MessageSink {
 public:
  explicit ConsoleMessages(std::ostream& err) : err_(err) {}
  void Show(const UserMessage& message) override;

  const std::vector<UserMessage>& shown() const { return shown_; }

 private:
  std::ostream& err_;
  std::vector<UserMessage> shown_;
};

}  // namespace ostrel::cli
