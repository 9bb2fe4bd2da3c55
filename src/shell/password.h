#pragma once
// The login window, the application's main window: compares the typed password with
// the stored one and opens the main menu.
#include "platform/ui/form.h"

namespace orv::shell {

class TfrmPassword : public orv::platform::ui::Form {
public:
    explicit TfrmPassword(QWidget* owner = nullptr);
    ORV_CONTROL(Image, imgLogo);
    ORV_CONTROL(Label, lblRigo05);
    ORV_CONTROL(Edit, txtPassword);
    ORV_CONTROL(Button, cmdOK);
    ORV_CONTROL(Button, cmdEsci);
    ORV_CONTROL(Button, btnCambiaPassword);

    void FormShow();
    void txtPasswordChange();
    void txtPasswordKeyUp(orv::platform::ui::Word& key, QChar& keyChar, orv::platform::ui::ShiftState shift);
    void txtPasswordKeyDown(orv::platform::ui::Word& key, QChar& keyChar, orv::platform::ui::ShiftState shift);
    void cmdOKClick();
    void btnCambiaPasswordClick();
    void cmdEsciClick();
};

extern TfrmPassword* frmPassword;

} // namespace orv::shell
