#pragma once
// The cost summary's criteria window: the year, the customer and serial-number filters
// and the interval's start and end, each a day and a month picked from their lists.
// "Visualizza riepilogo" checks them and opens the summary; closing shows the main menu.
#include "platform/ui/form.h"

namespace orv::jobs {

class TfrmMenuRiepCosti : public orv::platform::ui::Form {
public:
    explicit TfrmMenuRiepCosti(QWidget* owner = nullptr);
    ORV_CONTROL(Panel, panContainer);
    ORV_CONTROL(Edit, txtAnno);
    ORV_CONTROL(Edit, txtCliente);
    ORV_CONTROL(Edit, txtMatricola);
    ORV_CONTROL(Image, impCodTariffa);
    ORV_CONTROL(GroupBox, grpInizio);
    ORV_CONTROL(ComboEdit, txtGiornoInizio);
    ORV_CONTROL(ComboEdit, txtMeseInizio);
    ORV_CONTROL(Label, lblAnnoInizio);
    ORV_CONTROL(Label, lblDataInizio);
    ORV_CONTROL(GroupBox, grpFine);
    ORV_CONTROL(ComboEdit, txtGiornoFine);
    ORV_CONTROL(ComboEdit, txtMeseFine);
    ORV_CONTROL(Label, lblAnnoFine);
    ORV_CONTROL(Label, lblDataFine);
    ORV_CONTROL(Button, btnVisualizza);
    ORV_CONTROL(Button, btnEsci);
    ORV_CONTROL(Label, lblAttendere);
    ORV_CONTROL(Label, lblFile);

    void FormCreate();
    void FormShow();
    void FormClose(orv::platform::ui::CloseAction& action);
    void txtAnnoChanged(); // txtAnnoKeyUp and txtAnnoExit
    void impCodTariffaClick();
    void btnVisualizzaMouseDown();
    void btnVisualizzaClick();
    void btnEsciClick();

    // What the year menu hands over: the year and its file.
    void openYear(const QString& year, const QString& path);

private:
    // Refuses the criteria: the waiting text goes, the message shows.
    void refuse(const QString& message, orv::platform::ui::Control* focus, bool warning);
};

extern TfrmMenuRiepCosti* frmMenuRiepCosti;

} // namespace orv::jobs
