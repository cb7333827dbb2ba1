#include "app/dialog_units.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>

namespace ostrel {
namespace {

TEST(DialogUnitsTest, ConvertsWithTheFontsBaseUnitsRoundingToTheNearestPixel) {
  struct Case {
    DialogBaseUnits base;
    QRect units;
    QRect pixels;
  };
  const Case cases[] = {
      // The classic 6 x 13 base: 1 unit = 1.5 pixels across and 1.625 down.
      {{6, 13}, QRect(38, 20, 17, 13), QRect(57, 33, 26, 21)},   // 25.5 -> 26, 32.5 -> 33, 21.125 -> 21
      {{6, 13}, QRect(7, 7, 479, 8), QRect(11, 11, 719, 13)},    // 10.5 -> 11, 11.375 -> 11, 718.5 -> 719
      {{7, 16}, QRect(433, 20, 50, 14), QRect(758, 40, 88, 28)}, // 757.75 -> 758, 87.5 -> 88
      {{5, 11}, QRect(0, 0, 494, 43), QRect(0, 0, 618, 59)},     // 617.5 -> 618, 59.125 -> 59
  };
  for (const Case& entry : cases) {
    EXPECT_EQ(DialogRectToPixels(entry.units, entry.base), entry.pixels) << entry.units.x();
  }
}

TEST(DialogUnitsTest, BaseUnitsAreTheFontsAverageWidthAndHeight) {
  QFont font;
  font.setPointSize(8);
  const QFontMetrics metrics(font);
  const DialogBaseUnits base = BaseUnitsOf(font);
  EXPECT_EQ(base.averageCharWidth, metrics.averageCharWidth());
  EXPECT_EQ(base.fontHeight, metrics.height());
  EXPECT_GT(base.averageCharWidth, 0);
  EXPECT_GT(base.fontHeight, 0);
}

}  // namespace
}  // namespace ostrel
