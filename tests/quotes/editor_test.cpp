// The quote editor's frame and archive commands through its real controls: showing and
// closing with the issuing company, New with its numbering, Save with its checks, the
// four navigation commands and Calculate.
#include "quote_fixture.h"

#include "shell/avvio.h"
#include "platform/core/inifile.h"
#include "quotes/menupreventivi.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>

using namespace orv::platform::ui;
using namespace orv::quotes;
using namespace orv::shell;

using namespace orv::platform::ui;
using orv::test::kAccess;
using orv::test::MessageCall;
using orv::test::quote;
using orv::test::QuoteWindowTest;

namespace {

const QString kAppended = u"La scheda corrente è stata inserita in archivio."_qs;
const QString kSaved = u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_qs;
const QString kEmpty = u"L'archivio non contiene nessuna scheda."_qs;
const QString kCustomerMissing =
    u"Attenzione: per salvare la scheda è necessario indicare il nome o la ragione sociale del cliente."_qs;

class QuoteEditorTest : public QuoteWindowTest {
protected:
    orv::platform::IniFile settings() const { return orv::platform::IniFile(programFolder() + u"Orvanta.ini"_qs); }
    // Three quotes of 2026: numbers 1 to 3, customers A, B, C.
    void writeThree()
    {
        writeYear({quote({{"NumFatt", "1"}, {"Cliente", "Alfa"}, {"Saldata", "Sì"}, {"Quant16", "4"}}),
                   quote({{"NumFatt", "2"}, {"Cliente", "Beta"}, {"Saldata", "No"}, {"Quant16", "5"}}),
                   quote({{"NumFatt", "3"}, {"Cliente", "Gamma"}, {"Saldata", "altro"}, {"TotFattura", "7,00"}})});
    }
};

TEST_F(QuoteEditorTest, ShownWithTheIssuingCompanyOnACleanUnnumberedQuote)
{
    const std::pair<const char*, const char*> keys[] = {
        {"Nome", "Tecnoservice"}, {"Indirizzo", "Via Roma 1"}, {"CAP", "10100"}, {"Comune", "Torino"},
        {"Provincia", "to"}, {"Partita IVA", "01234567890"}, {"Codice Fiscale", "RSSMRA80A01L219X"},
        {"Campo Libero 1", "Tel. 011"}, {"Campo Libero 2", "info@tecno.it"}, {"Pagamento", "Bonifico"},
        {"Banca Appoggio", "Banca Sabauda"}, {"Iban", "IT60X054"}, {"Aliquota Iva", "22"},
    };
    orv::platform::IniFile ini = settings();
    for (const auto& [k, v] : keys) ini.writeString(u"Ditta Emittente"_qs, QString::fromLatin1(k), QString::fromLatin1(v));
    TfrmPreventivi& e = openEditor();
    EXPECT_EQ(e.txtDitta.text(), u"Tecnoservice"_qs);
    EXPECT_EQ(e.txtProvDitta.text(), u"to"_qs); // as read; only typing tidies it
    EXPECT_EQ(e.txtProvDitta.itemIndex(), -1);
    EXPECT_EQ(e.txtLibero02.text(), u"info@tecno.it"_qs);
    EXPECT_EQ(e.txtIban.text(), u"IT60X054"_qs);
    EXPECT_EQ(e.txtPercIva.text(), u"22"_qs);
    EXPECT_EQ(e.txtNumFatt.text(), QString());
    EXPECT_EQ(e.txtData.text(), QString());
    EXPECT_EQ(e.lblPosizione.text(), QString());
    EXPECT_EQ(e.txtTotImponibile.text(), QString()); // empty, not "0,00"
    EXPECT_EQ(e.row(1).txtImporto.text(), QString());
    EXPECT_EQ(e.shownPage(), 1);
    EXPECT_TRUE(focusIs(e.txtCliente));
    EXPECT_TRUE(e.txtCliente.highlight()->visible());
    EXPECT_EQ(e.panInfo.text(), u"Pronto per archiviare una nuova scheda..."_qs);
    EXPECT_TRUE(e.windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(QFile::exists(programFolder() + u"2026.pre"_qs));
}

TEST_F(QuoteEditorTest, ClosingWritesTheIssuingCompanyBackAndDropsTheQuote)
{
    TfrmPreventivi& e = openEditor();
    e.txtDitta.setText(u"  Nuova Ditta  "_qs);
    e.txtIban.setText(QString());
    e.txtPercIva.setText(u"10"_qs);
    e.txtCliente.setText(u"Rossi"_qs);
    e.row(3).txtDesc.setText(u"Valvola"_qs);
    click(e.cmdEsci);
    EXPECT_FALSE(e.isVisible());
    EXPECT_TRUE(frmAvvio->isVisible());
    EXPECT_TRUE(messages.calls.empty()); // nothing asked, nothing saved
    EXPECT_EQ(settings().readString(u"Ditta Emittente"_qs, u"Nome"_qs, u"?"_qs), u"Nuova Ditta"_qs);
    EXPECT_EQ(settings().readString(u"Ditta Emittente"_qs, u"Iban"_qs, u"?"_qs), QString());
    EXPECT_EQ(settings().readString(u"Ditta Emittente"_qs, u"Aliquota Iva"_qs, u"?"_qs), u"10"_qs);
    EXPECT_EQ(settings().readString(u"Ditta Emittente"_qs, u"Provincia"_qs, u"?"_qs), QString());
    EXPECT_FALSE(QFile::exists(programFolder() + u"2026.pre"_qs));
    // Reopened: the issuing company from the file, the quote gone.
    openEditor();
    EXPECT_EQ(e.txtDitta.text(), u"Nuova Ditta"_qs);
    EXPECT_EQ(e.txtCliente.text(), QString());
    EXPECT_EQ(e.row(3).txtDesc.text(), QString());
}

TEST_F(QuoteEditorTest, ASettingsFileThatCannotBeWrittenIsSaidAndTheEditorClosesAllTheSame)
{
    TfrmPreventivi& e = openEditor();
    QDir(programFolder()).mkdir(u"Orvanta.ini"_qs); // a folder in place of the file
    e.close();
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Error);
    EXPECT_TRUE(messages.last().text.startsWith(
        u"Attenzione: non è stato possibile salvare i dati della Ditta emittente nel file delle impostazioni"_qs));
    EXPECT_TRUE(frmAvvio->isVisible());
    EXPECT_FALSE(e.isVisible());
}

// A full disk and a settings file held by another workstation each say so; the file keeps
// its issuing company as it was, and the editor closes all the same.
TEST_F(QuoteEditorTest, AFullDiskOrAFileInUseIsSaidAsSuchOnClosing)
{
    const QString first = u"Attenzione: non è stato possibile salvare i dati della Ditta emittente nel file delle "
                          u"impostazioni \"Orvanta.ini\".\r\n\r\n"_qs;
    static const orv::platform::IniWriteCalls full{
        [](int, const void*, size_t, off_t) -> ssize_t { errno = ENOSPC; return -1; },
        [](int fd) { return ::fsync(fd); },
    };
    const QString path = programFolder() + u"Orvanta.ini"_qs;
    for (bool diskFull : {true, false}) {
        SCOPED_TRACE(diskFull ? "disk full" : "in use");
        settings().writeString(u"Ditta Emittente"_qs, u"Nome"_qs, u"Vecchia"_qs);
        TfrmPreventivi& e = openEditor();
        e.txtDitta.setText(u"Nuova"_qs);
        messages.calls.clear();
        int holder = -1;
        if (diskFull) {
            orv::platform::setIniWriteCalls(&full);
        } else {
            holder = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
            struct flock fl {};
            fl.l_type = F_WRLCK;
            fl.l_whence = SEEK_SET;
            ASSERT_EQ(::fcntl(holder, F_OFD_SETLK, &fl), 0);
            orv::platform::IniFile::setLockWaitMs(100);
        }
        e.close();
        orv::platform::setIniWriteCalls(nullptr);
        orv::platform::IniFile::setLockWaitMs(10000);
        if (holder >= 0) ::close(holder);
        ASSERT_EQ(messages.calls.size(), 1u);
        EXPECT_EQ(messages.last().kind, MessageCall::Error);
        EXPECT_EQ(messages.last().text,
                  first + (diskFull ? u"Il disco che contiene la cartella di installazione del programma è pieno: "
                                      u"liberare spazio sul disco e riprovare."_qs
                                    : u"Il file delle impostazioni è in uso da un'altra postazione e non è stato "
                                      u"modificato. Riprovare tra qualche istante."_qs));
        EXPECT_EQ(settings().readString(u"Ditta Emittente"_qs, u"Nome"_qs, u"?"_qs), u"Vecchia"_qs);
        EXPECT_FALSE(e.isVisible());
        EXPECT_EQ(QDir(programFolder()).entryList({u"Orvanta.ini*"_qs}, QDir::Files | QDir::Hidden), QStringList{u"Orvanta.ini"_qs});
    }
}

TEST_F(QuoteEditorTest, NewNumbersFromTheStartNumberAndTheQuotesStored)
{
    TfrmPreventivi& e = openEditor();
    e.txtCliente.setText(u"Rossi"_qs);
    e.chkSaldata.setChecked(true);
    e.showPage(4);
    click(e.cmdNuovo);
    EXPECT_EQ(e.txtNumFatt.text(), u"1"_qs); // no settings, no archive
    EXPECT_EQ(e.txtData.text(), u"15/03/2026"_qs);
    EXPECT_EQ(e.txtCliente.text(), QString());
    EXPECT_FALSE(e.chkSaldata.isChecked());
    EXPECT_EQ(e.shownPage(), 1);
    EXPECT_TRUE(focusIs(e.txtCliente));
    EXPECT_EQ(readFile(u"2026.pre"_qs).size(), 0); // created empty
    EXPECT_EQ(e.lblInizio.text(), u"1"_qs);

    QList<TPreventivo> five;
    for (int i = 0; i < 5; ++i) five.append(quote({{"NumFatt", "x"}}));
    writeYear(five);
    orv::platform::IniFile ini = settings();
    ini.writeString(u"Numerazione Preventivi"_qs, u"Inizio"_qs, u"100"_qs);
    const struct {
        const char* yearSwitch;
        const char* number;
    } cases[] = {{"", "105"}, {"Sì", "105/2026"}, {" Sì ", "105/2026"}, {"si", "105"}, {"SI", "105"}, {"Si", "105"}};
    for (const auto& c : cases) {
        ini.writeString(u"Numerazione Preventivi"_qs, u"Indicazione Anno Solare"_qs, QString::fromUtf8(c.yearSwitch));
        click(e.cmdNuovo);
        click(e.cmdNuovo); // twice: the same number
        EXPECT_EQ(e.txtNumFatt.text(), QString::fromUtf8(c.number)) << c.yearSwitch;
    }
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(QuoteEditorTest, NewWithAStartNumberOrAnArchiveThatFails)
{
    TfrmPreventivi& e = openEditor();
    settings().writeString(u"Numerazione Preventivi"_qs, u"Inizio"_qs, u"abc"_qs);
    e.txtCliente.setText(u"Rossi"_qs);
    click(e.cmdNuovo);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Error);
    EXPECT_EQ(messages.last().text, kAccess);
    EXPECT_EQ(e.txtCliente.text(), QString()); // cleared before the number failed
    EXPECT_EQ(e.txtNumFatt.text(), QString());
    EXPECT_EQ(e.txtData.text(), QString());

    messages.clear();
    settings().writeString(u"Numerazione Preventivi"_qs, u"Inizio"_qs, u"1"_qs);
    ASSERT_TRUE(QFile::remove(programFolder() + u"2026.pre"_qs)); // created by the New above
    ASSERT_TRUE(QDir(programFolder()).mkdir(u"2026.pre"_qs));
    e.txtCliente.setText(u"Rossi"_qs);
    click(e.cmdNuovo);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Error);
    EXPECT_EQ(e.txtCliente.text(), u"Rossi"_qs); // the archive failed first: nothing cleared
}

