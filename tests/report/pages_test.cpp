// Pages with their paper and margins, bands with their switches.
#include "platform/core/formats.h"
#include "report/base/errors.h"
#include "report/model/bands.h"
#include "report/model/report.h"

#include <gtest/gtest.h>

using namespace orv::report;

namespace {

struct Margins {
    double l, r, t, b;
};

Margins margins(const TfrxReportPage& p) { return {p.LeftMargin(), p.RightMargin(), p.TopMargin(), p.BottomMargin()}; }

} // namespace

TEST(PagesTest, NewPageIsA4)
{
    TfrxReportPage page(nullptr);
    EXPECT_EQ(page.PaperSize(), 9);
    EXPECT_EQ(page.PaperWidth(), 210);
    EXPECT_EQ(page.PaperHeight(), 297);
    EXPECT_EQ(page.Width(), 794);
    EXPECT_EQ(page.Height(), 1123);
    EXPECT_EQ(page.Bin(), 7);
    EXPECT_EQ(page.PageCount(), 1);
    EXPECT_TRUE(page.TitleBeforeHeader());
    EXPECT_EQ(margins(page).l, 0);
}

TEST(PagesTest, LandscapeTurnsPaperAndMarginsAndBack)
{
    TfrxReportPage page(nullptr);
    page.SetLeftMargin(10);
    page.SetRightMargin(20);
    page.SetTopMargin(30);
    page.SetBottomMargin(40);
    page.SetOrientation(poLandscape);
    EXPECT_EQ(page.PaperWidth(), 297);
    EXPECT_EQ(page.PaperHeight(), 210);
    EXPECT_EQ(page.Width(), 1123);
    EXPECT_EQ(page.Height(), 794);
    const Margins m = margins(page);
    EXPECT_EQ((std::array{m.l, m.r, m.t, m.b}), (std::array{30.0, 40.0, 20.0, 10.0}));
    page.SetOrientation(poLandscape);
    EXPECT_EQ(page.LeftMargin(), 30) << "the same orientation changes nothing";
    page.SetOrientation(poPortrait);
    const Margins back = margins(page);
    EXPECT_EQ((std::array{back.l, back.r, back.t, back.b}), (std::array{10.0, 20.0, 30.0, 40.0}));
    EXPECT_EQ(page.PaperWidth(), 210);
    EXPECT_EQ(page.Width(), 794);
}

TEST(PagesTest, PaperMeasures)
{
    TfrxReportPage page(nullptr);
    page.SetPaperWidth(100);
    EXPECT_EQ(page.PaperSize(), 256);
    EXPECT_EQ(page.Width(), 378);
    page.SetPaperSize(300);
    EXPECT_EQ(page.PaperWidth(), 100) << "an unknown code keeps the measures";
    EXPECT_EQ(page.PaperSize(), 300);
    page.SetOrientation(poLandscape);
    page.SetPaperSize(9);
    EXPECT_EQ(page.PaperWidth(), 297);
    EXPECT_EQ(page.PaperHeight(), 210);
    page.SetPaperWidth(123.4567891234);
    EXPECT_DOUBLE_EQ(page.PaperWidth(), 123.45678912);
    page.SetSizeAndDimensions(11, 148, 210);
    EXPECT_EQ(page.PaperSize(), 11);
    EXPECT_EQ(page.Height(), 794);
}

TEST(PagesTest, ListPageIsReadInThePublishedOrder)
{
    // Orientation, then the measures (custom size), then the code that brings them back.
    TfrxReportPage page(nullptr);
    page.SetOrientation(poLandscape);
    page.SetPaperWidth(297);
    page.SetPaperHeight(210);
    page.SetPaperSize(9);
    page.SetLeftMargin(10);
    page.SetRightMargin(10);
    page.SetTopMargin(10);
    page.SetBottomMargin(10);
    EXPECT_EQ(page.PaperSize(), 9);
    EXPECT_EQ(page.Width(), 1123);
    auto* title = new TfrxReportTitle(&page);
    auto* master = new TfrxMasterData(&page);
    page.AlignChildren();
    EXPECT_NEAR(title->Width(), 277 * 3.77953, 1e-9);
    EXPECT_NEAR(master->Width(), 1046.92981, 1e-6);
    EXPECT_EQ(page.Width(), 1123) << "the pixel size comes back after aligning";
}

TEST(PagesTest, Columns)
{
    TfrxReportPage page(nullptr);
    page.SetLeftMargin(10);
    page.SetRightMargin(10);
    page.SetColumns(2);
    EXPECT_EQ(page.ColumnWidth(), 95);
    EXPECT_EQ(page.ColumnPositions()->lines(), (QStringList{"0", "95"}));
    page.SetColumns(0);
    EXPECT_EQ(page.ColumnWidth(), 95);
    EXPECT_TRUE(page.ColumnPositions()->isEmpty());
    page.SetColumns(2);
    auto* title = new TfrxReportTitle(&page);
    auto* master = new TfrxMasterData(&page);
    page.AlignChildren();
    EXPECT_NEAR(master->Width(), 95 * 3.77953, 1e-9);
    EXPECT_NEAR(title->Width(), 190 * 3.77953, 1e-9);
    page.SetPageCount(0);
    EXPECT_EQ(page.PageCount(), 1);
}

