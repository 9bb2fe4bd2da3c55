#include <gtest/gtest.h>

#include <functional>

#include "fontbuilder.h"
#include "pdf/truetype.h"

using namespace orv::pdf;
using testfont::be16;
using testfont::be32;

namespace {

// Glyphs: 0 missing-glyph box, 1 space, 2 "A", 3 "B", 4 "Â" (A and B combined), 5 no-break
// space, 6 zero-width space.
testfont::Builder basicFont()
{
    testfont::Builder b;
    b.glyphs = {testfont::simpleGlyph(20), {}, testfont::simpleGlyph(18), testfont::simpleGlyph(22),
                testfont::compositeGlyph({2, 3}), {}, {}};
    b.advances = {600, 250, 700, 710, 720, 260, 0};
    b.segments = {{u' ', u' ', 1 - 0x20, {}},
                  {u'A', u'B', 0, {2, 3}},
                  {u'\u00A0', u'\u00A0', 5 - 0xA0, {}},
                  {u'\u00C2', u'\u00C2', 4 - 0xC2, {}},
                  {u'\u200B', u'\u200B', 6 - 0x200B, {}}};
    return b;
}

TrueTypeFont prepared(const QByteArray& file, ChecksumFaultAction action = ChecksumFaultAction::Warn)
{
    TrueTypeFont face(file, 0, action);
    face.PrepareFont();
    return face;
}

std::string errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const TrueTypeError& e) {
        return e.what();
    }
    return "(no error)";
}

QByteArray withU16(QByteArray b, qsizetype at, std::uint16_t v)
{
    b[at] = char(v >> 8);
    b[at + 1] = char(v);
    return b;
}

QByteArray withU32(QByteArray b, qsizetype at, std::uint32_t v)
{
    return withU16(withU16(b, at, std::uint16_t(v >> 16)), at + 2, std::uint16_t(v));
}

} // namespace

TEST(TrueTypeCollection, SplitsFilesIntoUnpreparedFaces)
{
    TrueTypeCollection plain;
    plain.Initialize(basicFont().build());
    ASSERT_EQ(plain.Count(), 1);
    EXPECT_FALSE(plain.Face(0).IsLoaded());

    QList<QByteArray> faces;
    for (const char* name : {"Test One", "Test Two", "Test Three"}) {
        testfont::Builder b = basicFont();
        b.fullName = QString::fromLatin1(name);
        faces << b.build();
    }
    TrueTypeCollection collection;
    collection.Initialize(testfont::collection(faces));
    ASSERT_EQ(collection.Count(), 3);
    collection.Face(1).PrepareFont();
    EXPECT_EQ(collection.Face(1).FullName(), u"Test Two");
    EXPECT_EQ(collection.Face(1).GetGlyphIndex(u'B'), 3);
    EXPECT_FALSE(collection.Face(0).IsLoaded());
    EXPECT_FALSE(collection.Face(2).IsLoaded());
}

TEST(TrueTypeCollection, RefusesWhatIsNotATrueTypeFontOrCollection)
{
    const QByteArray ttc = testfont::collection({basicFont().build()});
    const struct {
        QByteArray data;
        const char* error;
    } cases[] = {
        {"OTTO" + QByteArray(60, '\0'), "TrueType font format error"},
        {QByteArray::fromHex("000100"), "TrueType font format error"},
        {QByteArray(), "TrueType font format error"},
        {withU32(ttc, 4, 0x00030000), "Unknown font collection version"},
        {withU32(ttc, 8, 0x40000000), "TrueType font format error"}, // offsets past the file
    };
    for (const auto& c : cases) {
        TrueTypeCollection collection;
        EXPECT_EQ(errorOf([&] { collection.Initialize(c.data); }), c.error) << c.data.left(8).toHex().constData();
    }
}

