// What each kind of view becomes in a page's content stream: memos with their fill,
// frame, shadow, text and synthetic styles, lines with dash patterns and arrow heads,
// the shapes, pictures and the page's own colour.
#include "pdftools.h"
#include "reports.h"

#include "pdf/pdfsyntax.h"

#include <QImage>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <cmath>

using namespace orv::report;

using namespace orv::pdf;
using namespace orv::pdf::test;

namespace {

// Page coordinates of a view lying on an A4 page with 10 mm margins, as the writer
// computes them: report pixels from the page's printable area to points.
constexpr double kMargin = 10 * fr01cm;
QByteArray px(double x) { return fixed((x + kMargin) * 0.75 + 0.5); }
QByteArray py(double y) { return fixed(297 * fr01cm * 0.75 - 0.5 - (y + kMargin) * 0.75); }

QList<QByteArray> contentLines(const QByteArray& bytes, int page = 0)
{
    QList<QByteArray> out = PdfFile(bytes).pageContent(page).split('\n');
    for (QByteArray& l : out)
        l = l.trimmed();
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    return out;
}

QString joined(const QList<QByteArray>& lines) { return QString::fromLatin1(lines.join(" | ")); }

TfrxMemoView* pageMemo(TfrxReport& r, double left, double top, double width, double height, const QString& text)
{
    return addMemo(firstPage(r), QStringLiteral("Memo%1").arg(firstPage(r)->Objects().size() + 1), left, top, width,
                   height, text);
}

using PdfContentTest = ReportTest;

} // namespace

TEST_F(PdfContentTest, MemoFillFrameAndShadowPrecedeItsText)
{
    auto report = makeReport();
    TfrxMemoView* m = pageMemo(*report, 10, 20, 100, 20, QString());
    m->SetColor(0xFFE6E6FA);
    m->Frame()->SetTyp({ftLeft, ftRight, ftTop, ftBottom});
    m->Frame()->SetWidth(2);
    m->Frame()->SetStyle(fsDash);
    m->Frame()->SetDropShadow(true);
    m->Frame()->SetShadowWidth(4);
    m->Frame()->SetShadowColor(0xFF808080);
    const QList<QByteArray> c = contentLines(exportToMemory(*report));
    const QByteArray x1 = px(10), y1 = py(20), x2 = px(106), y2 = py(36);
    const QList<QByteArray> expected = {
        "q",
        px(8) + ' ' + py(42) + " 78.00 18.00 re",
        "W",
        "n",
        "0.50 0.50 0.50 rg",
        "0.50 0.50 0.50 RG",
        px(106) + ' ' + py(40) + " 3.00 12.00 re",
        "B",
        px(14) + ' ' + py(40) + " 72.00 3.00 re",
        "B",
        "0.90 0.90 0.98 rg",
        x1 + ' ' + y2 + " 72.00 12.00 re",
        "f",
        "0 0 0 RG",
        "[12.00 ] 0 d", "1.50 w", x1 + ' ' + y1 + " m", x2 + ' ' + y1 + " l", "S",
        "[12.00 ] 0 d", "1.50 w", x2 + ' ' + y1 + " m", x2 + ' ' + y2 + " l", "S",
        "[12.00 ] 0 d", "1.50 w", x1 + ' ' + y2 + " m", x2 + ' ' + y2 + " l", "S",
        "[12.00 ] 0 d", "1.50 w", x1 + ' ' + y1 + " m", x1 + ' ' + y2 + " l", "S",
        "Q",
    };
    EXPECT_EQ(c, expected) << joined(c).toStdString();
}

