#pragma once
// The repair job sheet on paper (TfrmStampaLav), in the print preview (TfrmAnteprimaLav)
// and as "Scheda_di_Lavoro.pdf" (TfrmCrea_PDF_Lav), filled from the job-sheet editor on
// screen (frmLavoro).
#include "printing/docwindow.h"

class TfrmStampaLav : public orv::printing::DocumentWindow {
public:
    explicit TfrmStampaLav(QWidget* owner = nullptr);

protected:
    void fill(orv::printing::DocumentFill& f) override;
};

class TfrmAnteprimaLav : public orv::printing::DocumentWindow {
public:
    explicit TfrmAnteprimaLav(QWidget* owner = nullptr);

protected:
    void fill(orv::printing::DocumentFill& f) override;
};

class TfrmCrea_PDF_Lav : public orv::printing::DocumentWindow {
public:
    explicit TfrmCrea_PDF_Lav(QWidget* owner = nullptr);

protected:
    void fill(orv::printing::DocumentFill& f) override;
};

extern TfrmStampaLav* frmStampaLav;
extern TfrmAnteprimaLav* frmAnteprimaLav;
extern TfrmCrea_PDF_Lav* frmCrea_PDF_Lav;

namespace orv::printing {

// The job-sheet layout of the print, preview or PDF window; they differ only in the
// width of the data-protection line.
std::unique_ptr<TfrxReport> jobSheetLayout(Output output);
// Writes the job sheet's memos from the job-sheet editor; the footer carries the moment
// of the fill.
void fillJobSheet(DocumentFill& f);

} // namespace orv::printing
