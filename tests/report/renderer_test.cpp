// The text layout renderer: paragraphs, words, runs of tagged styles, line breaks at the
// rectangle's width, alignment, tabs and the measures the memo relies on.
#include "recording_canvas.h"

#include "report/base/errors.h"
#include "report/model/component.h"
#include "report/model/textrenderer.h"

#include <gtest/gtest.h>

using namespace orv::report;

using orv::report::test::RecordingCanvas;

namespace {

struct RendererTest : ::testing::Test {
    RecordingCanvas canvas;
    TfrxFont font;
    void SetUp() override { font.SetSize(10); }

    std::unique_ptr<TAdvancedTextRenderer> layout(const QString& text, const QRectF& rect, int horz = haLeft,
                                                  int vert = vaTop, bool html = false, double lineHeight = 0)
    {
        return std::make_unique<TAdvancedTextRenderer>(&canvas, text, &font, rect, horz, vert, lineHeight, 0, true,
                                                       false, html, false);
    }
    double width(const QString& text)
    {
        font.AssignToCanvas(canvas);
        return canvas.textWidth(text);
    }
    static QStringList words(const TLine& line)
    {
        QStringList out;
        for (const auto& w : line.Words) {
            QString t;
            for (const auto& r : w->Runs)
                t += r->Text;
            out << t;
        }
        return out;
    }
};

} // namespace

TEST_F(RendererTest, TagsMakeRunsOnlyWhenEnabled)
{
    const QRectF wide(0, 0, 1000, 100);
    auto r = layout(QStringLiteral("uno <b>due</b> tre"), wide, haLeft, vaTop, true);
    ASSERT_EQ(r->Paragraphs.size(), 1u);
    const TLine& line = *r->Paragraphs[0]->Lines[0];
    EXPECT_EQ(words(line), (QStringList{QStringLiteral("uno"), QStringLiteral("due"), QStringLiteral("tre")}));
    ASSERT_EQ(line.Words[1]->Runs.size(), 1u);
    EXPECT_TRUE(line.Words[1]->Runs[0]->Style.FontStyle.contains(fsBold));
    EXPECT_FALSE(line.Words[2]->Runs[0]->Style.FontStyle.contains(fsBold));

    auto plain = layout(QStringLiteral("uno <b>due</b> tre"), wide);
    EXPECT_EQ(words(*plain->Paragraphs[0]->Lines[0]),
              (QStringList{QStringLiteral("uno"), QStringLiteral("<b>due</b>"), QStringLiteral("tre")}));

    // Capitals are recognised; an unfinished tag at the end is plain text.
    auto upper = layout(QStringLiteral("<B>x</B> y <b"), wide, haLeft, vaTop, true);
    const TLine& u = *upper->Paragraphs[0]->Lines[0];
    EXPECT_TRUE(u.Words[0]->Runs[0]->Style.FontStyle.contains(fsBold));
    EXPECT_EQ(words(u).last(), QStringLiteral("<b"));

    // A bold letter and a full stop: one word of two runs, counted once in the width.
    auto dot = layout(QStringLiteral("<b>a</b>."), wide, haLeft, vaTop, true);
    const TLine& d = *dot->Paragraphs[0]->Lines[0];
    ASSERT_EQ(d.Words.size(), 1u);
    ASSERT_EQ(d.Words[0]->Runs.size(), 2u);
    EXPECT_NEAR(d.Width, d.Words[0]->Runs[0]->Width + d.Words[0]->Runs[1]->Width + dot->SpaceWidth, 1e-9);
}

TEST_F(RendererTest, FontColourTags)
{
    const QRectF wide(0, 0, 1000, 100);
    for (const QString& value : {QStringLiteral("#FFFF0000"), QStringLiteral("claRed"), QStringLiteral("Red"),
                                 QStringLiteral("\"claRed\""), QStringLiteral("\"#FF0000\"")}) {
        auto r = layout(QStringLiteral("a <font color=") + value + QStringLiteral(">rosso</font> b"), wide, haLeft,
                        vaTop, true);
        const TLine& line = *r->Paragraphs[0]->Lines[0];
        ASSERT_EQ(line.Words.size(), 3u) << value.toStdString();
        EXPECT_EQ(line.Words[1]->Runs[0]->Style.Color, 0xFFFF0000u) << value.toStdString();
        EXPECT_EQ(line.Words[2]->Runs[0]->Style.Color, font.Color());
    }
    EXPECT_THROW(layout(QStringLiteral("<font color=nonsense>x</font>"), wide, haLeft, vaTop, true),
                 orv::report::ConvertError);
}

TEST_F(RendererTest, LinesBreakAtTheWidthAndKeepOverWideWords)
{
    const double space = width(QStringLiteral(" "));
    // Just wide enough for "abc" and the blank that follows every word.
    auto r = layout(QStringLiteral("abc def"), QRectF(0, 0, width(QStringLiteral("abc")) + space, 100));
    const auto& lines = r->Paragraphs[0]->Lines;
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(words(*lines[1]), QStringList{QStringLiteral("def")});
    EXPECT_EQ(lines[1]->OriginalCharIndex, 5);

    auto wide = layout(QStringLiteral("larghissimaparola cc"), QRectF(0, 0, 20, 100));
    const auto& w = wide->Paragraphs[0]->Lines;
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(words(*w[0]), QStringList{QStringLiteral("larghissimaparola")});
    EXPECT_EQ(words(*w[1]), QStringList{QStringLiteral("cc")});
    EXPECT_EQ(r->LineTexts(), (QStringList{QStringLiteral("abc"), QStringLiteral("def")}));

    // The second of two blanks belongs to the next word.
    auto blanks = layout(QStringLiteral("ab  cd"), QRectF(0, 0, 1000, 100));
    EXPECT_EQ(words(*blanks->Paragraphs[0]->Lines[0]), (QStringList{QStringLiteral("ab"), QStringLiteral(" cd")}));
}