TEST_F(PdfContentTest, TextColourStyleAndDecorations)
{
    auto report = makeReport();
    TfrxMemoView* m = pageMemo(*report, 0, 0, 300, 20, QStringLiteral("Totale"));
    m->Font()->SetStyle({fsBold, fsUnderline});
    m->Font()->SetColor(0xFFFF0000);
    pageMemo(*report, 0, 40, 300, 20, QStringLiteral("Imponibile"));
    const QByteArray bytes = exportToMemory(*report);
    const QList<QByteArray> c = contentLines(bytes);
    // The bold memo comes first: its record is /F0; the regular one gets /F1.
    EXPECT_TRUE(c.contains("/F0 10 Tf")) << joined(c).toStdString();
    EXPECT_TRUE(c.contains("1.00 0.00 0.00 rg"));
    EXPECT_TRUE(c.contains("/F1 10 Tf"));
    // The underline is a bar in the text's colour below the baseline, closed and filled.
    const qsizetype et = c.indexOf("ET");
    ASSERT_GE(et, 0);
    EXPECT_EQ(c[et + 1], QByteArray("1.00 0.00 0.00 rg")) << joined(c.mid(et + 1, 7)).toStdString();
    EXPECT_EQ(c[et + 6], QByteArray("h"));
    EXPECT_EQ(c[et + 7], QByteArray("f"));
    const PdfFile file(bytes);
    EXPECT_EQ(file.objectsWith("/Type /Font\r\n/Subtype /Type0").size(), 2);
    EXPECT_EQ(file.objectsWith(",Bold\r\n/Encoding").size(), 1);
}

TEST_F(PdfContentTest, CharacterSpacingAndRuledLines)
{
    auto report = makeReport();
    pageMemo(*report, 0, 0, 300, 20, QStringLiteral("Totale"))->SetHAlign(haRight);
    TfrxMemoView* spaced = pageMemo(*report, 0, 40, 300, 20, QStringLiteral("Totale"));
    spaced->SetHAlign(haRight);
    spaced->SetCharSpacing(1);
    // An empty memo three and a half lines high.
    TfrxMemoView* ruled = pageMemo(*report, 0, 80, 300, 0, QString());
    // The rules step by the height of the text lines as the memo draws them.
    const double lh = ruled->RulePitch(), gap = ruled->GapY() - ruled->LineSpacing();
    ASSERT_GT(lh, ruled->Font()->GetHeight());
    ruled->SetHeight(3.5 * lh);
    ruled->SetUnderlines(true);
    // The preparation reads the layout back from its copy: the memos are made anew.
    const QList<QByteArray> c = contentLines(exportToMemory(*report));

    // The spacing is set once, before the spaced memo's text.
    ASSERT_EQ(c.count("0.75 Tc"), 1) << joined(c).toStdString();
    EXPECT_LT(c.indexOf("0.75 Tc"), c.lastIndexOf("BT"));

    // One ruled line for each whole line that fits. Positions are compared within a
    // rounding step: the writer's two decimals and the test's own sum may round apart.
    const auto ruleAt = [&](double y) {
        for (const QByteArray& l : c) {
            const QList<QByteArray> f = l.split(' ');
            if (f.size() == 3 && f[0] == px(0) && f[2] == "m" && std::abs(f[1].toDouble() - y) < 0.011)
                return true;
        }
        return false;
    };
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(ruleAt(py(80 + gap + 1 + i * lh).toDouble()), i <= 3) << i << ' ' << joined(c).toStdString();
}

TEST_F(PdfContentTest, CharacterSpacingCountsInTheAlignedWidth)
{
    // The spacing follows every glyph but the last shows, so an aligned line is wider by
    // seven spacings for "a destra": a right-aligned line starts that much further left,
    // a centred one half of it, and the line still ends inside its box.
    struct Case {
        TfrxHAlign align;
        double shift; // in spacings
    };
    for (const Case& k : {Case{haLeft, 0}, Case{haRight, -7}, Case{haCenter, -3.5}}) {
        auto report = makeReport();
        pageMemo(*report, 0, 0, 120, 20, QStringLiteral("a destra"))->SetHAlign(k.align);
        TfrxMemoView* spaced = pageMemo(*report, 0, 40, 120, 20, QStringLiteral("a destra"));
        spaced->SetHAlign(k.align);
        spaced->SetCharSpacing(2);
        const QList<QByteArray> c = contentLines(exportToMemory(*report));
        QList<double> xs;
        for (const QByteArray& l : c)
            if (l.endsWith(" Td"))
                xs.append(l.split(' ')[0].toDouble());
        ASSERT_EQ(xs.size(), 2) << joined(c).toStdString();
        EXPECT_NEAR(xs[1] - xs[0], k.shift * 1.5, 0.011) << k.align << ' ' << joined(c).toStdString();
    }
}

