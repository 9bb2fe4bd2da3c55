// The engine's run: the band tree and its errors, data rows, page changes with headers and
// footers, stretching and splitting, keeping together, groups and totals.
#include "layouts.h"

#include "report/engine/engine.h"
#include "report/model/bands.h"
#include "report/model/datasets.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"

#include <gtest/gtest.h>

using namespace orv::report;

namespace {

struct EngineRunTest : orv::report::test::LayoutFixture {
    void SetUp() override
    {
        LayoutFixture::SetUp();
        page->SetLeftMargin(10);
        page->SetRightMargin(10);
        page->SetTopMargin(10);
        page->SetBottomMargin(10);
        report->EngineOptions()->SetNewSilentMode(simSilent);
    }

    // Each prepared page as "name@top" of its bands, the carrier of page objects left out.
    QStringList layout()
    {
        QStringList out;
        for (int i = 0; i < pages().Count(); ++i) {
            QStringList bands;
            for (TfrxComponent* c : pages().GetPage(i)->Objects())
                if (auto* b = dynamic_cast<TfrxBand*>(c); b && !dynamic_cast<TfrxNullBand*>(b))
                    bands << QStringLiteral("%1@%2").arg(b->Name()).arg(b->Top(), 0, 'f', 0);
            out << bands.join(u' ');
        }
        return out;
    }
};

} // namespace

TEST_F(EngineRunTest, BandTreeLinksAndReportsLayoutMistakes)
{
    auto* header = band<TfrxHeader>(QStringLiteral("Header1"), 10, 20);
    auto* master = band<TfrxMasterData>(QStringLiteral("MasterData1"), 40, 20);
    auto* footer = band<TfrxFooter>(QStringLiteral("Footer1"), 70, 20);
    band<TfrxFooter>(QStringLiteral("Footer2"), 100, 20);
    band<TfrxMasterData>(QStringLiteral("Gemello"), 40, 20); // same top: left out silently
    band<TfrxSubdetailData>(QStringLiteral("SubdetailData1"), 130, 20);
    master->SetRowCount(1);
    // Without the template reload the links stay on the layout's bands.
    report->EngineOptions()->SetDestroyForms(false);
    EXPECT_FALSE(report->PrepareReport(true));
    EXPECT_EQ(master->Header, header);
    EXPECT_EQ(master->Footer, footer);
    EXPECT_EQ(report->Errors()->lines(),
              (QStringList{QStringLiteral("Incorrect band position: SubdetailData1"),
                           QStringLiteral("Unconnected header/footer Footer2")}));
}

TEST_F(EngineRunTest, NestingAndGroups)
{
    auto* master = band<TfrxMasterData>(QStringLiteral("MasterData1"), 10, 20);
    auto* detail1 = band<TfrxDetailData>(QStringLiteral("DetailData1"), 40, 20);
    auto* detail2 = band<TfrxDetailData>(QStringLiteral("DetailData2"), 70, 20);
    auto* outer = band<TfrxGroupHeader>(QStringLiteral("Esterno"), 100, 20);
    auto* inner = band<TfrxGroupHeader>(QStringLiteral("Interno"), 130, 20);
    auto* grouped = band<TfrxMasterData>(QStringLiteral("MasterData2"), 160, 20);
    auto* innerFooter = band<TfrxGroupFooter>(QStringLiteral("PiedeInterno"), 190, 20);
    auto* outerFooter = band<TfrxGroupFooter>(QStringLiteral("PiedeEsterno"), 220, 20);
    master->SetRowCount(1);
    detail1->SetRowCount(1);
    detail2->SetRowCount(1);
    grouped->SetRowCount(1);
    outer->SetCondition(QStringLiteral("Page"));
    inner->SetCondition(QStringLiteral("Line"));
    ASSERT_TRUE(report->PrepareReport(true)) << report->Errors()->Text().toStdString();
    // The layout is read back after the run: look the bands up by name again.
    master = report->FindObjectAs<TfrxMasterData>(QStringLiteral("MasterData1"));
    EXPECT_TRUE(master->SubBands.isEmpty()) << "the reloaded layout has no links";
    (void)innerFooter, (void)outerFooter;
    EXPECT_EQ(layout(), QStringList{QStringLiteral("MasterData1@0 DetailData1@20 DetailData2@40 Esterno@60 "
                                                   "Interno@80 MasterData2@100 PiedeInterno@120 PiedeEsterno@140")});
}

