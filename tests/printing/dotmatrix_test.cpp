// Reports laid out on a character grid: objects snapping to whole cells, the text that
// fits the cells, printer commands, the page's style reaching its texts, the page cut to
// whole cells, and such a report stored, read back and printed like any other.
#include "support.h"

#include "report/base/errors.h"
#include "report/dotmatrix/dotmatrix.h"
#include "report/model/bands.h"

#include <QBuffer>

using namespace orv::report;
using namespace orv::report::test;

namespace {

// A dot-matrix report: data page, dot-matrix page, a title band with one text on it.
struct DotMatrixLayout {
    std::unique_ptr<TfrxReport> report = std::make_unique<TfrxReport>();
    TfrxDMPPage* page;
    TfrxReportTitle* band;
    TfrxDMPMemoView* memo;

    DotMatrixLayout()
    {
        report->SetDotMatrixReport(true);
        new TfrxDataPage(report.get());
        page = new TfrxDMPPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        band = new TfrxReportTitle(page);
        band->SetName(QStringLiteral("Title"));
        band->SetTop(0);
        band->SetHeight(68);
        band->SetWidth(700);
        memo = new TfrxDMPMemoView(band);
        memo->SetName(QStringLiteral("txtCliente"));
        memo->SetLeft(0);
        memo->SetTop(0);
        memo->SetWidth(300);
        memo->SetHeight(34);
    }
};

} // namespace

class DotMatrixTest : public PrintingTest {};

TEST_F(DotMatrixTest, PositionsAndSizesSnapToWholeCells)
{
    DotMatrixLayout l;
    auto* line = new TfrxDMPLineView(l.band);
    auto* command = new TfrxDMPCommand(l.band);
    struct Case {
        const char* what;
        TfrxComponent* object;
        TfrxAlign align;
        void (TfrxComponent::*set)(double);
        double (TfrxComponent::*get)() const;
        double value, expected;
    };
    const Case cases[] = {
        // Texts cover whole cells, rounded (halves to the even cell).
        {"memo left", l.memo, baNone, &TfrxComponent::SetLeft, &TfrxComponent::Left, 20, 19.2},
        {"memo left half", l.memo, baNone, &TfrxComponent::SetLeft, &TfrxComponent::Left, 24, 19.2},
        {"memo left right-aligned", l.memo, baRight, &TfrxComponent::SetLeft, &TfrxComponent::Left, 28, 19.2},
        {"memo top", l.memo, baNone, &TfrxComponent::SetTop, &TfrxComponent::Top, 30, 34},
        {"memo top half", l.memo, baNone, &TfrxComponent::SetTop, &TfrxComponent::Top, 42.5, 34},
        {"memo width", l.memo, baNone, &TfrxComponent::SetWidth, &TfrxComponent::Width, 100, 96},
        {"memo height", l.memo, baNone, &TfrxComponent::SetHeight, &TfrxComponent::Height, 40, 34},
        // Lines run through the middle of cells.
        {"line left", line, baNone, &TfrxComponent::SetLeft, &TfrxComponent::Left, 20, 24},
        {"line left negative", line, baNone, &TfrxComponent::SetLeft, &TfrxComponent::Left, -5, -4.8},
        {"line left right-aligned", line, baRight, &TfrxComponent::SetLeft, &TfrxComponent::Left, 20, 14.4},
        {"line top", line, baNone, &TfrxComponent::SetTop, &TfrxComponent::Top, 30, 25.5},
        {"line width", line, baNone, &TfrxComponent::SetWidth, &TfrxComponent::Width, 105, 105.6},
        {"line width fitted", line, baWidth, &TfrxComponent::SetWidth, &TfrxComponent::Width, 105, 96},
        {"line height", line, baNone, &TfrxComponent::SetHeight, &TfrxComponent::Height, 3, 3},
        {"command left", command, baNone, &TfrxComponent::SetLeft, &TfrxComponent::Left, 20, 19.2},
        {"command top", command, baNone, &TfrxComponent::SetTop, &TfrxComponent::Top, 30, 34},
        {"command width", command, baNone, &TfrxComponent::SetWidth, &TfrxComponent::Width, 13, 13},
    };
    for (const Case& c : cases) {
        static_cast<TfrxView*>(c.object)->SetAlign(c.align);
        (c.object->*c.set)(c.value);
        EXPECT_NEAR((c.object->*c.get)(), c.expected, 1e-9) << c.what;
        static_cast<TfrxView*>(c.object)->SetAlign(baNone);
    }
    l.memo->SetBoundsDirect(1, 2, 3, 4);
    EXPECT_EQ(QRectF(l.memo->Left(), l.memo->Top(), l.memo->Width(), l.memo->Height()), QRectF(1, 2, 3, 4));
}

