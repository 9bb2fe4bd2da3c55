// The memo: expanding bracketed text, suppression and zero hiding, measuring, splitting,
// wrapping and drawing, at every zoom alike.
#include "recording_canvas.h"

#include "report/model/bands.h"
#include "report/model/report.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace orv::report;

using orv::report::test::RecordingCanvas;

namespace {

struct MemoTest : ::testing::Test {
    TfrxReport report;
    TfrxReportPage* page = new TfrxReportPage(&report);
    TfrxMemoView* memo = new TfrxMemoView(page);

    // BeforePrint, GetData and the text of the printed copy; AfterPrint then restores.
    QString printed()
    {
        memo->BeforePrint();
        memo->GetData();
        const QString text = memo->Text();
        memo->AfterPrint();
        return text;
    }
    static QString lines(int from, int to)
    {
        QString s;
        for (int i = from; i <= to; ++i)
            s += QStringLiteral("riga %1\r\n").arg(i);
        return s;
    }
};

} // namespace

TEST_F(MemoTest, BracketedTextIsExpandedOnlyWhenAllowed)
{
    report.Variables()->SetVariable(QStringLiteral("IVA"), 22);
    ASSERT_TRUE(report.PrepareScript()); // the script's "Value" receives the memo's value
    memo->SetText(QStringLiteral("Totale [IVA]"));
    memo->SetAllowExpressions(false);
    EXPECT_EQ(printed(), QStringLiteral("Totale [IVA]\r\n"));
    memo->SetAllowExpressions(true);
    EXPECT_EQ(printed(), QStringLiteral("Totale 22\r\n"));
    EXPECT_EQ(memo->Text(), QStringLiteral("Totale [IVA]\r\n")) << "the layout keeps its text";
    EXPECT_EQ(report.LocalValue().toInt(), 22);

    // An inserted value is not expanded again; an opening bracket alone stays text.
    report.Variables()->SetVariable(QStringLiteral("Testo"), QStringLiteral("[IVA]\r\n"));
    memo->SetText(QStringLiteral("[Testo] e [ aperta"));
    EXPECT_EQ(printed(), QStringLiteral("[IVA]\r\n e [ aperta\r\n"));

    memo->SetExpressionDelimiters(QStringLiteral("<%,%>"));
    memo->SetText(QStringLiteral("<%IVA%> [IVA]"));
    EXPECT_EQ(printed(), QStringLiteral("22 [IVA]\r\n"));
}

TEST_F(MemoTest, HideZerosAndSuppressRepeated)
{
    report.OnGetValue = [](const QString& name, QVariant& v) {
        if (name == u"ZERO")
            v = 0;
        else if (name == u"TESTO")
            v = QStringLiteral("0");
    };
    memo->SetHideZeros(true);
    memo->SetText(QStringLiteral("[ZERO]"));
    EXPECT_EQ(printed(), QStringLiteral("\r\n"));
    memo->SetText(QStringLiteral("[TESTO]"));
    EXPECT_EQ(printed(), QStringLiteral("0\r\n")) << "a text 0 is not a zero";

    memo->SetHideZeros(false);
    memo->SetSuppressRepeated(true);
    memo->SetText(QStringLiteral("uguale"));
    EXPECT_EQ(printed(), QStringLiteral("uguale\r\n"));
    EXPECT_EQ(printed(), QString());
    EXPECT_EQ(printed(), QString());
    memo->ResetSuppress();
    EXPECT_EQ(printed(), QStringLiteral("uguale\r\n"));
}

TEST_F(MemoTest, MacrosAndRotation)
{
    memo->SetText(QStringLiteral("Pagine [totalpages#] copia [COPYNAME#]"));
    memo->TotalPages = 7;
    memo->ExtractMacros();
    EXPECT_EQ(memo->Text(), QStringLiteral("Pagine 7 copia \r\n"));
    memo->SetRotation(450);
    EXPECT_EQ(memo->Rotation(), 90);
    memo->SetRotation(-90);
    EXPECT_EQ(memo->Rotation(), -90);
}

TEST_F(MemoTest, CalcHeightThroughTheRenderer)
{
    memo->Font()->SetSize(8);
    memo->SetHAlign(haBlock);
    memo->SetText(QStringLiteral("una riga"));
    memo->SetBounds(0, 0, 300, 20);
    EXPECT_NEAR(memo->CalcHeight(), 8 * 96.0 / 72 + 2 + 4 + 2, 1e-5);
    memo->SetHeight(10);
    EXPECT_NEAR(memo->CalcHeight(), 6, 1e-9) << "a text rectangle lower than one line";
    memo->SetText(QString());
    EXPECT_EQ(memo->CalcHeight(), 0);
}