TEST(TrueTypeFont, MissingRequiredTablesAreNamed)
{
    const struct {
        const char* tag;
        const char* error;
    } cases[] = {
        {"head", "FontHeader not found."},     {"maxp", "MaximuProfile not found."},
        {"hhea", "HorizontalHeader not found."}, {"OS/2", "OS2WindowsMetrics table not found."},
        {"loca", "IndexToLocation not found."}, {"cmap", "CMAP not found."},
        {"name", "Name not found."},           {"glyf", "Glyphs not found."},
    };
    for (const auto& c : cases) {
        testfont::Builder b = basicFont();
        b.omit = {c.tag};
        TrueTypeFont face(b.build(), 0, ChecksumFaultAction::Warn);
        EXPECT_EQ(errorOf([&] { face.PrepareFont(); }), c.error);
        EXPECT_FALSE(face.IsLoaded());
    }
    // post and hmtx are optional: the italic angle and the widths are then 0.
    testfont::Builder b = basicFont();
    b.omit = {"post", "hmtx"};
    const TrueTypeFont face = prepared(b.build());
    EXPECT_EQ(face.GetOutlineTextMetrics().otmItalicAngle, 0);
    EXPECT_EQ(face.width(2), 0);
}

TEST(TrueTypeFont, UnsupportedLocationAndMapFormatsAreRefused)
{
    const QByteArray font = basicFont().build();
    const auto head = testfont::tableDirectory(font).at("head");
    TrueTypeFont badLoca(withU16(font, head.offset + 50, 2), 0, ChecksumFaultAction::Warn);
    EXPECT_EQ(errorOf([&] { badLoca.PrepareFont(); }), "Unsupported Index to Location format");
    EXPECT_FALSE(badLoca.IsLoaded());

    // A Windows Unicode map in formats 0, 2 and 6 is not read; format 12 without groups
    // maps nothing.
    const struct {
        int format;
        const char* error;
    } cases[] = {
        {0, "TO DO: ByteEncoding cmap format not implemented"},
        {2, "TO DO: HighByteMapping cmap format not implemented"},
        {6, "TO DO: TrimmedTable cmap format not implemented"},
        {12, "(no error)"},
    };
    for (const auto& c : cases) {
        testfont::Builder b = basicFont();
        b.extraTables["cmap"] = QByteArray::fromHex("0000000100030001 0000000c") +
                                withU16(QByteArray(300, '\0'), 0, std::uint16_t(c.format));
        TrueTypeFont face(b.build(), 0, ChecksumFaultAction::Warn);
        EXPECT_EQ(errorOf([&] { face.PrepareFont(); }), c.error) << c.format;
        if (face.IsLoaded()) {
            EXPECT_EQ(face.GetGlyphIndex(u'A'), 0);
        }
    }
}