TEST_F(QuoteEditorTest, SaveChecksInOrderAfterCalculating)
{
    TfrmPreventivi& e = openEditor();
    e.row(1).txtQuant.setText(u"2"_qs);
    e.row(1).txtPrezzo.setText(u"5"_qs);
    const struct {
        const char* customer;
        const char* number;
        const char* date;
        const char* message;
        Control* focus;
    } cases[] = {
        {"", "", "", "Attenzione: per salvare la scheda è necessario indicare il nome o la ragione sociale del cliente.",
         &e.txtCliente},
        {"Rossi", "  ", "", "Attenzione: per salvare la scheda è necessario indicare il numero del preventivo.",
         &e.txtNumFatt},
        {"Rossi", "1", "  ", "Attenzione: per salvare la scheda è necessario indicare la data del preventivo.",
         &e.txtData},
        {"Rossi", "1", "31/02/2024",
         "Attenzione: la data indicata non esiste.\n\r\n\rPer poter salvare la scheda è necessario indicare una data "
         "valida nel formato gg/mm/anno.",
         &e.txtData},
    };
    for (const auto& c : cases) {
        e.txtCliente.setText(QString::fromUtf8(c.customer));
        e.txtNumFatt.setText(QString::fromUtf8(c.number));
        e.txtData.setText(QString::fromUtf8(c.date));
        e.txtTotFattura.setText(QString());
        click(e.cmdSalva);
        ASSERT_EQ(messages.calls.size(), 1u) << c.message;
        EXPECT_EQ(messages.last().kind, MessageCall::Warning);
        EXPECT_EQ(messages.last().buttons, mbOk | mbCancel);
        EXPECT_EQ(messages.last().text, QString::fromUtf8(c.message));
        EXPECT_TRUE(focusIs(*c.focus)) << c.message;
        EXPECT_EQ(e.txtTotFattura.text(), u"10,00"_qs); // calculated all the same
        messages.clear();
    }
    EXPECT_FALSE(QFile::exists(programFolder() + u"2026.pre"_qs));
    EXPECT_EQ(e.lblPosizione.text(), QString());
}

