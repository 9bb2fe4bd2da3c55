#include "report/print/printers.h"

#include "platform/core/text.h"
#include "report/base/errors.h"
#include "report/base/paper.h"
#include "report/base/resources.h"

// ---------------------------------------------------------------- numbered names

namespace orv::report {

void TfrxNumberedNames::Add(const QString& Name, int Number)
{
    Names << Name;
    Numbers << Number;
}

void TfrxNumberedNames::Clear()
{
    Names.clear();
    Numbers.clear();
}

int TfrxNumberedNames::IndexOfNumber(int Number) const { return int(Numbers.indexOf(Number)); }

int TfrxNumberedNames::IndexOfName(const QString& Name) const
{
    for (int i = 0; i < Count(); ++i)
        if (orv::platform::sameTextAZ(Names[i], Name))
            return i;
    return -1;
}

// ---------------------------------------------------------------- printer

TfrxCustomPrinter::TfrxCustomPrinter(const QString& AName, const QString& APort) : FName(AName), FPort(APort)
{
    FPapers.Add(frxStringResources()->Get(QStringLiteral("prCustom")), frxCustomPaper);
    FBins.Add(frxStringResources()->Get(QStringLiteral("prDefault")), frxDefaultBin);
}

TfrxCustomPrinter::~TfrxCustomPrinter() = default;

int TfrxCustomPrinter::BinNameToNumber(const QString& ABin) const
{
    const int i = FBins.IndexOfName(ABin);
    return FBins.Numbers[i < 0 ? 0 : i];
}

int TfrxCustomPrinter::PaperNameToNumber(const QString& APaper) const
{
    const int i = FPapers.IndexOfName(APaper);
    return FPapers.Numbers[i < 0 ? 0 : i];
}

// ---------------------------------------------------------------- virtual printer

void TfrxVirtualPrinter::Init()
{
    if (FInitialized)
        return;
    FDPI = QPoint(600, 600);
    FDefPaper = 9;
    FDefOrientation = poPortrait;
    FDefPaperWidth = 210;
    FDefPaperHeight = 297;
    // The table's names rather than blanks, so that a paper list shows what it offers.
    for (const TfrxPaperInfo& p : frxPaperTable())
        FPapers.Add(QString::fromLatin1(p.Name), p.Code);
    FPaper = FDefPaper;
    FPaperWidth = FDefPaperWidth;
    FPaperHeight = FDefPaperHeight;
    FBin = -1;
    FDuplex = -1;
    FInitialized = true;
}

void TfrxVirtualPrinter::SetViewParams(int APaperSize, double APaperWidth, double APaperHeight,
                                       TPrinterOrientation AOrientation)
{
    double w = 0, h = 0;
    if (APaperSize != frxCustomPaper && frxPaperDimensions(APaperSize, w, h)) {
        if (AOrientation == poLandscape)
            std::swap(w, h);
        FPaperWidth = w;
        FPaperHeight = h;
        FPaper = APaperSize;
    } else {
        FPaper = frxCustomPaper;
        FPaperWidth = APaperWidth;
        FPaperHeight = APaperHeight;
    }
    FOrientation = AOrientation;
    FLeftMargin = FTopMargin = FRightMargin = FBottomMargin = 5;
}

void TfrxVirtualPrinter::SetPrintParams(int APaperSize, double APaperWidth, double APaperHeight,
                                        TPrinterOrientation AOrientation, int ABin, int, int)
{
    SetViewParams(APaperSize, APaperWidth, APaperHeight, AOrientation);
    FBin = ABin;
}

// ---------------------------------------------------------------- printer list

TfrxCustomPrinters::TfrxCustomPrinters() = default;

TfrxCustomPrinters::~TfrxCustomPrinters() = default;

void TfrxCustomPrinters::Initialize()
{
    try {
        FillPrinters();
    } catch (...) {
        // The list keeps the printers found before the error.
    }
    if (!FPrinterList.empty()) {
        FHasPhysicalPrinters = true;
        const int def = IndexOf(GetDefaultPrinter());
        SetPrinterIndex(def == -1 ? 0 : def);
    } else {
        FPrinterList.push_back(
            std::make_unique<TfrxVirtualPrinter>(frxStringResources()->Get(QStringLiteral("prVirtual")), QString()));
        FHasPhysicalPrinters = false;
        SetPrinterIndex(0);
    }
}

void TfrxCustomPrinters::AddPrinter(std::unique_ptr<TfrxCustomPrinter> Printer)
{
    FPrinters << Printer->Name();
    FPrinterList.push_back(std::move(Printer));
}

TfrxCustomPrinter* TfrxCustomPrinters::Printer() const
{
    if (FPrinterIndex < 0 || FPrinterIndex >= Count())
        return nullptr;
    return FPrinterList[size_t(FPrinterIndex)].get();
}

TfrxCustomPrinter* TfrxCustomPrinters::Items(int Index) const
{
    if (Index < 0)
        return nullptr;
    if (Index >= Count())
        throw orv::report::ListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FPrinterList[size_t(Index)].get();
}

void TfrxCustomPrinters::SetPrinterIndex(int Value)
{
    FPrinterIndex = Value == -1 ? IndexOf(GetDefaultPrinter()) : Value;
    if (TfrxCustomPrinter* p = Printer())
        p->Init();
}

int TfrxCustomPrinters::IndexOf(const QString& AName) const
{
    for (int i = 0; i < FPrinters.size(); ++i)
        if (FPrinters[i].compare(AName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TfrxCustomPrinters::Clear()
{
    FPrinterList.clear();
    FPrinters.clear();
    FPrinterIndex = -1;
}

} // namespace orv::report
