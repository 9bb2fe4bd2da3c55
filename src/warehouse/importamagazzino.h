#pragma once
// The article import: the quote and delivery-note editors fill one of their article rows
// from the warehouse. The user searches the archive, picks an article with a single
// click, and imports its code, description and price into the row named by the caller
// tag ("pre_art_07", "ddt_art_30"), either leaving the stock as it is or unloading the
// quantity from it.
#include "kit/listwindow.h"

namespace orv::warehouse {

class TfrmImportaMagazzino : public orv::kit::FinderWindow {
public:
    explicit TfrmImportaMagazzino(QWidget* owner = nullptr);
    ORV_CONTROL(Edit, txtCodice);
    ORV_CONTROL(Edit, txtTipologia);
    ORV_CONTROL(Edit, txtMarca);
    ORV_CONTROL(Edit, txtModello);
    ORV_CONTROL(Edit, txtDescrizione);
    ORV_CONTROL(Edit, txtAccessori);
    ORV_CONTROL(Edit, txtFornitore);
    ORV_CONTROL(Edit, txtDocumento);
    ORV_CONTROL(Edit, txtCollocazione);
    ORV_CONTROL(Edit, txtNote);

    // The clicked article's details.
    ORV_CONTROL(Label, lblCodice);
    ORV_CONTROL(Label, lblDescrizione);
    ORV_CONTROL(Label, lblGiacenza);
    ORV_CONTROL(Label, lblCosto);
    ORV_CONTROL(Label, lblValore);
    ORV_CONTROL(Label, lblPosizione);
    ORV_CONTROL(Edit, txtQuant);
    ORV_CONTROL(Button, btnNonAggiornare);
    ORV_CONTROL(Button, btnAggiorna);
    ORV_CONTROL(Button, btnValore);

    void FormCreate();
    void btnCercaClick();
    void lstRecordsClick();
    void txtQuantKeyDown(orv::platform::ui::Word& key, QChar& keyChar, orv::platform::ui::ShiftState shift);
    void txtQuantExit();
    void btnNonAggiornareClick();
    void btnAggiornaClick();
    void btnValoreClick();

    static inline const QString kNoArticle = QStringLiteral(
        "Attenzione: selezionare un articolo dall'elenco prima di premere il pulsante di importazione.");
    static inline const QString kAboveStock = QStringLiteral(
        "Attenzione: la quantit\u00e0 da scaricare non pu\u00f2 essere superiore alla giacenza in magazzino.\n\r\n\r"
        "Indicare una quantit\u00e0 inferiore oppure utilizzare il pulsante per importare l'articolo senza aggiornare "
        "la giacenza.");

    // A stock or a value that its field cannot hold whole: nothing is unloaded.
    static QString overlongAmount(const QString& field, const QString& value, int width);

protected:
    // The import writes through its two commands; a double click loads nothing.
    void load(const orv::archive::FoundRecord&) override {}
};

extern TfrmImportaMagazzino* frmImportaMagazzino;

} // namespace orv::warehouse

namespace orv::warehouse {

// What a document row's import button does: a new import dialog owned by the editor, told
// the row's tag ("pre_art_07") and, when the row holds one, its quantity (trimmed), shown
// modally and destroyed. The dialog writes into the row itself; nothing follows.
void importArticle(QWidget* editor, const QString& rowTag, const QString& rowQuantity);

} // namespace orv::warehouse
