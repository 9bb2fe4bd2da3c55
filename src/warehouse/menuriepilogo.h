#pragma once
// The inventory menu: asks for the category of articles to sum up (none for the whole
// warehouse) and opens the inventory list.
#include "platform/ui/form.h"

namespace orv::warehouse {

class TfrmMenuRiepilogo : public orv::platform::ui::Form {
public:
    explicit TfrmMenuRiepilogo(QWidget* owner = nullptr);
    ORV_CONTROL(Panel, panContainer);
    ORV_CONTROL(Edit, txtTipologia);
    ORV_CONTROL(Label, lblApri);
    ORV_CONTROL(Label, lblInformazioni);
    ORV_CONTROL(Button, btnVisualizza);
    ORV_CONTROL(Label, lblAttendere);
    ORV_CONTROL(Image, imgGuida);
    ORV_CONTROL(Image, imgEsci);

    void FormCreate();
    void FormShow();
    void FormClose(orv::platform::ui::CloseAction& action);
    void btnVisualizzaMouseDown();
    void btnVisualizzaClick();
    void imgGuidaClick();
    void imgEsciClick();
};

extern TfrmMenuRiepilogo* frmMenuRiepilogo;

} // namespace orv::warehouse

namespace orv::warehouse {
// The help of both inventory windows.
void showInventoryHelp(QWidget* owner);
} // namespace orv::warehouse