TEST_F(EngineRunTest, RowCountPrintsTheBandThatManyTimes)
{
    auto* master = band<TfrxMasterData>(QStringLiteral("MasterData1"), 10, 20);
    memo(master, QStringLiteral("Riga"), QStringLiteral("[Line]"));
    master->SetRowCount(3);
    ASSERT_TRUE(report->PrepareReport(true));
    EXPECT_EQ(texts(), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    report->FindObjectAs<TfrxMasterData>(QStringLiteral("MasterData1"))->SetRowCount(0);
    ASSERT_TRUE(report->PrepareReport(true));
    EXPECT_TRUE(texts().isEmpty());
}

TEST_F(EngineRunTest, PageChangesWithHeadersAndFooters)
{
    auto* header = band<TfrxPageHeader>(QStringLiteral("Testata"), 0, 40);
    auto* footer = band<TfrxPageFooter>(QStringLiteral("Piede"), 900, 50);
    footer->SetPrintOnFirstPage(false);
    auto* master = band<TfrxMasterData>(QStringLiteral("Righe"), 100, 300);
    master->SetRowCount(5);
    memo(header, QStringLiteral("Numero"), QStringLiteral("Pagina [Page#]"));
    ASSERT_TRUE(report->PrepareReport(true));
    // 1046.93 printable, less 50 for the footer even where it is not printed.
    EXPECT_EQ(layout(), (QStringList{QStringLiteral("Testata@0 Righe@40 Righe@340 Righe@640"),
                                     QStringLiteral("Testata@0 Righe@40 Righe@340 Piede@997")}));
    EXPECT_EQ(texts().first(), QStringLiteral("Pagina 1"));
}

TEST_F(EngineRunTest, TallBandsMoveOrSplit)
{
    band<TfrxReportTitle>(QStringLiteral("Titolo"), 0, 500);
    auto* master = band<TfrxMasterData>(QStringLiteral("Alto"), 600, 800);
    master->SetRowCount(1);
    memo(master, QStringLiteral("Vuoto"), QString(), 0, 800);
    ASSERT_TRUE(report->PrepareReport(true));
    EXPECT_EQ(layout(), (QStringList{QStringLiteral("Titolo@0"), QStringLiteral("Alto@0")}))
        << "a band that fits an empty page moves there whole";

    report->FindObjectAs<TfrxMasterData>(QStringLiteral("Alto"))->SetHeight(1500);
    report->FindObjectAs<TfrxMemoView>(QStringLiteral("Vuoto"))->SetHeight(1500);
    ASSERT_TRUE(report->PrepareReport(true));
    // A band taller than a page is split even without AllowSplit; its empty memo takes
    // the room of each page until its height is used up.
    EXPECT_EQ(layout(), (QStringList{QStringLiteral("Titolo@0 Alto@500"), QStringLiteral("Alto@0"),
                                     QStringLiteral("Alto@0")}));
}

TEST_F(EngineRunTest, SplitMovesObjectsThatCannotBeCut)
{
    auto* master = band<TfrxMasterData>(QStringLiteral("Corpo"), 10, 1200);
    master->SetRowCount(1);
    master->SetAllowSplit(true);
    auto* picture = new TfrxPictureView(master);
    picture->SetName(QStringLiteral("Foto"));
    picture->SetBounds(0, 1000, 100, 100);
    auto* below = new TfrxShapeView(master);
    below->SetName(QStringLiteral("Sotto"));
    below->SetBounds(0, 1110, 300, 18);
    ASSERT_TRUE(report->PrepareReport(true));
    ASSERT_EQ(pages().Count(), 2);
    TfrxReportPage* second = pages().GetPage(1);
    EXPECT_NEAR(second->FindObject(QStringLiteral("Foto"))->Top(), 0, 1e-6);
    EXPECT_NEAR(second->FindObject(QStringLiteral("Sotto"))->Top(), 110, 1e-6);
}

TEST_F(EngineRunTest, StretchingAndShifting)
{
    auto* master = band<TfrxMasterData>(QStringLiteral("Corpo"), 10, 40);
    master->SetRowCount(1);
    master->SetStretched(true);
    auto* grows = memo(master, QStringLiteral("Cresce"), QStringLiteral("uno\r\ndue\r\ntre\r\nquattro"), 0, 18);
    grows->SetStretchMode(smActualHeight);
    auto* below = memo(master, QStringLiteral("Sotto"), QStringLiteral("x"), 20, 18);
    auto* fixed = memo(master, QStringLiteral("Fermo"), QStringLiteral("y"), 20, 18);
    fixed->SetLeft(400);
    ASSERT_TRUE(report->PrepareReport(true));
    TfrxReportPage* p = pages().GetPage(0);
    const double grown = p->FindObject(QStringLiteral("Cresce"))->Height();
    EXPECT_GT(grown, 40);
    EXPECT_NEAR(p->FindObject(QStringLiteral("Sotto"))->Top(), 20 + grown - 18, 1e-6);
    EXPECT_NEAR(p->FindObject(QStringLiteral("Fermo"))->Top(), 20, 1e-6) << "nothing above it grew";
    EXPECT_NEAR(p->FindObject(QStringLiteral("Corpo"))->Height(), 20 + grown - 18 + 18, 1e-6);
    (void)below;
}

TEST_F(EngineRunTest, GroupsAndTotals)
{
    auto* ds = rows(QStringLiteral("Voci"), {{{"Gruppo", "A"}, {"Qta", 2}},
                                             {{"Gruppo", "A"}, {"Qta", 3}},
                                             {{"Gruppo", "B"}, {"Qta", 7}}});
    auto* header = band<TfrxGroupHeader>(QStringLiteral("Testa"), 10, 20);
    header->SetCondition(QStringLiteral("Voci.\"Gruppo\""));
    auto* master = band<TfrxMasterData>(QStringLiteral("Riga"), 40, 20);
    master->SetDataSet(ds);
    auto* footer = band<TfrxGroupFooter>(QStringLiteral("Piede"), 70, 20);
    memo(header, QStringLiteral("Nome"), QStringLiteral("Gruppo [Voci.\"Gruppo\"]"));
    memo(master, QStringLiteral("Qta"), QStringLiteral("[Voci.\"Qta\"]"));
    memo(footer, QStringLiteral("Totale"), QStringLiteral("Totale [SUM(<Voci.\"Qta\">)] righe [COUNT()]"));
    ASSERT_TRUE(report->PrepareReport(true)) << report->Errors()->Text().toStdString();
    EXPECT_EQ(texts(), (QStringList{QStringLiteral("Gruppo A"), QStringLiteral("2"), QStringLiteral("3"),
                                    QStringLiteral("Totale 5 righe 2"), QStringLiteral("Gruppo B"),
                                    QStringLiteral("7"), QStringLiteral("Totale 7 righe 1")}));

    report->FindObjectAs<TfrxGroupFooter>(QStringLiteral("Piede"))->SetHideIfSingleDataRecord(true);
    ASSERT_TRUE(report->PrepareReport(true));
    EXPECT_EQ(texts().size(), 6) << "the single row of B has no footer";
}

TEST_F(EngineRunTest, KeepTogetherMovesTheGroupToTheNextPage)
{
    auto* ds = rows(QStringLiteral("Voci"), {{{"G", "A"}}, {{"G", "B"}}, {{"G", "B"}}, {{"G", "B"}}});
    auto* header = band<TfrxGroupHeader>(QStringLiteral("Testa"), 10, 100);
    header->SetCondition(QStringLiteral("Voci.\"G\""));
    header->SetKeepTogether(true);
    auto* master = band<TfrxMasterData>(QStringLiteral("Riga"), 200, 250);
    master->SetDataSet(ds);
    ASSERT_TRUE(report->PrepareReport(true));
    // A (100 + 250) fills page 1 to 350; B's block of 850 does not fit the 696 left.
    EXPECT_EQ(layout(), (QStringList{QStringLiteral("Testa@0 Riga@100"),
                                     QStringLiteral("Testa@0 Riga@100 Riga@350 Riga@600")}));
}

TEST_F(EngineRunTest, DatasetConflictsStopTheRun)
{
    auto* ds = rows(QStringLiteral("Voci"), {{{"G", "A"}}});
    report->SetDataSet(ds);
    auto* master = band<TfrxMasterData>(QStringLiteral("Riga"), 10, 20);
    master->SetDataSet(ds);
    EXPECT_FALSE(report->PrepareReport(true));
    EXPECT_EQ(report->Errors()->lines(),
              QStringList{QStringLiteral("Cannot use the same dataset for Report.DataSet and Band.DataSet")});
    EXPECT_EQ(pages().Count(), 0);
}

TEST_F(EngineRunTest, DoublePassKnowsTheTotalPages)
{
    report->EngineOptions()->SetDoublePass(true);
    auto* title = band<TfrxReportTitle>(QStringLiteral("Titolo"), 0, 30);
    memo(title, QStringLiteral("Totale"), QStringLiteral("di [TotalPages]"));
    auto* master = band<TfrxMasterData>(QStringLiteral("Righe"), 100, 600);
    master->SetRowCount(3);
    ASSERT_TRUE(report->PrepareReport(true));
    EXPECT_EQ(pages().Count(), 3);
    EXPECT_EQ(texts().first(), QStringLiteral("di 3"));
}
