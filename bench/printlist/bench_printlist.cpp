// The list of 191 landscape pages printed to a file, against the PDF export of the same
// prepared pages in the same run: time (median of the runs) and bytes of each, and their
// ratios (goal: the print at most twice the export in both). The printer is Qt's PDF
// engine at 600 dots per inch with 4.2 mm unprintable borders, which is what CUPS spools
// for a print and what a print to a file leaves.
#include "archive/lists.h"
#include "platform/ui/application.h"
#include "printing/docpdf.h"
#include "printing/list.h"
#include "report/base/paper.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"
#include "report/preview/startup.h"
#include "report/print/printers.h"
#include "report/print/printservice.h"

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
                                                 const DeviceMode& Mode) override
    {
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

double medianMs(int runs, const std::function<void()>& run)
{
    std::vector<double> samples;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        samples.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    orv::ui::Application app(argc, argv);
    frxInitializeReportUserInterface();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

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

    PdfFilePrinter printer;
    setPrinterService(&printer);
    QTemporaryDir dir;
    const QString printed = dir.filePath(QStringLiteral("stampa.pdf"));
    const QString exported = dir.filePath(QStringLiteral("export.pdf"));
    const QString plain = dir.filePath(QStringLiteral("export-plain.pdf"));
    report.PrintOptions()->SetShowDialog(false);
    report.PrintOptions()->PrnOutFileName = printed;

    auto compressed = orv::printing::newDocumentExporter(orv::printing::PdfStreams::Compressed);
    compressed->SetFileName(exported);
    auto uncompressed = orv::printing::newDocumentExporter(orv::printing::PdfStreams::Plain);
    uncompressed->SetFileName(plain);

    const double printMs = medianMs(runs, [&] {
        if (!report.Print())
            qFatal("the list was not printed");
    });
    const double exportMs = medianMs(runs, [&] {
        if (!report.Export(compressed.get()))
            qFatal("the list was not exported");
    });
    const double plainMs = medianMs(runs, [&] {
        if (!report.Export(uncompressed.get()))
            qFatal("the list was not exported");
    });
    setPrinterService(nullptr);

    const double printMb = QFileInfo(printed).size() / 1e6, exportMb = QFileInfo(exported).size() / 1e6,
                 plainMb = QFileInfo(plain).size() / 1e6;
    std::printf("printlist: %d pages printed to a file in %.0f ms, %.2f MB; exported as PDF in %.0f ms, %.2f MB "
                "(uncompressed: %.0f ms, %.2f MB); medians of %d\n",
                pages, printMs, printMb, exportMs, exportMb, plainMs, plainMb, runs);
    std::printf("printlist: print/export ratio time %.2f, size %.2f (goal <= 2.00 each); against the uncompressed "
                "export time %.2f, size %.2f\n",
                printMs / exportMs, printMb / exportMb, printMs / plainMs, printMb / plainMb);
    return 0;
}
