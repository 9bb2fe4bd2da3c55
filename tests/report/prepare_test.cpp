// Preparing the program's two kinds of layout into pages: the list report whose one memo
// is split over as many pages as it needs, and the record card on one page.
#include "layouts.h"

#include "platform/core/services.h"
#include "report/model/bands.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"

#include <QDate>
#include <QImage>
#include <QPainter>

#include "platform/core/canvas.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orv::report;

using namespace orv::report::test;

namespace {

class PrepareClock : public orv::platform::Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2024, 3, 7), QTime(10, 30)); }
};

struct ClockFixture : ::testing::Test {
    PrepareClock clock;
    void SetUp() override { orv::platform::setClock(&clock); }
    void TearDown() override { orv::platform::setClock(nullptr); }
};

TfrxPreviewPages& pagesOf(TfrxReport& report) { return *static_cast<TfrxPreviewPages*>(report.PreviewPages()); }

// The bands of a prepared page by name, with their positions; the band that carries the
// objects lying directly on the page is left out.
struct PlacedBand {
    QString name;
    double top, height;
};

std::vector<PlacedBand> bandsOf(TfrxReportPage* page)
{
    std::vector<PlacedBand> out;
    for (TfrxComponent* c : page->Objects())
        if (auto* b = dynamic_cast<TfrxBand*>(c); b && !dynamic_cast<TfrxNullBand*>(b))
            out.push_back({b->Name(), b->Top(), b->Height()});
    return out;
}

QString memoText(TfrxReportPage* page, const QString& name)
{
    auto* memo = dynamic_cast<TfrxCustomMemoView*>(page->FindObject(name));
    return memo ? memo->Text() : QStringLiteral("<none>");
}

} // namespace

using PrepareTest = ClockFixture;

TEST_F(PrepareTest, ListMemoSplitsOverPagesAndTheFooterFollowsIt)
{
    auto report = makeListLayout();
    fillList(*report, 1000);
    ASSERT_TRUE(report->PrepareReport(true)) << report->Errors()->Text().toStdString();
    TfrxPreviewPages& pages = pagesOf(*report);
    // 12822 pixels: 687.87 on the first page under the title, 718.11 on each further one.
    const double printable = 190 * fr01cm;
    const double first = printable - 30.23624;
    const int expected = 1 + int(std::ceil((12822 - first) / printable));
    ASSERT_EQ(pages.Count(), expected);

    const auto page1 = bandsOf(pages.GetPage(0));
    ASSERT_EQ(page1.size(), 2u);
    EXPECT_EQ(page1[0].name, QStringLiteral("ReportTitle"));
    EXPECT_NEAR(page1[0].top, 0, 1e-6);
    EXPECT_EQ(page1[1].name, QStringLiteral("MasterData"));
    EXPECT_NEAR(page1[1].top, 30.23624, 1e-4);
    EXPECT_NEAR(page1[1].height, first, 1e-3);

    const auto page2 = bandsOf(pages.GetPage(1));
    ASSERT_EQ(page2.size(), 1u);
    EXPECT_NEAR(page2[0].top, 0, 1e-6);
    EXPECT_NEAR(page2[0].height, printable, 1e-3);

    // The worked figures of a landscape A4 page with 10 mm margins at 3.77953 pixels per mm.
    EXPECT_NEAR(printable, 718.1107, 1e-9);
    EXPECT_NEAR(page1[1].height, 687.87446, 1e-6);
    EXPECT_NEAR(page2[0].height, 718.1107, 1e-6);
    ASSERT_EQ(expected, 18);

    // The last part is as tall as the lines left for it (with the memo's gaps above and
    // below), whatever height the earlier parts left over; the footer follows it.
    const auto last = bandsOf(pages.GetPage(expected - 1));
    ASSERT_EQ(last.size(), 2u);
    const qsizetype lastLines = memoText(pages.GetPage(expected - 1), QStringLiteral("txtRiepilogo")).count(u'\n');
    const double pitch = report->FindObjectAs<TfrxMemoView>(QStringLiteral("txtRiepilogo"))->Font()->GetHeight() + 2;
    EXPECT_EQ(lastLines, 50);
    EXPECT_NEAR(last[0].height, double(lastLines) * pitch + 2, 1e-3);
    EXPECT_EQ(last[1].name, QStringLiteral("Footer"));
    EXPECT_NEAR(last[1].top, last[0].height, 1e-3);
    EXPECT_EQ(memoText(pages.GetPage(expected - 1), QStringLiteral("txtPagina")),
              QStringLiteral("Stampa eseguita in data 07/03/2024\r\n"));

    // Every line is on exactly one page, in order, and none is cut.
    QString all;
    for (int i = 0; i < pages.Count(); ++i)
        all += memoText(pages.GetPage(i), QStringLiteral("txtRiepilogo"));
    QString expectedText;
    for (int i = 1; i <= 1000; ++i)
        expectedText += QStringLiteral("RIGA %1 CLIENTE DI PROVA\r\n").arg(i, 4, 10, QChar(u'0'));
    EXPECT_EQ(all, expectedText);
}

