#include "app/control_bar.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>

#include "app/control_bar_layout.h"
#include "app/trackbar.h"

namespace ostrel {
namespace {

QRect UnitsRect(const BarControl& entry) { return QRect(entry.x, entry.y, entry.width, entry.height); }

}  // namespace

ControlBar::ControlBar(QWidget* parent) : QWidget(parent) {
  QFont barFont = font();
  barFont.setPointSize(kControlBarPointSize);
  setFont(barFont);
  baseUnits_ = BaseUnitsOf(barFont);
  // The bar is a window of its own, like a dialog docked in the viewer: it can be found
  // and measured from outside the process, and the picture never paints over it.
  setAttribute(Qt::WA_DontCreateNativeAncestors);
  setAttribute(Qt::WA_NativeWindow);
  resize(DialogUnitsToPixelsX(kControlBarWidthUnits, baseUnits_),
         DialogUnitsToPixelsY(kControlBarHeightUnits, baseUnits_));
  AddControls();
}

void ControlBar::AddControls() {
  for (const BarControl& entry : kControlBarControls) {
    const int id = entry.id;
    QWidget* widget = nullptr;
    if (entry.kind == ControlKind::Trackbar) {
      auto* slider = new Trackbar(this);
      connect(slider, &Trackbar::trackEnded, this, [this, id] { emit trackbarEnded(id); });
      widget = slider;
    } else {
      QAbstractButton* button = nullptr;
      if (entry.kind == ControlKind::CheckBox) {
        button = new QCheckBox(QString::fromUtf8(entry.caption), this);
      } else {
        button = new QPushButton(QString::fromUtf8(entry.caption), this);
      }
      connect(button, &QAbstractButton::clicked, this, [this, id] { emit command(id); });
      widget = button;
    }
    widget->setObjectName(QStringLiteral("control%1").arg(id));
    widget->setGeometry(DialogRectToPixels(UnitsRect(entry), baseUnits_));
    widget->setEnabled(entry.enabled);
    controls_.emplace(id, widget);
  }
}

QWidget* ControlBar::control(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second;
}

Trackbar* ControlBar::trackbar() const { return static_cast<Trackbar*>(control(kControlTrackbar)); }

void ControlBar::keyPressEvent(QKeyEvent* event) { event->accept(); }

}  // namespace ostrel
