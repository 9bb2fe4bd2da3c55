#pragma once
// The customer editor: one card per customer and installation of "Clienti.pro", with
// the commands of every archive editor, the mail commands, the checkers, attachments,
// the date picker and the customer lists.
#include "archive/editor.h"
#include "kit/bridge.h"
#include "kit/reports.h"
#include "platform/ui/form.h"

namespace orv::customers {

class TfrmClienti : public orv::platform::ui::Form {
public:
    explicit TfrmClienti(QWidget* owner = nullptr);

    ORV_CONTROL(Panel, panContainer);

    ORV_CONTROL(Edit, txtCliente);
    ORV_CONTROL(Edit, txtDataNasc);
    ORV_CONTROL(Edit, txtComuneNasc);
    ORV_CONTROL(ComboEdit, txtProvNasc);
    ORV_CONTROL(Edit, txtSesso);
    ORV_CONTROL(Edit, txtRecapito);
    ORV_CONTROL(Edit, txtIndirizzoRes);
    ORV_CONTROL(ComboEdit, txtProvRes);
    ORV_CONTROL(Edit, txtComuneRes);
    ORV_CONTROL(Edit, txtCapRes);
    ORV_CONTROL(Edit, txtEstremi);
    ORV_CONTROL(Edit, txtTelCasa);
    ORV_CONTROL(Edit, txtTelUff);
    ORV_CONTROL(Edit, txtTelCel);
    ORV_CONTROL(Edit, txtFax);
    ORV_CONTROL(Edit, txtEmail);
    ORV_CONTROL(Edit, txtCodFisc);
    ORV_CONTROL(Edit, txtCarta);
    ORV_CONTROL(Edit, txtScadeCarta);
    ORV_CONTROL(Edit, txtPartitaIva);
    ORV_CONTROL(Edit, txtIban);
    ORV_CONTROL(Edit, txtTipoImpianto);
    ORV_CONTROL(Edit, txtMarca);
    ORV_CONTROL(Edit, txtAnnoCostruz);
    ORV_CONTROL(Edit, txtMatricola);
    ORV_CONTROL(Edit, txtAlimentazione);
    ORV_CONTROL(Edit, txtUbicazione);
    ORV_CONTROL(Edit, txtCaratteristiche);
    ORV_CONTROL(Edit, txtQuestioni);
    ORV_CONTROL(Edit, txtDataScade);
    ORV_CONTROL(Edit, txtPreavviso);
    ORV_CONTROL(Edit, txtNote);
    ORV_CONTROL(CheckBox, chkRicontatta);

    ORV_CONTROL(Label, lblFile01);
    ORV_CONTROL(Label, lblFile02);
    ORV_CONTROL(Label, lblFile03);
    ORV_CONTROL(Label, lblDesc01);
    ORV_CONTROL(Label, lblDesc02);
    ORV_CONTROL(Label, lblDesc03);
    ORV_CONTROL(Label, lblPosizione);
    ORV_CONTROL(Label, panInfo);

    ORV_CONTROL(Image, cmdNuovo);
    ORV_CONTROL(Image, cmdDuplica);
    ORV_CONTROL(Image, cmdFile);
    ORV_CONTROL(Image, cmdSalva);
    ORV_CONTROL(Image, cmdTrova);
    ORV_CONTROL(Image, cmdAnteprima);
    ORV_CONTROL(Image, cmdStampa);
    ORV_CONTROL(Image, cmdPDF);
    ORV_CONTROL(Image, cmdRicontatta);
    ORV_CONTROL(Image, cmdEsporta);
    ORV_CONTROL(Image, cmdGuida);
    ORV_CONTROL(Image, cmdEsci);
    ORV_CONTROL(Image, cmdPrimo);
    ORV_CONTROL(Image, cmdIndietro);
    ORV_CONTROL(Image, cmdAvanti);
    ORV_CONTROL(Image, cmdUltimo);
    ORV_CONTROL(Button, btnScadenzario);
    ORV_CONTROL(Button, btnInviaAvviso);
    ORV_CONTROL(Image, btnEmail);
    ORV_CONTROL(Image, btnCodFisc);
    ORV_CONTROL(Image, btnPartitaIva);
    ORV_CONTROL(Image, btnCarta);
    ORV_CONTROL(Image, btnIban);

    void FormCreate();
    void FormShow();
    void FormClose(orv::platform::ui::CloseAction& action);

    void cmdNuovoClick();
    void cmdDuplicaClick();
    void cmdFileClick();
    void cmdSalvaClick();
    void cmdTrovaClick();
    void cmdAnteprimaClick();
    void cmdStampaClick();
    void cmdPDFClick();
    void cmdRicontattaClick();
    void cmdEsportaClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void btnScadenzarioClick();
    void btnInviaAvvisoClick();
    void btnEmailClick();
    void btnCodFiscClick();
    void btnPartitaIvaClick();
    void btnCartaClick();
    void btnIbanClick();
    void txtDataScadeKeyDown(orv::platform::ui::Word& key, QChar& keyChar, orv::platform::ui::ShiftState shift);

    // The customer card load of the finder and the customer lists: every field into its
    // control (the call-back flag by its three-way rule) and the card's position.
    void showCard(const QStringList& values, qint64 position);

    // What the card print shows: the values on screen, saved or not.
    orv::kit::CardContent cardContent() const;

private:
    orv::kit::FormView view_{*this};
    orv::archive::ArchiveEditor editor_;
};

extern TfrmClienti* frmClienti;

} // namespace orv::customers
