// The delivery-note editor's frame and archive commands through its real controls:
// showing and closing with the issuing company, New with its numbering, Save with its
// checks and what it stores, the four navigation commands and Calculate.
#include "ddt_fixture.h"

#include "shell/avvio.h"
#include "platform/core/inifile.h"
#include "quotes/menupreventivi.h"
#include "quotes/preventivi.h"

#include <QDir>
#include <QFile>

using namespace orv::ddt;
using namespace orv::platform::ui;
using namespace orv::quotes;
using namespace orv::shell;

using namespace orv::platform::ui;
using orv::test::DdtWindowTest;
using orv::test::kAccess;
using orv::test::MessageCall;
using orv::test::note;

namespace {

const QString kAppended = u"La scheda corrente è stata inserita in archivio."_qs;
const QString kSaved = u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_qs;
const QString kEmpty = u"L'archivio non contiene nessuna scheda."_qs;
const QString kSection = u"Numerazione Documenti di Trasporto"_qs;

class DdtEditorTest : public DdtWindowTest {
protected:
    orv::platform::IniFile settings() const { return orv::platform::IniFile(programFolder() + u"Orvanta.ini"_qs); }
    // Three delivery notes of 2026 (numbers 1 to 3, customers Alfa, Beta, Gamma) and the
    // start of a fourth that is no whole record.
    void writeThree()
    {
        writeYear({note({{"NumFatt", "1"}, {"Cliente", "Alfa"}, {"Saldata", "Sì"}, {"Quant16", "4"},
                         {"Vettore", "Alpi"}}),
                   note({{"NumFatt", "2"}, {"Cliente", "Beta"}, {"Saldata", "No"}, {"Quant16", "5"}}),
                   note({{"NumFatt", "3"}, {"Cliente", "Gamma"}, {"Saldata", "forse"}, {"TotFattura", "7,00"}})});
        QFile f(programFolder() + u"2026.ddt"_qs);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write(QByteArray(100, 'x'));
    }
    QStringList totals()
    {
        return {e().txtTotImponibile.text(), e().txtTotImposta.text(), e().txtTotIva.text(), e().txtTotEsente.text(),
                e().txtTotFattura.text()};
    }
};

TEST_F(DdtEditorTest, ShownWithTheIssuingCompanyOnACleanNewNote)
{
    orv::platform::IniFile ini = settings();
    ini.writeString(u"Ditta Emittente"_qs, u"Nome"_qs, u"Tecnoservice"_qs);
    ini.writeString(u"Ditta Emittente"_qs, u"Banca Appoggio"_qs, u"Banca Sabauda"_qs);
    ini.writeString(u"Ditta Emittente"_qs, u"Aliquota Iva"_qs, u"22"_qs);
    TfrmDDT& d = openEditor();
    EXPECT_EQ(d.caption(), u" Orvanta 4.0 - Emissione DDT anno 2026"_qs);
    EXPECT_EQ(d.lblFile.text(), programFolder() + u"2026.ddt"_qs);
    EXPECT_EQ(d.txtDitta.text(), u"Tecnoservice"_qs);
    EXPECT_EQ(d.txtBanca.text(), u"Banca Sabauda"_qs);
    EXPECT_EQ(d.txtPercIva.text(), u"22"_qs);
    EXPECT_EQ(d.txtIban.text(), QString()); // a missing key reads empty
    for (Label* l : {&d.memVettore, &d.memDestinazione, &d.memCausale, &d.memAspetto, &d.memOraPartenza,
                     &d.memOraConsegna, &d.memPorto}) {
        EXPECT_FALSE(l->visible());
        EXPECT_EQ(l->text(), QString());
    }
    EXPECT_EQ(d.lblPosizione.text(), QString());
    EXPECT_EQ(d.shownPage(), 1);
    EXPECT_TRUE(focusIs(d.txtCliente));
    EXPECT_EQ(d.chkSaldata.text(), u"Consegnato"_qs);
    EXPECT_EQ(d.cmdDatiTrasporto.text(), u"Dati trasporto"_qs);
    EXPECT_EQ(d.panInfo.text(), u"Pronto per archiviare una nuova scheda..."_qs);
    EXPECT_FALSE(QFile::exists(programFolder() + u"2026.ddt"_qs));
}

TEST_F(DdtEditorTest, ClosingKeepsTheIssuingCompanyForBothEditorsAndDropsTheNote)
{
    TfrmDDT& d = openEditor();
    d.txtDitta.setText(u"  Nuova Ditta  "_qs);
    d.txtPagamento.setText(u"Rimessa diretta"_qs);
    d.txtCliente.setText(u"Rossi"_qs);
    d.memVettore.setText(u"Alpi"_qs);
    click(d.cmdEsci);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(frmAvvio->isVisible());
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_EQ(settings().readString(u"Ditta Emittente"_qs, u"Nome"_qs, u"?"_qs), u"Nuova Ditta"_qs);
    EXPECT_FALSE(QFile::exists(programFolder() + u"2026.ddt"_qs));
    // The quote editor reads the same keys.
    click(frmAvvio->imgPreventivi);
    click(frmMenuPreventivi->btnApriPreventivi);
    EXPECT_EQ(frmPreventivi->txtDitta.text(), u"Nuova Ditta"_qs);
    EXPECT_EQ(frmPreventivi->txtPagamento.text(), u"Rimessa diretta"_qs);
    frmPreventivi->close();
    // Reopened: the note is gone.
    openEditor();
    EXPECT_EQ(d.txtCliente.text(), QString());
    EXPECT_EQ(d.memVettore.text(), QString());
}

TEST_F(DdtEditorTest, NewNumbersFromTheDeliveryNotesStartNumberAndTheNotesStored)
{
    TfrmDDT& d = openEditor();
    d.txtCliente.setText(u"Rossi"_qs);
    d.memPorto.setText(u"Franco"_qs);
    d.chkSaldata.setChecked(true);
    d.showPage(3);
    d.lblPosizione.setText(u"2"_qs);
    click(d.cmdNuovo);
    EXPECT_EQ(d.txtNumFatt.text(), u"1"_qs); // no settings, no archive
    EXPECT_EQ(d.txtData.text(), u"15/03/2026"_qs);
    EXPECT_EQ(d.txtCliente.text(), QString());
    EXPECT_EQ(d.memPorto.text(), QString());
    EXPECT_FALSE(d.chkSaldata.isChecked());
    EXPECT_EQ(d.lblPosizione.text(), QString());
    EXPECT_EQ(d.shownPage(), 1);
    EXPECT_TRUE(focusIs(d.txtCliente));
    EXPECT_EQ(readFile(u"2026.ddt"_qs).size(), 0); // created empty

    writeYear({note({}), note({}), note({})});
    orv::platform::IniFile ini = settings();
    ini.writeString(kSection, u"Inizio"_qs, u"100"_qs);
    ini.writeString(u"Numerazione Preventivi"_qs, u"Inizio"_qs, u"500"_qs); // the quotes' own
    const struct {
        const char* yearSwitch;
        const char* number;
    } cases[] = {{"", "103"}, {" Sì ", "103/2026"}, {"Si", "103"}, {"SI", "103"}, {"sì", "103"}};
    for (const auto& c : cases) {
        ini.writeString(kSection, u"Indicazione Anno Solare"_qs, QString::fromUtf8(c.yearSwitch));
        click(d.cmdNuovo);
        EXPECT_EQ(d.txtNumFatt.text(), QString::fromUtf8(c.number)) << c.yearSwitch;
    }
    EXPECT_EQ(d.lblInizio.text(), u"100"_qs);

    // A start number that is no integer: cleared, the error box, no number and no date.
    ini.writeString(kSection, u"Inizio"_qs, u"abc"_qs);
    d.txtCliente.setText(u"Rossi"_qs);
    click(d.cmdNuovo);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Error);
    EXPECT_EQ(messages.last().text, kAccess);
    EXPECT_EQ(d.txtCliente.text(), QString());
    EXPECT_EQ(d.txtNumFatt.text(), QString());
    EXPECT_EQ(d.txtData.text(), QString());
}

