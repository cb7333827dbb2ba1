#pragma once

#include <string>

namespace ostrel {

// Who a message box belongs to: file loading and the time log speak without an owner,
// graph building during an Open speaks for the main window.
enum class MessageOwner { None, MainWindow };

struct UserMessage {
  std::string text;
  std::string caption;
  MessageOwner owner = MessageOwner::None;

  bool operator==(const UserMessage&) const = default;
};

// The one way the core tells the user something went wrong. The desktop shell shows a
// modal box with an OK button; the command-line tool prints; tests record.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void Show(const UserMessage& message) = 0;
};

}  // namespace ostrel
