#include "fontbuilder.h"

#include <QFile>
#include <algorithm>
#include <stdexcept>

#include "pdf/truetype.h"
#include "platform/core/fontlookup.h"

namespace testfont {

namespace {

void u16(QByteArray& b, int v)
{
    b.append(char((v >> 8) & 0xFF));
    b.append(char(v & 0xFF));
}

void u32(QByteArray& b, std::uint32_t v)
{
    u16(b, int(v >> 16));
    u16(b, int(v & 0xFFFF));
}

void put32(QByteArray& b, qsizetype at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char(v >> (24 - 8 * i));
}

QByteArray cmapTable(const std::vector<Segment>& given, bool unicode)
{
    std::vector<Segment> segments = given;
    segments.push_back({0xFFFF, 0xFFFF, 1, {}});
    const int segCount = int(segments.size());
    std::vector<std::uint16_t> array;
    QByteArray ends, starts, deltas, offsets;
    for (int i = 0; i < segCount; ++i) {
        const Segment& s = segments[std::size_t(i)];
        u16(ends, s.end);
        u16(starts, s.start);
        u16(deltas, s.idDelta);
        if (s.glyphs.empty()) {
            u16(offsets, 0);
        } else {
            u16(offsets, 2 * (segCount - i) + 2 * int(array.size()));
            array.insert(array.end(), s.glyphs.begin(), s.glyphs.end());
        }
    }
    QByteArray sub;
    u16(sub, 4);
    u16(sub, 16 + 8 * segCount + 2 * int(array.size()));
    u16(sub, 0); // language
    int selector = 0;
    while ((2 << selector) <= segCount)
        ++selector;
    u16(sub, 2 * segCount);
    u16(sub, 2 << selector);
    u16(sub, selector);
    u16(sub, 2 * segCount - (2 << selector));
    sub += ends;
    u16(sub, 0);
    sub += starts + deltas + offsets;
    for (std::uint16_t g : array)
        u16(sub, g);

    QByteArray t;
    u16(t, 0);
    u16(t, 1);
    u16(t, 3);
    u16(t, unicode ? 1 : 0);
    u32(t, 12);
    return t + sub;
}

QByteArray nameTable(const QString& family, const QString& full)
{
    QByteArray storage, records;
    for (const auto& [id, text] : {std::pair{1, family}, std::pair{4, full}}) {
        QByteArray utf16;
        for (QChar c : text)
            u16(utf16, c.unicode());
        u16(records, 3);
        u16(records, 1);
        u16(records, 0x409);
        u16(records, id);
        u16(records, int(utf16.size()));
        u16(records, int(storage.size()));
        storage += utf16;
    }
    QByteArray t;
    u16(t, 0);
    u16(t, 2);
    u16(t, 6 + 24);
    return t + records + storage;
}

} // namespace

QByteArray simpleGlyph(int size)
{
    QByteArray g;
    u16(g, 1);   // one contour
    for (int i = 0; i < 4; ++i)
        u16(g, 100 * i); // bounding box
    u16(g, 0);   // last point of the contour
    u16(g, 0);   // no instructions
    g.append(char(0x37)); // on curve, short positive x and y
    g.append(char(10));
    g.append(char(10));
    while (g.size() < size)
        g.append('\0');
    return g;
}

QByteArray compositeGlyph(const std::vector<std::uint16_t>& components, std::uint16_t extraFlags)
{
    QByteArray g;
    u16(g, 0xFFFF); // numberOfContours -1
    for (int i = 0; i < 4; ++i)
        u16(g, 0);
    for (std::size_t i = 0; i < components.size(); ++i) {
        const bool more = i + 1 < components.size();
        const std::uint16_t flags = std::uint16_t(extraFlags | (more ? 0x0020 : 0));
        u16(g, flags);
        u16(g, components[i]);
        const int args = (flags & 0x0001) ? 4 : 2;
        g.append(QByteArray(args, '\0'));
        if (flags & 0x0008)
            g.append(QByteArray(2, '\0'));
        else if (flags & 0x0040)
            g.append(QByteArray(4, '\0'));
        else if (flags & 0x0080)
            g.append(QByteArray(8, '\0'));
    }
    if (g.size() % 2)
        g.append('\0');
    return g;
}

QByteArray Builder::build() const
{
    const int numGlyphs = int(glyphs.size());
    const int metrics = numberOfHMetrics < 0 ? numGlyphs : numberOfHMetrics;
    std::map<QByteArray, QByteArray> tables;

    QByteArray glyf, loca;
    auto locaEntry = [&](int offset) {
        if (longLoca)
            u32(loca, std::uint32_t(offset));
        else
            u16(loca, offset / 2);
    };
    for (const QByteArray& g : glyphs) {
        locaEntry(int(glyf.size()));
        glyf += g;
    }
    locaEntry(int(glyf.size()));
    tables["glyf"] = glyf;
    tables["loca"] = loca;

    QByteArray head;
    u32(head, 0x00010000);
    u32(head, 0x00010000);
    u32(head, 0); // checkSumAdjustment
    u32(head, 0x5F0F3CF5);
    u16(head, 0);
    u16(head, unitsPerEm);
    head.append(QByteArray(16, '\0')); // dates
    for (std::int16_t v : fontBox)
        u16(head, v);
    u16(head, 0);
    u16(head, 8);
    u16(head, 2);
    u16(head, longLoca ? 1 : 0);
    u16(head, 0);
    tables["head"] = head;

    const std::uint16_t maxAdvance = advances.empty() ? 0 : *std::max_element(advances.begin(), advances.end());
    QByteArray hhea;
    u32(hhea, 0x00010000);
    u16(hhea, 800);
    u16(hhea, -200);
    u16(hhea, 90);
    u16(hhea, maxAdvance);
    hhea.append(QByteArray(22, '\0'));
    u16(hhea, metrics);
    tables["hhea"] = hhea;

    QByteArray hmtx;
    for (int i = 0; i < metrics; ++i) {
        u16(hmtx, advances.at(std::size_t(i)));
        u16(hmtx, 0);
    }
    for (int i = metrics; i < numGlyphs; ++i)
        u16(hmtx, 0); // left side bearings only
    tables["hmtx"] = hmtx;

    QByteArray maxp;
    u32(maxp, 0x00010000);
    u16(maxp, numGlyphs);
    maxp.append(QByteArray(26, '\0'));
    tables["maxp"] = maxp;

    QByteArray os2(std::max(os2Length, 96), '\0');
    os2[0] = 0;
    os2[1] = os2Length >= 96 ? 4 : 0;
    os2[2] = char(xAvgCharWidth >> 8);
    os2[3] = char(xAvgCharWidth);
    for (int i = 0; i < 10; ++i)
        os2[32 + i] = char(i + 1);
    auto os2u16 = [&](int at, int v) {
        os2[at] = char(v >> 8);
        os2[at + 1] = char(v);
    };
    os2u16(64, 0x20);
    os2u16(66, 0xFFFF);
    os2u16(74, 900);
    os2u16(76, 250);
    os2u16(90, 0);
    os2u16(92, 32);
    os2u16(88, capHeight);
    tables["OS/2"] = os2.left(os2Length);

    QByteArray post;
    u32(post, postVersion == 2 ? 0x00020000 : 0x00030000);
    u32(post, std::uint32_t(italicAngle));
    u32(post, 0); // underline position and thickness
    u32(post, fixedPitch ? 1 : 0);
    post.append(QByteArray(16, '\0'));
    if (postVersion == 2) {
        u16(post, numGlyphs);
        for (int i = 0; i < numGlyphs; ++i)
            u16(post, 0);
    }
    tables["post"] = post;

    tables["cmap"] = cmapTable(segments, unicodeCmap);
    tables["name"] = nameTable(fullName.section(u' ', 0, 0), fullName);
    for (const auto& [tag, bytes] : extraTables)
        tables[tag] = bytes;
    for (const QByteArray& tag : omit)
        tables.erase(tag);

    const int numTables = int(tables.size());
    QByteArray font;
    u32(font, 0x00010000);
    u16(font, numTables);
    int selector = 0;
    while ((2 << selector) <= numTables)
        ++selector;
    u16(font, 16 << selector);
    u16(font, selector);
    u16(font, 16 * numTables - (16 << selector));
    QByteArray body;
    qsizetype headAt = -1;
    const qsizetype bodyStart = 12 + 16 * numTables;
    for (const auto& [tag, bytes] : tables) {
        const qsizetype at = bodyStart + body.size();
        if (tag == "head")
            headAt = at;
        std::uint32_t sum = orv::pdf::TableChecksum(bytes.constData(), bytes.size());
        font.append(tag.leftJustified(4, ' ', true));
        u32(font, badChecksums ? sum + 1 : sum);
        u32(font, std::uint32_t(at));
        u32(font, std::uint32_t(bytes.size()));
        body += bytes;
        while (body.size() % 4)
            body.append('\0');
    }
    font += body;
    if (headAt >= 0)
        put32(font, headAt + 8, 0xB1B0AFBA - orv::pdf::TableChecksum(font.constData(), font.size()));
    return font;
}

QByteArray collection(const QList<QByteArray>& fonts)
{
    QByteArray out("ttcf");
    u32(out, 0x00010000);
    u32(out, std::uint32_t(fonts.size()));
    qsizetype at = 12 + 4 * fonts.size();
    QByteArray body;
    for (const QByteArray& f : fonts) {
        u32(out, std::uint32_t(at + body.size()));
        QByteArray moved = f;
        const std::uint32_t base = std::uint32_t(at + body.size());
        const int numTables = be16(f, 4);
        for (int i = 0; i < numTables; ++i)
            put32(moved, 12 + 16 * i + 8, be32(f, 12 + 16 * i + 8) + base);
        body += moved;
        while (body.size() % 4)
            body.append('\0');
    }
    return out + body;
}

QByteArray systemFont(const QString& family, bool bold, bool italic)
{
    const auto face = orv::platform::findTrueTypeFace(orv::platform::FontRequest::of(family, bold, italic));
    if (!face || face->family != family)
        throw std::runtime_error("missing system font " + family.toStdString());
    return face->data;
}

std::map<QByteArray, Table> tableDirectory(const QByteArray& font, std::uint32_t faceOffset)
{
    std::map<QByteArray, Table> tables;
    const int numTables = be16(font, faceOffset + 4);
    for (int i = 0; i < numTables; ++i) {
        const qsizetype rec = faceOffset + 12 + 16 * i;
        tables[font.mid(rec, 4)] = {be32(font, rec + 4), be32(font, rec + 8), be32(font, rec + 12)};
    }
    return tables;
}

QByteArray outline(const QByteArray& font, int glyph)
{
    const auto tables = tableDirectory(font);
    const bool longLoca = be16(font, tables.at("head").offset + 50) == 1;
    const std::uint32_t loca = tables.at("loca").offset, glyf = tables.at("glyf").offset;
    const std::uint32_t start = longLoca ? be32(font, loca + 4 * glyph) : 2u * be16(font, loca + 2 * glyph);
    const std::uint32_t end = longLoca ? be32(font, loca + 4 * (glyph + 1)) : 2u * be16(font, loca + 2 * (glyph + 1));
    return font.mid(glyf + start, end - start);
}

std::uint16_t be16(const QByteArray& b, qsizetype at)
{
    return std::uint16_t(std::uint8_t(b.at(at)) << 8 | std::uint8_t(b.at(at + 1)));
}

std::uint32_t be32(const QByteArray& b, qsizetype at)
{
    return std::uint32_t(be16(b, at)) << 16 | be16(b, at + 2);
}

} // namespace testfont
