#include "platform/ui/art.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace orv::platform::ui::art {

namespace {

QFont boldFont(const QString& family, double px)
{
    QFont f(family);
    f.setPixelSize(std::max(6, int(px)));
    f.setBold(true);
    return f;
}

} // namespace

QFont fittingFont(QFont f, const QString& text, double width)
{
    // Every size tried is a font load of its own, which costs far more than measuring. Widths
    // grow in proportion to the size, give or take a fraction of a pixel of rounding, so the
    // size is read off one measure, and only the size just above it is tried as well when
    // its proportional width comes within a pixel of the room. Headings start large and
    // rarely fit at once: they are measured at the windows' usual text size, whose font is
    // most likely loaded already, rather than at a size that is then not drawn.
    const int start = f.pixelSize();
    if (start <= 6) return f;
    constexpr int kUsualSize = 12;
    const int reference = start >= 2 * kUsualSize ? kUsualSize : start;
    f.setPixelSize(reference);
    const double perPixel = QFontMetricsF(f).horizontalAdvance(text) / reference;
    if (reference == start && perPixel * start <= width) return f;
    auto fits = [&](int size) {
        f.setPixelSize(size);
        return QFontMetricsF(f).horizontalAdvance(text) <= width;
    };
    int px = 6;
    if (perPixel <= 0) px = start;
    else if (width > 0) px = std::clamp(int(std::floor(width / perPixel)), 6, start);
    if (px < start && perPixel * (px + 1) <= width + 1 && fits(px + 1)) return f;
    while (px > 6 && !fits(px)) --px;
    f.setPixelSize(px);
    return f;
}

