#include "app/trackbar.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

namespace ostrel {
namespace {

class TrackbarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    slider.resize(400, 30);
    slider.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
  }

  QPoint Middle(int x) const { return QPoint(x, slider.height() / 2); }

  Trackbar slider;
  QSignalSpy ends{&slider, &Trackbar::trackEnded};
};

TEST_F(TrackbarTest, ADragEndsOnceWhenTheButtonIsReleased) {
  QTest::mousePress(&slider, Qt::LeftButton, {}, Middle(3));
  ASSERT_TRUE(slider.isSliderDown()) << "the press must catch the thumb at 0";
  for (const int x : {100, 200, 300}) {
    QTest::mouseMove(&slider, Middle(x));
    EXPECT_EQ(ends.size(), 0) << "still dragging at " << x;
  }
  EXPECT_GT(slider.value(), 50);
  QTest::mouseRelease(&slider, Qt::LeftButton, {}, Middle(300));
  EXPECT_EQ(ends.size(), 1);
}

TEST_F(TrackbarTest, AKeyStepEndsWhenTheKeyIsReleased) {
  QTest::keyPress(&slider, Qt::Key_Right);
  EXPECT_EQ(slider.value(), 1);
  EXPECT_EQ(ends.size(), 0);
  QTest::keyRelease(&slider, Qt::Key_Right);
  EXPECT_EQ(ends.size(), 1);
  QTest::keyClick(&slider, Qt::Key_End);
  EXPECT_EQ(slider.value(), 100);
  EXPECT_EQ(ends.size(), 2);
}

TEST_F(TrackbarTest, HeldKeyRepeatsWithoutEndingUntilReleased) {
  QTest::keyPress(&slider, Qt::Key_PageUp);
  const int afterFirstStep = slider.value();
  // Holding a key repeats it as released-and-pressed pairs marked as repeats.
  QKeyEvent repeatedRelease(QEvent::KeyRelease, Qt::Key_PageUp, Qt::NoModifier, QString(), true);
  QApplication::sendEvent(&slider, &repeatedRelease);
  QTest::keyPress(&slider, Qt::Key_PageUp);
  EXPECT_GT(slider.value(), afterFirstStep);
  EXPECT_EQ(ends.size(), 0);
  QTest::keyRelease(&slider, Qt::Key_PageUp);
  EXPECT_EQ(ends.size(), 1);
}

TEST_F(TrackbarTest, OtherKeysAndValuesSetByCodeDoNotEnd) {
  QTest::keyClick(&slider, Qt::Key_A);
  QTest::keyClick(&slider, Qt::Key_Return);
  slider.setValue(37);
  EXPECT_EQ(ends.size(), 0);
  EXPECT_EQ(slider.value(), 37);
}

TEST_F(TrackbarTest, AWheelStepThatMovesTheThumbEnds) {
  auto wheel = [this](int delta) {
    QWheelEvent event(QPointF(Middle(200)), slider.mapToGlobal(QPointF(Middle(200))), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&slider, &event);
  };
  wheel(120);
  EXPECT_GT(slider.value(), 0);
  EXPECT_EQ(ends.size(), 1);
  wheel(-120);
  wheel(-120);  // already at 0: nothing moves, nothing ends
  EXPECT_EQ(slider.value(), 0);
  EXPECT_EQ(ends.size(), 2);
}

TEST_F(TrackbarTest, OtherMouseButtonsDoNotEnd) {
  QTest::mouseClick(&slider, Qt::RightButton, {}, Middle(300));
  EXPECT_EQ(ends.size(), 0);
}

}  // namespace
}  // namespace ostrel