TEST_F(DdtEditorTest, SaveChecksInOrderWithTheDeliveryNoteTexts)
{
    TfrmDDT& d = openEditor();
    d.row(1).txtQuant.setText(u"2"_qs);
    d.row(1).txtPrezzo.setText(u"5"_qs);
    const struct {
        const char* customer;
        const char* number;
        const char* date;
        const char* message;
        Control* focus;
    } cases[] = {
        {"", "", "", "Attenzione: per salvare la scheda è necessario indicare il nome o la ragione sociale del cliente.",
         &d.txtCliente},
        {"Rossi", " ", "", "Attenzione: per salvare la scheda è necessario indicare il numero del Documento di Trasporto.",
         &d.txtNumFatt},
        {"Rossi", "1", " ", "Attenzione: per salvare la scheda è necessario indicare la data del Documento di Trasporto.",
         &d.txtData},
        {"Rossi", "1", "31/02/2021",
         "Attenzione: la data indicata non esiste.\n\r\n\rPer poter salvare la scheda è necessario indicare una data "
         "valida nel formato gg/mm/anno.",
         &d.txtData},
    };
    for (const auto& c : cases) {
        d.txtCliente.setText(QString::fromUtf8(c.customer));
        d.txtNumFatt.setText(QString::fromUtf8(c.number));
        d.txtData.setText(QString::fromUtf8(c.date));
        d.txtTotFattura.setText(QString());
        click(d.cmdSalva);
        ASSERT_EQ(messages.calls.size(), 1u) << c.message;
        EXPECT_EQ(messages.last().kind, MessageCall::Warning);
        EXPECT_EQ(messages.last().text, QString::fromUtf8(c.message));
        EXPECT_TRUE(focusIs(*c.focus)) << c.message;
        EXPECT_EQ(d.txtTotFattura.text(), u"10,00"_qs); // calculated all the same
        messages.clear();
    }
    EXPECT_FALSE(QFile::exists(programFolder() + u"2026.ddt"_qs));
}

