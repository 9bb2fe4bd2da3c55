#pragma once
// The quote on paper (TfrmStampaPrev), in the print preview (TfrmAnteprimaPrev)
// and as "Preventivo.pdf" (TfrmCrea_PDF_Prev), filled from the quote editor on screen
// (frmPreventivi).
#include "printing/quotelayout.h"

namespace orv::printing {

class TfrmStampaPrev : public orv::printing::TradeDocumentWindow {
public:
    explicit TfrmStampaPrev(QWidget* owner = nullptr);
};

class TfrmAnteprimaPrev : public orv::printing::TradeDocumentWindow {
public:
    explicit TfrmAnteprimaPrev(QWidget* owner = nullptr);
};

class TfrmCrea_PDF_Prev : public orv::printing::TradeDocumentWindow {
public:
    explicit TfrmCrea_PDF_Prev(QWidget* owner = nullptr);
};

extern TfrmStampaPrev* frmStampaPrev;
extern TfrmAnteprimaPrev* frmAnteprimaPrev;
extern TfrmCrea_PDF_Prev* frmCrea_PDF_Prev;

} // namespace orv::printing
