// The delivery-note editor's other commands through its real controls: the hints, the
// customer and article imports, the checkers, logo, start number, help, the document
// windows, the transport dialog and the exit.
#include "ddt_fixture.h"

#include <QLabel>

#include "shell/avvio.h"
#include "kit/dialogs/checkers.h"
#include "kit/dialogs/guida.h"
#include "kit/dialogs/numerazione.h"
#include "customers/cliente.h"
#include "kit/bridge.h"
#include "customers/trovaclienti.h"
#include "ddt/datitrasporto.h"
#include "documents/documento.h"
#include "warehouse/articolo.h"
#include "warehouse/importamagazzino.h"

#include <QListView>

using namespace orv::customers;
using namespace orv::ddt;
using namespace orv::kit;
using namespace orv::platform::ui;
using namespace orv::warehouse;

using namespace orv::platform::ui;
using orv::test::DdtWindowTest;

namespace {

class DdtCommandsTest : public DdtWindowTest {
protected:
    void SetUp() override
    {
        DdtWindowTest::SetUp();
        openEditor();
    }
    QList<Label*> transportLabels()
    {
        return {&e().memVettore, &e().memDestinazione, &e().memCausale, &e().memAspetto, &e().memOraPartenza,
                &e().memOraConsegna, &e().memPorto};
    }
    QStringList transportValues()
    {
        QStringList v;
        for (Label* l : transportLabels()) v << l->text();
        return v;
    }
    static QList<Control*> fields(TfrmDatiTrasporto& w)
    {
        return {&w.txtVettore, &w.txtDestinazione, &w.txtCausale, &w.txtAspetto, &w.txtOraPartenza,
                &w.txtOraConsegna, &w.txtPorto};
    }
};

TEST_F(DdtCommandsTest, EveryCommandWritesItsHintAndTheBackgroundClearsIt)
{
    const std::pair<const char*, const char*> hints[] = {
        {"cmdNuovo", "Predispone la schermata per l'emissione di un nuovo Documento di Trasporto."},
        {"cmdSalva", "Salva o aggiorna il Documento di Trasporto corrente."},
        {"cmdTrova", "Trova un Documento di Trasporto in archivio."},
        {"cmdSospese", "Visualizza il riepilogo dei DDT relativi ai carichi non ancora consegnati."},
        {"cmdAnteprima", "Visualizza l'anteprima di stampa del Documento di Trasporto corrente."},
        {"cmdStampa", "Stampa il Documento di Trasporto corrente."},
        {"cmdPDF", "Esporta il Documento di Trasporto corrente in formato PDF."},
        {"cmdPrimo", "Visualizza il primo Documento di Trasporto in archivio."},
        {"cmdIndietro", "Visualizza il Documento di Trasporto precedente in archivio."},
        {"cmdAvanti", "Visualizza il Documento di Trasporto successivo in archivio."},
        {"cmdUltimo", "Visualizza l'ultimo Documento di Trasporto in archivio."},
        {"cmdNumerazione", "Imposta il numero iniziale per la numerazione dei Documenti di Trasporto."},
        {"cmdEsporta", "Esporta i Documenti di Trasporto in archivio in un file di Microsoft Excel."},
        {"cmdGuida", "Visualizza la pagina della guida sensibile al contesto."},
        {"cmdEsci", "Esci da questa schermata di lavoro."},
        {"btnCancDitta", "Cancella i dati della Ditta emittente."},
        {"btnLogo", "Carica il logo della Ditta emittente."},
        {"btnIvaDitta", "Controlla il numero di partita IVA."},
        {"btnIvaCliente", "Controlla il numero di partita IVA."},
        {"btnCodFiscDitta", "Controlla il codice fiscale."},
        {"btnCodFiscCliente", "Controlla il codice fiscale."},
        {"chkEs01", "Contrassegna come articolo esente da IVA."},
        {"chkEs05", "Contrassegna come articolo esente da IVA."},
        {"chkSaldata", "Contrassegna come Documento di Trasporto in sospeso."},
        {"cmdDatiTrasporto", "Apri la finestra per l'inserimento dei dati del trasporto."},
        {"impCliente", "Importa i dati del Cliente dall'archivio anagrafico."},
        {"impOggi", "Inserisci la data corrente."},
        {"impMag03", "Importa i dati dell'articolo dal magazzino."},
        {"imgAvanti_A", "Visualizza i prossimi cinque articoli."},
        {"cmdCalcola", "Effettua il calcolo dei totali."},
    };
    // The hint line shows each hint whole, wrapped inside its band, never cut at its edge.
    auto* line = qobject_cast<QLabel*>(e().panInfo.widget());
    ASSERT_TRUE(line);
    for (const auto& [name, hint] : hints) {
        hover(e().panDitta);
        EXPECT_EQ(e().panInfo.text(), QString());
        hover(e().control<Control>(QString::fromLatin1(name)));
        EXPECT_EQ(e().panInfo.text(), QString::fromUtf8(hint)) << name;
        const QRect needed =
            line->fontMetrics().boundingRect(QRect(0, 0, line->width(), 1000), Qt::TextWordWrap, line->text());
        EXPECT_LE(needed.width(), line->width()) << name;
        EXPECT_LE(needed.height(), line->height()) << name;
        EXPECT_TRUE(line->wordWrap());
    }
    // Edits have no hint of their own: the last one stays.
    hover(e().txtCliente);
    EXPECT_EQ(e().panInfo.text(), u"Effettua il calcolo dei totali."_qs);
    hover(e().page(1));
    EXPECT_EQ(e().panInfo.text(), QString());
}

TEST_F(DdtCommandsTest, TheCustomerFinderFillsTheSevenCustomerFields)
{
    TCliente c;
    c.Cliente = u"Rossi Mario"_qs;
    c.IndirizzoRes = u"Via Po 12"_qs;
    c.CapRes = u"10123"_qs;
    c.ComuneRes = u"Torino"_qs;
    c.ProvRes = u"TO"_qs;
    c.PartitaIva = u"01234567890"_qs;
    c.CodFisc = u"RSSMRA80A01L219X"_qs;
    writeFile(TCliente::kFileName, c.encode());
    e().txtRiferimenti.setText(u"Caldaia"_qs);
    e().memVettore.setText(u"Alpi"_qs);
    QString tag;
    modal.scripts[u"frmTrovaClienti"_qs] = [&](Form& f) {
        auto& finder = static_cast<TfrmTrovaClienti&>(f);
        tag = finder.lblMemory.text();
        click(finder.btnCerca);
        orv::test::doubleClickLine(finder.lstRecords, 0);
    };
    click(e().impCliente);
    EXPECT_EQ(tag, u"ddt"_qs);
    const QStringList shown = {e().txtCliente.text(),    e().txtViaCliente.text(), e().txtCapCliente.text(),
                               e().txtCittaCliente.text(), e().txtProvCliente.text(), e().txtIvaCliente.text(),
                               e().txtCodFiscCliente.text()};
    EXPECT_EQ(shown, QStringList({"Rossi Mario", "Via Po 12", "10123", "Torino", "TO", "01234567890",
                                  "RSSMRA80A01L219X"}));
    EXPECT_EQ(e().txtRiferimenti.text(), u"Caldaia"_qs);
    EXPECT_EQ(e().memVettore.text(), u"Alpi"_qs);
    EXPECT_EQ(e().lblPosizione.text(), QString());
}

TEST_F(DdtCommandsTest, EachRowImportsAnArticleIntoItselfWithItsOwnQuantity)
{
    TArticolo a;
    a.Codice = u"CV-1"_qs;
    a.Descrizione = u"Cavo unipolare"_qs;
    a.Prezzo = u"12,5"_qs;
    a.Giacenza = u"10"_qs;
    writeFile(TArticolo::kFileName, a.encode());
    TfrmDDT::Row& r = e().row(7);
    r.txtQuant.setText(u"3"_qs);
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
    EXPECT_EQ(tag, u"ddt_art_07"_qs);
    EXPECT_EQ(quantity, u"3"_qs);
    EXPECT_EQ(r.txtCodice.text(), u"CV-1"_qs);
    EXPECT_EQ(r.txtDesc.text(), u"Cavo unipolare"_qs);
    EXPECT_EQ(r.txtPrezzo.text(), u"12,5"_qs); // not normalised
    EXPECT_EQ(r.txtImporto.text(), u"1,00"_qs); // nothing emptied or recomputed
    EXPECT_EQ(e().txtTotFattura.text(), u"9,99"_qs);

    modal.scripts[u"frmImportaMagazzino"_qs] = [&](Form& f) {
        tag = static_cast<TfrmImportaMagazzino&>(f).lblMemory.text();
        quantity = static_cast<TfrmImportaMagazzino&>(f).txtQuant.text();
    };
    e().showPage(6);
    click(e().row(30).impMag);
    EXPECT_EQ(tag, u"ddt_art_30"_qs);
    EXPECT_EQ(quantity, u"0"_qs); // an empty quantity leaves the window its own
}

TEST_F(DdtCommandsTest, HeaderButtonsClearTheIssuerFillTheDateAndRouteTheCheckers)
{
    for (const orv::documents::IssuerKey& k : orv::documents::issuerKeys())
        orv::kit::setControlText(e().control<Control>(k.control), u"x"_qs);
    click(e().btnCancDitta);
    for (const orv::documents::IssuerKey& k : orv::documents::issuerKeys()) {
        const bool kept = k.control == u"txtPagamento" || k.control == u"txtBanca" || k.control == u"txtIban"
                          || k.control == u"txtPercIva";
        EXPECT_EQ(orv::kit::controlText(e().control<Control>(k.control)), kept ? u"x"_qs : QString())
            << k.control.toStdString();
    }
    EXPECT_TRUE(focusIs(e().txtDitta));

    e().txtData.setText(u"01/01/2020"_qs);
    click(e().impOggi);
    EXPECT_EQ(e().txtData.text(), u"15/03/2026"_qs);

    QStringList seen;
    modal.scripts[u"frmCodFisc"_qs] = [&](Form& f) { seen << u"cf:"_qs + static_cast<TfrmCodFisc&>(f).txtCodFisc.text(); };
    modal.scripts[u"frmPartitaIva"_qs] = [&](Form& f) {
        seen << u"iva:"_qs + static_cast<TfrmPartitaIva&>(f).txtPartitaIva.text();
    };
    const std::pair<Control*, const char*> checks[] = {
        {&e().txtCodFiscCliente, "   "}, {&e().txtCodFiscDitta, " 1234 "}, {&e().txtCodFiscCliente, "RSSMRA80A01L219X"},
        {&e().txtCodFiscDitta, "12 34"}, {&e().txtIvaCliente, " 01234567890 "}, {&e().txtIvaDitta, ""},
    };
    for (const auto& [field, value] : checks) {
        orv::kit::setControlText(*field, QString::fromLatin1(value));
        const QString button = u"btn"_qs + field->name().mid(3);
        click(e().control<Control>(button));
    }
    EXPECT_EQ(seen, QStringList({"cf:", "iva:1234", "cf:RSSMRA80A01L219X", "cf:12 34", "iva:01234567890", "iva:"}));
    EXPECT_EQ(e().txtIvaCliente.text(), u" 01234567890 "_qs); // the field itself unchanged
}

TEST_F(DdtCommandsTest, LogoStartNumberHelpAndTheDocumentWindows)
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
    EXPECT_EQ(caption, u"Impostazione inizio numerazione Documenti di Trasporto"_qs);
    EXPECT_EQ(tag, u"ddt"_qs);
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
    EXPECT_FALSE(QFile::exists(programFolder() + u"2026.ddt"_qs));
}