TEST(TrueTypeFont, CharacterMap)
{
    // A segment with idRangeOffset 0 and idDelta -29 maps the space to glyph 3.
    testfont::Builder b = basicFont();
    b.segments = {{u' ', u' ', -29, {}}, {u'A', u'C', 0, {2, 0, 3}}};
    const TrueTypeFont face = prepared(b.build());
    EXPECT_EQ(face.GetGlyphIndex(u' '), 3);
    EXPECT_EQ(face.GetGlyphIndex(u'A'), 2);
    EXPECT_EQ(face.GetGlyphIndex(u'B'), 0); // an array entry 0 stays 0
    EXPECT_EQ(face.GetGlyphIndex(u'C'), 3);
    EXPECT_EQ(face.GetGlyphIndex(u'!'), 0); // between segments
    EXPECT_EQ(face.GetGlyphIndex(u'\uFFFF'), 0);

    // A full Unicode map (format 12) reaches past U+FFFF and is preferred to the BMP map.
    QByteArray groups;
    for (std::uint32_t v : {0x41u, 0x42u, 2u, 0x1F600u, 0x1F600u, 4u})
        groups += withU32(QByteArray(4, '\0'), 0, v);
    const QByteArray full = withU32(withU32(withU16(QByteArray(16, '\0'), 0, 12), 4, 16 + 24), 12, 2) + groups;
    testfont::Builder wide = basicFont();
    wide.segments = {{u'A', u'B', 1, {}}}; // the BMP map disagrees, and loses
    QByteArray cmap = wide.build();
    const auto entry = testfont::tableDirectory(cmap).at("cmap");
    const QByteArray bmp = cmap.mid(entry.offset + 12, entry.length - 12);
    wide.extraTables["cmap"] = QByteArray::fromHex("0000 0002 0003 0001 00000014 0003 000a") +
                               withU32(QByteArray(4, '\0'), 0, 20 + std::uint32_t(bmp.size())) + bmp + full;
    const TrueTypeFont wideFace = prepared(wide.build());
    EXPECT_EQ(wideFace.GetGlyphIndex(U'A'), 2);
    EXPECT_EQ(wideFace.GetGlyphIndex(U'B'), 3);
    EXPECT_EQ(wideFace.GetGlyphIndex(U'\U0001F600'), 4);
    EXPECT_EQ(wideFace.GetGlyphIndex(U'\U0001F601'), 0);
    EXPECT_EQ(wideFace.GetGlyphIndex(U'C'), 0);
    const auto glyphs = wideFace.GetGlyphIndices(QStringLiteral("A\U0001F600B"), nullptr);
    ASSERT_EQ(glyphs.size(), 3u);
    EXPECT_EQ(std::tuple(int(glyphs[1].glyph), glyphs[1].width, int(glyphs[1].source)), std::tuple(4, 720, 1));
    EXPECT_EQ(glyphs[2].source, 3);

    // A symbol font has no Windows Unicode map: every character is the missing glyph.
    testfont::Builder symbol = basicFont();
    symbol.unicodeCmap = false;
    const TrueTypeFont symbolFace = prepared(symbol.build());
    for (char16_t c : {u' ', u'A', u'\u00C2'})
        EXPECT_EQ(symbolFace.GetGlyphIndex(c), 0);
}

TEST(TrueTypeFont, GlyphIndicesKeepBlanksThatTakeRoomAndDropTheRest)
{
    const TrueTypeFont face = prepared(basicFont().build());
    // space, A, B, no-break space, zero-width space, tab (drawn as a blank), another
    // control character, Z (missing)
    const auto glyphs = face.GetGlyphIndices(QStringLiteral(" AB\u00A0\u200B\t\u0001Z"), nullptr);
    const std::vector<std::tuple<int, int, int>> expected = {
        {1, 250, 0}, {2, 700, 1}, {3, 710, 2}, {5, 260, 3}, {1, 250, 5}, {0, 600, 7}};
    ASSERT_EQ(glyphs.size(), expected.size());
    for (std::size_t i = 0; i < glyphs.size(); ++i)
        EXPECT_EQ(std::tuple(int(glyphs[i].glyph), glyphs[i].width, int(glyphs[i].source)), expected[i]) << i;
    EXPECT_TRUE(face.GetGlyphIndices(QString(), nullptr).empty());
}

TEST(TrueTypeFont, WidthsAreRoundedThousandthsOfAnEm)
{
    testfont::Builder b = basicFont();
    b.unitsPerEm = 2048;
    b.advances = {1251, 569, 1139, 1, 1024, 0, 0};
    b.numberOfHMetrics = 5; // glyphs 5 and 6 share the last advance
    const TrueTypeFont face = prepared(b.build());
    const int expected[] = {611, 278, 556, 0, 500, 500, 500};
    for (int g = 0; g < 7; ++g)
        EXPECT_EQ(face.width(std::uint16_t(g)), expected[g]) << g;
}

TEST(TrueTypeFont, ComponentsOfCompositeGlyphs)
{
    testfont::Builder b = basicFont();
    // Every argument and scale form, so each record's length is stepped over correctly.
    for (std::uint16_t flags : {0x0000, 0x0001, 0x0008, 0x0041, 0x0080}) {
        b.glyphs[4] = testfont::compositeGlyph({3, 2, 1}, flags);
        const TrueTypeFont face = prepared(b.build());
        EXPECT_EQ(face.CheckGlyph(4), (std::vector<std::uint16_t>{3, 2, 1})) << flags;
        EXPECT_TRUE(face.CheckGlyph(2).empty());
        EXPECT_TRUE(face.CheckGlyph(1).empty());
    }
    const TrueTypeFont face = prepared(basicFont().build());
    QList<std::uint16_t> components;
    face.GetGlyphIndices(QStringLiteral("\u00C2A\u00C2"), &components);
    face.GetGlyphIndices(QStringLiteral("\u00C2"), &components);
    EXPECT_EQ(components, (QList<std::uint16_t>{2, 3}));
}