TEST_F(DdtEditorTest, SaveCreatesTheYearThenAppendsAndOverwritesWithTheTransportValues)
{
    TfrmDDT& d = openEditor();
    click(d.cmdNuovo);
    QFile::remove(programFolder() + u"2026.ddt"_qs); // the year file does not exist yet
    d.txtCliente.setText(u"  Rossi Mario  "_qs);
    d.txtRiferimenti.setText(QString(60, u'r')); // put there by another window: cut to 50
    d.memVettore.setText(u"Trasporti Alpi"_qs);
    d.memOraPartenza.setText(u"Ore 08:30 del 15/03/2026"_qs);
    d.memPorto.setText(u"Assegnato"_qs);
    d.row(30).txtQuant.setText(u"3"_qs);
    d.row(30).txtPrezzo.setText(u"12,345"_qs);
    d.row(30).txtPercSconto.setText(u"10"_qs);
    d.txtPercIva.setText(u"22"_qs);
    click(d.cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList({kAppended}));
    EXPECT_EQ(d.lblPosizione.text(), u"1"_qs);
    QByteArray file = readFile(u"2026.ddt"_qs);
    ASSERT_EQ(file.size(), 4957);
    TDDT stored = TDDT::decode(file);
    EXPECT_EQ(stored[u"NumFatt"_qs], u"1"_qs);
    EXPECT_EQ(stored[u"Cliente"_qs], u"Rossi Mario"_qs);
    EXPECT_EQ(stored[u"Riferimenti"_qs], QString(50, u'r'));
    EXPECT_EQ(stored[u"Vettore"_qs], u"Trasporti Alpi"_qs);
    EXPECT_EQ(stored[u"OraPartenza"_qs], u"Ore 08:30 del 15/03/2026"_qs);
    EXPECT_EQ(stored[u"Porto"_qs], u"Assegnato"_qs);
    EXPECT_EQ(stored[u"Destinazione"_qs], QString()); // never entered: stored empty
    EXPECT_EQ(stored[u"Importo30"_qs], u"33,3315"_qs);
    EXPECT_EQ(stored[u"TotFattura"_qs], u"40,66"_qs);
    EXPECT_EQ(file.mid(4954, 3), QByteArray("\x02No")); // "Consegnato" unticked
    EXPECT_EQ(file.mid(4547, 3), QByteArray("\x02No"));

    // Saved again: the same record, the file's size unchanged.
    d.chkSaldata.setChecked(true);
    d.memCausale.setText(u"Reso"_qs);
    click(d.cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList({kSaved}));
    EXPECT_EQ(d.lblPosizione.text(), u"1"_qs);
    file = readFile(u"2026.ddt"_qs);
    ASSERT_EQ(file.size(), 4957);
    EXPECT_EQ(file.mid(4954, 3), QByteArray("\x02S\xec"));
    EXPECT_EQ(TDDT::decode(file)[u"Causale"_qs], u"Reso"_qs);

    // New and Save append the second note, numbered after the first.
    click(d.cmdNuovo);
    EXPECT_EQ(d.txtNumFatt.text(), u"2"_qs);
    d.txtCliente.setText(u"Bianchi"_qs);
    click(d.cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList({kAppended}));
    EXPECT_EQ(d.lblPosizione.text(), u"2"_qs);
    EXPECT_EQ(readYear().size(), 2);
    EXPECT_EQ(readYear()[1][u"Vettore"_qs], QString());
}