TEST(PagesTest, DataPageAndDefaults)
{
    TfrxDataPage data(nullptr);
    EXPECT_EQ(data.Width(), 1000);
    EXPECT_EQ(data.Height(), 1000);
    TfrxReportPage page(nullptr);
    frxSetDefaultPaperProvider([] { return TfrxDefaultPaper{5, 215.9, 355.6, poPortrait}; });
    page.SetDefaults();
    frxSetDefaultPaperProvider(nullptr);
    EXPECT_EQ(page.PaperSize(), 5);
    EXPECT_EQ(page.LeftMargin(), 10);
    EXPECT_EQ(page.Height(), 1344);
}

TEST(BandsTest, KindsAndNames)
{
    TfrxReportPage page(nullptr);
    struct Case {
        TfrxBand* band;
        int number;
        const char* name;
    } cases[] = {
        {new TfrxReportTitle(&page), 0, "ReportTitle"}, {new TfrxNullBand(&page), 0, "Null"},
        {new TfrxPageFooter(&page), 3, "PageFooter"},   {new TfrxMasterData(&page), 6, "MasterData"},
        {new TfrxDataBand4(&page), 9, "Data4"},         {new TfrxChild(&page), 14, "Child"},
        {new TfrxOverlay(&page), 17, "Overlay"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.band->BandNumber(), c.number) << c.name;
        EXPECT_EQ(c.band->BandName(), QString::fromLatin1(c.name));
    }
    EXPECT_EQ(page.FindBand(TfrxDataBand::staticClassInfo()), cases[3].band);
    auto detailPage = std::make_unique<TfrxReportPage>(nullptr);
    new TfrxDetailData(detailPage.get());
    EXPECT_EQ(detailPage->FindBand(TfrxMasterData::staticClassInfo()), nullptr);
}

TEST(BandsTest, ChildChainsCannotCloseIntoARing)
{
    TfrxReportPage page(nullptr);
    auto* a = new TfrxChild(&page);
    auto* b = new TfrxChild(&page);
    auto* c = new TfrxChild(&page);
    a->SetChild(b);
    b->SetChild(c);
    EXPECT_THROW(c->SetChild(a), orv::report::Error);
    EXPECT_THROW(a->SetChild(a), orv::report::Error);
    EXPECT_EQ(c->Child(), nullptr);
    EXPECT_EQ(a->Child(), b);
}

TEST(BandsTest, DataBandRowsAndColumns)
{
    TfrxReportPage page(nullptr);
    auto* band = new TfrxMasterData(&page);
    band->SetRowCount(3);
    TfrxUserDataSet* ds = band->VirtualDataSet();
    EXPECT_EQ(ds->RangeEnd(), reCount);
    EXPECT_EQ(ds->RecordCount(), 3);
    int rows = 0;
    for (ds->First(); !ds->Eof(); ds->Next())
        ++rows;
    EXPECT_EQ(rows, 3);

    band->SetColumns(2);
    band->SetColumnWidth(100);
    band->SetColumnGap(10);
    band->SetCurColumn(2);
    EXPECT_EQ(band->Left(), 110);
    band->FMaxY = 50;
    band->SetCurColumn(5);
    EXPECT_EQ(band->CurColumn(), 1);
    EXPECT_EQ(band->Left(), 0);
    EXPECT_EQ(band->FMaxY, 0);
}

TEST(BandsTest, GroupHeaderDiffNamesItsDrill)
{
    auto layout = std::make_unique<TfrxGroupHeader>(nullptr);
    auto copy = std::make_unique<TfrxGroupHeader>(nullptr);
    copy->SetDrillName(QStringLiteral("g1"));
    EXPECT_EQ(copy->Diff(layout.get()), QStringLiteral(" t=\"0\""));
    copy->SetDrillDown(true);
    EXPECT_EQ(copy->Diff(layout.get()), QStringLiteral(" t=\"0\" DrillName=\"g1\""));
}

TEST(BandsTest, DotMatrixPagesSnapToCharacterCells)
{
    class TDotPage : public TfrxReportPage {
    public:
        using TfrxReportPage::TfrxReportPage;
        bool IsDotMatrixPage() const override { return true; }
    };
    TDotPage page(nullptr);
    auto* band = new TfrxMasterData(&page);
    band->SetHeight(40);
    band->SetTop(26);
    band->SetLeft(14);
    band->SetWidth(14);
    EXPECT_EQ(band->Height(), 34);
    EXPECT_EQ(band->Top(), 34);
    EXPECT_DOUBLE_EQ(band->Left(), 9.6);
    EXPECT_EQ(band->Width(), 14);
}

TEST(ReportTest, PagesAndDataPage)
{
    TfrxReport report;
    report.CheckDataPage();
    ASSERT_EQ(report.PagesCount(), 1);
    EXPECT_EQ(report.GetPages(0)->Name(), QStringLiteral("Data"));
    auto* page = new TfrxReportPage(&report);
    report.Clear();
    EXPECT_EQ(report.PagesCount(), 0);
    page = new TfrxReportPage(&report);
    auto* ds = new TfrxUserDataSet(page);
    ds->SetName(QStringLiteral("Clienti"));
    report.CheckDataPage();
    ASSERT_EQ(report.PagesCount(), 2);
    auto* data = report.GetPageAs<TfrxDataPage>(0);
    EXPECT_EQ(ds->Parent(), data) << "dialog objects move to the new data page";
    EXPECT_EQ(ds->Left(), 60);
    EXPECT_EQ(ds->Top(), 20);
    EXPECT_EQ(report.GetPages(1), page);
}
