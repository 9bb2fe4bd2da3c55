// The year menu and the job-sheet editor through their real controls.
#include "job_fixture.h"

#include "kit/dialogs/allegacartella.h"
#include "shell/avvio.h"
#include "kit/dialogs/checkers.h"
#include "kit/dialogs/guida.h"
#include "kit/dialogs/numerazione.h"
#include "customers/cliente.h"
#include "customers/trovaclienti.h"
#include "jobs/documenti.h"
#include "jobs/menulavoro.h"
#include "jobs/menuriepcosti.h"
#include "platform/core/inifile.h"
#include "platform/ui/art.h"

#include <QDir>
#include <QPainter>
#include <QLineEdit>

#include <map>

using namespace orv::customers;
using namespace orv::jobs;
using namespace orv::kit;
using namespace orv::platform::ui;
using namespace orv::shell;

using namespace orv::platform::ui;
using orv::test::JobWindowTest;
using orv::test::MessageCall;
using orv::test::sheet;
using S = TSchedaLavoro;

namespace {

const QString kAppended = u"La scheda corrente è stata inserita in archivio."_qs;
const QString kSaved = u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_qs;
const QString kEmpty = u"L'archivio non contiene nessuna scheda."_qs;

// ---------------------------------------------------------------- year menu

class YearMenuTest : public JobWindowTest {
protected:
    void SetUp() override
    {
        JobWindowTest::SetUp();
        showAndActivate(*frmAvvio);
        click(frmAvvio->btnSchedeLavoro);
        showAndActivate(*frmMenuLavoro);
    }
    TfrmMenuLavoro& menu() { return *frmMenuLavoro; }
};

TEST_F(YearMenuTest, OpensOnTheCurrentYearFromTheMainMenu)
{
    EXPECT_FALSE(frmAvvio->isVisible());
    EXPECT_EQ(menu().caption(), u" Orvanta 4.0 - Emissione Schede di Lavoro"_qs);
    EXPECT_TRUE(menu().windowState() & Qt::WindowMaximized);
    EXPECT_EQ(menu().txtAnnoLavoro.text(), u"2026"_qs);
    EXPECT_EQ(menu().txtAnnoRiepLavoro.text(), u"2026"_qs);
    EXPECT_EQ(menu().lblMemory.text(), u"avvio"_qs);
    EXPECT_TRUE(focusIs(menu().txtAnnoLavoro));
    EXPECT_EQ(menu().txtAnnoLavoro.maxLength(), 4);
}

TEST_F(YearMenuTest, AThreeDigitYearIsRefusedAFourDigitOneOpensTheEditor)
{
    menu().txtAnnoLavoro.setText(QString());
    keys(menu(), u"2a0.2 "_qs); // only digits are typed
    EXPECT_EQ(menu().txtAnnoLavoro.text(), u"202"_qs);
    press(menu().txtAnnoLavoro, Qt::Key_Home);
    press(menu().txtAnnoLavoro, Qt::Key_Tab);
    EXPECT_TRUE(focusIs(menu().txtAnnoLavoro));
    click(menu().btnApriLavoro);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Warning);
    EXPECT_EQ(messages.last().text, u"Attenzione: indicare l'anno solare utilizzando quattro cifre."_qs);
    EXPECT_TRUE(focusIs(menu().txtAnnoLavoro));
    EXPECT_TRUE(menu().isVisible());
    EXPECT_FALSE(frmLavoro->isVisible());

    press(menu().txtAnnoLavoro, Qt::Key_End);
    keys(menu(), u"6"_qs);
    press(menu().txtAnnoLavoro, Qt::Key_Return);
    EXPECT_TRUE(focusIs(menu().btnApriLavoro));
    press(menu().btnApriLavoro, Qt::Key_Space);
    EXPECT_FALSE(menu().isVisible());
    EXPECT_TRUE(frmLavoro->isVisible());
    EXPECT_EQ(frmLavoro->caption(), u" Orvanta 4.0 - Archivio Schede di Lavoro anno 2026"_qs);
    EXPECT_EQ(frmLavoro->lblFile.text(), programFolder() + u"2026.lav"_qs);
    EXPECT_FALSE(QFile::exists(programFolder() + u"2026.lav"_qs)); // the editor's first command creates it
}

TEST_F(YearMenuTest, TheSummaryYearOpensTheCriteriaWindow)
{
    menu().txtAnnoRiepLavoro.setText(u"20"_qs);
    click(menu().btnApriRiepLavoro);
    EXPECT_EQ(takeTexts(), QStringList({u"Attenzione: indicare l'anno solare utilizzando quattro cifre."_qs}));
    EXPECT_TRUE(focusIs(menu().txtAnnoRiepLavoro));
    menu().txtAnnoRiepLavoro.setText(u"2025"_qs);
    click(menu().btnApriRiepLavoro);
    EXPECT_FALSE(menu().isVisible());
    TfrmMenuRiepCosti& criteria = *frmMenuRiepCosti;
    EXPECT_TRUE(criteria.isVisible());
    EXPECT_EQ(criteria.caption(), u" Orvanta 4.0 - Riepilogo Schede di Lavoro anno 2025"_qs);
    EXPECT_EQ(criteria.lblFile.text(), programFolder() + u"2025.lav"_qs);
    for (const QString& year : {criteria.txtAnno.text(), criteria.lblAnnoInizio.text(), criteria.lblAnnoFine.text()})
        EXPECT_EQ(year, u"2025"_qs);
    // Closing the criteria window leads to the main menu, not back to the year menu.
    click(criteria.btnEsci);
    EXPECT_TRUE(frmAvvio->isVisible());
    EXPECT_FALSE(menu().isVisible());
}

