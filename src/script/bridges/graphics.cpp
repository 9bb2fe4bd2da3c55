#include "script/bridges/graphics.h"

#include "platform/core/exceptions.h"
#include "script/bridges/classlib.h"
#include "script/bridges/register.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QColor>
#include <QPainterPath>

#include <cmath>

namespace orv::script {
using namespace orv::platform;
} // namespace orv::script

namespace orv::script::bridges {

namespace {
// The named colours scripts know: the 147 keywords of the CSS colour module level 3,
// in alphabetical order, with their red, green and blue bytes. The table is the program's
// own so that the names do not change with the toolkit's version.
struct NamedColour {
    const char* name;
    quint32 rgb;
};
constexpr NamedColour kNamedColours[] = {
    {"aliceblue", 0xF0F8FF}, {"antiquewhite", 0xFAEBD7}, {"aqua", 0x00FFFF},
    {"aquamarine", 0x7FFFD4}, {"azure", 0xF0FFFF}, {"beige", 0xF5F5DC},
    {"bisque", 0xFFE4C4}, {"black", 0x000000}, {"blanchedalmond", 0xFFEBCD},
    {"blue", 0x0000FF}, {"blueviolet", 0x8A2BE2}, {"brown", 0xA52A2A},
    {"burlywood", 0xDEB887}, {"cadetblue", 0x5F9EA0}, {"chartreuse", 0x7FFF00},
    {"chocolate", 0xD2691E}, {"coral", 0xFF7F50}, {"cornflowerblue", 0x6495ED},
    {"cornsilk", 0xFFF8DC}, {"crimson", 0xDC143C}, {"cyan", 0x00FFFF},
    {"darkblue", 0x00008B}, {"darkcyan", 0x008B8B}, {"darkgoldenrod", 0xB8860B},
    {"darkgray", 0xA9A9A9}, {"darkgreen", 0x006400}, {"darkgrey", 0xA9A9A9},
    {"darkkhaki", 0xBDB76B}, {"darkmagenta", 0x8B008B}, {"darkolivegreen", 0x556B2F},
    {"darkorange", 0xFF8C00}, {"darkorchid", 0x9932CC}, {"darkred", 0x8B0000},
    {"darksalmon", 0xE9967A}, {"darkseagreen", 0x8FBC8F}, {"darkslateblue", 0x483D8B},
    {"darkslategray", 0x2F4F4F}, {"darkslategrey", 0x2F4F4F}, {"darkturquoise", 0x00CED1},
    {"darkviolet", 0x9400D3}, {"deeppink", 0xFF1493}, {"deepskyblue", 0x00BFFF},
    {"dimgray", 0x696969}, {"dimgrey", 0x696969}, {"dodgerblue", 0x1E90FF},
    {"firebrick", 0xB22222}, {"floralwhite", 0xFFFAF0}, {"forestgreen", 0x228B22},
    {"fuchsia", 0xFF00FF}, {"gainsboro", 0xDCDCDC}, {"ghostwhite", 0xF8F8FF},
    {"gold", 0xFFD700}, {"goldenrod", 0xDAA520}, {"gray", 0x808080},
    {"green", 0x008000}, {"greenyellow", 0xADFF2F}, {"grey", 0x808080},
    {"honeydew", 0xF0FFF0}, {"hotpink", 0xFF69B4}, {"indianred", 0xCD5C5C},
    {"indigo", 0x4B0082}, {"ivory", 0xFFFFF0}, {"khaki", 0xF0E68C},
    {"lavender", 0xE6E6FA}, {"lavenderblush", 0xFFF0F5}, {"lawngreen", 0x7CFC00},
    {"lemonchiffon", 0xFFFACD}, {"lightblue", 0xADD8E6}, {"lightcoral", 0xF08080},
    {"lightcyan", 0xE0FFFF}, {"lightgoldenrodyellow", 0xFAFAD2}, {"lightgray", 0xD3D3D3},
    {"lightgreen", 0x90EE90}, {"lightgrey", 0xD3D3D3}, {"lightpink", 0xFFB6C1},
    {"lightsalmon", 0xFFA07A}, {"lightseagreen", 0x20B2AA}, {"lightskyblue", 0x87CEFA},
    {"lightslategray", 0x778899}, {"lightslategrey", 0x778899}, {"lightsteelblue", 0xB0C4DE},
    {"lightyellow", 0xFFFFE0}, {"lime", 0x00FF00}, {"limegreen", 0x32CD32},
    {"linen", 0xFAF0E6}, {"magenta", 0xFF00FF}, {"maroon", 0x800000},
    {"mediumaquamarine", 0x66CDAA}, {"mediumblue", 0x0000CD}, {"mediumorchid", 0xBA55D3},
    {"mediumpurple", 0x9370DB}, {"mediumseagreen", 0x3CB371}, {"mediumslateblue", 0x7B68EE},
    {"mediumspringgreen", 0x00FA9A}, {"mediumturquoise", 0x48D1CC}, {"mediumvioletred", 0xC71585},
    {"midnightblue", 0x191970}, {"mintcream", 0xF5FFFA}, {"mistyrose", 0xFFE4E1},
    {"moccasin", 0xFFE4B5}, {"navajowhite", 0xFFDEAD}, {"navy", 0x000080},
    {"oldlace", 0xFDF5E6}, {"olive", 0x808000}, {"olivedrab", 0x6B8E23},
    {"orange", 0xFFA500}, {"orangered", 0xFF4500}, {"orchid", 0xDA70D6},
    {"palegoldenrod", 0xEEE8AA}, {"palegreen", 0x98FB98}, {"paleturquoise", 0xAFEEEE},
    {"palevioletred", 0xDB7093}, {"papayawhip", 0xFFEFD5}, {"peachpuff", 0xFFDAB9},
    {"peru", 0xCD853F}, {"pink", 0xFFC0CB}, {"plum", 0xDDA0DD},
    {"powderblue", 0xB0E0E6}, {"purple", 0x800080}, {"red", 0xFF0000},
    {"rosybrown", 0xBC8F8F}, {"royalblue", 0x4169E1}, {"saddlebrown", 0x8B4513},
    {"salmon", 0xFA8072}, {"sandybrown", 0xF4A460}, {"seagreen", 0x2E8B57},
    {"seashell", 0xFFF5EE}, {"sienna", 0xA0522D}, {"silver", 0xC0C0C0},
    {"skyblue", 0x87CEEB}, {"slateblue", 0x6A5ACD}, {"slategray", 0x708090},
    {"slategrey", 0x708090}, {"snow", 0xFFFAFA}, {"springgreen", 0x00FF7F},
    {"steelblue", 0x4682B4}, {"tan", 0xD2B48C}, {"teal", 0x008080},
    {"thistle", 0xD8BFD8}, {"tomato", 0xFF6347}, {"turquoise", 0x40E0D0},
    {"violet", 0xEE82EE}, {"wheat", 0xF5DEB3}, {"white", 0xFFFFFF},
    {"whitesmoke", 0xF5F5F5}, {"yellow", 0xFFFF00}, {"yellowgreen", 0x9ACD32},
};
static_assert(std::size(kNamedColours) == 147);
} // namespace

ORV_RTTI_DEFINE_NAMED(FontObject, Persistent, "TFont")
{
    c.prop("Family", &FontObject::Family, &FontObject::SetFamily);
    c.prop("Size", &FontObject::Size, &FontObject::SetSize);
    c.prop("Style", &FontObject::Style, &FontObject::SetStyle);
}
ORV_RTTI_DEFINE_NAMED(BrushObject, Persistent, "TBrush")
{
    c.prop("Color", &BrushObject::Color, &BrushObject::SetColor).type(QStringLiteral("TAlphaColor"));
    c.prop("Kind", &BrushObject::Kind, &BrushObject::SetKind).type(QStringLiteral("TBrushKind"));
}
ORV_RTTI_DEFINE_NAMED(StrokeBrushObject, BrushObject, "TStrokeBrush") {}

namespace {

// Drawing classes scripts may name (declare, cast, test with is) but that carry nothing
// a script reaches.
class GradientPoint : public CollectionItem {
    ORV_RTTI_CLASS(GradientPoint)
};
class GradientPoints : public Collection {
    ORV_RTTI_CLASS(GradientPoints)
};
class Gradient : public Persistent {
    ORV_RTTI_CLASS(Gradient)
};
class BrushBitmap : public Persistent {
    ORV_RTTI_CLASS(BrushBitmap)
};
class BrushResource : public Persistent {
    ORV_RTTI_CLASS(BrushResource)
};
class Spline : public platform::rtti::Object {
    ORV_RTTI_CLASS(Spline)
};
class Bounds : public Persistent {
    ORV_RTTI_CLASS(Bounds)
};
class Transform : public Persistent {
    ORV_RTTI_CLASS(Transform)
};

} // namespace

ORV_RTTI_DEFINE_NAMED(GradientPoint, CollectionItem, "TGradientPoint") {}
ORV_RTTI_DEFINE_NAMED(GradientPoints, Collection, "TGradientPoints") {}
ORV_RTTI_DEFINE_NAMED(Gradient, Persistent, "TGradient") {}
ORV_RTTI_DEFINE_NAMED(BrushBitmap, Persistent, "TBrushBitmap") {}
ORV_RTTI_DEFINE_NAMED(BrushResource, Persistent, "TBrushResource") {}
ORV_RTTI_DEFINE_NAMED(Spline, platform::rtti::Object, "TSpline") {}
ORV_RTTI_DEFINE_NAMED(Bounds, Persistent, "TBounds") {}
ORV_RTTI_DEFINE_NAMED(Transform, Persistent, "TTransform") {}
ORV_RTTI_DEFINE_NAMED(CanvasSaveState, Persistent, "TCanvasSaveState") {}
ORV_RTTI_DEFINE_NAMED(CanvasObject, Persistent, "TCanvas") {}
ORV_RTTI_DEFINE_NAMED(BitmapObject, Persistent, "TBitmap") {}
ORV_RTTI_DEFINE_NAMED(PathData, Persistent, "TPathData")
{
    c.prop("Data", &PathData::Data, &PathData::SetData);
}

void PathData::Assign(const Persistent* Source)
{
    if (auto* p = dynamic_cast<const PathData*>(Source))
        path = p->path;
    else
        Persistent::Assign(Source);
}

namespace {

// Reads path text: a command letter, then as many groups of numbers as it takes.
class PathReader {
public:
    explicit PathReader(const QString& t) : m_t(t) {}
    bool atEnd()
    {
        skip();
        return m_i >= m_t.size();
    }
    bool command(QChar& c)
    {
        skip();
        if (m_i < m_t.size() && m_t[m_i].isLetter()) {
            c = m_t[m_i++];
            return true;
        }
        return false;
    }
    bool number(double& v)
    {
        skip();
        const qsizetype start = m_i;
        if (m_i < m_t.size() && (m_t[m_i] == u'-' || m_t[m_i] == u'+'))
            ++m_i;
        bool digits = false;
        while (m_i < m_t.size() && (m_t[m_i].isDigit() || m_t[m_i] == u'.')) {
            ++m_i;
            digits = true;
        }
        if (digits && m_i < m_t.size() && (m_t[m_i] == u'e' || m_t[m_i] == u'E')) {
            ++m_i;
            if (m_i < m_t.size() && (m_t[m_i] == u'-' || m_t[m_i] == u'+'))
                ++m_i;
            while (m_i < m_t.size() && m_t[m_i].isDigit())
                ++m_i;
        }
        if (!digits) {
            m_i = start;
            return false;
        }
        bool ok = false;
        v = m_t.mid(start, m_i - start).toDouble(&ok);
        return ok;
    }

private:
    void skip()
    {
        while (m_i < m_t.size() && (m_t[m_i].isSpace() || m_t[m_i] == u','))
            ++m_i;
    }
    const QString& m_t;
    qsizetype m_i = 0;
};

} // namespace

QPainterPath pathFromData(const QString& data)
{
    QPainterPath path;
    PathReader r(data);
    QChar cmd;
    QPointF cur, start, lastControl;
    QChar lastCmd;
    while (!r.atEnd()) {
        QChar next;
        if (r.command(next))
            cmd = next;
        else if (cmd.isNull())
            break; // numbers before any command: nothing more can be read
        const bool rel = cmd.isLower();
        const QChar up = cmd.toUpper();
        const auto at = [&](double x, double y) { return rel ? cur + QPointF(x, y) : QPointF(x, y); };
        double a[6];
        const auto read = [&](int n) {
            for (int i = 0; i < n; ++i)
                if (!r.number(a[i]))
                    return false;
            return true;
        };
        if (up == u'Z') {
            path.closeSubpath();
            cur = start;
            lastCmd = up;
            continue;
        }
        bool ok = true;
        if (up == u'M') {
            if ((ok = read(2))) {
                cur = start = at(a[0], a[1]);
                path.moveTo(cur);
                cmd = rel ? QChar(u'l') : QChar(u'L'); // further pairs are lines
            }
        } else if (up == u'L') {
            if ((ok = read(2)))
                path.lineTo(cur = at(a[0], a[1]));
        } else if (up == u'H') {
            if ((ok = read(1)))
                path.lineTo(cur = QPointF(rel ? cur.x() + a[0] : a[0], cur.y()));
        } else if (up == u'V') {
            if ((ok = read(1)))
                path.lineTo(cur = QPointF(cur.x(), rel ? cur.y() + a[0] : a[0]));
        } else if (up == u'C') {
            if ((ok = read(6))) {
                const QPointF c1 = at(a[0], a[1]), c2 = at(a[2], a[3]), end = at(a[4], a[5]);
                path.cubicTo(c1, c2, end);
                lastControl = c2;
                cur = end;
            }
        } else if (up == u'S') {
            if ((ok = read(4))) {
                const QPointF c1 = (lastCmd == u'C' || lastCmd == u'S') ? 2 * cur - lastControl : cur;
                const QPointF c2 = at(a[0], a[1]), end = at(a[2], a[3]);
                path.cubicTo(c1, c2, end);
                lastControl = c2;
                cur = end;
            }
        } else if (up == u'Q') {
            if ((ok = read(4))) {
                const QPointF c1 = at(a[0], a[1]), end = at(a[2], a[3]);
                path.quadTo(c1, end);
                lastControl = c1;
                cur = end;
            }
        } else if (up == u'T') {
            if ((ok = read(2))) {
                const QPointF c1 = (lastCmd == u'Q' || lastCmd == u'T') ? 2 * cur - lastControl : cur;
                const QPointF end = at(a[0], a[1]);
                path.quadTo(c1, end);
                lastControl = c1;
                cur = end;
            }
        } else {
            ok = false;
        }
        if (!ok)
            break; // an unknown command or a missing number ends the path there
        lastCmd = up;
    }
    return path;
}

QString dataFromPath(const QPainterPath& path)
{
    QStringList parts;
    const auto num = [](double v) { return QString::number(v, 'g', 8); };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            parts << QStringLiteral("M %1 %2").arg(num(e.x), num(e.y));
        } else if (e.isLineTo()) {
            parts << QStringLiteral("L %1 %2").arg(num(e.x), num(e.y));
        } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
            const auto c2 = path.elementAt(i + 1), end = path.elementAt(i + 2);
            parts << QStringLiteral("C %1 %2 %3 %4 %5 %6")
                         .arg(num(e.x), num(e.y), num(c2.x), num(c2.y), num(end.x), num(end.y));
            i += 2;
        }
    }
    return parts.join(u' ');
}
ORV_RTTI_DEFINE_NAMED(LineMetricInfo, platform::rtti::Object, "TLineMetricInfo")
{
    c.prop("Count", &LineMetricInfo::Count);
    c.prop("Lines", &LineMetricInfo::Lines);
}

