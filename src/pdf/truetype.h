#pragma once
// Reading of TrueType fonts and font collections held in memory, and the subset font
// that an embedded PDF font carries. Only TrueType outlines (glyf and loca) are handled.
// Every offset and length taken from the file is checked against the file; a font that
// points outside itself raises TrueTypeError("TrueType font format error").
#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

namespace orv::pdf {

class TrueTypeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A table tag as a 32-bit value whose bytes are the tag's four characters in file order.
using TablesID = std::uint32_t;
constexpr TablesID tableTag(const char (&s)[5])
{
    return TablesID(std::uint8_t(s[0])) << 24 | TablesID(std::uint8_t(s[1])) << 16 |
           TablesID(std::uint8_t(s[2])) << 8 | TablesID(std::uint8_t(s[3]));
}
// The tag as four characters ("head", "OS/2").
QString tagLine(TablesID tag);

enum class ChecksumFaultAction { IgnoreChecksum = 0, ThrowException = 1, Warn = 2 };

// The tables the PDF writer never needs: embedded bitmaps, device metrics and the digital
// signature (which a subset would invalidate anyway).
const QList<TablesID>& pdfSkippedTables();

struct TableEntry {
    TablesID tag = 0;
    std::uint32_t checkSum = 0;
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

// The metrics a PDF font descriptor is made from, named as in the Windows outline text
// metrics; values in the face's design units. Fields the fonts do not supply stay 0.
struct OutlineTextMetric {
    struct Rect {
        std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    };
    std::uint32_t otmSize = 0;
    std::int32_t tmHeight = 0;
    std::int32_t tmAscent = 0;
    std::int32_t tmDescent = 0;
    std::int32_t tmInternalLeading = 0;
    std::int32_t tmExternalLeading = 0;
    std::int32_t tmAveCharWidth = 0;
    std::int32_t tmMaxCharWidth = 0;
    std::int32_t tmWeight = 0;
    char16_t tmFirstChar = 0;
    char16_t tmLastChar = 0;
    char16_t tmDefaultChar = 0;
    char16_t tmBreakChar = 0;
    std::uint8_t otmPanoseNumber[10] = {};
    std::int32_t otmItalicAngle = 0; // tenths of a degree, negative when leaning right
    std::uint32_t otmEMSquare = 0;
    std::int32_t otmAscent = 0;
    std::int32_t otmDescent = 0;
    std::uint32_t otmLineGap = 0;
    Rect otmrcFontBox;        // the box of all glyphs (head)
    std::int32_t otmsCapEmHeight = 0; // the height of capital letters above the baseline
    bool fixedPitch = false;  // every glyph has one advance (post)
};

// One glyph of a mapped text: its id, its advance in thousandths of an em and the
// position in the text of the character it stands for.
struct MappedGlyph {
    std::uint16_t glyph = 0;
    std::int32_t width = 0;
    qsizetype source = 0;
};

// Sum of the big-endian 32-bit words, a last partial word padded with zeros.
std::uint32_t TableChecksum(const char* data, qsizetype length);

} // namespace orv::pdf

namespace orv::pdf {

// One face of a font file.
class TrueTypeFont {
public:
    // An unprepared face whose offset table starts at faceOffset in the file.
    TrueTypeFont(QByteArray file, std::uint32_t faceOffset, orv::pdf::ChecksumFaultAction action);

    // Reads the directory and loads the tables; the listed tags are left out. A failure
    // leaves the face unprepared.
    void PrepareFont(const QList<orv::pdf::TablesID>& skip = orv::pdf::pdfSkippedTables());
    bool IsLoaded() const { return FIsLoaded; }

    // A name of the naming table (Windows Unicode or Unicode platform, any language);
    // id 4 is the full name, 1 the family. Empty when the table has none.
    QString Name(int id) const;
    QString FullName() const { return Name(4); }

