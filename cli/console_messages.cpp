#include "cli/console_messages.h"

namespace ostrel::cli {

void ConsoleMessages::Show(const UserMessage& message) {
  err_ << message.caption << ": " << message.text << '\n';
  shown_.push_back(message);
}

}  // namespace ostrel::cli