TEST_F(YearMenuTest, ExitShowsTheMainMenuAndHelpIsTheJobSheetHelp)
{
    QString title, text;
    modal.scripts[u"frmGuida"_qs] = [&](Form& f) {
        title = static_cast<TfrmGuida&>(f).lblTitolo.text();
        text = static_cast<TfrmGuida&>(f).txtGuida.text();
    };
    click(menu().imgGuida);
    EXPECT_EQ(title, u"Emissione Schede di Lavoro."_qs);
    EXPECT_EQ(text.split(u"\r\n\r\n"_qs), orv::jobs::helpParagraphs());
    click(menu().imgEsci);
    EXPECT_TRUE(frmAvvio->isVisible());
    EXPECT_FALSE(menu().isVisible());
    // Shown again: the current year and the tag "avvio" once more.
    menu().txtAnnoLavoro.setText(u"1999"_qs);
    click(frmAvvio->imgSchedeLavoro);
    EXPECT_EQ(menu().txtAnnoLavoro.text(), u"2026"_qs);
}

// ---------------------------------------------------------------- editor

class EditorTest : public JobWindowTest {
protected:
    TfrmLavoro* e = nullptr;
    void SetUp() override
    {
        JobWindowTest::SetUp();
        e = &openEditor();
    }
    void typeInto(Control& c, const QString& text)
    {
        c.setFocus();
        keys(*e, text);
    }
    // A sheet that passes the Save checks.
    void fillRequired()
    {
        e->txtMarca.setText(u"Caldex K-24"_qs);
        e->txtCliente.setText(u"Rossi Mario"_qs);
        e->txtNumScheda.setText(u"1"_qs);
        e->txtData.setText(u"05/03/2026"_qs);
    }
    QList<TSchedaLavoro> three() const
    {
        return {sheet({{S::NumScheda, "1"}, {S::Cliente, "Uno"}, {S::Garanzia, "Sì"}, {S::Riconsegnato, "No"}}),
                sheet({{S::NumScheda, "2"}, {S::Cliente, "Due"}, {S::Garanzia, ""}, {S::Riconsegnato, "forse"}}),
                sheet({{S::NumScheda, "3"}, {S::Cliente, "Tre"}, {S::Garanzia, "No"}, {S::Riconsegnato, "Sì"},
                       {S::File01, "foto.jpg"}})};
    }
};

TEST_F(EditorTest, FieldsTakeTheirRecordWidthsAndDesignedLooks)
{
    EXPECT_EQ(e->caption(), u" Orvanta 4.0 - Archivio Schede di Lavoro anno 2026"_qs);
    EXPECT_TRUE(e->windowState() & Qt::WindowMaximized);
    int edits = 0;
    for (const orv::archive::FieldDef& f : S::layout().fields()) {
        if (!f.control.startsWith(u"txt")) continue;
        ++edits;
        Control* c = e->findControl(f.control);
        ASSERT_TRUE(c) << f.control.toStdString();
        const int max = dynamic_cast<ComboEdit*>(c) ? static_cast<ComboEdit*>(c)->maxLength()
                                                    : static_cast<Edit*>(c)->maxLength();
        EXPECT_EQ(max, f.width) << f.control.toStdString();
        EXPECT_TRUE(c->highlight()) << f.control.toStdString();
    }
    EXPECT_EQ(edits, 29);
    EXPECT_EQ(e->txtLuogo.items(), QStringList({u"Laboratorio tecnico"_qs, u"Domicilio Cliente"_qs}));
    EXPECT_EQ(e->txtStato.items(),
              QStringList({u"Non pronto"_qs, u"Non riparabile"_qs, u"Riparato"_qs, u"Revisionato"_qs}));
    EXPECT_EQ(e->txtLuogo.itemIndex(), -1);
    EXPECT_EQ(e->txtTotFattura.text(), u"0,00"_qs);
    EXPECT_TRUE(e->txtTotFattura.lineEdit()->alignment() & Qt::AlignRight);
    for (Edit* centred : {&e->txtNumScheda, &e->txtData, &e->txtAnnoCostruz, &e->txtDataAccetta, &e->txtOraAccetta,
                          &e->txtDataRiconsegna, &e->txtOraRiconsegna})
        EXPECT_TRUE(centred->lineEdit()->alignment() & Qt::AlignHCenter) << centred->name().toStdString();
    for (Label* hidden : {&e->lblFile, &e->lblInizio, &e->lblFile01, &e->lblDesc03})
        EXPECT_FALSE(hidden->visible());
    EXPECT_EQ(e->lblInizio.text(), u"1"_qs);
    EXPECT_EQ(e->panInfo.text(), u"Pronto per archiviare una nuova scheda..."_qs);
    for (Control* c : {static_cast<Control*>(&e->txtNumScheda), static_cast<Control*>(&e->txtData),
                       static_cast<Control*>(&e->impData), static_cast<Control*>(&e->txtPagamento)})
        EXPECT_EQ(c->widget()->parentWidget(), e->panNumFattura.widget()) << c->name().toStdString();
}

