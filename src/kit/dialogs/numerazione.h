#pragma once
// The start-number window: the number from which the automatic numbering of one kind of
// document starts, kept as "Inizio" in the settings file. The caller tag in lblMemory
// chooses the kind; nothing is written back into the caller.
#include "platform/ui/form.h"

namespace orv::kit {

class TfrmNumerazione : public orv::platform::ui::Form {
public:
    explicit TfrmNumerazione(QWidget* owner = nullptr);
    ORV_CONTROL(Image, imgLogo);
    ORV_CONTROL(Image, icoMano);
    ORV_CONTROL(GroupBox, grpNumerazione);
    ORV_CONTROL(Edit, txtInizio);
    ORV_CONTROL(Button, btnAnnulla);
    ORV_CONTROL(Button, btnApplica);
    ORV_CONTROL(Label, lblMemory);

    void FormCreate();
    void FormShow();
    void txtInizioKeyDown(orv::platform::ui::Word& key, QChar& keyChar, orv::platform::ui::ShiftState shift);
    void txtInizioExit();
    void btnApplicaClick();
    void btnAnnullaClick();
};

extern TfrmNumerazione* frmNumerazione;

} // namespace orv::kit

namespace orv::kit {

// The editors' numbering command: a new start-number window owned by `owner` for the
// document kind of `tag` ("contratti", "lavoro", "preventivi", "ddt"), with that kind's
// caption, shown modally and destroyed.
void showStartNumberWindow(QWidget* owner, const QString& tag);

} // namespace orv::kit
