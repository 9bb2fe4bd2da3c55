#pragma once
// The printers the report engine prints through: an abstract printer with its papers,
// trays and page geometry, the process-wide list of the system's printers, and the
// virtual printer that stands in when the system has none.
//
// Units: paper sizes and margins in millimetres, resolutions in pixels per inch; papers
// and trays carry the numbers layouts store (9 = A4, 256 = a custom size; tray 7 = the
// printer's default tray).
#include "report/base/types.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace orv::report {

class TfrxPreviewPages;

} // namespace orv::report

namespace orv::platform {
class Canvas;
}

namespace orv::report {

inline constexpr int frxCustomPaper = 256;
inline constexpr int frxDefaultBin = 7;

// Names with a number each: a printer's papers or trays.
struct TfrxNumberedNames {
    QStringList Names;
    QList<int> Numbers;

    void Add(const QString& Name, int Number);
    void Clear();
    int Count() const { return int(Names.size()); }
    // The position of the entry with that number, -1 when none.
    int IndexOfNumber(int Number) const;
    // The position of the first entry with that name (A-Z ignoring case), -1 when none.
    int IndexOfName(const QString& Name) const;
};

class TfrxCustomPrinter {
public:
    TfrxCustomPrinter(const QString& AName, const QString& APort);
    virtual ~TfrxCustomPrinter();
    TfrxCustomPrinter(const TfrxCustomPrinter&) = delete;
    TfrxCustomPrinter& operator=(const TfrxCustomPrinter&) = delete;

    // Reads the printer's settings and measures its default paper; does nothing once
    // initialised. A printer that cannot be read stays uninitialised.
    virtual void Init() = 0;
    virtual void Abort() = 0;
    virtual void BeginDoc() = 0;
    virtual void BeginPage() = 0;
    virtual void BeginRAWDoc() = 0;
    virtual void EndDoc() = 0;
    virtual void EndPage() = 0;
    virtual void EndRAWDoc() = 0;
    virtual void WriteRAWDoc(const QByteArray& Buffer) = 0;
    // Measures a page set-up: the paper size and printable margins that follow.
    virtual void SetViewParams(int APaperSize, double APaperWidth, double APaperHeight,
                               TPrinterOrientation AOrientation) = 0;
    // The set-up of the pages printed next.
    virtual void SetPrintParams(int APaperSize, double APaperWidth, double APaperHeight,
                                TPrinterOrientation AOrientation, int ABin, int ADuplex, int ACopies) = 0;
    // The printer's own settings dialog (paper, tray, duplex).
    virtual void PropertiesDlg() = 0;
    virtual void ShowPrintDialog() = 0;
    // Takes prepared page Index whole, at its natural size, as the page begun; false when
    // the printer only draws (the page is then drawn on Canvas).
    virtual bool PlacePage(TfrxPreviewPages* Pages, int Index)
    {
        (void)Pages;
        (void)Index;
        return false;
    }

    int BinIndex(int ABin) const { return FBins.IndexOfNumber(ABin); }
    int PaperIndex(int APaper) const { return FPapers.IndexOfNumber(APaper); }
    // The number of the entry of that name; the first entry's number (the default tray,
    // the custom paper) when no entry has it.
    int BinNameToNumber(const QString& ABin) const;
    int PaperNameToNumber(const QString& APaper) const;

