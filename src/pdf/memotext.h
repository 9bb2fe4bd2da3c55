#pragma once
// The text of a memo as the memo itself lays it out and draws it on a canvas: every run
// of text with its font, colour and position, and the strokes drawn with the text
// (underlines and strike-outs). The PDF writer places its text from this, so a page in
// the PDF breaks and places its lines exactly where the preview and the printer do.
#include "platform/core/canvas.h"

#include <QPointF>
#include <QString>
#include <QTransform>

#include <vector>

namespace orv::report {
class TfrxCustomMemoView;
}

namespace orv::pdf {

// One run of text on one baseline, in the run's own coordinates (report pixels, y
// growing downwards); `matrix` maps them to the page (report pixels from the paper's
// top-left corner).
struct TextRun {
    QString text;
    QTransform matrix;
    QPointF origin; // the start of the baseline
    double width = 0;
    platform::CanvasFont font;
    quint32 color = 0;
};

// A filled bar (an underline or strike-out of a run) or a stroked line, in page pixels.
struct TextBar {
    QPolygonF area;
    quint32 color = 0;
};

struct MemoText {
    std::vector<TextRun> runs;
    std::vector<TextBar> bars;
};

// Draws the memo at scale 1 on a canvas that only records its text. The memo's frame,
// fill and ruled lines are not part of the result.
MemoText layOutMemoText(report::TfrxCustomMemoView& memo);

} // namespace orv::pdf
