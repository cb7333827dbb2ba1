#include "overlay/pixel_canvas.h"

#include <algorithm>
#include <utility>

#include "overlay/pixel_shapes.h"

namespace ostrel {

PixelCanvas::PixelCanvas(QImage& image, DrawMode mode, Pen pen, CanvasLedger ledger)
    : image_(image),
      pen_(std::move(pen)),
      painted_(ledger.marks ? *ledger.marks : ownMarks_),
      tiles_(ledger.tiles && ledger.tiles->picture() == image.size() ? ledger.tiles : nullptr),
      record_(mode == DrawMode::Xor && image.depth() == 32 && PixelWriter::Supports(image.format()) ? ledger.record
                                                                                                  : nullptr) {
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
  // The marks cover the stroke's bounding box only: a trail's few hundred pixels then find
  // their marks in a few kilobytes that stay in the nearest cache, not in a picture's worth.
  PixelPoint low = stroke_.front();
  PixelPoint high = low;
  for (const PixelPoint& pixel : stroke_) {
    low = {std::min(low.x, pixel.x), std::min(low.y, pixel.y)};
    high = {std::max(high.x, pixel.x), std::max(high.y, pixel.y)};
  }
  const auto boxWidth = static_cast<std::size_t>(high.x - low.x) + 1;
  const std::size_t boxSize = boxWidth * (static_cast<std::size_t>(high.y - low.y) + 1);
  if (painted_.size() < boxSize) painted_.resize(boxSize, 0);
  const auto markOf = [&](const PixelPoint& pixel) -> std::uint8_t& {
    return painted_[static_cast<std::size_t>(pixel.y - low.y) * boxWidth + static_cast<std::size_t>(pixel.x - low.x)];
  };
  const std::uint32_t bits = pen_.colour.rgb() & 0x00FFFFFFu;
  for (const PixelPoint& pixel : stroke_) {
    std::uint8_t& mark = markOf(pixel);
    if (record_ == nullptr) {
      writer_->PutUnless(pixel.x, pixel.y, mark != 0);
    } else if (mark == 0) {
      record_->push_back({pixel.x, pixel.y, bits});
    }
    mark = 1;
  }
  for (const PixelPoint& pixel : stroke_) markOf(pixel) = 0;
}

void PixelCanvas::PaintSpans(const std::vector<PixelSpan>& spans, const QColor& colour) {
  if (tiles_) {
    for (const PixelSpan& span : spans) tiles_->MarkSpan(span.y, span.left, span.right);
  }
  if (writer_) {
    if (record_) return RecordSpans(spans, colour);
    writer_->SetColour(colour);
    for (const PixelSpan& span : spans) writer_->PutSpan(span);
    return;
  }
  for (const PixelSpan& span : spans) {
    painter_->fillRect(QRect(span.left, span.y, span.right - span.left + 1, 1), colour);
  }
}

void PixelCanvas::RecordSpans(const std::vector<PixelSpan>& spans, const QColor& colour) {
  const std::uint32_t bits = colour.rgb() & 0x00FFFFFFu;
  for (const PixelSpan& span : spans) {
    for (std::int32_t x = span.left; x <= span.right; ++x) record_->push_back({x, span.y, bits});
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
