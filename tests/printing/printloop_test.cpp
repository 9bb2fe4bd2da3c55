// Printing prepared pages: which pages, copies, collation, order, duplex and paper go to
// the printer, and what is drawn on each printed page.
#include "support.h"

#include "report/model/bands.h"
#include "report/model/views.h"
#include "platform/core/canvas.h"
#include "printing/printwriter.h"
#include "report/print/printers.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <QProcess>
#include <QPrinter>
#include <QTemporaryDir>

using namespace orv::report;
using namespace orv::report::test;

namespace {

// The page numbers printed, told by a list line that only that page holds (lines 1 to
// 54 are on page 1 of the 120-line list, 55 to 110 on page 2); an empty page gives 0.
QList<int> printedPages(const PrintedDocument& doc)
{
    QList<int> out;
    for (const PrintedPage& p : doc.pages) {
        int page = 0;
        for (const QString& line : p.lines()) {
            if (line == listLine(1))
                page = 1;
            else if (line == listLine(60))
                page = 2;
            else if (line == listLine(120))
                page = 3;
        }
        out << page;
    }
    return out;
}

} // namespace

namespace {

// A printer that writes PDF files through QPrinter at 1200 dots per inch, edge to edge.
class PdfPrinterService : public RecordingPrinterService {
public:
    std::unique_ptr<PrintDocument> StartDocument(const QString&, const QString& Title, const QString& FileName,
                                                 const DeviceMode& Mode, bool) override
    {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setResolution(1200);
        printer->setOutputFileName(FileName);
        printer->setDocName(Title);
        applyDeviceMode(*printer, Mode);
        return startQPrinterDocument(std::move(printer));
    }
};

} // namespace

class PrintLoopTest : public PrintingTest {
protected:
    std::unique_ptr<TfrxReport> report;
    // 120 lines: 54 on page 1, 56 on page 2, 10 and the footer on page 3.
    void prepare(int lines = 120)
    {
        report = preparedList(lines);
        report->PrintOptions()->SetShowDialog(false);
    }
    // Prints the 120-line list through a QPrinter into `file` (PDF at 1200 dpi, no margin).
    bool printListToPdf(const QString& file)
    {
        PdfPrinterService pdf;
        FakePrinter& p = pdf.add(QStringLiteral("PDF"));
        p.dpi = 1200;
        p.margin = 0;
        pdf.defaultPrinter = QStringLiteral("PDF");
        setPrinterService(&pdf);
        prepare();
        report->PrintOptions()->PrnOutFileName = file;
        const bool printed = report->Print();
        setPrinterService(&printing);
        return printed;
    }
};

TEST_F(PrintLoopTest, PrintsEveryPageOfTheListWithItsLinesAtTheirPlaces)
{
    prepare();
    ASSERT_EQ(pagesOf(*report).Count(), 3);
    ASSERT_TRUE(report->Print());
    ASSERT_EQ(printing.documents.size(), 1u);
    const PrintedDocument& doc = printing.documents[0];
    EXPECT_EQ(doc.printer, QStringLiteral("Ufficio"));
    EXPECT_EQ(doc.title, QStringLiteral("Riepilogo dati"));
    EXPECT_TRUE(doc.ended);
    EXPECT_FALSE(doc.aborted);
    ASSERT_EQ(doc.pages.size(), 3u);
    QStringList all;
    for (const PrintedPage& p : doc.pages) {
        EXPECT_EQ(p.mode.PaperSize, 9);
        EXPECT_EQ(p.mode.Orientation, DeviceMode::Landscape);
        EXPECT_EQ(p.mode.Copies, 1);
        all << p.lines();
    }
    QStringList expected{QStringLiteral("Riepilogo")};
    for (int i = 1; i <= 120; ++i)
        expected << listLine(i);
    ASSERT_GE(all.size(), expected.size());
    EXPECT_EQ(all.mid(0, expected.size()), expected);
    EXPECT_TRUE(all.last().startsWith(QStringLiteral("Stampa eseguita in data ")));
    EXPECT_EQ(doc.pages[0].lines().size(), 1 + 54);
    EXPECT_EQ(doc.pages[1].lines().size(), 56);

    // Device pixels at 300 per inch from the printable corner, 4 mm in from the paper's:
    // the list memo's text starts 2 pixels in from its left edge, 11.34 pixels in from the
    // 10 mm margin.
    const auto first = std::find_if(doc.pages[0].texts.begin(), doc.pages[0].texts.end(),
                                    [](const auto& t) { return t.text == listLine(1); });
    ASSERT_NE(first, doc.pages[0].texts.end());
    const double scale = 300 / 96.0;
    EXPECT_NEAR(first->topLeft.x(), (10 * fr01cm + 11.33859 + 2) * scale - 4 * 300 / 25.4, 1.5);
    EXPECT_NEAR(first->size, 8 * 96 / 72.0 * scale, 0.01);
}