TEST_F(EditorTest, EnterWalksTheSheetSkippingTheCheckBoxesAndWrapsAround)
{
    const QStringList chain = {
        u"txtTipoImpianto"_qs, u"txtMarca"_qs, u"txtAnnoCostruz"_qs, u"txtMatricola"_qs, u"txtAlimentazione"_qs,
        u"txtUbicazione"_qs, u"txtCaratteristiche"_qs, u"txtNumScheda"_qs, u"txtData"_qs, u"txtPagamento"_qs,
        u"txtCliente"_qs, u"txtCodFiscCli"_qs, u"txtTelCli"_qs, u"txtIndirizzoCli"_qs, u"txtDataAccetta"_qs,
        u"txtOraAccetta"_qs, u"txtLuogo"_qs, u"txtTecnico"_qs, u"txtAnomalie"_qs, u"txtControlli"_qs, u"txtLavori"_qs,
        u"txtRicambi"_qs, u"txtRaccomandazioni"_qs, u"txtStato"_qs, u"txtAnnotazioni"_qs, u"txtFattura"_qs,
        u"txtTotFattura"_qs, u"txtDataRiconsegna"_qs, u"txtOraRiconsegna"_qs, u"txtTipoImpianto"_qs,
    };
    ASSERT_TRUE(focusIs(e->txtTipoImpianto));
    for (int i = 1; i < chain.size(); ++i) {
        key(*e, Qt::Key_Return);
        Control* now = e->focusedControl();
        ASSERT_TRUE(now);
        EXPECT_EQ(now->name(), chain[i]) << i;
        EXPECT_TRUE(now->highlight()->visible()) << i;
    }
}

TEST_F(EditorTest, TheAmountTakesDigitsAndTheCommaAndIsNormalisedWhenLeft)
{
    e->txtTotFattura.setText(QString());
    typeInto(e->txtTotFattura, u"1a2. ,5x"_qs);
    EXPECT_EQ(e->txtTotFattura.text(), u"12,5"_qs);
    key(*e, Qt::Key_Return);
    EXPECT_EQ(e->txtTotFattura.text(), u"12,50"_qs);
    EXPECT_FALSE(e->txtTotFattura.highlight()->visible());

    const struct {
        const char* typed;
        const char* left;
    } cases[] = {{"", "0,00"},          {"0,5", "0,50"},          {"1,2,3", "0,00"}, {"12", "12,00"},
                 {"12,3456", "12,3456"}, {"12,34567", "12,3457"}, {",", "0,00"},     {",5", "0,50"}};
    for (const auto& c : cases) {
        e->txtTotFattura.setFocus();
        e->txtTotFattura.setText(QString::fromUtf8(c.typed));
        e->txtFattura.setFocus();
        EXPECT_EQ(e->txtTotFattura.text(), QString::fromUtf8(c.left)) << c.typed;
    }
}

TEST_F(EditorTest, TaxCodeUpperCasedAndTrimmedWhileTyping)
{
    typeInto(e->txtCodFiscCli, u" rssmra80 "_qs);
    EXPECT_EQ(e->txtCodFiscCli.text(), u"RSSMRA80"_qs);
}

TEST_F(EditorTest, CombosAcceptAnyTextAndForgetTheirSelectionWhenFocused)
{
    e->txtStato.setItemIndex(2);
    e->txtStato.setText(u"Riparato"_qs);
    e->txtStato.setFocus();
    EXPECT_EQ(e->txtStato.itemIndex(), -1);
    EXPECT_EQ(e->txtStato.text(), u"Riparato"_qs);
    e->txtLuogo.setFocus();
    keys(*e, u"Officina esterna"_qs);
    fillRequired();
    e->txtStato.setText(u"  In attesa del ricambio ordinato al fornitore, consegna prevista a fine mese  "_qs);
    click(e->cmdSalva);
    const TSchedaLavoro stored = readYear().value(0);
    EXPECT_EQ(stored[S::Luogo], u"Officina esterna"_qs);
    EXPECT_EQ(stored[S::Stato], u"In attesa del ricambio ordinato al fornitore, cons"_qs);
}

