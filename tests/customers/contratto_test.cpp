// The contract window through its real controls: keys and clicks as a user gives them.
#include "contract_fixture.h"

#include "kit/dialogs/allegacartella.h"
#include "shell/avvio.h"
#include "kit/dialogs/checkers.h"
#include "kit/dialogs/guida.h"
#include "kit/dialogs/numerazione.h"
#include "kit/provinces.h"
#include "customers/trovaclienti.h"
#include "platform/core/inifile.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>

using namespace orv::customers;
using namespace orv::kit;
using namespace orv::platform::ui;
using namespace orv::shell;

using namespace orv::platform::ui;
using orv::test::card;
using orv::test::contract;
using orv::test::ContractWindowTest;
using orv::test::MessageCall;

namespace {

const QString kContractAppended = u"La scheda corrente è stata inserita in archivio."_qs;
const QString kContractSaved = u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_qs;
const QString kContractEmpty = u"L'archivio non contiene nessuna scheda."_qs;
const QString kContractAccess = u"Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere "
                        u"i privilegi di scrittura nella cartella di installazione del programma."_qs;
const QString kSection = u"Ditta Manutentrice"_qs;

// The 42 value controls in the order of the Enter chain, with their maximum lengths.
const struct {
    const char* name;
    int maxLength;
} kChain[] = {
    {"txtDitta", 50},         {"txtPartitaIva", 11},    {"txtCodFisc", 16},      {"txtSede", 50},
    {"txtProvRes", 2},        {"txtCapRes", 5},         {"txtVia", 120},         {"txtTelUff", 30},
    {"txtTelCel", 30},        {"txtFax", 30},           {"txtNumContratto", 30}, {"txtData", 10},
    {"txtLuogo", 50},         {"txtCliente", 50},       {"txtComuneCli", 50},    {"txtProvCli", 2},
    {"txtCapCli", 5},         {"txtPartitaIvaCli", 11}, {"txtCodFiscCli", 16},   {"txtViaCli", 120},
    {"txtTelCli", 30},        {"txtQualitaCli", 30},    {"txtTipoImpianto", 50}, {"txtMarca", 50},
    {"txtMatricola", 50},     {"txtAlimentazione", 50}, {"txtAnnoCostruz", 30},  {"txtCaratteristiche", 250},
    {"txtUbicazione", 120},   {"txtDurata", 30},        {"txtTotale", 15},       {"txtPeriodicita", 30},
    {"txtImpCanone", 15},     {"txtPagamento", 50},     {"txtOpInc01", 120},     {"txtOpInc02", 120},
    {"txtOpInc03", 120},      {"txtOpInc04", 120},      {"txtOpEsc01", 120},     {"txtOpEsc02", 120},
    {"txtOpEsc03", 120},      {"txtOpEsc04", 120},
};

const TContratto kOld = contract({{&TContratto::NumContratto, "7"},
                                  {&TContratto::Data, "01/02/2020"},
                                  {&TContratto::Luogo, "Cuneo"},
                                  {&TContratto::Ditta, "Vecchia Ditta"},
                                  {&TContratto::PartitaIva, "11111111111"},
                                  {&TContratto::Sede, "Cuneo"},
                                  {&TContratto::ProvRes, "CN"},
                                  {&TContratto::TelCel, "333 1"},
                                  {&TContratto::Cliente, "Rossi Mario"},
                                  {&TContratto::Marca, "Caldex"},
                                  {&TContratto::Totale, "240,00"},
                                  {&TContratto::OpEsc04, "Notturni"},
                                  {&TContratto::File01, "firmato.pdf"},
                                  {&TContratto::Desc01, "Firmato"}});
const TContratto kContractBianchi = contract({{&TContratto::NumContratto, "8"}, {&TContratto::Data, "02/02/2021"},
                                      {&TContratto::Ditta, "Ditta"}, {&TContratto::Cliente, "Bianchi Anna"}});
const TContratto kContractVerdi = contract({{&TContratto::NumContratto, "9"}, {&TContratto::Data, "03/03/2022"},
                                    {&TContratto::Ditta, "Ditta"}, {&TContratto::Cliente, "Verdi Luca"}});

class ContractTest : public ContractWindowTest {
protected:
    orv::platform::IniFile settings() const { return orv::platform::IniFile(orv::platform::programFile(u"Orvanta.ini"_qs)); }
    // Shows the window again, as the main menu does.
    void reopen()
    {
        window().hide();
        showAndActivate(window());
    }
    // A contract that passes the Save checks.
    void fillRequired()
    {
        typeInto(window().txtDitta, u"Termoservice"_qs);
        typeInto(window().txtCliente, u"Rossi"_qs);
        typeInto(window().txtNumContratto, u"1"_qs);
    }
};

TEST_F(ContractTest, WindowLayoutAsDesigned)
{
    TfrmContratto& w = window();
    EXPECT_EQ(w.caption(), u" Orvanta 4.0 - Gestione contratti di manutenzione programmata"_qs);
    EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
    for (const auto& c : kChain) {
        Control* control = w.findControl(QString::fromLatin1(c.name));
        ASSERT_TRUE(control) << c.name;
        EXPECT_TRUE(control->highlight()) << c.name;
        EXPECT_EQ(control->highlight()->name(), u"eff"_qs + QString::fromLatin1(c.name).mid(3));
        if (auto* e = dynamic_cast<Edit*>(control)) {
            EXPECT_EQ(e->maxLength(), c.maxLength) << c.name;
            EXPECT_EQ(e->lineEdit()->font().family(), u"Verdana"_qs);
            EXPECT_TRUE(e->lineEdit()->font().bold());
        } else {
            EXPECT_EQ(dynamic_cast<ComboEdit&>(*control).maxLength(), c.maxLength) << c.name;
        }
    }
    EXPECT_EQ(w.txtNumContratto.lineEdit()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(w.txtTotale.lineEdit()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(w.txtImpCanone.lineEdit()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(w.txtProvRes.items(), orv::kit::provinceCodes());
    EXPECT_EQ(w.txtProvCli.items().size(), 112);
    EXPECT_EQ(w.txtProvCli.items().value(111), u"VV"_qs);
    EXPECT_EQ(w.txtQualitaCli.items(),
              QStringList({u"Proprietario"_qs, u"Utente non proprietario"_qs, u"Legale rappresentante"_qs}));
    EXPECT_EQ(w.txtPeriodicita.items(), QStringList({u"Mensile"_qs, u"Bimestrale"_qs, u"Trimestrale"_qs,
                                                     u"Semestrale"_qs, u"Annuale"_qs, u"Biennale"_qs}));
    EXPECT_EQ(w.control<Label>(u"lblCliente"_qs).text(), u"Cognome e nome o ragione sociale Utente:"_qs);
    EXPECT_EQ(w.control<Label>(u"lblOpEsc"_qs).text(), u"OPERAZIONI ESCLUSE DALLA QUOTA DI CONTRATTO:"_qs);
    EXPECT_EQ(w.control<Label>(u"lblNumEsc04"_qs).text(), u"4."_qs);
    EXPECT_EQ(w.panInfo.text(), u"Pronto per stampare una nuova tessera..."_qs);
    EXPECT_EQ(w.lblInizio.text(), u"1"_qs);
    for (Label* hidden : {&w.lblFile01, &w.lblFile02, &w.lblFile03, &w.lblDesc01, &w.lblDesc02, &w.lblDesc03, &w.lblInizio})
        EXPECT_FALSE(hidden->visible()) << hidden->name().toStdString();
    for (Image* cmd : {&w.cmdNuovo, &w.cmdStampa, &w.cmdPrimo, &w.cmdEsci, &w.cmdLogo, &w.btnData, &w.btnCodFiscCli})
        EXPECT_EQ(cmd->widget()->focusPolicy(), Qt::NoFocus) << cmd->name().toStdString();
    // The command bar, left to right.
    QStringList bar;
    for (const char* name : {"cmdNuovo", "cmdDuplica", "cmdSalva", "cmdTrova", "cmdImporta", "cmdAnteprima",
                             "cmdStampa", "cmdPDF", "cmdAllega", "cmdPrimo", "cmdIndietro", "lblPosizione",
                             "cmdAvanti", "cmdUltimo", "cmdNumerazione", "cmdEsporta", "cmdGuida", "cmdEsci"}) {
        Control* c = w.findControl(QString::fromLatin1(name));
        if (!bar.isEmpty()) { EXPECT_GT(c->left(), w.findControl(bar.last())->left()) << name; }
        bar << QString::fromLatin1(name);
    }
    EXPECT_GT(w.cmdStampa.width(), w.cmdSalva.width());
}

TEST_F(ContractTest, ShowingOpensANewContractWithTheMaintainerOfTheSettings)
{
    const std::pair<const char*, const char*> keys[] = {
        {"Denominazione", "Termoservice S.n.c."}, {"Partita Iva", "01234567890"}, {"Codice Fiscale", "RSSMRA80A01L219X"},
        {"Sede Legale", "Torino"},               {"Provincia", "TO"},            {"CAP", "10100"},
        {"Indirizzo", "Corso Francia 10"},       {"Telefono Ufficio", "011 1"},  {"Telefono Cellulare", "333 2"},
        {"Fax", "011 3"},                        {"Luogo Stipula", "Torino"},
    };
    for (const auto& [key, value] : keys) settings().writeString(kSection, QString::fromLatin1(key), QString::fromUtf8(value));
    settings().writeString(u"Numerazione Contratti"_qs, u"Inizio"_qs, u"50"_qs);
    writeContracts({kOld});
    click(window().cmdPrimo);
    reopen();

    TfrmContratto& w = window();
    const std::pair<Control*, const char*> shown[] = {
        {&w.txtDitta, "Termoservice S.n.c."}, {&w.txtPartitaIva, "01234567890"}, {&w.txtCodFisc, "RSSMRA80A01L219X"},
        {&w.txtSede, "Torino"},               {&w.txtProvRes, "TO"},            {&w.txtCapRes, "10100"},
        {&w.txtVia, "Corso Francia 10"},      {&w.txtTelUff, "011 1"},          {&w.txtTelCel, "333 2"},
        {&w.txtFax, "011 3"},                 {&w.txtLuogo, "Torino"},          {&w.txtNumContratto, ""},
        {&w.txtData, "15/03/2026"},           {&w.txtCliente, ""},              {&w.txtMarca, ""},
        {&w.txtTotale, "0,00"},               {&w.txtImpCanone, "0,00"},        {&w.txtOpEsc04, ""},
        {&w.lblFile01, ""},                   {&w.lblDesc01, ""},               {&w.lblPosizione, ""},
    };
    for (const auto& [control, value] : shown)
        EXPECT_EQ(orv::kit::controlText(*control), QString::fromUtf8(value)) << control->name().toStdString();
    EXPECT_TRUE(messages.calls.empty());

    // With no settings file at all the maintainer is empty.
    QFile::remove(orv::platform::programFile(u"Orvanta.ini"_qs));
    reopen();
    EXPECT_EQ(w.txtDitta.text(), QString());
    EXPECT_EQ(w.txtLuogo.text(), QString());
}

TEST_F(ContractTest, ClosingKeepsTheMaintainerOnScreenForTheNextOpening)
{
    writeContracts({kOld});
    click(window().cmdPrimo);
    typeInto(window().txtFax, u"  011 9  "_qs);
    typeInto(window().txtCliente, u"non salvato"_qs);
    click(window().cmdEsci);
    EXPECT_FALSE(window().isVisible());
    EXPECT_TRUE(frmAvvio->isVisible());
    EXPECT_TRUE(messages.calls.empty());
    const orv::platform::IniFile ini = settings();
    EXPECT_EQ(ini.readString(kSection, u"Denominazione"_qs, u"?"_qs), u"Vecchia Ditta"_qs);
    EXPECT_EQ(ini.readString(kSection, u"Partita Iva"_qs, u"?"_qs), u"11111111111"_qs);
    EXPECT_EQ(ini.readString(kSection, u"Provincia"_qs, u"?"_qs), u"CN"_qs);
    EXPECT_EQ(ini.readString(kSection, u"Fax"_qs, u"?"_qs), u"011 9"_qs);
    EXPECT_EQ(ini.readString(kSection, u"Indirizzo"_qs, u"?"_qs), QString());
    EXPECT_EQ(ini.readString(kSection, u"Luogo Stipula"_qs, u"?"_qs), u"Cuneo"_qs);
    EXPECT_EQ(contractBytes(), kOld.encode()); // nothing saved to the archive

    frmAvvio->hide();
    showAndActivate(window());
    EXPECT_EQ(window().txtDitta.text(), u"Vecchia Ditta"_qs);
    EXPECT_EQ(window().txtTelCel.text(), u"333 1"_qs);
    EXPECT_EQ(window().txtCliente.text(), QString());
    window().close(); // the frame's close does the same
    EXPECT_TRUE(frmAvvio->isVisible());
}

TEST_F(ContractTest, ASettingsFileThatCannotBeWrittenIsReportedAndTheWindowClosesAllTheSame)
{
    ASSERT_TRUE(QDir(programFolder()).mkdir(u"Orvanta.ini"_qs));
    typeInto(window().txtDitta, u"Termoservice"_qs);
    click(window().cmdEsci);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Error);
    EXPECT_EQ(messages.last().text, u"Attenzione: non è stato possibile salvare i dati della Ditta manutentrice nel file "
                                    u"delle impostazioni \"Orvanta.ini\".\r\n\r\nAccertarsi di possedere i privilegi di "
                                    u"scrittura nella cartella di installazione del programma."_qs);
    EXPECT_FALSE(window().isVisible());
    EXPECT_TRUE(frmAvvio->isVisible());
}

TEST_F(ContractTest, NewNumbersFromTheStartNumberAndKeepsTheMaintainerOnScreen)
{
    writeContracts({kOld, kContractBianchi, kContractVerdi});
    click(window().cmdPrimo);
    window().txtLuogo.setFocus();
    click(window().cmdNuovo);
    TfrmContratto& w = window();
    EXPECT_EQ(w.txtNumContratto.text(), u"4"_qs);
    EXPECT_EQ(w.txtDitta.text(), u"Vecchia Ditta"_qs); // the maintainer of the contract shown, not of the settings
    EXPECT_EQ(w.txtProvRes.text(), u"CN"_qs);
    EXPECT_EQ(w.txtLuogo.text(), u"Cuneo"_qs);
    EXPECT_EQ(w.txtCliente.text(), QString());
    EXPECT_EQ(w.txtOpEsc04.text(), QString());
    EXPECT_EQ(w.txtTotale.text(), u"0,00"_qs);
    EXPECT_EQ(w.txtData.text(), u"15/03/2026"_qs);
    EXPECT_EQ(w.lblFile01.text(), QString());
    EXPECT_EQ(w.lblPosizione.text(), QString());
    EXPECT_TRUE(focusIs(w.txtCliente));
    EXPECT_TRUE(messages.calls.empty());

    // The start number is read afresh at every New.
    settings().writeString(u"Numerazione Contratti"_qs, u"Inizio"_qs, u"100"_qs);
    click(w.cmdNuovo);
    EXPECT_EQ(w.txtNumContratto.text(), u"103"_qs);
    EXPECT_EQ(w.lblInizio.text(), u"100"_qs);

    // A start number that is not a whole number: the card is blank, the number as it was.
    typeInto(w.txtCliente, u"Neri"_qs);
    settings().writeString(u"Numerazione Contratti"_qs, u"Inizio"_qs, u"12,6"_qs);
    click(w.cmdNuovo);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Error);
    EXPECT_EQ(messages.last().text, kContractAccess);
    EXPECT_EQ(w.txtCliente.text(), QString());
    EXPECT_EQ(w.txtNumContratto.text(), u"103"_qs);
    messages.clear();

    // An archive that cannot be opened: nothing on screen changes.
    settings().writeString(u"Numerazione Contratti"_qs, u"Inizio"_qs, QString());
    typeInto(w.txtCliente, u"Neri"_qs);
    QFile::remove(orv::platform::programFile(TContratto::kFileName));
    ASSERT_TRUE(QDir(programFolder()).mkdir(TContratto::kFileName));
    click(w.cmdNuovo);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Error);
    EXPECT_EQ(w.txtCliente.text(), u"Neri"_qs);
    EXPECT_EQ(w.lblInizio.text(), u"1"_qs);
}

TEST_F(ContractTest, SaveChecksInTurnThenAppendsAndOverwrites)
{
    TfrmContratto& w = window();
    const struct {
        Control* fill; // filled before the next Save
        const char* value;
        const char* warning;
        Control* focus;
    } checks[] = {
        {nullptr, "", "Attenzione: per salvare la scheda è necessario indicare la denominazione della Ditta manutentrice.",
         &w.txtDitta},
        {&w.txtDitta, "  Termoservice ",
         "Attenzione: per salvare la scheda è necessario indicare il nome o la ragione sociale dell'Utente.", &w.txtCliente},
        {&w.txtCliente, "Rossi Mario",
         "Attenzione: per salvare la scheda è necessario indicare il numero progressivo del contratto.", &w.txtNumContratto},
        {&w.txtNumContratto, "1", "Attenzione: per salvare la scheda è necessario indicare la data di stipula del contratto.",
         &w.txtData},
        {&w.txtData, "31/02/2026",
         "Attenzione: la data indicata non esiste.\n\r\n\rPer poter salvare la scheda è necessario indicare una data "
         "valida nel formato gg/mm/anno.",
         &w.txtData},
    };
    w.txtData.setText(QString());
    for (const auto& c : checks) {
        if (c.fill) typeInto(*c.fill, QString::fromUtf8(c.value));
        w.txtPagamento.setFocus();
        click(w.cmdSalva);
        ASSERT_EQ(messages.calls.size(), 1u) << c.warning;
        EXPECT_EQ(messages.last().kind, MessageCall::Warning);
        EXPECT_EQ(messages.last().text, QString::fromUtf8(c.warning));
        EXPECT_EQ(messages.last().buttons, unsigned(mbOk | mbCancel));
        EXPECT_TRUE(focusIs(*c.focus)) << c.warning;
        EXPECT_FALSE(QFile::exists(orv::platform::programFile(TContratto::kFileName)));
        messages.clear();
    }

    // A valid date; an amount typed but never left is stored as typed; a value longer than
    // its field (as the customer finder may bring) keeps its first characters.
    click(w.btnData);
    w.txtTotale.setFocus();
    w.txtTotale.selectAll();
    keys(w, u"12,5"_qs);
    w.txtPagamento.setText(QString(60, u'x'));
    click(w.cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList{kContractAppended});
    EXPECT_EQ(w.lblPosizione.text(), u"1"_qs);
    QByteArray bytes = contractBytes();
    ASSERT_EQ(bytes.size(), 3996);
    TContratto stored = TContratto::decode(bytes);
    EXPECT_EQ(stored.Ditta, u"Termoservice"_qs);
    EXPECT_EQ(stored.Data, u"15/03/2026"_qs);
    EXPECT_EQ(stored.Totale, u"12,5"_qs);
    EXPECT_EQ(stored.ImpCanone, u"0,00"_qs);
    EXPECT_EQ(stored.Pagamento, QString(50, u'x'));
    EXPECT_EQ(bytes.mid(93, 13), QByteArray("\x0CTermoservice"));

    // A second contract goes behind it; changing the first rewrites only its bytes.
    click(w.cmdNuovo);
    typeInto(w.txtCliente, u"Bianchi"_qs);
    click(w.cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList{kContractAppended});
    EXPECT_EQ(w.lblPosizione.text(), u"2"_qs);
    const QByteArray second = contractBytes().mid(3996);
    EXPECT_EQ(TContratto::decode(second).NumContratto, u"2"_qs);
    click(w.cmdPrimo);
    typeInto(w.txtOpInc01, u"Pulizia"_qs);
    click(w.cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList{kContractSaved});
    EXPECT_EQ(w.lblPosizione.text(), u"1"_qs);
    bytes = contractBytes();
    ASSERT_EQ(bytes.size(), 2 * 3996);
    EXPECT_EQ(TContratto::decode(bytes.left(3996)).OpInc01, u"Pulizia"_qs);
    EXPECT_EQ(bytes.mid(3996), second);
}

TEST_F(ContractTest, DuplicateRenewsAStoredContractKeepingItsAttachments)
{
    TfrmContratto& w = window();
    click(w.cmdDuplica);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Warning);
    EXPECT_EQ(messages.last().text, u"Attenzione: questa funzione serve a duplicare un contratto che è già stato salvato "
                                    u"in archivio.\n\r\n\rVisualizzare il contratto da duplicare e fare clic sul "
                                    u"pulsante Duplica."_qs);
    messages.clear();

