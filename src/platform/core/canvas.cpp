#include "platform/core/canvas.h"

#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace orv::platform {

namespace {

QColor toColor(quint32 argb) { return QColor::fromRgba(argb); }

// Dash patterns in units of the stroke thickness.
QList<qreal> dashPattern(StrokeDash dash)
{
    switch (dash) {
    case StrokeDash::Dash:
        return {3, 1};
    case StrokeDash::Dot:
        return {1, 1};
    case StrokeDash::DashDot:
        return {3, 1, 1, 1};
    case StrokeDash::DashDotDot:
        return {3, 1, 1, 1, 1, 1};
    case StrokeDash::Solid:
        break;
    }
    return {};
}

// Splits at CR LF, CR, LF and U+2028.
std::vector<QString> paragraphs(const QString& text)
{
    // Each paragraph is a slice of the text; a text of one paragraph (a list's cell,
    // the common case) is handed on shared, without a copy.
    std::vector<QString> out;
    qsizetype start = 0;
    const auto* chars = reinterpret_cast<const char16_t*>(text.constData());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = chars[i];
        // One test passes nearly every character: all breaks are below 0x0E or at 0x2028.
        if (c > u'\r' && c != u'\x2028')
            continue;
        if (c == u'\r' || c == u'\n' || c == u'\x2028') {
            out.push_back(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < text.size() && chars[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    out.push_back(start == 0 ? text : text.mid(start));
    return out;
}

} // namespace

Canvas::Canvas(QPainter* painter, bool printer) : m_painter(painter), m_printer(printer)
{
    if (m_painter) {
        m_painter->setRenderHint(QPainter::Antialiasing, true);
        m_painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    }
}

Canvas::~Canvas()
{
    while (m_depth > 0)
        restoreState();
}

void Canvas::applyPen(double opacity)
{
    QPen pen(toColor(strokeColor));
    pen.setWidthF(strokeThickness > 0 ? strokeThickness : 0);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    if (strokeDash != StrokeDash::Solid)
        pen.setDashPattern(dashPattern(strokeDash));
    m_painter->setPen(pen);
    m_painter->setBrush(Qt::NoBrush);
    m_painter->setOpacity(opacity);
}

void Canvas::applyBrush(double opacity)
{
    m_painter->setPen(Qt::NoPen);
    m_painter->setBrush(toColor(fillColor));
    m_painter->setOpacity(opacity);
}

void Canvas::drawLine(const QPointF& a, const QPointF& b, double opacity)
{
    if (!ready())
        return;
    applyPen(opacity);
    m_painter->drawLine(a, b);
}

void Canvas::fillRect(const QRectF& r, double xRadius, double yRadius, double opacity)
{
    if (!ready())
        return;
    applyBrush(opacity);
    if (xRadius > 0 || yRadius > 0)
        m_painter->drawRoundedRect(r, xRadius, yRadius);
    else
        m_painter->drawRect(r);
}

void Canvas::drawRect(const QRectF& r, double xRadius, double yRadius, double opacity)
{
    if (!ready())
        return;
    applyPen(opacity);
    if (xRadius > 0 || yRadius > 0)
        m_painter->drawRoundedRect(r, xRadius, yRadius);
    else
        m_painter->drawRect(r);
}

void Canvas::fillEllipse(const QRectF& r, double opacity)
{
    if (!ready())
        return;
    applyBrush(opacity);
    m_painter->drawEllipse(r);
}

void Canvas::drawEllipse(const QRectF& r, double opacity)
{
    if (!ready())
        return;
    applyPen(opacity);
    m_painter->drawEllipse(r);
}

void Canvas::fillPolygon(const QPolygonF& p, double opacity)
{
    if (!ready())
        return;
    applyBrush(opacity);
    m_painter->drawPolygon(p, Qt::WindingFill);
}

void Canvas::drawPolygon(const QPolygonF& p, double opacity)
{
    if (!ready())
        return;
    applyPen(opacity);
    m_painter->drawPolygon(p, Qt::WindingFill);
}

void Canvas::drawBitmap(const QImage& image, const QRectF& source, const QRectF& target, double opacity,
                        bool highSpeed)
{
    if (!ready() || image.isNull())
        return;
    m_painter->setOpacity(opacity);
    m_painter->setRenderHint(QPainter::SmoothPixmapTransform, !highSpeed);
    m_painter->drawImage(target, image, source);
    m_painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
}

void Canvas::clear(quint32 color)
{
    if (!ready())
        return;
    m_painter->save();
    m_painter->resetTransform();
    m_painter->setClipping(false);
    m_painter->setCompositionMode(QPainter::CompositionMode_Source);
    const QRect all(0, 0, m_painter->device()->width(), m_painter->device()->height());
    m_painter->fillRect(all, toColor(color));
    m_painter->restore();
}

void Canvas::saveState()
{
    if (!ready())
        return;
    m_painter->save();
    ++m_depth;
}

void Canvas::restoreState()
{
    if (!ready() || m_depth == 0)
        return;
    m_painter->restore();
    --m_depth;
}

void Canvas::intersectClipRect(const QRectF& r)
{
    if (!ready())
        return;
    m_painter->setClipRect(r, m_painter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

QTransform Canvas::matrix() const { return ready() ? m_painter->worldTransform() : QTransform(); }

void Canvas::setMatrix(const QTransform& m)
{
    if (ready())
        m_painter->setWorldTransform(m);
}

// ---------------------------------------------------------------- text

const TextFace& Canvas::face() const
{
    // Asked for each measure of each line: the same font as before costs no lookup.
    if (!m_face || font.family != m_faceKey || font.bold != m_faceBold || font.italic != m_faceItalic) {
        m_face = TextFace::find(font.family, font.bold, font.italic);
        m_faceKey = font.family;
        m_faceBold = font.bold;
        m_faceItalic = font.italic;
    }
    return *m_face;
}

double Canvas::textWidth(const QString& text) const
{
    const double width = face().textWidth(text, font.size);
    if (letterSpacing == 0)
        return width;
    // Once after each character, a pair of surrogates being one.
    qsizetype characters = 0;
    for (QChar c : text)
        characters += c.isLowSurrogate() ? 0 : 1;
    return width + letterSpacing * double(characters);
}

double Canvas::lineHeight() const
{
    const TextFace& f = face();
    if (f.isEmpty())
        return font.size;
    return double(f.ascender() + f.descender() + f.lineGap()) * font.size / f.unitsPerEm();
}

double Canvas::baseline() const
{
    const TextFace& f = face();
    if (f.isEmpty())
        return font.size;
    return double(f.ascender()) * font.size / f.unitsPerEm();
}

std::vector<QString> Canvas::layoutLines(const QString& text, double width, bool wordWrap) const
{
    if (!wordWrap)
        return paragraphs(text);
    std::vector<QString> lines;
    for (const QString& para : paragraphs(text)) {
        if (!wordWrap || textWidth(para) <= width) {
            lines.push_back(para);
            continue;
        }
        // Greedy: as many words as fit; the blanks where a line breaks go with it.
        QString line;
        qsizetype i = 0;
        while (i < para.size()) {
            qsizetype j = i;
            while (j < para.size() && para[j] == u' ')
                ++j;
            while (j < para.size() && para[j] != u' ')
                ++j;
            const QString candidate = line + para.mid(i, j - i);
            if (!line.trimmed().isEmpty() && textWidth(candidate) > width) {
                lines.push_back(line);
                qsizetype k = i;
                while (k < para.size() && para[k] == u' ')
                    ++k;
                line = para.mid(k, j - k);
            } else {
                line = candidate;
            }
            i = j;
        }
        lines.push_back(line);
    }
    return lines;
}

QRectF Canvas::measureText(const QRectF& r, const QString& text, bool wordWrap, TextAlign horz,
                           TextAlign vert) const
{
    const std::vector<QString> lines = layoutLines(text, r.width(), wordWrap);
    double width = 0;
    for (const QString& line : lines)
        width = std::max(width, textWidth(line));
    const double height = double(lines.size()) * lineHeight();
    double x = r.left(), y = r.top();
    if (horz == TextAlign::Center)
        x += (r.width() - width) / 2;
    else if (horz == TextAlign::Trailing)
        x = r.right() - width;
    if (vert == TextAlign::Center)
        y += (r.height() - height) / 2;
    else if (vert == TextAlign::Trailing)
        y = r.bottom() - height;
    return QRectF(x, y, width, height);
}

void Canvas::fillText(const QRectF& r, const QString& text, bool wordWrap, double opacity, TextAlign horz,
                      TextAlign vert)
{
    const std::vector<QString> lines = layoutLines(text, r.width(), wordWrap);
    const double pitch = lineHeight();
    const double height = double(lines.size()) * pitch;
    double y = r.top();
    if (vert == TextAlign::Center)
        y += (r.height() - height) / 2;
    else if (vert == TextAlign::Trailing)
        y = r.bottom() - height;
    for (const QString& line : lines) {
        const double w = textWidth(line);
        double x = r.left();
        if (horz == TextAlign::Center)
            x += (r.width() - w) / 2;
        else if (horz == TextAlign::Trailing)
            x = r.right() - w;
        drawTextLine(QPointF(x, y), line, opacity);
        y += pitch;
    }
}

void Canvas::drawTextLine(const QPointF& topLeft, const QString& text, double opacity)
{
    if (!ready() || text.isEmpty())
        return;
    const TextFace& f = face();
    if (f.isEmpty())
        return;
    const double scale = font.size / f.unitsPerEm();
    const double base = topLeft.y() + baseline();
    const std::vector<TextFace::Glyph> glyphs = f.glyphs(text);
    double x = topLeft.x();
    m_painter->setOpacity(opacity);

    // A printer gets the text as text with its font, at the very positions the outlines
    // would take, so paper matches the preview and the spooled file stays small and
    // searchable. Screens and bitmaps fill the outlines.
    const QRawFont deviceFont = onPagedDevice() ? f.deviceFont(font.size) : QRawFont();
    if (deviceFont.isValid()) {
        QList<quint32> ids;
        QList<QPointF> positions;
        ids.reserve(qsizetype(glyphs.size()));
        positions.reserve(qsizetype(glyphs.size()));
        for (const TextFace::Glyph& g : glyphs) {
            ids.append(g.id);
            positions.append(QPointF(x - topLeft.x(), 0));
            x += g.advance * scale;
        }
        if (!ids.isEmpty()) {
            QGlyphRun run;
            run.setRawFont(deviceFont);
            run.setGlyphIndexes(ids);
            run.setPositions(positions);
            m_painter->setPen(toColor(fillColor));
            m_painter->setBrush(Qt::NoBrush);
            m_painter->drawGlyphRun(QPointF(topLeft.x(), base), run);
        }
    } else {
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        for (const TextFace::Glyph& g : glyphs) {
            const QPainterPath outline = f.outline(g.id);
            if (!outline.isEmpty())
                path.addPath(QTransform(scale, 0, 0, scale, x, base).map(outline));
            x += g.advance * scale;
        }
        m_painter->fillPath(path, toColor(fillColor));
    }
    for (const QRectF& bar : decorationBars(topLeft, x - topLeft.x()))
        m_painter->fillRect(bar, toColor(fillColor));
}

bool Canvas::onPagedDevice() const
{
    const QPaintDevice* device = m_painter->device();
    if (device && device->devType() == QInternal::Printer)
        return true;
    const QPaintEngine* engine = m_painter->paintEngine();
    return engine && engine->type() == QPaintEngine::Pdf;
}

std::vector<QRectF> Canvas::decorationBars(const QPointF& topLeft, double width) const
{
    std::vector<QRectF> bars;
    const TextFace& f = face();
    if (f.isEmpty())
        return bars;
    // Bars of the face's own position and thickness.
    const double scale = font.size / f.unitsPerEm();
    const double base = topLeft.y() + baseline();
    auto bar = [&](int position, int thickness) {
        const double t = std::max(thickness * scale, 0.5);
        bars.emplace_back(topLeft.x(), base - position * scale - t / 2, width, t);
    };
    if (font.underline)
        bar(f.underlinePosition(), f.underlineThickness());
    if (font.strikeOut)
        bar(f.strikeoutPosition(), f.strikeoutThickness());
    return bars;
}

} // namespace orv::platform
