#include "app/control_bar.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <cmath>

#include "app/trackbar.h"

namespace ostrel {
namespace {

enum class Kind { Button, CheckBox, Slider };

struct ExpectedControl {
  int id;
  Kind kind;
  const char* caption;
  bool enabled;
  QRect units;  // dialog units
};

// The bar as its users know it, written out independently of the code's own table.
const ExpectedControl kExpected[] = {
    {1001, Kind::Button, "■", true, QRect(38, 20, 17, 13)},
    {1002, Kind::Button, ">", true, QRect(66, 20, 17, 13)},
    {1003, Kind::Button, "<<", true, QRect(10, 20, 17, 13)},
    {1006, Kind::Slider, "", true, QRect(7, 7, 479, 8)},
    {1009, Kind::Button, "Capture", false, QRect(211, 20, 50, 14)},
    {1008, Kind::CheckBox, "Grabber", true, QRect(164, 20, 42, 15)},
    {1010, Kind::CheckBox, "AVI時刻調整", true, QRect(297, 20, 66, 15)},
    {1004, Kind::Button, "<", false, QRect(366, 21, 17, 13)},
    {1005, Kind::Button, ">", false, QRect(394, 21, 17, 13)},
    {1011, Kind::Button, "フレーム時刻", true, QRect(433, 20, 50, 14)},
    {1007, Kind::Button, "＋", false, QRect(94, 20, 17, 13)},
    {1012, Kind::Button, "－", false, QRect(122, 20, 17, 13)},
};

const int kButtonIds[] = {1001, 1002, 1003, 1004, 1005, 1007, 1008, 1009, 1010, 1011, 1012};

// Pixels from dialog units with the bar's font: a quarter of the average character width
// across, an eighth of the font height down, to the nearest pixel.
QRect ExpectedPixels(const QRect& units, const QFont& font) {
  const QFontMetrics metrics(font);
  const double x = metrics.averageCharWidth() / 4.0;
  const double y = metrics.height() / 8.0;
  return QRect(static_cast<int>(std::lround(units.x() * x)), static_cast<int>(std::lround(units.y() * y)),
               static_cast<int>(std::lround(units.width() * x)),
               static_cast<int>(std::lround(units.height() * y)));
}

class ControlBarTest : public ::testing::Test {
 protected:
  ControlBar bar;
};

TEST_F(ControlBarTest, HasTheTwelveControlsWithTheirCaptionsAndStates) {
  for (const ExpectedControl& expected : kExpected) {
    SCOPED_TRACE(expected.id);
    QWidget* control = bar.control(expected.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->parentWidget(), &bar);
    EXPECT_EQ(control->isEnabledTo(&bar), expected.enabled);
    switch (expected.kind) {
      case Kind::Button: {
        auto* button = qobject_cast<QPushButton*>(control);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::fromUtf8(expected.caption));
        break;
      }
      case Kind::CheckBox: {
        auto* box = qobject_cast<QCheckBox*>(control);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QString::fromUtf8(expected.caption));
        EXPECT_FALSE(box->isChecked());
        break;
      }
      case Kind::Slider: {
        auto* slider = qobject_cast<Trackbar*>(control);
        ASSERT_NE(slider, nullptr);
        EXPECT_EQ(slider, bar.trackbar());
        EXPECT_EQ(slider->orientation(), Qt::Horizontal);
        EXPECT_EQ(slider->minimum(), 0);
        EXPECT_EQ(slider->maximum(), 100);
        EXPECT_EQ(slider->value(), 0);
        EXPECT_EQ(slider->tickPosition(), QSlider::NoTicks);
        break;
      }
    }
  }
  EXPECT_EQ(bar.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 12);
  EXPECT_EQ(bar.control(1013), nullptr);
  EXPECT_EQ(bar.control(0), nullptr);
}

TEST_F(ControlBarTest, LaysOutTheControlsInDialogUnitsOfItsFont) {
  EXPECT_EQ(bar.font().pointSize(), 8);
  for (const ExpectedControl& expected : kExpected) {
    EXPECT_EQ(bar.control(expected.id)->geometry(), ExpectedPixels(expected.units, bar.font()))
        << "control " << expected.id;
  }
  EXPECT_EQ(bar.size(), ExpectedPixels(QRect(0, 0, 494, 43), bar.font()).size());
}

TEST_F(ControlBarTest, ForwardsEveryButtonAndCheckBoxClickByItsId) {
  QSignalSpy commands(&bar, &ControlBar::command);
  for (const int id : kButtonIds) {
    auto* button = qobject_cast<QAbstractButton*>(bar.control(id));
    ASSERT_NE(button, nullptr) << id;
    button->setEnabled(true);
    button->click();
  }
  ASSERT_EQ(commands.size(), std::size(kButtonIds));
  for (std::size_t i = 0; i < std::size(kButtonIds); ++i) {
    EXPECT_EQ(commands.at(static_cast<qsizetype>(i)).at(0).toInt(), kButtonIds[i]);
  }
  // The check boxes tick themselves before they report.
  EXPECT_TRUE(qobject_cast<QCheckBox*>(bar.control(1008))->isChecked());
  EXPECT_TRUE(qobject_cast<QCheckBox*>(bar.control(1010))->isChecked());
}

TEST_F(ControlBarTest, DisabledBarForwardsNothing) {
  bar.setEnabled(false);
  bar.resize(800, bar.height());
  bar.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
  QSignalSpy commands(&bar, &ControlBar::command);
  QSignalSpy ends(&bar, &ControlBar::trackbarEnded);
  for (const int id : kButtonIds) {
    QWidget* control = bar.control(id);
    EXPECT_FALSE(control->isEnabled()) << id;
    QTest::mouseClick(control, Qt::LeftButton);
  }
  QTest::mouseClick(bar.trackbar(), Qt::LeftButton, {}, QPoint(bar.trackbar()->width() - 5, 5));
  EXPECT_EQ(commands.size(), 0);
  EXPECT_EQ(ends.size(), 0);
  EXPECT_EQ(bar.trackbar()->value(), 0);
}

TEST_F(ControlBarTest, ReportsTheEndOfASliderMoveWithTheSlidersId) {
  bar.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
  QSignalSpy ends(&bar, &ControlBar::trackbarEnded);
  // A click beside the thumb steps a page and ends the move when the button goes up.
  QTest::mouseClick(bar.trackbar(), Qt::LeftButton, {}, QPoint(bar.trackbar()->width() - 5, 5));
  ASSERT_EQ(ends.size(), 1);
  EXPECT_EQ(ends.at(0).at(0).toInt(), 1006);
  EXPECT_GT(bar.trackbar()->value(), 0);
}

}  // namespace
}  // namespace ostrel
