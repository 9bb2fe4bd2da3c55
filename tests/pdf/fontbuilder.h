#pragma once
// Small TrueType fonts made in memory, so that a test shows exactly the tables and glyphs
// it is about, and the system fonts the program relies on.
#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <cstdint>
#include <map>
#include <vector>

namespace testfont {

// One segment of a format-4 character map. With glyphs empty the segment maps by
// idDelta alone (idRangeOffset 0); otherwise through the glyph index array.
struct Segment {
    char16_t start, end;
    std::int16_t idDelta = 0;
    std::vector<std::uint16_t> glyphs;
};

// A simple glyph (one contour, one point) of the given size in bytes (even, >= 18).
QByteArray simpleGlyph(int size = 18);
// A composite glyph of the given components; the flags pick the argument and scale forms.
QByteArray compositeGlyph(const std::vector<std::uint16_t>& components, std::uint16_t extraFlags = 0);

struct Builder {
    int unitsPerEm = 1000;
    bool longLoca = false;
    std::vector<QByteArray> glyphs;      // an empty outline is a glyph without outline
    std::vector<std::uint16_t> advances; // one per glyph unless numberOfHMetrics says less
    int numberOfHMetrics = -1;           // -1: one metric per glyph
    std::int16_t xAvgCharWidth = 500;
    std::vector<Segment> segments;       // the final 0xFFFF segment is added
    bool unicodeCmap = true;             // platform 3 encoding 1, else 3/0 (symbol)
    QString fullName = QStringLiteral("Test Sans");
    int postVersion = 3;                 // 2 adds glyph names after the header
    int os2Length = 96;
    std::int32_t italicAngle = 0;        // 16.16
    std::array<std::int16_t, 4> fontBox{}; // head: xMin, yMin, xMax, yMax
    std::int16_t capHeight = 0;          // OS/2 sCapHeight (tables of 96 bytes)
    bool fixedPitch = false;             // post isFixedPitch
    std::map<QByteArray, QByteArray> extraTables;
    std::vector<QByteArray> omit;        // tags left out
    bool badChecksums = false;

    // The font with its directory, checksums and checkSumAdjustment.
    QByteArray build() const;
};

// A collection file of the given fonts, in order.
QByteArray collection(const QList<QByteArray>& fonts);

// The bytes of a system font file found by family (fontconfig).
QByteArray systemFont(const QString& family, bool bold = false, bool italic = false);

// Table records of a font file: tag -> (offset, length).
struct Table {
    std::uint32_t checkSum, offset, length;
};
std::map<QByteArray, Table> tableDirectory(const QByteArray& font, std::uint32_t faceOffset = 0);

// The outline bytes of a glyph, read through the font's own head, loca and glyf.
QByteArray outline(const QByteArray& font, int glyph);

std::uint16_t be16(const QByteArray& b, qsizetype at);
std::uint32_t be32(const QByteArray& b, qsizetype at);

} // namespace testfont
