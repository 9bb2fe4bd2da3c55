#pragma once
// The schedule window: a start panel that opens a year's archive, warns of imminent
// entries with a picture and a sound and leads to the grids of a day, a month and the
// imminent entries; and the editor of one entry of the open year, with the commands of
// every archive editor, the imports from the customer and article archives, the finder,
// the status lists, the export and the printed card.
#include "archive/editor.h"
#include "kit/bridge.h"
#include "kit/input.h"
#include "kit/reports.h"
#include "platform/ui/form.h"

namespace orv::schedule {

class TfrmScadenzario : public orv::platform::ui::Form {
public:
    explicit TfrmScadenzario(QWidget* owner = nullptr);

    // Start panel.
    ORV_CONTROL(Panel, panAvvio);
    ORV_CONTROL(Edit, txtAnno);
    ORV_CONTROL(Button, btnApri);
    ORV_CONTROL(Label, lblInfo06);
    ORV_CONTROL(Image, imgImminenti);
    ORV_CONTROL(Label, lblOK);
    ORV_CONTROL(Button, btnOK);
    ORV_CONTROL(Calendar, calAppuntamenti);
    ORV_CONTROL(Image, btnGiorno);
    ORV_CONTROL(Image, btnMese);
    ORV_CONTROL(Shape, shpResponso);
    ORV_CONTROL(Image, imgAssenti);
    ORV_CONTROL(Image, imgPresenti);
    ORV_CONTROL(Image, imgGuida);
    ORV_CONTROL(Image, imgEsci);
    ORV_CONTROL(Label, lblFile);

    // Editor panel.
    ORV_CONTROL(Panel, panContainer);
    ORV_CONTROL(GroupBox, grpData);
    ORV_CONTROL(GroupBox, grpOra);
    ORV_CONTROL(ComboEdit, txtGiorno);
    ORV_CONTROL(ComboEdit, txtMese);
    ORV_CONTROL(Label, lblAnno);
    ORV_CONTROL(ComboEdit, txtOreApp);
    ORV_CONTROL(ComboEdit, txtMinutiApp);
    ORV_CONTROL(Label, lblData);
    ORV_CONTROL(Label, lblOra);
    ORV_CONTROL(Edit, txtAvviso);
    ORV_CONTROL(Edit, txtPagatore);
    ORV_CONTROL(Edit, txtCodFisc);
    ORV_CONTROL(Edit, txtRecapito);
    ORV_CONTROL(Edit, txtCodice);
    ORV_CONTROL(Edit, txtTipologia);
    ORV_CONTROL(Edit, txtMarca);
    ORV_CONTROL(Edit, txtDescrizione);
    ORV_CONTROL(Edit, txtAccessori);
    ORV_CONTROL(Edit, txtFornitore);
    ORV_CONTROL(Edit, txtBeneficiario);
    ORV_CONTROL(Edit, txtDettagli);
    ORV_CONTROL(Edit, txtOfficina);
    ORV_CONTROL(Edit, txtCosto);
    ORV_CONTROL(Edit, txtContatto);
    ORV_CONTROL(Edit, txtNote);
    ORV_CONTROL(CheckBox, chkDaConfermare);
    ORV_CONTROL(CheckBox, chkEffettuata);
    ORV_CONTROL(Label, lblPosizione);
    ORV_CONTROL(Label, panInfo);

    ORV_CONTROL(Image, impPag);
    ORV_CONTROL(Image, impMag);
    ORV_CONTROL(Image, btnCodFisc);
    ORV_CONTROL(Image, cmdNuovo);
    ORV_CONTROL(Image, cmdDuplica);
    ORV_CONTROL(Image, cmdSalva);
    ORV_CONTROL(Image, cmdTrova);
    ORV_CONTROL(Image, cmdImporta);
    ORV_CONTROL(Image, cmdStampa);
    ORV_CONTROL(Image, cmdEsporta);
    ORV_CONTROL(Image, cmdDaConfermare);
    ORV_CONTROL(Image, cmdDaEffettuare);
    ORV_CONTROL(Image, cmdEffettuate);
    ORV_CONTROL(Image, cmdGuida);
    ORV_CONTROL(Image, cmdEsci);
    ORV_CONTROL(Image, cmdPrimo);
    ORV_CONTROL(Image, cmdIndietro);
    ORV_CONTROL(Image, cmdAvanti);
    ORV_CONTROL(Image, cmdUltimo);

    void FormCreate();
    void FormShow();
    void FormClose(orv::platform::ui::CloseAction& action);
    void btnApriClick();
    void txtAnnoKeyDown(orv::platform::ui::Word& key, QChar& keyChar, orv::platform::ui::ShiftState shift);
    void PulisciScheda();

    void cmdNuovoClick();
    void cmdDuplicaClick();
    void cmdSalvaClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdTrovaClick();
    void cmdEsportaClick();
    void cmdDaConfermareClick();
    void cmdDaEffettuareClick();
    void cmdEffettuateClick();
    void cmdImportaClick();
    void cmdStampaClick();
    void cmdEsciClick();
    void btnGiornoClick();
    void btnMeseClick();
    void btnOKClick();
    void imgEsciClick();
    void imgGuidaClick();
    void btnCodFiscClick();
    void impPagClick();
    void impMagClick();
    void txtCostoExit();

    // Loading an entry into the editor, for the finder and the status lists: every field
    // into its control (each flag by its three-way rule) and the entry's position.
    void loadEntry(const QStringList& values, qint64 position);

    // The reminder: counts the imminent entries of the current year's archive and shows
    // the banner, the OK button and the sound that go with the result.
    void runReminder();

    // What the card print shows: the values on screen, saved or not.
    orv::kit::CardContent cardContent() const;

    // The list fields, and the list rule applied when one is left.
    QList<orv::platform::ui::ComboEdit*> listFields() const;
    static void applyListRule(orv::platform::ui::ComboEdit& field);

private:
    orv::kit::FormView view_{*this};
    orv::archive::ArchiveEditor editor_;
    orv::kit::TidyOnLeave amounts_;
};

extern TfrmScadenzario* frmScadenzario;

} // namespace orv::schedule

namespace orv::schedule {

// The help text of the schedule window, one paragraph each.
const QStringList& scheduleHelp();

} // namespace orv::schedule