namespace {

// Draws an icon glyph in a 100 x 100 design box mapped onto r.
void glyph(QPainter& p, Icon which, const QRectF& r, const QColor& c)
{
    p.save();
    const double s = std::min(r.width(), r.height()) / 100.0;
    p.translate(r.center().x() - 50 * s, r.center().y() - 50 * s);
    p.scale(s, s);
    QPen pen(c, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    auto letterInCircle = [&](const QString& letter) {
        p.drawEllipse(QRectF(8, 8, 84, 84));
        p.setFont(boldFont(QStringLiteral("DejaVu Serif"), 62));
        p.drawText(QRectF(0, 2, 100, 96), Qt::AlignCenter, letter);
    };
    auto page = [&] {
        QPainterPath path;
        path.moveTo(22, 6); path.lineTo(62, 6); path.lineTo(80, 24); path.lineTo(80, 94); path.lineTo(22, 94); path.closeSubpath();
        p.drawPath(path);
        p.drawPolyline(QPolygonF({QPointF(62, 6), QPointF(62, 24), QPointF(80, 24)}));
    };
    auto arrow = [&](bool left, bool bar) {
        p.setBrush(c);
        const QPolygonF tri = left ? QPolygonF({QPointF(70, 18), QPointF(70, 82), QPointF(30, 50)})
                                   : QPolygonF({QPointF(30, 18), QPointF(30, 82), QPointF(70, 50)});
        p.drawPolygon(tri);
        if (bar) p.drawLine(QPointF(left ? 22 : 78, 18), QPointF(left ? 22 : 78, 82));
    };
    switch (which) {
    case Icon::Info: letterInCircle(QStringLiteral("i")); break;
    case Icon::Help: letterInCircle(QStringLiteral("?")); break;
    case Icon::Copyright: letterInCircle(QStringLiteral("C")); break;
    case Icon::Exit:
        p.drawArc(QRectF(14, 16, 72, 72), 120 * 16, 300 * 16);
        p.drawLine(QPointF(50, 8), QPointF(50, 50));
        break;
    case Icon::Mail:
        p.drawRoundedRect(QRectF(8, 22, 84, 58), 6, 6);
        p.drawPolyline(QPolygonF({QPointF(10, 26), QPointF(50, 58), QPointF(90, 26)}));
        break;
    case Icon::Globe:
        p.drawEllipse(QRectF(8, 8, 84, 84));
        p.drawEllipse(QRectF(30, 8, 40, 84));
        p.drawLine(QPointF(8, 50), QPointF(92, 50));
        p.drawLine(QPointF(16, 28), QPointF(84, 28));
        p.drawLine(QPointF(16, 72), QPointF(84, 72));
        break;
    case Icon::Pdf:
        page();
        p.fillRect(QRectF(10, 52, 70, 28), QColor(0xC6, 0x28, 0x28));
        p.setPen(Qt::white);
        p.setFont(boldFont(QStringLiteral("DejaVu Sans"), 22));
        p.drawText(QRectF(10, 52, 70, 28), Qt::AlignCenter, QStringLiteral("PDF"));
        break;
    case Icon::Key:
        p.drawEllipse(QRectF(8, 30, 40, 40));
        p.drawLine(QPointF(48, 50), QPointF(92, 50));
        p.drawLine(QPointF(80, 50), QPointF(80, 66));
        p.drawLine(QPointF(68, 50), QPointF(68, 62));
        break;
    case Icon::Logo: {
        p.drawEllipse(QRectF(10, 10, 80, 80));
        p.setBrush(c);
        p.drawEllipse(QRectF(38, 38, 24, 24));
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4;
            p.drawLine(QPointF(50 + 28 * std::cos(a), 50 + 28 * std::sin(a)), QPointF(50 + 40 * std::cos(a), 50 + 40 * std::sin(a)));
        }
        break;
    }
    case Icon::Customers:
        p.drawEllipse(QRectF(20, 14, 24, 24));
        p.drawArc(QRectF(8, 44, 48, 60), 0, 180 * 16);
        p.drawEllipse(QRectF(58, 20, 20, 20));
        p.drawArc(QRectF(48, 46, 42, 52), 0, 180 * 16);
        break;
    case Icon::Contract:
        page();
        for (int y : {36, 48, 60}) p.drawLine(QPointF(32, y), QPointF(70, y));
        p.drawEllipse(QRectF(50, 68, 18, 18));
        break;
    case Icon::Warehouse:
        p.drawRect(QRectF(10, 56, 36, 34));
        p.drawRect(QRectF(54, 56, 36, 34));
        p.drawRect(QRectF(32, 14, 36, 34));
        break;
    case Icon::Inventory:
        p.drawRoundedRect(QRectF(18, 12, 64, 82), 6, 6);
        p.drawRect(QRectF(36, 6, 28, 12));
        for (int y : {36, 56, 76}) {
            p.drawPolyline(QPolygonF({QPointF(28, y), QPointF(33, y + 5), QPointF(41, y - 5)}));
            p.drawLine(QPointF(48, y), QPointF(72, y));
        }
        break;
    case Icon::Schedule:
        p.drawRoundedRect(QRectF(10, 16, 80, 76), 6, 6);
        p.drawLine(QPointF(10, 36), QPointF(90, 36));
        p.drawLine(QPointF(30, 8), QPointF(30, 24));
        p.drawLine(QPointF(70, 8), QPointF(70, 24));
        for (int y : {50, 64, 78})
            for (int x : {26, 42, 58, 74}) p.drawPoint(QPointF(x, y));
        break;
    case Icon::Clock:
        p.drawEllipse(QRectF(10, 10, 80, 80));
        p.drawLine(QPointF(50, 50), QPointF(50, 24));
        p.drawLine(QPointF(50, 50), QPointF(68, 60));
        p.setBrush(c);
        p.drawEllipse(QPointF(50, 50), 4, 4);
        break;
    case Icon::JobSheet: {
        p.save();
        p.translate(50, 50);
        p.rotate(-45);
        p.drawRoundedRect(QRectF(-8, -6, 16, 52), 6, 6);
        p.drawArc(QRectF(-22, -50, 44, 44), -30 * 16, 240 * 16);
        p.restore();
        break;
    }
    case Icon::Quote:
        page();
        p.setFont(boldFont(QStringLiteral("DejaVu Sans"), 46));
        p.drawText(QRectF(22, 26, 58, 64), Qt::AlignCenter, QString(QChar(0x20AC)));
        break;
    case Icon::Truck:
        p.drawRect(QRectF(6, 26, 56, 46));
        p.drawPolygon(QPolygonF({QPointF(62, 40), QPointF(82, 40), QPointF(94, 56), QPointF(94, 72), QPointF(62, 72)}));
        p.setBrush(c);
        p.drawEllipse(QRectF(16, 70, 18, 18));
        p.drawEllipse(QRectF(68, 70, 18, 18));
        break;
    case Icon::ArrowFirst: arrow(true, true); break;
    case Icon::ArrowPrev: arrow(true, false); break;
    case Icon::ArrowNext: arrow(false, false); break;
    case Icon::ArrowLast: arrow(false, true); break;
    case Icon::Printer:
    case Icon::PrintPreview:
        // Paper in, the body, the printed sheet out; the preview looks at it through a lens.
        p.drawRect(QRectF(28, 10, 44, 26));
        p.drawRoundedRect(QRectF(8, 36, 84, 34), 6, 6);
        p.drawRect(QRectF(24, 58, 52, 32));
        p.drawLine(QPointF(32, 70), QPointF(68, 70));
        p.drawLine(QPointF(32, 80), QPointF(60, 80));
        if (which == Icon::PrintPreview) {
            p.drawEllipse(QRectF(52, 48, 30, 30));
            p.drawLine(QPointF(78, 74), QPointF(94, 92));
        }
        break;
    }
    p.restore();
}

} // namespace

