#pragma once
// The PDF writer's record of one font: the face's parsed tables, the glyphs that the
// document's text used with their widths and characters, the metrics of the font
// descriptor, the font's PDF name and, when embedded, the subset font file.
#include <QByteArray>
#include <QFlags>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "pdf/truetype.h"

namespace orv::pdf {

enum class FontStyle : std::uint8_t { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };
Q_DECLARE_FLAGS(FontStyles, FontStyle)

// The font a record is made for: family and style set.
struct PdfSourceFont {
    QString family;
    FontStyles style;

    bool bold() const { return style.testFlag(FontStyle::Bold); }
    bool italic() const { return style.testFlag(FontStyle::Italic); }
};

// The Japanese families whose styles share one record and whose PDF name has no style
// suffix; a family is in the list when it equals an entry ignoring the case of A-Z.
const QStringList& frxJapaneseFontList();
bool isJapaneseFamily(const QString& family);

} // namespace orv::pdf

Q_DECLARE_OPERATORS_FOR_FLAGS(orv::pdf::FontStyles)

namespace orv::pdf {

class TfrxPDFFont {
public:
    // Reads and parses the face the system serves for the font. Raises TrueTypeError
    // when there is none or its file is not a usable TrueType font.
    explicit TfrxPDFFont(const orv::pdf::PdfSourceFont& font);
    virtual ~TfrxPDFFont();
    TfrxPDFFont(const TfrxPDFFont&) = delete;
    TfrxPDFFont& operator=(const TfrxPDFFont&) = delete;

    // Two fonts share one record when the families are equal (exact) and so are their
    // styles; the styles of a Japanese family all share one record.
    bool IsSameFont(const orv::pdf::PdfSourceFont& font) const;

    void FillOutlineTextMetrix();
    // The glyph ids of one line of text, in text order; records the glyphs it meets.
    QList<std::uint16_t> RemapString(const QString& text);
    QByteArray GetFontName() const;
    // Replaces FontData by the subset font of the glyphs used.
    void PackFontFile();
    void Cleanup();

    TrueTypeCollection TrueTypeTables;
    QList<std::int32_t> Widths;
    QList<std::uint16_t> UsedAlphabet;
    QList<char32_t> UsedAlphabetUnicode; // the character each glyph stands for
    QList<std::uint16_t> FComposedList;
    orv::pdf::OutlineTextMetric TextMetric;
    QByteArray Name; // "/F" and the record's position, set by the writer
    orv::pdf::PdfSourceFont SourceFont;
    // One of the Japanese families (every text drawn in the font asks).
    const bool Japanese;
    int Reference = 0;
    bool Saved = false;
    bool PackFont = true;
    // The face found is not the named family but a stand-in for it.
    bool EmbedRequired = false;
    QByteArray FontData;
    int FontDataSize = 0;

private:
    void GetFontFile();
    TrueTypeFont& face();
    // RemapString for texts with surrogate pairs: the face maps the text as a whole.
    QList<std::uint16_t> remapText(const QString& text);
    void markUsed(std::uint16_t glyph, std::int32_t width, char32_t character);

    // What the face gave for a character of the basic plane, kept as the same characters
    // come again on every line: blocks of 256 characters, made on first use.
    struct MappedChar {
        std::int32_t width = 0;
        std::uint16_t glyph = 0;
        std::uint8_t state = 0; // 0 not asked yet, 1 dropped, 2 mapped, 3 mapped and recorded
    };
    std::vector<std::unique_ptr<std::array<MappedChar, 256>>> m_chars;
    std::vector<bool> m_used; // by glyph id: in UsedAlphabet

    int m_faceIndex = 0;
};

} // namespace orv::pdf