TEST_F(RendererTest, TabsMoveToMultiplesOf64)
{
    auto one = layout(QStringLiteral("\tx"), QRectF(0, 0, 1000, 100));
    EXPECT_DOUBLE_EQ(one->Paragraphs[0]->Lines[0]->Words.back()->Left, 64);
    auto two = layout(QStringLiteral("\t\tx"), QRectF(0, 0, 1000, 100));
    EXPECT_DOUBLE_EQ(two->Paragraphs[0]->Lines[0]->Words.back()->Left, 128);
    EXPECT_DOUBLE_EQ(TAdvancedTextRenderer::GetTabPosition(-3), 0);
    EXPECT_DOUBLE_EQ(TAdvancedTextRenderer::GetTabPosition(64), 128);
}

TEST_F(RendererTest, HorizontalAlignment)
{
    const QRectF rect(10, 0, 300, 100);
    auto centred = layout(QStringLiteral("centro"), rect, haCenter);
    const double w = width(QStringLiteral("centro")), space = centred->SpaceWidth;
    // The line width counts a blank after the word: centring is off by half a blank.
    EXPECT_NEAR(centred->Paragraphs[0]->Lines[0]->Left(), 10 + (300 - w - space) / 2, 1e-9);
    auto right = layout(QStringLiteral("destra"), rect, haRight);
    const TWord& word = *right->Paragraphs[0]->Lines[0]->Words[0];
    EXPECT_NEAR(word.Left + word.Runs[0]->Width, 310, 1e-9);

    // Justified: inner lines spread to both edges, the last line stays on the left.
    auto block = layout(QStringLiteral("uno due tre quattro cinque sei"), QRectF(0, 0, 90, 100), haBlock);
    const auto& lines = block->Paragraphs[0]->Lines;
    ASSERT_GE(lines.size(), 2u);
    const TLine& first = *lines[0];
    ASSERT_GE(first.Words.size(), 2u);
    const TWord& lastWord = *first.Words.back();
    EXPECT_NEAR(lastWord.Left + lastWord.Width() + block->SpaceWidth, 90, 1e-6);
    EXPECT_NEAR(lines.back()->Left(), 0, 1e-9);
}

TEST_F(RendererTest, VerticalAlignmentAndParagraphs)
{
    auto bottom = layout(QStringLiteral("a\r\nb"), QRectF(0, 0, 100, 100), haLeft, vaBottom, false, 12);
    const auto& last = bottom->Paragraphs.back()->Lines.back();
    EXPECT_NEAR(last->Top + 12, 100 - 1, 1e-9);

    auto three = layout(QStringLiteral("a\n\nb"), QRectF(0, 0, 100, 100));
    ASSERT_EQ(three->Paragraphs.size(), 3u);
    EXPECT_TRUE(three->Paragraphs[1]->IsEmpty());
    EXPECT_EQ(three->Paragraphs[2]->OriginalCharIndex, 3);
    auto trailing = layout(QStringLiteral("a\r\nb\r\n"), QRectF(0, 0, 100, 100));
    EXPECT_EQ(trailing->Paragraphs.size(), 2u);
    EXPECT_EQ(trailing->Paragraphs[1]->OriginalCharIndex, 3);

    auto empty = layout(QString(), QRectF(0, 0, 100, 100));
    int fit = -1;
    TStyleDescriptor style;
    EXPECT_EQ(empty->CalcHeight(fit, style), 0);
    EXPECT_EQ(fit, 0);
    EXPECT_DOUBLE_EQ(empty->CalcWidth(), empty->SpaceWidth);
}

TEST_F(RendererTest, CalcHeightTellsWhereTheTextStopsFitting)
{
    QStringList lines;
    for (int i = 0; i < 10; ++i)
        lines << QStringLiteral("riga%1").arg(i);
    const QString text = lines.join(QStringLiteral("\r\n"));
    auto r = layout(text, QRectF(0, 0, 200, 100), haLeft, vaTop, false, 12);
    int fit = 0;
    TStyleDescriptor style;
    EXPECT_DOUBLE_EQ(r->CalcHeight(fit, style), 120);
    // 8 lines (96) fit, the ninth does not: its paragraph starts after 8 lines of 7 chars.
    EXPECT_EQ(fit, 8 * 7);
    auto low = layout(text, QRectF(0, 0, 200, 11), haLeft, vaTop, false, 12);
    EXPECT_EQ(low->CalcHeight(fit, style), 0);
    EXPECT_EQ(fit, 0);
}

TEST_F(RendererTest, DrawPlacesRunsAndUnderlines)
{
    font.SetStyle({});
    auto r = layout(QStringLiteral("a <u>sotto</u> b<sub>2</sub>"), QRectF(5, 7, 400, 100), haLeft, vaTop, true);
    canvas.clearRecords();
    r->Draw();
    ASSERT_EQ(canvas.texts.size(), 4u); // a, sotto, b and the subscript 2
    EXPECT_EQ(canvas.texts[0].topLeft, QPointF(5, 7));
    EXPECT_EQ(canvas.texts[1].text, QStringLiteral("sotto"));
    // The subscript is smaller and lower.
    EXPECT_NEAR(canvas.texts[3].size, font.GetHeight() * 0.6, 1e-6);
    EXPECT_NEAR(canvas.texts[3].topLeft.y(), 7 + 0.45 * r->FontLineHeight, 1e-9);
    ASSERT_EQ(canvas.lines.size(), 1u);
    EXPECT_EQ(canvas.lines[0].thickness, 1);
    EXPECT_EQ(canvas.clips.front(), QRectF(5, 7, 400, 100));
}
