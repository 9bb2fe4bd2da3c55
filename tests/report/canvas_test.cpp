// The faces text is measured and drawn with, and the canvas's own text layout.
#include "platform/core/canvas.h"
#include "platform/core/textface.h"

#include <QFile>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

TEST(TextFaceTest, StandInsMeasureWithDesignAdvances)
{
    auto arial = orv::platform::TextFace::find(QStringLiteral("Arial"), false, false);
    ASSERT_FALSE(arial->isEmpty());
    EXPECT_TRUE(arial->fullName().startsWith(QStringLiteral("Liberation Sans")));
    auto courier = orv::platform::TextFace::find(QStringLiteral("Courier New"), false, false);
    ASSERT_FALSE(courier->isEmpty());
    // A monospaced face: every character as wide as the others (1229 of 2048 units);
    // widths scale with the size exactly.
    EXPECT_NEAR(courier->textWidth(u"RIGA 0001", 10), 9 * 10 * 1229 / 2048.0, 1e-9);
    EXPECT_NEAR(arial->textWidth(u"Saluzzo", 21.333332), 2 * arial->textWidth(u"Saluzzo", 10.666666), 1e-6);
    EXPECT_EQ(arial->textWidth(u"", 10), 0);
    // The same face is served again, and bold is a face of its own.
    EXPECT_EQ(orv::platform::TextFace::find(QStringLiteral("arial"), false, false), arial);
    auto bold = orv::platform::TextFace::find(QStringLiteral("Arial"), true, false);
    EXPECT_GT(bold->textWidth(u"Codice", 10), arial->textWidth(u"Codice", 10));
}

TEST(TextFaceTest, GlyphsOfUnusualCharacters)
{
    auto face = orv::platform::TextFace::find(QStringLiteral("Arial"), false, false);
    // A control character the face lacks is dropped; a tab counts as a blank.
    EXPECT_EQ(face->glyphs(u"a\x01" "b").size(), 2u);
    EXPECT_NEAR(face->textWidth(u"\t", 10), face->textWidth(u" ", 10), 1e-12);
    // A character outside the face becomes the missing glyph, with its width.
    const auto missing = face->glyphs(QString(QChar(0xE000)));
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(missing[0].id, 0);
    EXPECT_EQ(face->glyphs(QStringLiteral("🙂")).size(), 1u) << "a character beyond the BMP is one glyph";
    // The width of a line is the sum of its glyphs' advances, whatever it holds: a pair,
    // a lone half of one, tabs, control characters, letters past the first 256.
    const QString mixed = QStringLiteral("Città\t€ 1,5 🙂") + QChar(0xD800) + QStringLiteral("x\u0002\u4E00é");
    int units = 0;
    for (const auto& g : face->glyphs(mixed))
        units += g.advance;
    EXPECT_NEAR(face->textWidth(mixed, 10), units * 10.0 / face->unitsPerEm(), 1e-9);
    EXPECT_EQ(face->glyphs(mixed).size(), std::size_t(mixed.size() - 2)) << "the pair is one glyph, \\u0002 none";
    // Outlines: a simple glyph and an accented letter (often built from components).
    EXPECT_FALSE(face->outline(face->glyphIndex(U'A')).isEmpty());
    const QPainterPath accented = face->outline(face->glyphIndex(U'È'));
    EXPECT_FALSE(accented.isEmpty());
    EXPECT_LT(accented.boundingRect().top(), face->outline(face->glyphIndex(U'E')).boundingRect().top())
        << "the accent stands above the letter";
    EXPECT_TRUE(face->outline(face->glyphIndex(U' ')).isEmpty());
}

TEST(TextFaceTest, BrokenFontFilesAreRefused)
{
    EXPECT_EQ(orv::platform::TextFace::fromData(QByteArray()), nullptr);
    EXPECT_EQ(orv::platform::TextFace::fromData(QByteArray("OTTO" + QByteArray(200, '\0'))), nullptr);
    QFile file(QStringLiteral("/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"));
    if (!file.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "no Liberation Sans file here";
    const QByteArray bytes = file.readAll();
    // Cut short, the tables point beyond the file.
    EXPECT_EQ(orv::platform::TextFace::fromData(bytes.left(2000)), nullptr);
    auto whole = orv::platform::TextFace::fromData(bytes);
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->unitsPerEm(), 2048);
}

TEST(CanvasTest, PlatformTextLayout)
{
    orv::platform::Canvas canvas;
    canvas.font.family = QStringLiteral("Arial");
    canvas.font.size = 10;
    const double space = canvas.textWidth(QStringLiteral(" "));
    const double width = canvas.textWidth(QStringLiteral("uno due"));
    // Lines break at blanks where the next word would not fit; a word wider than the
    // room stays whole; line breaks of every kind end paragraphs.
    EXPECT_EQ(canvas.layoutLines(QStringLiteral("uno due tre"), width + space / 2, true),
              (std::vector<QString>{QStringLiteral("uno due"), QStringLiteral("tre")}));
    EXPECT_EQ(canvas.layoutLines(QStringLiteral("lunghissima x"), 5, true),
              (std::vector<QString>{QStringLiteral("lunghissima"), QStringLiteral("x")}));
    EXPECT_EQ(canvas.layoutLines(QStringLiteral("a\r\nb\rc\nd"), 1000, false).size(), 4u);
    EXPECT_EQ(canvas.layoutLines(QStringLiteral("uno due tre"), 5, false).size(), 1u) << "no wrapping asked";
    const QRectF r = canvas.measureText(QRectF(0, 0, 1000, 1000), QStringLiteral("a\r\nb"), false,
                                        orv::platform::TextAlign::Leading, orv::platform::TextAlign::Trailing);
    EXPECT_NEAR(r.height(), 2 * canvas.lineHeight(), 1e-9);
    EXPECT_NEAR(r.bottom(), 1000, 1e-9);
}

TEST(CanvasTest, DrawsTextIntoImages)
{
    QImage image(200, 40, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        orv::platform::Canvas canvas(&painter);
        canvas.font.size = 20;
        canvas.fillColor = 0xFF000000;
        canvas.drawTextLine(QPointF(5, 5), QStringLiteral("Orvanta"));
    }
    int dark = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
            dark += qGray(image.pixel(x, y)) < 100;
    EXPECT_GT(dark, 100);
    EXPECT_EQ(image.pixel(199, 39), 0xFFFFFFFFu);
}