TEST(TrueTypeFont, MetricsForTheFontDescriptor)
{
    testfont::Builder b = basicFont();
    b.italicAngle = -12 * 65536 - 32768; // -12.5 degrees
    b.xAvgCharWidth = -5;
    const OutlineTextMetric m = prepared(b.build()).GetOutlineTextMetrics();
    EXPECT_EQ(m.otmSize, 212u);
    EXPECT_EQ(m.tmAscent, 900);
    EXPECT_EQ(m.tmDescent, 250);
    EXPECT_EQ(m.tmHeight, 1150);
    EXPECT_EQ(m.tmAveCharWidth, -5);
    EXPECT_EQ(m.tmMaxCharWidth, 720);
    EXPECT_EQ(m.tmFirstChar, 0x20);
    EXPECT_EQ(m.tmLastChar, 0xFFFF);
    EXPECT_EQ(m.tmDefaultChar, 0);
    EXPECT_EQ(m.tmBreakChar, 32);
    const std::uint8_t panose[10] = {1, 2, 3, 4, 5, 6, 0, 8, 9, 10};
    EXPECT_EQ(std::vector(m.otmPanoseNumber, m.otmPanoseNumber + 10), std::vector(panose, panose + 10));
    EXPECT_EQ(m.otmItalicAngle, -130); // whole degrees rounded down, in tenths
    EXPECT_EQ(m.otmEMSquare, 1000u);
    EXPECT_EQ(m.otmAscent, 800);
    EXPECT_EQ(m.otmDescent, -200);
    EXPECT_EQ(m.otmLineGap, 90u);
    EXPECT_EQ(m.tmInternalLeading, 0);
    EXPECT_EQ(m.tmWeight, 0);
    EXPECT_EQ(m.otmsCapEmHeight, 0); // neither OS/2 nor an "H" tells it
    EXPECT_FALSE(m.fixedPitch);

    // The box of all glyphs (head), the cap height (OS/2) and the fixed pitch (post).
    b.fontBox = {-50, -210, 1000, 950};
    b.capHeight = 700;
    b.fixedPitch = true;
    const OutlineTextMetric full = prepared(b.build()).GetOutlineTextMetrics();
    EXPECT_EQ(std::tuple(full.otmrcFontBox.left, full.otmrcFontBox.bottom, full.otmrcFontBox.right,
                         full.otmrcFontBox.top),
              std::tuple(-50, -210, 1000, 950));
    EXPECT_EQ(full.otmsCapEmHeight, 700);
    EXPECT_TRUE(full.fixedPitch);

    // A version 0 table of 78 bytes has no default or break character, and no cap
    // height: the top of the "H" gives it.
    b.os2Length = 78;
    b.segments.insert(b.segments.begin() + 2, {u'H', u'H', 2 - 0x48, {}}); // in code order
    const OutlineTextMetric old = prepared(b.build()).GetOutlineTextMetrics();
    EXPECT_EQ(old.tmDescent, 250);
    EXPECT_EQ(old.tmBreakChar, 0);
    EXPECT_EQ(old.otmsCapEmHeight, 300);
}

TEST(TrueTypeFont, ChecksumsAreCheckedOnlyWhenAsked)
{
    EXPECT_NO_THROW(prepared(basicFont().build(), ChecksumFaultAction::ThrowException));

    testfont::Builder b = basicFont();
    b.badChecksums = true;
    const QByteArray bad = b.build();
    EXPECT_NO_THROW(prepared(bad, ChecksumFaultAction::Warn));
    EXPECT_NO_THROW(prepared(bad, ChecksumFaultAction::IgnoreChecksum));
    // The first table of the directory is OS/2; its stored sum is one more than its own.
    const auto os2 = testfont::tableDirectory(bad).at("OS/2");
    const std::uint32_t sum = TableChecksum(bad.constData() + os2.offset, os2.length);
    const std::string expected = "Table ID \"OS/2\" checksum error." + std::to_string(std::int32_t(sum)) +
                                 " " + std::to_string(std::int32_t(sum + 1));
    EXPECT_EQ(errorOf([&] { prepared(bad, ChecksumFaultAction::ThrowException); }), expected);
}

