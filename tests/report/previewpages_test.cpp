// Prepared pages: how they are stored, read back, cached, drawn, edited, exported, and
// saved as a prepared report and read again.
#include "layouts.h"
#include "recording_canvas.h"

#include "report/base/errors.h"
#include "report/base/serializer.h"
#include "report/model/bands.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"
#include "platform/ui/services.h"

#include <QBuffer>

#include <cmath>

#include <gtest/gtest.h>

using namespace orv::report;

using namespace orv::report::test;

namespace {

TfrxPreviewPages& previewPagesOf(TfrxReport& report) { return *static_cast<TfrxPreviewPages*>(report.PreviewPages()); }

TfrxXMLItem* section(TfrxPreviewPages& pages, const QString& name)
{
    TfrxXMLItem* root = pages.XMLDoc()->Root();
    const int at = root->Find(name);
    return at < 0 ? nullptr : root->Items(at);
}

QByteArray saved(TfrxPreviewPages& pages)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    pages.SaveToStream(buffer);
    return buffer.data();
}

std::unique_ptr<TfrxReport> preparedList(int lines)
{
    auto report = makeListLayout();
    fillList(*report, lines);
    EXPECT_TRUE(report->PrepareReport(true));
    return report;
}

// A filter that records the protocol and can fail on a chosen object.
class RecordingFilter : public TfrxCustomExportFilter {
public:
    RecordingFilter() : TfrxCustomExportFilter(NoRegister{}) { SetShowDialog(false); }
    QStringList calls;
    QString failOn;
    bool Start() override
    {
        calls << QStringLiteral("Start");
        return true;
    }
    void StartPage(TfrxReportPage*, int Index) override { calls << QStringLiteral("StartPage %1").arg(Index); }
    void ExportObject(TfrxComponent* Obj) override
    {
        if (!failOn.isEmpty() && Obj->Name() == failOn)
            throw orv::report::Error(QStringLiteral("disco pieno"));
        if (auto* memo = dynamic_cast<TfrxCustomMemoView*>(Obj))
            calls << QStringLiteral("memo ") + memo->Text().trimmed();
    }
    void FinishPage(TfrxReportPage*, int Index) override { calls << QStringLiteral("FinishPage %1").arg(Index); }
    void Finish() override { calls << QStringLiteral("Finish"); }
};

} // namespace