TEST_F(QuoteEditorTest, SaveAppendsThenOverwritesTheQuoteAsShown)
{
    QList<TPreventivo> seven;
    for (int i = 1; i <= 7; ++i) seven.append(quote({{"NumFatt", "n"}, {"Cliente", "Altri"}}));
    writeYear(seven);
    TfrmPreventivi& e = openEditor();
    click(e.cmdNuovo);
    EXPECT_EQ(e.txtNumFatt.text(), u"8"_qs);
    e.txtCliente.setText(u"  Rossi Mario  "_qs);
    e.txtRiferimenti.setText(QString(60, u'r')); // put there by another window: cut to 50
    e.chkSaldata.setChecked(true);
    e.row(30).txtQuant.setText(u"3"_qs);
    e.row(30).txtPrezzo.setText(u"1,99"_qs);
    e.row(30).txtPercSconto.setText(u"10"_qs);
    e.row(2).txtPrezzo.setText(u"50"_qs);
    e.row(2).chkEs.setChecked(true);
    e.txtPercIva.setText(u"22"_qs);
    TfrmPreventivi& same = *frmPreventivi;
    same.control<Label>(u"memImmatricolazione"_qs).setText(u"Franco"_qs);
    click(e.cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList({kAppended}));
    EXPECT_EQ(messages.calls.empty(), true);
    EXPECT_EQ(e.lblPosizione.text(), u"8"_qs);
    QList<TPreventivo> stored = readYear();
    ASSERT_EQ(stored.size(), 8);
    const TPreventivo& p = stored[7];
    EXPECT_EQ(p[u"NumFatt"_qs], u"8"_qs);
    EXPECT_EQ(p[u"Data"_qs], u"15/03/2026"_qs);
    EXPECT_EQ(p[u"Cliente"_qs], u"Rossi Mario"_qs);
    EXPECT_EQ(p[u"Riferimenti"_qs], QString(50, u'r'));
    EXPECT_EQ(p[u"Porto"_qs], u"Franco"_qs);
    EXPECT_EQ(p[u"Importo30"_qs], u"5,373"_qs);
    EXPECT_EQ(p[u"Quant02"_qs], u"1"_qs);
    EXPECT_EQ(p[u"Importo02"_qs], u"50,00"_qs);
    EXPECT_EQ(p[u"TotFattura"_qs], u"56,56"_qs);
    EXPECT_EQ(readFile(u"2026.pre"_qs).mid(7 * 4886 + 4883, 3), QByteArray("\x02S\xec"));
    EXPECT_EQ(readFile(u"2026.pre"_qs).mid(7 * 4886 + 4476, 3), QByteArray("\x02No"));

    e.txtNote.setText(u"Seconda versione"_qs);
    click(e.cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList({kSaved}));
    EXPECT_EQ(e.lblPosizione.text(), u"8"_qs);
    stored = readYear();
    ASSERT_EQ(stored.size(), 8);
    EXPECT_EQ(stored[7][u"Note"_qs], u"Seconda versione"_qs);
    EXPECT_EQ(stored[6][u"Cliente"_qs], u"Altri"_qs);
}

