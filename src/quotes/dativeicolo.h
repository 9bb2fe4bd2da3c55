#pragma once
// The extra-information window: the quote's six transport details (goods destination,
// carrier, appearance of the goods, carriage terms, reason for transport, number of
// packages), filled from the editor's hidden labels and written back on "Applica e
// chiudi". The quote reaches the archive only with the editor's Save.
#include "documents/valori.h"

namespace orv::quotes {

class TfrmDatiVeicolo : public orv::documents::ValuesDialog {
public:
    explicit TfrmDatiVeicolo(QWidget* owner = nullptr);
    ORV_CONTROL(Edit, txtVeicolo);
    ORV_CONTROL(Edit, txtMarca);
    ORV_CONTROL(Edit, txtColore);
    ORV_CONTROL(Edit, txtImmatricolazione);
    ORV_CONTROL(Edit, txtAlimentazione);
    ORV_CONTROL(Edit, txtTarga);

    void FormShow();

    // Each edit and the editor's hidden label it edits, in the window's order.
    static const QList<orv::documents::ValueField>& valueFields();
};

extern TfrmDatiVeicolo* frmDatiVeicolo;

} // namespace orv::quotes
