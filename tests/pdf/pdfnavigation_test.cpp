// The report's outline as the document outline, and views with an address as links.
#include "pdftools.h"
#include "reports.h"

#include "report/pages/previewpages.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace orv::pdf;
using namespace orv::report;

using namespace orv::pdf::test;

namespace {

QByteArray objectLines(std::initializer_list<QByteArray> items)
{
    QByteArray out;
    for (const QByteArray& i : items)
        out += i + "\r\n";
    return out;
}

// A report of three pages with a memo on each.
std::unique_ptr<TfrxReport> threePages()
{
    auto report = makeReport();
    addMemo(firstPage(*report), QStringLiteral("txtUno"), 0, 0, 200, 20, QStringLiteral("Uno"));
    for (int i = 2; i <= 3; ++i) {
        auto* page = new TfrxReportPage(report.get());
        page->SetName(QStringLiteral("Page%1").arg(i));
        page->SetLeftMargin(10);
        page->SetRightMargin(10);
        page->SetTopMargin(10);
        page->SetBottomMargin(10);
        addMemo(page, QStringLiteral("txtPagina%1").arg(i), 0, 0, 200, 20, QStringLiteral("Pagina %1").arg(i));
    }
    return report;
}

TfrxPreviewPages& pagesOf(TfrxReport& report) { return static_cast<TfrxPreviewPages&>(*report.PreviewPages()); }

// "Uno" on page 1 with a child "Uno.a", "Due" on page 2, "Tre" on page 3.
void addOutline(TfrxReport& report)
{
    TfrxPreviewPages& pages = pagesOf(report);
    TfrxCustomOutline* outline = pages.Outline();
    outline->LevelRoot();
    pages.CurPage = 0;
    outline->AddItem(QStringLiteral("Uno"), 10);
    outline->AddItem(QStringLiteral("Uno.a"), 20);
    outline->LevelUp();
    outline->LevelUp();
    pages.CurPage = 1;
    outline->AddItem(QStringLiteral("Due"), 30);
    outline->LevelUp();
    pages.CurPage = 2;
    outline->AddItem(QStringLiteral("Tre"), 40);
    outline->LevelUp();
}

QByteArray exportPrepared(TfrxReport& report, const std::function<void(TfrxPDFExport&)>& setup)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TfrxPDFExport pdf;
    pdf.SetShowDialog(false);
    pdf.SetCompressed(false);
    pdf.Stream = &buffer;
    setup(pdf);
    EXPECT_TRUE(report.Export(&pdf));
    return buffer.data();
}

using PdfNavigationTest = ReportTest;

} // namespace

TEST_F(PdfNavigationTest, OutlineWithoutEntriesNamesNoOutlineObject)
{
    auto report = threePages();
    ASSERT_TRUE(report->PrepareReport(true));
    const PdfFile file(exportPrepared(*report, [](TfrxPDFExport& pdf) { pdf.SetOutline(true); }));
    ASSERT_EQ(file.check(), QString());
    const QByteArray catalog = file.object(PdfFile::reference(file.trailer(), "/Root"));
    // A document outline with nothing in it is no outline: nothing to name or open.
    EXPECT_TRUE(catalog.contains("/PageMode /UseNone\r\n")) << catalog.toStdString();
    EXPECT_FALSE(catalog.contains("/Outlines")) << catalog.toStdString();
    EXPECT_TRUE(file.objectsWith("/Type /Outlines").isEmpty());
}

