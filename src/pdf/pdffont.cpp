#include "pdf/pdffont.h"

#include "platform/core/cp1252.h"
#include "platform/core/fontlookup.h"

namespace orv::pdf {

const QStringList& frxJapaneseFontList()
{
    static const QStringList families = {
        QStringLiteral("ＭＳ ゴシック"), QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("ＭＳ 明朝"),
        QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("MS UI Gothic")};
    return families;
}

bool isJapaneseFamily(const QString& family)
{
    return frxJapaneseFontList().contains(family, Qt::CaseInsensitive);
}

namespace {

// Besides the tables no PDF writer needs, a font embedded in a PDF file leaves out the
// layout and variation tables: readers of composite TrueType fonts place each glyph by
// its id and the file's own widths and never read them. They make up most of a font's
// bytes (three quarters of Liberation Sans).
const QList<TablesID>& recordSkippedTables()
{
    static const QList<TablesID> tags = [] {
        QList<TablesID> t = pdfSkippedTables();
        for (TablesID tag : {tableTag("GPOS"), tableTag("GSUB"), tableTag("GDEF"), tableTag("BASE"),
                             tableTag("JSTF"), tableTag("MATH"), tableTag("kern"), tableTag("FFTM"),
                             tableTag("morx"), tableTag("mort"), tableTag("feat"), tableTag("LTSH"),
                             tableTag("PCLT"), tableTag("EBSC"), tableTag("meta"), tableTag("STAT")})
            t.append(tag);
        return t;
    }();
    return tags;
}

} // namespace

} // namespace orv::pdf

namespace orv::pdf {

using namespace orv::pdf;

TfrxPDFFont::TfrxPDFFont(const PdfSourceFont& font) : SourceFont(font), Japanese(isJapaneseFamily(font.family))
{
    GetFontFile();
}

TfrxPDFFont::~TfrxPDFFont() { Cleanup(); }

bool TfrxPDFFont::IsSameFont(const PdfSourceFont& font) const
{
    return SourceFont.family == font.family &&
           (SourceFont.style == font.style || Japanese);
}

void TfrxPDFFont::GetFontFile()
{
    const auto found = orv::platform::findTrueTypeFace(
        orv::platform::FontRequest::of(SourceFont.family, SourceFont.bold(), SourceFont.italic()));
    if (!found)
        throw TrueTypeError(QStringLiteral("Nessun font TrueType trovato per \"%1\"").arg(SourceFont.family).toStdString());
    FontData = found->data;
    FontDataSize = int(FontData.size());
    TrueTypeTables.Initialize(FontData);
    // The face the system chose is used as it is, whatever its name: a stand-in family
    // (Liberation Sans for Arial) never matches the family and style asked for.
    if (found->faceIndex < 0 || found->faceIndex >= TrueTypeTables.Count())
        throw TrueTypeError("Font not found in collection");
    m_faceIndex = found->faceIndex;
    face().PrepareFont(recordSkippedTables());
    EmbedRequired = found->substitute;
}

TrueTypeFont& TfrxPDFFont::face() { return TrueTypeTables.Face(m_faceIndex); }

void TfrxPDFFont::FillOutlineTextMetrix() { TextMetric = face().GetOutlineTextMetrics(); }

QList<std::uint16_t> TfrxPDFFont::RemapString(const QString& text)
{
    QList<std::uint16_t> result;
    if (text.isEmpty())
        return result;
    if (m_chars.empty())
        m_chars.resize(256);
    result.resize(text.size());
    std::uint16_t* out = result.data();
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        if (qc.isSurrogate())
            return remapText(text);
        auto& block = m_chars[c >> 8];
        if (!block)
            block = std::make_unique<std::array<MappedChar, 256>>();
        MappedChar& m = (*block)[c & 0xFF];
        if (m.state == 0) {
            // The face maps each character on its own (and collects the components of
            // its glyph), so one character asked alone gives what it gives in a text.
            const std::vector<MappedGlyph> glyphs = face().GetGlyphIndices(QString(qc), &FComposedList);
            m.state = glyphs.empty() ? 1 : 2;
            if (!glyphs.empty()) {
                m.glyph = glyphs.front().glyph;
                m.width = glyphs.front().width;
            }
        }
        if (m.state == 1)
            continue;
        if (m.state == 2) {
            // A tab's glyph is the blank's, and it stands for a blank. Once its glyph is
            // recorded the character has nothing more to record.
            markUsed(m.glyph, m.width, c == u'\t' ? U' ' : char32_t(c));
            m.state = 3;
        }
        *out++ = m.glyph;
    }
    result.resize(out - result.constData());
    return result;
}