TEST_F(EditorTest, NewNumbersFromTheStartNumberAndTheSheetsOfTheYear)
{
    // No settings and no year file: number 1, and the file is created empty.
    e->txtCliente.setText(u"da cancellare"_qs);
    e->lblFile02.setText(u"x.pdf"_qs);
    e->chkGaranzia.setChecked(true);
    click(e->cmdNuovo);
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_EQ(e->txtNumScheda.text(), u"1"_qs);
    EXPECT_EQ(e->txtData.text(), u"15/03/2026"_qs);
    EXPECT_EQ(e->txtCliente.text(), QString());
    EXPECT_EQ(e->lblFile02.text(), QString());
    EXPECT_EQ(e->txtTotFattura.text(), u"0,00"_qs);
    EXPECT_FALSE(e->chkGaranzia.isChecked());
    EXPECT_EQ(e->lblPosizione.text(), QString());
    EXPECT_TRUE(focusIs(e->txtTipoImpianto));
    EXPECT_EQ(readFile(u"2026.lav"_qs).size(), 0);
    ASSERT_TRUE(QFile::exists(programFolder() + u"2026.lav"_qs));

    QList<TSchedaLavoro> seven;
    for (int i = 0; i < 7; ++i) seven.append(sheet({{S::NumScheda, "x"}}));
    writeYear(seven);
    const struct {
        const char* start; // nullptr: the key is missing
        const char* number;
    } cases[] = {{nullptr, "8"}, {"", "8"}, {"  ", "8"}, {"100", "107"}, {"0", "7"}};
    for (const auto& c : cases) {
        orv::platform::IniFile ini(programFolder() + u"Orvanta.ini"_qs);
        if (c.start) ini.writeString(u"Numerazione Schede Lavoro"_qs, u"Inizio"_qs, QString::fromUtf8(c.start));
        click(e->cmdNuovo);
        EXPECT_EQ(e->txtNumScheda.text(), QString::fromUtf8(c.number)) << (c.start ? c.start : "missing");
    }
    EXPECT_EQ(e->lblInizio.text(), u"0"_qs);
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(EditorTest, NewWithAStartNumberThatIsNoNumberLeavesACleanSheetAndSaysSo)
{
    orv::platform::IniFile(programFolder() + u"Orvanta.ini"_qs).writeString(u"Numerazione Schede Lavoro"_qs, u"Inizio"_qs, u"dieci"_qs);
    e->txtCliente.setText(u"Rossi"_qs);
    click(e->cmdNuovo);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Error);
    EXPECT_EQ(messages.last().text, orv::test::kAccess);
    EXPECT_EQ(e->txtCliente.text(), QString());
    EXPECT_EQ(e->txtNumScheda.text(), QString());
    EXPECT_EQ(e->txtData.text(), QString());
}

TEST_F(EditorTest, SaveChecksTheRequiredValuesInOrder)
{
    const QString need = u"Attenzione: per salvare la scheda è necessario indicare "_qs;
    const struct {
        Edit* fill; // filled before the next attempt
        const char* value;
        QString message;
        Edit* focus;
    } steps[] = {
        {&e->txtMarca, "Caldex", need + u"la marca e il modello di impianto."_qs, &e->txtMarca},
        {&e->txtCliente, "Rossi", need + u"il nome o la ragione sociale del Cliente."_qs, &e->txtCliente},
        {&e->txtNumScheda, "4", need + u"il numero della Scheda di Lavoro."_qs, &e->txtNumScheda},
        {&e->txtData, "31/02/2026", need + u"la data della Scheda di Lavoro."_qs, &e->txtData},
        {&e->txtData, "31/02/2026",
         u"Attenzione: la data indicata non esiste.\n\r\n\rPer poter salvare la scheda è necessario indicare una data "
         u"valida nel formato gg/mm/anno."_qs,
         &e->txtData},
    };
    e->txtMarca.setText(u"   "_qs);
    for (const auto& s : steps) {
        e->txtTipoImpianto.setFocus();
        click(e->cmdSalva);
        ASSERT_EQ(messages.calls.size(), 1u) << s.message.toStdString();
        EXPECT_EQ(messages.last().kind, MessageCall::Warning);
        EXPECT_EQ(messages.last().text, s.message);
        EXPECT_TRUE(focusIs(*s.focus)) << s.message.toStdString();
        messages.clear();
        s.fill->setText(QString::fromUtf8(s.value));
    }
    EXPECT_FALSE(QFile::exists(programFolder() + u"2026.lav"_qs));
    e->txtData.setText(u" 1/3/26 "_qs);
    click(e->cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList({kAppended}));
}

