#pragma once
// The information window of the main menu, with the maker's mail link.
#include "platform/ui/form.h"

namespace orv::shell {

class TfrmInfo : public orv::platform::ui::Form {
public:
    explicit TfrmInfo(QWidget* owner = nullptr);
    ORV_CONTROL(Image, imgLogo);
    ORV_CONTROL(Image, imgEmail);
    ORV_CONTROL(Label, lnkWeb);
    ORV_CONTROL(Button, btnChiudi);

    void lnkWebClick();
    void btnChiudiClick();
};

extern TfrmInfo* frmInfo;

} // namespace orv::shell