TEST_F(QuoteEditorTest, SaveTidiesTheNumberStillBeingTyped)
{
    TfrmPreventivi& e = openEditor();
    e.txtCliente.setText(u"Rossi"_qs);
    e.txtNumFatt.setText(u"1"_qs);
    e.txtData.setText(u"01/03/2026"_qs);
    e.row(1).txtQuant.setFocus();
    type(e.row(1).txtQuant, u"2"_qs);
    e.row(1).txtPrezzo.setFocus();
    type(e.row(1).txtPrezzo, u"12,5"_qs); // Save is a picture: the price keeps the focus
    click(e.cmdSalva);
    EXPECT_TRUE(focusIs(e.row(1).txtPrezzo));
    EXPECT_EQ(e.row(1).txtPrezzo.text(), u"12,50"_qs);
    EXPECT_EQ(readYear().at(0)[u"Prezzo01"_qs], u"12,50"_qs);
    EXPECT_EQ(readYear().at(0)[u"TotFattura"_qs], u"25,00"_qs);
}

TEST_F(QuoteEditorTest, SaveThatCannotReachTheArchiveLeavesTheQuoteNew)
{
    QDir(programFolder()).mkdir(u"2026.pre"_qs);
    TfrmPreventivi& e = openEditor();
    e.txtCliente.setText(u"Rossi"_qs);
    e.txtNumFatt.setText(u"1"_qs);
    e.txtData.setText(u"1/2/2024"_qs);
    click(e.cmdSalva);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Warning);
    EXPECT_EQ(messages.last().text, kAccess);
    EXPECT_EQ(e.lblPosizione.text(), QString());
}

