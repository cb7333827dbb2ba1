#include "app/message_boxes.h"

#include <QMessageBox>

namespace ostrel {

void MessageBoxes::Show(const UserMessage& message) {
  QWidget* owner = message.owner == MessageOwner::MainWindow ? mainWindow_.data() : nullptr;
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(message.caption),
                  QString::fromStdString(message.text), QMessageBox::Ok, owner);
  box.exec();
}

}  // namespace ostrel