LineMetricInfo::LineMetricInfo() : m_lines(std::make_unique<StringList>()) { lendToScripts(m_lines.get()); }
LineMetricInfo::~LineMetricInfo() { takeBackFromScripts(m_lines.get()); }
int LineMetricInfo::Count() const { return m_lines->Count(); }

void LineMetricInfo::setLines(const std::vector<QString>& lines)
{
    m_lines->Clear();
    for (const QString& l : lines)
        m_lines->Add(l);
}

QPen CanvasObject::pen() const
{
    const quint32 colour = m_stroke->paintColor();
    if (colour == 0)
        return QPen(Qt::NoPen);
    QPen pen(QColor::fromRgba(colour));
    pen.setWidthF(m_strokeThickness);
    pen.setCapStyle(strokeCap == 1 ? Qt::RoundCap : Qt::FlatCap);
    pen.setJoinStyle(strokeJoin == 1 ? Qt::RoundJoin : strokeJoin == 2 ? Qt::BevelJoin : Qt::MiterJoin);
    switch (strokeDash) {
    case 1:
        pen.setStyle(Qt::DashLine);
        break;
    case 2:
        pen.setStyle(Qt::DotLine);
        break;
    case 3:
        pen.setStyle(Qt::DashDotLine);
        break;
    case 4:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    case 5:
        if (!customDash.isEmpty()) {
            pen.setDashPattern(customDash);
            pen.setDashOffset(customDashOffset);
        }
        break;
    default:
        break;
    }
    return pen;
}