TEST_F(PrintLoopTest, PageListOddAndEven)
{
    struct Case {
        const char* pages;
        TfrxPrintPages which;
        QList<int> printed;
    };
    const Case cases[] = {
        {"", ppAll, {1, 2, 3}},
        {"1-", ppAll, {1, 2, 3}},
        {"2,3", ppAll, {2, 3}},
        {"1, 3", ppEven, {}},
        {"1-3", ppOdd, {1, 3}},
        {"2, 9", ppAll, {2}},
        {"3,1", ppAll, {3, 1}},
    };
    prepare();
    for (const Case& c : cases) {
        printing.documents.clear();
        report->PrintOptions()->SetPageNumbers(QString::fromLatin1(c.pages));
        report->PrintOptions()->SetPrintPages(c.which);
        EXPECT_TRUE(report->Print()) << c.pages;
        const QList<int> printed = printing.documents.empty() ? QList<int>() : printedPages(printing.documents[0]);
        EXPECT_EQ(printed, c.printed) << c.pages;
        // Nothing printed opens no document.
        EXPECT_EQ(printing.documents.size(), c.printed.isEmpty() ? 0u : 1u) << c.pages;
    }
}

TEST_F(PrintLoopTest, CopiesCollatedOrByThePrinter)
{
    prepare();
    report->PrintOptions()->SetCopies(2);
    ASSERT_TRUE(report->Print());
    EXPECT_EQ(printedPages(printing.documents[0]), QList<int>({1, 2, 3, 1, 2, 3}));
    EXPECT_EQ(printing.documents[0].pages[0].mode.Copies, 1);

    printing.documents.clear();
    report->PrintOptions()->SetCopies(2);
    report->PrintOptions()->SetCollate(false);
    ASSERT_TRUE(report->Print());
    EXPECT_EQ(printedPages(printing.documents[0]), QList<int>({1, 2, 3}));
    EXPECT_EQ(printing.documents[0].startMode.Copies, 2);

    printing.documents.clear();
    report->PrintOptions()->SetCopies(0);
    report->PrintOptions()->SetReverse(true);
    ASSERT_TRUE(report->Print());
    EXPECT_EQ(printedPages(printing.documents[0]), QList<int>({3, 2, 1}));
}

TEST_F(PrintLoopTest, DuplexCopiesStartOnASheetOfTheirOwn)
{
    prepare();
    report->PrintOptions()->SetCopies(2);
    report->PrintOptions()->Duplex = dmVertical;
    ASSERT_TRUE(report->Print());
    EXPECT_EQ(printedPages(printing.documents[0]), QList<int>({1, 2, 3, 0, 1, 2, 3, 0}));
    EXPECT_EQ(printing.documents[0].pages[0].mode.Duplex, DeviceMode::Vertical);
    // The duplex mode stays as the print left it; the other options come back.
    EXPECT_EQ(report->PrintOptions()->Duplex, dmVertical);
    EXPECT_EQ(report->PrintOptions()->Copies(), 2);
}

TEST_F(PrintLoopTest, PrinterIsSetUpAgainOnlyWhereThePaperChanges)
{
    report = listReport(3);
    auto* second = new TfrxReportPage(report.get());
    second->SetName(QStringLiteral("Page2"));
    second->SetPaperSize(11);
    auto* note = new TfrxMemoView(second);
    note->SetName(QStringLiteral("txtNota"));
    note->SetBounds(0, 0, 300, 20);
    note->SetText(QStringLiteral("Seconda pagina"));
    ASSERT_TRUE(report->PrepareReport(true));
    ASSERT_EQ(pagesOf(*report).Count(), 2);
    report->PrintOptions()->SetShowDialog(false);
    report->PrintOptions()->SetCopies(2);
    frxPrinterList();
    printing.measures = 0;
    ASSERT_TRUE(report->Print());
    const PrintedDocument& doc = printing.documents[0];
    ASSERT_EQ(doc.pages.size(), 4u);
    EXPECT_EQ(doc.pages[0].mode.PaperSize, 9);
    EXPECT_EQ(doc.pages[1].mode.PaperSize, 11);
    EXPECT_EQ(doc.pages[1].mode.Orientation, DeviceMode::Portrait);
    EXPECT_EQ(doc.pages[2].mode.PaperSize, 9);
    EXPECT_EQ(printing.measures, 4);

    printing.documents.clear();
    printing.measures = 0;
    report->PrintOptions()->SetPageNumbers(QStringLiteral("1"));
    ASSERT_TRUE(report->Print());
    EXPECT_EQ(printing.measures, 1);
}

