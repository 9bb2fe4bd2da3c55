#include "platform/core/textface.h"

#include "platform/core/fontlookup.h"
#include "platform/core/text.h"

#include <QFont>
#include <QHash>

#include <algorithm>
#include <optional>
#include <map>

namespace orv::platform {

namespace {

// Big-endian reads that never leave the file: a read past its end gives 0 and marks the
// reader, so a damaged table yields empty results instead of stray memory.
class Reader {
public:
    explicit Reader(const QByteArray& data) : m_data(reinterpret_cast<const uchar*>(data.constData())),
                                              m_size(quint64(data.size())) {}
    bool has(quint64 at, quint64 n) const { return at + n <= m_size; }
    quint8 u8(quint64 at) const { return has(at, 1) ? m_data[at] : fail(); }
    quint16 u16(quint64 at) const { return has(at, 2) ? quint16(m_data[at] << 8 | m_data[at + 1]) : fail(); }
    qint16 i16(quint64 at) const { return qint16(u16(at)); }
    quint32 u32(quint64 at) const
    {
        return has(at, 4) ? quint32(m_data[at]) << 24 | quint32(m_data[at + 1]) << 16 |
                                quint32(m_data[at + 2]) << 8 | quint32(m_data[at + 3])
                          : fail();
    }
    bool failed() const { return m_failed; }

private:
    quint8 fail() const
    {
        m_failed = true;
        return 0;
    }
    const uchar* m_data;
    quint64 m_size;
    mutable bool m_failed = false;
};

constexpr quint32 tag(const char (&s)[5])
{
    return quint32(quint8(s[0])) << 24 | quint32(quint8(s[1])) << 16 | quint32(quint8(s[2])) << 8 |
           quint32(quint8(s[3]));
}

struct Table {
    quint32 offset = 0, length = 0;
    bool found = false;
};

// Composite glyphs nest; a face that nests deeper than this is broken or hostile.
constexpr int maxCompositeDepth = 8;

} // namespace

std::shared_ptr<const TextFace> TextFace::find(const QString& family, bool bold, bool italic)
{
    // Every text drawn asks, mostly for the font of the text before it: that answer is
    // kept at hand (a face once found stays what the name gives).
    struct Last {
        QString family;
        bool bold = false, italic = false;
        std::shared_ptr<const TextFace> face;
    };
    thread_local Last last;
    if (last.face && last.bold == bold && last.italic == italic && last.family == family)
        return last.face;
    static std::mutex lock;
    static std::map<QString, std::shared_ptr<const TextFace>> faces;
    const QString key = lowerAZ(family) + (bold ? u'B' : u'-') + (italic ? u'I' : u'-');
    std::lock_guard<std::mutex> guard(lock);
    auto it = faces.find(key);
    if (it != faces.end()) {
        last = {family, bold, italic, it->second};
        return it->second;
    }
    std::shared_ptr<const TextFace> face;
    if (std::optional<FontFace> file = findTrueTypeFace(FontRequest::of(family, bold, italic))) {
        if (std::shared_ptr<TextFace> found = fromDataMutable(file->data, file->faceIndex)) {
            found->m_family = file->family;
            face = std::move(found);
        }
    }
    if (!face)
        face = std::shared_ptr<const TextFace>(new TextFace);
    faces.emplace(key, face);
    last = {family, bold, italic, face};
    return face;
}

std::shared_ptr<const TextFace> TextFace::fromData(const QByteArray& file, int faceIndex)
{
    return fromDataMutable(file, faceIndex);
}

std::shared_ptr<TextFace> TextFace::fromDataMutable(const QByteArray& file, int faceIndex)
{
    std::shared_ptr<TextFace> face(new TextFace);
    if (!face->parse(file, faceIndex))
        return nullptr;
    return face;
}

QRawFont TextFace::deviceFont(double pixelSize) const
{
    std::lock_guard<std::mutex> guard(m_cacheLock);
    if (!m_deviceFontTried) {
        m_deviceFontTried = true;
        // A font made from the file's bytes would serve as well for the glyphs, but a
        // printer engine cannot embed a font that has no file behind it and falls back to
        // outlines; the database's own engine for the face has one.
        if (!m_family.isEmpty() && !m_head.isEmpty()) {
            // Asked for by the file's own style, so that a regular face standing in for a
            // bold one is not emboldened by the engine, which the outlines are not.
            const int macStyle = m_head.size() >= 46 ? (quint8(m_head[44]) << 8 | quint8(m_head[45])) : 0;
            QFont font(m_family);
            font.setWeight(macStyle & 1 ? QFont::Bold : QFont::Normal);
            font.setItalic(macStyle & 2);
            font.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferOutline));
            font.setKerning(false);
            font.setPixelSize(16);
            QRawFont raw = QRawFont::fromFont(font);
            if (raw.isValid() && raw.fontTable("head") == m_head)
                m_deviceFont = raw;
        }
    }
    if (!m_deviceFont.isValid())
        return {};
    QRawFont raw = m_deviceFont;
    raw.setPixelSize(pixelSize);
    return raw;
}

