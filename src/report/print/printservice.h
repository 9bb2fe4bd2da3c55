#pragma once
// The system's printing as the report engine's printers use it: the printers and the
// default one, each printer's settings, papers and trays, measuring a page set-up, and
// documents whose pages are drawn on a canvas. The real service talks to CUPS through
// Qt PrintSupport (raw output through libcups); tests install a recording one.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QIODevice;
class QPageSize;
class QPrinter;
namespace orv::report {

class TfrxPreviewPages;

} // namespace orv::report

namespace orv::platform {
class Canvas;
}

namespace orv::report {

// The settings a page is measured or printed with.
struct DeviceMode {
    enum Orient { Portrait = 1, Landscape = 2 };
    enum DuplexValue { Simplex = 1, Vertical = 2, Horizontal = 3 };
    int PaperSize = 9;        // paper number; 256 a custom size
    double PaperLength = 0;   // custom size in tenths of a millimetre, portrait terms
    double PaperWidth = 0;
    int Orientation = Portrait;
    int Copies = 1;
    int DefaultSource = 7;    // tray number; 7 the default tray
    int Duplex = Simplex;
    bool operator==(const DeviceMode&) const = default;
};

// A page set-up measured by the printer, in device pixels.
struct DeviceCaps {
    int DpiX = 0, DpiY = 0;
    double PhysicalWidth = 0, PhysicalHeight = 0; // the whole sheet
    double OffsetX = 0, OffsetY = 0;              // printable area's top-left corner
    double HorzRes = 0, VertRes = 0;              // printable area's size
};

struct NumberedName {
    int Number;
    QString Name;
};

// A document being printed. Drawing is in device pixels with the origin at the
// printable area's top-left corner.
class PrintDocument {
public:
    virtual ~PrintDocument() = default;
    // Starts a page with the given set-up; the canvas stays valid until EndPage. A
    // document that takes pages whole may give no canvas.
    virtual orv::platform::Canvas* BeginPage(const DeviceMode& Mode) = 0;
    // Takes prepared page Index whole, at its natural size, as the page begun; false
    // when the document only takes drawing (the page is then drawn on the canvas).
    virtual bool PlacePage(TfrxPreviewPages* Pages, int Index)
    {
        (void)Pages;
        (void)Index;
        return false;
    }
    // Ends the page; a page on which nothing was placed or drawn stays blank.
    virtual void EndPage() = 0;
    // Cancels the document; nothing more is drawn and nothing reaches the printer.
    virtual void Abort() = 0;
    // Completes the document and hands it to the printer (or the file). Raises
    // orv::platform::Exception when the file cannot be written or the printing system refuses,
    // cancels or loses the job: the document is then not printed.
    virtual void End() = 0;
};

// Writes prepared pages, whole and at their paper's size, as one PDF document into a
// device. Printing hands a printer its pages this way when one is registered; the PDF
// export registers it from above the report engine.
class PageWriter {
public:
    virtual ~PageWriter() = default;
    virtual void Start(TfrxPreviewPages* Pages, const QString& Title, QIODevice* Output) = 0;
    // The page with the copy number the pages hold.
    virtual void WritePage(int Index) = 0;
    // An empty sheet, in millimetres as oriented.
    virtual void WriteBlankPage(double Width, double Height) = 0;
    virtual void Finish() = 0;
};
using PageWriterMaker = std::function<std::unique_ptr<PageWriter>()>;
// Registers the maker of page writers (an empty one forgets it: every page is drawn).
void setPageWriterMaker(PageWriterMaker Maker);
// A writer, or nullptr when none is registered.
std::unique_ptr<PageWriter> makePageWriter();

// Bytes handed to the printer as they are, bypassing its driver.
class RawDocument {
public:
    virtual ~RawDocument() = default;
    virtual void Write(const QByteArray& Data) = 0;
    virtual void End() = 0;
};

class PrinterService {
public:
    virtual ~PrinterService() = default;
    virtual QStringList Printers() = 0;
    // Empty when the system names none.
    virtual QString DefaultPrinter() = 0;
    // Where the printer is (its queue's location); may be empty.
    virtual QString Location(const QString& Printer) = 0;
    // The printer's own settings; nothing when the printer cannot be opened.
    virtual std::optional<DeviceMode> DefaultMode(const QString& Printer) = 0;
    // The papers and trays the printer offers, in its own order.
    virtual QList<NumberedName> Papers(const QString& Printer) = 0;
    virtual QList<NumberedName> Bins(const QString& Printer) = 0;
    // Measures a set-up; nothing when the printer cannot.
    virtual std::optional<DeviceCaps> Measure(const QString& Printer, const DeviceMode& Mode) = 0;
    // Starts a document (to FileName when it is not empty); raises orv::platform::Exception when
    // the printer or the file cannot take it. With WholePages every page is printed
    // whole at its natural size, so the document may take pages rather than drawing
    // (PrintDocument::PlacePage).
    virtual std::unique_ptr<PrintDocument> StartDocument(const QString& Printer, const QString& Title,
                                                         const QString& FileName, const DeviceMode& Mode,
                                                         bool WholePages) = 0;
    // The printer's settings dialog on Mode; true when the user confirmed (Mode then
    // holds the choice).
    virtual bool PropertiesDialog(const QString& Printer, DeviceMode& Mode) = 0;
    virtual std::unique_ptr<RawDocument> StartRawDocument(const QString& Printer, const QString& Title) = 0;
};

// The service in use; the real one unless a test installed its own (not owned; nullptr
// restores the real one). Installing a service makes the printer list read the
// printers again.
PrinterService& printerService();
void setPrinterService(PrinterService* Service);

// A document on a QPrinter already set up for its first page (printer or PDF file):
// later pages take their paper and orientation from the mode they begin with. Raises
// orv::platform::Exception when the printer cannot start.
std::unique_ptr<PrintDocument> startQPrinterDocument(std::unique_ptr<QPrinter> Printer);
// A document that takes pages whole through the registered page writer and writes them,
// as PDF, to the file FileName (replaced only once the document is complete); nullptr
// when no writer is registered. Raises orv::platform::Exception when the file cannot be made.
std::unique_ptr<PrintDocument> startWrittenDocument(const QString& Title, const QString& FileName);
// Sets a QPrinter's paper and orientation from a mode; the printable area is the
// printer's own.
void applyDeviceMode(QPrinter& Printer, const DeviceMode& Mode);
// The paper of a mode (a custom size, or A4 for a paper number Qt does not know).
QPageSize pageSizeOf(const DeviceMode& Mode);

} // namespace orv::report