QList<std::uint16_t> TfrxPDFFont::remapText(const QString& text)
{
    QList<std::uint16_t> result;
    const std::vector<MappedGlyph> glyphs = face().GetGlyphIndices(text, &FComposedList);
    result.reserve(qsizetype(glyphs.size()));
    for (const MappedGlyph& g : glyphs) {
        // Each glyph stands for its own character (a tab's blank for a blank); a lone
        // half of a surrogate pair stands for nothing a text map could name.
        const QChar c = text.at(g.source);
        char32_t u = c.unicode();
        if (c.isHighSurrogate() && g.source + 1 < text.size() && text.at(g.source + 1).isLowSurrogate())
            u = QChar::surrogateToUcs4(c, text.at(g.source + 1));
        else if (c.isSurrogate())
            u = 0xFFFD;
        else if (c == u'\t')
            u = U' ';
        markUsed(g.glyph, g.width, u);
        result.append(g.glyph);
    }
    return result;
}

void TfrxPDFFont::markUsed(std::uint16_t glyph, std::int32_t width, char32_t character)
{
    if (m_used.empty())
        m_used.resize(65536);
    if (m_used[glyph])
        return;
    m_used[glyph] = true;
    UsedAlphabet.append(glyph);
    Widths.append(width);
    // The missing glyph stands for every character the face lacks, so it can name none
    // of them: copied or searched, it reads as the replacement character.
    UsedAlphabetUnicode.append(glyph == 0 ? U'\uFFFD' : character);
}

QByteArray TfrxPDFFont::GetFontName() const
{
    // A PDF name writes every byte outside the regular printable characters, and every
    // delimiter and "#", as "#" and two hexadecimal digits.
    auto escaped = [](const QByteArray& bytes) {
        static const QByteArray delimiters = "()<>[]{}/%#";
        QByteArray out;
        for (char ch : bytes) {
            const auto b = static_cast<unsigned char>(ch);
            if (b < 0x21 || b > 0x7E || delimiters.contains(ch))
                out += '#' + QByteArray::number(b, 16).toUpper().rightJustified(2, '0');
            else
                out += ch;
        }
        return out;
    };
    QByteArray name = escaped(orv::platform::cp1252::encode(SourceFont.family));
    if (!isJapaneseFamily(SourceFont.family)) {
        QByteArray suffix;
        if (SourceFont.bold())
            suffix += "Bold";
        if (SourceFont.italic())
            suffix += "Italic";
        if (!suffix.isEmpty())
            name += ',' + suffix;
    }
    return name;
}

void TfrxPDFFont::PackFontFile()
{
    if (!PackFont)
        return;
    QList<std::uint16_t> glyphs = UsedAlphabet;
    for (std::uint16_t g : FComposedList)
        if (!glyphs.contains(g))
            glyphs.append(g);
    const QByteArray subset = face().PackFont(glyphs);
    if (!subset.isEmpty()) {
        FontData = subset;
        FontDataSize = int(FontData.size());
    }
}

void TfrxPDFFont::Cleanup()
{
    Widths.clear();
    UsedAlphabet.clear();
    UsedAlphabetUnicode.clear();
    FComposedList.clear();
    m_chars.clear();
    m_used.clear();
    FontData.clear();
    FontDataSize = 0;
}

} // namespace orv::pdf
