#pragma once
// The delivery-note editor: the delivery notes of one year file, which the year menu
// opens, on the document editor with the delivery note's own texts, its seven transport
// values edited in the transport dialog, the finder, the not-delivered list and the
// export.
#include "ddt/recordddt.h"
#include "documents/editor.h"

namespace orv::ddt {

class TfrmDDT : public orv::documents::DocumentEditor {
public:
    explicit TfrmDDT(QWidget* owner = nullptr);

    ORV_CONTROL(Button, cmdDatiTrasporto);
    ORV_CONTROL(Label, memVettore);
    ORV_CONTROL(Label, memDestinazione);
    ORV_CONTROL(Label, memCausale);
    ORV_CONTROL(Label, memAspetto);
    ORV_CONTROL(Label, memOraPartenza);
    ORV_CONTROL(Label, memOraConsegna);
    ORV_CONTROL(Label, memPorto);

    void cmdTrovaClick() override;
    void cmdSospeseClick() override;
    void cmdEsportaClick() override;
    void extraClick() override { cmdDatiTrasportoClick(); }
    void cmdDatiTrasportoClick();
};

extern TfrmDDT* frmDDT;

} // namespace orv::ddt

namespace orv::ddt {
// The delivery-note editor's year file, trimmed, at the moment of use.
QString openYearFile();
// The record of a chosen list line into the editor, with its position.
void loadIntoEditor(const archive::FoundRecord& found);
// The result list of the finder and the not-delivered list, with its print title.
kit::ListSpec ddtList(const QString& printTitle);
} // namespace orv::ddt
