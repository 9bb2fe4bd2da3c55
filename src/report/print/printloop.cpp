#include "report/print/printloop.h"

#include "platform/core/exceptions.h"
#include "report/base/resources.h"
#include "report/base/utils.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"
#include "report/print/printdialog.h"
#include "report/print/printers.h"

#include <cmath>

namespace orv::report {
using namespace orv::script;
} // namespace orv::report

namespace orv::report {

TfrxCustomExportFilter*& frxDotMatrixExportFilter()
{
    static TfrxCustomExportFilter* filter = nullptr;
    return filter;
}

int sheetCount(double L, double S)
{
    if (S <= 0)
        return 1;
    const int n = int(L / S);
    if (std::abs(L - n * S) >= 11)
        return n + 1;
    return frxRound((long double)(L / S));
}

namespace {

// One call of Print: the printer, the options and what was printed last, so that the
// printer is set up again only where a page differs from the one before.
class PrintRun {
public:
    PrintRun(TfrxPreviewPages* Pages, TfrxCustomPrinter* Printer)
        : m_pages(Pages), m_report(Pages->Report()), m_options(m_report->PrintOptions()), m_printer(Printer)
    {
    }

    TfrxDuplexMode Duplex = dmNone;
    double SheetWidth = 0, SheetHeight = 0;

    void Run(const QStringList& PageList);

private:
    int entryPage(int Entry) const { return m_list.isEmpty() ? Entry : m_list[Entry].toInt() - 1; }
    bool pageSelected(int Index) const;
    TfrxDuplexMode pageDuplex(TfrxReportPage* Page) const;
    void trackParity(TfrxDuplexMode Mode);
    bool printPage(int Index, int Copies);
    bool printJoined(int Entries, bool Reverse);
    bool printSplit(int Index, int Copies);
    void beginDocument();
    // Draws a prepared page on the printer's page with its origin at the paper's
    // top-left corner moved by (Dx, Dy) millimetres.
    void draw(int Index, double Kx, double Ky, double Dx = 0, double Dy = 0);
    bool stopped();