TEST_F(PdfContentTest, SpacedTextIsBrokenAndAlignedWithItsSpacing)
{
    // Memos of many widths, for each alignment and spacing: every line of text, spaced as
    // the text operators space it, lies inside the memo's clip, and every character of
    // the memo is drawn.
    const QString text = QStringLiteral("Il tecnico sostituisce la resistenza del forno e verifica il termostato");
    qsizetype letters = 0;
    for (QChar c : text)
        letters += c == u' ' ? 0 : 1;
    const TfrxHAlign aligns[] = {haLeft, haRight, haCenter, haBlock};
    const double spacings[] = {0.5, 1, 2.5, 6, -0.5};
    for (TfrxHAlign align : aligns)
        for (double spacing : spacings) {
            auto report = makeReport();
            QList<double> widths;
            // From the narrowest box the longest word fits in, spaced.
            for (double w = 131; w < 500; w += 47)
                widths.append(w);
            for (int i = 0; i < widths.size(); ++i) {
                TfrxMemoView* m = pageMemo(*report, 0, 125 * i, widths[i], 120, text);
                m->SetHAlign(align);
                m->SetCharSpacing(spacing);
                m->Font()->SetSize(7);
            }
            const QByteArray bytes = exportToMemory(*report);
            const PdfFile file(bytes);
            // The glyph widths of the one font, from its width array.
            QHash<int, double> advance;
            const QList<int> descendants = file.objectsWith("/Subtype /CIDFontType2");
            ASSERT_EQ(descendants.size(), 1);
            const QByteArray w = file.object(descendants[0]);
            const QList<QByteArray> items =
                w.mid(w.indexOf("/W [ ") + 5, w.indexOf("\r\n", w.indexOf("/W [ ")) - w.indexOf("/W [ ") - 5)
                    .replace('[', ' ')
                    .replace(']', ' ')
                    .simplified()
                    .split(' ');
            for (qsizetype k = 0; k + 1 < items.size(); k += 2)
                advance.insert(items[k].toInt(), items[k + 1].toDouble());
            const int blank = 3; // the face's glyph for a blank

            int memo = -1;
            bool clipNext = false;
            double clipLeft = 0, clipRight = 0, clipBottom = 0, size = 0, cs = 0, x = 0, y = 0;
            QList<qsizetype> drawn(widths.size(), 0);
            for (const QByteArray& l : contentLines(bytes)) {
                const QList<QByteArray> f = l.split(' ');
                if (l == "q") {
                    ++memo;
                    clipNext = true;
                    cs = 0;
                } else if (clipNext && l.endsWith(" re")) {
                    clipNext = false;
                    clipLeft = f[0].toDouble();
                    clipRight = clipLeft + f[2].toDouble();
                    clipBottom = f[1].toDouble();
                } else if (l.endsWith(" Tf")) {
                    size = f[1].toDouble();
                } else if (l.endsWith(" Tc")) {
                    cs = f[0].toDouble();
                } else if (l.endsWith(" Td")) {
                    x = f[0].toDouble();
                    y = f[1].toDouble();
                } else if (l.endsWith("> Tj")) {
                    const QByteArray hex = l.mid(1, l.indexOf('>') - 1);
                    double end = x;
                    int glyphs = 0;
                    for (qsizetype k = 0; k + 4 <= hex.size(); k += 4) {
                        const int g = hex.mid(k, 4).toInt(nullptr, 16);
                        end += advance.value(g) * size / 1000 + (glyphs++ > 0 ? cs : 0);
                        drawn[memo] += g == blank ? 0 : 1;
                    }
                    // Ink stays within the clip; a rounding step of the writer's two decimals aside.
                    EXPECT_GE(y, clipBottom) << align << ' ' << spacing << ' ' << widths[memo];
                    EXPECT_GE(x, clipLeft - 0.02) << align << ' ' << spacing << ' ' << widths[memo] << ' ' << l.toStdString();
                    EXPECT_LE(end, clipRight + 0.02)
                        << "align " << align << " spacing " << spacing << " width " << widths[memo] << ": "
                        << l.toStdString();
                }
            }
            EXPECT_EQ(memo + 1, widths.size());
            EXPECT_EQ(drawn, QList<qsizetype>(widths.size(), letters)) << align << ' ' << spacing;
        }
}