namespace {

// Where the words of a command picture stand inside the picture's rectangle.
QRectF commandBox(const QRectF& r) { return r.adjusted(1, 1, -1, -1); }
QRectF commandTextBox(const QRectF& box) { return box.adjusted(5, 2, -5, -2); }
int commandBaseSize(const QRectF& box) { return std::max(6, int(box.height() * 0.42)); }

QFont captionFont(int px) { return boldFont(QStringLiteral("Verdana"), px); }

// The caption broken at the blank that keeps the wider of its two lines narrowest: that
// width and the two lines. Width 0 for a caption without a blank to break at.
struct CaptionBreak {
    double width = 0;
    QStringList lines;
};

CaptionBreak bestBreak(const QFontMetricsF& m, const QString& text)
{
    CaptionBreak best;
    for (qsizetype i = text.indexOf(u' '); i > 0; i = text.indexOf(u' ', i + 1)) {
        const QString first = text.left(i).trimmed(), second = text.mid(i + 1).trimmed();
        const double w = std::max(m.horizontalAdvance(first), m.horizontalAdvance(second));
        if (best.width == 0 || w <= best.width) best = {w, {first, second}};
    }
    return best;
}

// The caption as it is drawn at a size: one line, or two lines broken at the blank that
// keeps the longer line shortest. Empty when it does not fit the box at that size.
QStringList commandLines(const QString& text, int px, const QRectF& textBox)
{
    const QFontMetricsF m(captionFont(px));
    if (m.horizontalAdvance(text) <= textBox.width()) return {text};
    if (2 * m.height() > textBox.height()) return {};
    const CaptionBreak b = bestBreak(m, text);
    return b.width > 0 && b.width <= textBox.width() ? b.lines : QStringList();
}

// How a caption would lie at a size, read off its measures at another size: widths and
// heights grow in proportion to the size, give or take a pixel of rounding.
struct CaptionMeasures {
    int px = 0;
    double oneLine = 0;   // the caption on one line
    double twoLines = 0;  // the wider line of the best break; 0 without a blank to break at
    double lineHeight = 0;