    writeContracts({kContractBianchi, kOld});
    click(w.cmdUltimo);
    w.txtPagamento.setFocus();
    click(w.cmdDuplica);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Information);
    EXPECT_EQ(messages.last().text, u"E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\rAl "
                                    u"termine premere Salva per inserire in archivio il nuovo contratto."_qs);
    messages.clear();
    EXPECT_EQ(w.lblPosizione.text(), QString());
    EXPECT_EQ(w.txtNumContratto.text(), QString());
    EXPECT_EQ(w.txtData.text(), u"15/03/2026"_qs);
    EXPECT_EQ(w.txtCliente.text(), u"Rossi Mario"_qs);
    EXPECT_EQ(w.lblFile01.text(), u"firmato.pdf"_qs);
    EXPECT_TRUE(focusIs(w.txtCliente));

    click(w.cmdSalva); // the number must be typed again
    EXPECT_EQ(messages.last().text,
              u"Attenzione: per salvare la scheda è necessario indicare il numero progressivo del contratto."_qs);
    messages.clear();
    typeInto(w.txtNumContratto, u"10"_qs);
    click(w.cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList{kContractAppended});
    EXPECT_EQ(w.lblPosizione.text(), u"3"_qs);
    TContratto renewed = kOld;
    renewed.NumContratto = u"10"_qs;
    renewed.Data = u"15/03/2026"_qs;
    EXPECT_EQ(TContratto::decode(contractBytes().mid(2 * 3996)).values(), renewed.values());
    EXPECT_EQ(contractBytes().mid(3996, 3996), kOld.encode());
}