TEST_F(EditorTest, SaveAppendsThenOverwritesWhatTheSheetShows)
{
    QList<TSchedaLavoro> seven;
    for (int i = 0; i < 7; ++i) seven.append(sheet({{S::NumScheda, "x"}, {S::Cliente, "Altro"}}));
    writeYear(seven);
    fillRequired();
    e->txtCliente.setText(u"  "_qs + QString(60, u'R') + u"  "_qs);
    e->txtAnomalie.setText(u"  Non si accende  "_qs);
    e->chkRiconsegnato.setChecked(true);
    e->lblFile01.setText(u"foto.jpg"_qs);
    e->lblDesc01.setText(u"Foto della targa"_qs);
    click(e->cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList({kAppended}));
    EXPECT_EQ(messages.calls.size(), 0u);
    EXPECT_EQ(e->lblPosizione.text(), u"8"_qs);
    QList<TSchedaLavoro> stored = readYear();
    ASSERT_EQ(stored.size(), 8);
    EXPECT_EQ(stored[7][S::Cliente], QString(50, u'R'));
    EXPECT_EQ(stored[7][S::Anomalie], u"Non si accende"_qs);
    EXPECT_EQ(stored[7][S::Garanzia], u"No"_qs);
    EXPECT_EQ(stored[7][S::Riconsegnato], u"Sì"_qs);
    EXPECT_EQ(stored[7][S::TotFattura], u"0,00"_qs);
    EXPECT_EQ(stored[7][S::File01], u"foto.jpg"_qs);
    EXPECT_EQ(stored[7][S::Desc01], u"Foto della targa"_qs);

    const QByteArray before = readFile(u"2026.lav"_qs);
    e->txtTecnico.setText(u"Bianchi"_qs);
    click(e->cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList({kSaved}));
    EXPECT_EQ(e->lblPosizione.text(), u"8"_qs);
    const QByteArray after = readFile(u"2026.lav"_qs);
    ASSERT_EQ(after.size(), 8 * S::kSize);
    EXPECT_EQ(after.left(7 * S::kSize), before.left(7 * S::kSize));
    EXPECT_EQ(readYear()[7][S::Tecnico], u"Bianchi"_qs);
}

TEST_F(EditorTest, AnAmountTypedAndSavedStraightAwayIsStoredNormalised)
{
    fillRequired();
    const struct {
        const char* typed;
        const char* stored;
    } cases[] = {{"1,2,3", "0,00"}, {"45", "45,00"}, {",", "0,00"}};
    for (const auto& c : cases) {
        e->txtTotFattura.setText(QString());
        typeInto(e->txtTotFattura, QString::fromUtf8(c.typed));
        click(e->cmdSalva); // a picture: the focus stays in the amount
        EXPECT_TRUE(focusIs(e->txtTotFattura));
        EXPECT_EQ(readYear().value(0)[S::TotFattura], QString::fromUtf8(c.stored)) << c.typed;
        EXPECT_EQ(e->txtTotFattura.text(), QString::fromUtf8(c.stored));
    }
}

TEST_F(EditorTest, NavigationOverAnEmptyYear)
{
    const struct {
        Image* command;
        const char* position;
    } cases[] = {{&e->cmdPrimo, ""}, {&e->cmdAvanti, ""}, {&e->cmdUltimo, ""}, {&e->cmdIndietro, ""}};
    for (const auto& c : cases) {
        click(*c.command);
        ASSERT_EQ(messages.calls.size(), 1u) << c.command->name().toStdString();
        EXPECT_EQ(messages.last().kind, MessageCall::Information);
        EXPECT_EQ(messages.last().text, kEmpty);
        EXPECT_EQ(messages.last().buttons, mbOk | mbCancel);
        messages.clear();
    }
    EXPECT_EQ(readFile(u"2026.lav"_qs).size(), 0);
}

