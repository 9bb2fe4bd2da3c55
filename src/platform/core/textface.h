#pragma once
// The faces that report text is measured and drawn with. A face is read straight from
// its TrueType file (the one the font lookup serves): the design advance of every glyph,
// the vertical metrics and the glyph outlines. Widths are the unhinted design advances
// scaled to the exact fractional size asked for, without kerning, so a text measures the
// same at every zoom and on every device, and the PDF writer, which takes the widths
// from the same file, sets it alike. Screens fill the same outlines and printers get the
// same glyphs at the same positions, so preview, print and PDF break and place every
// line in the same spot.
#include <QByteArray>
#include <QPainterPath>
#include <QRawFont>
#include <QString>
#include <QStringView>

#include <array>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace orv::platform {

class TextFace {
public:
    // The face the system serves for the family, weight and slant, parsed once and kept
    // for the life of the process. Never null: when the system has no usable TrueType
    // face the result is an empty face, which measures every text as 0 and draws nothing.
    static std::shared_ptr<const TextFace> find(const QString& family, bool bold, bool italic);
    // A face of a font file (faceIndex within a collection); nullptr when the file is not
    // a TrueType font with outlines this reader understands.
    static std::shared_ptr<const TextFace> fromData(const QByteArray& file, int faceIndex = 0);

    bool isEmpty() const { return m_unitsPerEm == 0; }
    // Metrics in font units; ascender and descender both positive (above and below the
    // baseline), the underline and strike-out positions positive above the baseline.
    int unitsPerEm() const { return m_unitsPerEm; }
    int ascender() const { return m_ascender; }
    int descender() const { return m_descender; }
    int lineGap() const { return m_lineGap; }
    int underlinePosition() const { return m_underlinePosition; }
    int underlineThickness() const { return m_underlineThickness; }
    int strikeoutPosition() const { return m_strikeoutPosition; }
    int strikeoutThickness() const { return m_strikeoutThickness; }
    // The face's own full name ("Liberation Sans Bold").
    const QString& fullName() const { return m_fullName; }

    struct Glyph {
        quint16 id = 0;
        int advance = 0; // font units
    };
    // The glyph a character maps to; 0 (the missing glyph) when the face lacks it.
    quint16 glyphIndex(char32_t c) const;
    int advance(quint16 glyph) const;
    // The glyphs of a text in order. A character the face lacks becomes the missing
    // glyph, except a control character, which is dropped. Tabs count as blanks.
    std::vector<Glyph> glyphs(QStringView text) const;
    // The width of a text on one line at a pixel size.
    double textWidth(QStringView text, double pixelSize) const;
    // The outline of a glyph in font units with y growing downward, so that it stands on
    // a baseline at y = 0; empty for a glyph without contours. Kept once made.
    QPainterPath outline(quint16 glyph) const;
    // The system's own font engine for this very face at a pixel size, which a printer or
    // PDF device embeds as a font, so that printed text stays text. The same glyph ids
    // and advances hold for it as for this face. Invalid when the system serves another
    // file under the face's name (then only the outlines are sure to be this face's).
    QRawFont deviceFont(double pixelSize) const;

private:
    TextFace() = default;
    static std::shared_ptr<TextFace> fromDataMutable(const QByteArray& file, int faceIndex);
    bool parse(const QByteArray& file, int faceIndex);
    bool parseCmap(quint32 offset, quint32 length);
    QPainterPath makeOutline(quint16 glyph, int depth) const;
    void addSimpleGlyph(QPainterPath& path, quint32 at, quint32 end, int contours) const;

    QByteArray m_file;
    quint32 m_glyf = 0, m_glyfLength = 0;
    std::vector<quint32> m_loca; // numGlyphs + 1 offsets within glyf
    std::vector<quint16> m_advances;
    int m_unitsPerEm = 0;
    int m_ascender = 0, m_descender = 0, m_lineGap = 0;
    int m_underlinePosition = 0, m_underlineThickness = 0;
    int m_strikeoutPosition = 0, m_strikeoutThickness = 0;
    QString m_fullName;
    // What the system's font database knows the face by, and its 'head' table, which
    // tells whether the engine the database serves reads this very file.
    QString m_family;
    QByteArray m_head;

    // Character map: format 4 segments or format 12 groups, whichever the face offers.
    struct Range {
        char32_t first, last;
        qint32 delta;          // glyph = c + delta (mod 65536) when idRangeOffset is 0
        quint32 glyphArrayPos; // format 4 with idRangeOffset: byte position of the first entry
        bool direct;           // format 12: glyph = delta + (c - first)
    };
    std::vector<Range> m_ranges;
    bool m_symbol = false; // a symbol font maps U+F000 + code
    // Every text is measured and mapped a few times on its way to the page or the file;
    // the first 256 characters, most of any Italian text, are looked up once here.
    quint16 lookupRanges(char32_t c) const;
    int widthUnits(char32_t c) const;
    std::array<quint16, 256> m_latin{};
    // What each of those characters adds to a measured width, in font units.
    std::array<quint16, 256> m_latinUnits{};

    mutable std::mutex m_cacheLock;
    mutable std::unordered_map<quint16, QPainterPath> m_outlines;
    mutable bool m_deviceFontTried = false;
    mutable QRawFont m_deviceFont;
};

} // namespace orv::platform
