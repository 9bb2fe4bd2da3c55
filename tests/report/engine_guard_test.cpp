// Layouts that cannot fit even an empty page: the run places what it can as far as it
// goes and moves on; a layout that leaves no room at all, a stopping script and a cancel
// end the preparation as failed. Every preparation here is bounded, so that a layout
// that hangs the engine fails the test program instead of hanging it.
#include "layouts.h"

#include "report/model/views.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>

using namespace orv::report;

namespace {

constexpr double kPrintableHeight = 277 * 3.77953; // A4 with 10 mm margins

struct EngineGuardTest : orv::report::test::LayoutFixture {
    void SetUp() override
    {
        LayoutFixture::SetUp();
        page->SetLeftMargin(10);
        page->SetRightMargin(10);
        page->SetTopMargin(10);
        page->SetBottomMargin(10);
        report->EngineOptions()->SetNewSilentMode(simSilent);
    }

    // The preparation in a thread of its own; one that does not end (and would keep
    // growing) stops the whole program at once.
    bool prepareBounded()
    {
        auto run = std::async(std::launch::async, [this] { return report->PrepareReport(true); });
        if (run.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
            std::fprintf(stderr, "PrepareReport did not return: the test program stops here\n");
            std::fflush(stderr);
            std::_Exit(3);
        }
        return run.get();
    }

    // The layout's page: every preparation reads the layout back.
    void freshPage() { page = report->FindObjectAs<TfrxReportPage>(QStringLiteral("Page1")); }

    // The pages on which a memo of that name stands, with its top on each.
    QList<QPair<int, double>> placesOf(const QString& name)
    {
        QList<QPair<int, double>> out;
        for (int i = 0; i < pages().Count(); ++i)
            for (TfrxComponent* c : pages().GetPage(i)->AllObjects())
                if (auto* m = dynamic_cast<TfrxCustomMemoView*>(c); m && m->Name() == name && !m->Text().isEmpty())
                    out << qMakePair(i, m->Top());
        return out;
    }
};

} // namespace

TEST_F(EngineGuardTest, AnObjectBelowTheRoomOfATallBandReachesTheNextPage)
{
    struct Case {
        const char* what;
        double bandHeight;
        bool allowSplit, title;
    };
    for (const Case& c : {Case{"1100 px band", 1100, false, false}, Case{"2000 px band", 2000, false, false},
                          Case{"2000 px band, AllowSplit", 2000, true, false},
                          Case{"1100 px band under a title", 1100, false, true}}) {
        SCOPED_TRACE(c.what);
        freshPage();
        while (!page->Objects().isEmpty())
            delete page->Objects().last();
        double titleHeight = 0;
        if (c.title) {
            titleHeight = 30.23624;
            memo(band<TfrxReportTitle>(QStringLiteral("Titolo"), 0, titleHeight), QStringLiteral("Intestazione"),
                 QStringLiteral("Elenco"));
        }
        auto* master = band<TfrxMasterData>(QStringLiteral("Corpo"), 60, c.bandHeight);
        master->SetRowCount(1);
        master->SetAllowSplit(c.allowSplit);
        memo(master, QStringLiteral("Fine"), QStringLiteral("Fine"), 1070);

        ASSERT_TRUE(prepareBounded()) << report->Errors()->Text().toStdString();
        EXPECT_EQ(pages().Count(), 2);
        // The memo goes out once, moved up by the room of the first page.
        const QList<QPair<int, double>> places = placesOf(QStringLiteral("Fine"));
        ASSERT_EQ(places.size(), 1);
        EXPECT_EQ(places[0].first, 1);
        EXPECT_NEAR(places[0].second, 1070 - (kPrintableHeight - titleHeight), 0.01);
    }
}