bool TextFace::parse(const QByteArray& file, int faceIndex)
{
    m_file = file;
    const Reader r(m_file);
    quint32 base = 0;
    if (r.u32(0) == tag("ttcf")) {
        const quint32 count = r.u32(8);
        if (faceIndex < 0 || quint32(faceIndex) >= count)
            return false;
        base = r.u32(12 + 4 * quint64(faceIndex));
    }
    const quint32 version = r.u32(base);
    if (version != 0x00010000 && version != tag("true"))
        return false; // PostScript outlines or not a font at all
    const int numTables = r.u16(base + 4);
    std::map<quint32, Table> tables;
    for (int i = 0; i < numTables; ++i) {
        const quint64 entry = base + 12 + 16 * quint64(i);
        Table t{r.u32(entry + 8), r.u32(entry + 12), true};
        if (!r.has(t.offset, t.length))
            continue; // a table outside the file is as good as missing
        tables.emplace(r.u32(entry), t);
    }
    if (r.failed())
        return false;
    auto table = [&](quint32 t) { auto it = tables.find(t); return it == tables.end() ? Table{} : it->second; };
    const Table head = table(tag("head")), hhea = table(tag("hhea")), maxp = table(tag("maxp")),
                hmtx = table(tag("hmtx")), loca = table(tag("loca")), glyf = table(tag("glyf")),
                cmap = table(tag("cmap"));
    if (!head.found || !hhea.found || !maxp.found || !hmtx.found || !loca.found || !glyf.found || !cmap.found)
        return false;

    m_head = m_file.mid(qsizetype(head.offset), qsizetype(head.length));
    m_unitsPerEm = r.u16(head.offset + 18);
    const int indexToLocFormat = r.i16(head.offset + 50);
    m_ascender = r.i16(hhea.offset + 4);
    m_descender = -r.i16(hhea.offset + 6);
    m_lineGap = r.i16(hhea.offset + 8);
    const int numberOfHMetrics = r.u16(hhea.offset + 34);
    const int numGlyphs = r.u16(maxp.offset + 4);
    if (m_unitsPerEm < 16 || m_unitsPerEm > 16384 || numGlyphs == 0 || numberOfHMetrics == 0) {
        m_unitsPerEm = 0;
        return false;
    }

    m_advances.resize(size_t(numGlyphs));
    quint16 last = 0;
    for (int g = 0; g < numGlyphs; ++g) {
        if (g < numberOfHMetrics && 4 * quint32(g) + 2 <= hmtx.length)
            last = r.u16(hmtx.offset + 4 * quint64(g));
        m_advances[size_t(g)] = last;
    }

    m_glyf = glyf.offset;
    m_glyfLength = glyf.length;
    m_loca.resize(size_t(numGlyphs) + 1);
    for (int g = 0; g <= numGlyphs; ++g) {
        quint32 offset = indexToLocFormat == 0 ? quint32(r.u16(loca.offset + 2 * quint64(g))) * 2
                                               : r.u32(loca.offset + 4 * quint64(g));
        m_loca[size_t(g)] = std::min(offset, m_glyfLength);
    }

    // Underline from the post table, strike-out from OS/2; sensible shares of the em
    // where a face lacks them.
    m_underlinePosition = -m_unitsPerEm / 10;
    m_underlineThickness = m_unitsPerEm / 20;
    m_strikeoutPosition = m_unitsPerEm * 26 / 100;
    m_strikeoutThickness = m_underlineThickness;
    if (const Table post = table(tag("post")); post.found && post.length >= 12) {
        m_underlinePosition = r.i16(post.offset + 8);
        m_underlineThickness = r.i16(post.offset + 10);
    }
    if (const Table os2 = table(tag("OS/2")); os2.found && os2.length >= 30) {
        m_strikeoutThickness = r.i16(os2.offset + 26);
        m_strikeoutPosition = r.i16(os2.offset + 28);
    }
    if (m_underlineThickness <= 0)
        m_underlineThickness = std::max(1, m_unitsPerEm / 20);
    if (m_strikeoutThickness <= 0)
        m_strikeoutThickness = m_underlineThickness;

    if (const Table name = table(tag("name")); name.found) {
        const int count = r.u16(name.offset + 2);
        const quint32 strings = name.offset + r.u16(name.offset + 4);
        for (int i = 0; i < count && m_fullName.isEmpty(); ++i) {
            const quint64 rec = name.offset + 6 + 12 * quint64(i);
            const int platform = r.u16(rec), nameId = r.u16(rec + 6);
            const quint32 length = r.u16(rec + 8), offset = r.u16(rec + 10);
            if (nameId != 4 || (platform != 3 && platform != 0) || !r.has(strings + offset, length))
                continue;
            for (quint32 k = 0; k + 1 < length; k += 2)
                m_fullName += QChar(r.u16(strings + offset + k));
        }
    }

    if (!parseCmap(cmap.offset, cmap.length) || r.failed()) {
        m_unitsPerEm = 0;
        return false;
    }
    for (char32_t c = 0; c < m_latin.size(); ++c)
        m_latin[c] = lookupRanges(c);
    for (char32_t c = 0; c < m_latinUnits.size(); ++c)
        m_latinUnits[c] = quint16(widthUnits(c));
    return true;
}

