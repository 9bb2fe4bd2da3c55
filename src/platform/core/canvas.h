#pragma once
// The canvas that report pages are drawn on: a thin layer over QPainter with the state
// the report views expect of a canvas (stroke, fill and font set before each drawing
// call, a stack of clip and matrix states) for the preview's page images, printers and
// bitmaps. A canvas made without a painter only measures, as the views' one-pixel
// measuring bitmaps do.
//
// The drawing calls are virtual so that a canvas can record what it is asked to draw.
//
// Text is measured and drawn through TextFace: design advances at the exact size and
// the face's own outlines, so that a text takes the same room on every canvas and at
// every scale. A printer or PDF device gets the same glyphs at the same positions as a
// run of the face's font, so printed text stays text with its font embedded.
#include "platform/core/textface.h"

#include <QImage>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <memory>
#include <vector>

class QPainter;

namespace orv::platform {

enum class TextAlign { Leading, Center, Trailing };
enum class StrokeDash { Solid, Dash, Dot, DashDot, DashDotDot };

struct CanvasFont {
    QString family = QStringLiteral("Arial");
    double size = 16; // pixels
    bool bold = false, italic = false, underline = false, strikeOut = false;
};

class Canvas {
public:
    // A canvas that measures only; drawing calls do nothing.
    Canvas() = default;
    // Draws through the painter, which stays the caller's. A printer canvas tells the
    // views that they are being printed.
    explicit Canvas(QPainter* painter, bool printer = false);
    virtual ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    QPainter* painter() const { return m_painter; }
    bool isPrinter() const { return m_printer; }

    // Colours are ARGB with alpha in the high byte; colour 0 paints nothing. A stroke
    // thickness of 0 draws the thinnest line the device has.
    quint32 strokeColor = 0xFF000000;
    double strokeThickness = 1;
    StrokeDash strokeDash = StrokeDash::Solid;
    quint32 fillColor = 0xFF000000; // also the colour of text
    CanvasFont font;
    // Room added after every character of a text, in the font's units (pixels): a
    // canvas whose text is spaced out when it reaches its device measures it so, and
    // text laid out on it breaks and aligns with the spacing. Drawing does not add it.
    double letterSpacing = 0;

    virtual void drawLine(const QPointF& a, const QPointF& b, double opacity = 1);
    virtual void fillRect(const QRectF& r, double xRadius = 0, double yRadius = 0, double opacity = 1);
    virtual void drawRect(const QRectF& r, double xRadius = 0, double yRadius = 0, double opacity = 1);
    virtual void fillEllipse(const QRectF& r, double opacity = 1);
    virtual void drawEllipse(const QRectF& r, double opacity = 1);
    virtual void fillPolygon(const QPolygonF& p, double opacity = 1);
    virtual void drawPolygon(const QPolygonF& p, double opacity = 1);
    virtual void drawBitmap(const QImage& image, const QRectF& source, const QRectF& target, double opacity = 1,
                    bool highSpeed = false);
    // Fills the whole device, whatever the clip.
    void clear(quint32 color);

    // Clip and matrix, saved and restored as a stack.
    virtual void saveState();
    virtual void restoreState();
    virtual void intersectClipRect(const QRectF& r);
    virtual QTransform matrix() const;
    virtual void setMatrix(const QTransform& m);

    // ---------------------------------------------------------------- text
    const TextFace& face() const;
    // The width of a text on one line with the current font.
    double textWidth(const QString& text) const;
    // The distance from one line's top to the next one's: the face's ascender, descender
    // and line gap at the font's size.
    double lineHeight() const;
    // The baseline's distance below a line's top.
    double baseline() const;
    // Paragraphs (at CR LF, CR, LF and U+2028) and, with wordWrap, lines broken at blanks
    // to the rectangle's width (a word wider than it stays whole); aligned in the
    // rectangle, not clipped to it. Drawn in the fill colour.
    void fillText(const QRectF& r, const QString& text, bool wordWrap, double opacity, TextAlign horz,
                  TextAlign vert);
    // The rectangle fillText would cover: as wide as the widest line, as high as all lines.
    QRectF measureText(const QRectF& r, const QString& text, bool wordWrap, TextAlign horz, TextAlign vert) const;
    // The lines fillText would draw.
    std::vector<QString> layoutLines(const QString& text, double width, bool wordWrap) const;
    // One line with its top-left corner at the point, underline and strike-out included.
    virtual void drawTextLine(const QPointF& topLeft, const QString& text, double opacity = 1);
    // The underline and strike-out bars of a line of that width with its top-left corner
    // at the point, as drawTextLine fills them with the current font; none without them.
    std::vector<QRectF> decorationBars(const QPointF& topLeft, double width) const;

private:
    bool ready() const { return m_painter != nullptr; }
    // A printer or PDF device, which takes text as text rather than as outlines.
    bool onPagedDevice() const;
    void applyPen(double opacity);
    void applyBrush(double opacity);
    QPainter* m_painter = nullptr;
    bool m_printer = false;
    int m_depth = 0;
    mutable std::shared_ptr<const TextFace> m_face;
    mutable QString m_faceKey; // the family the face was found for
    mutable bool m_faceBold = false, m_faceItalic = false;
};

} // namespace orv::platform