TEST_F(EngineGuardTest, ALineTallerThanAPageIsPlacedCutAndTheRunMovesOn)
{
    auto* master = band<TfrxMasterData>(QStringLiteral("Corpo"), 60, 40);
    master->SetRowCount(1);
    master->SetAllowSplit(true);
    master->SetStretched(true);
    auto* giant = memo(master, QStringLiteral("Enorme"), QStringLiteral("A"), 0, 40);
    giant->SetWidth(718);
    giant->SetWordWrap(false);
    giant->SetStretchMode(smActualHeight);
    giant->Font()->SetSize(900);

    ASSERT_TRUE(prepareBounded()) << report->Errors()->Text().toStdString();
    // The line is taken at the top of the first page, cut by the page edge; the memo
    // ends with it, and no empty part of it follows on a page of its own.
    QStringList lines;
    for (int i = 0; i < pages().Count(); ++i)
        for (TfrxComponent* c : pages().GetPage(i)->AllObjects())
            if (auto* m = dynamic_cast<TfrxCustomMemoView*>(c); m && !m->Text().trimmed().isEmpty())
                lines << QStringLiteral("%1:%2").arg(i).arg(m->Text().trimmed());
    EXPECT_EQ(lines, QStringList{QStringLiteral("0:A")});
    EXPECT_EQ(pages().Count(), 1);

    // A line that could fit a page moves whole to the next one instead of being cut.
    report->FindObjectAs<TfrxMemoView>(QStringLiteral("Enorme"))->Font()->SetSize(10);
    freshPage();
    band<TfrxReportTitle>(QStringLiteral("Titolo"), 0, kPrintableHeight - 5);
    ASSERT_TRUE(prepareBounded()) << report->Errors()->Text().toStdString();
    const QList<QPair<int, double>> places = placesOf(QStringLiteral("Enorme"));
    ASSERT_EQ(places.size(), 1);
    EXPECT_EQ(places[0], qMakePair(1, 0.0));
}

TEST_F(EngineGuardTest, ALayoutWithoutRoomStopsWithAnErrorInsteadOfAddingPages)
{
    // The page footer takes more than the printable height: no part of the split band
    // can ever be placed.
    memo(band<TfrxPageFooter>(QStringLiteral("Piede"), 900, 1100), QStringLiteral("Pagina"), QStringLiteral("[Page#]"));
    auto* master = band<TfrxMasterData>(QStringLiteral("Corpo"), 60, 40);
    master->SetRowCount(1);
    master->SetAllowSplit(true);
    memo(master, QStringLiteral("Riga"), QStringLiteral("Riga"));

    EXPECT_FALSE(prepareBounded());
    EXPECT_EQ(report->Errors()->lines(),
              QStringList{QString::fromUtf8(
                  "Il report aggiunge pagine senza collocarvi nulla: la preparazione è stata interrotta")});
    EXPECT_LE(pages().Count(), 102);

    // The next preparation of a sound layout runs whole.
    report->FindObjectAs<TfrxPageFooter>(QStringLiteral("Piede"))->SetHeight(50);
    EXPECT_TRUE(prepareBounded()) << report->Errors()->Text().toStdString();
    EXPECT_EQ(pages().Count(), 1);
}

TEST_F(EngineGuardTest, AStoppedOrCancelledRunIsNotAPreparedReport)
{
    auto* master = band<TfrxMasterData>(QStringLiteral("Righe"), 60, 400);
    master->SetRowCount(5);
    memo(master, QStringLiteral("Numero"), QStringLiteral("[Line]"));

    // The script stops the report at the third row.
    report->ScriptText()->SetText(QStringLiteral("var Conta: Integer;\r\n"
                                                 "procedure NumeroOnBeforePrint(Sender: TfrxComponent);\r\n"
                                                 "begin\r\n"
                                                 "  Conta := Conta + 1;\r\n"
                                                 "  if Conta = 3 then Engine.StopReport;\r\n"
                                                 "end;\r\n"
                                                 "begin\r\n"
                                                 "  Conta := 0;\r\n"
                                                 "end."));
    report->FindObjectAs<TfrxMemoView>(QStringLiteral("Numero"))->SetOnBeforePrint(QStringLiteral("NumeroOnBeforePrint"));
    EXPECT_FALSE(prepareBounded());
    EXPECT_TRUE(report->Errors()->isEmpty()) << report->Errors()->Text().toStdString();
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(texts(), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}))
        << "the pages laid out so far stay";

    // A cancel while the pages are being made (the progress's Cancel sets Terminated).
    report->ScriptText()->SetText(QStringLiteral("begin\r\nend."));
    report->FindObjectAs<TfrxMemoView>(QStringLiteral("Numero"))->SetOnBeforePrint(QString());
    report->OnProgress = [](TfrxReport* sender, TfrxProgressType type, int progress) {
        if (type == ptRunning && progress == 2)
            sender->SetTerminated(true);
    };
    EXPECT_FALSE(prepareBounded());
    EXPECT_TRUE(report->Errors()->isEmpty());

    report->OnProgress = nullptr;
    EXPECT_TRUE(prepareBounded());
    EXPECT_EQ(texts().size(), 5);
}

