#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include "app/control_bar.h"
#include "app/trackbar.h"
#include "app/video_view.h"
#include "tests/app/recording_handlers.h"
#include "tests/support/recording_messages.h"
#include "video/media_graph.h"

namespace ostrel {
namespace {

using testing::RecordingHandlers;
using testing::RecordingMessages;
using Calls = std::vector<std::string>;

// A main window whose dispatch reaches recording handlers.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  RecordingHandlers* handlers = nullptr;
  RecordingMessages messages;
  MainWindow window{nullptr, messages, [this](MainWindow&) {
                      auto recording = std::make_unique<RecordingHandlers>();
                      handlers = recording.get();
                      return recording;
                    }};
};

QAction* FindMenuAction(QMenuBar* bar, const QString& text) {
  for (QAction* top : bar->actions()) {
    if (!top->menu()) continue;
    for (QAction* item : top->menu()->actions()) {
      if (item->text() == text) return item;
    }
  }
  return nullptr;
}

TEST_F(MainWindowTest, StartsWithItsTitleSizeAndIcon) {
  EXPECT_EQ(window.windowTitle(), QStringLiteral("OstrelApp[Tovik]"));
  EXPECT_EQ(window.size(), QSize(800, 600));
  EXPECT_FALSE(window.windowIcon().isNull());
  EXPECT_EQ(window.state().videoRect, (VideoRect{0, 0, 800, 600}));
  EXPECT_EQ(window.state().videoSize, (VideoSize{0, 0}));
  EXPECT_EQ(window.state().trackStore.CurrentSlot, -1);
  EXPECT_EQ(window.state().clockOffset, (ClockOffset{0, 0}));
  EXPECT_FALSE(window.playbackTimer().isActive());
  EXPECT_EQ(window.playbackTimer().interval(), 100);
}

TEST_F(MainWindowTest, MenuHoldsOpenAndExitUnderFile) {
  const QList<QAction*> menus = window.menuBar()->actions();
  ASSERT_EQ(menus.size(), 1);
  EXPECT_EQ(menus[0]->text(), QString::fromUtf8("ファイル(&F)"));
  ASSERT_NE(menus[0]->menu(), nullptr);
  const QList<QAction*> items = menus[0]->menu()->actions();
  ASSERT_EQ(items.size(), 2);
  EXPECT_EQ(items[0]->text(), QStringLiteral("Open AVI"));
  EXPECT_EQ(items[0]->data().toInt(), 12);
  EXPECT_EQ(items[1]->text(), QStringLiteral("Exit"));
  EXPECT_EQ(items[1]->data().toInt(), 11);
}

TEST_F(MainWindowTest, MenuItemsReachTheirHandlers) {
  FindMenuAction(window.menuBar(), QStringLiteral("Open AVI"))->trigger();
  FindMenuAction(window.menuBar(), QStringLiteral("Exit"))->trigger();
  EXPECT_EQ(handlers->calls, (Calls{"OpenVideo", "ExitViewer"}));
}

TEST_F(MainWindowTest, ControlBarStartsDisabledAndDockedOnTheBottomEdge) {
  ControlBar& bar = window.controlBar();
  EXPECT_FALSE(bar.isEnabled());
  EXPECT_TRUE(bar.isVisible());
  EXPECT_EQ(bar.parentWidget(), &window.clientArea());
  const QSize client = window.clientArea().size();
  EXPECT_EQ(window.clientArea().geometry().top(), window.menuBar()->geometry().bottom() + 1);
  EXPECT_EQ(bar.geometry(), QRect(0, client.height() - bar.height(), client.width(), bar.height()));
  for (const int id : {1001, 1002, 1003, 1006, 1008, 1010, 1011}) {
    EXPECT_FALSE(bar.control(id)->isEnabled()) << id;
  }
  // A click on the disabled bar reaches no handler.
  QTest::mouseClick(bar.control(1011), Qt::LeftButton);
  QTest::mouseClick(bar.trackbar(), Qt::LeftButton, {}, QPoint(bar.trackbar()->width() - 5, 5));
  EXPECT_EQ(handlers->calls, Calls{});
}

TEST_F(MainWindowTest, EnabledBarReachesTheDispatchByIdWithShiftAsHeld) {
  ControlBar& bar = window.controlBar();
  bar.setEnabled(true);
  for (const int id : {1004, 1005, 1007, 1009, 1012}) bar.control(id)->setEnabled(true);
  const std::pair<int, Qt::KeyboardModifiers> clicks[] = {
      {1001, {}}, {1002, {}}, {1003, {}}, {1004, {}}, {1004, Qt::ShiftModifier},
      {1005, {}}, {1005, Qt::ShiftModifier}, {1007, {}}, {1008, {}}, {1009, {}},
      {1010, {}}, {1011, {}}, {1012, {}}};
  for (const auto& [id, modifiers] : clicks) {
    QTest::mouseClick(bar.control(id), Qt::LeftButton, modifiers);
  }
  QTest::mouseClick(bar.trackbar(), Qt::LeftButton, {}, QPoint(bar.trackbar()->width() - 5, 5));
  EXPECT_EQ(handlers->calls,
            (Calls{"StopPlayback", "StartPlayback", "RewindToStart", "StepOffset LeftButton",
                   "StepOffset LeftButton shift", "StepOffset RightButton",
                   "StepOffset RightButton shift", "IgnoreCommand 1007", "ToggleGrabber",
                   "CaptureFrame", "ToggleTimeAdjustment", "ShowFrameTime", "IgnoreCommand 1012",
                   "SeekFromTrackbar"}));
}

TEST_F(MainWindowTest, ArrowKeysOfTheWindowStepTheOffsetWithShiftAsReported) {
  QTest::keyClick(&window, Qt::Key_Left);
  QTest::keyClick(&window, Qt::Key_Left, Qt::ShiftModifier);
  QTest::keyClick(&window, Qt::Key_Right);
  QTest::keyClick(&window, Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(&window, Qt::Key_Up);
  QTest::keyClick(&window, Qt::Key_X);
  EXPECT_EQ(handlers->calls,
            (Calls{"StepOffset LeftArrowKey", "StepOffset LeftArrowKey shift",
                   "StepOffset RightArrowKey", "StepOffset RightArrowKey shift"}));
}

TEST_F(MainWindowTest, ArrowKeysGoToAFocusedControlOfTheBar) {
  ControlBar& bar = window.controlBar();
  bar.setEnabled(true);
  bar.control(1011)->setFocus();
  ASSERT_TRUE(bar.control(1011)->hasFocus());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
  EXPECT_EQ(handlers->calls, Calls{});
}

TEST_F(MainWindowTest, AcceleratorsAreConsumedWithoutAHandler) {
  QTest::keyClick(&window, Qt::Key_Question, Qt::AltModifier);
  QTest::keyClick(&window, Qt::Key_Slash, Qt::AltModifier);
  EXPECT_EQ(handlers->calls, (Calls{"IgnoreCommand 10", "IgnoreCommand 10"}));
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  EXPECT_EQ(window.state().clockOffset, (ClockOffset{0, 0}));
}

TEST_F(MainWindowTest, TimerTicksAndGraphNoticesReachTheirHandlers) {
  window.playbackTimer().setInterval(1);
  window.playbackTimer().start();
  EXPECT_TRUE(QTest::qWaitFor([this] { return !handlers->calls.empty(); }, 2000));
  window.playbackTimer().stop();
  EXPECT_EQ(handlers->calls.front(), "PlaybackTick");
  handlers->calls.clear();
  window.OnGraphNotify();
  EXPECT_EQ(handlers->calls, Calls{"DrainGraphEvents"});
}

TEST_F(MainWindowTest, ResizingWithoutAVideoMovesOnlyTheBar) {
  const int barHeight = window.controlBar().height();
  for (const QSize size : {QSize(1000, 700), QSize(640, 480), QSize(300, 120)}) {
    window.resize(size);
    QApplication::processEvents();
    const QSize client = window.clientArea().size();
    EXPECT_EQ(window.controlBar().geometry(),
              QRect(0, client.height() - barHeight, client.width(), barHeight))
        << size.width() << "x" << size.height();
    EXPECT_EQ(window.state().videoRect, (VideoRect{0, 0, 800, 600}));
  }
  EXPECT_TRUE(window.videoView().isHidden());
}

TEST_F(MainWindowTest, ResizingWithAVideoLetterboxesThePicture) {
  window.state().videoSize = VideoSize{640, 480};
  window.state().held.videoWindow = true;
  const int barHeight = window.controlBar().height();
  const int menuHeight = window.clientArea().geometry().top();
  // A client area 1000 pixels wide and (620 + bar) high: the height decides.
  window.resize(1000, menuHeight + 620 + barHeight);
  QApplication::processEvents();
  ASSERT_EQ(window.clientArea().size(), QSize(1000, 620 + barHeight));
  EXPECT_EQ(window.state().videoRect, (VideoRect{87, 0, 826, 620}));
  EXPECT_EQ(window.videoView().geometry(), QRect(87, 0, 826, 620));
  // 640 wide: the width decides.
  window.resize(640, menuHeight + 620 + barHeight);
  QApplication::processEvents();
  EXPECT_EQ(window.state().videoRect, (VideoRect{0, 70, 640, 480}));
  EXPECT_EQ(window.videoView().geometry(), QRect(0, 70, 640, 480));
}

TEST_F(MainWindowTest, NoPictureIsLaidOutWhileNoVideoWindowIsHeld) {
  window.state().videoSize = VideoSize{640, 480};
  window.resize(1000, 700);
  QApplication::processEvents();
  window.LayoutClientArea();
  EXPECT_EQ(window.state().videoRect, (VideoRect{0, 0, 800, 600}));
}

TEST_F(MainWindowTest, ClosingReleasesInOrderAndEndsTheViewerOnce) {
  QSignalSpy ended(&window, &MainWindow::viewerEnded);
  window.state().trackStore.pointFrames.resize(3);
  window.state().trackStore.CurrentSlot = 1;
  window.state().held.videoWindow = true;
  window.videoView().show();
  window.playbackTimer().start();
  window.close();
  EXPECT_FALSE(window.playbackTimer().isActive());
  EXPECT_FALSE(window.state().held.videoWindow);
  EXPECT_TRUE(window.videoView().isHidden());
  EXPECT_EQ(window.state().trackStore.pointFrames.capacity(), 0u);
  EXPECT_EQ(window.state().trackStore.CurrentSlot, -1);
  EXPECT_EQ(ended.size(), 1);
  window.close();
  EXPECT_EQ(ended.size(), 1);
}

TEST(MainWindowViewerHandlersTest, ExitClosesTheWindowAndEndsTheViewer) {
  RecordingMessages messages;
  MainWindow window(nullptr, messages);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QSignalSpy ended(&window, &MainWindow::viewerEnded);
  window.DispatchCommand(11);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(ended.size(), 1);
  EXPECT_TRUE(messages.shown.empty());
}

TEST(MainWindowViewerHandlersTest, NothingChangesBeforeAVideoIsOpen) {
  RecordingMessages messages;
  MainWindow window(nullptr, messages);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QSignalSpy ended(&window, &MainWindow::viewerEnded);
  for (const auto modifiers : {Qt::KeyboardModifiers{}, Qt::KeyboardModifiers{Qt::ShiftModifier}}) {
    QTest::keyClick(&window, Qt::Key_Left, modifiers);
    QTest::keyClick(&window, Qt::Key_Right, modifiers);
  }
  QTest::keyClick(&window, Qt::Key_Question, Qt::AltModifier);
  for (const int id : {10, 1001, 1002, 1003, 1004, 1005, 1007, 1008, 1009, 1010, 1011, 1012}) {
    window.DispatchCommand(id);
  }
  window.OnGraphNotify();
  EXPECT_EQ(window.state().clockOffset, (ClockOffset{0, 0}));
  EXPECT_EQ(window.state().videoRect, (VideoRect{0, 0, 800, 600}));
  EXPECT_EQ(window.state().trackStore.CurrentSlot, -1);
  EXPECT_FALSE(window.controlBar().isEnabled());
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(ended.size(), 0);
}

}  // namespace
}  // namespace ostrel
