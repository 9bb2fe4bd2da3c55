#pragma once
// The date picker of the customer editor's due date.
#include "platform/ui/form.h"

namespace orv::customers {

class TfrmCalendario : public orv::platform::ui::Form {
public:
    explicit TfrmCalendario(QWidget* owner = nullptr);
    ORV_CONTROL(Label, lblCampo001);
    ORV_CONTROL(Calendar, calAppuntamenti);
    ORV_CONTROL(Button, btnImportaData);
    ORV_CONTROL(Button, btnAnnulla);
    ORV_CONTROL(Label, lblMemory);

    void FormCreate();
    void btnImportaDataClick();
    void btnAnnullaClick();
};

extern TfrmCalendario* frmCalendario;

} // namespace orv::customers
