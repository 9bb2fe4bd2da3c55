// The quote editor's other commands through its real controls: the customer and article
// imports, today's date, the issuing company's clear button, the checkers, logo, start
// number, help, the document windows, the extra-information window and the exit.
#include "quote_fixture.h"

#include "shell/avvio.h"
#include "kit/dialogs/checkers.h"
#include "kit/dialogs/guida.h"
#include "kit/dialogs/numerazione.h"
#include "customers/cliente.h"
#include "customers/trovaclienti.h"
#include "documents/documento.h"
#include "quotes/dativeicolo.h"
#include "warehouse/articolo.h"
#include "warehouse/importamagazzino.h"

#include <QListView>

#include <map>

using namespace orv::customers;
using namespace orv::kit;
using namespace orv::platform::ui;
using namespace orv::quotes;
using namespace orv::shell;
using namespace orv::warehouse;

using namespace orv::platform::ui;
using orv::test::QuoteWindowTest;

namespace {

class QuoteCommandsTest : public QuoteWindowTest {
protected:
    TfrmPreventivi& e() { return *frmPreventivi; }
    void SetUp() override
    {
        QuoteWindowTest::SetUp();
        openEditor();
    }
};

TEST_F(QuoteCommandsTest, EveryCaptionOfTheCommandBarReadsAtOneSize)
{
    std::map<int, QStringList> heights;
    for (const char* name : {"cmdNuovo", "cmdSalva", "cmdTrova", "cmdSospese", "cmdAnteprima", "cmdStampa", "cmdPDF",
                             "cmdNumerazione", "cmdEsporta", "cmdGuida", "cmdEsci"})
        heights[orv::test::firstLetterHeight(e().control<orv::platform::ui::Image>(QString::fromLatin1(name)).picture())]
            << QString::fromLatin1(name);
    ASSERT_FALSE(heights.empty());
    EXPECT_GE(heights.begin()->first, 7);
    EXPECT_LE(heights.rbegin()->first - heights.begin()->first, 1)
        << heights.begin()->second.join(u' ').toStdString() << " / " << heights.rbegin()->second.join(u' ').toStdString();
}

TEST_F(QuoteCommandsTest, TheCustomerFinderFillsTheSevenCustomerFieldsAndNothingElse)
{
    TCliente c;
    c.Cliente = u"Rossi Mario"_qs;
    c.IndirizzoRes = u"Via Po 12"_qs;
    c.CapRes = u"10123"_qs;
    c.ComuneRes = u"Torino"_qs;
    c.ProvRes = u"to"_qs;
    c.PartitaIva = QString(); // an empty card field empties the editor's
    c.CodFisc = u"RSSMRA80A01L219X"_qs;
    writeFile(TCliente::kFileName, c.encode());
    e().txtIvaCliente.setText(u"99999999999"_qs);
    e().txtRiferimenti.setText(u"Caldaia"_qs);
    e().txtNumFatt.setText(u"5"_qs);
    e().lblPosizione.setText(u"3"_qs);
    e().txtNote.setFocus();
    QString tag;
    modal.scripts[u"frmTrovaClienti"_qs] = [&](Form& f) {
        auto& finder = static_cast<TfrmTrovaClienti&>(f);
        tag = finder.lblMemory.text();
        click(finder.btnCerca);
        orv::test::doubleClickLine(finder.lstRecords, 0);
    };
    click(e().impCliente);
    EXPECT_EQ(tag, u"preventivi"_qs);
    EXPECT_EQ(e().txtCliente.text(), u"Rossi Mario"_qs);
    EXPECT_EQ(e().txtViaCliente.text(), u"Via Po 12"_qs);
    EXPECT_EQ(e().txtCapCliente.text(), u"10123"_qs);
    EXPECT_EQ(e().txtCittaCliente.text(), u"Torino"_qs);
    EXPECT_EQ(e().txtProvCliente.text(), u"to"_qs);
    EXPECT_EQ(e().txtIvaCliente.text(), QString());
    EXPECT_EQ(e().txtCodFiscCliente.text(), u"RSSMRA80A01L219X"_qs);
    EXPECT_EQ(e().txtRiferimenti.text(), u"Caldaia"_qs);
    EXPECT_EQ(e().txtNumFatt.text(), u"5"_qs);
    EXPECT_EQ(e().lblPosizione.text(), u"3"_qs);
    EXPECT_TRUE(focusIs(e().txtNote));
}

TEST_F(QuoteCommandsTest, EachRowImportsAnArticleIntoItselfWithItsOwnQuantity)
{
    TArticolo a;
    a.Codice = u"CV-1"_qs;
    a.Descrizione = u"Cavo unipolare 1,5 mm"_qs;
    a.Prezzo = u"12,5"_qs;
    a.Giacenza = u"10"_qs;
    writeFile(TArticolo::kFileName, a.encode());
    TfrmPreventivi::Row& r = e().row(7);
    r.txtQuant.setText(u" 3 "_qs);
    r.txtPercSconto.setText(u"5"_qs);
    r.txtImporto.setText(u"1,00"_qs);
    e().txtTotFattura.setText(u"9,99"_qs);
    e().showPage(2);
    QString tag, quantity;
    modal.scripts[u"frmImportaMagazzino"_qs] = [&](Form& f) {
        auto& import = static_cast<TfrmImportaMagazzino&>(f);
        tag = import.lblMemory.text();
        quantity = import.txtQuant.text();
        click(import.btnCerca);
        auto* list = import.lstRecords.listWidget();
        list->doItemsLayout();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(20, list->visualItemRect(list->item(0)).center().y()));
        click(import.btnNonAggiornare);
    };
    click(r.impMag);
    EXPECT_EQ(tag, u"pre_art_07"_qs);
    EXPECT_EQ(quantity, u"3"_qs);
    // Code, description and price; nothing else of the row, and nothing recalculated.
    EXPECT_EQ(r.txtCodice.text(), u"CV-1"_qs);
    EXPECT_EQ(r.txtDesc.text(), u"Cavo unipolare 1,5 mm"_qs);
    EXPECT_EQ(r.txtPrezzo.text(), u"12,5"_qs);
    EXPECT_EQ(r.txtQuant.text(), u" 3 "_qs);
    EXPECT_EQ(r.txtPercSconto.text(), u"5"_qs);
    EXPECT_EQ(r.txtImporto.text(), u"1,00"_qs);
    EXPECT_EQ(e().txtTotFattura.text(), u"9,99"_qs);
    EXPECT_EQ(e().row(8).txtCodice.text(), QString());