TEST_F(PdfNavigationTest, OutlineItemsBecomeTheDocumentOutline)
{
    auto report = threePages();
    ASSERT_TRUE(report->PrepareReport(true));
    addOutline(*report);
    const PdfFile file(exportPrepared(*report, [](TfrxPDFExport& pdf) { pdf.SetOutline(true); }));
    ASSERT_EQ(file.check(), QString());
    const QList<int> pages = file.pages();
    ASSERT_EQ(pages.size(), 3);
    const QList<int> roots = file.objectsWith("/Type /Outlines");
    ASSERT_EQ(roots.size(), 1);
    const int c = roots[0];
    const QByteArray n = QByteArray::number(c);
    const auto num = [c](int k) { return QByteArray::number(c + k); };
    EXPECT_EQ(file.object(c), objectLines({n + " 0 obj", "<<", "/Type /Outlines", "/Count 3", "/First " + num(1) + " 0 R",
                                     "/Last " + num(4) + " 0 R", ">>", "endobj"}));
    // Pre-order: Uno, Uno.a, Due, Tre; each names the page its item lies on.
    EXPECT_EQ(file.object(c + 1),
              objectLines({num(1) + " 0 obj", "<<", "/Title <FEFF0055006E006F>", "/Parent " + n + " 0 R",
                     "/Next " + num(3) + " 0 R", "/First " + num(2) + " 0 R", "/Last " + num(2) + " 0 R", "/Count 1",
                     "/Dest [" + QByteArray::number(pages[0]) + " 0 R /XYZ 0 834 0]", ">>", "endobj"}));
    EXPECT_TRUE(file.object(c + 2).contains("/Parent " + num(1) + " 0 R\r\n/Dest [" + QByteArray::number(pages[0]) +
                                            " 0 R /XYZ 0 827 0]\r\n"))
        << file.object(c + 2).toStdString();
    EXPECT_TRUE(file.object(c + 4).contains("/Prev " + num(3) + " 0 R\r\n/Dest [" + QByteArray::number(pages[2]) +
                                            " 0 R /XYZ 0 812 0]\r\n"));
    const QByteArray catalog = file.object(PdfFile::reference(file.trailer(), "/Root"));
    EXPECT_TRUE(catalog.contains("/Outlines " + n + " 0 R\r\n"));
}

TEST_F(PdfNavigationTest, OutlineLeavesOutItemsOfPagesNotExported)
{
    auto report = threePages();
    ASSERT_TRUE(report->PrepareReport(true));
    addOutline(*report);
    const PdfFile file(exportPrepared(*report, [](TfrxPDFExport& pdf) {
        pdf.SetOutline(true);
        pdf.PageNumbers = QStringLiteral("1,3");
    }));
    ASSERT_EQ(file.check(), QString());
    ASSERT_EQ(file.pages().size(), 2);
    const int c = file.objectsWith("/Type /Outlines").value(0);
    EXPECT_TRUE(file.object(c).contains("/Count 2\r\n"));
    EXPECT_TRUE(file.object(c + 3).contains("/Title <FEFF005400720065>")) << file.object(c + 3).toStdString();
    EXPECT_TRUE(file.object(c + 3).contains("/Dest [" + QByteArray::number(file.pages()[1]) + " 0 R"));
    EXPECT_TRUE(file.objectsWith("/Title <FEFF004400750065>").isEmpty());
}

