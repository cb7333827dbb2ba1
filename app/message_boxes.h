#pragma once

#include <QPointer>
#include <QWidget>

#include "track/message_sink.h"

namespace ostrel {

// Shows each message as a modal box with an OK button and no icon. A message that belongs
// to the main window is parented to it (once it exists), so it stays on top of it; the
// others stand alone.
class MessageBoxes : public MessageSink {
 public:
  void SetMainWindow(QWidget* window) { mainWindow_ = window; }
  void Show(const UserMessage& message) override;

 private:
  QPointer<QWidget> mainWindow_;
};

}  // namespace ostrel