// Every case of the navigation table: the starting contract, the command, where it lands.
TEST_F(ContractTest, NavigationInEachCase)
{
    enum Start { NewCard, First, Last };
    const struct {
        int records;
        Start start;
        const char* command;
        const char* position; // afterwards
        bool emptyMessage;
    } cases[] = {
        {0, NewCard, "cmdPrimo", "", true},    {0, NewCard, "cmdUltimo", "", true},
        {0, NewCard, "cmdAvanti", "", true},   {0, NewCard, "cmdIndietro", "", true},
        {3, NewCard, "cmdPrimo", "1", false},  {3, NewCard, "cmdUltimo", "3", false},
        {3, NewCard, "cmdAvanti", "1", false}, {3, NewCard, "cmdIndietro", "1", false},
        {3, First, "cmdIndietro", "1", false}, {3, First, "cmdAvanti", "2", false},
        {3, Last, "cmdAvanti", "3", false},    {3, Last, "cmdIndietro", "2", false},
    };
    const TContratto contracts[] = {kOld, kContractBianchi, kContractVerdi};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.command) + " from " + std::to_string(c.start) + " of " + std::to_string(c.records));
        QFile::remove(orv::platform::programFile(TContratto::kFileName));
        writeContracts(QList<TContratto>(contracts, contracts + c.records));
        click(window().cmdNuovo);
        if (c.start == First) click(window().cmdPrimo);
        if (c.start == Last) click(window().cmdUltimo);
        messages.clear();
        click(*window().findControl(QString::fromLatin1(c.command)));
        EXPECT_EQ(window().lblPosizione.text(), QString::fromLatin1(c.position));
        if (c.emptyMessage) {
            EXPECT_EQ(takeTexts(), QStringList{kContractEmpty});
        } else {
            EXPECT_TRUE(messages.calls.empty());
        }
        const QString pos = window().lblPosizione.text();
        if (!pos.isEmpty()) { EXPECT_EQ(window().txtCliente.text(), contracts[pos.toInt() - 1].Cliente); }
    }
    // Loading replaces every value on screen, the hidden ones included.
    click(window().cmdPrimo);
    EXPECT_EQ(window().txtOpEsc04.text(), u"Notturni"_qs);
    EXPECT_EQ(window().lblDesc01.text(), u"Firmato"_qs);
    click(window().cmdAvanti);
    EXPECT_EQ(window().txtOpEsc04.text(), QString());
    EXPECT_EQ(window().lblDesc01.text(), QString());
    EXPECT_EQ(window().txtDitta.text(), u"Ditta"_qs);
}

