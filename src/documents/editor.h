#pragma once
// The document editor the quote editor and the delivery-note editor are built on: one
// window with the issuing company, the customer, the number block, thirty article rows
// on six pages of five, the totals with the VAT rate, the notes and the document's flag,
// and the commands every document has (New, Save, Calculate, navigation, customer and
// article imports, checkers, logo, start number, print, help, exit). What sets the two
// kinds apart (their record, texts, caller tags and side windows) is an EditorSpec and
// the four side-window commands a derived window supplies; the derived window's
// constructor ends with created(), which runs FormCreate.
#include "archive/editor.h"
#include "archive/lists.h"
#include "kit/bridge.h"
#include "kit/input.h"
#include "platform/ui/art.h"
#include "platform/ui/form.h"
#include "documents/documento.h"

#include <QList>
#include <QString>

#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace orv::documents {

struct EditorSpec {
    QString formName;  // the global instance's name, "frmPreventivi"
    QString caption;   // the designed caption; the year menu replaces it
    const archive::RecordLayout* record = nullptr;
    QString callerTag;     // what the customer finder and the start-number window are told
    QString rowTagPrefix;  // the article import's row tags: prefix + the row's two digits
    QString numberCaption; // "Preventivo n."
    QString totalCaption;  // "TOTALE PREVENTIVO:"
    QString flagCaption;   // "In sospeso"
    QString extraCommand;  // the push button of the kind's own values, e.g. "cmdDatiComputer"
    QString extraCaption;
    QString pendingWords;  // the words on the pending-list command
    QString pageWords;     // the row pages' title: "Articoli" followed by the rows
    SaveTexts saveTexts;
    // Hints of the commands whose wording names the kind, by control name.
    QList<std::pair<QString, QString>> hints;
    // The customer finder and the article import are windows of the modules above this
    // editor; the kind's own window hands them in. The finder is told the caller tag, the
    // import the row's tag and quantity.
    std::function<void(QWidget* editor, const QString& callerTag)> findCustomer;
    std::function<void(QWidget* editor, const QString& rowTag, const QString& rowQuantity)> importArticle;
};

class DocumentEditor : public platform::ui::Form {
public:
    ORV_CONTROL(Panel, panContainer);
    ORV_CONTROL(Panel, panDitta);
    ORV_CONTROL(Panel, panCliente);
    ORV_CONTROL(Panel, panNumFattura);

    ORV_CONTROL(Edit, txtDitta);
    ORV_CONTROL(Edit, txtViaDitta);
    ORV_CONTROL(Edit, txtCapDitta);
    ORV_CONTROL(Edit, txtCittaDitta);
    ORV_CONTROL(ComboEdit, txtProvDitta);
    ORV_CONTROL(Edit, txtIvaDitta);
    ORV_CONTROL(Edit, txtCodFiscDitta);
    ORV_CONTROL(Edit, txtLibero01);
    ORV_CONTROL(Edit, txtLibero02);
    ORV_CONTROL(Edit, txtCliente);
    ORV_CONTROL(Edit, txtViaCliente);
    ORV_CONTROL(Edit, txtCapCliente);
    ORV_CONTROL(Edit, txtCittaCliente);
    ORV_CONTROL(ComboEdit, txtProvCliente);
    ORV_CONTROL(Edit, txtIvaCliente);
    ORV_CONTROL(Edit, txtCodFiscCliente);
    ORV_CONTROL(Edit, txtRiferimenti);
    ORV_CONTROL(Edit, txtNumFatt);
    ORV_CONTROL(Edit, txtData);
    ORV_CONTROL(Edit, txtPagamento);
    ORV_CONTROL(Edit, txtBanca);
    ORV_CONTROL(Edit, txtIban);
    ORV_CONTROL(Edit, txtPercIva);
    ORV_CONTROL(Edit, txtNote);

    ORV_CONTROL(Label, txtTotImponibile);
    ORV_CONTROL(Label, txtTotImposta);
    ORV_CONTROL(Label, txtTotIva);
    ORV_CONTROL(Label, txtTotEsente);
    ORV_CONTROL(Label, txtTotFattura);
    ORV_CONTROL(Button, cmdCalcola);
    ORV_CONTROL(CheckBox, chkSaldata);

    ORV_CONTROL(Label, lblPosizione);
    ORV_CONTROL(Label, lblFile);
    ORV_CONTROL(Label, lblInizio);
    ORV_CONTROL(Label, lblSolare);
    ORV_CONTROL(Label, panInfo);

