#pragma once
// The job-sheet editor: the sheets of one year file, which the year menu opens, with the
// commands of every archive editor, the customer import, attachments, start number,
// finder, not-returned list, export, the document commands and the checker.
#include "archive/editor.h"
#include "kit/bridge.h"
#include "platform/ui/form.h"

namespace orv::jobs {

class TfrmLavoro : public orv::platform::ui::Form {
public:
    explicit TfrmLavoro(QWidget* owner = nullptr);

    ORV_CONTROL(Panel, panContainer);
    ORV_CONTROL(Panel, panNumFattura);

    ORV_CONTROL(Edit, txtNumScheda);
    ORV_CONTROL(Edit, txtData);
    ORV_CONTROL(Edit, txtPagamento);
    ORV_CONTROL(Edit, txtTipoImpianto);
    ORV_CONTROL(Edit, txtMarca);
    ORV_CONTROL(Edit, txtMatricola);
    ORV_CONTROL(Edit, txtAlimentazione);
    ORV_CONTROL(Edit, txtAnnoCostruz);
    ORV_CONTROL(Edit, txtCaratteristiche);
    ORV_CONTROL(Edit, txtUbicazione);
    ORV_CONTROL(Edit, txtCliente);
    ORV_CONTROL(Edit, txtCodFiscCli);
    ORV_CONTROL(Edit, txtTelCli);
    ORV_CONTROL(Edit, txtIndirizzoCli);
    ORV_CONTROL(Edit, txtDataAccetta);
    ORV_CONTROL(Edit, txtOraAccetta);
    ORV_CONTROL(ComboEdit, txtLuogo);
    ORV_CONTROL(Edit, txtTecnico);
    ORV_CONTROL(Edit, txtAnomalie);
    ORV_CONTROL(Edit, txtControlli);
    ORV_CONTROL(Edit, txtLavori);
    ORV_CONTROL(Edit, txtRicambi);
    ORV_CONTROL(Edit, txtRaccomandazioni);
    ORV_CONTROL(ComboEdit, txtStato);
    ORV_CONTROL(Edit, txtAnnotazioni);
    ORV_CONTROL(Edit, txtFattura);
    ORV_CONTROL(Edit, txtTotFattura);
    ORV_CONTROL(Edit, txtDataRiconsegna);
    ORV_CONTROL(Edit, txtOraRiconsegna);
    ORV_CONTROL(CheckBox, chkGaranzia);
    ORV_CONTROL(CheckBox, chkRiconsegnato);

    ORV_CONTROL(Label, lblPosizione);
    ORV_CONTROL(Label, lblFile);
    ORV_CONTROL(Label, lblInizio);
    ORV_CONTROL(Label, lblFile01);
    ORV_CONTROL(Label, lblFile02);
    ORV_CONTROL(Label, lblFile03);
    ORV_CONTROL(Label, lblDesc01);
    ORV_CONTROL(Label, lblDesc02);
    ORV_CONTROL(Label, lblDesc03);
    ORV_CONTROL(Label, panInfo);

    ORV_CONTROL(Image, cmdNuovo);
    ORV_CONTROL(Image, cmdSalva);
    ORV_CONTROL(Image, cmdTrova);
    ORV_CONTROL(Image, cmdImporta);
    ORV_CONTROL(Image, cmdAnteprima);
    ORV_CONTROL(Image, cmdStampa);
    ORV_CONTROL(Image, cmdPDF);
    ORV_CONTROL(Image, cmdAllega);
    ORV_CONTROL(Image, cmdRiconsegnati);
    ORV_CONTROL(Image, cmdPrimo);
    ORV_CONTROL(Image, cmdIndietro);
    ORV_CONTROL(Image, cmdAvanti);
    ORV_CONTROL(Image, cmdUltimo);
    ORV_CONTROL(Image, cmdNumerazione);
    ORV_CONTROL(Image, cmdEsporta);
    ORV_CONTROL(Image, cmdGuida);
    ORV_CONTROL(Image, cmdEsci);
    ORV_CONTROL(Image, btnCodFiscCli);
    ORV_CONTROL(Image, impData);
    ORV_CONTROL(Image, impDataAccetta);
    ORV_CONTROL(Image, impOraAccetta);
    ORV_CONTROL(Image, impDataRiconsegna);
    ORV_CONTROL(Image, impOraRiconsegna);

    void FormCreate();
    void FormShow();
    void FormClose(orv::platform::ui::CloseAction& action);
    void PulisciScheda();

    void cmdNuovoClick();
    void cmdSalvaClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdTrovaClick();
    void cmdImportaClick();
    void cmdAnteprimaClick();
    void cmdStampaClick();
    void cmdPDFClick();
    void cmdAllegaClick();
    void cmdRiconsegnatiClick();
    void cmdNumerazioneClick();
    void cmdEsportaClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    void btnCodFiscCliClick();
    void txtTotFatturaExit();

    // The sheet loads of the finder and the not-returned list: every field into its
    // control (the flags by their three-way rule) and the sheet's position.
    void showSheet(const QStringList& values, qint64 position);
    // The year file the editor has open, as the year menu set it.
    QString yearFile() const;

private:
    orv::kit::FormView view_{*this};
    orv::archive::ArchiveEditor editor_;
};

extern TfrmLavoro* frmLavoro;

} // namespace orv::jobs

namespace orv::jobs {
// The title and paragraphs of the job-sheet help, shown by the editor and the year menu.
inline const QString kHelpTitle = QStringLiteral("Emissione Schede di Lavoro.");
QStringList helpParagraphs();
} // namespace orv::jobs
