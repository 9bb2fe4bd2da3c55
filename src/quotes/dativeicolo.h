#pragma once
// The extra-information window: the quote's six transport details (goods destination,
// carrier, appearance of the goods, carriage terms, reason for transport, number of
// packages), filled from the editor's hidden labels and written back on "Applica e
// chiudi". The quote reaches the archive only with the editor's Save.
#include "platform/ui/form.h"

#include <QList>

class TfrmDatiVeicolo : public orv::ui::Form {
public:
    explicit TfrmDatiVeicolo(QWidget* owner = nullptr);
    ORV_CONTROL(Edit, txtVeicolo);
    ORV_CONTROL(Edit, txtMarca);
    ORV_CONTROL(Edit, txtColore);
    ORV_CONTROL(Edit, txtImmatricolazione);
    ORV_CONTROL(Edit, txtAlimentazione);
    ORV_CONTROL(Edit, txtTarga);
    ORV_CONTROL(Button, btnAnnulla);
    ORV_CONTROL(Button, btnApplica);
    ORV_CONTROL(Label, lblMemory);

    void FormCreate();
    void FormShow();
    void btnApplicaClick();
    void btnAnnullaClick();

    // Each edit and the editor's hidden label it edits, in the window's order.
    struct Pair {
        QString edit;
        QString label;
        int width; // the record field's width, the edit's maximum length
    };
    static const QList<Pair>& pairs();
};

extern TfrmDatiVeicolo* frmDatiVeicolo;
