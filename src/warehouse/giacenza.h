#pragma once
// The stock window: adds a quantity to, or subtracts it from, the stock shown in the
// article editor and writes the result into the editor's stock field. The archive changes
// only when the editor saves.
#include "platform/ui/form.h"

namespace orv::warehouse {

class TfrmGiacenza : public orv::platform::ui::Form {
public:
    explicit TfrmGiacenza(QWidget* owner = nullptr);
    ORV_CONTROL(Label, lblGiacenza);
    ORV_CONTROL(Edit, txtGiacenza);
    // The direction: the opener writes "Quantità da aggiungere:" or "Quantità da sottrarre:".
    ORV_CONTROL(Label, lblAggiunta);
    ORV_CONTROL(Edit, txtAggiunta);
    ORV_CONTROL(Button, btnTotale);
    ORV_CONTROL(Edit, txtTotale);
    ORV_CONTROL(Button, btnAggiorna);
    ORV_CONTROL(Button, btnChiudi);

    void txtGiacenzaKeyDown(orv::platform::ui::Word& key, QChar& keyChar, orv::platform::ui::ShiftState shift);
    void txtAggiuntaKeyDown(orv::platform::ui::Word& key, QChar& keyChar, orv::platform::ui::ShiftState shift);
    void txtGiacenzaExit();
    void txtAggiuntaExit();
    void btnTotaleClick();
    void btnAggiornaClick();
    void btnChiudiClick();

private:
    // Digits only, at most sixteen: a seventeenth key starts the field again.
    void stockKey(orv::platform::ui::Edit& edit, orv::platform::ui::Control& next, orv::platform::ui::Word& key, QChar& keyChar);
};

extern TfrmGiacenza* frmGiacenza;

} // namespace orv::warehouse
