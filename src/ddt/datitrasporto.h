#pragma once
// The transport dialog: the delivery note's seven transport values (carrier, destination
// of the goods, reason for the transport, outward appearance of the goods, start and
// delivery of the transport with their time stamps, carriage terms), filled from the
// editor's hidden labels and written back on "Applica e chiudi". The values reach the
// archive only with the editor's Save.
#include "documents/valori.h"

namespace orv::ddt {

class TfrmDatiTrasporto : public orv::documents::ValuesDialog {
public:
    explicit TfrmDatiTrasporto(QWidget* owner = nullptr);
    ORV_CONTROL(Label, lblIstruzioni);
    ORV_CONTROL(Edit, txtVettore);
    ORV_CONTROL(Edit, txtDestinazione);
    ORV_CONTROL(Edit, txtCausale);
    ORV_CONTROL(Edit, txtAspetto);
    ORV_CONTROL(Edit, txtOraPartenza);
    ORV_CONTROL(Edit, txtOraConsegna);
    ORV_CONTROL(ComboEdit, txtPorto);
    ORV_CONTROL(Image, impOraPartenza);
    ORV_CONTROL(Image, impOraConsegna);

    void FormShow();
    void txtPortoCanFocus();
    void impOraPartenzaClick();
    void impOraConsegnaClick();

    // Each field and the editor's hidden label it edits, in input order.
    static const QList<orv::documents::ValueField>& valueFields();
};

extern TfrmDatiTrasporto* frmDatiTrasporto;

} // namespace orv::ddt

namespace orv::ddt {
// A time stamp of the transport fields: "Ore 09:05 del 14/03/2022" for now.
QString timeStamp();
} // namespace orv::ddt
