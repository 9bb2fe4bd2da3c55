#pragma once
// A canvas that measures like the real one and records what it is asked to draw, in
// device coordinates (its own matrix stack applied), so that tests can check positions.
#include "platform/core/canvas.h"

#include <QTransform>

#include <vector>

namespace orv::report::test {

class RecordingCanvas : public orv::platform::Canvas {
public:
    explicit RecordingCanvas(bool printer = false) : orv::platform::Canvas(nullptr, printer) {}
    struct Line {
        QPointF a, b;
        double thickness;
        quint32 color;
        orv::platform::StrokeDash dash;
    };
    struct Shape {
        enum Kind { FillRect, DrawRect, FillEllipse, DrawEllipse, FillPolygon, DrawPolygon, Bitmap } kind;
        QRectF rect;
        QPolygonF polygon;
        double radius;
        quint32 color;
        QImage image{};
    };
    struct Text {
        QPointF topLeft;
        QString text;
        double size; // in device pixels
        bool bold;
        quint32 color;
    };
    std::vector<Line> lines;
    std::vector<Shape> shapes;
    std::vector<Text> texts;
    std::vector<QRectF> clips;

    void drawLine(const QPointF& a, const QPointF& b, double) override
    {
        lines.push_back({m_matrix.map(a), m_matrix.map(b), strokeThickness, strokeColor, strokeDash});
    }
    void fillRect(const QRectF& r, double xRadius, double, double) override
    {
        shapes.push_back({Shape::FillRect, m_matrix.mapRect(r), {}, xRadius, fillColor});
    }
    void drawRect(const QRectF& r, double xRadius, double, double) override
    {
        shapes.push_back({Shape::DrawRect, m_matrix.mapRect(r), {}, xRadius, strokeColor});
    }
    void fillEllipse(const QRectF& r, double) override
    {
        shapes.push_back({Shape::FillEllipse, m_matrix.mapRect(r), {}, 0, fillColor});
    }
    void drawEllipse(const QRectF& r, double) override
    {
        shapes.push_back({Shape::DrawEllipse, m_matrix.mapRect(r), {}, 0, strokeColor});
    }
    void fillPolygon(const QPolygonF& p, double) override
    {
        shapes.push_back({Shape::FillPolygon, {}, m_matrix.map(p), 0, fillColor});
    }
    void drawPolygon(const QPolygonF& p, double) override
    {
        shapes.push_back({Shape::DrawPolygon, {}, m_matrix.map(p), 0, strokeColor});
    }
    void drawBitmap(const QImage& image, const QRectF&, const QRectF& target, double, bool) override
    {
        shapes.push_back({Shape::Bitmap, m_matrix.mapRect(target), {}, 0, 0, image});
    }
    void drawTextLine(const QPointF& topLeft, const QString& text, double) override
    {
        texts.push_back({m_matrix.map(topLeft), text, font.size * m_matrix.m22(), font.bold, fillColor});
    }
    void saveState() override { m_stack.push_back(m_matrix); }
    void restoreState() override
    {
        if (m_stack.empty())
            return;
        m_matrix = m_stack.back();
        m_stack.pop_back();
    }
    void intersectClipRect(const QRectF& r) override { clips.push_back(m_matrix.mapRect(r)); }
    QTransform matrix() const override { return m_matrix; }
    void setMatrix(const QTransform& m) override { m_matrix = m; }

    void clearRecords()
    {
        lines.clear();
        shapes.clear();
        texts.clear();
        clips.clear();
    }

private:
    QTransform m_matrix;
    std::vector<QTransform> m_stack;
};

} // namespace orv::report::test