TEST_F(PdfContentTest, TabsAreDrawnAsBlanks)
{
    auto report = makeReport();
    pageMemo(*report, 0, 0, 300, 20, QStringLiteral("space\tTab"));
    pageMemo(*report, 0, 40, 300, 20, QStringLiteral("space Tab"));
    const QByteArray bytes = exportToMemory(*report);
    QList<QByteArray> shown;
    for (const QByteArray& l : contentLines(bytes))
        if (l.endsWith("> Tj"))
            shown.append(l);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0], shown[1]);
    EXPECT_EQ(shown[0].size(), qsizetype(1 + 9 * 4 + 4)) << shown[0].toStdString();
    // The blank reads back as a blank, whichever character brought its glyph in first.
    const PdfFile file(bytes);
    const QList<int> maps = file.objectsWith("/Length1");
    bool mapped = false;
    for (int m : maps)
        mapped = mapped || file.stream(m).contains("> <0020>");
    EXPECT_TRUE(mapped);
}

TEST_F(PdfContentTest, CharactersBeyondU0000FFFFKeepTheirGlyphAndText)
{
    auto report = makeReport();
    pageMemo(*report, 0, 0, 300, 20, QStringLiteral("a\U0001F600"))->Font()->SetName(QStringLiteral("DejaVu Sans"));
    const QByteArray bytes = exportToMemory(*report);
    QByteArray shown;
    for (const QByteArray& l : contentLines(bytes))
        if (l.endsWith("> Tj"))
            shown = l;
    ASSERT_EQ(shown.size(), qsizetype(1 + 2 * 4 + 4)) << shown.toStdString();
    EXPECT_NE(shown.mid(5, 4), QByteArray("0000")) << shown.toStdString();
    // The text map gives the character back as its UTF-16 pair.
    const PdfFile file(bytes);
    bool mapped = false;
    for (int m : file.objectsWith("/Length1"))
        mapped = mapped || file.stream(m).contains("> <D83DDE00>");
    EXPECT_TRUE(mapped);
}

TEST_F(PdfContentTest, CharactersTheFontLacksReadAsReplacementCharacters)
{
    // The face has the Greek letter but neither the tick nor the ideographs: each is
    // drawn as the missing glyph, which must not read back as the first of them.
    if (!haveTools())
        GTEST_SKIP() << "qpdf and poppler-utils are not installed";
    struct Case {
        QString text, read;
    };
    const Case cases[] = {
        {QStringLiteral("\u03A9 \u2713 \u6F22"), QStringLiteral("\u03A9 \uFFFD \uFFFD")},
        {QStringLiteral("\u6F22\u5B57\u8A9E"), QStringLiteral("\uFFFD\uFFFD\uFFFD")},
        {QStringLiteral("a\u2713b\U0002000Bc"), QStringLiteral("a\uFFFDb\uFFFDc")},
    };
    QTemporaryDir dir;
    for (const Case& k : cases) {
        auto report = makeReport();
        pageMemo(*report, 0, 0, 300, 20, k.text);
        const QString path = dir.filePath(QStringLiteral("mancanti.pdf"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(exportToMemory(*report));
        f.close();
        // In the order of the page's text: the reader's own joining of words aside.
        const ToolResult text = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), QStringLiteral("-enc"),
                                                                      QStringLiteral("UTF-8"), path, QStringLiteral("-")});
        ASSERT_EQ(text.exitCode, 0) << text.output.toStdString();
        EXPECT_EQ(text.output.trimmed(), k.read) << k.text.toStdString();
    }
}

