#pragma once
// The system's printers behind the printer abstraction: each printer keeps its settings
// (paper, orientation, tray, duplex, copies), measures page set-ups in whole millimetres
// and prints documents through the printing service (printservice.h).
#include "report/print/printers.h"
#include "report/print/printservice.h"

#include <memory>

namespace orv::report {

class TfrxPrinter : public TfrxCustomPrinter {
public:
    using TfrxCustomPrinter::TfrxCustomPrinter;
    ~TfrxPrinter() override;

    void Init() override;
    void Abort() override;
    void BeginDoc() override;
    void BeginPage() override;
    void BeginRAWDoc() override;
    void EndDoc() override;
    void EndPage() override;
    void EndRAWDoc() override;
    void WriteRAWDoc(const QByteArray& Buffer) override;
    void SetViewParams(int APaperSize, double APaperWidth, double APaperHeight,
                       TPrinterOrientation AOrientation) override;
    void SetPrintParams(int APaperSize, double APaperWidth, double APaperHeight, TPrinterOrientation AOrientation,
                        int ABin, int ADuplex, int ACopies) override;
    void PropertiesDlg() override;
    void ShowPrintDialog() override {}
    bool PlacePage(TfrxPreviewPages* Pages, int Index) override;

    // The settings the next page is measured or printed with.
    const orv::report::DeviceMode& Mode() const { return FMode; }

private:
    // Measures the current settings; false (after the error box) when the printer
    // reports no resolution.
    bool UpdateDeviceCaps();
    orv::report::DeviceMode FMode;
    std::unique_ptr<orv::report::PrintDocument> FDocument;
    std::unique_ptr<orv::report::RawDocument> FRaw;
};

class TfrxPrinters : public TfrxCustomPrinters {
public:
    QString GetDefaultPrinter() override;
    void FillPrinters() override;
};

} // namespace orv::report
