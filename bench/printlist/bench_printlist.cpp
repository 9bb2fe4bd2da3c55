// The list of 191 landscape pages printed to a file, against the compressed PDF export of
// the same prepared pages in the same run, in interleaved rounds: time and bytes of each,
// and their ratios (goal: the print at most twice the export in both). The printer takes
// the pages as the program's printers do: whole, through the registered page writer, into
// the document that a print to a file leaves and that a CUPS queue is sent (its spool
// file holds the same bytes). Its page set-up is 600 dots per inch with 4.2 mm
// unprintable borders.
#include "archive/lists.h"
#include "platform/ui/application.h"
#include "printing/docpdf.h"
#include "printing/list.h"
#include "printing/printwriter.h"
#include "report/base/paper.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"
#include "report/preview/startup.h"
#include "report/print/printers.h"
#include "report/print/printservice.h"

#include "../common/figures.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace orv::report;

namespace {

constexpr int kPages = 191;
constexpr int kDpi = 600;
constexpr double kBorder = 4.2; // millimetres

class PdfFilePrinter : public PrinterService {
public:
    QStringList Printers() override { return {QStringLiteral("PDF")}; }
    QString DefaultPrinter() override { return QStringLiteral("PDF"); }
    QString Location(const QString&) override { return {}; }
    std::optional<DeviceMode> DefaultMode(const QString&) override { return DeviceMode{}; }
    QList<NumberedName> Papers(const QString&) override { return {{9, QStringLiteral("A4")}}; }
    QList<NumberedName> Bins(const QString&) override { return {}; }
    std::optional<DeviceCaps> Measure(const QString&, const DeviceMode& Mode) override
    {
        double w = 210, h = 297;
        frxPaperDimensions(Mode.PaperSize, w, h);
        if (Mode.Orientation == DeviceMode::Landscape)
            std::swap(w, h);
        const double px = kDpi / 25.4;
        DeviceCaps caps;
        caps.DpiX = caps.DpiY = kDpi;
        caps.PhysicalWidth = w * px;
        caps.PhysicalHeight = h * px;
        caps.OffsetX = caps.OffsetY = kBorder * px;
        caps.HorzRes = (w - 2 * kBorder) * px;
        caps.VertRes = (h - 2 * kBorder) * px;
        return caps;
    }
    std::unique_ptr<PrintDocument> StartDocument(const QString&, const QString& Title, const QString& FileName,
                                                 const DeviceMode& Mode, bool WholePages) override
    {
        if (WholePages)
            if (auto document = startWrittenDocument(Title, FileName))
                return document;
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setResolution(kDpi);
        printer->setOutputFileName(FileName);
        printer->setDocName(Title);
        applyDeviceMode(*printer, Mode);
        printer->setPageMargins(QMarginsF(kBorder, kBorder, kBorder, kBorder), QPageLayout::Millimeter);
        return startQPrinterDocument(std::move(printer));
    }
    bool PropertiesDialog(const QString&, DeviceMode&) override { return false; }
    std::unique_ptr<RawDocument> StartRawDocument(const QString&, const QString&) override { return nullptr; }
};

} // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    orv::platform::ui::Application app(argc, argv);
    frxInitializeReportUserInterface();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;

    // Page 1 holds 54 lines, every further page 56; the last page is half full, with the
    // date under its lines.
    const int lines = 54 + 56 * (kPages - 2) + 28;
    QStringList text;
    for (int i = 1; i <= lines; ++i)
        text << QStringLiteral("%1  CLIENTE DI PROVA %2  VIA DEI MILLE %3, 00100 ROMA  06 5551%4")
                    .arg(i, 5, 10, QChar(u'0'))
                    .arg(i)
                    .arg(i % 200)
                    .arg(i % 10000, 4, 10, QChar(u'0'));
    orv::printing::SummaryReport layout;
    const double height = lines * orv::archive::kSummaryLineHeight;
    layout.setMemoText(QStringLiteral("txtTitolo"), QStringLiteral("Riepilogo Clienti"));
    layout.setMemoLines(QStringLiteral("txtRiepilogo"), text);
    layout.setHeight(QStringLiteral("txtRiepilogo"), height);
    layout.setHeight(QStringLiteral("MasterData"), height + 10);
    TfrxReport& report = layout.report();
    QElapsedTimer preparing;
    preparing.start();
    if (!report.PrepareReport(true))
        qFatal("the list was not prepared");
    std::printf("printlist: %d lines prepared in %lld ms\n", lines, preparing.elapsed());
    const int pages = report.PreviewPages()->Count();
    if (pages != kPages)
        std::printf("printlist: note: %d pages prepared\n", pages);

    orv::printing::installPrintWriter();
    PdfFilePrinter printer;
    setPrinterService(&printer);
    QTemporaryDir dir;
    const QString printed = dir.filePath(QStringLiteral("stampa.pdf"));
    const QString exported = dir.filePath(QStringLiteral("export.pdf"));
    report.PrintOptions()->SetShowDialog(false);
    report.PrintOptions()->PrnOutFileName = printed;
    auto compressed = orv::printing::newDocumentExporter(orv::printing::PdfStreams::Compressed);
    compressed->SetFileName(exported);

    using orv::bench::seconds;
    const auto samples = orv::bench::interleave(
        runs, {[&] {
                   return seconds([&] {
                       if (!report.Print())
                           qFatal("the list was not printed");
                   });
               },
               [&] {
                   return seconds([&] {
                       if (!report.Export(compressed.get()))
                           qFatal("the list was not exported");
                   });
               }});
    setPrinterService(nullptr);

    const double printMb = QFileInfo(printed).size() / 1e6, exportMb = QFileInfo(exported).size() / 1e6;
    const orv::bench::Spread print = orv::bench::spreadOf(samples[0]), pdf = orv::bench::spreadOf(samples[1]);
    std::printf("printlist: %d pages printed to a file in %.0f ms, %.2f MB; exported as PDF in %.0f ms, %.2f MB; "
                "medians of %d interleaved rounds\n",
                pages, print.median * 1e3, printMb, pdf.median * 1e3, exportMb, runs);
    const orv::bench::Spread time = orv::bench::ratioOf(samples[0], samples[1]);
    bool met = orv::bench::figure("printlist", "print/export time", time, "<= 2.00", orv::bench::atMost(time, 2));
    const double size = printMb / exportMb;
    met &= orv::bench::figure("printlist", "print/export size", size, "<= 2.00", size <= 2);
    (void)met;
    return 0;
}