TEST_F(DotMatrixTest, OutBoundTextKeepsWhatFitsTheCells)
{
    DotMatrixLayout l;
    l.memo->SetWidth(96);  // 10 columns
    l.memo->SetHeight(34); // 2 rows
    l.memo->Memo()->Add(QStringLiteral("abcdefghijklmnop"));
    l.memo->Memo()->Add(QStringLiteral("x"));
    l.memo->Memo()->Add(QStringLiteral("y"));
    EXPECT_EQ(l.memo->GetoutBoundText(), QStringLiteral("abcdefghij\r\nx\r\n"));
    l.memo->Memo()->Clear();
    EXPECT_EQ(l.memo->GetoutBoundText(), QString());
}

TEST_F(DotMatrixTest, CommandCharacters)
{
    DotMatrixLayout l;
    auto* command = new TfrxDMPCommand(l.band);
    const QString escAt = QString(QChar(27)) + u'@';
    for (const auto& [text, expected] : {std::pair{"#27#64", escAt}, std::pair{"1B40", escAt},
                                         std::pair{"1b40F", escAt}, std::pair{"", QString()}}) {
        command->SetCommand(QString::fromLatin1(text));
        EXPECT_EQ(command->ToChr(), expected) << text;
    }
    for (const char* bad : {"#27##64", "#27#X", "1G", "#"}) {
        command->SetCommand(QString::fromLatin1(bad));
        EXPECT_THROW(command->ToChr(), ConvertError) << bad;
    }
}