TEST_F(PdfNavigationTest, ViewsWithAnAddressBecomeLinks)
{
    auto report = threePages();
    TfrxReportPage* page = firstPage(*report);
    struct Link {
        const char* url;
        double top, height;
    };
    const Link links[] = {{"#Totale", 40, 20},         {"@1", 70, 20},
                          {"http://www.example.it/a b?q=\"1\"&r=%41{5}%", 100, 20}, {"http://example.it/città", 130, 20},
                          {"http://example.it/a)b", 160, 20},     {"#Assente", 190, 20},
                          {"http://example.it/vuoto", 220, 0}};
    int i = 0;
    for (const Link& l : links)
        addMemo(page, QStringLiteral("txtLink%1").arg(++i), 0, l.top, 200, l.height, QStringLiteral("link"))
            ->SetURL(QString::fromUtf8(l.url));
    ASSERT_TRUE(report->PrepareReport(true));
    TfrxPreviewPages& pages = pagesOf(*report);
    pages.CurPage = 1;
    pages.Engine->CurY = 300;
    pages.AddAnchor(QStringLiteral("Totale"));

    const PdfFile file(exportPrepared(*report, [](TfrxPDFExport&) {}));
    ASSERT_EQ(file.check(), QString());
    const QList<int> pageObjects = file.pages();
    const QByteArray page1 = file.dictionary(pageObjects[0]);
    const QList<int> annots = file.objectsWith("/Subtype /Link");
    ASSERT_EQ(annots.size(), 6); // no link for the anchor that does not exist
    QByteArray listed;
    for (int a : annots)
        listed += QByteArray::number(a) + " 0 R\r\n";
    EXPECT_TRUE(page1.contains("/Annots [\r\n" + listed + "]\r\n")) << page1.toStdString();
    EXPECT_FALSE(file.dictionary(pageObjects[1]).contains("/Annots"));

    // The anchor on page 2 at 300 pixels: 841.39 - 225 points.
    EXPECT_TRUE(file.object(annots[0]).contains("/Border [16 16 0]\r\n/Dest [" + QByteArray::number(pageObjects[1]) +
                                                " 0 R /XYZ null 616 null]\r\n"))
        << file.object(annots[0]).toStdString();
    EXPECT_TRUE(file.object(annots[1]).contains("/Dest [" + QByteArray::number(pageObjects[0]) +
                                                " 0 R /XYZ null 841 null]\r\n"));
    EXPECT_TRUE(file.object(annots[2]).contains(
        "/BS << /W 0 >>\r\n/A <<\r\n/URI (http://www.example.it/a%20b?q=%221%22&r=%41%7B5%7D%25)\r\n"
        "/Type /Action\r\n/S /URI\r\n>>\r\n"))
        << file.object(annots[2]).toStdString();
    // Characters outside ASCII travel percent-encoded, as addresses carry them.
    EXPECT_TRUE(file.object(annots[3]).contains("/URI (http://example.it/citt%C3%A0)\r\n"))
        << file.object(annots[3]).toStdString();
    EXPECT_TRUE(file.object(annots[4]).contains("/URI <" + QByteArray("http://example.it/a)b").toHex().toUpper() +
                                                ">\r\n"));
    // The rectangle: lower-left, then upper-right corner; a view without height keeps it.
    const QByteArray rect = file.object(annots[2]).mid(file.object(annots[2]).indexOf("/Rect ["));
    EXPECT_TRUE(rect.startsWith("/Rect [28.85 723.04 178.85 738.04]")) << rect.toStdString();
    const QByteArray flat = file.object(annots[5]);
    const QList<QByteArray> corners = flat.mid(flat.indexOf("/Rect [") + 7, flat.indexOf(']', flat.indexOf("/Rect [")) - flat.indexOf("/Rect [") - 7).split(' ');
    ASSERT_EQ(corners.size(), 4) << flat.toStdString();
    EXPECT_EQ(corners[1], corners[3]);
    EXPECT_EQ(corners[0], QByteArray("28.85"));
}

TEST_F(PdfNavigationTest, LinksOfProtectedDocumentsAreEncrypted)
{
    if (!haveTools())
        GTEST_SKIP() << "qpdf and poppler-utils are not installed";
    auto report = makeReport();
    addMemo(firstPage(*report), QStringLiteral("txtSito"), 0, 0, 200, 20, QStringLiteral("sito"))
        ->SetURL(QStringLiteral("http://www.example.it/"));
    ASSERT_TRUE(report->PrepareReport(true));
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath(QStringLiteral("link.pdf"));
    TfrxPDFExport pdf;
    pdf.SetShowDialog(false);
    pdf.SetOutline(true);
    pdf.SetOwnerPassword(QStringLiteral("padrone"));
    pdf.SetFileName(file);
    ASSERT_TRUE(report->Export(&pdf));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_FALSE(f.readAll().contains("example"));
    const ToolResult decrypted =
        runTool(QStringLiteral("qpdf"), {QStringLiteral("--password=padrone"), QStringLiteral("--decrypt"),
                                         QStringLiteral("--qdf"), file, QDir(dir.path()).filePath(QStringLiteral("chiaro.pdf"))});
    ASSERT_EQ(decrypted.exitCode, 0) << decrypted.output.toStdString();
    QFile plain(QDir(dir.path()).filePath(QStringLiteral("chiaro.pdf")));
    ASSERT_TRUE(plain.open(QIODevice::ReadOnly));
    EXPECT_TRUE(plain.readAll().contains("/URI (http://www.example.it/)"));
}

