#pragma once
// The document windows under test: the program's windows created as at start with the
// editors' document commands installed, the report engine's windows as the program sets
// them up, the services replaced by recording doubles (the engine's error box is a
// message box), and the engine's print dialog and preview window replaced by recorders
// that keep what the engine handed them.
#include "gui/doubles.h"

#include "printing/docwindow.h"
#include "report/model/report.h"

#include <QMap>

#include <ostream>

#include "qstring_printer.h"

namespace orv::test {

// A memo of a prepared page: its text and where it lies, in millimetres from the inner
// corner of the margins.
struct PlacedMemo {
    QString text;
    double left = 0, top = 0, width = 0, height = 0;
};

// The first prepared page of a report: every memo by name.
QMap<QString, PlacedMemo> preparedMemos(report::TfrxReport& report);
// The number of prepared pages.
int preparedPageCount(report::TfrxReport& report);

// What reached the engine's print dialog or preview: the memos of the first page.
struct EngineOutput {
    int pages = 0;
    QMap<QString, PlacedMemo> memos;
};

class DocumentsTest : public GuiTest {
protected:
    std::vector<EngineOutput> printed;    // every print the engine was asked for
    std::vector<EngineOutput> previewed;  // every preview shown
    bool printerAnswers = true;           // false: the user cancels the print dialog

    void SetUp() override;
    void TearDown() override;

    // The texts of the error boxes shown so far: the engine's errors.
    QStringList engineErrors() const;

    // Runs `script` inside the modal show of the window of that name.
    void whenShown(const QString& windowName, std::function<void(platform::ui::Form&)> script)
    {
        modal.scripts[windowName] = std::move(script);
    }
    static orv::printing::DocumentWindow& document(platform::ui::Form& f)
    {
        return dynamic_cast<orv::printing::DocumentWindow&>(f);
    }
};

} // namespace orv::test
