#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <optional>
#include <vector>

#include "overlay/overlay_pens.h"
#include "overlay/picture_mapping.h"
#include "overlay/pixel_shapes.h"
#include "overlay/pixel_writer.h"
#include "overlay/seen_pixels.h"
#include "overlay/tile_marks.h"
#include "overlay/xor_record.h"

namespace ostrel {

// What a canvas keeps account of beside its picture. Each is optional and must outlive the
// canvas.
struct CanvasLedger {
  SeenPixels* seen = nullptr;  // a combining canvas's; without them it keeps its own
  TileMarks* tiles = nullptr;  // every pixel drawn marks its tile (of the picture's size)
  // With a record, a combining canvas on a 32-bit picture leaves the picture as it is and
  // appends the runs of pixels it would combine, with the bits, instead.
  XorRecord* record = nullptr;
};

// Draws shapes onto a picture with a selected pen and a current position, following the
// pixel rules of pixel_shapes.h. The lines drawn from one MoveTo to the next (a stroke) paint
// each pixel once: in exclusive-or mode the joint that two lines share, or the overlap of a
// wide pen's squares, is never inverted twice. A combining stroke paints (or records) its
// pixels as its lines come; any other is collected and painted when the position moves, the
// pen changes, Flush is called or the canvas goes.
class PixelCanvas {
 public:
  PixelCanvas(QImage& image, DrawMode mode, Pen pen, CanvasLedger ledger = {});
  ~PixelCanvas();
  PixelCanvas(const PixelCanvas&) = delete;
  PixelCanvas& operator=(const PixelCanvas&) = delete;

  void SelectPen(const Pen& pen);
  const Pen& SelectedPen() const { return pen_; }
  QSize PictureSize() const { return image_.size(); }

  void MoveTo(PixelPoint point);
  // Adds the line from the current position to `point` to the stroke; `point` becomes the
  // current position.
  void LineTo(PixelPoint point);
  void Flush();

  // Ends the stroke and lets `append(record)` add runs worked out elsewhere to a recording
  // canvas's record, as strokes of their own; gives what it returns. False without calling it
  // when the canvas does not record.
  template <typename Append>
  bool AppendToRecord(Append&& append) {
    Flush();
    if (record_ == nullptr) return false;
    const std::size_t start = record_->size();
    const bool appended = append(*record_);
    MarkTiles(start);
    strokeStart_ = record_->size();
    return appended;
  }

  // Fills the ellipse of (left, top, right, bottom), right column and bottom row excluded.
  void Ellipse(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
               const QColor& colour);
  void FillRect(const QRect& rect, const QColor& colour);

 private:
  bool Combines() const { return writer_ && writer_->combines(); }
  void CombineLine(PixelPoint to);
  void RecordLine(PixelPoint to);
  void AppendRun(const XorRun& run);
  void EndCombinedStroke();
  void MarkTiles(std::size_t firstRun);
  void PaintSpans(const std::vector<PixelSpan>& spans, const QColor& colour);
  void CopyStroke();
  void RecordSpans(const std::vector<PixelSpan>& spans, const QColor& colour);

  QImage& image_;
  // The formats the overlay draws on are written directly; any other through a painter.
  std::optional<PixelWriter> writer_;
  std::optional<QPainter> painter_;
  Pen pen_;
  PixelPoint position_;
  // The stroke's pixels, each once when combining; a recording canvas keeps them in the
  // record from strokeStart_ on instead.
  std::vector<PixelPoint> stroke_;
  std::size_t strokeStart_ = 0;
  // Around the ends of the combining stroke's lines, when it has any.
  bool strokeHasLines_ = false;
  PixelPoint strokeLow_;
  PixelPoint strokeHigh_;
  SeenPixels ownSeen_;
  SeenPixels& seen_;  // the combining stroke's pixels already painted
  TileMarks* tiles_;
  XorRecord* record_;
};

}  // namespace ostrel
