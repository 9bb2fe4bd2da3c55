#pragma once
// The record card `repScheda`: a title, twenty-four caption and value pairs and a footer
// with the moment of printing, on one A4 page. The customer and article editors hold the
// same card; the schedule editor's differs in its preview buttons and its wrapping title
// and footer.
#include "kit/reports.h"

#include <memory>

namespace orv::report {
class TfrxReport;
}
namespace orv::report {
class TfrxCustomExportFilter;
}
class QWidget;

namespace orv::printing {

enum class CardKind { Record, Schedule };

std::unique_ptr<report::TfrxReport> makeCardLayout(CardKind kind);

// The card layout as the card commands use it, with its PDF exporter.
class CardReport : public orv::kit::CardLayout {
public:
    explicit CardReport(CardKind kind);
    ~CardReport() override;

    void setPortrait() override;
    bool setMemoText(const QString& memo, const QString& text) override;
    void print() override;
    void preview() override;
    bool exportPdf(const QString& path) override;

    report::TfrxReport& report() { return *m_report; }

private:
    std::unique_ptr<report::TfrxReport> m_report;
    std::unique_ptr<report::TfrxCustomExportFilter> m_pdf;
};

// The card of the window that prints it: the schedule editor holds its own variant.
std::unique_ptr<orv::kit::CardLayout> cardLayoutFor(QWidget* owner);

} // namespace orv::printing
