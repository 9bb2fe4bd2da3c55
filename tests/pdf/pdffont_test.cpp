#include <gtest/gtest.h>

#include "fontbuilder.h"
#include "pdf/pdffont.h"
#include "platform/core/fontlookup.h"

using namespace orv::pdf;

namespace {

PdfSourceFont font(const QString& family, FontStyles style = {})
{
    return {family, style};
}

QString used(const TfrxPDFFont& f)
{
    QString s;
    for (char32_t c : f.UsedAlphabetUnicode)
        s.append(QString::fromUcs4(&c, 1));
    return s;
}

} // namespace

TEST(FontLookup, LayoutFamiliesAreServedByTheirMetricCompatibleStandIns)
{
    const struct {
        const char* family;
        bool bold, italic;
        const char* served;
        const char* fullName;
    } cases[] = {
        {"Arial", false, false, "Liberation Sans", "Liberation Sans"},
        {"Arial", true, false, "Liberation Sans", "Liberation Sans Bold"},
        {"arial", true, true, "Liberation Sans", "Liberation Sans Bold Italic"},
        {"Courier New", false, false, "Liberation Mono", "Liberation Mono"},
        {"Times New Roman", false, true, "Liberation Serif", "Liberation Serif Italic"},
    };
    for (const auto& c : cases) {
        const auto face = orv::platform::findTrueTypeFace(orv::platform::FontRequest::of(QString::fromLatin1(c.family), c.bold, c.italic));
        ASSERT_TRUE(face) << c.family;
        EXPECT_EQ(face->family, QString::fromLatin1(c.served));
        EXPECT_EQ(face->fullName, QString::fromLatin1(c.fullName));
        EXPECT_TRUE(face->substitute);
        EXPECT_EQ(face->faceIndex, 0);
        EXPECT_TRUE(face->data.startsWith(QByteArray::fromHex("00010000"))) << c.family;
    }
    EXPECT_EQ(orv::platform::standInFamily(QStringLiteral("Verdana")), u"Verdana");
}

TEST(FontLookup, AFamilyTheSystemHasIsItsOwnAndAnUnknownOneGetsSomeTrueTypeFace)
{
    const auto own = orv::platform::findTrueTypeFace(orv::platform::FontRequest::of(QStringLiteral("DejaVu Sans"), true, false));
    ASSERT_TRUE(own);
    EXPECT_FALSE(own->substitute);
    EXPECT_EQ(own->fullName, u"DejaVu Sans Bold");

    const auto other = orv::platform::findTrueTypeFace(orv::platform::FontRequest::of(QStringLiteral("No Such Family 42"), false, false));
    ASSERT_TRUE(other);
    EXPECT_TRUE(other->substitute);
    TrueTypeCollection collection;
    collection.Initialize(other->data);
    EXPECT_NO_THROW(collection.Face(other->faceIndex).PrepareFont());
}

TEST(PdfFont, TotaleInArial)
{
    TfrxPDFFont f(font(QStringLiteral("Arial")));
    EXPECT_EQ(f.RemapString(QStringLiteral("Totale")), (QList<std::uint16_t>{55, 82, 87, 68, 79, 72}));
    EXPECT_EQ(f.UsedAlphabet, (QList<std::uint16_t>{55, 82, 87, 68, 79, 72}));
    EXPECT_EQ(f.Widths, (QList<std::int32_t>{611, 556, 278, 556, 222, 556}));
    EXPECT_EQ(used(f), u"Totale");
    EXPECT_EQ(f.GetFontName(), "Arial");
    EXPECT_FALSE(f.Saved);
    EXPECT_TRUE(f.PackFont);
    EXPECT_EQ(f.FontDataSize, f.FontData.size());
}

TEST(PdfFont, GlyphsAreRecordedOnceInOrderOfFirstUse)
{
    TfrxPDFFont f(font(QStringLiteral("Arial")));
    const QList<std::uint16_t> first = f.RemapString(QStringLiteral("Totale"));
    EXPECT_EQ(f.RemapString(QStringLiteral("Totale")), first);
    EXPECT_EQ(f.RemapString(QString()), QList<std::uint16_t>{});
    f.RemapString(QStringLiteral("otto"));
    EXPECT_EQ(used(f), u"Totale");
    EXPECT_EQ(f.UsedAlphabet.size(), f.Widths.size());
}

