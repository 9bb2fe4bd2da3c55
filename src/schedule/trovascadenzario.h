#pragma once
// The schedule finder: up to ten criteria over the year open in the schedule editor, the
// sorted result list, and the chosen entry loaded into the editor (caller tag
// "Scadenzario").
#include "kit/listwindow.h"

namespace orv::schedule {

class TfrmTrovaScadenzario : public orv::kit::FinderWindow {
public:
    explicit TfrmTrovaScadenzario(QWidget* owner = nullptr);
    ORV_CONTROL(Edit, txtData);
    ORV_CONTROL(Edit, txtOra);
    ORV_CONTROL(Edit, txtPagatore);
    ORV_CONTROL(Edit, txtCodFisc);
    ORV_CONTROL(Edit, txtCodice);
    ORV_CONTROL(Edit, txtMarca);
    ORV_CONTROL(Edit, txtFornitore);
    ORV_CONTROL(Edit, txtBeneficiario);
    ORV_CONTROL(Edit, txtDettagli);
    ORV_CONTROL(Edit, txtNote);

protected:
    void load(const orv::archive::FoundRecord& found) override;
};

extern TfrmTrovaScadenzario* frmTrovaScadenzario;

} // namespace orv::schedule

namespace orv::schedule {

// The result list of the finder and the status lists: the archive the editor has open,
// the entry's line, and the title of the printed list.
orv::kit::ListSpec entryList(const QString& printTitle);
// Loads a chosen entry into the schedule editor with its position.
void loadIntoEditor(const orv::archive::FoundRecord& found);

} // namespace orv::schedule
