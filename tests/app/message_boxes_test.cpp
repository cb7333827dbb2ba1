#include "app/message_boxes.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace ostrel {
namespace {

struct SeenBox {
  QString caption;
  QString text;
  QWidget* parent = nullptr;
  QMessageBox::StandardButtons buttons;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  bool modal = false;
};

// Shows `message` and reads the box while it is open, then presses its OK button.
SeenBox ShowAndRead(MessageBoxes& boxes, const UserMessage& message) {
  SeenBox seen;
  QTimer::singleShot(0, [&seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen = SeenBox{box->windowTitle(), box->text(), box->parentWidget(), box->standardButtons(),
                   box->icon(), box->isModal()};
    box->button(QMessageBox::Ok)->click();
  });
  boxes.Show(message);
  return seen;
}

TEST(MessageBoxesTest, ShowsTextAndCaptionWithAnOkButtonAndNoOwner) {
  MessageBoxes boxes;
  QWidget mainWindow;
  boxes.SetMainWindow(&mainWindow);
  const SeenBox seen = ShowAndRead(boxes, {"Failed in open LOG file.", "/videos/cam07_.log",
                                           MessageOwner::None});
  EXPECT_EQ(seen.caption, QStringLiteral("/videos/cam07_.log"));
  EXPECT_EQ(seen.text, QStringLiteral("Failed in open LOG file."));
  EXPECT_EQ(seen.parent, nullptr);
  EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
  EXPECT_TRUE(seen.modal);
}

TEST(MessageBoxesTest, MessagesOfTheMainWindowBelongToIt) {
  MessageBoxes boxes;
  QWidget mainWindow;
  boxes.SetMainWindow(&mainWindow);
  const SeenBox seen = ShowAndRead(
      boxes, {"再生に失敗しました", "アプリケーションエラー", MessageOwner::MainWindow});
  EXPECT_EQ(seen.caption, QString::fromUtf8("アプリケーションエラー"));
  EXPECT_EQ(seen.text, QString::fromUtf8("再生に失敗しました"));
  EXPECT_EQ(seen.parent, &mainWindow);
}

TEST(MessageBoxesTest, BeforeTheMainWindowExistsEveryMessageStandsAlone) {
  MessageBoxes boxes;
  const SeenBox seen =
      ShowAndRead(boxes, {"COMの初期化に失敗しました", "アプリケーションエラー", MessageOwner::MainWindow});
  EXPECT_EQ(seen.text, QString::fromUtf8("COMの初期化に失敗しました"));
  EXPECT_EQ(seen.parent, nullptr);
}

}  // namespace
}  // namespace ostrel