TEST(PdfFont, LinesMapAsTheFaceMapsEachWholeLine)
{
    // The record remembers what each character gave; every line still gets the glyphs the
    // face gives for the line as a whole, whether it has surrogate pairs or not, and the
    // used glyphs keep the order of their first use across both kinds of line.
    TfrxPDFFont f(font(QStringLiteral("DejaVu Sans")));
    TrueTypeCollection reference;
    reference.Initialize(f.FontData);
    TrueTypeFont& face = reference.Face(0);
    face.PrepareFont();
    const QString lines[] = {QStringLiteral("Totale\tà"), QStringLiteral("àb\U0001F600T\u0001"),
                             QStringLiteral("T\u0001a \u4E00"), QStringLiteral("\U0001F600 àq")};
    QList<std::uint16_t> firstUse;
    for (const QString& line : lines) {
        QList<std::uint16_t> expected;
        for (const MappedGlyph& g : face.GetGlyphIndices(line, nullptr)) {
            expected.append(g.glyph);
            if (!firstUse.contains(g.glyph))
                firstUse.append(g.glyph);
        }
        EXPECT_EQ(f.RemapString(line), expected) << line.toStdString();
    }
    EXPECT_EQ(f.UsedAlphabet, firstUse);
    // The ideograph the face lacks is the missing glyph, which reads as no character.
    EXPECT_EQ(used(f), QStringLiteral("Totale àb\U0001F600\uFFFDq"));
    // A record emptied collects the components of its glyphs anew.
    f.Cleanup();
    f.RemapString(QStringLiteral("à"));
    EXPECT_FALSE(f.FComposedList.isEmpty());
    EXPECT_EQ(used(f), u"à");
}

TEST(PdfFont, EachGlyphStandsForItsOwnCharacter)
{
    // The tab is drawn as a blank and stands for one; every other new glyph gets the
    // character it was made from.
    TfrxPDFFont f(font(QStringLiteral("Arial")));
    const QList<std::uint16_t> glyphs = f.RemapString(QStringLiteral("a\tb\u00A0c € 1,5"));
    EXPECT_EQ(glyphs.size(), 11);
    EXPECT_EQ(glyphs[1], glyphs[5]);
    EXPECT_EQ(used(f), QStringLiteral("a b\u00A0c€1,5"));
    // A character beyond U+FFFF is one glyph of the face's own, standing for itself.
    TfrxPDFFont wide(font(QStringLiteral("DejaVu Sans")));
    const QList<std::uint16_t> smile = wide.RemapString(QStringLiteral("a\U0001F600b"));
    ASSERT_EQ(smile.size(), 3);
    EXPECT_NE(smile[1], 0);
    EXPECT_EQ(used(wide), QStringLiteral("a\U0001F600b"));
    // Spaces keep their own advance, not the average character width.
    TfrxPDFFont spaces(font(QStringLiteral("Arial")));
    EXPECT_EQ(spaces.RemapString(QStringLiteral("   ")), (QList<std::uint16_t>{3, 3, 3}));
    EXPECT_EQ(spaces.Widths, QList<std::int32_t>{278});
    // Characters the font lacks are all the missing glyph, which stands for none of
    // them: it is recorded once, as the replacement character.
    TfrxPDFFont missing(font(QStringLiteral("Arial")));
    EXPECT_EQ(missing.RemapString(QStringLiteral("a\u4E00")), (QList<std::uint16_t>{68, 0}));
    EXPECT_EQ(missing.RemapString(QStringLiteral("\u2713\U0002000Bb")), (QList<std::uint16_t>{0, 0, 69}));
    EXPECT_EQ(used(missing), QStringLiteral("a\uFFFDb"));
}

TEST(PdfFont, ComposedGlyphsAreCollectedForTheSubset)
{
    TfrxPDFFont f(font(QStringLiteral("Arial")));
    f.RemapString(QStringLiteral("àè"));
    EXPECT_EQ(f.FComposedList, (QList<std::uint16_t>{68, 67, 72})); // a, grave, e
    f.RemapString(QStringLiteral("à"));
    EXPECT_EQ(f.FComposedList.size(), 3);
}

