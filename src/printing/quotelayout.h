#pragma once
// The quote and the delivery note on paper: one page with the issuing company, the
// customer, payment, notes, thirty article rows, the totals and, at the foot, the quote's
// extra information or the delivery note's transport data. The two documents share the
// whole page but for their titles, the width of the number and date lines and the box at
// the foot; their print, preview and PDF windows share the layout and its fill.
#include "printing/docwindow.h"

#include <memory>

namespace orv::report {
class TfrxReport;
}

namespace orv::printing {

enum class TradeDocument { Quote, DeliveryNote };

std::unique_ptr<report::TfrxReport> tradeDocumentLayout(TradeDocument kind);
// Writes every memo of the document from the editor on screen, in the mapping's order.
void fillTradeDocument(DocumentFill& f, TradeDocument kind);

// The print, preview and PDF windows of both documents: one layout each, one fill.
class TradeDocumentWindow : public DocumentWindow {
protected:
    TradeDocumentWindow(QWidget* owner, TradeDocument kind, const QString& name, Output output, Buttons buttons);
    void fill(DocumentFill& f) override;

private:
    TradeDocument kind_;
};

} // namespace orv::printing
