#pragma once
// Reports for the PDF writer's tests: small pages built in code, the program's list
// report read from its stored layout and the record card as the customer window fills
// it, and the export of a prepared report into memory or a file.
#include "pdf/pdfexport.h"
#include "platform/core/services.h"
#include "report/model/bands.h"
#include "report/model/pages.h"
#include "report/model/report.h"
#include "report/model/views.h"

#include <QDateTime>
#include <QStringList>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

#include "qstring_printer.h"
inline void PrintTo(const QByteArray& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace orv::pdf::test {

class FixedClock : public orv::platform::Clock {
public:
    QDateTime at = QDateTime(QDate(2021, 12, 5), QTime(14, 30));
    QDateTime now() const override { return at; }
};

// A fixed clock and a recorder of the engine's error boxes for every test.
class ReportTest : public ::testing::Test {
protected:
    FixedClock clock;
    QStringList errorBoxes;
    void SetUp() override;
    void TearDown() override;
};

// An empty report: the data page and one A4 portrait page with 10 mm margins.
std::unique_ptr<report::TfrxReport> makeReport();
report::TfrxReportPage* firstPage(report::TfrxReport& report);
// A memo lying directly on the page, expressions off.
report::TfrxMemoView* addMemo(report::TfrxComponent* parent, const QString& name, double left, double top, double width,
                      double height, const QString& text);
// The memo "Totale" and the horizontal line of the writer's worked example.
std::unique_ptr<report::TfrxReport> makeExampleReport();

// The list report of the finders, read from its stored layout, with `lines` lines.
std::unique_ptr<report::TfrxReport> makeListReport(int lines);
// The record card of the customer window, filled with a customer.
std::unique_ptr<report::TfrxReport> makeCardReport();

// Prepares the report and exports it into memory; the filter is set up by the caller
// (ShowDialog is off). Fails the test when the export reports failure.
QByteArray exportToMemory(report::TfrxReport& report, const std::function<void(pdf::TfrxPDFExport&)>& setup = {});

} // namespace orv::pdf::test