TEST_F(PdfNavigationTest, LinksLandAtTheTopOfTheirTargetWhateverTheSizesOfBothPages)
{
    // Pages of other sizes and orientations, each linking to every page by number; the
    // first page also names an anchor at the top of each page. Every destination is the
    // top of the printable area of the target page itself.
    struct Paper {
        double width, height, top; // millimetres
    };
    const Paper papers[] = {{100, 150, 10}, {297, 210, 5}, {210, 297, 20}, {80, 400, 0}, {148, 105, 12}};
    const int n = int(std::size(papers));
    auto report = makeReport();
    for (int p = 0; p < n; ++p) {
        TfrxReportPage* page = p == 0 ? firstPage(*report) : new TfrxReportPage(report.get());
        if (p > 0)
            page->SetName(QStringLiteral("Pagina%1").arg(p + 1));
        page->SetPaperWidth(papers[p].width);
        page->SetPaperHeight(papers[p].height);
        page->SetLeftMargin(5);
        page->SetRightMargin(5);
        page->SetTopMargin(papers[p].top);
        page->SetBottomMargin(5);
        for (int target = 0; target < n; ++target)
            addMemo(page, QStringLiteral("txtVai%1_%2").arg(p + 1).arg(target + 1), 0, 20 * target, 60, 15,
                    QStringLiteral("vai"))
                ->SetURL(QStringLiteral("@%1").arg(target + 1));
    }
    for (int target = 0; target < n; ++target)
        addMemo(firstPage(*report), QStringLiteral("txtAncora%1").arg(target + 1), 100, 20 * target, 60, 15,
                QStringLiteral("ancora"))
            ->SetURL(QStringLiteral("#Inizio%1").arg(target + 1));
    ASSERT_TRUE(report->PrepareReport(true));
    TfrxPreviewPages& pages = pagesOf(*report);
    ASSERT_EQ(pages.Count(), n);
    for (int target = 0; target < n; ++target) {
        pages.CurPage = target;
        pages.Engine->CurY = 0;
        pages.AddAnchor(QStringLiteral("Inizio%1").arg(target + 1));
    }

    const PdfFile file(exportPrepared(*report, [](TfrxPDFExport&) {}));
    ASSERT_EQ(file.check(), QString());
    const QList<int> pageObjects = file.pages();
    ASSERT_EQ(pageObjects.size(), n);
    const QList<int> annots = file.objectsWith("/Subtype /Link");
    ASSERT_EQ(annots.size(), n * n + n);
    QList<int> landed(n, 0);
    for (int a : annots) {
        const QByteArray object = file.object(a);
        const qsizetype at = object.indexOf("/Dest [");
        ASSERT_GE(at, 0) << object.toStdString();
        const QList<QByteArray> dest = object.mid(at + 7, object.indexOf(']', at) - at - 7).split(' ');
        ASSERT_EQ(dest.size(), 7) << object.toStdString();
        const int target = int(pageObjects.indexOf(dest[0].toInt()));
        ASSERT_GE(target, 0) << object.toStdString();
        const double height = papers[target].height * fr01cm * 0.75;
        EXPECT_EQ(dest[5].toInt(), qRound(height - papers[target].top * 0.05))
            << "target page " << target + 1 << ": " << object.toStdString();
        ++landed[target];
    }
    // Every page is the target of one link from each page, and of one anchor.
    EXPECT_EQ(landed, QList<int>(n, n + 1));
}
