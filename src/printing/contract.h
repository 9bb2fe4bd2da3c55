#pragma once
// The programmed-maintenance contract on paper (TfrmStampaCon) and in the print preview
// (TfrmAnteprimaCon), filled from the contract editor on screen (frmContratto).
#include "printing/docwindow.h"

namespace orv::printing {

// The two contract windows: one layout each, one fill.
class ContractWindow : public DocumentWindow {
protected:
    ContractWindow(QWidget* owner, const QString& name, Output output, int pictureTop);
    void fill(DocumentFill& f) override;
};

} // namespace orv::printing

namespace orv::printing {

class TfrmStampaCon : public orv::printing::ContractWindow {
public:
    explicit TfrmStampaCon(QWidget* owner = nullptr);
};

class TfrmAnteprimaCon : public orv::printing::ContractWindow {
public:
    explicit TfrmAnteprimaCon(QWidget* owner = nullptr);
};

extern TfrmStampaCon* frmStampaCon;
extern TfrmAnteprimaCon* frmAnteprimaCon;

} // namespace orv::printing

namespace orv::printing {

// The contract layout of the print (Print) or the preview (Preview) window; the two
// differ only in the last signature label, 1 mm lower on paper.
std::unique_ptr<report::TfrxReport> contractLayout(Output output);
// Writes the contract's memos from the contract editor.
void fillContract(DocumentFill& f);

} // namespace orv::printing