TEST_F(MemoTest, SplittingTakesWholeLinesPerPart)
{
    memo->Font()->SetName(QStringLiteral("Courier New"));
    memo->Font()->SetSize(8);
    memo->SetWordWrap(false);
    memo->SetText(lines(1, 100));
    memo->SetBounds(0, 0, 700, 200);
    memo->InitPart();
    // 200 pixels less the gaps, plus one: 15 lines of 12.666667.
    const double used = memo->DrawPart();
    EXPECT_EQ(memo->Text(), lines(1, 15));
    EXPECT_NEAR(used, 100 * (8 * 96.0 / 72 + 2) + 2, 1e-3) << "the height of everything left, before the cut";
    memo->SetHeight(200);
    memo->DrawPart();
    EXPECT_EQ(memo->Text(), lines(16, 30));
    memo->SetHeight(2000);
    memo->DrawPart();
    EXPECT_EQ(memo->Text(), lines(31, 100));
    EXPECT_TRUE(memo->PartMemo().isEmpty());

    // A room lower than one line takes nothing and keeps everything.
    memo->SetText(lines(1, 3));
    memo->InitPart();
    memo->SetHeight(5);
    EXPECT_EQ(memo->DrawPart(), 5);
    EXPECT_EQ(memo->Text(), QString());
    EXPECT_EQ(memo->PartMemo(), lines(1, 3));
}

TEST_F(MemoTest, SplittingAWrappedTextHandsOutItsLaidOutLinesInOrder)
{
    // Paragraphs of several wrapped lines, cut at rooms of one to a few lines: the parts
    // are the whole layout's lines, each taken once, and together give the text back.
    QString text;
    for (int i = 1; i <= 12; ++i)
        text += QStringLiteral("voce %1 caldaia a condensazione con revisione annuale\r\n").arg(i);
    memo->SetText(text);
    memo->SetBounds(0, 0, 120, 500);
    const QStringList laidOut = memo->WrapText(false).split(QStringLiteral("\r\n"));
    ASSERT_GT(laidOut.size(), 24);
    const double lineHeight = memo->Font()->GetHeight() + 2;
    memo->InitPart();
    QString joined;
    QStringList partLines;
    int part = 0;
    while (memo->HasPartLeft()) {
        ASSERT_LT(part, 100);
        memo->SetHeight(2 * memo->GapY() + (1 + part % 3) * lineHeight + 0.5);
        memo->DrawPart();
        const QString piece = memo->Text();
        ASSERT_FALSE(piece.isEmpty()) << "part " << part;
        joined += piece;
        memo->SetText(piece);
        partLines += memo->WrapText(false).split(QStringLiteral("\r\n"));
        ++part;
    }
    // A part cut at a wrap keeps the blank there and, as memo text, ends with a break.
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    EXPECT_EQ(joined.split(blanks, Qt::SkipEmptyParts), text.split(blanks, Qt::SkipEmptyParts));
    for (QString& line : partLines)
        line = line.trimmed();
    EXPECT_EQ(partLines, laidOut);
}

TEST_F(MemoTest, WrapTextGivesTheLaidOutLines)
{
    memo->SetText(QStringLiteral("alpha beta gamma"));
    orv::platform::Canvas measure;
    memo->Font()->AssignToCanvas(measure);
    // Room for "alpha beta" and its blanks, not for gamma.
    const double width = measure.textWidth(QStringLiteral("alpha beta  ")) + 4;
    memo->SetBounds(0, 0, width + 2 * memo->GapX() - 1, 100);
    EXPECT_EQ(memo->WrapText(false), QStringLiteral("alpha beta\r\ngamma"));
    memo->SetText(QStringLiteral("uno\r\ndue\r\n"));
    EXPECT_EQ(memo->WrapText(true), QStringLiteral("uno\r\ndue"));
}

TEST_F(MemoTest, DrawingBreaksLinesAlikeAtEveryZoom)
{
    memo->SetBounds(10.3, 20.6, 150.7, 80);
    memo->SetText(QStringLiteral("Caldaia a condensazione con revisione annuale da eseguire in ottobre"));
    for (bool renderer : {false, true}) {
        memo->SetHAlign(renderer ? haBlock : haLeft);
        std::vector<RecordingCanvas::Text> atOne;
        for (double zoom : {1.0, 2.0, 1.37}) {
            RecordingCanvas canvas;
            memo->Draw(&canvas, zoom, zoom, 5, 7);
            ASSERT_GE(canvas.texts.size(), 3u);
            if (zoom == 1.0) {
                atOne = canvas.texts;
                continue;
            }
            ASSERT_EQ(canvas.texts.size(), atOne.size()) << "renderer " << renderer << " zoom " << zoom;
            for (size_t i = 0; i < atOne.size(); ++i) {
                EXPECT_EQ(canvas.texts[i].text, atOne[i].text);
                EXPECT_NEAR(canvas.texts[i].size, atOne[i].size * zoom, 1e-6);
                EXPECT_NEAR(canvas.texts[i].topLeft.x() - 5, (atOne[i].topLeft.x() - 5) * zoom, zoom);
                EXPECT_NEAR(canvas.texts[i].topLeft.y() - 7, (atOne[i].topLeft.y() - 7) * zoom, zoom);
            }
        }
    }
}

TEST_F(MemoTest, DifferenceCarriesTheText)
{
    auto copy = std::make_unique<TfrxMemoView>(nullptr);
    memo->SetText(QStringLiteral("una riga"));
    copy->AssignAll(memo);
    EXPECT_TRUE(copy->Diff(memo).endsWith(QStringLiteral(" u=\"una riga\"")));
    copy->Memo()->Clear();
    EXPECT_TRUE(copy->Diff(memo).endsWith(QStringLiteral(" u=\"\"")));
}