TEST(PreviewPagesTest, PagesAreStoredAsDifferencesFromOneSourcePage)
{
    auto report = preparedList(150);
    TfrxPreviewPages& pages = previewPagesOf(*report);
    ASSERT_EQ(pages.Count(), 3);
    EXPECT_EQ(pages.SourcePages().size(), 1u);
    TfrxXMLItem* list = section(pages, QStringLiteral("previewpages"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(list->Items(i)->Name, QStringLiteral("page0"));
        EXPECT_EQ(list->Items(i)->Unloadable, i == 2);
    }
    // The title band and its memo: aliases and the memo's text always. The objects lying
    // on the page come next, in a band without a source object.
    TfrxXMLItem* first = list->Items(0);
    const TfrxXMLItem* title = first->Items(0);
    EXPECT_EQ(first->Items(1)->Name, QStringLiteral("TfrxNullBand"));
    EXPECT_EQ(pages.Dictionary().GetSourceName(title->Name), QStringLiteral("Page0.ReportTitle"));
    EXPECT_TRUE(title->Name.startsWith(u'b'));
    EXPECT_EQ(title->Items(0)->Text, QStringLiteral(" u=\"Riepilogo\""));
    EXPECT_EQ(pages.Dictionary().GetSourceName(QStringLiteral("m1")), QStringLiteral("Page0.txtTitolo"));
}

TEST(PreviewPagesTest, EachPageOfAListIsReadWithoutTheWholeList)
{
    // Every page is read from its source objects' description plus its own differences:
    // when the list memo's description held the whole list, reading each page read all
    // of it, and exporting 50,000 lines took minutes.
    auto report = preparedList(600);
    TfrxPreviewPages& pages = pagesOf(*report);
    ASSERT_GT(pages.Count(), 10);
    TfrxComponent* source = nullptr;
    for (const QString& alias : pages.Dictionary().SortedNames())
        if (pages.Dictionary().GetSourceName(alias) == u"Page0.txtRiepilogo")
            source = pages.Dictionary().GetObject(alias);
    ASSERT_NE(source, nullptr);
    EXPECT_FALSE(source->BaseName().contains(QStringLiteral("RIGA 0001"))) << source->BaseName().left(200).toStdString();
    EXPECT_LT(source->BaseName().size(), 2000);
    EXPECT_EQ(dynamic_cast<TfrxCustomMemoView*>(source)->Memo()->Count(), 600) << "the source keeps its text";
    // Read back, the pages still hold every line once, in order.
    QStringList lines;
    for (int i = 0; i < pages.Count(); ++i)
        if (auto* memo = dynamic_cast<TfrxMemoView*>(pages.GetPage(i)->FindObject(QStringLiteral("txtRiepilogo"))))
            for (int k = 0; k < memo->Memo()->Count(); ++k)
                lines << memo->Memo()->Get(k);
    ASSERT_EQ(lines.size(), 600);
    EXPECT_EQ(lines.first(), QStringLiteral("RIGA 0001 CLIENTE DI PROVA"));
    EXPECT_EQ(lines.last(), QStringLiteral("RIGA 0600 CLIENTE DI PROVA"));
}

TEST(PreviewPagesTest, AliasesOfTheCard)
{
    auto report = makeCardLayout();
    ASSERT_TRUE(report->PrepareReport(true));
    TfrxDictionary& d = previewPagesOf(*report).Dictionary();
    EXPECT_EQ(d.GetSourceName(QStringLiteral("p1")), QStringLiteral("Page0.imgLogo"));
    EXPECT_EQ(d.GetSourceName(QStringLiteral("m1")), QStringLiteral("Page0.titScheda"));
    EXPECT_EQ(d.GetSourceName(QStringLiteral("s2")), QStringLiteral("Page0.shpNote"));
    EXPECT_EQ(d.GetSourceName(QStringLiteral("l1")), QStringLiteral("Page0.linSeparatore"));
    EXPECT_EQ(d.GetSourceName(QStringLiteral("m49")), QStringLiteral("Page0.txtCampo24"));
    // A line that equals its source copy carries nothing.
    TfrxXMLItem* page = section(previewPagesOf(*report), QStringLiteral("previewpages"))->Items(0);
    const TfrxXMLItem* band = page->Items(0);
    bool foundLine = false;
    for (int i = 0; i < band->Count(); ++i)
        if (band->Items(i)->Name == u"l1") {
            EXPECT_EQ(band->Items(i)->Text, QString());
            foundLine = true;
        }
    EXPECT_TRUE(foundLine);

    TfrxDictionary fresh;
    EXPECT_EQ(fresh.CreateUniqueName(QStringLiteral("m")), QStringLiteral("m1"));
    for (int i = 1; i <= 100; ++i)
        fresh.Add(QStringLiteral("m%1").arg(i), QString(), nullptr);
    EXPECT_EQ(fresh.CreateUniqueName(QStringLiteral("m")), QStringLiteral("m101"));
}

TEST(PreviewPagesTest, BuildingOperations)
{
    TfrxReport report;
    auto* page = new TfrxReportPage(&report);
    auto* footer = new TfrxPageFooter(page);
    footer->SetName(QStringLiteral("PageFooter1"));
    footer->SetBounds(0, 600, 700, 40);
    auto* band = new TfrxMasterData(page);
    band->SetName(QStringLiteral("MasterData1"));
    band->SetBounds(0, 100, 700, 30);
    TfrxPreviewPages& pages = previewPagesOf(report);
    pages.Initialize();
    pages.AddSourcePage(page);
    pages.AddPageAction = apAdd;
    pages.AddPage(page);
    pages.AddPage(page);
    EXPECT_EQ(pages.Count(), 2);
    pages.CurPage = 0;
    pages.AddPageAction = apWriteOver;
    pages.AddPage(page);
    EXPECT_EQ(pages.Count(), 2) << "writes over the page that follows";
    pages.AddPageAction = apAdd;
    pages.AddPage(page);
    EXPECT_EQ(pages.Count(), 3);

    // Only a page footer on the page: nothing below the bands counts.
    footer->SetTop(600);
    pages.AddObject(footer);
    EXPECT_EQ(pages.GetLastY(0), 0);
    band->SetTop(500);
    pages.AddObject(band);
    band->SetTop(540);
    pages.AddObject(band);
    EXPECT_NEAR(double(pages.GetLastY(0)), 570, 1e-9);
    EXPECT_TRUE(pages.BandExists(band));
    // Cut from y 500, pasted at 20: both bands move up by 480.
    pages.CutObjects(1);
    EXPECT_EQ(pages.GetCurPosition(), 1);
    pages.PasteObjects(0, 20);
    EXPECT_NEAR(double(pages.GetLastY(0)), 90, 1e-9);
    TfrxXMLItem* current = section(pages, QStringLiteral("previewpages"))->Items(2);
    EXPECT_EQ(current->Items(1)->Prop(QStringLiteral("t")), QStringLiteral("20"));
    EXPECT_EQ(current->Items(2)->Prop(QStringLiteral("t")), QStringLiteral("60"));

    pages.AddAnchor(QStringLiteral("Capitolo"));
    EXPECT_EQ(pages.GetAnchorPage(QStringLiteral("capitolo")), 3);
    EXPECT_EQ(pages.GetAnchorPage(QStringLiteral("altro")), 1);
    pages.Finish();
}

TEST(PreviewPagesTest, LogicalPageNumbersRestartPerGroup)
{
    TfrxReport report;
    auto* page = new TfrxReportPage(&report);
    TfrxPreviewPages& pages = previewPagesOf(report);
    pages.Initialize();
    pages.AddSourcePage(page);
    pages.AddPageAction = apAdd;
    pages.BeginPass();
    for (int i = 0; i < 3; ++i)
        pages.AddPage(page);
    pages.ResetLogicalPageNumber();
    for (int i = 0; i < 2; ++i)
        pages.AddPage(page);
    pages.ResetLogicalPageNumber();
    TfrxXMLItem* numbers = section(pages, QStringLiteral("logicalpagenumbers"));
    QStringList n, t;
    for (int i = 0; i < numbers->Count(); ++i) {
        n << numbers->Items(i)->Prop(QStringLiteral("n"));
        t << numbers->Items(i)->Prop(QStringLiteral("t"));
    }
    EXPECT_EQ(n.join(u','), QStringLiteral("1,2,3,1,2"));
    EXPECT_EQ(t.join(u','), QStringLiteral("3,3,3,2,2"));
    pages.CurPage = 3;
    EXPECT_EQ(pages.GetLogicalPageNo(), 1);
    EXPECT_EQ(pages.GetLogicalTotalPages(), 2);
    pages.Finish();
}

TEST(PreviewPagesTest, PageCacheAndEditing)
{
    auto report = preparedList(200);
    TfrxPreviewPages& pages = previewPagesOf(*report);
    ASSERT_EQ(pages.Count(), 4);
    TfrxReportPage* first = pages.GetPage(0);
    EXPECT_EQ(pages.GetPage(0), first);
    first->SetTag(7);
    report->PreviewOptions()->SetPagesInCache(2);
    pages.GetPage(1);
    pages.GetPage(2);
    EXPECT_EQ(pages.GetPage(0)->Tag(), 0) << "page 1 was dropped from the cache and is built again";
    EXPECT_EQ(pages.GetPageSize(0), QPoint(1123, 794));
    EXPECT_EQ(pages.GetPageSize(9), QPoint(0, 0));

    pages.DeletePage(3);
    EXPECT_EQ(pages.Count(), 3);
    TfrxReportPage* page = pages.GetPage(1);
    auto* memo = dynamic_cast<TfrxMemoView*>(page->FindObject(QStringLiteral("txtRiepilogo")));
    ASSERT_TRUE(memo);
    memo->SetText(QStringLiteral("modificata"));
    pages.ModifyPage(1, page);
    EXPECT_EQ(section(pages, QStringLiteral("previewpages"))->Items(1)->Name, QStringLiteral("TfrxReportPage"));
    auto* again = dynamic_cast<TfrxMemoView*>(pages.GetPage(1)->FindObject(QStringLiteral("txtRiepilogo")));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->Text(), QStringLiteral("modificata\r\n"));
    pages.AddEmptyPage(0);
    EXPECT_EQ(pages.Count(), 4);

    auto single = preparedList(2);
    previewPagesOf(*single).DeletePage(0);
    EXPECT_EQ(previewPagesOf(*single).Count(), 1) << "the last page stays";
}

