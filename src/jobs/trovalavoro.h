#pragma once
// The job-sheet finder: up to ten criteria over the year file the editor has open, the
// sorted result list, and the chosen sheet loaded into the editor when the finder was
// opened by it (caller tag "lavoro").
#include "kit/listwindow.h"

namespace orv::jobs {

class TfrmTrovaLavoro : public orv::kit::FinderWindow {
public:
    explicit TfrmTrovaLavoro(QWidget* owner = nullptr);
    ORV_CONTROL(Edit, txtNumScheda);
    ORV_CONTROL(Edit, txtData);
    ORV_CONTROL(Edit, txtCliente);
    ORV_CONTROL(Edit, txtIndirizzoCli);
    ORV_CONTROL(Edit, txtMarca);
    ORV_CONTROL(Edit, txtMatricola);
    ORV_CONTROL(Edit, txtTecnico);
    ORV_CONTROL(Edit, txtStato);
    ORV_CONTROL(Edit, txtLavori);
    ORV_CONTROL(Edit, txtAnnotazioni);

protected:
    void load(const orv::archive::FoundRecord& found) override;
};

extern TfrmTrovaLavoro* frmTrovaLavoro;

} // namespace orv::jobs