    const QString& Name() const { return FName; }
    const QString& Port() const { return FPort; }
    const TfrxNumberedNames& Papers() const { return FPapers; }
    const TfrxNumberedNames& Bins() const { return FBins; }
    int DefPaper() const { return FDefPaper; }
    double DefPaperWidth() const { return FDefPaperWidth; }
    double DefPaperHeight() const { return FDefPaperHeight; }
    TPrinterOrientation DefOrientation() const { return FDefOrientation; }
    int DefBin() const { return FDefBin; }
    int DefDuplex() const { return FDefDuplex; }
    int Paper() const { return FPaper; }
    double PaperWidth() const { return FPaperWidth; }
    double PaperHeight() const { return FPaperHeight; }
    double LeftMargin() const { return FLeftMargin; }
    double TopMargin() const { return FTopMargin; }
    double RightMargin() const { return FRightMargin; }
    double BottomMargin() const { return FBottomMargin; }
    TPrinterOrientation Orientation() const { return FOrientation; }
    int Bin() const { return FBin; }
    int Duplex() const { return FDuplex; }
    QPoint DPI() const { return FDPI; }
    // The drawing surface of the page being printed; nullptr outside a page.
    orv::platform::Canvas* Canvas() const { return FCanvas; }
    bool Initialized() const { return FInitialized; }
    bool Printing() const { return FPrinting; }
    const QString& Title() const { return FTitle; }
    void SetTitle(const QString& Value) { FTitle = Value; }
    // Printing to a file: the file's name; empty prints on the device.
    const QString& FileName() const { return FFileName; }
    void SetFileName(const QString& Value) { FFileName = Value; }
    // The next document prints every page whole at its natural size (no scaling, no
    // pages joined on a sheet), so its pages may be placed rather than drawn.
    bool WholePages() const { return FWholePages; }
    void SetWholePages(bool Value) { FWholePages = Value; }

protected:
    QString FName, FPort;
    TfrxNumberedNames FPapers, FBins;
    int FDefPaper = 0;
    double FDefPaperWidth = 0, FDefPaperHeight = 0;
    TPrinterOrientation FDefOrientation = poPortrait;
    int FDefBin = 0, FDefDuplex = 0;
    int FPaper = 0;
    double FPaperWidth = 0, FPaperHeight = 0;
    double FLeftMargin = 0, FTopMargin = 0, FRightMargin = 0, FBottomMargin = 0;
    TPrinterOrientation FOrientation = poPortrait;
    int FBin = -1, FDuplex = -1;
    QPoint FDPI;
    orv::platform::Canvas* FCanvas = nullptr;
    QString FTitle, FFileName;
    bool FInitialized = false;
    bool FPrinting = false;
    bool FWholePages = false;
};

// Only reports page geometry: the stand-in when the system has no printer.
class TfrxVirtualPrinter : public TfrxCustomPrinter {
public:
    using TfrxCustomPrinter::TfrxCustomPrinter;
    void Init() override;
    void Abort() override {}
    void BeginDoc() override {}
    void BeginPage() override {}
    void BeginRAWDoc() override {}
    void EndDoc() override {}
    void EndPage() override {}
    void EndRAWDoc() override {}
    void WriteRAWDoc(const QByteArray&) override {}
    void SetViewParams(int APaperSize, double APaperWidth, double APaperHeight,
                       TPrinterOrientation AOrientation) override;
    void SetPrintParams(int APaperSize, double APaperWidth, double APaperHeight, TPrinterOrientation AOrientation,
                        int ABin, int ADuplex, int ACopies) override;
    void PropertiesDlg() override {}
    void ShowPrintDialog() override {}
};

class TfrxCustomPrinters {
public:
    TfrxCustomPrinters();
    virtual ~TfrxCustomPrinters();
    TfrxCustomPrinters(const TfrxCustomPrinters&) = delete;
    TfrxCustomPrinters& operator=(const TfrxCustomPrinters&) = delete;

    // Fills the list (an error while the system lists its printers is swallowed) and
    // selects the default printer; without printers the virtual printer stands in.
    void Initialize();

    // The current printer, nullptr when none is selected.
    TfrxCustomPrinter* Printer() const;
    // nullptr for a negative index; an index beyond the list raises ListError.
    TfrxCustomPrinter* Items(int Index) const;
    int Count() const { return int(FPrinterList.size()); }
    // The names of the system's printers (empty when only the virtual printer exists).
    const QStringList& Printers() const { return FPrinters; }
    int PrinterIndex() const { return FPrinterIndex; }
    // -1 looks the default printer up (and may find none); a selected printer is
    // initialised.
    void SetPrinterIndex(int Value);
    // The first printer of that name, ignoring case; -1 when none.
    int IndexOf(const QString& AName) const;
    void Clear();
    bool HasPhysicalPrinters() const { return FHasPhysicalPrinters; }

    virtual QString GetDefaultPrinter() { return QString(); }
    virtual void FillPrinters() {}

protected:
    void AddPrinter(std::unique_ptr<TfrxCustomPrinter> Printer);

private:
    std::vector<std::unique_ptr<TfrxCustomPrinter>> FPrinterList;
    QStringList FPrinters;
    int FPrinterIndex = -1;
    bool FHasPhysicalPrinters = false;
};

// The one printer list of the process, made on first use.
TfrxCustomPrinters* frxPrinterList();
// Forgets the list, so that the next call lists the system's printers again (the
// printing system was replaced).
void frxResetPrinterList();

} // namespace orv::report
