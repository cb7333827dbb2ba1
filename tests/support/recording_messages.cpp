#include "tests/support/recording_messages.h"

namespace ostrel::testing {

void RecordingMessages::Show(const UserMessage& message) { shown.push_back(message); }

}  // namespace ostrel::testing
