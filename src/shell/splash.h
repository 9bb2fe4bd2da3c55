#pragma once
// The maker's splash window, opened from the main menu's copyright command.
#include "platform/ui/form.h"

namespace orv::shell {

class TfrmSplash : public orv::platform::ui::Form {
public:
    explicit TfrmSplash(QWidget* owner = nullptr);
    ORV_CONTROL(Image, imgLogo);
    ORV_CONTROL(Image, imgWeb);
    ORV_CONTROL(Label, lnkWeb);
    ORV_CONTROL(Button, btnChiudi);

    void lnkWebClick();
    void btnChiudiClick();
};

extern TfrmSplash* frmSplash;

} // namespace orv::shell