TEST(PreviewPagesTest, DrawingThroughTheImageCache)
{
    auto report = preparedList(2);
    TfrxPreviewPages& pages = previewPagesOf(*report);
    RecordingCanvas screen;
    pages.DrawPage(0, &screen, 1, 1, 10, 20);
    pages.DrawPage(0, &screen, 1, 1, 10, 20);
    pages.DrawPage(0, &screen, 2, 2, 10, 20);
    ASSERT_EQ(screen.shapes.size(), 3u);
    EXPECT_EQ(screen.shapes[0].rect, QRectF(10, 20, 1123, 794));
    EXPECT_EQ(screen.shapes[0].image.cacheKey(), screen.shapes[1].image.cacheKey()) << "the same zoom: the same image";
    EXPECT_EQ(screen.shapes[2].image.size(), QSize(2246, 1588));

    // A printer gets vector output, margins mirrored on the second page.
    report->GetPageAs<TfrxReportPage>(1);
    RecordingCanvas printer(true);
    pages.DrawPage(0, &printer, 1, 1, 0, 0);
    ASSERT_GE(printer.texts.size(), 2u);
    EXPECT_EQ(printer.texts[1].text, QStringLiteral("RIGA 0001 CLIENTE DI PROVA"));
    // The view's rectangle is rounded to whole device pixels, the text starts the gap after it.
    EXPECT_EQ(printer.texts[1].topLeft.x(), std::round(10 * fr01cm + 11.33859) + 2) << "inside the left margin";
}