TEST_F(PrepareTest, FooterOpensAPageOfItsOwnWhenTheLastPartLeavesNoRoom)
{
    auto report = makeListLayout();
    // The first page holds the title and 687.87 of the memo; 53 lines (679.57) leave
    // less than the footer's 30.24 pixels.
    fillList(*report, 53);
    ASSERT_TRUE(report->PrepareReport(true));
    TfrxPreviewPages& pages = pagesOf(*report);
    ASSERT_EQ(pages.Count(), 2);
    const auto page2 = bandsOf(pages.GetPage(1));
    ASSERT_EQ(page2.size(), 1u);
    EXPECT_EQ(page2[0].name, QStringLiteral("Footer"));
    EXPECT_NEAR(page2[0].top, 0, 1e-6);
}

TEST_F(PrepareTest, ShortListFitsOnePage)
{
    auto report = makeListLayout();
    fillList(*report, 3);
    ASSERT_TRUE(report->PrepareReport(true));
    TfrxPreviewPages& pages = pagesOf(*report);
    ASSERT_EQ(pages.Count(), 1);
    const auto bands = bandsOf(pages.GetPage(0));
    ASSERT_EQ(bands.size(), 3u);
    EXPECT_NEAR(bands[2].top, 30.23624 + 3 * 12.822 + 10, 1e-3);
    // The layout is as it was before the preparation.
    EXPECT_NEAR(report->FindObjectAs<TfrxMemoView>(QStringLiteral("txtPagina"))->Top(), 7.55906, 1e-6);
    EXPECT_EQ(report->FindObjectAs<TfrxMemoView>(QStringLiteral("txtPagina"))->Text(),
              QStringLiteral("Stampa eseguita in data [DATE]\r\n"));
}

TEST_F(PrepareTest, CardComesOutOnOnePageWithEveryField)
{
    auto report = makeCardLayout();
    ASSERT_TRUE(report->PrepareReport(true)) << report->Errors()->Text().toStdString();
    TfrxPreviewPages& pages = pagesOf(*report);
    ASSERT_EQ(pages.Count(), 1);
    TfrxReportPage* page = pages.GetPage(0);
    int captions = 0, values = 0;
    for (TfrxComponent* c : page->AllObjects()) {
        if (c->Name().startsWith(QStringLiteral("lblCampo")))
            ++captions;
        if (c->Name().startsWith(QStringLiteral("txtCampo")))
            ++values;
    }
    EXPECT_EQ(captions, 24);
    EXPECT_EQ(values, 24);
    auto* city = dynamic_cast<TfrxMemoView*>(page->FindObject(QStringLiteral("txtCampo05")));
    ASSERT_TRUE(city);
    EXPECT_EQ(city->Text(), QStringLiteral("Saluzzo\r\n"));
    EXPECT_NEAR(city->Top(), 96 + 4 * 25.5, 1e-6);
    EXPECT_NEAR(city->AbsTop(), 96 + 4 * 25.5, 1e-6);
    auto* logo = dynamic_cast<TfrxPictureView*>(page->FindObject(QStringLiteral("imgLogo")));
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->Picture()->Width(), 8);
}