int FontObject::Style() const
{
    return (font.bold ? 1 : 0) | (font.italic ? 2 : 0) | (font.underline ? 4 : 0) | (font.strikeOut ? 8 : 0);
}

void FontObject::SetStyle(int bits)
{
    font.bold = bits & 1;
    font.italic = bits & 2;
    font.underline = bits & 4;
    font.strikeOut = bits & 8;
}

void FontObject::Assign(const Persistent* Source)
{
    if (auto* f = dynamic_cast<const FontObject*>(Source))
        font = f->font;
    else
        Persistent::Assign(Source);
}

void BrushObject::Assign(const Persistent* Source)
{
    if (auto* b = dynamic_cast<const BrushObject*>(Source)) {
        m_kind = b->m_kind;
        m_color = b->m_color;
    } else {
        Persistent::Assign(Source);
    }
}

// ------------------------------------------------------------------ canvas

CanvasObject::CanvasObject(Canvas* borrowed)
    : m_borrowed(borrowed), m_font(std::make_unique<FontObject>()), m_fill(std::make_unique<BrushObject>()),
      m_stroke(std::make_unique<StrokeBrushObject>())
{
    lendToScripts(m_font.get());
    lendToScripts(m_fill.get());
    lendToScripts(m_stroke.get());
    if (borrowed)
        m_font->font = borrowed->font;
}

CanvasObject::CanvasObject(BitmapObject* bitmap) : CanvasObject(static_cast<Canvas*>(nullptr))
{
    m_bitmap = bitmap;
}

CanvasObject::~CanvasObject()
{
    EndScene();
    takeBackFromScripts(m_font.get());
    takeBackFromScripts(m_fill.get());
    takeBackFromScripts(m_stroke.get());
}

bool CanvasObject::BeginScene()
{
    if (m_borrowed)
        return true;
    if (!m_bitmap || m_bitmap->image.isNull())
        return false;
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_bitmap->image);
        m_own = std::make_unique<Canvas>(m_painter.get());
    }
    return true;
}

void CanvasObject::EndScene()
{
    m_own.reset();
    m_painter.reset();
}

