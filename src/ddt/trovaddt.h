#pragma once
// The delivery-note finder: up to ten criteria over the year file the editor has open,
// the sorted result list, and the chosen delivery note loaded into the editor when the
// finder was opened by it (caller tag "ddt").
#include "kit/listwindow.h"

namespace orv::ddt {

class TfrmTrovaDDT : public orv::kit::FinderWindow {
public:
    explicit TfrmTrovaDDT(QWidget* owner = nullptr);
    ORV_CONTROL(Edit, txtNumFatt);
    ORV_CONTROL(Edit, txtData);
    ORV_CONTROL(Edit, txtCliente);
    ORV_CONTROL(Edit, txtViaCliente);
    ORV_CONTROL(Edit, txtCittaCliente);
    ORV_CONTROL(Edit, txtPagamento);
    ORV_CONTROL(Edit, txtIvaCliente);
    ORV_CONTROL(Edit, txtCodFiscCliente);
    ORV_CONTROL(Edit, txtRiferimenti);
    ORV_CONTROL(Edit, txtNote);

protected:
    void load(const orv::archive::FoundRecord& found) override;
};

extern TfrmTrovaDDT* frmTrovaDDT;

} // namespace orv::ddt