    ORV_CONTROL(Image, cmdNuovo);
    ORV_CONTROL(Image, cmdSalva);
    ORV_CONTROL(Image, cmdTrova);
    ORV_CONTROL(Image, cmdSospese);
    ORV_CONTROL(Image, cmdAnteprima);
    ORV_CONTROL(Image, cmdStampa);
    ORV_CONTROL(Image, cmdPDF);
    ORV_CONTROL(Image, cmdPrimo);
    ORV_CONTROL(Image, cmdIndietro);
    ORV_CONTROL(Image, cmdAvanti);
    ORV_CONTROL(Image, cmdUltimo);
    ORV_CONTROL(Image, cmdNumerazione);
    ORV_CONTROL(Image, cmdEsporta);
    ORV_CONTROL(Image, cmdGuida);
    ORV_CONTROL(Image, cmdEsci);
    ORV_CONTROL(Image, btnLogo);
    ORV_CONTROL(Image, btnCancDitta);
    ORV_CONTROL(Image, btnIvaDitta);
    ORV_CONTROL(Image, btnCodFiscDitta);
    ORV_CONTROL(Image, btnIvaCliente);
    ORV_CONTROL(Image, btnCodFiscCliente);
    ORV_CONTROL(Image, impCliente);
    ORV_CONTROL(Image, impOggi);

    // One article row: the controls numbered with the row's two digits.
    struct Row {
        int number;
        platform::ui::Label& lblNum;
        platform::ui::Edit& txtQuant;
        platform::ui::Edit& txtCodice;
        platform::ui::Edit& txtDesc;
        platform::ui::Edit& txtPrezzo;
        platform::ui::Edit& txtPercSconto;
        platform::ui::Shape& shpImporto;
        platform::ui::Label& txtImporto;
        platform::ui::CheckBox& chkEs;
        platform::ui::Image& impMag;
    };
    // Rows 1 to 30.
    Row& row(int number);
    // The row pages grpPage01..grpPage06 and their arrows imgAvanti_A.. and imgIndietro_A..
    platform::ui::Panel& page(int number) const;
    platform::ui::Image& forwardArrow(int page) const;
    platform::ui::Image& backArrow(int page) const;
    // The page on show, 1 to 6.
    int shownPage() const;

    void FormCreate();
    void FormShow();
    void FormClose(platform::ui::CloseAction& action);
    void PulisciScheda();

    void cmdNuovoClick();
    void cmdSalvaClick();
    void cmdCalcolaClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdAnteprimaClick();
    void cmdStampaClick();
    void cmdPDFClick();
    void cmdNumerazioneClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    void btnCancDittaClick();
    void btnLogoClick();
    void btnIvaDittaClick();
    void btnIvaClienteClick();
    void btnCodFiscDittaClick();
    void btnCodFiscClienteClick();
    void impClienteClick();
    void impOggiClick();
    // The import button of a row (impMag01Click .. impMag30Click).
    void impMagClick(int row);
    // A page arrow: shows the page, hides the five others, focus on its first quantity.
    void showPage(int page);

    // The kind's side windows.
    virtual void cmdTrovaClick() = 0;
    virtual void cmdSospeseClick() = 0;
    virtual void cmdEsportaClick() = 0;
    virtual void extraClick() = 0;

    // CaricaScheda: a stored document's values into their controls, texts trimmed, flags by
    // their three-way rule ("Sì" checks, "No" clears, anything else leaves the box); the
    // row page, the focus and the position stay. The finder and the pending list set the
    // position themselves.
    void CaricaScheda(const QStringList& values);
    // The record of a line chosen in the finder or a status list, with its position.
    void loadFound(const archive::FoundRecord& found);
    // The year file the editor has open, as the year menu set it.
    QString yearFile() const;
    const EditorSpec& spec() const { return spec_; }

    // Gives a field the focus as a refused Save does: a row's field on its page, shown
    // first; a row's amount label through the row's price, which makes the amount; a
    // total, which no key reaches, leaves the focus where it is.
    void focusField(const QString& control);

protected:
    DocumentEditor(QWidget* owner, EditorSpec spec);

    // The controls as the archive editor sees them, with focusField() for the focus.
    class View : public kit::FormView {
    public:
        explicit View(DocumentEditor& editor) : FormView(editor), editor_(editor) {}
        void setFocus(const QString& control) override { editor_.focusField(control); }

    private:
        DocumentEditor& editor_;
    };
    View view_{*this};

    void deferredBuilt(size_t first) override;

private:
    void bindRow(Row& r);
    void bindHeader();
    void bindHints();
    void bindPages(size_t first);
    void showHint(platform::ui::Control& c, const QString& text);
    void fitFieldWidths();
    // Every key in a quantity, price or discount field empties the row's amount and the
    // totals; in the VAT rate only the totals.
    void blankTotals();

    EditorSpec spec_;
    archive::ArchiveEditor editor_;
    std::vector<Row> rows_;
    // The number fields and the rule their text follows on leaving.
    kit::TidyOnLeave numberFields_;
};

} // namespace orv::documents