    TfrxPreviewPages* m_pages;
    TfrxReport* m_report;
    TfrxPrintOptions* m_options;
    TfrxCustomPrinter* m_printer;
    QStringList m_list;
    bool m_begun = false;
    bool m_parity = false;
    bool m_havePrinted = false;
    int m_lastPaper = 0, m_lastWidth = 0, m_lastHeight = 0, m_lastBin = 0;
    TPrinterOrientation m_lastOrientation = poPortrait;
    TfrxDuplexMode m_lastDuplex = TfrxDuplexMode(-1);
};

bool PrintRun::stopped()
{
    if (!m_report->Terminated())
        return false;
    if (m_begun)
        m_printer->Abort();
    m_begun = false;
    return true;
}

void PrintRun::beginDocument()
{
    if (m_begun)
        return;
    m_printer->SetWholePages(m_options->PrintMode() == pmDefault);
    m_printer->BeginDoc();
    m_begun = true;
}

bool PrintRun::pageSelected(int Index) const
{
    if (Index < 0 || Index >= m_pages->Count())
        return false;
    const int number = Index + 1;
    if (m_options->PrintPages() == ppOdd && number % 2 == 0)
        return false;
    if (m_options->PrintPages() == ppEven && number % 2 == 1)
        return false;
    return true;
}

TfrxDuplexMode PrintRun::pageDuplex(TfrxReportPage* Page) const { return Duplex == dmNone ? Page->Duplex() : Duplex; }

void PrintRun::trackParity(TfrxDuplexMode Mode)
{
    if (Mode != m_lastDuplex)
        m_parity = false;
    if (Mode == dmVertical || Mode == dmHorizontal)
        m_parity = !m_parity;
}

void PrintRun::draw(int Index, double Kx, double Ky, double Dx, double Dy)
{
    const QPoint dpi = m_printer->DPI();
    m_pages->DrawPage(Index, m_printer->Canvas(), Kx * dpi.x() / 96.0, Ky * dpi.y() / 96.0,
                      (Dx - m_printer->LeftMargin()) * dpi.x() / 25.4, (Dy - m_printer->TopMargin()) * dpi.y() / 25.4);
}

bool PrintRun::printPage(int Index, int Copies)
{
    if (!pageSelected(Index))
        return true;
    if (stopped())
        return false;
    TfrxReportPage* page = m_pages->GetPage(Index);
    if (!page)
        return true;
    if (m_report->OnPrintPage)
        m_report->OnPrintPage(page, m_pages->CopyNo);
    const int bin = Index == 0 ? page->Bin() : page->BinOtherPages();
    const TfrxDuplexMode duplex = pageDuplex(page);
    trackParity(duplex);
    const int width = frxRound((long double)page->PaperWidth()), height = frxRound((long double)page->PaperHeight());
    const TfrxPrintMode mode = m_options->PrintMode();
    if (mode == pmScale || mode == pmSplit) {
        if (!m_havePrinted || bin != m_lastBin || page->Orientation() != m_lastOrientation || duplex != m_lastDuplex) {
            m_printer->SetPrintParams(m_options->PrintOnSheet(), SheetWidth, SheetHeight, page->Orientation(), bin,
                                      duplex, Copies);
            SheetWidth = m_printer->PaperWidth();
            SheetHeight = m_printer->PaperHeight();
        }
    } else if (!m_havePrinted || page->PaperSize() != m_lastPaper || width != m_lastWidth || height != m_lastHeight ||
               bin != m_lastBin || page->Orientation() != m_lastOrientation || duplex != m_lastDuplex) {
        m_printer->SetPrintParams(page->PaperSize(), page->PaperWidth(), page->PaperHeight(), page->Orientation(), bin,
                                  duplex, Copies);
    }
    beginDocument();
    if (mode == pmSplit)
        return printSplit(Index, Copies);
    m_printer->BeginPage();
    double kx = 1, ky = 1;
    if (mode == pmScale && page->PaperWidth() > 0 && page->PaperHeight() > 0) {
        kx = SheetWidth / page->PaperWidth();
        ky = SheetHeight / page->PaperHeight();
        m_pages->PrintScale = std::min(kx, ky);
    }
    if (mode != pmDefault || !m_printer->PlacePage(m_pages, Index))
        draw(Index, kx, ky);
    m_report->InternalOnProgress(ptPrinting, Index + 1);
    m_printer->EndPage();
    m_havePrinted = true;
    m_lastPaper = page->PaperSize();
    m_lastWidth = width;
    m_lastHeight = height;
    m_lastBin = bin;
    m_lastOrientation = page->Orientation();
    m_lastDuplex = duplex;
    m_pages->ClearPageCache();
    return true;
}

bool PrintRun::printSplit(int Index, int)
{
    // The page at natural size over as many sheets as it needs, across then down; the
    // sheets overlap by the splicing line so that they can be joined.
    TfrxReportPage* page = m_pages->GetPage(Index);
    const double overlap = m_options->SplicingLine;
    const double stepX = std::max(1.0, m_printer->PaperWidth() - m_printer->LeftMargin() - m_printer->RightMargin() - overlap);
    const double stepY = std::max(1.0, m_printer->PaperHeight() - m_printer->TopMargin() - m_printer->BottomMargin() - overlap);
    const int across = std::max(1, int(std::ceil(page->PaperWidth() / stepX)));
    const int down = std::max(1, int(std::ceil(page->PaperHeight() / stepY)));
    for (int y = 0; y < down; ++y)
        for (int x = 0; x < across; ++x) {
            if (stopped())
                return false;
            m_printer->BeginPage();
            draw(Index, 1, 1, m_printer->LeftMargin() - x * stepX, m_printer->TopMargin() - y * stepY);
            m_printer->EndPage();
        }
    m_report->InternalOnProgress(ptPrinting, Index + 1);
    m_havePrinted = true;
    m_lastPaper = page->PaperSize();
    m_lastWidth = frxRound((long double)page->PaperWidth());
    m_lastHeight = frxRound((long double)page->PaperHeight());
    m_lastOrientation = page->Orientation();
    m_pages->ClearPageCache();
    return true;
}

bool PrintRun::printJoined(int Entries, bool Reverse)
{
    // The first selected page decides how many pages a sheet holds.
    std::vector<int> selected;
    for (int e = 0; e < Entries; ++e) {
        const int index = entryPage(Reverse ? Entries - 1 - e : e);
        if (pageSelected(index))
            selected.push_back(index);
    }
    if (selected.empty())
        return true;
    TfrxReportPage* first = m_pages->GetPage(selected.front());
    const double pageW = first->PaperWidth(), pageH = first->PaperHeight();
    const double usableW = SheetWidth - m_printer->LeftMargin() - m_printer->RightMargin();
    const double usableH = SheetHeight - m_printer->TopMargin() - m_printer->BottomMargin();
    auto fit = [](double sheet, double size) { return size > 0 ? std::max(1, int(sheet / size)) : 1; };
    int across = fit(usableW, pageW), down = fit(usableH, pageH);
    TPrinterOrientation orientation = poPortrait;
    const int turnedAcross = fit(usableH, pageW), turnedDown = fit(usableW, pageH);
    if (turnedAcross * turnedDown > across * down) {
        across = turnedAcross;
        down = turnedDown;
        orientation = poLandscape;
    }
    const int bin = first->Bin();
    const TfrxDuplexMode duplex = pageDuplex(first);
    m_printer->SetPrintParams(m_options->PrintOnSheet(), SheetWidth, SheetHeight, orientation, bin, duplex, 1);
    beginDocument();
    const int copies = std::max(1, m_options->Copies());
    size_t next = 0;
    int copy = 1;
    while (next < selected.size()) {
        m_printer->BeginPage();
        for (int y = 0; y < down && next < selected.size(); ++y)
            for (int x = 0; x < across && next < selected.size(); ++x) {
                m_pages->CopyNo = copy;
                draw(selected[next], 1, 1, m_printer->LeftMargin() + x * pageW, m_printer->TopMargin() + y * pageH);
                if (++copy > copies) {
                    copy = 1;
                    ++next;
                }
            }
        m_printer->EndPage();
        m_report->InternalOnProgress(ptPrinting, int(next));
        if (stopped())
            return false;
        m_pages->ClearPageCache();
    }
    return true;
}

void PrintRun::Run(const QStringList& PageList)
{
    m_list = PageList;
    m_report->SetTerminated(false);
    m_report->InternalOnProgressStart(ptPrinting);
    const QString title = m_report->ReportOptions()->Name();
    m_printer->SetTitle(title.isEmpty() ? m_report->FileName : title);
    const int copies = std::max(1, m_options->Copies());
    const int entries = m_list.isEmpty() ? m_pages->Count() : int(m_list.size());
    const bool reverse = m_options->Reverse();
    auto pass = [&](int printerCopies) {
        if (m_options->PrintMode() == pmJoin)
            return printJoined(entries, reverse);
        for (int e = 0; e < entries; ++e)
            if (!printPage(entryPage(reverse ? entries - 1 - e : e), printerCopies))
                return false;
        return true;
    };
    try {
        if (m_options->Collate() && m_options->PrintMode() != pmJoin) {
            for (int c = 1; c <= copies && !m_report->Terminated(); ++c) {
                m_pages->CopyNo = c;
                if (!pass(1))
                    break;
                if (m_parity && m_begun) {
                    // Each copy starts on a sheet of its own.
                    m_printer->BeginPage();
                    m_printer->EndPage();
                }
                m_parity = false;
            }
        } else {
            m_pages->CopyNo = 1;
            pass(copies);
        }
        if (m_begun)
            m_printer->EndDoc();
    } catch (...) {
        if (m_begun)
            m_printer->Abort();
        m_report->InternalOnProgressStop(ptPrinting);
        throw;
    }
    m_report->InternalOnProgressStop(ptPrinting);
}

// Puts the print options back as they were before the print (the duplex mode keeps the
// dialog's choice) and leaves no copy number behind, however the print ends.
class RestoreOptions {
public:
    RestoreOptions(TfrxPreviewPages* Pages) : m_pages(Pages), m_options(Pages->Report()->PrintOptions())
    {
        m_saved.Assign(m_options);
    }
    ~RestoreOptions()
    {
        if (m_pages->Report()->OnAfterPrintReport)
            m_pages->Report()->OnAfterPrintReport(m_pages->Report());
        m_pages->CopyNo = 0;
        m_options->Assign(&m_saved);
    }

private:
    TfrxPreviewPages* m_pages;
    TfrxPrintOptions* m_options;
    TfrxPrintOptions m_saved;
};

} // namespace

bool frxPrintPreparedPages(TfrxPreviewPages* Pages)
{
    TfrxReport* report = Pages ? Pages->Report() : nullptr;
    if (!report)
        return false;
    TfrxCustomPrinters* printers = frxPrinterList();
    if (!printers->HasPhysicalPrinters()) {
        frxErrorBox(frxStringResources()->Get(QStringLiteral("clNoPrinters")));
        return false;
    }
    Pages->PrintScale = 1;
    TfrxPrintOptions* options = report->PrintOptions();
    if (report->DotMatrixReport() && frxDotMatrixExportFilter()) {
        TfrxCustomExportFilter* filter = frxDotMatrixExportFilter();
        report->SelectPrinter();
        filter->SetShowDialog(options->ShowDialog());
        filter->PageNumbers = options->PageNumbers();
        return Pages->Export(filter);
    }

    RestoreOptions restore(Pages);
    int duplex = options->Duplex;
    report->SelectPrinter();
    if (options->ShowDialog()) {
        if (!frxExecutePrintDialog(report, duplex))
            return false;
        options->Duplex = TfrxDuplexMode(duplex);
    }
    TfrxCustomPrinter* printer = printers->Printer();
    if (!printer || !printer->Initialized()) {
        frxErrorBox(QStringLiteral("Printer selected is not valid"));
        return false;
    }
    // A file named by the program wins; otherwise the one chosen in the dialog stays.
    if (!options->ShowDialog() || !options->PrnOutFileName.isEmpty())
        printer->SetFileName(options->PrnOutFileName);

    PrintRun run(Pages, printer);
    run.Duplex = TfrxDuplexMode(duplex);
    if (options->PrintMode() != pmDefault) {
        const int sheet = options->PrintOnSheet();
        printer->SetViewParams(sheet, printer->PaperWidth(), printer->PaperHeight(), printer->Orientation());
        run.SheetWidth = printer->PaperWidth();
        run.SheetHeight = printer->PaperHeight();
    }
    if (report->OnPrintReport)
        report->OnPrintReport(report);
    report->DoNotifyEvent(report, report->OnReportPrint(), !report->EngineOptions()->DestroyForms());

    QStringList pages;
    frxExpandPageNumbers(options->PageNumbers(), pages, Pages->Count());
    Pages->ClearPageCache();
    try {
        run.Run(pages);
    } catch (const orv::platform::Exception& e) {
        // The printer or the file refused the document.
        frxErrorBox(e.message());
        return false;
    } catch (const std::exception& e) {
        // The document could not be made (a font that cannot be read, say): nothing
        // reached the printer.
        frxErrorBox(QStringLiteral("Il documento non è stato stampato: %1").arg(QString::fromUtf8(e.what())));
        return false;
    }
    return true;
}

} // namespace orv::report
