#include "overlay/pixel_canvas.h"

#include <utility>

#include "overlay/pixel_shapes.h"

namespace ostrel {

PixelCanvas::PixelCanvas(QImage& image, DrawMode mode, Pen pen, StrokeMarks* marks, TileMarks* tiles)
    : image_(image),
      pen_(std::move(pen)),
      painted_(marks ? *marks : ownMarks_),
      tiles_(tiles && tiles->picture() == image.size() ? tiles : nullptr) {
  if (PixelWriter::Supports(image.format())) {
    writer_.emplace(image, mode);
    return;
  }
  painter_.emplace(&image);
  painter_->setRenderHint(QPainter::Antialiasing, false);
  painter_->setCompositionMode(mode == DrawMode::Xor ? QPainter::RasterOp_SourceXorDestination
                                                     : QPainter::CompositionMode_Source);
}

PixelCanvas::~PixelCanvas() { Flush(); }

void PixelCanvas::SelectPen(const Pen& pen) {
  Flush();
  pen_ = pen;
}

void PixelCanvas::MoveTo(PixelPoint point) {
  Flush();
  position_ = point;
}

void PixelCanvas::LineTo(PixelPoint point) {
  AppendLinePixels(position_, point, pen_.width, image_.rect(), stroke_);
  position_ = point;
}

void PixelCanvas::Flush() {
  if (stroke_.empty()) return;
  if (writer_) {
    PaintStroke();
  } else {
    PaintSpans(MergeIntoSpans(stroke_), pen_.colour);
  }
  stroke_.clear();
}

// Each pixel of the stroke once, marked off as it is painted and the marks taken back after.
// Copying the pen's colour again changes nothing, so only a combining stroke needs marks.
void PixelCanvas::PaintStroke() {
  writer_->SetColour(pen_.colour);
  if (tiles_) {
    for (const PixelPoint& pixel : stroke_) tiles_->MarkPixel(pixel.x, pixel.y);
  }
  if (!writer_->combines()) {
    for (const PixelPoint& pixel : stroke_) writer_->Put(pixel.x, pixel.y);
    return;
  }
  const auto width = static_cast<std::size_t>(image_.width());
  const std::size_t size = width * static_cast<std::size_t>(image_.height());
  if (painted_.size() != size) painted_.assign(size, 0);
  for (const PixelPoint& pixel : stroke_) {
    std::uint8_t& mark = painted_[static_cast<std::size_t>(pixel.y) * width + static_cast<std::size_t>(pixel.x)];
    writer_->PutUnless(pixel.x, pixel.y, mark != 0);
    mark = 1;
  }
  for (const PixelPoint& pixel : stroke_) {
    painted_[static_cast<std::size_t>(pixel.y) * width + static_cast<std::size_t>(pixel.x)] = 0;
  }
}

void PixelCanvas::PaintSpans(const std::vector<PixelSpan>& spans, const QColor& colour) {
  if (tiles_) {
    for (const PixelSpan& span : spans) tiles_->MarkSpan(span.y, span.left, span.right);
  }
  if (writer_) {
    writer_->SetColour(colour);
    for (const PixelSpan& span : spans) writer_->PutSpan(span);
    return;
  }
  for (const PixelSpan& span : spans) {
    painter_->fillRect(QRect(span.left, span.y, span.right - span.left + 1, 1), colour);
  }
}

void PixelCanvas::Ellipse(std::int64_t left, std::int64_t top, std::int64_t right,
                          std::int64_t bottom, const QColor& colour) {
  Flush();
  std::vector<PixelSpan> spans;
  AppendEllipseSpans(left, top, right, bottom, image_.rect(), spans);
  PaintSpans(spans, colour);
}

void PixelCanvas::FillRect(const QRect& rect, const QColor& colour) {
  Flush();
  const QRect inside = rect & image_.rect();
  std::vector<PixelSpan> spans;
  for (int y = inside.top(); y <= inside.bottom(); ++y) spans.push_back({y, inside.left(), inside.right()});
  PaintSpans(spans, colour);
}

}  // namespace ostrel
