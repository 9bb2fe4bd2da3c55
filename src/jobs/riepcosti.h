#pragma once
// The cost summary of the criteria window's year and interval: the chosen sheets'
// lines, the customer filter, the interval and the invoiced total, find-in-list and
// print. A new one is built for every summary.
#include "platform/ui/form.h"

namespace orv::jobs {

class TfrmRiepCosti : public orv::platform::ui::Form {
public:
    explicit TfrmRiepCosti(QWidget* owner = nullptr);
    ORV_CONTROL(Panel, panContainer);
    ORV_CONTROL(Label, titTipologia);
    ORV_CONTROL(ListBox, lstRecords);
    ORV_CONTROL(Edit, txtTrova);
    ORV_CONTROL(Button, btnTrova);
    ORV_CONTROL(Label, lblIntervallo);
    ORV_CONTROL(Label, lblTotCosti);
    ORV_CONTROL(Button, btnStampa);
    ORV_CONTROL(Button, btnEsci);
    ORV_CONTROL(Image, imgGuida);
    ORV_CONTROL(Label, lblConta);

    // The last find-in-list text of every summary window: a new summary does not forget
    // it, so the same text searched again goes on after the selected line.
    static QString UltimaRicerca;

    void FormCreate();
    void FormShow();
    void FormClose(orv::platform::ui::CloseAction& action);
    void CalcolaRiepilogoCosti();
    void btnTrovaClick();
    void btnStampaClick();
    void imgGuidaClick();
    void btnEsciClick();
};

extern TfrmRiepCosti* frmRiepCosti;

} // namespace orv::jobs