// The pages drawn into an image: text, the lavender box and its frame where the layout
// puts them. With ORV_SCREENS set to a folder the images are written there to look at.
TEST_F(PrepareTest, PreparedPagesDrawnIntoImages)
{
    const QString folder = qEnvironmentVariable("ORV_SCREENS");
    auto render = [&](TfrxReport& report, int index, double zoom, const QString& name) {
        TfrxPreviewPages& pages = pagesOf(report);
        const QPoint size = pages.GetPageSize(index);
        QImage image(int(size.x() * zoom), int(size.y() * zoom), QImage::Format_ARGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            orv::platform::Canvas canvas(&painter);
            pages.DrawPage(index, &canvas, zoom, zoom, 0, 0);
        }
        if (!folder.isEmpty())
            image.save(folder + u'/' + name);
        return image;
    };
    auto darkPixels = [](const QImage& image, const QRect& area) {
        int dark = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (qGray(image.pixel(x, y)) < 128)
                    ++dark;
        return dark;
    };

    auto card = makeCardLayout();
    ASSERT_TRUE(card->PrepareReport(true));
    const QImage page = render(*card, 0, 1, QStringLiteral("scheda_informativa.png"));
    const int margin = qRound(10 * fr01cm);
    // The caption "Codice:" right-aligned in its memo, the value "Saluzzo" left-aligned.
    EXPECT_GT(darkPixels(page, QRect(margin + 150, margin + 96, 90, 18)), 20);
    EXPECT_GT(darkPixels(page, QRect(margin + 258, margin + 96 + 4 * 25.5, 60, 18)), 20);
    EXPECT_EQ(page.pixel(margin + 600, margin + 400), 0xFFE6E6FAu) << "inside the lavender box";
    EXPECT_EQ(page.pixel(margin + 600, margin + 1000), 0xFFFFFFFFu) << "below the boxes";
    const QImage twice = render(*card, 0, 2, QStringLiteral("scheda_informativa_zoom2.png"));
    EXPECT_GT(darkPixels(twice, QRect(2 * (margin + 150), 2 * (margin + 96), 180, 36)), 80);

    auto list = makeListLayout();
    fillList(*list, 120);
    ASSERT_TRUE(list->PrepareReport(true));
    const QImage first = render(*list, 0, 1, QStringLiteral("riepilogo_dati_1.png"));
    render(*list, pagesOf(*list).Count() - 1, 1, QStringLiteral("riepilogo_dati_ultima.png"));
    // The title's grey banner and the first list lines below it.
    EXPECT_EQ(first.pixel(margin + 30, margin + 10), 0xFF708090u);
    EXPECT_GT(darkPixels(first, QRect(margin + 12, margin + 32, 180, 12)), 50);
}

TEST_F(PrepareTest, MissingDatasetPreparesNothing)
{
    QStringList shown;
    ErrorBoxRecorder box(shown);
    auto report = makeListLayout();
    auto* item = report->DataSets()->Add();
    item->SetDataSetName(QStringLiteral("Clienti"));
    EXPECT_FALSE(report->PrepareReport(true));
    EXPECT_EQ(pagesOf(*report).Count(), 0);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0], QStringLiteral("The following error(s) have occured:\r\nDataset \"Clienti\" does not exist\r\n"));
}

TEST_F(PrepareTest, LayoutIsReadBackAndThePasswordKept)
{
    auto report = makeListLayout();
    report->ReportOptions()->SetPassword(QStringLiteral("segreto"));
    QByteArray copied;
    report->OnBeginDoc = [&](TfrxReport* r) { copied = templateText(*r); };
    // A working field no template carries tells the old object from a new one (a new
    // object may well get the old one's address).
    report->FindObjectAs<TfrxMemoView>(QStringLiteral("txtRiepilogo"))->FAliasName = QStringLiteral("vecchio");
    ASSERT_TRUE(report->PrepareReport(true));
    EXPECT_EQ(report->ReportOptions()->Password(), QStringLiteral("segreto"));
    EXPECT_TRUE(report->FindObjectAs<TfrxMemoView>(QStringLiteral("txtRiepilogo"))->FAliasName.isEmpty())
        << "every object of the layout is a new one";
    EXPECT_FALSE(copied.isEmpty());
}

