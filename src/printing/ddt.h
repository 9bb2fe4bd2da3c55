#pragma once
// The delivery note on paper (TfrmStampaDDT), in the print preview (TfrmAnteprimaDDT)
// and as "DDT.pdf" (TfrmCrea_PDF_DDT), filled from the delivery-note editor on screen
// (frmDDT).
#include "printing/docwindow.h"

class TfrmStampaDDT : public orv::printing::DocumentWindow {
public:
    explicit TfrmStampaDDT(QWidget* owner = nullptr);

protected:
    void fill(orv::printing::DocumentFill& f) override;
};

class TfrmAnteprimaDDT : public orv::printing::DocumentWindow {
public:
    explicit TfrmAnteprimaDDT(QWidget* owner = nullptr);

protected:
    void fill(orv::printing::DocumentFill& f) override;
};

class TfrmCrea_PDF_DDT : public orv::printing::DocumentWindow {
public:
    explicit TfrmCrea_PDF_DDT(QWidget* owner = nullptr);

protected:
    void fill(orv::printing::DocumentFill& f) override;
};

extern TfrmStampaDDT* frmStampaDDT;
extern TfrmAnteprimaDDT* frmAnteprimaDDT;
extern TfrmCrea_PDF_DDT* frmCrea_PDF_DDT;
