#pragma once
// The job-sheet year menu: a year for the job-sheet archive, which opens the editor on
// that year's file, and a year for the cost summary, which opens its criteria window.
// Closing shows the window the caller tag names: the main menu, the editor or the
// criteria window.
#include "platform/ui/form.h"

namespace orv::jobs {

class TfrmMenuLavoro : public orv::platform::ui::Form {
public:
    explicit TfrmMenuLavoro(QWidget* owner = nullptr);
    ORV_CONTROL(Panel, panContainer);
    ORV_CONTROL(GroupBox, grpArchivio);
    ORV_CONTROL(GroupBox, grpRiepilogo);
    ORV_CONTROL(Edit, txtAnnoLavoro);
    ORV_CONTROL(Edit, txtAnnoRiepLavoro);
    ORV_CONTROL(Button, btnApriLavoro);
    ORV_CONTROL(Button, btnApriRiepLavoro);
    ORV_CONTROL(Image, imgGuida);
    ORV_CONTROL(Image, imgEsci);
    ORV_CONTROL(Label, lblMemory);

    void FormCreate();
    void FormShow();
    void FormClose(orv::platform::ui::CloseAction& action);
    void btnApriLavoroClick();
    void btnApriRiepLavoroClick();
    void imgEsciClick();
    void imgGuidaClick();
};

extern TfrmMenuLavoro* frmMenuLavoro;

} // namespace orv::jobs