TEST(PreviewPagesTest, MirroredMarginsOnEvenPages)
{
    auto report = makeListLayout();
    auto* page = report->GetPageAs<TfrxReportPage>(1);
    page->SetMirrorMargins(true);
    page->SetLeftMargin(20);
    page->SetRightMargin(10);
    fillList(*report, 100);
    ASSERT_TRUE(report->PrepareReport(true));
    TfrxPreviewPages& pages = previewPagesOf(*report);
    ASSERT_GE(pages.Count(), 2);
    RecordingCanvas one(true), two(true);
    pages.DrawPage(0, &one, 1, 1, 0, 0);
    pages.DrawPage(1, &two, 1, 1, 0, 0);
    ASSERT_FALSE(one.texts.empty());
    ASSERT_FALSE(two.texts.empty());
    const double memoLeft = 11.33859 + 2;
    EXPECT_NEAR(one.texts.back().topLeft.x(), 20 * fr01cm + memoLeft, 1.5);
    EXPECT_NEAR(two.texts.front().topLeft.x(), 10 * fr01cm + memoLeft, 1.5);
}

TEST(PreviewPagesTest, ClicksOnLinks)
{
    struct Preview : TfrxCustomPreview {
        int pageNo = 0, positionPage = 0, positionTop = 0;
        void Init() override {}
        void ShowHint(const QRectF&, const QString&) override {}
        void HideHint() override {}
        void Lock() override {}
        void Unlock() override {}
        void RefreshReport() override {}
        void InternalOnProgressStart(TfrxReport*, TfrxProgressType, int) override {}
        void InternalOnProgress(TfrxReport*, TfrxProgressType, int) override {}
        void InternalOnProgressStop(TfrxReport*, TfrxProgressType, int) override {}
        void SetPageNo(int n) override { pageNo = n; }
        void SetPosition(int p, int t) override
        {
            positionPage = p;
            positionTop = t;
        }
    } preview;
    auto report = makeCardLayout();
    report->FindObjectAs<TfrxMemoView>(QStringLiteral("txtCampo01"))->SetURL(QStringLiteral("@3"));
    report->FindObjectAs<TfrxMemoView>(QStringLiteral("txtCampo02"))->SetURL(QStringLiteral("#Sede"));
    ASSERT_TRUE(report->PrepareReport(true));
    TfrxPreviewPages& pages = previewPagesOf(*report);
    section(pages, QStringLiteral("anchors"));
    pages.CurPage = 0;
    pages.AddAnchor(QStringLiteral("sede"));
    report->SetPreview(&preview);
    const double left = 10 * fr01cm, top = 10 * fr01cm;
    int cursor = 0;
    pages.ObjectOver(0, int(left + 300), int(top + 100), 0, 0, 1, 0, 0, true, cursor);
    EXPECT_EQ(preview.pageNo, 3);
    EXPECT_NE(cursor, 0) << "a link shows the hand";
    pages.ObjectOver(0, int(left + 300), int(top + 125), 0, 0, 1, 0, 0, true, cursor);
    EXPECT_EQ(preview.positionPage, 1);
    cursor = 0;
    pages.ObjectOver(0, int(left + 300), int(top + 150), 0, 0, 1, 0, 0, true, cursor);
    EXPECT_EQ(cursor, 0) << "no link, no cursor of its own";
    report->SetPreview(nullptr);

    // Other addresses go to the desktop only when they are web or mail addresses.
    struct Shell : orv::platform::ui::ShellService {
        QStringList opened;
        void open(const QString& command) override { opened << command; }
    } shell;
    orv::platform::ui::setShell(&shell);
    const struct {
        const char* url;
        bool opened;
    } cases[] = {
        {"http://www.esempio.it/a?b=1", true},
        {"HTTPS://www.esempio.it", true},
        {"mailto:ufficio@esempio.it", true},
        {"/etc/passwd", false},
        {"file:///home/utente/.bashrc", false},
        {"javascript:alert(1)", false},
        {"C:\\Windows\\notepad.exe", false},
        {"www.esempio.it", false},
        {"xdg-open:http://x", false},
        {" http://www.esempio.it", false},
    };
    for (const auto& c : cases) {
        const QString url = QString::fromUtf8(c.url);
        shell.opened.clear();
        report->FindObjectAs<TfrxMemoView>(QStringLiteral("txtCampo01"))->SetURL(url);
        ASSERT_TRUE(report->PrepareReport(true));
        report->SetPreview(&preview);
        pages.ObjectOver(0, int(left + 300), int(top + 100), 0, 0, 1, 0, 0, true, cursor);
        report->SetPreview(nullptr);
        EXPECT_EQ(shell.opened, c.opened ? QStringList{url} : QStringList()) << c.url;
    }
    orv::platform::ui::setShell(nullptr);
}