TEST(TableChecksum, PartialLastWordIsPaddedWithZeros)
{
    EXPECT_EQ(TableChecksum("\x00\x00\x00\x01\x02", 5), 0x02000001u);
    EXPECT_EQ(TableChecksum("\xff\xff\xff\xff\x00\x00\x00\x02", 8), 1u); // modulo 2^32
    EXPECT_EQ(TableChecksum("", 0), 0u);
}

TEST(TrueTypeFont, OffsetsAndLengthsOutsideTheFileAreFormatErrors)
{
    const QByteArray font = basicFont().build();
    const auto tables = testfont::tableDirectory(font);
    auto recordOf = [&](const char* tag) {
        const int numTables = be16(font, 4);
        for (int i = 0; i < numTables; ++i)
            if (font.mid(12 + 16 * i, 4) == tag)
                return 12 + 16 * i;
        return -1;
    };
    const struct {
        const char* what;
        QByteArray data;
    } broken[] = {
        {"table past the end", withU32(font, recordOf("name") + 8, std::uint32_t(font.size() - 8))},
        {"huge table length", withU32(font, recordOf("glyf") + 12, 0xFFFFFFF0u)},
        {"directory past the end", withU16(font, 4, 0x7FFF)},
        {"truncated file", font.left(font.size() / 2)},
        {"cmap subtable past its table", withU32(font, tables.at("cmap").offset + 8, 0x7FFFFFFF)},
        // The format word would be read from the bytes after the table.
        {"cmap subtable at its table's last byte",
         withU32(font, tables.at("cmap").offset + 8, tables.at("cmap").length - 1)},
        {"hmtx shorter than its metrics", withU16(font, tables.at("hhea").offset + 34, 0x7FFF)},
    };
    for (const auto& c : broken) {
        TrueTypeFont face(c.data, 0, ChecksumFaultAction::Warn);
        EXPECT_EQ(errorOf([&] { face.PrepareFont(); }), "TrueType font format error") << c.what;
    }

    // Damage found only when a glyph or a name is read.
    const std::uint32_t loca = tables.at("loca").offset;
    const TrueTypeFont pastGlyf = prepared(withU16(font, loca + 2 * 3, 0x7FFF)); // glyph 2 ends far out
    EXPECT_EQ(errorOf([&] { pastGlyf.GetGlyphIndices(QStringLiteral("A"), nullptr); }),
              "TrueType font format error");
    const TrueTypeFont pastName = prepared(withU16(font, tables.at("name").offset + 6 + 12 + 10, 0x7FF0));
    EXPECT_EQ(errorOf([&] { (void)pastName.FullName(); }), "TrueType font format error");
    // A composite whose last record says more components follow.
    testfont::Builder b = basicFont();
    b.glyphs[4] = testfont::compositeGlyph({2}, 0x0020);
    const TrueTypeFont cut = prepared(b.build());
    EXPECT_EQ(errorOf([&] { cut.CheckGlyph(4); }), "TrueType font format error");
}

TEST(TrueTypeFont, AnyDamagedByteGivesAFormatErrorOrAFont)
{
    // Every byte of a small font set to 0x00 and to 0xFF in turn: reading, mapping and
    // subsetting either work or raise TrueTypeError, never read outside the file.
    const QByteArray font = basicFont().build();
    for (qsizetype i = 0; i < font.size(); ++i)
        for (char value : {'\x00', '\xFF'}) {
            QByteArray damaged = font;
            damaged[i] = value;
            try {
                TrueTypeCollection collection;
                collection.Initialize(damaged);
                TrueTypeFont& face = collection.Face(0);
                face.PrepareFont();
                (void)face.FullName();
                (void)face.GetOutlineTextMetrics();
                QList<std::uint16_t> components;
                QList<std::uint16_t> glyphs;
                for (const MappedGlyph& g : face.GetGlyphIndices(QStringLiteral(" AB\u00C2\u00A0"), &components))
                    glyphs << g.glyph;
                const QByteArray subset = face.PackFont(glyphs + components);
                TrueTypeFont again(subset, 0, ChecksumFaultAction::ThrowException);
                again.PrepareFont();
            } catch (const TrueTypeError&) {
            }
        }
}