TEST_F(PrepareTest, ShowReportPreparesAndShowsInThePreviewWindow)
{
    struct TestPreview : TfrxCustomPreview {
        int inits = 0;
        void Init() override { ++inits; }
        void ShowHint(const QRectF&, const QString&) override {}
        void HideHint() override {}
        void Lock() override {}
        void Unlock() override {}
        void RefreshReport() override {}
        void InternalOnProgressStart(TfrxReport*, TfrxProgressType, int) override {}
        void InternalOnProgress(TfrxReport*, TfrxProgressType, int) override {}
        void InternalOnProgressStop(TfrxReport*, TfrxProgressType, int) override {}
    };
    struct Window : TfrxPreviewWindow {
        TestPreview preview;
        int shown = 0, pagesWhenShown = 0;
        TfrxReport* report = nullptr;
        TfrxCustomPreview* Preview() override { return &preview; }
        void Init() override {}
        void SetMessageText(const QString&, bool) override {}
        void KeepDesignedPosition() override {}
        void ShowModal() override
        {
            ++shown;
            pagesWhenShown = report->PreviewPages()->Count();
        }
        void Show() override {}
        void Close() override {}
    };
    int made = 0, prepared = 0;
    Window* last = nullptr;
    int shownPages = 0;
    frxSetPreviewWindowMaker([&](TfrxReport* r) {
        ++made;
        last = new Window;
        last->report = r;
        return last;
    });
    auto report = makeListLayout();
    fillList(*report, 100);
    report->OnEndDoc = [&](TfrxReport*) { ++prepared; };
    report->OnPreview = [&](TfrxReport*) { shownPages = report->PreviewPages()->Count(); };
    ASSERT_TRUE(report->PrepareReport(true));
    report->ShowReport(true);
    frxSetPreviewWindowMaker(nullptr);
    EXPECT_EQ(prepared, 2) << "the window prepares, ShowReport prepares again";
    EXPECT_EQ(made, 1);
    EXPECT_EQ(shownPages, 2);
    EXPECT_EQ(report->Preview(), nullptr) << "the closed window's preview is unlinked";
    EXPECT_EQ(report->PreviewForm, nullptr);
}

TEST_F(PrepareTest, ProgressIsReportedWithoutAWindow)
{
    auto report = makeListLayout();
    fillList(*report, 100);
    QStringList events;
    report->OnProgressStart = [&](TfrxReport*, TfrxProgressType t, int) { events << QStringLiteral("start %1").arg(t); };
    report->OnProgress = [&](TfrxReport*, TfrxProgressType, int n) { events << QStringLiteral("page %1").arg(n); };
    report->OnProgressStop = [&](TfrxReport*, TfrxProgressType t, int) { events << QStringLiteral("stop %1").arg(t); };
    int windows = 0;
    frxSetProgressWindowMaker([&]() -> TfrxProgressWindow* {
        ++windows;
        return nullptr;
    });
    ASSERT_TRUE(report->PrepareReport(true));
    frxSetProgressWindowMaker(nullptr);
    EXPECT_EQ(events, (QStringList{QStringLiteral("start 0"), QStringLiteral("page 1"), QStringLiteral("page 2"),
                                   QStringLiteral("stop 0")}));
    EXPECT_EQ(windows, 0) << "the layouts turn the progress window off";
}

TEST_F(PrepareTest, LongListLinesStayWholeAndEachReachesThePagesOnce)
{
    // 200 lines, every fifth with a note far wider than the memo, as the customer list
    // prints them: no line wraps, none is lost or repeated, and the order holds.
    auto report = makeListLayout();
    auto* memo = report->FindObjectAs<TfrxMemoView>(QStringLiteral("txtRiepilogo"));
    ASSERT_FALSE(memo->WordWrap());
    memo->Memo()->Clear();
    QString expectedText;
    for (int i = 1; i <= 200; ++i) {
        QString line = QStringLiteral("CLIENTE %1").arg(i, 4, 10, QChar(u'0'));
        if (i % 5 == 0)
            line += QStringLiteral(" nota lunga del cliente").repeated(10);
        memo->Memo()->Add(line);
        expectedText += line + QStringLiteral("\r\n");
    }
    memo->SetHeight(200 * 12.822);
    report->FindObjectAs<TfrxMasterData>(QStringLiteral("MasterData"))->SetHeight(memo->Height() + 10);
    ASSERT_TRUE(report->PrepareReport(true)) << report->Errors()->Text().toStdString();
    TfrxPreviewPages& pages = pagesOf(*report);
    QString all;
    for (int i = 0; i < pages.Count(); ++i)
        all += memoText(pages.GetPage(i), QStringLiteral("txtRiepilogo"));
    EXPECT_EQ(all, expectedText);
}