TEST(PdfFont, MetricsComeFromTheFace)
{
    TfrxPDFFont f(font(QStringLiteral("Arial"), FontStyle::Italic));
    f.FillOutlineTextMetrix();
    const OutlineTextMetric& m = f.TextMetric;
    EXPECT_EQ(m.otmEMSquare, 2048u);
    EXPECT_EQ(m.tmAscent, 1854);
    EXPECT_EQ(m.tmDescent, 434);
    EXPECT_EQ(m.tmHeight, 1854 + 434);
    EXPECT_EQ(m.otmAscent, 1854);
    EXPECT_EQ(m.otmDescent, -434);
    EXPECT_EQ(m.otmItalicAngle, -120);
    EXPECT_EQ(f.TrueTypeTables.Face(0).FullName(), u"Liberation Sans Italic");
}

TEST(PdfFont, NamesInThePdf)
{
    const struct {
        const char* family;
        FontStyles style;
        const char* name;
    } cases[] = {
        {"Arial", {}, "Arial"},
        {"Arial", FontStyle::Underline | FontStyle::StrikeOut, "Arial"},
        {"Courier New", FontStyle::Bold, "Courier#20New,Bold"},
        {"Arial", FontStyle::Bold | FontStyle::Italic, "Arial,BoldItalic"},
        {"Times New Roman", FontStyle::Italic, "Times#20New#20Roman,Italic"},
        {"MS UI Gothic", FontStyle::Bold, "MS#20UI#20Gothic"},
        {"A(b)%<c>[d]{e}/f", {}, "A#28b#29#25#3Cc#3E#5Bd#5D#7Be#7D#2Ff"},
        // "#" and bytes of the code page above 0x7F are written as hexadecimal too.
        {"C#", {}, "C#23"},
        {"Caf\xc3\xa9", {}, "Caf#E9"},
    };
    for (const auto& c : cases) {
        TfrxPDFFont f(font(QString::fromUtf8(c.family), c.style));
        EXPECT_EQ(f.GetFontName(), QByteArray(c.name)) << c.family;
    }
}

TEST(PdfFont, RecordIdentity)
{
    TfrxPDFFont arial(font(QStringLiteral("Arial")));
    EXPECT_TRUE(arial.IsSameFont(font(QStringLiteral("Arial"))));
    EXPECT_FALSE(arial.IsSameFont(font(QStringLiteral("Arial"), FontStyle::Underline)));
    EXPECT_FALSE(arial.IsSameFont(font(QStringLiteral("arial"))));
    const QString gothic = QStringLiteral("ＭＳ ゴシック");
    EXPECT_TRUE(isJapaneseFamily(QStringLiteral("ms ui gothic")));
    TfrxPDFFont japanese(font(gothic, FontStyle::Bold));
    EXPECT_TRUE(japanese.IsSameFont(font(gothic)));
    EXPECT_EQ(japanese.GetFontName(), TfrxPDFFont(font(gothic)).GetFontName());
}

TEST(PdfFont, StandInFacesAreMarkedForEmbedding)
{
    EXPECT_TRUE(TfrxPDFFont(font(QStringLiteral("Arial"))).EmbedRequired);
    EXPECT_TRUE(TfrxPDFFont(font(QStringLiteral("No Such Family 42"))).EmbedRequired);
    EXPECT_FALSE(TfrxPDFFont(font(QStringLiteral("DejaVu Sans"))).EmbedRequired);
    EXPECT_FALSE(TfrxPDFFont(font(QStringLiteral("Liberation Sans"), FontStyle::Bold)).EmbedRequired);
}

TEST(PdfFont, PackFontFileReplacesTheFontByItsSubset)
{
    TfrxPDFFont f(font(QStringLiteral("Arial"), FontStyle::Bold));
    const QByteArray whole = f.FontData;
    f.RemapString(QStringLiteral("Più"));
    f.PackFontFile();
    EXPECT_LT(f.FontDataSize, whole.size() / 2);
    EXPECT_EQ(f.FontDataSize, f.FontData.size());
    TrueTypeFont subset(f.FontData, 0, ChecksumFaultAction::ThrowException);
    subset.PrepareFont();
    EXPECT_EQ(subset.FullName(), u"Liberation Sans Bold");
    // ù is a composite: its components came along through the composed list.
    for (std::uint16_t g : f.UsedAlphabet + f.FComposedList)
        EXPECT_EQ(testfont::outline(f.FontData, g), testfont::outline(whole, g)) << g;

    f.Cleanup();
    EXPECT_TRUE(f.UsedAlphabet.isEmpty() && f.Widths.isEmpty() && f.UsedAlphabetUnicode.isEmpty() &&
                f.FComposedList.isEmpty());
    EXPECT_TRUE(f.FontData.isEmpty());
    EXPECT_EQ(f.FontDataSize, 0);
}
