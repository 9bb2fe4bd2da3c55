#include "report/print/systemprinters.h"

#include "report/base/utils.h"

#include <cmath>

namespace orv::report {

using orv::report::DeviceMode;
using orv::report::printerService;

namespace {

// A length in device pixels as whole millimetres.
double wholeMillimetres(double Pixels, int Dpi) { return double(frxRound((long double)Pixels / Dpi * 25.4L)); }

} // namespace

TfrxPrinter::~TfrxPrinter() = default;

void TfrxPrinter::Init()
{
    if (FInitialized)
        return;
    const std::optional<DeviceMode> mode = printerService().DefaultMode(FName);
    if (!mode)
        return;
    FMode = *mode;
    if (!UpdateDeviceCaps())
        return;
    FDefPaper = FMode.PaperSize;
    FDefBin = FMode.DefaultSource;
    FDefDuplex = FMode.Duplex;
    FPaper = FDefPaper;
    FDefPaperWidth = FPaperWidth;
    FDefPaperHeight = FPaperHeight;
    FDefOrientation = FMode.Orientation == DeviceMode::Portrait ? poPortrait : poLandscape;
    FOrientation = FDefOrientation;
    for (const orv::report::NumberedName& p : printerService().Papers(FName))
        if (p.Number != frxCustomPaper)
            FPapers.Add(p.Name, p.Number);
    for (const orv::report::NumberedName& b : printerService().Bins(FName))
        if (b.Number != frxDefaultBin)
            FBins.Add(b.Name, b.Number);
    FBin = -1;
    FDuplex = -1;
    FInitialized = true;
}

bool TfrxPrinter::UpdateDeviceCaps()
{
    const std::optional<orv::report::DeviceCaps> caps = printerService().Measure(FName, FMode);
    if (!caps || caps->DpiX == 0 || caps->DpiY == 0) {
        frxErrorBox(QStringLiteral("Printer selected is not valid"));
        return false;
    }
    FDPI = QPoint(caps->DpiX, caps->DpiY);
    FPaperHeight = wholeMillimetres(caps->PhysicalHeight, caps->DpiY);
    FPaperWidth = wholeMillimetres(caps->PhysicalWidth, caps->DpiX);
    FLeftMargin = wholeMillimetres(caps->OffsetX, caps->DpiX);
    FTopMargin = wholeMillimetres(caps->OffsetY, caps->DpiY);
    FRightMargin = FPaperWidth - wholeMillimetres(caps->HorzRes, caps->DpiX) - FLeftMargin;
    FBottomMargin = FPaperHeight - wholeMillimetres(caps->VertRes, caps->DpiY) - FTopMargin;
    return true;
}

void TfrxPrinter::SetViewParams(int APaperSize, double APaperWidth, double APaperHeight,
                                TPrinterOrientation AOrientation)
{
    if (APaperSize == frxCustomPaper) {
        // Measured as A4: the margins are those of A4, the size the one asked for.
        SetViewParams(9, 0, 0, AOrientation);
        FPaperHeight = APaperHeight;
        FPaperWidth = APaperWidth;
    } else {
        FMode.PaperSize = APaperSize;
        FMode.PaperWidth = FMode.PaperLength = 0;
        FMode.Orientation = AOrientation == poLandscape ? DeviceMode::Landscape : DeviceMode::Portrait;
        if (!UpdateDeviceCaps())
            return;
    }
    FPaper = APaperSize;
    FOrientation = AOrientation;
}

void TfrxPrinter::SetPrintParams(int APaperSize, double APaperWidth, double APaperHeight,
                                 TPrinterOrientation AOrientation, int ABin, int ADuplex, int ACopies)
{
    if (APaperSize == frxCustomPaper) {
        // The custom size in portrait terms.
        const bool landscape = AOrientation == poLandscape;
        FMode.PaperLength = frxRound((long double)(landscape ? APaperWidth : APaperHeight) * 10);
        FMode.PaperWidth = frxRound((long double)(landscape ? APaperHeight : APaperWidth) * 10);
    } else {
        FMode.PaperLength = FMode.PaperWidth = 0;
    }
    FMode.PaperSize = APaperSize;
    FMode.Orientation = AOrientation == poLandscape ? DeviceMode::Landscape : DeviceMode::Portrait;
    FMode.Copies = ACopies;
    FMode.DefaultSource = ABin == frxDefaultBin ? (FBin != -1 ? FBin : FDefBin) : ABin;
    int duplex = ADuplex == 0 ? FDefDuplex : ADuplex + 1;
    if (FDuplex != -1)
        duplex = FDuplex;
    else if (duplex == 4)
        duplex = DeviceMode::Simplex;
    FMode.Duplex = duplex;
    if (UpdateDeviceCaps()) {
        FPaper = APaperSize;
        FOrientation = AOrientation;
    }
}

void TfrxPrinter::BeginDoc()
{
    FPrinting = true;
    const QString title = FTitle.isEmpty() ? QStringLiteral("Ziza Viziva Document") : FTitle;
    try {
        FDocument = printerService().StartDocument(FName, title, FFileName, FMode, FWholePages);
    } catch (...) {
        FPrinting = false;
        throw;
    }
}

void TfrxPrinter::BeginPage()
{
    if (FDocument)
        FCanvas = FDocument->BeginPage(FMode);
}

bool TfrxPrinter::PlacePage(TfrxPreviewPages* Pages, int Index)
{
    return FDocument && FDocument->PlacePage(Pages, Index);
}

void TfrxPrinter::EndPage()
{
    FCanvas = nullptr;
    if (FDocument)
        FDocument->EndPage();
}

void TfrxPrinter::EndDoc()
{
    FCanvas = nullptr;
    // The document is over however its end goes: a failed end is told once, by the
    // exception, and never ended again.
    std::unique_ptr<orv::report::PrintDocument> document = std::move(FDocument);
    FPrinting = false;
    // A tray or duplex chosen in the printer's dialog holds for one document.
    FBin = -1;
    FDuplex = -1;
    FMode.DefaultSource = FDefBin;
    FMode.Duplex = FDefDuplex;
    if (document)
        document->End();
}

void TfrxPrinter::Abort()
{
    FCanvas = nullptr;
    if (FDocument)
        FDocument->Abort();
    FDocument.reset();
    EndDoc();
}

void TfrxPrinter::BeginRAWDoc() { FRaw = printerService().StartRawDocument(FName, FTitle); }

void TfrxPrinter::WriteRAWDoc(const QByteArray& Buffer)
{
    if (FRaw)
        FRaw->Write(Buffer);
}

void TfrxPrinter::EndRAWDoc()
{
    if (FRaw) {
        FRaw->End();
        FRaw.reset();
    }
}

void TfrxPrinter::PropertiesDlg()
{
    const int duplex = FMode.Duplex;
    DeviceMode mode = FMode;
    if (!printerService().PropertiesDialog(FName, mode))
        return;
    FMode = mode;
    FBin = FMode.DefaultSource;
    if (FMode.Duplex != duplex)
        FDuplex = FMode.Duplex;
}

// ---------------------------------------------------------------- list

QString TfrxPrinters::GetDefaultPrinter() { return printerService().DefaultPrinter(); }

void TfrxPrinters::FillPrinters()
{
    Clear();
    for (const QString& name : printerService().Printers())
        AddPrinter(std::make_unique<TfrxPrinter>(name, printerService().Location(name)));
}

namespace {
std::unique_ptr<TfrxCustomPrinters>& theList()
{
    static std::unique_ptr<TfrxCustomPrinters> list;
    return list;
}
} // namespace

TfrxCustomPrinters* frxPrinterList()
{
    if (!theList()) {
        theList() = std::make_unique<TfrxPrinters>();
        theList()->Initialize();
    }
    return theList().get();
}

void frxResetPrinterList() { theList().reset(); }

} // namespace orv::report
