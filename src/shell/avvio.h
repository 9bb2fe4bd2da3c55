#pragma once
// The main menu: eight module commands, the information, help and splash windows, the
// maker's web band and the exit.
#include "platform/ui/form.h"

namespace orv::shell {

class TfrmAvvio : public orv::platform::ui::Form {
public:
    explicit TfrmAvvio(QWidget* owner = nullptr);
    ORV_CONTROL(Panel, panContainer);
    ORV_CONTROL(Image, imgInfo);
    ORV_CONTROL(Image, imgGuida);
    ORV_CONTROL(Image, imgCopyright);
    ORV_CONTROL(Image, imgEsci);
    ORV_CONTROL(Image, icoIcona);
    ORV_CONTROL(Image, icoTitolo);
    ORV_CONTROL(Image, icoVersione);
    ORV_CONTROL(Image, icoSottotitolo);
    ORV_CONTROL(Image, icoSito);
    ORV_CONTROL(Image, imgClienti);
    ORV_CONTROL(Image, btnClienti);
    ORV_CONTROL(Image, imgContratti);
    ORV_CONTROL(Image, btnContratti);
    ORV_CONTROL(Image, imgMagazzino);
    ORV_CONTROL(Image, btnMagazzino);
    ORV_CONTROL(Image, imgInventario);
    ORV_CONTROL(Image, btnInventario);
    ORV_CONTROL(Image, imgScadenzario);
    ORV_CONTROL(Image, btnScadenzario);
    ORV_CONTROL(Image, imgSchedeLavoro);
    ORV_CONTROL(Image, btnSchedeLavoro);
    ORV_CONTROL(Image, imgPreventivi);
    ORV_CONTROL(Image, btnPreventivi);
    ORV_CONTROL(Image, imgDDT);
    ORV_CONTROL(Image, btnDDT);

    void FormCreate();
    void FormClose(orv::platform::ui::CloseAction& action);
    void imgClientiClick();
    void imgContrattiClick();
    void imgMagazzinoClick();
    void imgInventarioClick();
    void imgScadenzarioClick();
    void imgSchedeLavoroClick();
    void imgPreventiviClick();
    void imgDDTClick();
    void imgInfoClick();
    void imgCopyrightClick();
    void imgGuidaClick();
    void icoSitoClick();
    void imgEsciClick();

private:
    void showModule(const QString& globalName);
};

extern TfrmAvvio* frmAvvio;

} // namespace orv::shell

namespace orv::shell {
QStringList mainMenuHelpParagraphs();
} // namespace orv::shell