class TrueTypeSubset : public ::testing::TestWithParam<bool> {};

TEST_P(TrueTypeSubset, KeepsGlyphZeroAndTheUsedGlyphOnly)
{
    testfont::Builder b = basicFont();
    b.longLoca = GetParam();
    const QByteArray font = b.build();
    const QByteArray subset = prepared(font).PackFont({3});
    const auto tables = testfont::tableDirectory(subset);
    const QByteArray glyph0 = testfont::outline(font, 0), glyph3 = testfont::outline(font, 3);
    EXPECT_EQ(subset.mid(tables.at("glyf").offset, tables.at("glyf").length), glyph0 + glyph3);
    // loca entries 1 to 3 hold glyph 0's length, entries 4 to 7 (numGlyphs) the new glyf length.
    const std::uint32_t loca = tables.at("loca").offset;
    const int unit = GetParam() ? 1 : 2;
    for (int i = 0; i <= 7; ++i) {
        const std::uint32_t expected = i == 0 ? 0 : i <= 3 ? glyph0.size() : glyph0.size() + glyph3.size();
        const std::uint32_t entry = GetParam() ? be32(subset, loca + 4 * i) : be16(subset, loca + 2 * i);
        EXPECT_EQ(entry, expected / unit) << i;
    }
    EXPECT_EQ(tables.at("loca").length, testfont::tableDirectory(font).at("loca").length);
}

INSTANTIATE_TEST_SUITE_P(ShortAndLongLocations, TrueTypeSubset, ::testing::Bool());

TEST(TrueTypeSubsetTables, AFontReadersAccept)
{
    testfont::Builder b = basicFont();
    b.glyphs = {testfont::simpleGlyph(20), testfont::simpleGlyph(18), testfont::compositeGlyph({1}),
                testfont::compositeGlyph({2}), testfont::simpleGlyph(24), {}, {}};
    b.postVersion = 2;
    b.os2Length = 78;
    b.extraTables = {{"DSIG", QByteArray(8, 'x')}, {"hdmx", QByteArray(12, 'h')},
                     {"cvt ", QByteArray("\x01\x02\x03\x04\x05\x06", 6)}, {"prep", QByteArray("\xb0\x01\x2c", 3)}};
    const QByteArray font = b.build();
    const TrueTypeFont face = prepared(font);
    const QByteArray subset = face.PackFont({3});
    const auto source = testfont::tableDirectory(font);
    const auto tables = testfont::tableDirectory(subset);

    // Nested components come along at every depth; other outlines are dropped.
    for (int g : {0, 1, 2, 3})
        EXPECT_EQ(testfont::outline(subset, g), testfont::outline(font, g)) << g;
    EXPECT_TRUE(testfont::outline(subset, 4).isEmpty());

    EXPECT_FALSE(tables.count("DSIG"));
    EXPECT_FALSE(tables.count("hdmx"));
    EXPECT_EQ(tables.at("post").length, 32u);
    EXPECT_EQ(be32(subset, tables.at("post").offset), 0x00030000u);
    for (const char* tag : {"OS/2", "cvt ", "prep", "hmtx", "hhea", "maxp", "cmap", "name"}) {
        const auto& s = source.at(tag);
        const auto& t = tables.at(tag);
        EXPECT_EQ(subset.mid(t.offset, t.length), font.mid(s.offset, s.length)) << tag;
        EXPECT_EQ(t.offset % 4, 0u) << tag;
    }

    // Directory: tags ascending, search fields for 12 tables, every checksum its table's,
    // and the whole font summing to the magic number.
    const int numTables = be16(subset, 4);
    EXPECT_EQ(numTables, 12);
    EXPECT_EQ(be16(subset, 6), 128);
    EXPECT_EQ(be16(subset, 8), 3);
    EXPECT_EQ(be16(subset, 10), 64);
    for (int i = 1; i < numTables; ++i)
        EXPECT_LT(subset.mid(12 + 16 * (i - 1), 4), subset.mid(12 + 16 * i, 4));
    EXPECT_EQ(TableChecksum(subset.constData(), subset.size()), 0xB1B0AFBAu);
    const TrueTypeFont again = prepared(subset, ChecksumFaultAction::ThrowException);
    EXPECT_EQ(again.GetGlyphIndex(u'B'), 3);
    EXPECT_EQ(again.width(3), face.width(3));
}