bool TextFace::parseCmap(quint32 offset, quint32 length)
{
    const Reader r(m_file);
    const int count = r.u16(offset + 2);
    // Best first: full Unicode (format 12), BMP Unicode (format 4), symbol.
    quint32 format12 = 0, format4 = 0, symbol = 0;
    for (int i = 0; i < count; ++i) {
        const quint64 rec = offset + 4 + 8 * quint64(i);
        const int platform = r.u16(rec), encoding = r.u16(rec + 2);
        const quint32 sub = r.u32(rec + 4);
        if (sub >= length)
            continue;
        const quint32 at = offset + sub;
        const int format = r.u16(at);
        if (format == 12 && ((platform == 3 && encoding == 10) || platform == 0))
            format12 = at;
        else if (format == 4 && ((platform == 3 && encoding == 1) || platform == 0))
            format4 = at;
        else if (format == 4 && platform == 3 && encoding == 0)
            symbol = at;
    }
    const quint32 tableEnd = offset + length;
    if (format12) {
        const quint32 groups = r.u32(format12 + 12);
        for (quint32 i = 0; i < groups && format12 + 16 + 12 * quint64(i) + 12 <= tableEnd; ++i) {
            const quint64 g = format12 + 16 + 12 * quint64(i);
            const char32_t first = r.u32(g), last = r.u32(g + 4);
            if (last < first)
                continue;
            m_ranges.push_back({first, last, qint32(r.u32(g + 8)), 0, true});
        }
        return true;
    }
    const quint32 at = format4 ? format4 : symbol;
    if (!at)
        return false;
    m_symbol = !format4;
    const int segments = r.u16(at + 6) / 2;
    const quint32 ends = at + 14, starts = ends + 2 * quint32(segments) + 2, deltas = starts + 2 * quint32(segments),
                  rangeOffsets = deltas + 2 * quint32(segments);
    for (int s = 0; s < segments; ++s) {
        const char32_t last = r.u16(ends + 2 * quint64(s)), first = r.u16(starts + 2 * quint64(s));
        if (last < first)
            continue;
        const qint32 delta = r.i16(deltas + 2 * quint64(s));
        const quint16 rangeOffset = r.u16(rangeOffsets + 2 * quint64(s));
        const quint32 arrayPos = rangeOffset ? rangeOffsets + 2 * quint32(s) + rangeOffset : 0;
        m_ranges.push_back({first, last, delta, arrayPos, false});
    }
    return !r.failed();
}

quint16 TextFace::glyphIndex(char32_t c) const { return c < m_latin.size() ? m_latin[c] : lookupRanges(c); }