TEST_F(PrintLoopTest, StopRequestAbortsTheDocument)
{
    prepare();
    int seen = 0;
    report->OnPrintPage = [&](TfrxReportPage*, int) {
        if (++seen == 2)
            report->SetTerminated(true);
    };
    EXPECT_TRUE(report->Print());
    ASSERT_EQ(printing.documents.size(), 1u);
    EXPECT_TRUE(printing.documents[0].aborted);
    EXPECT_EQ(printing.documents[0].pages.size(), 2u);
}

TEST_F(PrintLoopTest, NamedPrinterIsUsedAndTheOptionsComeBack)
{
    prepare();
    report->PrintOptions()->SetPrinter(QStringLiteral("Laboratorio"));
    report->PrintOptions()->SetPageNumbers(QStringLiteral("2"));
    ASSERT_TRUE(report->Print());
    EXPECT_EQ(printing.documents[0].printer, QStringLiteral("Laboratorio"));
    EXPECT_EQ(report->PrintOptions()->PageNumbers(), QStringLiteral("2"));
    EXPECT_EQ(pagesOf(*report).CopyNo, 0);
}

TEST_F(PrintLoopTest, WithoutPrintersNothingIsPrinted)
{
    printing.printers.clear();
    frxResetPrinterList();
    prepare();
    EXPECT_FALSE(report->Print());
    EXPECT_EQ(errorBoxes(), QStringList{QStringLiteral("You have no printers installed")});
    EXPECT_TRUE(printing.documents.empty());
}

TEST_F(PrintLoopTest, UnreadablePrinterPrintsNothingAndSaysSo)
{
    printing.printers[0].opens = false;
    frxResetPrinterList();
    prepare();
    EXPECT_FALSE(report->Print());
    EXPECT_EQ(errorBoxes(), QStringList{QStringLiteral("Printer selected is not valid")});
    EXPECT_TRUE(printing.documents.empty());
}

namespace {

// Page n of a PDF file drawn at 96 dots per inch.
QImage pdfPage(const QString& file, int page)
{
    const QString prefix = QFileInfo(file).path() + QStringLiteral("/page");
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-f"),
                                         QString::number(page), QStringLiteral("-l"), QString::number(page),
                                         QStringLiteral("-png"), QStringLiteral("-singlefile"), file, prefix});
    p.waitForFinished(60000);
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

// Whether a picture has a light pixel at (x, y) and all around it.
bool lightAround(const QImage& image, int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int px = x + dx, py = y + dy;
            if (px >= 0 && py >= 0 && px < image.width() && py < image.height() && qGray(image.pixel(px, py)) <= 200)
                return false;
        }
    return true;
}

// The share of pixels that are dark in one picture and light all around in the other.
// A rasteriser places the glyphs of a PDF font on whole pixels, so printed text may sit
// up to a pixel away from the preview's exactly placed outlines; a line out of its place
// is further off than that.
double inkMismatch(const QImage& a, const QImage& b)
{
    int differ = 0, ink = 0;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x) {
            const int ga = qGray(a.pixel(x, y)), gb = qGray(b.pixel(x, y));
            ink += ga < 128 || gb < 128;
            differ += (ga < 100 && lightAround(b, x, y)) || (gb < 100 && lightAround(a, x, y));
        }
    return ink ? double(differ) / ink : 1.0;
}