TEST_F(DdtEditorTest, NavigationInEveryStateOfTheEditorAndTheArchive)
{
    writeThree();
    TfrmDDT& d = openEditor();
    const struct {
        const char* start; // the position before the command
        const char* command;
        const char* position;
        const char* customer; // "" when the editor stays as it was
        bool error = false;
    } cases[] = {
        {"", "cmdPrimo", "1", "Alfa"},     {"", "cmdIndietro", "1", "Alfa"},
        {"", "cmdAvanti", "1", "Alfa"},    {"", "cmdUltimo", "3", "Gamma"}, // the trailing bytes are no record
        {"2", "cmdIndietro", "1", "Alfa"}, {"2", "cmdAvanti", "3", "Gamma"},
        {"1", "cmdIndietro", "1", ""},     {"3", "cmdAvanti", "3", ""},
        {"1", "cmdPrimo", "1", "Alfa"},    {"3", "cmdUltimo", "3", "Gamma"},
        {"4", "cmdIndietro", "3", "Gamma"}, {"9", "cmdAvanti", "9", ""},
        {"5", "cmdIndietro", "5", "", true}, {"0", "cmdIndietro", "0", "", true},
        {"0", "cmdAvanti", "1", "Alfa"},
    };
    for (const auto& c : cases) {
        d.lblPosizione.setText(QString::fromLatin1(c.start));
        d.txtCliente.setText(u"(sullo schermo)"_qs);
        click(d.control<Image>(QString::fromLatin1(c.command)));
        const std::string what = std::string(c.start) + " " + c.command;
        EXPECT_EQ(d.lblPosizione.text(), QString::fromLatin1(c.position)) << what;
        EXPECT_EQ(d.txtCliente.text(), *c.customer ? QString::fromUtf8(c.customer) : u"(sullo schermo)"_qs) << what;
        if (c.error) {
            ASSERT_EQ(messages.calls.size(), 1u) << what;
            EXPECT_EQ(messages.last().kind, MessageCall::Error);
            EXPECT_EQ(messages.last().text, kAccess);
            messages.clear();
        }
        EXPECT_TRUE(messages.calls.empty()) << what;
    }
}

// At position "1" Previous does nothing at all: the year's file is neither opened nor made,
// so a missing one stays missing and one that cannot be opened reports nothing.
TEST_F(DdtEditorTest, PreviousAtTheFirstPositionTouchesNoFile)
{
    TfrmDDT& d = openEditor();
    QFile::remove(programFolder() + u"2026.ddt"_qs);
    d.lblPosizione.setText(u" 1 "_qs);
    d.txtCliente.setText(u"(sullo schermo)"_qs);
    click(d.cmdIndietro);
    EXPECT_FALSE(QFile::exists(programFolder() + u"2026.ddt"_qs));
    QDir(programFolder()).mkdir(u"2026.ddt"_qs); // exists, but cannot be opened as a file
    click(d.cmdIndietro);
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_EQ(d.lblPosizione.text(), u" 1 "_qs);
    EXPECT_EQ(d.txtCliente.text(), u"(sullo schermo)"_qs);
    // Any other position still opens it and reports that it cannot.
    d.lblPosizione.setText(u"2"_qs);
    click(d.cmdIndietro);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Error);
}