TEST_F(DotMatrixTest, PageStyleReachesTheTextsThatTakeTheirParentsFont)
{
    DotMatrixLayout l;
    auto* own = new TfrxDMPMemoView(l.band);
    own->SetFontStyle(TfrxDMPFontStyles{fsxItalic});
    EXPECT_FALSE(own->ParentFont());
    EXPECT_EQ(l.memo->Font()->Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(l.memo->Font()->Size(), 12);

    l.page->SetFontStyle(TfrxDMPFontStyles{fsxBold, fsxUnderline});
    EXPECT_EQ(l.memo->FontStyle(), (TfrxDMPFontStyles{fsxBold, fsxUnderline}));
    EXPECT_EQ(l.memo->Font()->Style(), (TFontStyles{fsBold, fsUnderline}));
    EXPECT_EQ(l.memo->Font()->Name(), QStringLiteral("Courier New"));
    // A text with a style of its own keeps it.
    EXPECT_EQ(own->Font()->Style(), TFontStyles{fsItalic});
    own->SetParentFont(true);
    EXPECT_EQ(own->Font()->Style(), (TFontStyles{fsBold, fsUnderline}));
    // The styles a screen font cannot show change nothing on screen.
    own->SetFontStyle(TfrxDMPFontStyles{fsxCondensed, fsx12cpi});
    EXPECT_EQ(own->Font()->Style(), TFontStyles{});
}

TEST_F(DotMatrixTest, DefaultPageIsThePrintersPaperInWholeCells)
{
    // The default printer's paper is A4.
    DotMatrixLayout l;
    l.page->SetDefaults();
    EXPECT_EQ(l.page->PaperSize(), 9);
    EXPECT_NEAR(l.page->PaperWidth(), 82 * 9.6 / fr01cm, 1e-6);
    EXPECT_NEAR(l.page->PaperWidth(), 208.28, 0.005);
    EXPECT_NEAR(l.page->PaperHeight(), 66 * 17 / fr01cm, 1e-6);
    EXPECT_NEAR(l.page->PaperHeight(), 296.86, 0.005);
    EXPECT_NEAR(l.page->LeftMargin(), 2.54, 0.001);
    EXPECT_NEAR(l.page->RightMargin(), 2.54, 0.001);
    EXPECT_NEAR(l.page->TopMargin(), 17 / fr01cm, 1e-6);
    // A size set later is rounded to whole cells.
    l.page->SetPaperWidth(100);
    EXPECT_NEAR(l.page->PaperWidth(), 39 * 9.6 / fr01cm, 1e-6);
    l.page->SetPaperHeight(100);
    EXPECT_NEAR(l.page->PaperHeight(), 22 * 17 / fr01cm, 1e-6);
    l.page->SetPaperSize(11); // A5: 148 x 210
    EXPECT_EQ(l.page->PaperSize(), 11);
    EXPECT_NEAR(l.page->PaperWidth(), 58 * 9.6 / fr01cm, 1e-6);
    EXPECT_NEAR(l.page->PaperHeight(), 47 * 17 / fr01cm, 1e-6);
}

TEST_F(DotMatrixTest, StoredReadBackPreparedAndPrinted)
{
    DotMatrixLayout l;
    l.page->SetFontStyle(TfrxDMPFontStyles{fsxBold});
    l.memo->SetText(QStringLiteral("ROSSI MARIO"));
    auto* command = new TfrxDMPCommand(l.band);
    command->SetName(QStringLiteral("cmdReset"));
    command->SetCommand(QStringLiteral("#27#64\"<"));
    auto* line = new TfrxDMPLineView(l.band);
    line->SetName(QStringLiteral("Linea"));
    line->SetFontStyle(TfrxDMPFontStyles{fsxItalic, fsxWide});

    QBuffer stored;
    stored.open(QIODevice::ReadWrite);
    l.report->SaveToStream(stored);
    EXPECT_TRUE(stored.data().contains("<TfrxDMPPage")) << stored.data().constData();
    stored.seek(0);
    TfrxReport copy;
    copy.LoadFromStream(stored);
    EXPECT_TRUE(copy.Errors()->isEmpty()) << copy.Errors()->Text().toStdString();
    auto* page = copy.GetPageAs<TfrxDMPPage>(1);
    EXPECT_EQ(page->FontStyle(), TfrxDMPFontStyles{fsxBold});
    EXPECT_EQ(copy.FindObjectAs<TfrxDMPCommand>(QStringLiteral("cmdReset"))->Command(), QStringLiteral("#27#64\"<"));
    EXPECT_EQ(copy.FindObjectAs<TfrxDMPLineView>(QStringLiteral("Linea"))->FontStyle(),
              (TfrxDMPFontStyles{fsxItalic, fsxWide}));
    auto* memo = copy.FindObjectAs<TfrxDMPMemoView>(QStringLiteral("txtCliente"));
    EXPECT_EQ(memo->Memo()->Get(0), QStringLiteral("ROSSI MARIO"));
    EXPECT_EQ(memo->Font()->Style(), TFontStyles{fsBold});

    // Prepared, the page stays a dot-matrix page and the text prints bold on paper.
    ASSERT_TRUE(copy.PrepareReport(true)) << copy.Errors()->Text().toStdString();
    EXPECT_NE(dynamic_cast<TfrxDMPPage*>(pagesOf(copy).GetPage(0)), nullptr);
    copy.PrintOptions()->SetShowDialog(false);
    ASSERT_TRUE(copy.Print());
    ASSERT_EQ(printing.documents.size(), 1u);
    ASSERT_EQ(printing.documents[0].pages.size(), 1u);
    const PrintedPage& printed = printing.documents[0].pages[0];
    ASSERT_EQ(printed.lines(), QStringList{QStringLiteral("ROSSI MARIO")});
    EXPECT_TRUE(printed.texts[0].bold);
}
