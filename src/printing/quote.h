#pragma once
// The quote on paper (TfrmStampaPrev), in the print preview (TfrmAnteprimaPrev) and as "Preventivo.pdf"
// (TfrmCrea_PDF_Prev), filled from the quote editor on screen (frmPreventivi).
#include "printing/docwindow.h"

class TfrmStampaPrev : public orv::printing::DocumentWindow {
public:
    explicit TfrmStampaPrev(QWidget* owner = nullptr);

protected:
    void fill(orv::printing::DocumentFill& f) override;
};

class TfrmAnteprimaPrev : public orv::printing::DocumentWindow {
public:
    explicit TfrmAnteprimaPrev(QWidget* owner = nullptr);

protected:
    void fill(orv::printing::DocumentFill& f) override;
};

class TfrmCrea_PDF_Prev : public orv::printing::DocumentWindow {
public:
    explicit TfrmCrea_PDF_Prev(QWidget* owner = nullptr);

protected:
    void fill(orv::printing::DocumentFill& f) override;
};

extern TfrmStampaPrev* frmStampaPrev;
extern TfrmAnteprimaPrev* frmAnteprimaPrev;
extern TfrmCrea_PDF_Prev* frmCrea_PDF_Prev;