TEST_F(EngineGuardTest, EveryPartOfASplitStretchedMemoIsTallEnoughForItsLines)
{
    for (double titleHeight : {300.0, 517.3, 0.0}) {
        SCOPED_TRACE(titleHeight);
        freshPage();
        while (!page->Objects().isEmpty())
            delete page->Objects().last();
        if (titleHeight > 0)
            band<TfrxReportTitle>(QStringLiteral("Titolo"), 0, titleHeight);
        auto* master = band<TfrxMasterData>(QStringLiteral("Corpo"), 600, 40);
        master->SetRowCount(1);
        master->SetAllowSplit(true);
        master->SetStretched(true);
        QStringList words;
        for (int i = 1; i <= 900; ++i)
            words << QStringLiteral("parola%1").arg(i);
        auto* note = memo(master, QStringLiteral("Nota"), words.join(u' '), 0, 40);
        note->SetWidth(300);
        note->SetWordWrap(true);
        note->SetStretchMode(smActualHeight);

        ASSERT_TRUE(prepareBounded()) << report->Errors()->Text().toStdString();
        ASSERT_GE(pages().Count(), 2);
        // Every part holds its lines (the measured height less its 4-pixel pad below the
        // text); the last part is as tall as its text measures.
        QStringList seen;
        TfrxCustomMemoView* lastPart = nullptr;
        for (int i = 0; i < pages().Count(); ++i)
            for (TfrxComponent* c : pages().GetPage(i)->AllObjects())
                if (auto* m = dynamic_cast<TfrxCustomMemoView*>(c); m && m->Name() == QStringLiteral("Nota")) {
                    if (m->Text().trimmed().isEmpty())
                        continue;
                    EXPECT_LE(m->CalcHeight() - 4, m->Height() + 0.01) << "page " << i + 1 << " cuts its lines";
                    seen << m->Text().simplified().split(u' ', Qt::SkipEmptyParts);
                    lastPart = m;
                }
        EXPECT_EQ(seen, words);
        ASSERT_NE(lastPart, nullptr);
        EXPECT_GE(lastPart->Height() + 0.01, lastPart->CalcHeight());
    }
}

TEST_F(EngineGuardTest, AWideVerticalBandIsPreparedWholeOverAnyNumberOfPageWidths)
{
    // Seven columns of 100 pixels fit a page width; 714 columns take 102 widths, more
    // than the guard lets pass without anything placed.
    for (const int columns : {1, 7, 8, 99, 100, 101, 700, 707, 708, 714, 715, 800}) {
        SCOPED_TRACE(columns);
        freshPage();
        while (!page->Objects().isEmpty())
            delete page->Objects().last();
        auto* rowsBand = band<TfrxMasterData>(QStringLiteral("Righe"), 20, 20);
        rowsBand->SetRowCount(2);
        auto* columnsBand = new TfrxMasterData(page);
        columnsBand->SetName(QStringLiteral("Colonne"));
        columnsBand->SetVertical(true);
        columnsBand->SetBounds(0, 0, 100, 200);
        columnsBand->SetRowCount(columns);
        auto* cell = memo(rowsBand, QStringLiteral("Cella"), QStringLiteral("X"));
        cell->SetWidth(100);

        ASSERT_TRUE(prepareBounded()) << report->Errors()->Text().toStdString();
        EXPECT_TRUE(report->Errors()->isEmpty());
        int cells = 0;
        for (int i = 0; i < pages().Count(); ++i)
            for (TfrxComponent* c : pages().GetPage(i)->AllObjects())
                if (auto* m = dynamic_cast<TfrxCustomMemoView*>(c); m && m->Text().trimmed() == u"X")
                    ++cells;
        EXPECT_EQ(cells, 2 * columns);
        EXPECT_EQ(pages().Count(), (columns + 6) / 7);
    }
}