TEST_F(DdtCommandsTest, TheTransportDialogShowsTheValuesTrimmedAndAppliesThemTrimmed)
{
    const QStringList values = {u"Trasporti Alpi"_qs, u"Cantiere"_qs, u"Vendita"_qs, u"Scatole"_qs,
                                u"Ore 08:30 del 14/03/2026"_qs, QString(), u"Porto franco fino a Torino"_qs};
    for (int i = 0; i < 7; ++i) transportLabels()[i]->setText(u"  "_qs + values[i] + u"  "_qs);
    QStringList shown;
    std::vector<int> widths;
    modal.scripts[u"frmDatiTrasporto"_qs] = [&](Form& f) {
        auto& w = static_cast<TfrmDatiTrasporto&>(f);
        EXPECT_EQ(w.caption(), u" Dati trasporto"_qs);
        EXPECT_EQ(w.size(), QSize(766, 363));
        EXPECT_EQ(w.lblMemory.text(), u"ddt"_qs);
        EXPECT_EQ(w.lblIstruzioni.text(), u"Inserire i dati, fare clic su Applica e chiudi e poi sul pulsante Salva "
                                          u"per salvare le modifiche."_qs);
        EXPECT_TRUE(focusIs(w.txtVettore));
        EXPECT_TRUE(w.txtVettore.highlight()->visible());
        EXPECT_EQ(w.txtPorto.items(), QStringList({u"Franco"_qs, u"Assegnato"_qs}));
        EXPECT_EQ(w.txtPorto.itemIndex(), -1); // neither item: shown as handed over
        for (Control* c : fields(w)) shown << orv::kit::controlText(*c);
        for (Control* c : fields(w))
            widths.push_back(c == &w.txtPorto ? w.txtPorto.maxLength() : static_cast<Edit*>(c)->maxLength());
        // Enter goes round the seven fields.
        const QList<Control*> chain = fields(w);
        for (int i = 1; i <= 7; ++i) {
            key(w, Qt::Key_Return);
            EXPECT_TRUE(focusIs(*chain[i % 7])) << i;
        }
        keys(w, u"  e Cuneo"_qs);
        click(w.btnApplica);
        EXPECT_FALSE(w.isVisible());
    };
    click(e().cmdDatiTrasporto);
    EXPECT_EQ(shown, values);
    EXPECT_EQ(widths, std::vector<int>({50, 50, 50, 50, 50, 50, 30}));
    QStringList applied = values;
    applied[0] = u"Trasporti Alpi  e Cuneo"_qs;
    EXPECT_EQ(transportValues(), applied);

    // Everything emptied and applied: seven empty values.
    modal.scripts[u"frmDatiTrasporto"_qs] = [&](Form& f) {
        auto& w = static_cast<TfrmDatiTrasporto&>(f);
        for (Control* c : fields(w)) orv::kit::setControlText(*c, u"   "_qs);
        click(w.btnApplica);
    };
    click(e().cmdDatiTrasporto);
    EXPECT_EQ(transportValues(), QStringList(7));
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(DdtCommandsTest, TheTransportDialogsCarriageListTimeStampsAndTabOrder)
{
    clock.at = QDateTime(QDate(2022, 3, 14), QTime(9, 5, 59));
    e().memPorto.setText(u"Assegnato"_qs);
    modal.scripts[u"frmDatiTrasporto"_qs] = [&](Form& f) {
        auto& w = static_cast<TfrmDatiTrasporto&>(f);
        EXPECT_EQ(w.txtPorto.text(), u"Assegnato"_qs);
        EXPECT_EQ(w.txtPorto.itemIndex(), -1); // the list's selection cleared, the text kept
        // A picked item lands in the field; coming back clears the selection again.
        w.txtPorto.setFocus();
        w.txtPorto.setItemIndex(0);
        EXPECT_EQ(w.txtPorto.text(), u"Franco"_qs);
        w.txtVettore.setFocus();
        w.txtPorto.setFocus();
        EXPECT_TRUE(focusIs(w.txtPorto));
        EXPECT_EQ(w.txtPorto.itemIndex(), -1);
        EXPECT_EQ(w.txtPorto.text(), u"Franco"_qs);
        // Tab: Applica, then Annulla, after the seven fields.
        key(w, Qt::Key_Tab);
        EXPECT_TRUE(focusIs(w.btnApplica));
        key(w, Qt::Key_Tab);
        EXPECT_TRUE(focusIs(w.btnAnnulla));

        // The time stamps overwrite what the field held; the focus stays.
        w.txtOraPartenza.setText(u"domattina"_qs);
        w.txtAspetto.setFocus();
        click(w.impOraPartenza);
        EXPECT_EQ(w.txtOraPartenza.text(), u"Ore 09:05 del 14/03/2022"_qs);
        EXPECT_EQ(w.txtOraConsegna.text(), QString());
        clock.at = QDateTime(QDate(2022, 12, 1), QTime(17, 40));
        click(w.impOraConsegna);
        EXPECT_EQ(w.txtOraConsegna.text(), u"Ore 17:40 del 01/12/2022"_qs);
        EXPECT_TRUE(focusIs(w.txtAspetto));
        click(w.btnAnnulla);
    };
    click(e().cmdDatiTrasporto);
    // Annulla writes nothing back.
    EXPECT_EQ(transportValues(), QStringList({"", "", "", "", "", "", "Assegnato"}));

    // Only the editor's tag writes into it; the dialog closes whatever the tag.
    TfrmDatiTrasporto other(&e());
    other.lblMemory.setText(u"preventivi"_qs);
    other.txtVettore.setText(u"Alpi"_qs);
    other.show();
    click(other.btnApplica);
    EXPECT_FALSE(other.isVisible());
    EXPECT_EQ(e().memVettore.text(), QString());
}

} // namespace
