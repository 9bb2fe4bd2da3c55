#pragma once
// The delivery note on paper (TfrmStampaDDT), in the print preview (TfrmAnteprimaDDT)
// and as "DDT.pdf" (TfrmCrea_PDF_DDT), filled from the delivery-note editor on screen
// (frmDDT).
#include "printing/quotelayout.h"

namespace orv::printing {

class TfrmStampaDDT : public orv::printing::TradeDocumentWindow {
public:
    explicit TfrmStampaDDT(QWidget* owner = nullptr);
};

class TfrmAnteprimaDDT : public orv::printing::TradeDocumentWindow {
public:
    explicit TfrmAnteprimaDDT(QWidget* owner = nullptr);
};

class TfrmCrea_PDF_DDT : public orv::printing::TradeDocumentWindow {
public:
    explicit TfrmCrea_PDF_DDT(QWidget* owner = nullptr);
};

extern TfrmStampaDDT* frmStampaDDT;
extern TfrmAnteprimaDDT* frmAnteprimaDDT;
extern TfrmCrea_PDF_DDT* frmCrea_PDF_DDT;

} // namespace orv::printing