TEST_F(ContractTest, ArchiveFailuresShowTheAccessMessageInTheKindOfEachCommand)
{
    ASSERT_TRUE(QDir(programFolder()).mkdir(TContratto::kFileName)); // a folder where the archive belongs
    TfrmContratto& w = window();
    fillRequired();
    const std::pair<Control*, MessageCall::Kind> commands[] = {
        {&w.cmdPrimo, MessageCall::Warning}, {&w.cmdIndietro, MessageCall::Error}, {&w.cmdAvanti, MessageCall::Error},
        {&w.cmdUltimo, MessageCall::Error},  {&w.cmdNuovo, MessageCall::Error},    {&w.cmdSalva, MessageCall::Warning},
    };
    for (const auto& [command, kind] : commands) {
        click(*command);
        ASSERT_EQ(messages.calls.size(), 1u) << command->name().toStdString();
        EXPECT_EQ(messages.last().kind, kind) << command->name().toStdString();
        EXPECT_EQ(messages.last().text, kContractAccess);
        messages.clear();
    }
    EXPECT_EQ(w.lblPosizione.text(), QString()); // the failed Save left the contract new
    EXPECT_EQ(w.txtCliente.text(), u"Rossi"_qs);

    w.lblPosizione.setText(u"1"_qs);
    click(w.cmdDuplica);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Error);
    EXPECT_EQ(w.lblPosizione.text(), QString()); // already cleared
    EXPECT_EQ(w.txtNumContratto.text(), u"1"_qs);
}

