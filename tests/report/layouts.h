#pragma once
// Two layouts as the program's windows hold them: the list report of the finders and the
// record card, built in code.
#include "report/model/datasets.h"
#include "report/model/report.h"

#include "report/model/bands.h"
#include "report/pages/previewpages.h"

#include <QVariantMap>
#include <vector>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable texts in test failures.
#include "qstring_printer.h"

namespace orv::report::test {

// "Riepilogo dati": A4 landscape, a title band, a master-data band printed once with the
// list memo, a footer with the print date.
std::unique_ptr<report::TfrxReport> makeListLayout();
// "Scheda informativa": A4 portrait, a logo, a title, a frame of shapes and lines and
// twenty-four caption and value pairs lying directly on the page.
std::unique_ptr<report::TfrxReport> makeCardLayout();
// The template text of a report.
QByteArray templateText(report::TfrxReport& report);
// What the list windows do before preparing: every line ("RIGA 0001 CLIENTE DI PROVA"
// and so on) into the list memo, the memo as high as its lines at 12.822 pixels each and
// its band 10 pixels higher.
void fillList(report::TfrxReport& report, int lines);

// Rows of a user dataset: field name to value, one map per row; every field counts as text.
class RowsDataSet : public report::TfrxUserDataSet {
public:
    RowsDataSet(orv::platform::Component* owner, std::vector<QVariantMap> rows) : report::TfrxUserDataSet(owner), m_rows(std::move(rows))
    {
        SetRangeEnd(reCount);
        SetRangeEndCount(int(m_rows.size()));
    }
    QVariant GetValue(const QString& Index) override
    {
        return RecNo() >= 0 && RecNo() < int(m_rows.size()) ? m_rows[size_t(RecNo())].value(Index) : QVariant();
    }
    report::TfrxFieldType GetFieldType(const QString& Index) override { return fftString; }

private:
    std::vector<QVariantMap> m_rows;
};

// Collects the texts of the engine's error boxes while it lives.
class ErrorBoxRecorder {
public:
    explicit ErrorBoxRecorder(QStringList& shown);
    ~ErrorBoxRecorder();
};

// A report with its data page "Data" and report page "Page1", built band by band, its
// datasets rows that outlive the template reload of every preparation, and the error
// boxes it shows.
struct LayoutFixture : ::testing::Test {
    std::vector<std::unique_ptr<RowsDataSet>> programDataSets;
    std::unique_ptr<report::TfrxReport> report = std::make_unique<report::TfrxReport>();
    report::TfrxDataPage* data = new report::TfrxDataPage(report.get());
    report::TfrxReportPage* page = new report::TfrxReportPage(report.get());
    QStringList shown;
    std::unique_ptr<ErrorBoxRecorder> box;

    void SetUp() override;

    template <class B>
    B* band(const QString& name, double top, double height = 20)
    {
        auto* b = new B(page);
        b->SetName(name);
        b->SetBounds(0, top, 718, height);
        return b;
    }
    report::TfrxMemoView* memo(report::TfrxComponent* parent, const QString& name, const QString& text, double top = 0,
                       double height = 18);
    RowsDataSet* rows(const QString& name, std::vector<QVariantMap> values);
    report::TfrxPreviewPages& pages() { return *static_cast<report::TfrxPreviewPages*>(report->PreviewPages()); }
    // The texts of the memos of every page, in order.
    QStringList texts();
};

} // namespace orv::report::test