    // A row without a quantity leaves the import window its own "0"; closing it writes nothing.
    modal.scripts[u"frmImportaMagazzino"_qs] = [&](Form& f) {
        auto& import = static_cast<TfrmImportaMagazzino&>(f);
        tag = import.lblMemory.text();
        quantity = import.txtQuant.text();
    };
    e().showPage(3);
    click(e().row(12).impMag);
    EXPECT_EQ(tag, u"pre_art_12"_qs);
    EXPECT_EQ(quantity, u"0"_qs);
    EXPECT_EQ(e().row(12).txtCodice.text(), QString());
    EXPECT_EQ(readFile(TArticolo::kFileName), a.encode()); // the stock untouched
}

TEST_F(QuoteCommandsTest, TodaysDateReplacesTheTypedOneWithoutMovingTheFocus)
{
    e().txtData.setText(u"01/01/2020"_qs);
    e().txtNote.setFocus();
    click(e().impOggi);
    EXPECT_EQ(e().txtData.text(), u"15/03/2026"_qs);
    EXPECT_TRUE(focusIs(e().txtNote));
    EXPECT_FALSE(e().txtData.highlight()->visible());
}

TEST_F(QuoteCommandsTest, ClearingTheIssuingCompanyKeepsPaymentBankIbanAndRate)
{
    for (const orv::documents::IssuerKey& k : orv::documents::issuerKeys())
        orv::kit::setControlText(e().control<Control>(k.control), u"x"_qs);
    e().txtCliente.setText(u"Rossi"_qs);
    click(e().btnCancDitta);
    for (const orv::documents::IssuerKey& k : orv::documents::issuerKeys()) {
        const bool kept = k.control == u"txtPagamento" || k.control == u"txtBanca" || k.control == u"txtIban"
                          || k.control == u"txtPercIva";
        EXPECT_EQ(orv::kit::controlText(e().control<Control>(k.control)), kept ? u"x"_qs : QString())
            << k.control.toStdString();
    }
    EXPECT_EQ(e().txtCliente.text(), u"Rossi"_qs);
    EXPECT_TRUE(focusIs(e().txtDitta));
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(QuoteCommandsTest, CheckersGetTheFieldTrimmedRoutedByWhatItHolds)
{
    QStringList seen;
    modal.scripts[u"frmCodFisc"_qs] = [&](Form& f) { seen << u"codfisc:"_qs + static_cast<TfrmCodFisc&>(f).txtCodFisc.text(); };
    modal.scripts[u"frmPartitaIva"_qs] = [&](Form& f) {
        seen << u"iva:"_qs + static_cast<TfrmPartitaIva&>(f).txtPartitaIva.text();
    };
    e().txtCodFiscCliente.setText(u"   "_qs);
    click(e().btnCodFiscCliente);
    e().txtCodFiscDitta.setText(u" 01234567890 "_qs);
    click(e().btnCodFiscDitta);
    e().txtCodFiscCliente.setText(u"RSSMRA80A01L219X"_qs);
    click(e().btnCodFiscCliente);
    e().txtCodFiscDitta.setText(u"12 34"_qs);
    click(e().btnCodFiscDitta);
    e().txtIvaCliente.setText(QString());
    click(e().btnIvaCliente);
    e().txtIvaDitta.setText(u"01234567890"_qs);
    click(e().btnIvaDitta);
    EXPECT_EQ(seen, QStringList({u"codfisc:"_qs, u"iva:01234567890"_qs, u"codfisc:RSSMRA80A01L219X"_qs,
                                 u"codfisc:12 34"_qs, u"iva:"_qs, u"iva:01234567890"_qs}));
    EXPECT_EQ(e().txtCodFiscDitta.text(), u"12 34"_qs);
}

TEST_F(QuoteCommandsTest, LogoStartNumberHelpAndTheDocumentWindows)
{
    QString caption, tag, title, text;
    modal.scripts[u"frmNumerazione"_qs] = [&](Form& f) {
        caption = f.caption();
        tag = static_cast<TfrmNumerazione&>(f).lblMemory.text();
    };
    modal.scripts[u"frmGuida"_qs] = [&](Form& f) {
        title = static_cast<TfrmGuida&>(f).lblTitolo.text();
        text = static_cast<TfrmGuida&>(f).txtGuida.text();
    };
    click(e().btnLogo);
    click(e().cmdNumerazione);
    click(e().cmdGuida);
    EXPECT_EQ(modal.shown, QStringList({u"frmLogo"_qs, u"frmNumerazione"_qs, u"frmGuida"_qs}));
    EXPECT_EQ(caption, u"Impostazione inizio numerazione preventivi"_qs);
    EXPECT_EQ(tag, u"preventivi"_qs);
    EXPECT_EQ(title, u"Compilazione, archiviazione e stampa di preventivi e documenti di trasporto."_qs);
    EXPECT_EQ(text, orv::documents::helpParagraphs().join(u"\r\n\r\n"_qs));

    // The document windows read the editor as it stands: nothing is saved first.
    e().txtCliente.setText(u"Non salvato"_qs);
    click(e().cmdStampa);
    click(e().cmdAnteprima);
    click(e().cmdPDF);
    using orv::documents::DocumentOutput;
    EXPECT_EQ(documents, std::vector<DocumentOutput>({DocumentOutput::Print, DocumentOutput::Preview,
                                                      DocumentOutput::Pdf}));
    EXPECT_FALSE(QFile::exists(programFolder() + u"2026.pre"_qs));
}

TEST_F(QuoteCommandsTest, TheExtraInformationWindowEditsTheSixHiddenValues)
{
    const QStringList labels = {u"memVeicolo"_qs, u"memMarca"_qs, u"memColore"_qs, u"memImmatricolazione"_qs,
                                u"memAlimentazione"_qs, u"memTarga"_qs};
    for (const QString& l : labels) e().control<Label>(l).setText(u"  "_qs + l + u"  "_qs);
    QStringList shown;
    std::vector<int> widths;
    modal.scripts[u"frmDatiVeicolo"_qs] = [&](Form& f) {
        auto& w = static_cast<TfrmDatiVeicolo&>(f);
        EXPECT_EQ(w.caption(), u" Altre informazioni"_qs);
        EXPECT_EQ(w.lblMemory.text(), u"preventivi"_qs);
        EXPECT_TRUE(focusIs(w.txtVeicolo));
        for (Edit* edit : {&w.txtVeicolo, &w.txtMarca, &w.txtColore, &w.txtImmatricolazione, &w.txtAlimentazione,
                           &w.txtTarga}) {
            shown << edit->text();
            widths.push_back(edit->maxLength());
        }
        // Enter six times goes round the six fields.
        for (Edit* next : {&w.txtMarca, &w.txtColore, &w.txtImmatricolazione, &w.txtAlimentazione, &w.txtTarga,
                           &w.txtVeicolo}) {
            key(w, Qt::Key_Return);
            EXPECT_TRUE(focusIs(*next));
        }
        w.txtImmatricolazione.setText(u"  Assegnato  "_qs);
        click(w.btnApplica);
    };
    click(e().cmdDatiComputer);
    EXPECT_EQ(shown, labels); // trimmed
    EXPECT_EQ(widths, std::vector<int>({50, 50, 50, 30, 50, 30}));
    EXPECT_EQ(e().control<Label>(u"memImmatricolazione"_qs).text(), u"Assegnato"_qs);
    EXPECT_EQ(e().control<Label>(u"memVeicolo"_qs).text(), u"memVeicolo"_qs);

    // Annulla, or another caller tag, writes nothing.
    modal.scripts[u"frmDatiVeicolo"_qs] = [&](Form& f) {
        auto& w = static_cast<TfrmDatiVeicolo&>(f);
        w.txtTarga.setText(u"12"_qs);
        click(w.btnAnnulla);
    };
    click(e().cmdDatiComputer);
    EXPECT_EQ(e().control<Label>(u"memTarga"_qs).text(), u"memTarga"_qs);
    TfrmDatiVeicolo other(&e());
    other.lblMemory.setText(u"ddt"_qs);
    other.txtTarga.setText(u"7"_qs);
    other.btnApplicaClick();
    EXPECT_EQ(e().control<Label>(u"memTarga"_qs).text(), u"memTarga"_qs);

    // A new quote empties them; the values reach the record only with Save.
    click(e().cmdNuovo);
    for (const QString& l : labels) EXPECT_EQ(e().control<Label>(l).text(), QString()) << l.toStdString();
}

TEST_F(QuoteCommandsTest, ExitAndTheCloseButtonLeadToTheMainMenu)
{
    click(e().cmdEsci);
    EXPECT_FALSE(e().isVisible());
    EXPECT_TRUE(frmAvvio->isVisible());
    openEditor();
    e().close();
    EXPECT_FALSE(e().isVisible());
    EXPECT_TRUE(frmAvvio->isVisible());
}

} // namespace