TEST_F(ContractTest, EnterWalksTheChainAndComesBackToTheMaintainer)
{
    window().txtDitta.setFocus();
    for (const auto& c : kChain) {
        ASSERT_EQ(window().focusedControl()->name(), QString::fromLatin1(c.name));
        EXPECT_TRUE(window().focusedControl()->highlight()->visible()) << c.name;
        key(window(), Qt::Key_Return);
    }
    EXPECT_TRUE(focusIs(window().txtDitta));
    EXPECT_FALSE(window().findControl(u"effOpEsc04"_qs)->visible());
    EXPECT_TRUE(modal.shown.isEmpty());
}

TEST_F(ContractTest, AmountFieldsTakeDigitsAndACommaAndAreNormalisedOnLeaving)
{
    TfrmContratto& w = window();
    const std::pair<const char*, const char*> amounts[] = {
        {"7", "7,00"},           {"10,5", "10,50"},    {"10,", "10,00"}, {",5", "0,50"}, {"3,14159", "3,1416"},
        {"12,345", "12,345"},    {"0,00001", "0,00"}, {",", "0,00"},    {"", "0,00"},   {"12.5", "125,00"},
        {"-4a", "4,00"},
    };
    for (Edit* amount : {&w.txtTotale, &w.txtImpCanone}) {
        for (const auto& [typed, left] : amounts) {
            amount->setText(QString());
            typeInto(*amount, QString::fromUtf8(typed));
            w.txtPagamento.setFocus();
            EXPECT_EQ(amount->text(), QString::fromUtf8(left)) << amount->name().toStdString() << " " << typed;
        }
        typeInto(*amount, QString());
        amount->setText(u"1,5"_qs);
        press(*amount, Qt::Key_Home); // swallowed
        keys(w, u"2"_qs);
        EXPECT_EQ(amount->text(), u"1,52"_qs);
        press(*amount, Qt::Key_Tab); // swallowed too: only Enter moves on
        EXPECT_TRUE(focusIs(*amount));
    }
    typeInto(w.txtTotale, QString());
    key(w, Qt::Key_Return);
    EXPECT_TRUE(focusIs(w.txtPeriodicita));
    typeInto(w.txtImpCanone, QString());
    key(w, Qt::Key_Return);
    EXPECT_TRUE(focusIs(w.txtPagamento));

    // A loaded amount that is not a number turns into "0,00" when it is left.
    writeContracts({contract({{&TContratto::Totale, "circa 100"}})});
    click(w.cmdPrimo);
    EXPECT_EQ(w.txtTotale.text(), u"circa 100"_qs);
    w.txtTotale.setFocus();
    w.txtDurata.setFocus();
    EXPECT_EQ(w.txtTotale.text(), u"0,00"_qs);
}

