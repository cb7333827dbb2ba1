// Prints where each control of the viewer's control bar lies within the bar, one line
// "id x y width height" in pixels, as the bar lays them out on the current display. Lets the
// end-to-end test click the real bar's controls, which X knows nothing of.
#include <QApplication>
#include <cstdio>

#include "app/control_bar.h"
#include "app/control_bar_layout.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const ostrel::ControlBar bar;
  for (const ostrel::BarControl& entry : ostrel::kControlBarControls) {
    const QRect place = bar.control(entry.id)->geometry();
    std::printf("%d %d %d %d %d\n", entry.id, place.x(), place.y(), place.width(), place.height());
  }
  return 0;
}
