#pragma once
// The inventory list: the articles of the category chosen in the inventory menu (or all
// of them) with cost, stock and value, and the total value of the goods listed. It loads
// nothing into any editor: it lists, finds in the list and prints.
#include "platform/ui/form.h"

namespace orv::warehouse {

class TfrmRiepilogo : public orv::platform::ui::Form {
public:
    explicit TfrmRiepilogo(QWidget* owner = nullptr);
    ORV_CONTROL(Panel, panContainer);
    ORV_CONTROL(Label, lblTipologia);
    ORV_CONTROL(Label, titTipologia);
    ORV_CONTROL(ListBox, lstRecords);
    ORV_CONTROL(Edit, txtTrova);
    ORV_CONTROL(Button, btnTrova);
    ORV_CONTROL(Label, infValore);
    ORV_CONTROL(Label, lblTotale);
    ORV_CONTROL(Label, panInfo);
    ORV_CONTROL(Button, btnStampa);
    ORV_CONTROL(Button, btnEsci);
    ORV_CONTROL(Image, imgGuida);

    // The last find-in-list text, lower-cased (A-Z); emptied when the list is shown.
    QString UltimaRicerca;

    void FormCreate();
    void FormShow();
    void FormClose(orv::platform::ui::CloseAction& action);
    void btnTrovaClick();
    void btnStampaClick();
    void imgGuidaClick();
    void btnEsciClick();

    // The lines the print adds below the list: a rule and the total.
    QStringList printLines() const;
};

extern TfrmRiepilogo* frmRiepilogo;

} // namespace orv::warehouse