    CaptionMeasures(const QString& text, int size) : px(size)
    {
        const QFontMetricsF m(captionFont(size));
        oneLine = m.horizontalAdvance(text);
        lineHeight = m.height();
        twoLines = bestBreak(m, text).width;
    }
    // Whether the caption fits at the size by proportion, allowing `slack` pixels of rounding.
    bool fitsAbout(int size, const QRectF& textBox, double slack) const
    {
        const double k = double(size) / px;
        if (oneLine * k <= textBox.width() + slack) return true;
        return twoLines > 0 && 2 * lineHeight * k <= textBox.height() + 2 * slack &&
               twoLines * k <= textBox.width() + slack;
    }
};

int captionPixelSize(const QString& text, const QRectF& r)
{
    // Windows that share a command bar ask for the same captions; measuring them costs
    // font loads and text shaping, and the answer never changes while the program runs.
    static QHash<QString, int> known;
    const QString key = text + u'\n' + QString::number(r.width()) + u'x' + QString::number(r.height());
    if (const auto it = known.constFind(key); it != known.constEnd()) return *it;
    const QRectF box = commandBox(r);
    const QRectF textBox = commandTextBox(box);
    const int base = commandBaseSize(box);
    int px = base;
    if (base > 6 && commandLines(text, base, textBox).isEmpty()) {
        // Every size tried is a font load: the size is read off the measures at the base
        // size, and the one above it is tried only when it comes within a pixel.
        const CaptionMeasures at(text, base);
        px = 6;
        for (int size = base - 1; size > 6; --size) {
            if (at.fitsAbout(size, textBox, 0)) {
                px = size;
                break;
            }
        }
        if (px + 1 < base && at.fitsAbout(px + 1, textBox, 1) && !commandLines(text, px + 1, textBox).isEmpty()) ++px;
        else
            while (px > 6 && commandLines(text, px, textBox).isEmpty()) --px;
    }
    known.insert(key, px);
    return px;
}

} // namespace

int largestCommandSize(const QString& words, const QSizeF& size) { return captionPixelSize(words, QRectF(QPointF(), size)); }

bool commandFits(const QString& words, int pixelSize, const QSizeF& size)
{
    return !commandLines(words, pixelSize, commandTextBox(commandBox(QRectF(QPointF(), size)))).isEmpty();
}

int commandTextSize(const std::vector<std::pair<QString, QSizeF>>& captions)
{
    int px = 0;
    for (const auto& [text, size] : captions) {
        const int own = captionPixelSize(text, QRectF(QPointF(), size));
        px = px == 0 ? own : std::min(px, own);
    }
    return std::max(px, 6);
}

Artwork command(const QString& text, const QColor& colour, int pixelSize)
{
    return [text, colour, pixelSize](QPainter& p, const QRectF& r) {
        const QRectF box = commandBox(r);
        QLinearGradient g(box.topLeft(), box.bottomLeft());
        g.setColorAt(0, colour.lighter(135));
        g.setColorAt(1, colour);
        p.setPen(QPen(colour.darker(130), 1));
        p.setBrush(g);
        p.drawRoundedRect(box, 5, 5);
        p.setPen(Qt::white);
        const int px = pixelSize > 0 ? pixelSize : captionPixelSize(text, r);
        QStringList lines = commandLines(text, px, commandTextBox(box));
        // A size that a caller fixed too large for this picture still shows every word.
        if (lines.isEmpty()) lines = {text};
        p.setFont(captionFont(px));
        p.drawText(box, Qt::AlignCenter, lines.join(u'\n'));
    };
}

Artwork command(const QString& text, const QColor& colour) { return command(text, colour, 0); }

Artwork captionBand(const QString& text, const QColor& from, const QColor& to)
{
    return [text, from, to](QPainter& p, const QRectF& r) {
        QLinearGradient g(r.topLeft(), r.topRight());
        g.setColorAt(0, from);
        g.setColorAt(1, to);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(r, r.height() / 2, r.height() / 2);
        p.setPen(Qt::white);
        p.setFont(fittingFont(boldFont(QStringLiteral("Verdana"), r.height() * 0.5), text, r.width() - 16));
        p.drawText(r, Qt::AlignCenter, text);
    };
}