TEST_F(DdtEditorTest, LoadingShowsWhatIsStoredAndKeepsThePageAndTheFocus)
{
    writeThree();
    TfrmDDT& d = openEditor();
    d.showPage(4);
    d.chkSaldata.setChecked(false);
    d.memVettore.setText(u"(sullo schermo)"_qs);
    click(d.cmdPrimo);
    EXPECT_EQ(d.shownPage(), 4);
    EXPECT_TRUE(focusIs(d.row(16).txtQuant));
    EXPECT_EQ(d.row(16).txtQuant.text(), u"4"_qs);
    EXPECT_EQ(d.memVettore.text(), u"Alpi"_qs);
    EXPECT_TRUE(d.chkSaldata.isChecked()); // "Sì"
    click(d.cmdAvanti);
    EXPECT_FALSE(d.chkSaldata.isChecked()); // "No"
    EXPECT_EQ(d.memVettore.text(), QString());
    d.chkSaldata.setChecked(true);
    click(d.cmdAvanti);
    EXPECT_TRUE(d.chkSaldata.isChecked()); // neither word: the box as it was
    EXPECT_EQ(d.txtTotFattura.text(), u"7,00"_qs); // as stored, nothing computed
    EXPECT_EQ(d.txtTotImponibile.text(), QString());
}

TEST_F(DdtEditorTest, AnEmptyArchiveAndOneThatCannotBeOpened)
{
    TfrmDDT& d = openEditor();
    for (Image* command : {&d.cmdPrimo, &d.cmdIndietro, &d.cmdAvanti, &d.cmdUltimo}) {
        click(*command);
        EXPECT_EQ(takeTexts(), QStringList({kEmpty}));
        EXPECT_EQ(d.lblPosizione.text(), QString()); // Next's "0" emptied again
    }
    EXPECT_EQ(readFile(u"2026.ddt"_qs).size(), 0);

    QFile::remove(programFolder() + u"2026.ddt"_qs);
    QDir(programFolder()).mkdir(u"2026.ddt"_qs);
    const std::pair<Image*, MessageCall::Kind> kinds[] = {{&d.cmdPrimo, MessageCall::Warning},
                                                          {&d.cmdIndietro, MessageCall::Error},
                                                          {&d.cmdAvanti, MessageCall::Error},
                                                          {&d.cmdUltimo, MessageCall::Error},
                                                          {&d.cmdNuovo, MessageCall::Error}};
    d.txtCliente.setText(u"Rossi"_qs);
    for (const auto& [command, kind] : kinds) {
        click(*command);
        ASSERT_EQ(messages.calls.size(), 1u);
        EXPECT_EQ(messages.last().kind, kind);
        EXPECT_EQ(messages.last().text, kAccess);
        messages.clear();
    }
    EXPECT_EQ(d.lblPosizione.text(), QString()); // the archive failed before Next's "0"
    EXPECT_EQ(d.txtCliente.text(), u"Rossi"_qs); // New failed before clearing
    d.txtNumFatt.setText(u"1"_qs);
    d.txtData.setText(u"1/3/26"_qs);
    d.lblPosizione.setText(QString());
    click(d.cmdSalva);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Warning);
    EXPECT_EQ(messages.last().text, kAccess);
    EXPECT_EQ(d.lblPosizione.text(), QString());
}

