#pragma once
// The contract finder: up to ten criteria, the sorted result list, and the chosen
// contract loaded into the contract window (caller tag "contratti" in lblMemory).
#include "kit/listwindow.h"

namespace orv::customers {

class TfrmTrovaContratti : public orv::kit::FinderWindow {
public:
    explicit TfrmTrovaContratti(QWidget* owner = nullptr);
    ORV_CONTROL(Edit, txtCliente);
    ORV_CONTROL(Edit, txtComuneCli);
    ORV_CONTROL(Edit, txtPartitaIvaCli);
    ORV_CONTROL(Edit, txtCodFiscCli);
    ORV_CONTROL(Edit, txtData);
    ORV_CONTROL(Edit, txtMarca);
    ORV_CONTROL(Edit, txtMatricola);
    ORV_CONTROL(Edit, txtCaratteristiche);
    ORV_CONTROL(Edit, txtOpInc01);
    ORV_CONTROL(Edit, txtOpInc02);

protected:
    void load(const orv::archive::FoundRecord& found) override;
};

extern TfrmTrovaContratti* frmTrovaContratti;

} // namespace orv::customers