TEST_F(EditorTest, NavigationTable)
{
    writeYear(three());
    const struct {
        const char* from; // position before the command
        Image* command;
        const char* to;
        const char* cliente; // shown afterwards
    } cases[] = {
        {"", &e->cmdAvanti, "1", "Uno"},   {"", &e->cmdIndietro, "1", "Uno"},  {"1", &e->cmdIndietro, "1", "keep"},
        {"2", &e->cmdIndietro, "1", "Uno"}, {"3", &e->cmdIndietro, "2", "Due"}, {"1", &e->cmdAvanti, "2", "Due"},
        {"3", &e->cmdAvanti, "3", "keep"}, {"2", &e->cmdPrimo, "1", "Uno"},    {"1", &e->cmdUltimo, "3", "Tre"},
    };
    for (const auto& c : cases) {
        e->lblPosizione.setText(QString::fromUtf8(c.from));
        e->txtCliente.setText(u"keep"_qs);
        click(*c.command);
        EXPECT_EQ(e->lblPosizione.text(), QString::fromUtf8(c.to)) << c.from << " " << c.command->name().toStdString();
        EXPECT_EQ(e->txtCliente.text(), QString::fromUtf8(c.cliente)) << c.from << " " << c.command->name().toStdString();
    }
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(EditorTest, FlagsThatAreNeitherWordLeaveTheirBoxes)
{
    writeYear(three());
    click(e->cmdPrimo); // Sì / No
    EXPECT_TRUE(e->chkGaranzia.isChecked());
    EXPECT_FALSE(e->chkRiconsegnato.isChecked());
    e->chkRiconsegnato.setChecked(true);
    click(e->cmdAvanti); // empty / "forse": both boxes stay
    EXPECT_TRUE(e->chkGaranzia.isChecked());
    EXPECT_TRUE(e->chkRiconsegnato.isChecked());
    click(e->cmdAvanti); // No / Sì, and its attachment
    EXPECT_FALSE(e->chkGaranzia.isChecked());
    EXPECT_TRUE(e->chkRiconsegnato.isChecked());
    EXPECT_EQ(e->lblFile01.text(), u"foto.jpg"_qs);
}

TEST_F(EditorTest, AYearFileThatCannotBeOpenedGivesTheAccessMessageInItsBox)
{
    ASSERT_TRUE(QDir(programFolder()).mkdir(u"2026.lav"_qs));
    fillRequired();
    const struct {
        Image* command;
        MessageCall::Kind kind;
    } cases[] = {{&e->cmdSalva, MessageCall::Warning},   {&e->cmdPrimo, MessageCall::Warning},
                 {&e->cmdNuovo, MessageCall::Error},     {&e->cmdIndietro, MessageCall::Error},
                 {&e->cmdAvanti, MessageCall::Error},    {&e->cmdUltimo, MessageCall::Error}};
    for (const auto& c : cases) {
        click(*c.command);
        ASSERT_EQ(messages.calls.size(), 1u) << c.command->name().toStdString();
        EXPECT_EQ(messages.last().kind, c.kind) << c.command->name().toStdString();
        EXPECT_EQ(messages.last().text, orv::test::kAccess);
        messages.clear();
    }
    // A failed Save keeps the sheet new, and New that fails to count leaves the sheet as it was.
    EXPECT_EQ(e->lblPosizione.text(), QString());
    EXPECT_EQ(e->txtCliente.text(), u"Rossi Mario"_qs);
}

TEST_F(EditorTest, DateAndTimeButtonsFillTheirFieldsWithoutMovingTheFocus)
{
    const struct {
        QTime at;
        const char* shown;
    } times[] = {{QTime(9, 5), "09:05"}, {QTime(14, 15), "14:15"}, {QTime(0, 0), "00:00"}};
    e->txtMarca.setFocus();
    for (const auto& t : times) {
        clock.at = QDateTime(QDate(2026, 1, 7), t.at);
        click(e->impOraAccetta);
        click(e->impOraRiconsegna);
        EXPECT_EQ(e->txtOraAccetta.text(), QString::fromUtf8(t.shown));
        EXPECT_EQ(e->txtOraRiconsegna.text(), QString::fromUtf8(t.shown));
    }
    for (Image* date : {&e->impData, &e->impDataAccetta, &e->impDataRiconsegna}) click(*date);
    for (Edit* field : {&e->txtData, &e->txtDataAccetta, &e->txtDataRiconsegna}) EXPECT_EQ(field->text(), u"07/01/2026"_qs);
    EXPECT_TRUE(focusIs(e->txtMarca));
}

TEST_F(EditorTest, TimeButtonsShowAClockDateButtonsACalendarAndTheBarOneCaptionSize)
{
    const auto drawn = [](orv::platform::ui::art::Icon icon) {
        QImage img(22, 22, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::white);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        orv::platform::ui::art::icon(icon, QColor(0xC6, 0x28, 0x28))(p, QRectF(img.rect()));
        return img;
    };
    const QImage clockPicture = drawn(orv::platform::ui::art::Icon::Clock), calendar = drawn(orv::platform::ui::art::Icon::Schedule);
    ASSERT_NE(clockPicture, calendar);
    for (Image* time : {&e->impOraAccetta, &e->impOraRiconsegna})
        EXPECT_EQ(time->picture().convertToFormat(clockPicture.format()), clockPicture) << time->name().toStdString();
    for (Image* date : {&e->impData, &e->impDataAccetta, &e->impDataRiconsegna})
        EXPECT_EQ(date->picture().convertToFormat(calendar.format()), calendar) << date->name().toStdString();

    // Short and long captions alike ("Nuovo", "Non riconsegnati", "Numerazione") read at one size.
    std::map<int, QStringList> heights;
    for (const char* name : {"cmdNuovo", "cmdSalva", "cmdTrova", "cmdImporta", "cmdAnteprima", "cmdStampa",
                             "cmdAllega", "cmdRiconsegnati", "cmdNumerazione", "cmdEsporta", "cmdGuida", "cmdEsci"})
        heights[orv::test::firstLetterHeight(e->control<Image>(QString::fromLatin1(name)).picture())]
            << QString::fromLatin1(name);
    ASSERT_FALSE(heights.empty());
    EXPECT_GE(heights.begin()->first, 7);
    EXPECT_LE(heights.rbegin()->first - heights.begin()->first, 1)
        << heights.begin()->second.join(u' ').toStdString() << " / " << heights.rbegin()->second.join(u' ').toStdString();
}

TEST_F(EditorTest, CustomerImportFillsTheCustomerAndTheInstallationOnly)
{
    TCliente c;
    c.Cliente = u"Rossi Mario"_qs;
    c.IndirizzoRes = u"Via Roma 1"_qs;
    c.ComuneRes = u"Torino"_qs;
    c.Recapito = u"011 555"_qs;
    c.CodFisc = u"RSSMRA80A01L219X"_qs;
    c.Estremi = u"Bonifico"_qs;
    c.TipoImpianto = u"Caldaia"_qs;
    c.Marca = u"Caldex K-24"_qs;
    c.AnnoCostruz = u"2015"_qs;
    c.Matricola = u"M-1"_qs;
    c.Alimentazione = u"Metano"_qs;
    c.Ubicazione = u"Cantina"_qs;
    c.Caratteristiche = u"24 kW"_qs;
    c.Note = u"nota"_qs;
    writeFile(TCliente::kFileName, c.encode());
    writeYear(three());
    click(e->cmdUltimo);
    e->txtLavori.setText(u"Sostituita la pompa"_qs);
    QString tag;
    modal.scripts[u"frmTrovaClienti"_qs] = [&](Form& f) {
        auto& finder = static_cast<TfrmTrovaClienti&>(f);
        tag = finder.lblMemory.text();
        click(finder.btnCerca);
        orv::test::doubleClickLine(finder.lstRecords, 0);
    };
    click(e->cmdImporta);
    EXPECT_EQ(tag, u"lavoro"_qs);
    const std::pair<Control*, const char*> filled[] = {
        {&e->txtCliente, "Rossi Mario"}, {&e->txtIndirizzoCli, "Via Roma 1 Torino"}, {&e->txtTelCli, "011 555"},
        {&e->txtCodFiscCli, "RSSMRA80A01L219X"}, {&e->txtPagamento, "Bonifico"}, {&e->txtTipoImpianto, "Caldaia"},
        {&e->txtMarca, "Caldex K-24"}, {&e->txtAnnoCostruz, "2015"}, {&e->txtMatricola, "M-1"},
        {&e->txtAlimentazione, "Metano"}, {&e->txtUbicazione, "Cantina"}, {&e->txtCaratteristiche, "24 kW"},
    };
    for (const auto& [control, value] : filled)
        EXPECT_EQ(static_cast<Edit*>(control)->text(), QString::fromUtf8(value)) << control->name().toStdString();
    EXPECT_EQ(e->txtNumScheda.text(), u"3"_qs);
    EXPECT_EQ(e->lblPosizione.text(), u"3"_qs);
    EXPECT_EQ(e->txtLavori.text(), u"Sostituita la pompa"_qs);
    EXPECT_EQ(e->lblFile01.text(), u"foto.jpg"_qs);
    EXPECT_TRUE(e->chkRiconsegnato.isChecked());
    EXPECT_EQ(readYear()[2][S::Cliente], u"Tre"_qs); // nothing is saved
}

TEST_F(EditorTest, AttachmentsGoThroughTheAttachWindowAndAreStoredBySave)
{
    e->lblFile01.setText(u" a.pdf "_qs);
    e->lblDesc01.setText(u"Manuale"_qs);
    QString tag, shownFile, shownDesc;
    modal.scripts[u"frmAllegaCartella"_qs] = [&](Form& f) {
        auto& w = static_cast<TfrmAllegaCartella&>(f);
        tag = w.lblMemory.text();
        shownFile = w.rows[0].txtFile.text();
        shownDesc = w.rows[0].txtDesc.text();
        w.rows[1].txtDesc.setText(u"Scontrino"_qs);
        click(w.btnApplica);
    };
    click(e->cmdAllega);
    EXPECT_EQ(tag, u"lavoro"_qs);
    EXPECT_EQ(shownFile, u"a.pdf"_qs);
    EXPECT_EQ(shownDesc, u"Manuale"_qs);
    EXPECT_EQ(e->lblDesc02.text(), u"Scontrino"_qs);
    EXPECT_FALSE(QFile::exists(programFolder() + u"2026.lav"_qs));
    fillRequired();
    click(e->cmdSalva);
    EXPECT_EQ(readYear()[0][S::Desc02], u"Scontrino"_qs);
}

TEST_F(EditorTest, StartNumberWindowKeepsTheJobSheetNumberingForTheNextNew)
{
    QString caption, tag;
    modal.scripts[u"frmNumerazione"_qs] = [&](Form& f) {
        auto& w = static_cast<TfrmNumerazione&>(f);
        caption = w.caption();
        tag = w.lblMemory.text();
        w.txtInizio.setText(u"100"_qs);
        click(w.btnApplica);
    };
    click(e->cmdNumerazione);
    EXPECT_EQ(caption, u" Impostazione inizio numerazione Schede di Lavoro"_qs);
    EXPECT_EQ(tag, u"lavoro"_qs);
    click(e->cmdNuovo);
    EXPECT_EQ(e->txtNumScheda.text(), u"100"_qs);
}

TEST_F(EditorTest, TaxCodeButtonOpensTheCheckerTheTextCallsFor)
{
    const struct {
        const char* text;
        const char* window;
        const char* entry;
    } cases[] = {{"", "frmCodFisc", ""}, {"12345678903", "frmPartitaIva", "12345678903"}, {"RSS1", "frmCodFisc", "RSS1"}};
    for (const auto& c : cases) {
        QString entry;
        modal.scripts[u"frmCodFisc"_qs] = [&](Form& f) { entry = static_cast<TfrmCodFisc&>(f).txtCodFisc.text(); };
        modal.scripts[u"frmPartitaIva"_qs] = [&](Form& f) {
            entry = static_cast<TfrmPartitaIva&>(f).txtPartitaIva.text();
        };
        modal.shown.clear();
        e->txtCodFiscCli.setText(QString::fromUtf8(c.text));
        click(e->btnCodFiscCli);
        EXPECT_EQ(modal.shown, QStringList({QString::fromUtf8(c.window)})) << c.text;
        EXPECT_EQ(entry, QString::fromUtf8(c.entry));
        EXPECT_EQ(e->txtCodFiscCli.text(), QString::fromUtf8(c.text));
    }
}

TEST_F(EditorTest, HintsOverCommandsClearedOverTheBackground)
{
    const std::pair<Control*, const char*> hints[] = {
        {&e->cmdNuovo, "Predispone la schermata per l'emissione di una nuova Scheda di Lavoro."},
        {&e->cmdRiconsegnati, "Visualizza il riepilogo degli impianti non riconsegnati ai Clienti."},
        {&e->cmdNumerazione, "Imposta il numero iniziale per la numerazione delle Schede di Lavoro."},
        {&e->chkRiconsegnato, "Indica che l'impianto è stato riconsegnato al Cliente."},
        {&e->impOraRiconsegna, "Indica l'ora corrente."},
        {&e->impData, "Inserisci la data corrente."},
        {&e->cmdEsci, "Esci da questa schermata di lavoro."},
    };
    for (const auto& [control, text] : hints) {
        hover(*control);
        EXPECT_EQ(e->panInfo.text(), QString::fromUtf8(text)) << control->name().toStdString();
    }
    hover(e->txtCliente); // the edits have no hint
    EXPECT_EQ(e->panInfo.text(), u"Esci da questa schermata di lavoro."_qs);
    hover(*e->findControl(u"bkgLavori"_qs));
    EXPECT_EQ(e->panInfo.text(), QString());
}

TEST_F(EditorTest, HelpTitleAndItsElevenParagraphs)
{
    QString title, text;
    modal.scripts[u"frmGuida"_qs] = [&](Form& f) {
        title = static_cast<TfrmGuida&>(f).lblTitolo.text();
        text = static_cast<TfrmGuida&>(f).txtGuida.text();
    };
    click(e->cmdGuida);
    EXPECT_EQ(title, u"Emissione Schede di Lavoro."_qs);
    const QStringList p = text.split(u"\r\n\r\n"_qs);
    ASSERT_EQ(p.size(), 11);
    const char* const openings[] = {
        "L'ambiente Schede di Lavoro è studiato per l'emissione del modulo da rilasciare al Cliente",
        "Con la funzione Riepilogo Schede di Lavoro Emesse",
        "La scheda di lavorazione consente anche di annotare lo stato dei lavori",
        "Per inserire una Scheda di Lavoro in archivio",
        "Quando si preme il pulsante Nuovo, il software attribuisce al documento un numero che tiene conto di quante "
        "Schede di Lavoro sono già presenti in archivio, partendo da 1 se l'archivio è vuoto.",
        "La compilazione della scheda può essere velocizzata importando i dati dall'archivio dei Clienti.",
        "La funzione Trova permette di creare riepiloghi degli interventi tecnici utilizzando più criteri di ricerca "
        "contemporaneamente.",
        "La schermata per il riepilogo delle Schede di Lavoro",
        "Per ottenere il riepilogo degli interventi effettuati in un certo intervallo di tempo",
        "L'estratto conto che si ottiene",
        "Per ottenere il riepilogo di tutte le Schede di Lavoro emesse a tutti i Clienti",
    };
    for (int i = 0; i < 11; ++i) EXPECT_TRUE(p[i].startsWith(QString::fromUtf8(openings[i]))) << i;
}

TEST_F(EditorTest, ClosingShowsTheMainMenuAndTheNextOpeningIsACleanSheet)
{
    writeYear(three());
    click(e->cmdUltimo);
    click(e->cmdEsci);
    EXPECT_FALSE(e->isVisible());
    EXPECT_TRUE(frmAvvio->isVisible());
    EXPECT_FALSE(frmMenuLavoro->isVisible());
    openEditor();
    EXPECT_EQ(e->txtCliente.text(), QString());
    EXPECT_EQ(e->lblPosizione.text(), QString());
    EXPECT_EQ(e->lblFile01.text(), QString());
    EXPECT_TRUE(focusIs(e->txtTipoImpianto));
    e->close(); // the frame's close does the same
    EXPECT_TRUE(frmAvvio->isVisible());
}

TEST_F(EditorTest, DocumentCommandsOpenTheirWindowsOnTheSheetOnScreen)
{
    QStringList opened;
    orv::jobs::setDocumentWindows([&](QWidget* owner, orv::jobs::JobSheetDocument d) {
        EXPECT_EQ(owner, e);
        // What the document windows read: the values on screen, never saved.
        opened << QString::number(int(d)) + u' ' + frmLavoro->txtCliente.text();
    });
    e->txtCliente.setText(u"Mai salvato"_qs);
    click(e->cmdStampa);
    click(e->cmdAnteprima);
    click(e->cmdPDF);
    orv::jobs::setDocumentWindows({});
    click(e->cmdStampa);
    EXPECT_EQ(opened, QStringList({u"0 Mai salvato"_qs, u"1 Mai salvato"_qs, u"2 Mai salvato"_qs}));
    EXPECT_FALSE(QFile::exists(programFolder() + u"2026.lav"_qs));
}

} // namespace