QString runTool(const QString& tool, const QStringList& args)
{
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

TEST_F(PrintLoopTest, ListPrintedThroughQPrinterGivesAPdfOfThreeLandscapePages)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("riepilogo.pdf"));
    ASSERT_TRUE(printListToPdf(file));
    ASSERT_TRUE(QFile::exists(file));

    const QString meta = runTool(QStringLiteral("pdfinfo"), {file});
    EXPECT_TRUE(meta.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n")))) << meta.toStdString();
    EXPECT_TRUE(meta.contains(QRegularExpression(QStringLiteral("Page size:\\s+842 x 595")))) << meta.toStdString();

    // Each printed page looks as the preview draws it at 100 %: the same lines at the same
    // places (the rasterisers' anti-aliasing aside).
    for (int page = 1; page <= 3; ++page) {
        const QImage printed = pdfPage(file, page);
        ASSERT_EQ(printed.size(), QSize(1123, 794)) << page;
        QImage screen(printed.size(), QImage::Format_RGB32);
        screen.fill(Qt::white);
        {
            QPainter painter(&screen);
            orv::platform::Canvas canvas(&painter);
            pagesOf(*report).DrawPage(page - 1, &canvas, 1, 1, 0, 0);
        }
        EXPECT_LT(inkMismatch(printed, screen), 0.08) << page;
    }
}

// The printer receives text as text with its fonts embedded, not as glyph outlines: the
// file names its fonts, its text can be searched, and a page of text stays small.
TEST_F(PrintLoopTest, PrintedTextArrivesAsTextWithItsFontsEmbedded)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("riepilogo.pdf"));
    ASSERT_TRUE(printListToPdf(file));
    ASSERT_TRUE(QFile::exists(file));

    const QStringList fonts = runTool(QStringLiteral("pdffonts"), {file}).split(u'\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_FALSE(fonts.isEmpty());
    for (const QString& font : fonts)
        EXPECT_TRUE(font.contains(QRegularExpression(QStringLiteral("\\s+yes\\s+\\S+\\s+\\S+\\s+\\d+\\s+\\d+$"))))
            << "not embedded: " << font.toStdString();

    const QString text = runTool(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    for (int line : {1, 60, 120})
        EXPECT_TRUE(text.contains(listLine(line))) << listLine(line).toStdString();

    // As outlines these three pages of text take over 400 KB; as text with its font, some 25 KB.
    EXPECT_LT(QFileInfo(file).size(), 200 * 1024);
}

// A picture on every page reaches the printer once: each page draws the same image, so the
// spooled document holds one copy of it however many pages show it.
TEST_F(PrintLoopTest, PictureOnEveryPageIsSpooledOnce)
{
    report = listReport(120);
    auto* page = report->GetPageAs<TfrxReportPage>(1);
    ASSERT_NE(page, nullptr);
    auto* header = new TfrxPageHeader(page);
    header->SetName(QStringLiteral("PageHeader1"));
    header->SetBounds(0, 0, 1046.92981, 40);
    auto* logo = new TfrxPictureView(header);
    logo->SetName(QStringLiteral("imgLogo"));
    logo->SetBounds(0, 0, 60, 36);
    QImage image(120, 72, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 2, y * 3, (x * y) % 256));
    logo->Picture()->SetImage(image);
    ASSERT_TRUE(report->PrepareReport(true));
    report->PrintOptions()->SetShowDialog(false);

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("riepilogo.pdf"));
    PdfPrinterService pdf;
    FakePrinter& p = pdf.add(QStringLiteral("PDF"));
    p.dpi = 1200;
    pdf.defaultPrinter = QStringLiteral("PDF");
    setPrinterService(&pdf);
    report->PrintOptions()->PrnOutFileName = file;
    const bool printed = report->Print();
    setPrinterService(&printing);
    ASSERT_TRUE(printed);

    // pdfimages lists one row per image drawn: page, number, ..., object number, generation, ...
    const int pages = pagesOf(*report).Count();
    ASSERT_GE(pages, 3);
    QSet<QString> objects;
    int drawn = 0;
    for (const QString& line : runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), file}).split(u'\n').mid(2)) {
        const QStringList cells = line.simplified().split(u' ');
        if (cells.size() < 12)
            continue;
        ++drawn;
        objects << cells[10] + u' ' + cells[11];
    }
    EXPECT_EQ(drawn, pages);
    EXPECT_EQ(objects.size(), 1) << QStringList(objects.values()).join(u", ").toStdString();
}