quint16 TextFace::lookupRanges(char32_t c) const
{
    if (m_symbol && c < 0x100)
        c += 0xF000;
    auto it = std::upper_bound(m_ranges.begin(), m_ranges.end(), c,
                               [](char32_t v, const Range& range) { return v < range.first; });
    // Ranges are sorted by first character in every face worth the name; fall back to a
    // scan when this one is not.
    auto lookup = [&](const Range& range) -> qint64 {
        if (c < range.first || c > range.last)
            return -1;
        if (range.direct)
            return qint64(quint32(range.delta) + (c - range.first)) & 0xFFFF;
        if (!range.glyphArrayPos)
            return qint64(c + char32_t(range.delta)) & 0xFFFF;
        const Reader r(m_file);
        const quint16 g = r.u16(range.glyphArrayPos + 2 * quint64(c - range.first));
        return g ? (qint64(g) + range.delta) & 0xFFFF : 0;
    };
    if (it != m_ranges.begin()) {
        const qint64 g = lookup(*(it - 1));
        if (g >= 0)
            return g < qint64(m_advances.size()) ? quint16(g) : 0;
    }
    for (const Range& range : m_ranges) {
        const qint64 g = lookup(range);
        if (g >= 0)
            return g < qint64(m_advances.size()) ? quint16(g) : 0;
    }
    return 0;
}

int TextFace::advance(quint16 glyph) const { return glyph < m_advances.size() ? m_advances[glyph] : 0; }

namespace {

// Calls f with each character of the text: a surrogate pair as one, a lone half as the
// replacement character.
template <typename F>
void forEachCharacter(QStringView text, F&& f)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isSurrogate(c)) {
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
            else
                c = QChar::ReplacementCharacter;
        }
        f(c);
    }
}

} // namespace

std::vector<TextFace::Glyph> TextFace::glyphs(QStringView text) const
{
    std::vector<Glyph> out;
    if (isEmpty())
        return out;
    out.reserve(size_t(text.size()));
    forEachCharacter(text, [&](char32_t c) {
        if (c == u'\t')
            c = u' ';
        const quint16 g = glyphIndex(c);
        if (g == 0 && c < 32)
            return;
        out.push_back({g, advance(g)});
    });
    return out;
}

int TextFace::widthUnits(char32_t c) const
{
    if (c == u'\t')
        c = u' ';
    const quint16 g = glyphIndex(c);
    return g != 0 || c >= 32 ? advance(g) : 0;
}

double TextFace::textWidth(QStringView text, double pixelSize) const
{
    if (isEmpty())
        return 0;
    qint64 units = 0;
    const char16_t* p = text.utf16();
    const char16_t* const end = p + text.size();
    while (p != end) {
        // Most characters of a text are measured by one table look-up.
        if (*p < m_latinUnits.size()) {
            units += m_latinUnits[*p++];
            continue;
        }
        const char16_t* const run = p;
        while (p != end && *p >= m_latinUnits.size())
            ++p;
        forEachCharacter(QStringView(run, p), [&](char32_t c) { units += widthUnits(c); });
    }
    return double(units) * pixelSize / m_unitsPerEm;
}

QPainterPath TextFace::outline(quint16 glyph) const
{
    std::lock_guard<std::mutex> guard(m_cacheLock);
    auto it = m_outlines.find(glyph);
    if (it == m_outlines.end())
        it = m_outlines.emplace(glyph, makeOutline(glyph, 0)).first;
    return it->second;
}

QPainterPath TextFace::makeOutline(quint16 glyph, int depth) const
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    if (glyph + 1u >= m_loca.size() || depth > maxCompositeDepth)
        return path;
    const quint32 start = m_loca[glyph], end = m_loca[glyph + 1u];
    if (end <= start || end - start < 10)
        return path;
    const Reader r(m_file);
    const quint32 at = m_glyf + start, stop = m_glyf + end;
    const int contours = r.i16(at);
    if (contours >= 0) {
        addSimpleGlyph(path, at, stop, contours);
        return path;
    }
    // A composite glyph: components placed by offsets and scaled by 2.14 numbers.
    enum : quint16 {
        ArgsAreWords = 0x1, ArgsAreXY = 0x2, HaveScale = 0x8, MoreComponents = 0x20, HaveXYScale = 0x40,
        HaveTwoByTwo = 0x80
    };
    quint64 p = at + 10;
    quint16 flags = MoreComponents;
    while ((flags & MoreComponents) && p + 4 <= stop) {
        flags = r.u16(p);
        const quint16 component = r.u16(p + 2);
        p += 4;
        double dx = 0, dy = 0;
        if (flags & ArgsAreWords) {
            dx = r.i16(p);
            dy = r.i16(p + 2);
            p += 4;
        } else {
            dx = qint8(r.u8(p));
            dy = qint8(r.u8(p + 1));
            p += 2;
        }
        if (!(flags & ArgsAreXY))
            dx = dy = 0; // components joined by matching points: rare enough to place at the origin
        double a = 1, b = 0, c = 0, d = 1;
        auto f2dot14 = [&](quint64 q) { return r.i16(q) / 16384.0; };
        if (flags & HaveScale) {
            a = d = f2dot14(p);
            p += 2;
        } else if (flags & HaveXYScale) {
            a = f2dot14(p);
            d = f2dot14(p + 2);
            p += 4;
        } else if (flags & HaveTwoByTwo) {
            a = f2dot14(p);
            b = f2dot14(p + 2);
            c = f2dot14(p + 4);
            d = f2dot14(p + 6);
            p += 8;
        }
        if (r.failed() || component == glyph)
            break;
        // Outlines are kept with y downward: the component's transform flips with them.
        const QTransform t(a, -b, -c, d, dx, -dy);
        path.addPath(t.map(makeOutline(component, depth + 1)));
    }
    return path;
}

