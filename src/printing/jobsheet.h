#pragma once
// The repair job sheet on paper (TfrmStampaLav), in the print preview (TfrmAnteprimaLav)
// and as "Scheda_di_Lavoro.pdf" (TfrmCrea_PDF_Lav), filled from the job-sheet editor on
// screen (frmLavoro).
#include "printing/docwindow.h"

namespace orv::printing {

// The three job-sheet windows: one layout each, one fill.
class JobSheetWindow : public DocumentWindow {
protected:
    JobSheetWindow(QWidget* owner, const QString& name, Output output, Buttons buttons, const QString& pdfFile = {});
    void fill(DocumentFill& f) override;
};

} // namespace orv::printing

namespace orv::printing {

class TfrmStampaLav : public orv::printing::JobSheetWindow {
public:
    explicit TfrmStampaLav(QWidget* owner = nullptr);
};

class TfrmAnteprimaLav : public orv::printing::JobSheetWindow {
public:
    explicit TfrmAnteprimaLav(QWidget* owner = nullptr);
};

class TfrmCrea_PDF_Lav : public orv::printing::JobSheetWindow {
public:
    explicit TfrmCrea_PDF_Lav(QWidget* owner = nullptr);
};

extern TfrmStampaLav* frmStampaLav;
extern TfrmAnteprimaLav* frmAnteprimaLav;
extern TfrmCrea_PDF_Lav* frmCrea_PDF_Lav;

} // namespace orv::printing

namespace orv::printing {

// The job-sheet layout of the print, preview or PDF window; they differ only in the
// width of the data-protection line.
std::unique_ptr<report::TfrxReport> jobSheetLayout(Output output);
// Writes the job sheet's memos from the job-sheet editor; the footer carries the moment
// of the fill.
void fillJobSheet(DocumentFill& f);

} // namespace orv::printing