    // The glyph of a character: from the full Unicode map (format 12) when the face has
    // one, else from the BMP map (format 4).
    std::uint16_t GetGlyphIndex(char32_t c) const;
    // Glyph ids and widths of a text in text order (no kerning); a surrogate pair is one
    // character, a tab is drawn as a blank. A character the map lacks becomes glyph 0. A
    // character whose glyph has no outline and no advance is dropped, and so is a control
    // character the font lacks; the components of the
    // composite glyphs met are appended to *components when given and not yet there.
    std::vector<orv::pdf::MappedGlyph> GetGlyphIndices(const QString& text,
                                                       QList<std::uint16_t>* components) const;
    orv::pdf::OutlineTextMetric GetOutlineTextMetrics() const;
    // The direct components of a composite glyph; none for a simple or empty glyph.
    std::vector<std::uint16_t> CheckGlyph(std::uint16_t glyph) const;
    // The subset font: every table of the face (the left-out ones aside) with only the
    // outlines of the given glyphs, glyph 0 and their components kept. Glyph ids, metrics
    // and the character map stay as in the source.
    QByteArray PackFont(const QList<std::uint16_t>& glyphs) const;

    int numGlyphs() const { return m_numGlyphs; }
    int unitsPerEm() const { return m_unitsPerEm; }
    int advanceWidth(std::uint16_t glyph) const;
    // The advance in thousandths of an em, rounded to the nearest integer.
    int width(std::uint16_t glyph) const;
    const std::vector<orv::pdf::TableEntry>& tables() const { return m_tables; }

private:
    struct GlyphLocation {
        std::uint32_t offset = 0; // within glyf
        std::uint32_t length = 0;
    };
    struct CmapSegment {
        std::uint16_t endCount, startCount;
        std::int16_t idDelta;
        std::uint16_t idRangeOffset;
    };

    const orv::pdf::TableEntry* find(orv::pdf::TablesID tag) const;
    const orv::pdf::TableEntry& require(orv::pdf::TablesID tag, const char* message) const;
    void readDirectory(const QList<orv::pdf::TablesID>& skip);
    void loadTables();
    void loadCmap(const orv::pdf::TableEntry& cmap);
    void checkChecksums() const;
    GlyphLocation glyphLocation(std::uint16_t glyph) const;
    QByteArray tableBytes(const orv::pdf::TableEntry& entry) const;

    QByteArray m_file;
    std::uint32_t m_faceOffset;
    orv::pdf::ChecksumFaultAction m_checksumAction;
    bool FIsLoaded = false;

    std::uint32_t m_sfntVersion = 0;
    std::vector<orv::pdf::TableEntry> m_tables; // directory order, first of a tag only

    int m_unitsPerEm = 0;
    int m_indexToLocFormat = 0;
    int m_numGlyphs = 0;
    std::int16_t m_ascender = 0, m_descender = 0, m_lineGap = 0;
    std::uint16_t m_advanceWidthMax = 0;
    std::int32_t m_italicAngle = 0; // 16.16
    QByteArray m_os2;               // the OS/2 table as it is, of whatever version
    std::vector<std::uint32_t> m_loca; // byte offsets within glyf
    orv::pdf::TableEntry m_glyf;
    orv::pdf::TableEntry m_name;
    struct CmapGroup {
        std::uint32_t startCode, endCode, startGlyph;
    };
    std::vector<CmapGroup> m_groups; // the full Unicode map, when the face has one
    std::int16_t m_fontBox[4] = {};  // xMin, yMin, xMax, yMax
    bool m_fixedPitch = false;
    std::vector<CmapSegment> m_segments;
    std::vector<std::uint16_t> m_glyphIdArray;
    std::vector<std::uint16_t> m_advances; // numberOfHMetrics entries
};

// The faces of a font file: one for a plain font, several for a collection.
class TrueTypeCollection {
public:
    // Splits the file into unprepared faces; the bytes are shared, not copied.
    void Initialize(const QByteArray& data);
    qsizetype Count() const { return qsizetype(fonts_collection.size()); }
    TrueTypeFont& Face(qsizetype index) { return *fonts_collection.at(std::size_t(index)); }
    const std::vector<std::unique_ptr<TrueTypeFont>>& FontCollection() const { return fonts_collection; }

private:
    std::vector<std::unique_ptr<TrueTypeFont>> fonts_collection;
};

} // namespace orv::pdf