TEST_F(ContractTest, CodeFieldsAreUpperCasedAsTypedAndVatNumbersTakeDigitsOnly)
{
    TfrmContratto& w = window();
    for (Edit* vat : {&w.txtPartitaIva, &w.txtPartitaIvaCli}) {
        typeInto(*vat, u"01a2 3,4."_qs);
        EXPECT_EQ(vat->text(), u"01234"_qs) << vat->name().toStdString();
        press(*vat, Qt::Key_Left);
        press(*vat, Qt::Key_Backspace);
        EXPECT_EQ(vat->text(), u"0124"_qs);
    }
    typeInto(w.txtCodFisc, u"rssmra80 "_qs);
    EXPECT_EQ(w.txtCodFisc.text(), u"RSSMRA80"_qs);
    typeInto(w.txtCodFiscCli, u"bncmra"_qs);
    EXPECT_EQ(w.txtCodFiscCli.text(), u"BNCMRA"_qs);
    typeInto(w.txtProvRes, u"rm"_qs);
    EXPECT_EQ(w.txtProvRes.text(), u"RM"_qs);
    typeInto(w.txtProvCli, u"to"_qs);
    EXPECT_EQ(w.txtProvCli.text(), u"TO"_qs);
    // Postal codes, telephones and names keep what is typed.
    typeInto(w.txtCapRes, u"ab 1"_qs);
    EXPECT_EQ(w.txtCapRes.text(), u"ab 1"_qs);
    typeInto(w.txtCapCli, u"x-9"_qs);
    EXPECT_EQ(w.txtCapCli.text(), u"x-9"_qs);
    typeInto(w.txtTelCli, u"+39 011/1"_qs);
    EXPECT_EQ(w.txtTelCli.text(), u"+39 011/1"_qs);
    typeInto(w.txtSede, u"torino"_qs);
    EXPECT_EQ(w.txtSede.text(), u"torino"_qs);

    // The combo edits drop their list selection as they take the focus; their text stays,
    // a text outside the list included.
    for (ComboEdit* combo : {&w.txtProvRes, &w.txtProvCli, &w.txtQualitaCli, &w.txtPeriodicita}) {
        w.txtDitta.setFocus();
        combo->setItemIndex(1);
        combo->setText(u"altro"_qs);
        combo->setFocus();
        EXPECT_EQ(combo->itemIndex(), -1) << combo->name().toStdString();
        EXPECT_EQ(combo->text(), u"altro"_qs);
    }
}

TEST_F(ContractTest, HintLine)
{
    TfrmContratto& w = window();
    const std::pair<Control*, const char*> hints[] = {
        {&w.cmdNuovo, "Predispone la schermata per l'emissione di un nuovo contratto."},
        {&w.cmdDuplica, "Prepara la schermata per la registrazione di un nuovo contratto duplicando i dati correnti."},
        {&w.cmdSalva, "Salva o aggiorna il contratto corrente."},
        {&w.cmdTrova, "Trova un contratto in archivio."},
        {&w.cmdImporta, "Importa i dati del Cliente e dell'impianto dall'archivio anagrafico."},
        {&w.cmdAnteprima, "Visualizza l'anteprima di stampa del contratto corrente."},
        {&w.cmdStampa, "Stampa il contratto corrente."},
        {&w.cmdPDF, "Visualizza le clausole da stampare a tergo del contratto."},
        {&w.cmdAllega, "Allega file al contratto corrente."},
        {&w.cmdPrimo, "Visualizza il primo contratto in archivio."},
        {&w.cmdIndietro, "Visualizza il contratto precedente in archivio."},
        {&w.cmdAvanti, "Visualizza il contratto successivo in archivio."},
        {&w.cmdUltimo, "Visualizza l'ultimo contratto in archivio."},
        {&w.cmdNumerazione, "Imposta il numero iniziale per la numerazione dei contratti."},
        {&w.cmdEsporta, "Esporta le schede in archivio in un file di Microsoft Excel."},
        {&w.cmdGuida, "Visualizza la pagina della guida in linea sensibile al contesto."},
        {&w.cmdEsci, "Esci dalla schermata di lavoro corrente."},
        {&w.cmdLogo, "Carica il logo della Ditta manutentrice."},
        {&w.btnPartitaIva, "Controlla il numero di partita IVA."},
        {&w.btnPartitaIvaCli, "Controlla il numero di partita IVA."},
        {&w.btnCodFisc, "Controlla il codice fiscale."},
        {&w.btnCodFiscCli, "Controlla il codice fiscale."},
        {&w.btnData, "Inserisci la data corrente."},
    };
    const char* const backgrounds[] = {"shpContainer", "shpSezione01", "shpSezione02", "shpSezione03", "shpStampa",
                                       "shpNuovo",     "shpAllega",    "shpRecord",    "shpNumerazione", "shpEsci"};
    int i = 0;
    for (const auto& [c, text] : hints) {
        hover(*c);
        EXPECT_EQ(w.panInfo.text(), QString::fromUtf8(text));
        hover(w.txtCliente); // fields leave it as it is
        EXPECT_EQ(w.panInfo.text(), QString::fromUtf8(text));
        const char* background = backgrounds[i++ % std::size(backgrounds)];
        hover(*w.findControl(QString::fromLatin1(background)));
        EXPECT_EQ(w.panInfo.text(), QString()) << background;
    }
    hover(w.cmdSalva);
    hover(w, QPoint(2, 2));
    EXPECT_EQ(w.panInfo.text(), QString());
}

