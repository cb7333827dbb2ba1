#pragma once

#include <QWidget>
#include <map>

#include "app/dialog_units.h"

namespace ostrel {

class Trackbar;

// The strip of playback controls docked on the bottom edge of the main window. It does
// nothing by itself: every button and check box click is passed on as `command(id)`, and
// the end of every slider move as `trackbarEnded(id)`, so the main window's dispatch sees
// them by number. It swallows the keys that reach it, so arrow keys meant for a focused
// control never step the clock offset.
class ControlBar : public QWidget {
  Q_OBJECT

 public:
  explicit ControlBar(QWidget* parent = nullptr);

  // The control with this id, or nullptr for an id the bar does not have.
  QWidget* control(int id) const;
  Trackbar* trackbar() const;

  DialogBaseUnits baseUnits() const { return baseUnits_; }

 signals:
  void command(int id);
  void trackbarEnded(int id);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void AddControls();

  DialogBaseUnits baseUnits_;
  std::map<int, QWidget*> controls_;
};

}  // namespace ostrel
