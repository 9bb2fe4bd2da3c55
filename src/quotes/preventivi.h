#pragma once
// The quote editor: the quotes of one year file, which the year menu opens, on the
// document editor with the quote's own texts, its six extra values edited in the
// extra-information window, the quote finder, the pending-quotes list and the export.
#include "documents/editor.h"
#include "quotes/preventivo.h"

namespace orv::quotes {

class TfrmPreventivi : public orv::documents::DocumentEditor {
public:
    explicit TfrmPreventivi(QWidget* owner = nullptr);

    ORV_CONTROL(Button, cmdDatiComputer);
    ORV_CONTROL(Label, memVeicolo);
    ORV_CONTROL(Label, memMarca);
    ORV_CONTROL(Label, memColore);
    ORV_CONTROL(Label, memImmatricolazione);
    ORV_CONTROL(Label, memAlimentazione);
    ORV_CONTROL(Label, memTarga);

    void cmdTrovaClick() override;
    void cmdSospeseClick() override;
    void cmdEsportaClick() override;
    void extraClick() override { cmdDatiComputerClick(); }
    void cmdDatiComputerClick();
};

extern TfrmPreventivi* frmPreventivi;

} // namespace orv::quotes

namespace orv::quotes {
// The quote editor's year file, trimmed, at the moment of use.
QString openYearFile();
// The record of a chosen list line into the editor, with its position.
void loadIntoEditor(const archive::FoundRecord& found);
} // namespace orv::quotes
