// Splitting a band over pages at every size: each line of a memo reaches the pages once,
// in order, and whole; nothing is placed over a memo that is still being printed.
#include "layouts.h"

#include "report/model/bands.h"
#include "report/model/pages.h"
#include "report/model/views.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>

using namespace orv::report;

using namespace orv::report::test;

namespace {

constexpr double kMm = 3.77953;

// The preparation in a thread of its own; one that never ends stops the test program.
bool prepareBounded(TfrxReport& report)
{
    auto run = std::async(std::launch::async, [&report] { return report.PrepareReport(true); });
    if (run.wait_for(std::chrono::seconds(120)) != std::future_status::ready) {
        std::fprintf(stderr, "PrepareReport did not return: the test program stops here\n");
        std::fflush(stderr);
        std::_Exit(3);
    }
    return run.get();
}

// One placed part of a memo: its page, top on the page (band top + memo top), height,
// the lines it holds and whether its text room holds them all.
struct Part {
    int page;
    double top, bottom;
    QStringList lines;
    bool whole;
};

std::vector<Part> partsOf(TfrxReport& report, const QString& name)
{
    auto& pages = *static_cast<TfrxPreviewPages*>(report.PreviewPages());
    std::vector<Part> out;
    for (int i = 0; i < pages.Count(); ++i)
        for (TfrxComponent* c : pages.GetPage(i)->AllObjects()) {
            auto* m = dynamic_cast<TfrxCustomMemoView*>(c);
            if (!m || m->Name() != name)
                continue;
            QString text = m->Text();
            if (text.endsWith(QStringLiteral("\r\n")))
                text.chop(2);
            const QStringList lines = text.isEmpty() ? QStringList() : text.split(QStringLiteral("\r\n"));
            // The text room inside the vertical gaps, where the memo clips its text: the
            // last line's letters must stand inside it.
            const double room = m->Height() - 2 * m->GapY();
            const double letters = m->Font()->GetHeight();
            const double pitch = letters + 2;
            const double bandTop = m->Parent() ? m->Parent()->Top() : 0;
            out.push_back({i, bandTop + m->Top(), bandTop + m->Top() + m->Height(), lines,
                           lines.isEmpty() || double(lines.size() - 1) * pitch + letters <= room + 1e-6});
        }
    return out;
}

QStringList numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("RIGA %1 CLIENTE DI PROVA").arg(i, 5, 10, QChar(u'0'));
    return lines;
}

// The list layout on a page whose printable height is `printable` pixels, with `count`
// lines in its memo, sized as the list windows size it.
std::unique_ptr<TfrxReport> listOn(double printable, int count)
{
    auto report = makeListLayout();
    auto* page = report->FindObjectAs<TfrxReportPage>(QStringLiteral("Page"));
    page->SetPaperHeight(printable / kMm + page->TopMargin() + page->BottomMargin());
    auto* memo = report->FindObjectAs<TfrxMemoView>(QStringLiteral("txtRiepilogo"));
    memo->Memo()->Clear();
    for (const QString& line : numberedLines(count))
        memo->Memo()->Add(line);
    memo->SetHeight(count * 12.822);
    report->FindObjectAs<TfrxMasterData>(QStringLiteral("MasterData"))->SetHeight(memo->Height() + 10);
    return report;
}

double linePitch()
{
    auto report = makeListLayout();
    return report->FindObjectAs<TfrxMemoView>(QStringLiteral("txtRiepilogo"))->Font()->GetHeight() + 2;
}

} // namespace

