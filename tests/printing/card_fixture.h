#pragma once
// What reached the printer or the preview: the report engine's print driver and preview
// window replaced by recorders that keep a copy of every prepared page's views (name,
// text, position on the page), so tests look at the pages a user would have got.
#include "gui/doubles.h"
#include "report/model/report.h"

#include <QMap>
#include <QRectF>
#include <QStringList>

#include <ostream>
#include <vector>

#include "qstring_printer.h"

namespace orv::test {

struct PreparedView {
    QString kind;  // class name: "TfrxMemoView", "TfrxShapeView" ...
    QString text;  // a memo's lines joined with "\n", without the last line break
    QRectF bounds; // on the page, in report pixels from the printable area
    report::TAlphaColor fill = 0;
    bool expressions = false, wrap = false;
    QString font;  // "Arial -12 bold"
};

struct PreparedPage {
    std::vector<std::pair<QString, PreparedView>> views; // in drawing order
    const PreparedView* find(const QString& name) const;
    // The text of the memo of that name; "<none>" when the page has none.
    QString text(const QString& name) const;
};

struct RecordedOutput {
    QString how; // "print" or "preview"
    QString reportName;
    report::TfrxPreviewButtons buttons;
    std::vector<PreparedPage> pages;
};

// Installs the recorders while it lives.
class OutputRecorder {
public:
    OutputRecorder();
    ~OutputRecorder();
    std::vector<RecordedOutput> outputs;
    bool printSucceeds = true;
};

// The prepared pages of a report as the recorders keep them.
std::vector<PreparedPage> snapshot(report::TfrxReport& report);

// The program's windows created as at start with the program's card and list layouts,
// the engine's printer and preview replaced by the recorder.
class CardPrintingTest : public GuiTest {
protected:
    OutputRecorder recorder;
    void SetUp() override;
    void TearDown() override;
};

} // namespace orv::test
