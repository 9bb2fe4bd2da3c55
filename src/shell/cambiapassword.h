#pragma once
// The password-change window: replaces the stored password once the old one matches
// and the new one is confirmed.
#include "platform/ui/form.h"

namespace orv::shell {

class TfrmCambiaPassword : public orv::platform::ui::Form {
public:
    explicit TfrmCambiaPassword(QWidget* owner = nullptr);
    ORV_CONTROL(Image, imgLogo);
    ORV_CONTROL(Label, lblPasswordOld);
    ORV_CONTROL(Edit, txtPasswordOld);
    ORV_CONTROL(Label, lblPasswordNew);
    ORV_CONTROL(Edit, txtPasswordNew);
    ORV_CONTROL(Label, lblConferma);
    ORV_CONTROL(Edit, txtConferma);
    ORV_CONTROL(Button, cmdOK);
    ORV_CONTROL(Button, cmdEsci);

    void FormShow();
    void FormClose(orv::platform::ui::CloseAction& action);
    void cmdOKClick();
    void cmdEsciClick();
    // Change and KeyUp of the three edits: the enable rule.
    void txtPasswordOldChange();
    // KeyDown of the three edits: Enter moves along old -> new -> confirmation -> old.
    void txtPasswordOldKeyDown(orv::platform::ui::Word& key, QChar& keyChar, orv::platform::ui::ShiftState shift);
    void txtPasswordNewKeyDown(orv::platform::ui::Word& key, QChar& keyChar, orv::platform::ui::ShiftState shift);
    void txtConfermaKeyDown(orv::platform::ui::Word& key, QChar& keyChar, orv::platform::ui::ShiftState shift);
};

extern TfrmCambiaPassword* frmCambiaPassword;

} // namespace orv::shell

namespace orv::shell {
// The longest password the store keeps.
constexpr int kMaxPasswordLength = 255;
} // namespace orv::shell