TEST_F(DdtEditorTest, CalculateThroughItsButton)
{
    TfrmDDT& d = openEditor();
    const struct {
        std::vector<std::tuple<int, const char*, const char*, bool>> amounts; // row, amount shown, price, exempt
        const char* rate;
        QStringList totals;
    } cases[] = {
        {{{1, "100,00", "", false}, {2, "33,3315", "", false}, {3, "50,00", "", true}},
         "22",
         {"133,33", "29,33", "162,66", "50,00", "212,66"}},
        {{{4, "10,0049", "", false}}, "22", {"10,00", "2,20", "12,21", "0,00", "12,21"}},
        {{{1, "2,675", "", false}, {2, "1,005", "", true}}, "22", {"2,67", "0,59", "3,26", "1,00", "4,27"}},
        {{{1, "12,50", "", false}, {2, "7,25", "", true}}, "", {"12,50", "0,00", "12,50", "7,25", "19,75"}},
        {{{1, "12,50", "", false}}, "22.5", {"0,00", "0,00", "0,00", "0,00", "0,00"}},
        {{{1, "", "5", false}, {3, "1,00", "12.50", false}}, "22", {"0,00", "0,00", "0,00", "0,00", "0,00"}},
    };
    for (const auto& c : cases) {
        click(d.cmdNuovo);
        for (const auto& [row, amount, price, exempt] : c.amounts) {
            d.row(row).txtImporto.setText(QString::fromUtf8(amount));
            d.row(row).txtPrezzo.setText(QString::fromUtf8(price));
            d.row(row).chkEs.setChecked(exempt);
        }
        d.txtPercIva.setText(QString::fromUtf8(c.rate));
        click(d.cmdCalcola);
        EXPECT_EQ(totals(), c.totals) << c.rate;
    }
    // The last case: row 1 complete, row 3 holds its default quantity and its amount.
    EXPECT_EQ(d.row(1).txtQuant.text(), u"1"_qs);
    EXPECT_EQ(d.row(1).txtImporto.text(), u"5,00"_qs);
    EXPECT_EQ(d.row(3).txtQuant.text(), u"1"_qs);
    EXPECT_EQ(d.row(3).txtImporto.text(), u"1,00"_qs);
    EXPECT_EQ(d.txtPercIva.text(), u"22"_qs);
    hover(d.cmdCalcola);
    EXPECT_EQ(d.panInfo.text(), u"Effettua il calcolo dei totali."_qs);
    EXPECT_TRUE(messages.calls.empty());
}

} // namespace

// Two workstations on one year: A's new note proposed "2" while B stores its note 2, and
// A's loaded note changed by B before A saves. A is asked each time; No writes nothing and
// keeps the card, Yes stores it.
TEST_F(DdtEditorTest, AnotherWorkstationsNumberOrChangeIsAskedAboutAtSave)
{
    writeYear({note({{"NumFatt", "1"}, {"Data", "01/03/2026"}, {"Cliente", "Verdi"}})});
    TfrmDDT& d = openEditor();
    click(d.cmdNuovo);
    EXPECT_EQ(d.txtNumFatt.text(), u"2"_qs);
    d.txtCliente.setText(u"Rossi"_qs);
    writeYear({note({{"NumFatt", "1"}, {"Data", "01/03/2026"}, {"Cliente", "Verdi"}}), note({{"NumFatt", "2"}, {"Cliente", "B"}})});
    const QString taken = orv::archive::EditorConfig{}.numberTakenQuestion.arg(u"2"_qs);
    messages.answers = {orv::platform::ui::mrNo};
    click(d.cmdSalva);
    ASSERT_FALSE(messages.calls.empty());
    EXPECT_EQ(messages.last().kind, MessageCall::Confirmation);
    EXPECT_EQ(takeTexts(), QStringList({taken}));
    EXPECT_EQ(readYear().size(), 2);
    EXPECT_EQ(d.lblPosizione.text(), QString());
    EXPECT_EQ(d.txtCliente.text(), u"Rossi"_qs);
    click(d.cmdSalva); // answered Yes: a second note 2, as the user chose
    EXPECT_EQ(takeTexts(), QStringList({taken, kAppended}));
    EXPECT_EQ(d.lblPosizione.text(), u"3"_qs);
    EXPECT_EQ(readYear()[2][u"Cliente"_qs], u"Rossi"_qs);

    // B changes note 1 after A loaded it.
    click(d.cmdPrimo);
    QList<TDDT> notes = readYear();
    notes[0] = note({{"NumFatt", "1"}, {"Data", "01/03/2026"}, {"Cliente", "Verdi e figli"}});
    writeYear(notes);
    d.txtNote.setText(u"nota di A"_qs);
    const QString changed = orv::archive::EditorConfig{}.changedElsewhereQuestion;
    messages.answers = {orv::platform::ui::mrNo};
    click(d.cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList({changed}));
    EXPECT_EQ(readYear()[0][u"Cliente"_qs], u"Verdi e figli"_qs);
    EXPECT_EQ(d.txtNote.text(), u"nota di A"_qs);
    EXPECT_EQ(d.lblPosizione.text(), u"1"_qs);
    click(d.cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList({changed, kSaved}));
    EXPECT_EQ(readYear()[0][u"Cliente"_qs], u"Verdi"_qs);
    EXPECT_EQ(readYear()[0][u"Note"_qs], u"nota di A"_qs);
}