TEST(PreviewPagesTest, ExportDriverFollowsTheFilterProtocol)
{
    auto report = preparedList(2);
    RecordingFilter filter;
    ASSERT_TRUE(report->Export(&filter));
    EXPECT_EQ(filter.calls.first(), QStringLiteral("Start"));
    EXPECT_EQ(filter.calls.last(), QStringLiteral("Finish"));
    EXPECT_TRUE(filter.calls.contains(QStringLiteral("memo Riepilogo")));

    QStringList shown;
    orv::report::test::ErrorBoxRecorder box(shown);
    RecordingFilter failing;
    failing.failOn = QStringLiteral("txtRiepilogo");
    EXPECT_FALSE(report->Export(&failing));
    EXPECT_EQ(failing.calls.mid(failing.calls.size() - 2),
              (QStringList{QStringLiteral("FinishPage 0"), QStringLiteral("Finish")}));
    EXPECT_EQ(report->Errors()->Text(), QStringLiteral("disco pieno\r\n"));
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].endsWith(QStringLiteral("disco pieno\r\n")));
}

TEST(PreviewPagesTest, PreparedReportRoundTrip)
{
    auto report = makeCardLayout();
    ASSERT_TRUE(report->PrepareReport(true));
    TfrxPreviewPages& pages = previewPagesOf(*report);
    const QByteArray first = saved(pages);
    EXPECT_EQ(saved(pages), first) << "saving twice gives the same document";
    EXPECT_TRUE(first.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>"));

    TfrxReport other;
    other.SetDotMatrixReport(false);
    QBuffer in;
    in.setData(first);
    in.open(QIODevice::ReadOnly);
    TfrxPreviewPages& loaded = previewPagesOf(other);
    loaded.LoadFromStream(in);
    ASSERT_EQ(loaded.Count(), 1);
    EXPECT_EQ(loaded.GetPageSize(0), pages.GetPageSize(0));
    EXPECT_EQ(other.ReportOptions()->Name(), QStringLiteral("Scheda informativa"));
    TfrxReportPage* a = pages.GetPage(0);
    TfrxReportPage* b = loaded.GetPage(0);
    const QList<TfrxComponent*> as = a->AllObjects(), bs = b->AllObjects();
    ASSERT_EQ(as.size(), bs.size());
    for (int i = 0; i < as.size(); ++i) {
        EXPECT_EQ(as[i]->Name(), bs[i]->Name());
        EXPECT_NEAR(as[i]->AbsTop(), bs[i]->AbsTop(), 1e-9);
        EXPECT_NEAR(as[i]->AbsLeft(), bs[i]->AbsLeft(), 1e-9);
        if (auto* m = dynamic_cast<TfrxCustomMemoView*>(as[i])) {
            EXPECT_EQ(m->Text(), static_cast<TfrxCustomMemoView*>(bs[i])->Text());
        }
    }
    auto* logo = dynamic_cast<TfrxPictureView*>(b->FindObject(QStringLiteral("imgLogo")));
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->Picture()->Image().pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(logo->Picture()->Image().pixel(1, 0), 0xFF336699u);
    // Read and written again alike (the reader drops the blank doubled before a picture's
    // attributes).
    EXPECT_EQ(saved(loaded), QByteArray(first).replace("  ", " "));

    // A report element marked dot-matrix switches the report; no picture cache: no pictures.
    QByteArray edited = first;
    edited.replace("DotMatrixReport=\"0\"", "DotMatrixReport=\"1\"");
    const qsizetype at = edited.indexOf("<picturecache>");
    ASSERT_GE(at, 0);
    edited.remove(at, edited.indexOf("</picturecache>") + 15 - at);
    QBuffer in2;
    in2.setData(edited);
    in2.open(QIODevice::ReadOnly);
    TfrxReport third;
    previewPagesOf(third).LoadFromStream(in2);
    EXPECT_TRUE(third.DotMatrixReport());
    auto* empty = dynamic_cast<TfrxPictureView*>(previewPagesOf(third).GetPage(0)->FindObject(QStringLiteral("imgLogo")));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->Picture()->IsEmpty());
}