// Only a print at natural size may take its pages whole; scaled pages and pages joined on
// a sheet are drawn.
TEST_F(PrintLoopTest, PagesGoWholeOnlyAtNaturalSize)
{
    prepare();
    for (const TfrxPrintMode mode : {pmDefault, pmScale, pmJoin}) {
        printing.documents.clear();
        report->PrintOptions()->SetPrintMode(mode);
        ASSERT_TRUE(report->Print()) << int(mode);
        ASSERT_EQ(printing.documents.size(), 1u) << int(mode);
        EXPECT_EQ(printing.documents[0].wholePages, mode == pmDefault) << int(mode);
    }
}

namespace {

// A printer that takes whole pages through the program's page writer into PDF files.
class WrittenPrinterService : public PdfPrinterService {
public:
    std::unique_ptr<PrintDocument> StartDocument(const QString& Printer, const QString& Title, const QString& FileName,
                                                 const DeviceMode& Mode, bool WholePages) override
    {
        if (WholePages)
            return startWrittenDocument(Title, FileName);
        return PdfPrinterService::StartDocument(Printer, Title, FileName, Mode, WholePages);
    }
};

// The list lines each page of a PDF file holds, page by page (an empty page holds none).
std::vector<QList<int>> linesPerPage(const QString& file)
{
    std::vector<QList<int>> pages;
    const QString text = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    const QRegularExpression line(QStringLiteral("RIGA (\\d{4}) CLIENTE DI PROVA"));
    QStringList sheets = text.split(u'\f');
    if (!sheets.isEmpty() && sheets.last().trimmed().isEmpty())
        sheets.removeLast();
    for (const QString& sheet : sheets) {
        QList<int> found;
        for (auto it = line.globalMatch(sheet); it.hasNext();)
            found << it.next().captured(1).toInt();
        pages.push_back(found);
    }
    return pages;
}

} // namespace

// Pages handed whole to the page writer keep what the print options ask: the pages chosen,
// their order, the copies the program repeats and the empty sheet that starts a duplex
// copy; every line arrives once per copy, on its page.
TEST_F(PrintLoopTest, WrittenPagesKeepPageListOrderCopiesAndDuplexSheets)
{
    orv::printing::installPrintWriter();
    WrittenPrinterService pdf;
    pdf.add(QStringLiteral("PDF")).dpi = 600;
    pdf.defaultPrinter = QStringLiteral("PDF");
    setPrinterService(&pdf);
    prepare();
    QList<int> page[4];
    for (int n = 1; n <= 54; ++n)
        page[1] << n;
    for (int n = 55; n <= 110; ++n)
        page[2] << n;
    for (int n = 111; n <= 120; ++n)
        page[3] << n;
    struct Case {
        const char* name;
        const char* pages;
        int copies;
        bool collate, reverse;
        TfrxDuplexMode duplex;
        std::vector<int> printed; // page numbers, 0 for an empty sheet
    };
    const Case cases[] = {
        {"all", "", 1, true, false, dmNone, {1, 2, 3}},
        {"list", "3,1", 1, true, false, dmNone, {3, 1}},
        {"reverse", "", 1, true, true, dmNone, {3, 2, 1}},
        {"collated", "", 2, true, false, dmNone, {1, 2, 3, 1, 2, 3}},
        {"by the printer", "", 2, false, false, dmNone, {1, 2, 3}},
        {"duplex", "", 2, true, false, dmVertical, {1, 2, 3, 0, 1, 2, 3, 0}},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = dir.filePath(QString::fromLatin1(c.name) + QStringLiteral(".pdf"));
        TfrxPrintOptions* o = report->PrintOptions();
        o->SetPageNumbers(QString::fromLatin1(c.pages));
        o->SetCopies(c.copies);
        o->SetCollate(c.collate);
        o->SetReverse(c.reverse);
        o->Duplex = c.duplex;
        o->PrnOutFileName = file;
        ASSERT_TRUE(report->Print());
        std::vector<QList<int>> expected;
        for (int p : c.printed)
            expected.push_back(page[p]);
        EXPECT_EQ(linesPerPage(file), expected);
    }

    // A file that cannot be written is no print, and the user is told.
    report->PrintOptions()->SetCopies(1);
    report->PrintOptions()->PrnOutFileName = dir.filePath(QStringLiteral("manca/stampa.pdf"));
    EXPECT_FALSE(report->Print());
    EXPECT_EQ(errorBoxes(), QStringList{QStringLiteral("Il documento non è stato stampato: il file \"%1\" non si può "
                                                       "scrivere.").arg(dir.filePath(QStringLiteral("manca/stampa.pdf")))});
    setPrinterService(&printing);
    orv::report::setPageWriterMaker({});
}
