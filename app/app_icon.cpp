#include "app/app_icon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <utility>

namespace ostrel {
namespace {

// Draws the icon from its vector picture at whatever size is asked for, and names the
// sizes that title bars, task lists and switchers expect, so that window managers are
// handed those exactly.
class VectorIconEngine : public QIconEngine {
 public:
  explicit VectorIconEngine(QString path) : path_(std::move(path)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
    QSvgRenderer renderer(path_);
    renderer.render(painter, QRectF(rect));
  }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    const int side = qMin(size.width(), size.height());
    return QSize(side, side);
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    const QSize side = actualSize(size, mode, state);
    QPixmap pixmap(side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paint(&painter, QRect(QPoint(0, 0), side), mode, state);
    return pixmap;
  }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    return {QSize(16, 16), QSize(32, 32), QSize(48, 48)};
  }

  QIconEngine* clone() const override { return new VectorIconEngine(path_); }
  QString key() const override { return QStringLiteral("OstrelVectorIcon"); }

 private:
  QString path_;
};

}  // namespace

QIcon AppIcon() { return QIcon(new VectorIconEngine(QStringLiteral(":/ostrel/ostrel.svg"))); }

}  // namespace ostrel
