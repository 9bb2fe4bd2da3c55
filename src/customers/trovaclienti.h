#pragma once
// The customer finder: up to ten criteria, the sorted result list, and the chosen card
// written into the window that opened it (caller tag in lblMemory).
#include "kit/listwindow.h"

namespace orv::customers {

class TfrmTrovaClienti : public orv::kit::FinderWindow {
public:
    explicit TfrmTrovaClienti(QWidget* owner = nullptr);
    ORV_CONTROL(Edit, txtCliente);
    ORV_CONTROL(Edit, txtComuneRes);
    ORV_CONTROL(Edit, txtPartitaIva);
    ORV_CONTROL(Edit, txtCodFisc);
    ORV_CONTROL(Edit, txtTipoImpianto);
    ORV_CONTROL(Edit, txtMarca);
    ORV_CONTROL(Edit, txtMatricola);
    ORV_CONTROL(Edit, txtUbicazione);
    ORV_CONTROL(Edit, txtQuestioni);
    ORV_CONTROL(Edit, txtNote);

protected:
    void load(const orv::archive::FoundRecord& found) override;
};

extern TfrmTrovaClienti* frmTrovaClienti;

} // namespace orv::customers
