#pragma once
// The extra-data window: height, width, length and expiry of the article, which the
// article editor keeps in hidden labels and stores with the card at its next Save.
#include "platform/ui/form.h"

namespace orv::warehouse {

class TfrmDatiPneumatici : public orv::platform::ui::Form {
public:
    explicit TfrmDatiPneumatici(QWidget* owner = nullptr);
    ORV_CONTROL(Edit, txtConsumo);
    ORV_CONTROL(Edit, txtAderenza);
    ORV_CONTROL(Edit, txtRumore);
    ORV_CONTROL(Edit, txtOnde);
    ORV_CONTROL(Label, lblIstruzioni);
    ORV_CONTROL(Button, btnApplica);
    ORV_CONTROL(Button, btnAnnulla);

    void FormCreate();
    void FormShow();
    void btnApplicaClick();
    void btnAnnullaClick();
};

extern TfrmDatiPneumatici* frmDatiPneumatici;

} // namespace orv::warehouse
