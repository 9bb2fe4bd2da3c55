#pragma once
// The warehouse window: one card per article of "Magazzino.pro", with the commands of
// every archive editor, the price and stock-value computations, the stock, extra-data
// and attach-file windows, the article finder, the running-out list, the export, the web
// search and the article card.
#include "archive/editor.h"
#include "kit/bridge.h"
#include "kit/reports.h"
#include "platform/ui/form.h"

namespace orv::warehouse {

class TfrmMagazzino : public orv::platform::ui::Form {
public:
    explicit TfrmMagazzino(QWidget* owner = nullptr);

    ORV_CONTROL(Panel, panContainer);

    ORV_CONTROL(Edit, txtCodice);
    ORV_CONTROL(Edit, txtTipologia);
    ORV_CONTROL(Edit, txtMarca);
    ORV_CONTROL(Edit, txtModello);
    ORV_CONTROL(Edit, txtDescrizione);
    ORV_CONTROL(Edit, txtAccessori);
    ORV_CONTROL(Edit, txtFornitore);
    ORV_CONTROL(Edit, txtRecapiti);
    ORV_CONTROL(Edit, txtData);
    ORV_CONTROL(Edit, txtDocumento);
    ORV_CONTROL(Edit, txtOrdine);
    ORV_CONTROL(Edit, txtGiacenza);
    ORV_CONTROL(Edit, txtSottoscorta);
    ORV_CONTROL(Edit, txtCosto);
    ORV_CONTROL(Edit, txtValore);
    ORV_CONTROL(Edit, txtPrezzo);
    ORV_CONTROL(Edit, txtPercIva);
    ORV_CONTROL(Edit, txtPrezzo_con_Iva);
    ORV_CONTROL(Edit, txtCollocazione);
    ORV_CONTROL(Edit, txtNote);

    ORV_CONTROL(Button, btnAggiungi);
    ORV_CONTROL(Button, btnSottrai);
    ORV_CONTROL(Button, btnValore);
    ORV_CONTROL(Button, btnCalcola);
    ORV_CONTROL(Button, btnScorpora);
    ORV_CONTROL(Button, btnPneumatici);

    ORV_CONTROL(Image, cmdNuovo);
    ORV_CONTROL(Image, cmdDuplica);
    ORV_CONTROL(Image, cmdFile);
    ORV_CONTROL(Image, cmdSalva);
    ORV_CONTROL(Image, cmdTrova);
    ORV_CONTROL(Image, cmdStampa);
    ORV_CONTROL(Image, cmdPDF);
    ORV_CONTROL(Image, cmdWeb);
    ORV_CONTROL(Image, cmdSottoscorta);
    ORV_CONTROL(Image, cmdEsporta);
    ORV_CONTROL(Image, cmdGuida);
    ORV_CONTROL(Image, cmdEsci);
    ORV_CONTROL(Image, cmdPrimo);
    ORV_CONTROL(Image, cmdIndietro);
    ORV_CONTROL(Image, cmdAvanti);
    ORV_CONTROL(Image, cmdUltimo);

    ORV_CONTROL(Label, memConsumo);
    ORV_CONTROL(Label, memAderenza);
    ORV_CONTROL(Label, memRumore);
    ORV_CONTROL(Label, memOnde);
    ORV_CONTROL(Label, lblFile01);
    ORV_CONTROL(Label, lblFile02);
    ORV_CONTROL(Label, lblFile03);
    ORV_CONTROL(Label, lblDesc01);
    ORV_CONTROL(Label, lblDesc02);
    ORV_CONTROL(Label, lblDesc03);
    ORV_CONTROL(Label, lblCartella);
    ORV_CONTROL(Label, lblCartellaDesc);
    ORV_CONTROL(Label, lblPosizione);
    ORV_CONTROL(Label, panInfo);

    void FormCreate();
    void FormShow();
    void FormClose(orv::platform::ui::CloseAction& action);

    void cmdNuovoClick();
    void cmdDuplicaClick();
    void cmdFileClick();
    void cmdSalvaClick();
    void cmdTrovaClick();
    void cmdStampaClick();
    void cmdPDFClick();
    void cmdWebClick();
    void cmdSottoscortaClick();
    void cmdEsportaClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void btnAggiungiClick();
    void btnSottraiClick();
    void btnValoreClick();
    void btnCalcolaClick();
    void btnScorporaClick();
    void btnPneumaticiClick();

    // The whole-card load of the article finder and the running-out list: every field
    // into its control and the card's position.
    void showCard(const QStringList& values, qint64 position);

    // What the article card prints: the values on screen, saved or not.
    orv::kit::CardContent cardContent() const;

    // The address the web search puts the brand and model behind.
    static inline const QString kWebSearch = QStringLiteral("https://www.google.com/search?q=");

private:
    // The stock window, adding or subtracting as its direction label says.
    void openStockWindow(const QString& direction);

    orv::kit::FormView view_{*this};
    orv::archive::ArchiveEditor editor_;
};

extern TfrmMagazzino* frmMagazzino;

} // namespace orv::warehouse

namespace orv::warehouse {

// What the web search hands to the shell: the search address followed by brand, one
// blank and model, in double quotes. Characters that would end or split the query
// ("%", "&", "#", "+") are percent-encoded; everything else goes as typed.
QString webSearchCommand(const QString& marca, const QString& modello);

} // namespace orv::warehouse