TEST(PreviewPagesTest, PartialLoadingReadsPagesWhenAsked)
{
    auto report = preparedList(200);
    const QByteArray document = saved(previewPagesOf(*report));
    EXPECT_TRUE(document.contains("ld=\"0\""));
    TfrxReport other;
    QBuffer in;
    in.setData(document);
    in.open(QIODevice::ReadOnly);
    previewPagesOf(other).LoadFromStream(in, true);
    ASSERT_EQ(previewPagesOf(other).Count(), 4);
    EXPECT_FALSE(section(previewPagesOf(other), QStringLiteral("previewpages"))->Items(3)->Loaded);
    ASSERT_TRUE(previewPagesOf(other).GetPage(0));
    EXPECT_FALSE(section(previewPagesOf(other), QStringLiteral("previewpages"))->Items(3)->Loaded);
    EXPECT_EQ(saved(previewPagesOf(other)), document);
}

TEST(PreviewPagesTest, ADamagedPreparedReportIsRefusedWholeAndTheShownOneStays)
{
    auto report = preparedList(200);
    TfrxPreviewPages& pages = previewPagesOf(*report);
    pages.Outline()->LevelRoot();
    pages.CurPage = 1;
    pages.Outline()->AddItem(QStringLiteral("Elenco"), 40);
    const QByteArray good = saved(pages);
    ASSERT_GE(pages.Count(), 2);
    ASSERT_TRUE(good.contains("<page0")) << good.left(600).toStdString();
    ASSERT_TRUE(good.contains("page=\"1\""));
    // The first alias a page uses, renamed where the page uses it.
    const qsizetype pageAt = good.indexOf("<page0");
    const qsizetype childAt = good.indexOf('<', good.indexOf('>', pageAt)) + 1;
    const QByteArray alias = good.mid(childAt, good.indexOf(' ', childAt) - childAt);
    ASSERT_FALSE(alias.isEmpty());
    auto edited = [&](const QByteArray& from, const QByteArray& to, qsizetype after = 0) {
        QByteArray d = good;
        const qsizetype at = d.indexOf(from, after);
        EXPECT_GE(at, 0) << from.toStdString();
        return at < 0 ? d : d.replace(at, from.size(), to);
    };
    // A number of an object on a page, replaced: the page still reads, but not as saved.
    auto number = [&](const QByteArray& name, const QByteArray& value) {
        QByteArray d = good;
        const qsizetype at = d.indexOf(" " + name + "=\"", childAt);
        EXPECT_GE(at, 0) << name.toStdString();
        if (at < 0)
            return d;
        const qsizetype from = at + name.size() + 3;
        return d.replace(from, d.indexOf('"', from) - from, value);
    };
    const struct {
        const char* what;
        QByteArray document;
    } cases[] = {
        {"unknown alias", edited("<" + alias + " ", "<zz9999 ", pageAt)},
        {"a top on a page that is no number", number("t", "abc")},
        {"a height on a page beyond every number", number("h", "1e999")},
        {"a left on a page that is no number", number("l", "1,2,3")},
        {"page of a source page beyond the file's", edited("<page0", "<page7")},
        {"outline place beyond the last page", edited("page=\"1\"", "page=\"" + QByteArray::number(pages.Count() + 3) + "\"")},
        {"page number that is no number", edited("page=\"1\"", "page=\"uno\"")},
        {"truncated", good.left(good.size() * 2 / 3)},
    };
    for (const auto& c : cases) {
        TfrxReport other;
        QBuffer first;
        first.setData(good);
        first.open(QIODevice::ReadOnly);
        previewPagesOf(other).LoadFromStream(first);
        const int count = previewPagesOf(other).Count();
        const QByteArray before = saved(previewPagesOf(other));
        QBuffer in;
        in.setData(c.document);
        in.open(QIODevice::ReadOnly);
        try {
            previewPagesOf(other).LoadFromStream(in);
            ADD_FAILURE() << c.what << ": loaded";
        } catch (const orv::report::Error& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Invalid file format")) << c.what;
        }
        // The report read before is whole: its pages, their objects and its outline.
        EXPECT_EQ(previewPagesOf(other).Count(), count) << c.what;
        for (int i = 0; i < count; ++i)
            ASSERT_NE(previewPagesOf(other).GetPage(i), nullptr) << c.what;
        EXPECT_EQ(saved(previewPagesOf(other)), before) << c.what;
    }
}

