#pragma once
// The quote finder: up to ten criteria over the year file the editor has open, the
// sorted result list, and the chosen quote loaded into the editor when the finder was
// opened by it (caller tag "preventivi").
#include "kit/listwindow.h"

namespace orv::quotes {

class TfrmTrovaPreventivi : public orv::kit::FinderWindow {
public:
    explicit TfrmTrovaPreventivi(QWidget* owner = nullptr);
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

extern TfrmTrovaPreventivi* frmTrovaPreventivi;

} // namespace orv::quotes
