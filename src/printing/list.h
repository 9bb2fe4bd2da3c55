#pragma once
// The list print "Riepilogo dati" of every finder and list window: a title band, one memo
// holding every line of the list (split over as many landscape pages as it needs) and a
// footer with the date of printing.
#include "archive/lists.h"

#include <memory>

namespace orv::report {
class TfrxReport;
}

namespace orv::printing {

std::unique_ptr<report::TfrxReport> makeSummaryLayout();

class SummaryReport : public orv::archive::SummaryLayout {
public:
    SummaryReport();
    ~SummaryReport() override;

    bool setMemoText(const QString& memo, const QString& text) override;
    bool setMemoLines(const QString& memo, const QStringList& lines) override;
    bool setHeight(const QString& object, double height) override;
    void prepareAndPrint() override;

    report::TfrxReport& report() { return *m_report; }

private:
    std::unique_ptr<report::TfrxReport> m_report;
};

} // namespace orv::printing
