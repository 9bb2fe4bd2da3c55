#pragma once
// What the printing and preview tests share: a printing system of printers that record
// the pages drawn on them, a save dialog that answers from a queue, and the list report
// "Riepilogo dati" filled with as many lines as a test needs.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include "../report/recording_canvas.h"
#pragma GCC diagnostic pop
#include "gui/doubles.h"

#include "report/model/report.h"
#include "report/pages/previewpages.h"
#include "report/preview/controls.h"
#include "report/print/printservice.h"

#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "qstring_printer.h"

namespace orv::report::test {

// One printer of the recording system.
struct FakePrinter {
    QString name;
    QString location;
    report::DeviceMode defaults;
    QList<report::NumberedName> papers = {{9, QStringLiteral("A4")}, {8, QStringLiteral("A3")}, {11, QStringLiteral("A5")}};
    QList<report::NumberedName> bins;
    int dpi = 300;
    double margin = 4.2; // unprintable border on every side, millimetres
    bool opens = true;    // false: the printer cannot be read
};

// A printed page: the set-up it was printed with and what was drawn, in device pixels.
struct PrintedPage {
    report::DeviceMode mode;
    std::vector<RecordingCanvas::Text> texts;
    std::vector<RecordingCanvas::Shape> shapes;
    // The texts of the page, top to bottom, as lines.
    QStringList lines() const;
};

struct PrintedDocument {
    QString printer, title, fileName;
    report::DeviceMode startMode;
    std::vector<PrintedPage> pages;
    bool aborted = false, ended = false;
    bool wholePages = false; // every page asked for whole at natural size
};

class RecordingPrinterService : public report::PrinterService {
public:
    std::vector<FakePrinter> printers;
    QString defaultPrinter;
    std::deque<PrintedDocument> documents;
    // Answers of the printers' settings dialog: the mode it leaves, or a cancel.
    std::deque<std::optional<report::DeviceMode>> propertiesAnswers;
    QList<QByteArray> raw;
    int measures = 0; // set-ups measured (each reconfiguration of a printer)

    FakePrinter& add(const QString& name, const QString& location = QString());

    QStringList Printers() override;
    QString DefaultPrinter() override { return defaultPrinter; }
    QString Location(const QString& Printer) override;
    std::optional<report::DeviceMode> DefaultMode(const QString& Printer) override;
    QList<report::NumberedName> Papers(const QString& Printer) override;
    QList<report::NumberedName> Bins(const QString& Printer) override;
    std::optional<report::DeviceCaps> Measure(const QString& Printer, const report::DeviceMode& Mode) override;
    std::unique_ptr<report::PrintDocument> StartDocument(const QString& Printer, const QString& Title, const QString& FileName,
                                                 const report::DeviceMode& Mode, bool WholePages) override;
    bool PropertiesDialog(const QString& Printer, report::DeviceMode& Mode) override;
    std::unique_ptr<report::RawDocument> StartRawDocument(const QString& Printer, const QString& Title) override;

    const FakePrinter* find(const QString& name) const;
};

class FakeSaveDialog : public report::SaveDialogService {
public:
    std::deque<std::optional<QString>> answers; // default: cancelled
    QStringList titles, filters;
    std::optional<QString> saveFile(const QString& Title, const QString& Filter) override;
};

// A window test with the report engine's windows set up, the recording printers
// installed ("Ufficio", the default, and "Laboratorio") and the engine's error boxes
// going to the recorded message boxes.
class PrintingTest : public orv::test::GuiTest {
protected:
    RecordingPrinterService printing;
    FakeSaveDialog saves;
    void SetUp() override;
    void TearDown() override;
    // The list report of the finders with `lines` lines, prepared.
    std::unique_ptr<report::TfrxReport> preparedList(int lines);
    report::TfrxPreviewPages& pagesOf(report::TfrxReport& report)
    {
        return *static_cast<report::TfrxPreviewPages*>(report.PreviewPages());
    }
    // Texts of the error boxes shown so far.
    QStringList errorBoxes() const;
};

// "Riepilogo dati" read from its template, its list memo holding `lines` lines
// ("RIGA 0001 CLIENTE DI PROVA", ...) and as high as they are.
std::unique_ptr<report::TfrxReport> listReport(int lines);
// The n-th line of the list.
QString listLine(int n);

} // namespace orv::report::test