Canvas& CanvasObject::canvas()
{
    Canvas* c = m_borrowed ? m_borrowed : m_own.get();
    if (!c) {
        if (!m_measure)
            m_measure = std::make_unique<Canvas>();
        c = m_measure.get();
    }
    c->strokeColor = m_stroke->paintColor();
    c->strokeThickness = m_strokeThickness;
    c->strokeDash = StrokeDash(std::clamp(strokeDash, 0, 4));
    c->fillColor = m_fill->paintColor();
    c->font = m_font->font;
    return *c;
}

namespace {

int deviceSize(Canvas* c, bool width)
{
    if (!c || !c->painter() || !c->painter()->device())
        return 0;
    return width ? c->painter()->device()->width() : c->painter()->device()->height();
}

} // namespace

int CanvasObject::Width() const
{
    return m_bitmap ? m_bitmap->Width() : deviceSize(m_borrowed, true);
}

int CanvasObject::Height() const
{
    return m_bitmap ? m_bitmap->Height() : deviceSize(m_borrowed, false);
}

// ------------------------------------------------------------------ bitmap

BitmapObject::~BitmapObject()
{
    if (m_canvas)
        takeBackFromScripts(m_canvas.get());
}

void BitmapObject::SetSize(int w, int h)
{
    if (m_canvas)
        m_canvas->EndScene();
    w = std::clamp(w, 0, 16384);
    h = std::clamp(h, 0, 16384);
    QImage next(w, h, QImage::Format_ARGB32_Premultiplied);
    next.fill(Qt::transparent);
    if (!image.isNull() && w > 0 && h > 0) {
        QPainter p(&next);
        p.drawImage(0, 0, image);
    }
    image = w > 0 && h > 0 ? next : QImage();
}

CanvasObject& BitmapObject::canvasObject()
{
    if (!m_canvas) {
        m_canvas = std::make_unique<CanvasObject>(this);
        lendToScripts(m_canvas.get());
    }
    return *m_canvas;
}

// ------------------------------------------------------------------ the module