TEST_F(PdfContentTest, FractionalSizesKeepTheirFraction)
{
    auto report = makeReport();
    TfrxMemoView* m = pageMemo(*report, 0, 0, 300, 20, QStringLiteral("Stampa eseguita"));
    m->Font()->SetHeight(-11); // 8.25 points
    const QList<QByteArray> c = contentLines(exportToMemory(*report));
    EXPECT_TRUE(c.contains("/F0 8.25 Tf")) << joined(c).toStdString();
}

TEST_F(PdfContentTest, JapaneseFamiliesShareOneRecordAndImitateBold)
{
    auto report = makeReport();
    pageMemo(*report, 0, 0, 300, 20, QStringLiteral("Totale"))->Font()->SetName(QStringLiteral("MS UI Gothic"));
    TfrxMemoView* bold = pageMemo(*report, 0, 40, 300, 20, QStringLiteral("Totale"));
    bold->Font()->SetName(QStringLiteral("MS UI Gothic"));
    bold->Font()->SetStyle({fsBold});
    const QByteArray bytes = exportToMemory(*report);
    const QList<QByteArray> c = contentLines(bytes);
    EXPECT_EQ(c.count("/F0 10 Tf"), 2) << joined(c).toStdString();
    EXPECT_FALSE(c.contains("/F1 10 Tf"));
    const qsizetype bt = c.lastIndexOf("BT");
    ASSERT_GE(bt, 0);
    EXPECT_EQ(c[bt + 2], QByteArray("2 Tr 0.29 w 0 0 0 RG"));
    EXPECT_EQ(c[bt + 4], QByteArray("ET"));
    EXPECT_EQ(c[bt + 5], QByteArray("0 Tr"));
    // One composite font, named without a style suffix.
    const PdfFile file(bytes);
    const QList<int> fonts = file.objectsWith("/Subtype /Type0");
    ASSERT_EQ(fonts.size(), 1);
    EXPECT_TRUE(file.dictionary(fonts[0]).contains("MS#20UI#20Gothic\r\n")) << file.dictionary(fonts[0]).toStdString();
}

TEST_F(PdfContentTest, TurnedTextCarriesItsMatrix)
{
    auto report = makeReport();
    pageMemo(*report, 0, 0, 40, 200, QStringLiteral("Totale"))->SetRotation(90);
    const QList<QByteArray> c = contentLines(exportToMemory(*report));
    const qsizetype bt = c.indexOf("BT");
    ASSERT_GE(bt, 0);
    EXPECT_TRUE(c[bt + 1].startsWith("0.0000 1.0000 -1.0000 0.0000 ")) << c[bt + 1].toStdString();
    EXPECT_TRUE(c[bt + 1].endsWith(" Tm"));
}

TEST_F(PdfContentTest, EmptyMemoNeedsNoFont)
{
    auto report = makeReport();
    pageMemo(*report, 0, 0, 100, 20, QString())->SetColor(0xFFFFFFFF);
    const QByteArray bytes = exportToMemory(*report);
    const QList<QByteArray> c = contentLines(bytes);
    EXPECT_FALSE(c.contains("BT"));
    EXPECT_TRUE(c.contains("1 1 1 rg"));
    const PdfFile file(bytes);
    EXPECT_TRUE(file.dictionary(file.pages().first()).contains("/Font << >>\r\n"));
    EXPECT_TRUE(file.objectsWith("/Type /FontDescriptor").isEmpty());
}

