#include "pdf/memotext.h"

#include "report/model/views.h"

#include <cmath>

namespace orv::pdf {
using namespace orv::platform;
using namespace orv::report;
} // namespace orv::pdf

namespace orv::pdf {

namespace {

// A canvas that draws nothing and records the text drawn on it, with the matrix in
// force. Lines drawn while a state is saved belong to the text (the text layout draws
// its underlines so); the frame and the ruled lines are drawn outside any saved state.
class TextRecorder final : public Canvas {
public:
    MemoText result;

    void drawTextLine(const QPointF& topLeft, const QString& text, double) override
    {
        if (text.isEmpty())
            return;
        TextRun run;
        run.text = text;
        run.matrix = m_matrix;
        run.origin = QPointF(topLeft.x(), topLeft.y() + baseline());
        run.width = textWidth(text);
        run.font = font;
        run.color = fillColor;
        for (const QRectF& bar : decorationBars(topLeft, run.width))
            result.bars.push_back({m_matrix.map(QPolygonF(bar)), fillColor});
        result.runs.push_back(std::move(run));
    }

    void drawLine(const QPointF& a, const QPointF& b, double) override
    {
        if (m_stack.empty() || strokeColor == 0)
            return;
        const QPointF d = b - a;
        const double length = std::hypot(d.x(), d.y());
        if (length == 0)
            return;
        const double half = std::max(strokeThickness, 0.5) / 2;
        const QPointF n(-d.y() / length * half, d.x() / length * half);
        result.bars.push_back({m_matrix.map(QPolygonF({a + n, b + n, b - n, a - n})), strokeColor});
    }

    void saveState() override { m_stack.push_back(m_matrix); }
    void restoreState() override
    {
        if (m_stack.empty())
            return;
        m_matrix = m_stack.back();
        m_stack.pop_back();
    }
    void intersectClipRect(const QRectF&) override {}
    QTransform matrix() const override { return m_matrix; }
    void setMatrix(const QTransform& m) override { m_matrix = m; }

private:
    QTransform m_matrix;
    std::vector<QTransform> m_stack;
};

} // namespace

MemoText layOutMemoText(TfrxCustomMemoView& memo)
{
    TextRecorder recorder;
    recorder.letterSpacing = memo.CharSpacing();
    memo.Draw(&recorder, 1, 1, 0, 0);
    return std::move(recorder.result);
}

} // namespace orv::pdf