TEST(TrueTypeSubsetTables, FacesOfACollectionAreSubsetOnTheirOwn)
{
    testfont::Builder second = basicFont();
    second.fullName = QStringLiteral("Test Two");
    second.glyphs[2] = testfont::simpleGlyph(30);
    const QByteArray file = testfont::collection({basicFont().build(), second.build()});
    TrueTypeCollection collection;
    collection.Initialize(file);
    collection.Face(1).PrepareFont();
    const QByteArray subset = collection.Face(1).PackFont({2});
    EXPECT_EQ(testfont::outline(subset, 2), testfont::simpleGlyph(30));
    EXPECT_EQ(prepared(subset, ChecksumFaultAction::ThrowException).FullName(), u"Test Two");
}

TEST(TrueTypeSubsetTables, SystemFontsKeepTheirGlyphsAndMetrics)
{
    const QString text = QStringLiteral("Totale à è € 1.234,00 Più però così");
    for (const char* family : {"Liberation Sans", "DejaVu Sans"}) {
        SCOPED_TRACE(family);
        const QByteArray font = testfont::systemFont(QString::fromLatin1(family));
        const TrueTypeFont face = prepared(font);
        QList<std::uint16_t> components, glyphs;
        const auto mapped = face.GetGlyphIndices(text, &components);
        for (const MappedGlyph& g : mapped)
            glyphs << g.glyph;
        const QByteArray subset = face.PackFont(glyphs + components);
        EXPECT_LT(subset.size(), font.size() / 2);
        const TrueTypeFont again = prepared(subset, ChecksumFaultAction::ThrowException);
        const auto remapped = again.GetGlyphIndices(text, nullptr);
        ASSERT_EQ(remapped.size(), mapped.size());
        for (std::size_t i = 0; i < mapped.size(); ++i) {
            EXPECT_EQ(remapped[i].glyph, mapped[i].glyph);
            EXPECT_EQ(remapped[i].width, mapped[i].width);
            EXPECT_EQ(testfont::outline(subset, mapped[i].glyph), testfont::outline(font, mapped[i].glyph));
        }
        EXPECT_TRUE(testfont::outline(subset, face.GetGlyphIndex(u'Z')).isEmpty());
        EXPECT_EQ(TableChecksum(subset.constData(), subset.size()), 0xB1B0AFBAu);
    }
}

TEST(TrueTypeSubsetTables, NestedComponentsOfARealFontComeAlong)
{
    const QByteArray font = testfont::systemFont(QStringLiteral("DejaVu Sans"));
    const TrueTypeFont face = prepared(font);
    // A character whose glyph is made of a composite that is itself made of glyphs.
    for (char16_t c = 0xA0; c < 0xFFFF; ++c) {
        const std::uint16_t g = face.GetGlyphIndex(c);
        for (std::uint16_t part : face.CheckGlyph(g))
            for (std::uint16_t grandchild : face.CheckGlyph(part)) {
                const QByteArray subset = face.PackFont({g});
                for (std::uint16_t kept : {g, part, grandchild})
                    EXPECT_EQ(testfont::outline(subset, kept), testfont::outline(font, kept)) << kept;
                return;
            }
    }
    FAIL() << "DejaVu Sans has no nested composite glyph";
}