TEST_F(PdfContentTest, MemoWithTagsIsAPictureOnlyWhenTagsAreFormatted)
{
    for (bool htmlTags : {true, false}) {
        auto report = makeReport();
        TfrxMemoView* m = pageMemo(*report, 0, 0, 300, 20, QStringLiteral("<b>Totale</b>"));
        m->SetAllowHTMLTags(true);
        const QByteArray bytes = exportToMemory(*report, [&](TfrxPDFExport& pdf) { pdf.SetHTMLTags(htmlTags); });
        const QList<QByteArray> c = contentLines(bytes);
        if (htmlTags) {
            EXPECT_TRUE(c.contains("/Im0 Do")) << joined(c).toStdString();
            EXPECT_FALSE(c.contains("BT"));
        } else {
            // Thirteen characters, tags included.
            const qsizetype tj = c.indexOf("ET") - 1;
            ASSERT_GE(tj, 0);
            EXPECT_EQ(c[tj].size(), qsizetype(1 + 13 * 4 + 4)) << c[tj].toStdString();
        }
    }
}

TEST_F(PdfContentTest, LinesWithDashesAndArrowHeads)
{
    auto report = makeReport();
    auto* dotted = new TfrxLineView(firstPage(*report));
    dotted->SetName(QStringLiteral("linDotted"));
    // Not quite flat: a straight line still runs along its longer side.
    dotted->SetBounds(0, 100, 200, 3);
    dotted->Frame()->SetStyle(fsDot);
    auto* arrow = new TfrxLineView(firstPage(*report));
    arrow->SetName(QStringLiteral("linArrow"));
    arrow->SetBounds(50, 200, 0, 100);
    arrow->SetArrowEnd(true);
    arrow->SetArrowSolid(true);
    const QList<QByteArray> c = contentLines(exportToMemory(*report));
    const QList<QByteArray> expected = {
        "[2.00 6.00 ] 0 d", "0 0 0 RG", "0.75 w", px(0) + ' ' + py(100) + " m", px(200) + ' ' + py(100) + " l", "S",
        "[] 0 d", "0 0 0 RG", "0.75 w", px(50) + ' ' + py(200) + " m", px(50) + ' ' + py(300) + " l", "S",
        // The head: its base 15 points above the tip, 3.75 points to either side.
        "[] 0 d", fixed((50 + kMargin) * 0.75 + 0.5 - 3.75) + ' ' + fixed(py(300).toDouble() + 15) + " m",
        px(50) + ' ' + py(300) + " l", fixed((50 + kMargin) * 0.75 + 0.5 + 3.75) + ' ' + fixed(py(300).toDouble() + 15) + " l",
        "1 j", "0 0 0 rg", "b"};
    EXPECT_EQ(c, expected) << joined(c).toStdString();
}

TEST_F(PdfContentTest, ShapesBecomePaths)
{
    struct Case {
        TfrxShapeKind kind;
        TAlphaColor fill;
        int curves;   // "c" operators
        QByteArray last;
    };
    const Case cases[] = {
        {skRectangle, 0xFFE6E6FA, 0, "B"}, {skRectangle, claNull, 0, "S"}, {skRoundRectangle, claNull, 4, "S"},
        {skEllipse, 0xFFE6E6FA, 4, "B"},   {skTriangle, claNull, 0, "S"},  {skDiamond, 0xFFE6E6FA, 0, "B"},
        {skDiagonal1, 0xFFE6E6FA, 0, "S"}, {skDiagonal2, claNull, 0, "S"},
    };
    for (const Case& k : cases) {
        auto report = makeReport();
        auto* shape = new TfrxShapeView(firstPage(*report));
        shape->SetName(QStringLiteral("shpBox"));
        shape->SetBounds(0, 0, 100, 60);
        shape->SetShape(k.kind);
        shape->SetColor(k.fill);
        const QList<QByteArray> c = contentLines(exportToMemory(*report));
        const QString context = QStringLiteral("shape %1: ").arg(int(k.kind)) + joined(c);
        EXPECT_EQ(c.last(), k.last) << context.toStdString();
        EXPECT_EQ(std::count_if(c.begin(), c.end(), [](const QByteArray& l) { return l.endsWith(" c"); }), k.curves)
            << context.toStdString();
        if (k.kind == skDiagonal1) {
            EXPECT_EQ(c.mid(1), (QList<QByteArray>{"0 0 0 RG", "0.75 w", px(0) + ' ' + py(60) + " m",
                                                   px(100) + ' ' + py(0) + " l", "S"}))
                << context.toStdString();
        } else if (k.kind != skDiagonal2) {
            EXPECT_EQ(c[3], k.fill == claNull ? QByteArray("0.00 0.00 0.00 rg") : QByteArray("0.90 0.90 0.98 rg"))
                << context.toStdString();
        }
        if (k.kind == skRectangle) {
            EXPECT_EQ(c.mid(4, 2), (QList<QByteArray>{px(0) + ' ' + py(60), "75.00 45.00 re"})) << context.toStdString();
        }
    }
}