namespace graphics {

namespace {

QRectF rectArg(TfsMethodHelper* c, int i)
{
    auto* r = argAs<TfsRectF>(c, i);
    return r ? r->GetRect() : QRectF();
}

QPointF pointArg(TfsMethodHelper* c, int i)
{
    auto* p = argAs<TfsPointF>(c, i);
    return p ? p->GetRect() : QPointF();
}

// The script's alignments are handed on as the canvas's: 0 centre, 1 leading, 2 trailing.
TextAlign alignArg(TfsMethodHelper* c, int i)
{
    switch (argInt(c, i)) {
    case 1:
        return TextAlign::Leading;
    case 2:
        return TextAlign::Trailing;
    default:
        return TextAlign::Center;
    }
}

QPolygonF polygonArg(TfsMethodHelper* c, int i)
{
    QPolygonF polygon;
    const Value points = argValue(c, i);
    if (!points.isArray())
        return polygon;
    for (const Value& v : points.elements())
        if (auto* p = valueAs<TfsPointF>(v))
            polygon << p->GetRect();
    return polygon;
}

QPolygonF arc(const QPointF& centre, const QPointF& radius, double start, double sweep, bool pie)
{
    QPainterPath path;
    const QRectF box(centre - radius, centre + radius);
    if (pie)
        path.moveTo(centre);
    else
        path.arcMoveTo(box, -start);
    path.arcTo(box, -start, -sweep);
    if (pie)
        path.closeSubpath();
    return path.toFillPolygon();
}

} // namespace

TFunctions::TFunctions(TfsScript* AScript) : BridgeModule(AScript)
{
    TfsScript* s = AScript;
    const TfsCallMethodNewEvent call = callback();
    const QString integer = QStringLiteral("Integer");
    // Named colours: opaque, in the order of the colour table, then claNull.
    for (const NamedColour& c : kNamedColours) {
        const QString name = QString::fromLatin1(c.name);
        s->AddConst(QStringLiteral("cla") + name.left(1).toUpper() + name.mid(1), integer,
                    Value(int(c.rgb | 0xFF000000u)));
    }
    s->AddConst(QStringLiteral("claNull"), integer, Value(0));
    s->AddType(QStringLiteral("TAlignment"), fvtInt);
    s->AddType(QStringLiteral("TLeftRight"), fvtInt);
    s->AddConst(QStringLiteral("taLeftJustify"), integer, Value(0));
    s->AddConst(QStringLiteral("taRightJustify"), integer, Value(1));
    s->AddConst(QStringLiteral("taCenter"), integer, Value(2));
    s->AddType(QStringLiteral("TVerticalAlignment"), fvtInt);
    s->AddConst(QStringLiteral("taAlignTop"), integer, Value(0));
    s->AddConst(QStringLiteral("taAlignBottom"), integer, Value(1));
    s->AddConst(QStringLiteral("taVerticalCenter"), integer, Value(2));
    // Named without the blank that would keep scripts from ever passing a value to the
    // members that take them.
    s->AddType(QStringLiteral("TCorners"), fvtInt);
    const char* corners[] = {"crTopLeft", "crTopRight", "crBottomLeft", "crBottomRight"};
    for (int i = 0; i < 4; ++i)
        s->AddConst(QString::fromLatin1(corners[i]), integer, Value(i));
    s->AddType(QStringLiteral("TSides"), fvtInt);
    const char* sides[] = {"sdTop", "sdLeft", "sdBottom", "sdRight"};
    for (int i = 0; i < 4; ++i)
        s->AddConst(QString::fromLatin1(sides[i]), integer, Value(i));
    s->AddType(QStringLiteral("TFillTextFlags"), fvtInt);
    s->AddConst(QStringLiteral("ftRightToLeft"), integer, Value(0));
    s->AddEnumSet(QStringLiteral("TFontStyles"), QStringLiteral("fsBold, fsItalic, fsUnderline, fsStrikeout"));
    const std::pair<const char*, const char*> enums[] = {
        {"TFontPitch", "fpDefault, fpVariable, fpFixed"},
        {"TFontQuality", "fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType, fqClearTypeNatural"},
        {"TGradientStyle", "gsLinear, gsRadial"},
        {"TWrapMode", "wmTile, wmTileOriginal, wmTileStretch"},
        {"TCornerType", "ctRound, ctBevel, ctInnerRound, ctInnerLine"},
        {"TAlignLayout", "alNone, alTop, alLeft, alRight, alBottom, alMostTop, alMostBottom, alMostLeft, alMostRight, "
                         "alClient, alContents, alCenter, alVertCenter, alHorzCenter, alHorizontal, alVertical, "
                         "alScale, alFit, alFitLeft, alFitRight"},
        {"TPathPointKind", "ppMoveTo, ppLineTo, ppCurveTo, ppClose"},
        {"TStrokeCap", "scFlat, scRound"},
        {"TStrokeJoin", "sjMiter, sjRound, sjBevel"},
        {"TStrokeDash", "sdSolid, sdDash, sdDot, sdDashDot, sdDashDotDot, sdCustom"},
        {"TBrushKind", "bkNone, bkSolid, bkGradient, bkBitmap, bkResource, bkGrab"},
    };
    for (const auto& [type, names] : enums)
        s->AddEnum(QString::fromLatin1(type), QString::fromLatin1(names));
    // Types the drawing members name.
    for (const char* t : {"TAlphaColor", "TTextAlign"})
        s->AddType(QString::fromLatin1(t), fvtInt);
    s->AddType(QStringLiteral("TPolygon"), fvtVariant);

    s->AddClass(&TfsMatrix::staticClassInfo(), QStringLiteral("TPersistent"));
    if (auto* c = s->AddClass(&FontObject::staticClassInfo(), QStringLiteral("TPersistent")))
        c->AddConstructor(QStringLiteral("constructor Create"), call);
    s->AddClass(&GradientPoint::staticClassInfo(), QStringLiteral("TCollectionItem"));
    s->AddClass(&GradientPoints::staticClassInfo(), QStringLiteral("TCollection"));
    for (const platform::rtti::ClassInfo* c : {&Gradient::staticClassInfo(), &BrushBitmap::staticClassInfo(),
                                     &BrushResource::staticClassInfo()})
        s->AddClass(c, QStringLiteral("TPersistent"));
    s->AddClass(&LineMetricInfo::staticClassInfo(), QStringLiteral("TObject"));
    if (auto* c = s->AddClass(&BrushObject::staticClassInfo(), QStringLiteral("TPersistent"))) {
        c->AddConstructor(QStringLiteral("constructor Create(ADefaultKind: TBrushKind; ADefaultColor: TAlphaColor)"),
                          call);
        c->AddProperty(QStringLiteral("DefaultColor"), QStringLiteral("TAlphaColor"), getter());
        c->AddProperty(QStringLiteral("DefaultKind"), QStringLiteral("TBrushKind"), getter());
    }
    s->AddClass(&StrokeBrushObject::staticClassInfo(), QStringLiteral("TBrush"));
    s->AddClass(&CanvasSaveState::staticClassInfo(), QStringLiteral("TPersistent"));
    if (auto* c = s->AddClass(&CanvasObject::staticClassInfo(), QStringLiteral("TPersistent"))) {
        for (const char* m : {
                 "function BeginScene: Boolean",
                 "procedure EndScene",
                 "procedure Clear(Color: TAlphaColor)",
                 "procedure ClearRect(ARect: TfsRectF; AColor: TAlphaColor = 0)",
                 "procedure SetMatrix(const M: TfsMatrix)",
                 "procedure MultiplyMatrix(const M: TfsMatrix)",
                 "function SaveState: TCanvasSaveState",
                 "procedure RestoreState(State: TCanvasSaveState)",
                 "procedure SetClipRects(ARects: array of TfsRectF)",
                 "procedure IntersectClipRect(ARect: TfsRectF)",
                 "procedure ExcludeClipRect(ARect: TfsRectF)",
                 "procedure ResetClipRect",
                 "procedure DrawLine(APt1: TfsPointF; APt2: TfsPointF; AOpacity: Single)",
                 "procedure FillRect(ARect: TfsRectF; XRadius: Single; YRadius: Single; ACorners: TCorners; "
                 "AOpacity: Single; ACornerType: TCornerType)",
                 "procedure DrawRect(ARect: TfsRectF; XRadius: Single; YRadius: Single; ACorners: TCorners; "
                 "AOpacity: Single; ACornerType: TCornerType)",
                 "procedure FillEllipse(ARect: TfsRectF; AOpacity: Single)",
                 "procedure DrawEllipse(ARect: TfsRectF; AOpacity: Single)",
                 "procedure FillArc(Center: TfsPointF; Radius: TfsPointF; StartAngle: Single; SweepAngle: Single; "
                 "AOpacity: Single)",
                 "procedure DrawArc(Center: TfsPointF; Radius: TfsPointF; StartAngle: Single; SweepAngle: Single; "
                 "AOpacity: Single)",
                 "function PtInPath(APoint: TfsPointF; APath: TPathData): Boolean",
                 "procedure FillPath(APath: TPathData; AOpacity: Single)",
                 "procedure DrawPath(APath: TPathData; AOpacity: Single)",
                 "procedure DrawBitmap(ABitmap: TBitmap; SrcRect: TfsRectF; DstRect: TfsRectF; AOpacity: Single; "
                 "HighSpeed: Boolean)",
                 "procedure DrawRectSides(ARect: TfsRectF; XRadius: Single; YRadius: Single; ACorners: TCorners; "
                 "AOpacity: Single; ASides: TSides; ACornerType: TCornerType)",
                 "procedure FillPolygon(Points: TPolygon; AOpacity: Single)",
                 "procedure DrawPolygon(Points: TPolygon; AOpacity: Single)",
                 "function LoadFontFromStream(AStream: TStream): Boolean",
                 "procedure FillText(ARect: TfsRectF; AText: string; WordWrap: Boolean; AOpacity: Single; "
                 "Flags: TFillTextFlags; ATextAlign: TTextAlign; AVTextAlign: TTextAlign)",
                 "procedure MeasureText(var ARect: TfsRectF; AText: string; WordWrap: Boolean; Flags: TFillTextFlags; "
                 "ATextAlign: TTextAlign; AVTextAlign: TTextAlign)",
                 "procedure MeasureLines(ALines: TLineMetricInfo; ARect: TfsRectF; AText: string; WordWrap: Boolean; "
                 "Flags: TFillTextFlags; ATextAlign: TTextAlign; AVTextAlign: TTextAlign)",
                 "function TextToPath(Path: TPathData; ARect: TfsRectF; AText: string; WordWrap: Boolean; "
                 "ATextAlign: TTextAlign; AVTextAlign: TTextAlign): Boolean",
                 "function TextWidth(AText: string): Single",
                 "function TextHeight(AText: string): Single",
                 "procedure SetCustomDash(Dash: array; Offset: Single)",
             })
            c->AddMethod(QString::fromLatin1(m), call);
        c->AddProperty(QStringLiteral("Stroke"), QStringLiteral("TStrokeBrush"), getter());
        c->AddProperty(QStringLiteral("StrokeCap"), QStringLiteral("TStrokeCap"), nullptr, setter());
        c->AddProperty(QStringLiteral("StrokeDash"), QStringLiteral("TStrokeDash"), nullptr, setter());
        c->AddProperty(QStringLiteral("StrokeJoin"), QStringLiteral("TStrokeJoin"), nullptr, setter());
        c->AddProperty(QStringLiteral("StrokeThickness"), QStringLiteral("Single"), getter(), setter());
        c->AddProperty(QStringLiteral("Fill"), QStringLiteral("TBrush"), getter(), setter());
        c->AddProperty(QStringLiteral("Font"), QStringLiteral("TFont"), getter());
        c->AddProperty(QStringLiteral("Matrix"), QStringLiteral("TfsMatrix"), getter());
        c->AddProperty(QStringLiteral("Width"), integer, getter());
        c->AddProperty(QStringLiteral("Height"), integer, getter());
    }
    if (auto* c = s->AddClass(&BitmapObject::staticClassInfo(), QStringLiteral("TPersistent"))) {
        c->AddConstructor(QStringLiteral("constructor Create(AWidth, AHeight: Integer)"), call);
        c->AddConstructor(QStringLiteral("constructor CreateFromStream(AStream: TStream)"), call);
        c->AddConstructor(QStringLiteral("constructor CreateFromFile(AFileName: string)"), call);
        for (const char* m : {
                 "procedure SetSize(AWidth, AHeight: Integer)", "procedure Clear(AColor: TAlphaColor)",
                 "procedure ClearRect(ARect: TfsRectF; AColor: TAlphaColor = 0)", "function IsEmpty: Boolean",
                 "procedure Rotate(Angle: Single)", "procedure FlipHorizontal", "procedure FlipVertical",
                 "procedure InvertAlpha", "procedure LoadFromFile(AFileName: string; Rotate: Single = 0)",
                 "procedure SaveToFile(AFileName: string)", "procedure LoadFromStream(Stream: TStream)",
                 "procedure SaveToStream(Stream: TStream)",
             })
            c->AddMethod(QString::fromLatin1(m), call);
        c->AddProperty(QStringLiteral("Canvas"), QStringLiteral("TCanvas"), getter());
        c->AddProperty(QStringLiteral("ResourceBitmap"), QStringLiteral("TBitmap"), getter());
        c->AddProperty(QStringLiteral("Width"), integer, getter(), setter());
        c->AddProperty(QStringLiteral("Height"), integer, getter(), setter());
    }
    s->AddClass(&Spline::staticClassInfo(), QStringLiteral("TObject"));
    for (const platform::rtti::ClassInfo* c : {&Bounds::staticClassInfo(), &Transform::staticClassInfo(),
                                     &PathData::staticClassInfo()})
        s->AddClass(c, QStringLiteral("TPersistent"));
}

namespace {

void loadImage(BitmapObject& b, const QByteArray& bytes, const QString& what)
{
    QImage img;
    if (!img.loadFromData(bytes))
        throw orv::platform::Exception(QStringLiteral("Cannot load image %1").arg(what));
    b.SetSize(0, 0);
    b.image = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QByteArray fileBytes(const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw EFileError(QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(fileName));
    return f.readAll();
}

QByteArray pngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

Value invokeBitmap(BitmapObject& b, const QString& m, TfsMethodHelper* c)
{
    if (is(m, "CREATE") || is(m, "SETSIZE"))
        b.SetSize(argInt(c, 0), argInt(c, 1));
    else if (is(m, "CREATEFROMSTREAM") || is(m, "LOADFROMSTREAM")) {
        if (auto* st = argAs<Stream>(c, 0))
            loadImage(b, st->ReadRest(), QString());
    } else if (is(m, "CREATEFROMFILE") || is(m, "LOADFROMFILE")) {
        const QString name = argString(c, 0);
        loadImage(b, fileBytes(name), name);
        if (is(m, "LOADFROMFILE") && argFloat(c, 1) != 0)
            b.image = b.image.transformed(QTransform().rotate(argFloat(c, 1)));
    } else if (is(m, "CLEAR"))
        b.image.fill(QColor::fromRgba(quint32(argInt(c, 0))));
    else if (is(m, "CLEARRECT")) {
        b.canvasObject().EndScene();
        QPainter p(&b.image);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(argAs<TfsRectF>(c, 0) ? argAs<TfsRectF>(c, 0)->GetRect() : QRectF(),
                   QColor::fromRgba(quint32(argInt(c, 1))));
    } else if (is(m, "ISEMPTY"))
        return Value(b.image.isNull());
    else if (is(m, "ROTATE")) {
        b.canvasObject().EndScene();
        b.image = b.image.transformed(QTransform().rotate(argFloat(c, 0)));
    } else if (is(m, "FLIPHORIZONTAL") || is(m, "FLIPVERTICAL")) {
        b.canvasObject().EndScene();
        b.image = b.image.mirrored(is(m, "FLIPHORIZONTAL"), is(m, "FLIPVERTICAL"));
    } else if (is(m, "INVERTALPHA")) {
        b.canvasObject().EndScene();
        QImage img = b.image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                line[x] = qRgba(qRed(line[x]), qGreen(line[x]), qBlue(line[x]), 255 - qAlpha(line[x]));
        }
        b.image = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    } else if (is(m, "SAVETOFILE")) {
        if (!b.image.save(argString(c, 0)))
            throw EFileError(QStringLiteral("Cannot create file \"%1\"").arg(argString(c, 0)));
    } else if (is(m, "SAVETOSTREAM")) {
        if (auto* st = argAs<Stream>(c, 0)) {
            const QByteArray bytes = pngBytes(b.image);
            st->Write(bytes.constData(), bytes.size());
        }
    }
    if (is(m, "CREATE") || is(m, "CREATEFROMSTREAM") || is(m, "CREATEFROMFILE"))
        return objectValue(&b);
    return Value(0);
}

Value invokeCanvas(CanvasObject& co, const QString& m, TfsMethodHelper* c)
{
    if (is(m, "BEGINSCENE"))
        return Value(co.BeginScene());
    if (is(m, "ENDSCENE")) {
        co.EndScene();
        return Value(0);
    }
    if (is(m, "TEXTWIDTH"))
        return Value(co.canvas().textWidth(argString(c, 0)));
    if (is(m, "TEXTHEIGHT"))
        return Value(argString(c, 0).isEmpty() ? 0.0 : co.canvas().lineHeight());
    if (is(m, "SAVESTATE")) {
        co.canvas().saveState();
        return objectValue(new CanvasSaveState);
    }
    Canvas& cv = co.canvas();
    QPainter* painter = cv.painter();
    // The path members, the clip members and every outline drawn with a custom dash go
    // straight to the painter, with this canvas's pen and fill.
    const auto stroke = [&](const QPainterPath& path, double opacity) {
        if (!painter)
            return;
        painter->save();
        painter->setOpacity(painter->opacity() * opacity);
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setBrush(Qt::NoBrush);
        painter->setPen(co.pen());
        painter->drawPath(path);
        painter->restore();
    };
    const auto fill = [&](const QPainterPath& path, double opacity) {
        if (!painter || cv.fillColor == 0)
            return;
        painter->save();
        painter->setOpacity(painter->opacity() * opacity);
        painter->fillPath(path, QColor::fromRgba(cv.fillColor));
        painter->restore();
    };
    const auto pathArg = [&](int i) {
        auto* p = argAs<PathData>(c, i);
        return p ? p->path : QPainterPath();
    };
    if (is(m, "PTINPATH"))
        return Value(pathArg(1).contains(pointArg(c, 0)));
    if (is(m, "FILLPATH")) {
        fill(pathArg(0), argFloat(c, 1));
        return Value(0);
    }
    if (is(m, "DRAWPATH")) {
        stroke(pathArg(0), argFloat(c, 1));
        return Value(0);
    }
    if (is(m, "SETCLIPRECTS")) {
        QPainterPath area;
        const Value rects = argValue(c, 0);
        if (rects.isArray())
            for (const Value& v : rects.elements())
                if (auto* r = valueAs<TfsRectF>(v))
                    area.addRect(r->GetRect());
        if (painter)
            painter->setClipPath(area, Qt::ReplaceClip);
        return Value(0);
    }
    if (is(m, "RESETCLIPRECT")) {
        if (painter)
            painter->setClipping(false);
        return Value(0);
    }
    if (is(m, "EXCLUDECLIPRECT")) {
        if (painter && painter->device()) {
            QPainterPath base;
            if (painter->hasClipping()) {
                base = painter->clipPath();
            } else {
                const QRectF device(0, 0, painter->device()->width(), painter->device()->height());
                base.addPolygon(painter->worldTransform().inverted().map(QPolygonF(device)));
            }
            QPainterPath cut;
            cut.addRect(rectArg(c, 0));
            painter->setClipPath(base.subtracted(cut), Qt::ReplaceClip);
        }
        return Value(0);
    }
    if (is(m, "SETCUSTOMDASH")) {
        co.customDash.clear();
        const Value dash = argValue(c, 0);
        if (dash.isArray())
            for (const Value& v : dash.elements())
                co.customDash << qreal(float(v.toDouble()));
        co.customDashOffset = argFloat(c, 1);
        co.strokeDash = 5;
        return Value(0);
    }
    if (is(m, "LOADFONTFROMSTREAM")) {
        auto* st = argAs<Stream>(c, 0);
        if (!st)
            return Value(false);
        const int id = QFontDatabase::addApplicationFontFromData(st->ReadRest());
        const QStringList families = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
        if (families.isEmpty())
            return Value(false);
        // The font loaded is the one the canvas writes with from now on.
        co.font().SetFamily(families.first());
        return Value(true);
    }
    if (is(m, "MEASURELINES")) {
        if (auto* info = argAs<LineMetricInfo>(c, 0))
            info->setLines(cv.layoutLines(argString(c, 2), rectArg(c, 1).width(), argBool(c, 3)));
        return Value(0);
    }
    if (is(m, "TEXTTOPATH")) {
        auto* path = argAs<PathData>(c, 0);
        const QString text = argString(c, 2);
        if (!path || text.isEmpty())
            return Value(false);
        const QRectF r = rectArg(c, 1);
        QFont font(cv.font.family);
        font.setPixelSize(std::max(1, int(std::lround(cv.font.size))));
        font.setBold(cv.font.bold);
        font.setItalic(cv.font.italic);
        const QFontMetricsF fm(font);
        const std::vector<QString> lines = cv.layoutLines(text, r.width(), argBool(c, 3));
        const TextAlign horz = alignArg(c, 4), vert = alignArg(c, 5);
        const double height = fm.height() * double(lines.size());
        double y = vert == TextAlign::Leading ? r.top()
                   : vert == TextAlign::Trailing ? r.bottom() - height
                                                 : r.top() + (r.height() - height) / 2;
        for (const QString& line : lines) {
            const double w = fm.horizontalAdvance(line);
            const double x = horz == TextAlign::Leading ? r.left()
                             : horz == TextAlign::Trailing ? r.right() - w
                                                           : r.left() + (r.width() - w) / 2;
            path->path.addText(QPointF(x, y + fm.ascent()), font, line);
            y += fm.height();
        }
        return Value(true);
    }
    // Outlines with a custom dash.
    if (co.strokeDash == 5 && painter) {
        QPainterPath outline;
        if (is(m, "DRAWLINE")) {
            outline.moveTo(pointArg(c, 0));
            outline.lineTo(pointArg(c, 1));
            stroke(outline, argFloat(c, 2));
            return Value(0);
        }
        if (is(m, "DRAWRECT")) {
            outline.addRect(rectArg(c, 0));
            stroke(outline, argFloat(c, 4));
            return Value(0);
        }
        if (is(m, "DRAWELLIPSE")) {
            outline.addEllipse(rectArg(c, 0));
            stroke(outline, argFloat(c, 1));
            return Value(0);
        }
        if (is(m, "DRAWPOLYGON")) {
            outline.addPolygon(polygonArg(c, 0));
            stroke(outline, argFloat(c, 1));
            return Value(0);
        }
    }
    if (is(m, "CLEAR"))
        cv.clear(quint32(argInt(c, 0)));
    else if (is(m, "CLEARRECT")) {
        const quint32 keep = cv.fillColor;
        cv.fillColor = quint32(argInt(c, 1));
        cv.fillRect(rectArg(c, 0));
        cv.fillColor = keep;
    } else if (is(m, "SETMATRIX")) {
        if (auto* mx = argAs<TfsMatrix>(c, 0))
            cv.setMatrix(mx->GetRect());
    } else if (is(m, "MULTIPLYMATRIX")) {
        if (auto* mx = argAs<TfsMatrix>(c, 0))
            cv.setMatrix(mx->GetRect() * cv.matrix());
    } else if (is(m, "RESTORESTATE"))
        cv.restoreState();
    else if (is(m, "INTERSECTCLIPRECT"))
        cv.intersectClipRect(rectArg(c, 0));
    else if (is(m, "DRAWLINE")) {
        cv.drawLine(pointArg(c, 0), pointArg(c, 1), argFloat(c, 2));
    } else if (is(m, "FILLRECT") || is(m, "DRAWRECT")) {
        const bool rounded = argInt(c, 3) != 0;
        const double rx = rounded ? argFloat(c, 1) : 0, ry = rounded ? argFloat(c, 2) : 0;
        if (is(m, "FILLRECT"))
            cv.fillRect(rectArg(c, 0), rx, ry, argFloat(c, 4));
        else
            cv.drawRect(rectArg(c, 0), rx, ry, argFloat(c, 4));
    } else if (is(m, "FILLELLIPSE"))
        cv.fillEllipse(rectArg(c, 0), argFloat(c, 1));
    else if (is(m, "DRAWELLIPSE"))
        cv.drawEllipse(rectArg(c, 0), argFloat(c, 1));
    else if (is(m, "FILLARC"))
        cv.fillPolygon(arc(pointArg(c, 0), pointArg(c, 1), argFloat(c, 2), argFloat(c, 3), true), argFloat(c, 4));
    else if (is(m, "DRAWARC")) {
        const QPolygonF p = arc(pointArg(c, 0), pointArg(c, 1), argFloat(c, 2), argFloat(c, 3), false);
        for (qsizetype i = 1; i < p.size(); ++i)
            cv.drawLine(p[i - 1], p[i], argFloat(c, 4));
    } else if (is(m, "DRAWBITMAP")) {
        if (auto* bmp = argAs<BitmapObject>(c, 0))
            cv.drawBitmap(bmp->image, rectArg(c, 1), rectArg(c, 2), argFloat(c, 3), argBool(c, 4));
    } else if (is(m, "DRAWRECTSIDES")) {
        const QRectF r = rectArg(c, 0);
        const int sides = argInt(c, 5);
        const double o = argFloat(c, 4);
        if (sides & 1)
            cv.drawLine(r.topLeft(), r.topRight(), o);
        if (sides & 2)
            cv.drawLine(r.topLeft(), r.bottomLeft(), o);
        if (sides & 4)
            cv.drawLine(r.bottomLeft(), r.bottomRight(), o);
        if (sides & 8)
            cv.drawLine(r.topRight(), r.bottomRight(), o);
    } else if (is(m, "FILLPOLYGON"))
        cv.fillPolygon(polygonArg(c, 0), argFloat(c, 1));
    else if (is(m, "DRAWPOLYGON"))
        cv.drawPolygon(polygonArg(c, 0), argFloat(c, 1));
    else if (is(m, "FILLTEXT"))
        cv.fillText(rectArg(c, 0), argString(c, 1), argBool(c, 2), argFloat(c, 3), alignArg(c, 5), alignArg(c, 6));
    else if (is(m, "MEASURETEXT")) {
        // The rectangle passed is the one that receives the measure.
        if (auto* r = argAs<TfsRectF>(c, 0))
            r->SetRect(cv.measureText(r->GetRect(), argString(c, 1), argBool(c, 2), alignArg(c, 4), alignArg(c, 5)));
    }
    return Value(0);
}

} // namespace

Value TFunctions::InvokeMethod(TfsObject Instance, TfsClass ClassType, const QString& m, TfsMethodHelper* c)
{
    if (ClassType == &FontObject::staticClassInfo()) {
        if (is(m, "CREATE"))
            return objectValue(&self<FontObject>(Instance));
    } else if (ClassType == &BitmapObject::staticClassInfo()) {
        return invokeBitmap(self<BitmapObject>(Instance), m, c);
    } else if (ClassType == &BrushObject::staticClassInfo()) {
        if (is(m, "CREATE")) {
            self<BrushObject>(Instance).Reset(argInt(c, 0), quint32(argInt(c, 1)));
            return objectValue(Instance);
        }
    } else if (ClassType == &CanvasObject::staticClassInfo()) {
        return invokeCanvas(self<CanvasObject>(Instance), m, c);
    }
    return Value(0);
}

Value TFunctions::ReadProperty(TfsObject Instance, TfsClass ClassType, const QString& p)
{
    if (ClassType == &BitmapObject::staticClassInfo()) {
        auto& b = self<BitmapObject>(Instance);
        if (is(p, "CANVAS"))
            return objectValue(&b.canvasObject());
        // The bitmap of a style resource: there are no style resources here, and a
        // bitmap names none, so none is found.
        if (is(p, "RESOURCEBITMAP"))
            return objectValue(nullptr);
        if (is(p, "WIDTH"))
            return Value(b.Width());
        if (is(p, "HEIGHT"))
            return Value(b.Height());
    } else if (ClassType == &BrushObject::staticClassInfo()) {
        auto& b = self<BrushObject>(Instance);
        if (is(p, "DEFAULTCOLOR"))
            return Value(b.DefaultColor());
        if (is(p, "DEFAULTKIND"))
            return Value(b.DefaultKind());
    } else if (ClassType == &CanvasObject::staticClassInfo()) {
        auto& co = self<CanvasObject>(Instance);
        if (is(p, "STROKE"))
            return objectValue(&co.stroke());
        if (is(p, "FILL"))
            return objectValue(&co.fill());
        if (is(p, "FONT"))
            return objectValue(&co.font());
        if (is(p, "WIDTH"))
            return Value(co.Width());
        if (is(p, "HEIGHT"))
            return Value(co.Height());
        if (is(p, "STROKETHICKNESS"))
            return Value(double(co.StrokeThickness()));
        if (is(p, "MATRIX"))
            return objectValue(new TfsMatrix(co.canvas().matrix()));
    }
    return Value(0);
}

void TFunctions::WriteProperty(TfsObject Instance, TfsClass ClassType, const QString& p, const Value& v)
{
    if (ClassType == &BitmapObject::staticClassInfo()) {
        auto& b = self<BitmapObject>(Instance);
        if (is(p, "WIDTH"))
            b.SetWidth(v.toInt());
        else if (is(p, "HEIGHT"))
            b.SetHeight(v.toInt());
    } else if (ClassType == &CanvasObject::staticClassInfo()) {
        auto& co = self<CanvasObject>(Instance);
        if (is(p, "STROKETHICKNESS"))
            co.SetStrokeThickness(float(v.toDouble()));
        else if (is(p, "STROKEDASH"))
            co.strokeDash = v.toInt();
        else if (is(p, "STROKECAP"))
            co.strokeCap = v.toInt();
        else if (is(p, "STROKEJOIN"))
            co.strokeJoin = v.toInt();
        else if (is(p, "FILL")) {
            if (auto* b = valueAs<BrushObject>(v))
                co.fill().Assign(b);
        }
    }
}

} // namespace graphics

} // namespace orv::script::bridges
