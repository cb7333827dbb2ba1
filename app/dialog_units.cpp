#include "app/dialog_units.h"

#include <QFont>
#include <QFontMetrics>

namespace ostrel {
namespace {

// value x numerator / denominator, rounded half away from zero, for non-negative layouts.
int ScaleRounded(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : (product - half) / denominator);
}

}  // namespace

DialogBaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  return DialogBaseUnits{metrics.averageCharWidth(), metrics.height()};
}

int DialogUnitsToPixelsX(int units, const DialogBaseUnits& base) {
  return ScaleRounded(units, base.averageCharWidth, 4);
}

int DialogUnitsToPixelsY(int units, const DialogBaseUnits& base) {
  return ScaleRounded(units, base.fontHeight, 8);
}

QRect DialogRectToPixels(const QRect& units, const DialogBaseUnits& base) {
  return QRect(DialogUnitsToPixelsX(units.x(), base), DialogUnitsToPixelsY(units.y(), base),
               DialogUnitsToPixelsX(units.width(), base), DialogUnitsToPixelsY(units.height(), base));
}

}  // namespace ostrel
