#pragma once
// RetainedPicture: a window's picture kept from one paint to the next. Each
// paint draws through a RecordingCanvas; the record is compared with the last
// paint's, and only the places where they differ are drawn again on the kept
// image, by replaying the record clipped to them. The picture is always what
// drawing the whole record would give; it only costs less: a curve of a
// hundred thousand readings takes many milliseconds to rasterise, a repaint
// with nothing changed costs a copy, and a dragged point the pixels round it.
//
//   paint(target, …, draw)
//     draw(recorder)                     the window's whole paint, recorded
//     compare with the last record       same size, mapping and hints?
//       -> the device rectangles of the drawings that differ (old and new)
//     replay the record on the kept image, clipped to them (or whole)
//     copy the kept image onto the target

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <functional>
#include <vector>

#include "draw/recording_canvas.h"
#include "qt/qt_canvas.h"
#include "qt/text_cache.h"

namespace kvd {

class RetainedPicture {
public:
    // Paints what `draw` draws on a canvas of `mapping` into the kept image of
    // `pixels` device pixels (device pixel ratio `ratio`, painted with
    // `hints`), then the image onto `target` at (0, 0).
    void paint(QPainter& target, QSize pixels, qreal ratio, const CanvasMapping& mapping,
               QPainter::RenderHints hints, TextCache* texts,
               const std::function<void(Canvas&)>& draw);

    // The share of the image the last paint drew again: 0 for none, 1 for all.
    double last_redrawn_share() const { return last_redrawn_share_; }

private:
    // Where the drawings of the last record and the new one differ, in the
    // painter's coordinates of the kept image.
    QRegion changes(const std::vector<RecordedCommand>& now, QtCanvas& measure) const;

    QImage image_;
    CanvasMapping mapping_;
    QPainter::RenderHints hints_;
    bool cached_texts_ = false;
    std::vector<RecordedCommand> record_;
    bool valid_ = false;
    double last_redrawn_share_ = 1;
};

// Draws the drawing commands of a record (each with the state it carries) on
// a canvas; state changes, saves and moves are already in the drawings.
void replay(const std::vector<RecordedCommand>& record, Canvas& canvas);
void replay(const RecordedCommand& command, Canvas& canvas);

}  // namespace kvd