TEST_F(ContractTest, HelpWindowWithItsTitleAndEightParagraphs)
{
    QString title, text;
    modal.scripts[u"frmGuida"_qs] = [&](Form& f) {
        title = static_cast<TfrmGuida&>(f).lblTitolo.text();
        text = static_cast<TfrmGuida&>(f).txtGuida.text();
    };
    click(window().cmdGuida);
    EXPECT_EQ(modal.shown, QStringList{u"frmGuida"_qs});
    EXPECT_EQ(title, u"Gestione contratti di manutenzione programmata."_qs);
    const QStringList paragraphs = text.split(u"\r\n\r\n"_qs);
    ASSERT_EQ(paragraphs.size(), 8);
    const char* const openings[] = {
        "L'ambiente per la gestione dei contratti di manutenzione programmata mette a disposizione un modello di contratto",
        "I dati personalizzabili del contratto di manutenzione occupano una sola pagina di un foglio in formato A4.",
        "I dati e il logo della Ditta manutentrice vanno inseriti una sola volta",
        "La numerazione consecutiva dei contratti di manutenzione è gestita direttamente dal software.",
        "Per inserire un contratto in archivio",
        "Il pulsante Duplica risulta utile quando bisogna rinnovare un contratto relativo ad un Cliente.",
        "Per trovare le schede dei contratti in archivio",
        "Ciascun contratto di manutenzione può essere stampato direttamente su carta o visualizzato in anteprima.",
    };
    for (int i = 0; i < 8; ++i) { EXPECT_TRUE(paragraphs[i].startsWith(QString::fromUtf8(openings[i]))) << i; }
    EXPECT_TRUE(paragraphs[3].contains(
        u"l'applicazione attribuisce al contratto il numero successivo al totale dei contratti già archiviati"_qs));
    EXPECT_TRUE(paragraphs[6].contains(u"fino a tre file di qualsiasi genere"_qs));
}

TEST_F(ContractTest, CheckersOpenWithTheFieldsValue)
{
    TfrmContratto& w = window();
    QMap<QString, QString> seen;
    for (const char* name : {"frmCodFisc", "frmPartitaIva"}) {
        modal.scripts[QString::fromLatin1(name)] = [&seen](Form& f) {
            seen[f.objectName()] = static_cast<orv::kit::CheckerForm&>(f).entry().text();
        };
    }
    const struct {
        Control* button;
        Edit* field;
        const char* typed;
        const char* window;
        const char* value;
    } cases[] = {
        {&w.btnCodFisc, &w.txtCodFisc, "", "frmCodFisc", ""},
        {&w.btnCodFisc, &w.txtCodFisc, "rssmra80a01l219x", "frmCodFisc", "RSSMRA80A01L219X"},
        {&w.btnCodFisc, &w.txtCodFisc, "01234567890", "frmPartitaIva", "01234567890"},
        {&w.btnCodFiscCli, &w.txtCodFiscCli, "bncmra61d43f205x", "frmCodFisc", "BNCMRA61D43F205X"},
        {&w.btnCodFiscCli, &w.txtCodFiscCli, "98765432109", "frmPartitaIva", "98765432109"},
        {&w.btnPartitaIva, &w.txtPartitaIva, "0123456789", "frmPartitaIva", "0123456789"},
        {&w.btnPartitaIvaCli, &w.txtPartitaIvaCli, "", "frmPartitaIva", ""},
    };
    for (const auto& c : cases) {
        c.field->setText(QString());
        typeInto(*c.field, QString::fromUtf8(c.typed));
        modal.shown.clear();
        seen.clear();
        click(*c.button);
        EXPECT_EQ(modal.shown, QStringList{QString::fromLatin1(c.window)}) << c.typed;
        EXPECT_EQ(seen.value(QString::fromLatin1(c.window)), QString::fromUtf8(c.value)) << c.typed;
    }
}

