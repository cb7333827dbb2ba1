#pragma once

#include <QColor>
#include <array>
#include <cstdint>

namespace ostrel {

struct Pen {
  QColor colour;
  std::int32_t width = 1;

  bool operator==(const Pen&) const = default;
};

// The pens and the brush every overlay draws with. Pens 4 to 6 exist but draw nothing.
struct OverlayPens {
  std::array<Pen, 7> pens;
  Pen whitePen;
  QColor whiteBrush;
};

inline constexpr std::int32_t kOverlayPenWidth = 2;

// The pens in their fixed colours: red, pink, orange, violet, yellow, magenta, cyan.
OverlayPens MakeOverlayPens();

}  // namespace ostrel