TEST_F(PdfContentTest, PicturesAreWrittenOncePerPage)
{
    QImage logo(40, 20, QImage::Format_ARGB32);
    logo.fill(Qt::transparent);
    QPainter(&logo).fillRect(0, 0, 20, 20, QColor(0x33, 0x66, 0x99));
    auto report = makeReport();
    auto* second = new TfrxReportPage(report.get());
    second->SetName(QStringLiteral("Page2"));
    for (TfrxReportPage* page : {firstPage(*report), second})
        for (int i = 0; i < (page == second ? 1 : 2); ++i) {
            auto* p = new TfrxPictureView(page);
            p->SetName(QStringLiteral("imgLogo%1%2").arg(page->Name()).arg(i));
            p->SetBounds(10 + 100 * i, 10, 40, 20);
            p->Picture()->SetImage(logo);
        }
    const QByteArray bytes = exportToMemory(*report, [](TfrxPDFExport& pdf) { pdf.SetPrintOptimized(true); });
    const PdfFile file(bytes);
    ASSERT_EQ(file.check(), QString());
    const QList<int> images = file.objectsWith("/Subtype /Image");
    ASSERT_EQ(images.size(), 2); // once on the first page, again on the second
    // Three times the size in pixels, plus three.
    EXPECT_EQ(PdfFile::integer(file.dictionary(images[0]), "/Width"), 123);
    EXPECT_EQ(PdfFile::integer(file.dictionary(images[0]), "/Height"), 63);
    const QByteArray page1 = file.dictionary(file.pages()[0]);
    EXPECT_TRUE(page1.contains("/XObject << /Im0 " + QByteArray::number(images[0]) + " 0 R >>\r\n"))
        << page1.toStdString();
    EXPECT_EQ(file.pageContent(0).count("/Im0 Do"), 2);
    EXPECT_TRUE(file.pageContent(1).contains("/Im1 Do"));
    // Transparent parts come out white.
    const QImage decoded = QImage::fromData(file.rawStream(images[0]), "JPEG");
    ASSERT_FALSE(decoded.isNull());
    EXPECT_GT(qGray(decoded.pixel(110, 30)), 245);
    EXPECT_LT(qGray(decoded.pixel(30, 30)), 140);
}

TEST_F(PdfContentTest, PageColourAndBackground)
{
    auto report = makeReport();
    firstPage(*report)->SetColor(0xFF0A80FE);
    for (bool background : {false, true}) {
        const QList<QByteArray> c =
            contentLines(exportToMemory(*report, [&](TfrxPDFExport& pdf) { pdf.SetBackground(background); }));
        const double k = 72 / 25.4;
        const QList<QByteArray> fill = {"0.00 w",
                                        "0.03 0.50 0.99 RG",
                                        "0.03 0.50 0.99 rg",
                                        fixed(10 * k) + ' ' + fixed(10 * k) + " m",
                                        fixed(595.2755 - 10 * k) + ' ' + fixed(10 * k) + " l",
                                        fixed(595.2755 - 10 * k) + ' ' + fixed(841.8898 - 10 * k) + " l",
                                        fixed(10 * k) + ' ' + fixed(841.8898 - 10 * k) + " l",
                                        "B"};
        EXPECT_EQ(c.mid(0, 8), fill) << joined(c).toStdString();
        // The background object is drawn only when asked for, as one picture.
        EXPECT_EQ(c.contains("/Im0 Do") || c.contains("/Im1 Do"), background) << joined(c).toStdString();
    }
}