// A page read back copies its source page as it is now: the copy kept for reading pages
// back must not outlive a change of the source page's size, before or after any page was
// read, nor a source page taken by another one.
TEST(PreviewPagesTest, PagesReadBackFollowTheSourcePageSize)
{
    TfrxReport report;
    auto* page = new TfrxReportPage(&report);
    page->SetPaperWidth(210);
    page->SetPaperHeight(297);
    auto* band = new TfrxMasterData(page);
    band->SetName(QStringLiteral("MasterData1"));
    band->SetBounds(0, 100, 700, 30);
    TfrxPreviewPages& pages = previewPagesOf(report);
    pages.Initialize();
    pages.AddSourcePage(page);
    pages.AddPageAction = apAdd;
    for (int i = 0; i < 3; ++i) {
        pages.AddPage(page);
        pages.AddObject(band);
    }
    for (int i = 0; i < 3; ++i)
        EXPECT_DOUBLE_EQ(pages.GetPage(i)->PaperWidth(), 210) << i;
    const struct {
        double width, height;
    } sizes[] = {{150, 250}, {297, 210}, {100, 100}};
    for (const auto& s : sizes) {
        pages.UpdatePageDimensions(page, s.width * fr01cm, s.height * fr01cm);
        pages.ClearPageCache();
        for (int i = 0; i < 3; ++i) {
            TfrxReportPage* read = pages.GetPage(i);
            EXPECT_NEAR(read->PaperWidth(), s.width, 1e-6) << i;
            EXPECT_NEAR(read->PaperHeight(), s.height, 1e-6) << i;
            EXPECT_NE(read->FindObject(QStringLiteral("MasterData1")), nullptr) << i;
        }
    }
    pages.Finish();

    // Another report's pages, read into the same pages, are read back with their own size.
    TfrxReport other;
    auto* wide = new TfrxReportPage(&other);
    wide->SetPaperWidth(420);
    wide->SetPaperHeight(297);
    TfrxPreviewPages& otherPages = previewPagesOf(other);
    otherPages.Initialize();
    otherPages.AddSourcePage(wide);
    otherPages.AddPageAction = apAdd;
    otherPages.AddPage(wide);
    otherPages.Finish();
    QByteArray text = saved(otherPages);
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    pages.LoadFromStream(buffer);
    ASSERT_EQ(pages.Count(), 1);
    EXPECT_NEAR(pages.GetPage(0)->PaperWidth(), 420, 1e-6);
}