TEST_F(ContractTest, AttachmentsGoThroughTheAttachWindowAndReachTheArchiveWithSave)
{
    writeContracts({kOld});
    click(window().cmdPrimo);
    QStringList shownValues;
    modal.scripts[u"frmAllegaCartella"_qs] = [&](Form& f) {
        auto& a = static_cast<TfrmAllegaCartella&>(f);
        shownValues = {a.lblMemory.text(), a.rows[0].txtFile.text(), a.rows[0].txtDesc.text(), a.rows[1].txtFile.text()};
        a.rows[0].txtDesc.setFocus();
        a.rows[0].txtDesc.selectAll();
        keys(a, u"Contratto firmato"_qs);
        click(a.btnApplica);
    };
    click(window().cmdAllega);
    EXPECT_EQ(shownValues, QStringList({u"contratti"_qs, u"firmato.pdf"_qs, u"Firmato"_qs, QString()}));
    EXPECT_EQ(window().lblDesc01.text(), u"Contratto firmato"_qs);
    EXPECT_EQ(TContratto::decode(contractBytes()).Desc01, u"Firmato"_qs); // not before Save
    click(window().cmdSalva);
    EXPECT_EQ(TContratto::decode(contractBytes()).Desc01, u"Contratto firmato"_qs);
}

TEST_F(ContractTest, StartNumberWindowAppliesAtTheNextNew)
{
    modal.scripts[u"frmNumerazione"_qs] = [](Form& f) {
        auto& n = static_cast<TfrmNumerazione&>(f);
        EXPECT_EQ(n.caption(), u" Impostazione inizio numerazione contratti"_qs);
        EXPECT_EQ(n.lblMemory.text(), u"contratti"_qs);
        n.txtInizio.selectAll();
        keys(n, u"500"_qs);
        click(n.btnApplica);
    };
    click(window().cmdNumerazione);
    EXPECT_EQ(modal.shown, QStringList{u"frmNumerazione"_qs});
    click(window().cmdNuovo);
    EXPECT_EQ(window().txtNumContratto.text(), u"500"_qs);
}

TEST_F(ContractTest, LogoClausesDateAndThePrintSeam)
{
    TfrmContratto& w = window();
    click(w.cmdLogo);
    EXPECT_EQ(modal.shown, QStringList{u"frmLogo"_qs});

    click(w.cmdPDF); // no file test: the shell reports a missing sheet
    EXPECT_EQ(shell.opened, QStringList{u'"' + orv::platform::programFile(u"Clausole.pdf"_qs) + u'"'});

    w.txtData.setText(u"01/01/2000"_qs);
    click(w.btnData);
    EXPECT_EQ(w.txtData.text(), u"15/03/2026"_qs);

    // Print and preview open the document windows over the contract on screen, saved or
    // not; without document printing they do nothing.
    click(w.cmdStampa);
    click(w.cmdAnteprima);
    QList<std::pair<QWidget*, orv::customers::ContractDocument>> opened;
    QString shownClient;
    orv::customers::setContractDocumentOpener([&](QWidget* owner, orv::customers::ContractDocument d) {
        opened.append({owner, d});
        shownClient = frmContratto->txtCliente.text();
    });
    typeInto(w.txtCliente, u"Mai salvato"_qs);
    click(w.cmdStampa);
    click(w.cmdAnteprima);
    orv::customers::setContractDocumentOpener({});
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], std::make_pair(static_cast<QWidget*>(&w), orv::customers::ContractDocument::Print));
    EXPECT_EQ(opened[1].second, orv::customers::ContractDocument::Preview);
    EXPECT_EQ(shownClient, u"Mai salvato"_qs);
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(ContractTest, ImportTakesTheUserAndTheInstallationFromTheCustomerArchive)
{
    writeArchive({card({{&TCliente::Cliente, "Rossi Mario"},
                        {&TCliente::ComuneRes, "Torino"},
                        {&TCliente::ProvRes, "TO"},
                        {&TCliente::CapRes, "10123"},
                        {&TCliente::IndirizzoRes, "Via Po 12"},
                        {&TCliente::Recapito, "Cellulare 333 1234567 oppure ufficio 011 765"},
                        {&TCliente::Estremi, "Bonifico"},
                        {&TCliente::PartitaIva, "01234567890"},
                        {&TCliente::CodFisc, "RSSMRA80A01L219X"},
                        {&TCliente::TipoImpianto, "Caldaia"},
                        {&TCliente::Marca, "Caldex"},
                        {&TCliente::Matricola, "M-1"},
                        {&TCliente::Note, "non va nel contratto"}})});
    writeContracts({kOld});
    click(window().cmdPrimo);
    modal.scripts[u"frmTrovaClienti"_qs] = [](Form& f) {
        auto& finder = static_cast<TfrmTrovaClienti&>(f);
        EXPECT_EQ(finder.lblMemory.text(), u"contratto"_qs);
        click(finder.btnCerca);
        orv::test::doubleClickLine(finder.lstRecords, 0);
    };
    click(window().cmdImporta);
    TfrmContratto& w = window();
    EXPECT_EQ(w.txtCliente.text(), u"Rossi Mario"_qs);
    EXPECT_EQ(w.txtComuneCli.text(), u"Torino"_qs);
    EXPECT_EQ(w.txtProvCli.text(), u"TO"_qs);
    EXPECT_EQ(w.txtViaCli.text(), u"Via Po 12"_qs);
    EXPECT_EQ(w.txtPagamento.text(), u"Bonifico"_qs);
    EXPECT_EQ(w.txtMarca.text(), u"Caldex"_qs);
    // The contract's own values stay: number, maintainer, operations, position.
    EXPECT_EQ(w.txtNumContratto.text(), u"7"_qs);
    EXPECT_EQ(w.txtDitta.text(), u"Vecchia Ditta"_qs);
    EXPECT_EQ(w.txtOpEsc04.text(), u"Notturni"_qs);
    EXPECT_EQ(w.lblPosizione.text(), u"1"_qs);
    // A telephone longer than the contract's field is cut when the contract is saved.
    click(w.cmdSalva);
    EXPECT_EQ(TContratto::decode(contractBytes()).TelCli, u"Cellulare 333 1234567 oppure u"_qs);
}

} // namespace