void TextFace::addSimpleGlyph(QPainterPath& path, quint32 at, quint32 end, int contours) const
{
    const Reader r(m_file);
    std::vector<int> endPoints(static_cast<size_t>(contours));
    int points = 0;
    for (int i = 0; i < contours; ++i) {
        endPoints[size_t(i)] = r.u16(at + 10 + 2 * quint64(i));
        if (endPoints[size_t(i)] < points - 1 && i > 0)
            return; // contours must end in order
        points = endPoints[size_t(i)] + 1;
    }
    if (contours == 0 || points == 0 || points > 0xFFFF)
        return;
    quint64 p = at + 10 + 2 * quint64(contours);
    p += 2 + r.u16(p); // instructions
    std::vector<quint8> flags;
    flags.reserve(size_t(points));
    while (int(flags.size()) < points && p < end) {
        const quint8 f = r.u8(p++);
        flags.push_back(f);
        if (f & 8) {
            int repeat = r.u8(p++);
            while (repeat-- > 0 && int(flags.size()) < points)
                flags.push_back(f);
        }
    }
    if (int(flags.size()) < points)
        return;
    std::vector<QPointF> pts(static_cast<size_t>(points));
    auto readCoords = [&](bool isX) {
        const quint8 shortBit = isX ? 2 : 4, sameBit = isX ? 16 : 32;
        int v = 0;
        for (int i = 0; i < points; ++i) {
            const quint8 f = flags[size_t(i)];
            if (f & shortBit) {
                const int d = r.u8(p++);
                v += (f & sameBit) ? d : -d;
            } else if (!(f & sameBit)) {
                v += r.i16(p);
                p += 2;
            }
            if (isX)
                pts[size_t(i)].setX(v);
            else
                pts[size_t(i)].setY(-v);
        }
    };
    readCoords(true);
    readCoords(false);
    if (r.failed() || p > end)
        return;

    int first = 0;
    for (int c = 0; c < contours; ++c) {
        const int last = endPoints[size_t(c)];
        const int n = last - first + 1;
        if (n < 2) {
            first = last + 1;
            continue;
        }
        auto on = [&](int i) { return (flags[size_t(first + i)] & 1) != 0; };
        auto pt = [&](int i) { return pts[size_t(first + (i % n + n) % n)]; };
        // Start on an on-curve point, or between two off-curve ones.
        int s = 0;
        while (s < n && !on(s))
            ++s;
        QPointF startPoint = s < n ? pt(s) : (pt(0) + pt(n - 1)) / 2;
        if (s == n)
            s = -1; // the implied start lies before point 0
        path.moveTo(startPoint);
        std::optional<QPointF> control;
        for (int k = 1; k <= n; ++k) {
            const int i = s + k;
            const QPointF q = pt(i);
            const bool isOn = on((i % n + n) % n);
            if (isOn) {
                if (control)
                    path.quadTo(*control, q);
                else
                    path.lineTo(q);
                control.reset();
            } else {
                if (control) {
                    const QPointF mid = (*control + q) / 2;
                    path.quadTo(*control, mid);
                }
                control = q;
            }
        }
        if (control)
            path.quadTo(*control, startPoint);
        path.closeSubpath();
        first = last + 1;
    }
}

} // namespace orv::platform