namespace {

// Every object the export hands over, with its whole state as a description and where
// it lies on the page; a filter that leaves the objects alone is handed kept pages.
class StateRecorder : public TfrxCustomExportFilter {
public:
    explicit StateRecorder(bool alone) : TfrxCustomExportFilter(NoRegister{}), m_alone(alone) { SetShowDialog(false); }
    QStringList states;
    bool LeavesObjectsAlone() const override { return m_alone; }
    void StartPage(TfrxReportPage* Page, int Index) override
    {
        states << QStringLiteral("page %1: %2").arg(Index).arg(TfrxXMLSerializer(nullptr).WriteComponentStr(Page));
    }
    void ExportObject(TfrxComponent* Obj) override
    {
        states << QStringLiteral("%1 %2 %3 %4").arg(Obj->Name()).arg(double(Obj->AbsLeft())).arg(double(Obj->AbsTop()))
                      .arg(TfrxXMLSerializer(nullptr).WriteComponentStr(Obj));
    }

private:
    bool m_alone;
};

struct KeptPagesTest : LayoutFixture {};

} // namespace

TEST_F(KeptPagesTest, KeptPagesHandOverTheObjectsThatNewPagesWould)
{
    // Rows of several heights (one, two or four lines) and texts, each with a child band
    // holding a note: pages of different row and object counts follow each other, a
    // short page after a longer one and the other way round.
    auto* header = band<TfrxPageHeader>(QStringLiteral("Testata"), 0);
    memo(header, QStringLiteral("txtPagina"), QStringLiteral("Pagina [Page#]"));
    auto* master = band<TfrxMasterData>(QStringLiteral("Righe"), 40);
    master->SetStretched(true);
    TfrxMemoView* text = memo(master, QStringLiteral("txtRiga"), QString());
    text->SetStretchMode(smActualHeight);
    auto* child = band<TfrxChild>(QStringLiteral("Nota"), 80);
    master->SetChild(child);
    memo(child, QStringLiteral("txtNota"), QString());
    for (const int count : {1, 2, 40, 41, 59, 60, 61, 130, 250}) {
        SCOPED_TRACE(count);
        std::vector<QVariantMap> values;
        for (int k = 0; k < count; ++k) {
            QString t = QStringLiteral("Riga %1 <&\"> €").arg(k + 1);
            if (k % 11 == 3)
                t += QStringLiteral("\nseconda");
            if (k % 37 == 20)
                t += QStringLiteral("\n2\n3\n4");
            values.push_back({{QStringLiteral("Testo"), k % 9 == 5 ? QString() : t}});
        }
        // Preparing reloads the layout: its objects are found again by name.
        const QString data = QStringLiteral("Dati%1").arg(count);
        report->FindObjectAs<TfrxMasterData>(QStringLiteral("Righe"))->SetDataSet(rows(data, values));
        report->FindObjectAs<TfrxMemoView>(QStringLiteral("txtRiga"))->SetText(QStringLiteral("[%1.\"Testo\"]").arg(data));
        report->FindObjectAs<TfrxMemoView>(QStringLiteral("txtNota"))->SetText(QStringLiteral("Nota: [%1.\"Testo\"]").arg(data));
        ASSERT_TRUE(report->PrepareReport(true)) << report->Errors()->Text().toStdString();
        StateRecorder kept(true), fresh(false);
        ASSERT_TRUE(report->Export(&kept));
        ASSERT_TRUE(report->Export(&fresh));
        ASSERT_EQ(kept.states.size(), fresh.states.size());
        for (qsizetype i = 0; i < kept.states.size(); ++i)
            ASSERT_EQ(kept.states[i], fresh.states[i]) << i;
    }
}
