#pragma once

#include <QRect>

class QFont;

namespace ostrel {

// A font's dialog base units: the control bar is laid out in dialog units, so its controls
// keep their proportions to the text whatever font size the desktop uses.
struct DialogBaseUnits {
  int averageCharWidth = 0;  // pixels; one horizontal dialog unit is a quarter of it
  int fontHeight = 0;        // pixels; one vertical dialog unit is an eighth of it
};

DialogBaseUnits BaseUnitsOf(const QFont& font);

// Dialog units to pixels, rounded to the nearest pixel.
int DialogUnitsToPixelsX(int units, const DialogBaseUnits& base);
int DialogUnitsToPixelsY(int units, const DialogBaseUnits& base);
QRect DialogRectToPixels(const QRect& units, const DialogBaseUnits& base);

}  // namespace ostrel