TEST_F(QuoteEditorTest, NavigationInEveryStateOfTheEditorAndTheArchive)
{
    writeThree();
    TfrmPreventivi& e = openEditor();
    const struct {
        const char* start; // the position before the command
        const char* command;
        const char* position;
        const char* customer; // "" when the editor stays as it was
    } cases[] = {
        {"", "cmdPrimo", "1", "Alfa"},  {"", "cmdIndietro", "1", "Alfa"},
        {"", "cmdAvanti", "1", "Alfa"}, {"", "cmdUltimo", "3", "Gamma"},
        {"2", "cmdIndietro", "1", "Alfa"}, {"2", "cmdAvanti", "3", "Gamma"},
        {"1", "cmdIndietro", "1", ""},  {"3", "cmdAvanti", "3", ""},
        {"1", "cmdPrimo", "1", "Alfa"}, {"3", "cmdUltimo", "3", "Gamma"},
    };
    for (const auto& c : cases) {
        e.lblPosizione.setText(QString::fromLatin1(c.start));
        e.txtCliente.setText(u"(sullo schermo)"_qs);
        click(e.control<Image>(QString::fromLatin1(c.command)));
        EXPECT_EQ(e.lblPosizione.text(), QString::fromLatin1(c.position)) << c.start;
        EXPECT_EQ(e.txtCliente.text(), *c.customer ? QString::fromUtf8(c.customer) : u"(sullo schermo)"_qs) << c.start;
    }
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(QuoteEditorTest, LoadingKeepsThePageAndTheFocusAndShowsWhatIsStored)
{
    writeThree();
    TfrmPreventivi& e = openEditor();
    e.showPage(4);
    EXPECT_TRUE(focusIs(e.row(16).txtQuant));
    e.chkSaldata.setChecked(false);
    click(e.cmdPrimo);
    EXPECT_EQ(e.shownPage(), 4);
    EXPECT_TRUE(focusIs(e.row(16).txtQuant));
    EXPECT_EQ(e.row(16).txtQuant.text(), u"4"_qs);
    EXPECT_TRUE(e.chkSaldata.isChecked()); // "Sì"
    click(e.cmdAvanti);
    EXPECT_FALSE(e.chkSaldata.isChecked()); // "No"
    e.chkSaldata.setChecked(true);
    click(e.cmdAvanti);
    EXPECT_TRUE(e.chkSaldata.isChecked()); // neither word: the box as it was
    EXPECT_EQ(e.txtTotFattura.text(), u"7,00"_qs); // as stored, nothing computed
    EXPECT_EQ(e.txtTotImponibile.text(), QString());
}

TEST_F(QuoteEditorTest, AnEmptyOrMissingArchiveAndOneThatCannotBeOpened)
{
    TfrmPreventivi& e = openEditor();
    for (Image* command : {&e.cmdPrimo, &e.cmdIndietro, &e.cmdAvanti, &e.cmdUltimo}) {
        click(*command);
        ASSERT_EQ(messages.calls.size(), 1u);
        EXPECT_EQ(messages.last().kind, MessageCall::Information);
        EXPECT_EQ(messages.last().text, kEmpty);
        messages.clear();
        EXPECT_EQ(e.lblPosizione.text(), QString());
    }
    EXPECT_EQ(readFile(u"2026.pre"_qs).size(), 0);

    QFile::remove(programFolder() + u"2026.pre"_qs);
    QDir(programFolder()).mkdir(u"2026.pre"_qs);
    const std::pair<Image*, MessageCall::Kind> kinds[] = {{&e.cmdPrimo, MessageCall::Warning},
                                                          {&e.cmdIndietro, MessageCall::Error},
                                                          {&e.cmdAvanti, MessageCall::Error},
                                                          {&e.cmdUltimo, MessageCall::Error}};
    for (const auto& [command, kind] : kinds) {
        click(*command);
        ASSERT_EQ(messages.calls.size(), 1u);
        EXPECT_EQ(messages.last().kind, kind);
        EXPECT_EQ(messages.last().text, kAccess);
        messages.clear();
    }
}

TEST_F(QuoteEditorTest, CalculateThroughItsButton)
{
    TfrmPreventivi& e = openEditor();
    e.row(1).txtQuant.setText(u"3"_qs);
    e.row(1).txtPrezzo.setText(u"1,99"_qs);
    e.row(1).txtPercSconto.setText(u"10"_qs);
    e.row(2).txtQuant.setText(u"2"_qs);
    e.row(2).txtPrezzo.setText(u"50"_qs);
    e.row(2).chkEs.setChecked(true);
    e.txtPercIva.setText(QString());
    e.row(1).txtQuant.setFocus();
    click(e.cmdCalcola);
    EXPECT_EQ(e.row(1).txtImporto.text(), u"5,373"_qs);
    EXPECT_EQ(e.row(2).txtImporto.text(), u"100,00"_qs);
    EXPECT_EQ(e.txtPercIva.text(), u"0"_qs);
    const QStringList totals = {e.txtTotImponibile.text(), e.txtTotImposta.text(), e.txtTotIva.text(),
                                e.txtTotEsente.text(), e.txtTotFattura.text()};
    EXPECT_EQ(totals, QStringList({"5,37", "0,00", "5,37", "100,00", "105,37"}));
    EXPECT_EQ(e.panInfo.text(), u"Pronto per archiviare una nuova scheda..."_qs);
    hover(e.cmdCalcola);
    EXPECT_EQ(e.panInfo.text(), u"Effettua il calcolo dei totali."_qs);
}

} // namespace
