#include "overlay/pixel_canvas.h"

#include <algorithm>
#include <utility>

#include "overlay/line_pixels.h"
#include "overlay/line_runs.h"
#include "overlay/pixel_shapes.h"

namespace ostrel {

PixelCanvas::PixelCanvas(QImage& image, DrawMode mode, Pen pen, CanvasLedger ledger)
    : image_(image),
      pen_(std::move(pen)),
      seen_(ledger.seen ? *ledger.seen : ownSeen_),
      tiles_(ledger.tiles && ledger.tiles->picture() == image.size() ? ledger.tiles : nullptr),
      record_(mode == DrawMode::Xor && image.depth() == 32 && PixelWriter::Supports(image.format()) ? ledger.record
                                                                                                  : nullptr) {
  if (PixelWriter::Supports(image.format())) {
    writer_.emplace(image, mode);
    writer_->SetColour(pen_.colour);
    if (writer_->combines()) seen_.Fit(image.size());
    if (record_) strokeStart_ = record_->size();
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
  if (writer_) writer_->SetColour(pen_.colour);
}

void PixelCanvas::MoveTo(PixelPoint point) {
  Flush();
  position_ = point;
}

void PixelCanvas::LineTo(PixelPoint point) {
  if (Combines()) {
    CombineLine(point);
  } else {
    AppendLinePixels(position_, point, pen_.width, image_.rect(), stroke_);
  }
  position_ = point;
}

void PixelCanvas::Flush() {
  if (Combines()) return EndCombinedStroke();
  if (stroke_.empty()) return;
  if (writer_) {
    CopyStroke();
  } else {
    PaintSpans(MergeIntoSpans(stroke_), pen_.colour);
  }
  stroke_.clear();
}

// A combining stroke paints each of its pixels once, as it comes: the joint two lines share,
// or the overlap of a wide pen's squares, is never inverted twice.
void PixelCanvas::CombineLine(PixelPoint to) {
  const QRect picture = image_.rect();
  if (!strokeHasLines_) {
    strokeLow_ = strokeHigh_ = position_;
    strokeHasLines_ = true;
    seen_.CentreWindow(position_.x, position_.y);
  }
  strokeLow_ = {std::min(strokeLow_.x, to.x), std::min(strokeLow_.y, to.y)};
  strokeHigh_ = {std::max(strokeHigh_.x, to.x), std::max(strokeHigh_.y, to.y)};
  try {
    if (record_) {
      RecordLine(to);
    } else {
      ForEachLinePixel(position_, to, pen_.width, picture, [&](std::int32_t x, std::int32_t y) {
        if (seen_.Insert(x, y) == 0) return;
        writer_->Put(x, y);
        stroke_.push_back({x, y});
      });
    }
  } catch (...) {
    // A pixel may be marked that no list holds: only forgetting them all keeps later strokes whole.
    seen_.Clear();
    throw;
  }
}

// Joins the run to the stroke's last when they continue each other on one row, as the pieces
// of a run cut at a tile's edge do, and a line's row that goes on into the next line.
inline void PixelCanvas::AppendRun(const XorRun& run) {
  if (record_->size() > strokeStart_) {
    XorRun& last = record_->back();
    if (last.y == run.y && last.bits == run.bits && last.right + 1 == run.left) {
      last.right = run.right;
      return;
    }
  }
  record_->push_back(run);
}

// A line is a run or two a row (the live trails are thousands of pixels a redraw): the
// stroke's pixels are marked a tile row of them at a time, and what is left of each run once
// the pixels the stroke already painted are taken out goes into the record.
void PixelCanvas::RecordLine(PixelPoint to) {
  const QRect picture = image_.rect();
  const std::uint32_t bits = pen_.colour.rgb() & 0x00FFFFFFu;
  if (pen_.width <= 0) return;  // a pen without width paints nothing
  if (pen_.width > kWidestRunPen) {
    ForEachLinePixel(position_, to, pen_.width, picture, [&](std::int32_t x, std::int32_t y) {
      seen_.InsertRun(y, x, x, [&](std::int32_t from, std::int32_t upTo) { AppendRun({y, from, upTo, bits}); });
    });
    return;
  }
  // Room for every piece the line can leave, written without a check each: a row's run is cut
  // at most once a tile, and the line reaches no more rows and tiles than it spans.
  const std::int64_t rows = std::min<std::int64_t>(std::llabs(std::int64_t{to.y} - position_.y) + pen_.width, picture.height());
  const std::int64_t tiles = std::min<std::int64_t>(std::llabs(std::int64_t{to.x} - position_.x) + pen_.width, picture.width()) / 8 + 2;
  const std::size_t start = record_->size();
  record_->resize(start + static_cast<std::size_t>(rows * tiles));
  XorRun* const strokeFirst = record_->data() + strokeStart_;
  XorRun* out = record_->data() + start;
  ForEachLineRun(position_, to, pen_.width, picture, [&](std::int32_t y, std::int32_t left, std::int32_t right) {
    seen_.InsertRun(y, left, right, [&](std::int32_t from, std::int32_t upTo) {
      // One pen a stroke: the stroke's runs all have its bits.
      if (out != strokeFirst && out[-1].y == y && out[-1].right + 1 == from) {
        out[-1].right = upTo;
      } else {
        *out++ = {y, from, upTo, bits};
      }
    });
  });
  record_->resize(static_cast<std::size_t>(out - record_->data()));
}

// The stroke's pixels are taken out of the seen ones, ready for the next stroke: a run or a
// pixel at a time, or the tiles of the rectangle around them when those are fewer.
void PixelCanvas::EndCombinedStroke() {
  const std::size_t runs = record_ ? record_->size() - strokeStart_ : 0;
  const QRect box = strokeHasLines_ ? LineBox(strokeLow_, strokeHigh_, pen_.width, image_.rect()) : QRect();
  const bool byWords = seen_.TilesOf(box) < runs + stroke_.size();
  if (byWords) seen_.EraseTilesOf(box);
  if (!byWords || tiles_) {
    for (std::size_t i = strokeStart_; i < strokeStart_ + runs; ++i) {
      const XorRun& run = (*record_)[i];
      if (!byWords) seen_.EraseRun(run.y, run.left, run.right);
      if (tiles_) tiles_->MarkSpan(run.y, run.left, run.right);
    }
    for (const PixelPoint& pixel : stroke_) {
      if (!byWords) seen_.Erase(pixel.x, pixel.y);
      if (tiles_) tiles_->MarkPixel(pixel.x, pixel.y);
    }
  }
  strokeStart_ += runs;
  stroke_.clear();
  strokeHasLines_ = false;
}

void PixelCanvas::MarkTiles(std::size_t firstRun) {
  if (tiles_ == nullptr) return;
  for (std::size_t i = firstRun; i < record_->size(); ++i) {
    const XorRun& run = (*record_)[i];
    tiles_->MarkSpan(run.y, run.left, run.right);
  }
}

// Copying the pen's colour again changes nothing, so a copied stroke needs no account of the
// pixels it has painted.
void PixelCanvas::CopyStroke() {
  for (const PixelPoint& pixel : stroke_) {
    if (tiles_) tiles_->MarkPixel(pixel.x, pixel.y);
    writer_->Put(pixel.x, pixel.y);
  }
}

void PixelCanvas::PaintSpans(const std::vector<PixelSpan>& spans, const QColor& colour) {
  if (tiles_) {
    for (const PixelSpan& span : spans) tiles_->MarkSpan(span.y, span.left, span.right);
  }
  if (writer_) {
    if (record_) return RecordSpans(spans, colour);
    writer_->SetColour(colour);
    for (const PixelSpan& span : spans) writer_->PutSpan(span);
    writer_->SetColour(pen_.colour);
    return;
  }
  for (const PixelSpan& span : spans) {
    painter_->fillRect(QRect(span.left, span.y, span.right - span.left + 1, 1), colour);
  }
}

void PixelCanvas::RecordSpans(const std::vector<PixelSpan>& spans, const QColor& colour) {
  const std::uint32_t bits = colour.rgb() & 0x00FFFFFFu;
  for (const PixelSpan& span : spans) record_->push_back({span.y, span.left, span.right, bits});
  strokeStart_ = record_->size();
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