Artwork tile(Icon which, const QColor& colour)
{
    return [which, colour](QPainter& p, const QRectF& r) {
        const QRectF box = r.adjusted(4, 4, -4, -4);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 40));
        p.drawRoundedRect(box.translated(3, 4), 22, 22);
        QLinearGradient g(box.topLeft(), box.bottomRight());
        g.setColorAt(0, colour.lighter(140));
        g.setColorAt(1, colour.darker(115));
        p.setBrush(g);
        p.drawRoundedRect(box, 22, 22);
        glyph(p, which, box.adjusted(box.width() * 0.2, box.height() * 0.2, -box.width() * 0.2, -box.height() * 0.2), Qt::white);
    };
}

Artwork icon(Icon which, const QColor& colour)
{
    return [which, colour](QPainter& p, const QRectF& r) { glyph(p, which, r.adjusted(2, 2, -2, -2), colour); };
}

Artwork heading(const QString& title, const QString& subtitle, Icon which, const QColor& from, const QColor& to)
{
    return [=](QPainter& p, const QRectF& r) {
        QLinearGradient g(r.topLeft(), r.bottomRight());
        g.setColorAt(0, from);
        g.setColorAt(1, to);
        p.fillRect(r, g);
        const double side = r.height() * 0.6;
        const QRectF iconBox(r.left() + r.height() * 0.2, r.top() + r.height() * 0.2, side, side);
        glyph(p, which, iconBox, Qt::white);
        const QRectF text(iconBox.right() + 14, r.top(), r.right() - iconBox.right() - 24, r.height());
        p.setPen(Qt::white);
        const double titleSize = subtitle.isEmpty() ? r.height() * 0.3 : r.height() * 0.26;
        p.setFont(fittingFont(boldFont(QStringLiteral("Verdana"), titleSize), title, text.width()));
        if (subtitle.isEmpty()) {
            p.drawText(text, Qt::AlignVCenter | Qt::AlignLeft, title);
            return;
        }
        p.drawText(text.adjusted(0, 0, 0, -r.height() * 0.45), Qt::AlignBottom | Qt::AlignLeft, title);
        QFont sub(QStringLiteral("Verdana"));
        sub.setPixelSize(std::max(8, int(r.height() * 0.13)));
        p.setFont(fittingFont(sub, subtitle, text.width()));
        p.drawText(text.adjusted(0, r.height() * 0.58, 0, 0), Qt::AlignTop | Qt::AlignLeft, subtitle);
    };
}

Artwork words(const QString& text, const FontSpec& font, Qt::Alignment align)
{
    return [=](QPainter& p, const QRectF& r) {
        p.setFont(fittingFont(font.apply(QFont()), text, r.width()));
        p.setPen(font.color.isValid() ? font.color : QColor(Qt::black));
        p.drawText(r, align, text);
    };
}

Artwork layered(Artwork below, Artwork above)
{
    return [below, above](QPainter& p, const QRectF& r) {
        if (below) below(p, r);
        if (above) above(p, r);
    };
}

void euroSign(QPainter& p, const QRectF& circle, double rim, const QColor& fill)
{
    p.setPen(QPen(QColor(0xC8, 0x9B, 0x1E), rim));
    p.setBrush(fill);
    p.drawEllipse(circle);
    p.setPen(QColor(0x1F, 0x3F, 0x6E));
    p.setFont(boldFont(QStringLiteral("DejaVu Sans"), circle.height() * 0.62));
    p.drawText(circle, Qt::AlignCenter, QStringLiteral("\u20ac"));
}

Artwork euroLogo()
{
    return [](QPainter& p, const QRectF& r) {
        p.fillRect(r, Qt::white);
        const double side = std::min(r.width(), r.height()) * 0.8;
        euroSign(p, QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side), side * 0.05,
                 QColor(0xFF, 0xF4, 0xD6));
    };
}

} // namespace orv::platform::ui::art