TEST(PaginationTest, EveryLineOfTheListReachesThePagesOnceAtEveryCountAndPageHeight)
{
    // Printable heights that leave most of a line unused under the last whole line of
    // every page: counted by heights, the parts would run out a line early within a
    // few pages. The designed memo height (12.822 a line) differs from the drawn
    // pitch too, as it does in the program.
    const double pitch = linePitch();
    struct Geometry {
        int lines;       // whole lines a full page holds
        double leftover; // the part of a further line that also fits
    };
    for (const Geometry g : {Geometry{3, 0.97}, Geometry{7, 0.6}, Geometry{20, 0.999}, Geometry{4, 0.02}}) {
        const double printable = 2 + (g.lines + g.leftover) * pitch;
        for (int count = 1; count <= 240; ++count) {
            SCOPED_TRACE(testing::Message() << g.lines << " lines a page, " << count << " lines");
            auto report = listOn(printable, count);
            ASSERT_TRUE(prepareBounded(*report)) << report->Errors()->Text().toStdString();
            QStringList seen;
            for (const Part& p : partsOf(*report, QStringLiteral("txtRiepilogo"))) {
                ASSERT_TRUE(p.whole) << "page " << p.page + 1 << " cuts lines off its part";
                seen += p.lines;
            }
            ASSERT_EQ(seen, numberedLines(count));
        }
    }
}

namespace {

// A stretched band that may split, holding memo C (as tall as its `count` lines) and,
// designed 5 pixels under it, memo "BELOW".
std::unique_ptr<TfrxReport> splitAbove(double printable, int count)
{
    auto report = std::make_unique<TfrxReport>();
    report->SetShowProgress(false);
    auto* data = new TfrxDataPage(report.get());
    data->SetName(QStringLiteral("Data"));
    auto* page = new TfrxReportPage(report.get());
    page->SetName(QStringLiteral("Page1"));
    page->SetPaperHeight(printable / kMm + page->TopMargin() + page->BottomMargin());
    auto* band = new TfrxMasterData(page);
    band->SetName(QStringLiteral("Corpo"));
    band->SetBounds(0, 20, 718, 50);
    band->SetRowCount(1);
    band->SetAllowSplit(true);
    band->SetStretched(true);
    auto* c = new TfrxMemoView(band);
    c->SetName(QStringLiteral("C"));
    c->SetBounds(0, 0, 300, 20);
    c->SetStretchMode(smActualHeight);
    c->SetWordWrap(false);
    c->SetText(numberedLines(count).join(QStringLiteral("\r\n")));
    auto* below = new TfrxMemoView(band);
    below->SetName(QStringLiteral("BELOW"));
    below->SetBounds(0, 25, 300, 18);
    below->SetText(QStringLiteral("BELOW"));
    return report;
}

} // namespace

TEST(PaginationTest, AnObjectBelowASplitMemoFollowsWhereTheMemoReallyEnded)
{
    const double pitch = linePitch();
    for (const double printable : {10 * pitch + 9.5, 23 * pitch + 4, 1047.0}) {
        for (const int count : {1, 9, 10, 11, 40, 137, 501, 3000}) {
            SCOPED_TRACE(testing::Message() << printable << " px a page, " << count << " lines");
            auto report = splitAbove(printable, count);
            ASSERT_TRUE(prepareBounded(*report)) << report->Errors()->Text().toStdString();
            const std::vector<Part> parts = partsOf(*report, QStringLiteral("C"));
            QStringList seen;
            int lastPage = -1;
            double lastBottom = 0;
            for (const Part& p : parts) {
                EXPECT_TRUE(p.whole) << "page " << p.page + 1 << " cuts lines off its part";
                seen += p.lines;
                if (!p.lines.isEmpty()) {
                    lastPage = p.page;
                    lastBottom = p.bottom;
                }
            }
            ASSERT_EQ(seen, numberedLines(count));
            const std::vector<Part> below = partsOf(*report, QStringLiteral("BELOW"));
            ASSERT_EQ(below.size(), 1u);
            EXPECT_TRUE(below[0].page > lastPage || (below[0].page == lastPage && below[0].top >= lastBottom - 1e-6))
                << "BELOW on page " << below[0].page + 1 << " at " << below[0].top << ", C ends on page "
                << lastPage + 1 << " at " << lastBottom;
            if (below[0].page == lastPage) {
                EXPECT_NEAR(below[0].top - lastBottom, 5, 14) << "BELOW keeps close under C";
            }
        }
    }
}
