#pragma once
// The contract window: one programmed-maintenance contract of "Contratti.pro" between the
// maintaining company and a user, with the commands of every archive editor, the customer
// import, the contract finder and export, attachments, start numbers, the company logo,
// the clauses sheet and the print and preview of the contract.
#include "archive/editor.h"
#include "kit/bridge.h"
#include "platform/ui/form.h"

#include <functional>

namespace orv::customers {

class TfrmContratto : public orv::platform::ui::Form {
public:
    explicit TfrmContratto(QWidget* owner = nullptr);

    ORV_CONTROL(Panel, panContainer);

    // The maintaining company.
    ORV_CONTROL(Edit, txtDitta);
    ORV_CONTROL(Edit, txtPartitaIva);
    ORV_CONTROL(Edit, txtCodFisc);
    ORV_CONTROL(Edit, txtSede);
    ORV_CONTROL(ComboEdit, txtProvRes);
    ORV_CONTROL(Edit, txtCapRes);
    ORV_CONTROL(Edit, txtVia);
    ORV_CONTROL(Edit, txtTelUff);
    ORV_CONTROL(Edit, txtTelCel);
    ORV_CONTROL(Edit, txtFax);
    // The contract.
    ORV_CONTROL(Edit, txtNumContratto);
    ORV_CONTROL(Edit, txtData);
    ORV_CONTROL(Edit, txtLuogo);
    // The user.
    ORV_CONTROL(Edit, txtCliente);
    ORV_CONTROL(Edit, txtComuneCli);
    ORV_CONTROL(ComboEdit, txtProvCli);
    ORV_CONTROL(Edit, txtCapCli);
    ORV_CONTROL(Edit, txtPartitaIvaCli);
    ORV_CONTROL(Edit, txtCodFiscCli);
    ORV_CONTROL(Edit, txtViaCli);
    ORV_CONTROL(Edit, txtTelCli);
    ORV_CONTROL(ComboEdit, txtQualitaCli);
    // The installation.
    ORV_CONTROL(Edit, txtTipoImpianto);
    ORV_CONTROL(Edit, txtMarca);
    ORV_CONTROL(Edit, txtMatricola);
    ORV_CONTROL(Edit, txtAlimentazione);
    ORV_CONTROL(Edit, txtAnnoCostruz);
    ORV_CONTROL(Edit, txtCaratteristiche);
    ORV_CONTROL(Edit, txtUbicazione);
    // The terms.
    ORV_CONTROL(Edit, txtDurata);
    ORV_CONTROL(Edit, txtTotale);
    ORV_CONTROL(ComboEdit, txtPeriodicita);
    ORV_CONTROL(Edit, txtImpCanone);
    ORV_CONTROL(Edit, txtPagamento);
    ORV_CONTROL(Edit, txtOpInc01);
    ORV_CONTROL(Edit, txtOpInc02);
    ORV_CONTROL(Edit, txtOpInc03);
    ORV_CONTROL(Edit, txtOpInc04);
    ORV_CONTROL(Edit, txtOpEsc01);
    ORV_CONTROL(Edit, txtOpEsc02);
    ORV_CONTROL(Edit, txtOpEsc03);
    ORV_CONTROL(Edit, txtOpEsc04);

    ORV_CONTROL(Label, lblFile01);
    ORV_CONTROL(Label, lblFile02);
    ORV_CONTROL(Label, lblFile03);
    ORV_CONTROL(Label, lblDesc01);
    ORV_CONTROL(Label, lblDesc02);
    ORV_CONTROL(Label, lblDesc03);
    ORV_CONTROL(Label, lblInizio);
    ORV_CONTROL(Label, lblPosizione);
    ORV_CONTROL(Label, panInfo);

    ORV_CONTROL(Image, cmdNuovo);
    ORV_CONTROL(Image, cmdDuplica);
    ORV_CONTROL(Image, cmdSalva);
    ORV_CONTROL(Image, cmdTrova);
    ORV_CONTROL(Image, cmdImporta);
    ORV_CONTROL(Image, cmdAnteprima);
    ORV_CONTROL(Image, cmdStampa);
    ORV_CONTROL(Image, cmdPDF);
    ORV_CONTROL(Image, cmdAllega);
    ORV_CONTROL(Image, cmdPrimo);
    ORV_CONTROL(Image, cmdIndietro);
    ORV_CONTROL(Image, cmdAvanti);
    ORV_CONTROL(Image, cmdUltimo);
    ORV_CONTROL(Image, cmdNumerazione);
    ORV_CONTROL(Image, cmdEsporta);
    ORV_CONTROL(Image, cmdGuida);
    ORV_CONTROL(Image, cmdEsci);
    ORV_CONTROL(Image, cmdLogo);
    ORV_CONTROL(Image, btnPartitaIva);
    ORV_CONTROL(Image, btnCodFisc);
    ORV_CONTROL(Image, btnPartitaIvaCli);
    ORV_CONTROL(Image, btnCodFiscCli);
    ORV_CONTROL(Image, btnData);

    void FormCreate();
    void FormShow();
    void FormClose(orv::platform::ui::CloseAction& action);

    void cmdNuovoClick();
    void cmdDuplicaClick();
    void cmdSalvaClick();
    void cmdTrovaClick();
    void cmdImportaClick();
    void cmdAnteprimaClick();
    void cmdStampaClick();
    void cmdPDFClick();
    void cmdAllegaClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdNumerazioneClick();
    void cmdEsportaClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    void cmdLogoClick();
    void btnPartitaIvaClick();
    void btnCodFiscClick();
    void btnPartitaIvaCliClick();
    void btnCodFiscCliClick();
    void btnDataClick();
    void txtTotaleExit();
    void txtImpCanoneExit();

    // The contract finder's load: every field into its control or hidden label, and the
    // contract's position.
    void showContract(const QStringList& values, qint64 position);

    // The blank contract of New and of every showing: today's date, amounts "0,00", the
    // user, installation, terms, operations, attachments and position emptied; number,
    // place and maintainer kept.
    void PulisciScheda();

private:
    orv::kit::FormView view_{*this};
    orv::archive::ArchiveEditor editor_;
};

extern TfrmContratto* frmContratto;

} // namespace orv::customers

namespace orv::customers {

// The contract's print window (TfrmStampaCon) and preview window (TfrmAnteprimaCon) come
// with document printing: each reads the contract on screen from frmContratto itself when
// its own button is pressed. The contract window only opens them, through the opener
// installed here; until one is installed, Stampa and Anteprima do nothing.
enum class ContractDocument { Print, Preview };
using ContractDocumentOpener = std::function<void(QWidget* owner, ContractDocument document)>;
void setContractDocumentOpener(ContractDocumentOpener opener);

} // namespace orv::customers
