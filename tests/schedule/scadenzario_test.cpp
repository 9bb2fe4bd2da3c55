// The schedule window through its controls: the start panel and the reminder, opening a
// year, the editor's commands, the field rules, hints, help, imports and the card.
#include "window_fixture.h"

#include "shell/avvio.h"
#include "kit/dialogs/checkers.h"
#include "kit/dialogs/guida.h"
#include "customers/trovaclienti.h"
#include "warehouse/trovamagazzino.h"

#include "customers/cliente.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QFile>

#include <functional>

using namespace orv::customers;
using namespace orv::kit;
using namespace orv::platform::ui;
using namespace orv::schedule;
using namespace orv::shell;
using namespace orv::warehouse;

using namespace orv::platform::ui;
using orv::test::dueEntry;
using orv::test::MessageCall;
using orv::test::ScheduleTest;

namespace {

const QString kEmpty = u"L'archivio non contiene nessuna scheda."_qs;
const QString kAppended = u"La scheda corrente è stata salvata in archivio."_qs;
const QString kSaved = u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_qs;

class ScadenzarioTest : public ScheduleTest {
protected:
    // Fills the fields a save needs, through the keyboard and the lists.
    void fillEntry(const QString& day, const QString& month, const QString& reason)
    {
        TfrmScadenzario& w = window();
        pick(w.txtGiorno, day);
        pick(w.txtMese, month);
        pick(w.txtOreApp, u"09"_qs);
        pick(w.txtMinutiApp, u"05"_qs);
        w.txtAvviso.setFocus();
        keys(w, u"3"_qs);
        w.txtPagatore.setFocus();
        keys(w, u"  Rossi Mario  "_qs);
        w.txtBeneficiario.setFocus();
        keys(w, u"Comune"_qs);
        w.txtDettagli.setFocus();
        keys(w, reason);
    }
};

TEST_F(ScadenzarioTest, StartPanelProposesTheYearAndCreatesTheCurrentArchive)
{
    TfrmScadenzario& w = window();
    EXPECT_EQ(w.caption(), u" Orvanta 4.0 - Scadenze e appuntamenti"_qs);
    EXPECT_TRUE(w.panAvvio.visible());
    EXPECT_FALSE(w.panContainer.visible());
    EXPECT_EQ(w.txtAnno.text(), u"2026"_qs);
    EXPECT_EQ(w.focusedControl(), &w.txtAnno);
    EXPECT_TRUE(QFile::exists(programFolder() + u"2026.sca"_qs));
    EXPECT_EQ(yearBytes(u"2026"_qs).size(), 0);
    // No imminent entry: the blue banner, OK disabled, no sound.
    EXPECT_TRUE(w.imgAssenti.visible());
    EXPECT_FALSE(w.imgPresenti.visible());
    EXPECT_FALSE(w.btnOK.enabled());
    EXPECT_TRUE(sound.played.isEmpty());
    EXPECT_EQ(w.lblFile.text(), u"FilePath"_qs);
}

TEST_F(ScadenzarioTest, TheYearTakesDigitsOnlyAndEnterOnlyMovesToApri)
{
    TfrmScadenzario& w = window();
    w.txtAnno.lineEdit()->selectAll();
    keys(w, u"2a0-2,5x"_qs);
    EXPECT_EQ(w.txtAnno.text(), u"2025"_qs);
    key(w, Qt::Key_Return);
    EXPECT_EQ(w.focusedControl(), &w.btnApri);
    EXPECT_TRUE(w.panAvvio.visible());
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(ScadenzarioTest, AYearOfOtherThanFourCharactersIsRefused)
{
    TfrmScadenzario& w = window();
    for (const QString& year : {u"202"_qs, QString()}) {
        openYear(year);
        ASSERT_EQ(messages.calls.size(), 1u);
        EXPECT_EQ(messages.last().kind, MessageCall::Warning);
        EXPECT_EQ(messages.last().text, u"Attenzione: indicare l'anno solare utilizzando quattro cifre."_qs);
        EXPECT_EQ(messages.last().buttons, unsigned(mbOk | mbCancel));
        EXPECT_TRUE(w.panAvvio.visible());
        EXPECT_EQ(w.focusedControl(), &w.txtAnno);
        EXPECT_EQ(w.lblFile.text(), u"FilePath"_qs);
        messages.clear();
    }
}

TEST_F(ScadenzarioTest, APastedYearThatIsNotFourDigitsIsRefusedAndNamesNoFile)
{
    // Paste goes around the key filter (the field's context menu does just this), so
    // Apri itself must refuse anything but four digits before a file name is built.
    TfrmScadenzario& w = window();
    const QDir outside(programFolder() + u"/.."_qs);
    for (const QString& pasted : {u"../x"_qs, u" 202"_qs, u"20/5"_qs, u"2O25"_qs}) {
        w.txtAnno.setFocus();
        w.txtAnno.lineEdit()->selectAll();
        QGuiApplication::clipboard()->setText(pasted);
        w.txtAnno.lineEdit()->paste();
        ASSERT_EQ(w.txtAnno.text(), pasted);
        click(w.btnApri);
        ASSERT_EQ(messages.calls.size(), 1u) << pasted.toStdString();
        EXPECT_EQ(messages.last().kind, MessageCall::Warning);
        EXPECT_EQ(messages.last().text, u"Attenzione: indicare l'anno solare utilizzando quattro cifre."_qs);
        EXPECT_TRUE(w.panAvvio.visible());
        EXPECT_EQ(w.lblFile.text(), u"FilePath"_qs);
        messages.clear();
        // Nothing named from the pasted text appears next to the program folder.
        EXPECT_FALSE(outside.exists(u"x.sca"_qs));
    }
    EXPECT_EQ(QDir(programFolder()).entryList({u"*.sca"_qs}, QDir::Files), QStringList{u"2026.sca"_qs});
}

TEST_F(ScadenzarioTest, OpeningAYearShowsAnEmptyEditorWithoutTouchingItsFile)
{
    TfrmScadenzario& w = window();
    openYear(u"2025"_qs);
    EXPECT_EQ(w.lblFile.text(), programFolder() + u"2025.sca"_qs);
    EXPECT_EQ(w.caption(), u" Orvanta 4.0 - Scadenze e appuntamenti anno 2025"_qs);
    EXPECT_EQ(w.lblAnno.text(), u"2025"_qs);
    EXPECT_FALSE(w.panAvvio.visible());
    EXPECT_TRUE(w.panContainer.visible());
    EXPECT_EQ(w.txtGiorno.text(), QString());
    EXPECT_EQ(w.txtMese.text(), QString());
    EXPECT_EQ(w.txtOreApp.text(), u"00"_qs);
    EXPECT_EQ(w.txtMinutiApp.text(), u"00"_qs);
    EXPECT_EQ(w.txtCosto.text(), u"0,00"_qs);
    EXPECT_FALSE(w.chkDaConfermare.isChecked());
    EXPECT_FALSE(w.chkEffettuata.isChecked());
    EXPECT_EQ(w.lblPosizione.text(), QString());
    EXPECT_EQ(w.focusedControl(), &w.txtGiorno);
    EXPECT_TRUE(w.findControl(u"effGiorno"_qs)->visible());
    EXPECT_EQ(w.panInfo.text(), u"Pronto per archiviare una nuova scheda..."_qs);
    EXPECT_FALSE(QFile::exists(programFolder() + u"2025.sca"_qs));
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(ScadenzarioTest, SaveAppendsThenOverwritesAndStoresTheBuiltDateAndTime)
{
    TfrmScadenzario& w = window();
    openYear(u"2025"_qs);
    fillEntry(u"07"_qs, u"Luglio"_qs, u"Bollo"_qs);
    w.txtCodFisc.setFocus();
    keys(w, u"rssmra "_qs);
    EXPECT_EQ(w.txtCodFisc.text(), u"RSSMRA"_qs); // upper-cased and trimmed as typed
    click(w.chkDaConfermare);
    click(w.cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList({kAppended}));
    EXPECT_EQ(messages.calls.size(), 0u);
    EXPECT_EQ(w.lblPosizione.text(), u"1"_qs);
    QByteArray bytes = yearBytes(u"2025"_qs);
    ASSERT_EQ(bytes.size(), 1828);
    const TScadenza saved = TScadenza::decode(bytes);
    EXPECT_EQ(saved.Giorno, u"07"_qs);
    EXPECT_EQ(saved.Mese, u"Luglio"_qs);
    EXPECT_EQ(saved.Anno, u"2025"_qs);
    EXPECT_EQ(saved.Data, u"07/07/2025"_qs);
    EXPECT_EQ(saved.Ora, u"09:05"_qs);
    EXPECT_EQ(saved.Pagatore, u"Rossi Mario"_qs);
    EXPECT_EQ(saved.Costo, u"0,00"_qs);
    EXPECT_EQ(bytes.mid(1822, 6), QByteArray("\x02\x53\xEC\x02\x4E\x6F"));

    w.txtNote.setFocus();
    keys(w, u"seconda"_qs);
    click(w.cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList({kSaved}));
    EXPECT_EQ(w.lblPosizione.text(), u"1"_qs);
    bytes = yearBytes(u"2025"_qs);
    ASSERT_EQ(bytes.size(), 1828);
    EXPECT_EQ(TScadenza::decode(bytes).Note, u"seconda"_qs);
}

TEST_F(ScadenzarioTest, SaveChecksTheFieldsInTheirOrder)
{
    TfrmScadenzario& w = window();
    openYear(u"2025"_qs);
    w.txtCosto.setText(QString());
    const QString p = u"Attenzione: per salvare la scheda è necessario indicare "_qs;
    struct Step {
        std::function<void()> before;
        QString text;
        Control* focus;
    };
    const std::vector<Step> steps = {
        {[] {}, p + u"il giorno della scadenza."_qs, &w.txtGiorno},
        {[&] { w.txtGiorno.setText(u"7"_qs); }, p + u"il giorno della scadenza usando due cifre."_qs, &w.txtGiorno},
        {[&] { w.txtGiorno.setText(u"30"_qs); }, p + u"il mese della scadenza."_qs, &w.txtMese},
        {[&] { w.txtMese.setText(u"Febbraio"_qs); w.txtOreApp.setText(QString()); },
         p + u"l'ora dell'appuntamento."_qs, &w.txtOreApp},
        {[&] { w.txtOreApp.setText(u"9"_qs); w.txtMinutiApp.setText(QString()); },
         p + u"i minuti dell'ora dell'appuntamento."_qs, &w.txtMinutiApp},
        {[&] { w.txtMinutiApp.setText(u"5"_qs); }, p + u"l'ora dell'appuntamento usando due cifre."_qs, &w.txtOreApp},
        {[&] { w.txtOreApp.setText(u"09"_qs); }, p + u"i minuti dell'ora dell'appuntamento usando due cifre."_qs,
         &w.txtMinutiApp},
        {[&] { w.txtMinutiApp.setText(u"05"_qs); }, p + u"i giorni di preavviso."_qs, &w.txtAvviso},
        {[&] { w.txtAvviso.setText(u"0"_qs); }, p + u"il nome del Pagatore."_qs, &w.txtPagatore},
        {[&] { w.txtPagatore.setText(u"Rossi"_qs); }, p + u"il nome del Beneficiario."_qs, &w.txtBeneficiario},
        {[&] { w.txtBeneficiario.setText(u"Verdi"_qs); }, p + u"la causale della scadenza."_qs, &w.txtDettagli},
    };
    for (const Step& s : steps) {
        // Values put into the list fields by code, past their lists, as only a damaged
        // record could; a list field left with such a value would be emptied.
        w.txtNote.setFocus();
        s.before();
        click(w.cmdSalva);
        ASSERT_EQ(messages.calls.size(), 1u) << s.text.toStdString();
        EXPECT_EQ(messages.last().kind, MessageCall::Warning);
        EXPECT_EQ(messages.last().text, s.text);
        EXPECT_EQ(w.focusedControl(), s.focus) << s.text.toStdString();
        messages.clear();
    }
    EXPECT_EQ(w.txtCosto.text(), u"0,00"_qs); // set even though the save stopped
    EXPECT_FALSE(QFile::exists(programFolder() + u"2025.sca"_qs));

    // 30 February does not exist: the plain box names the date; nothing is written.
    w.txtDettagli.setText(u"Rata"_qs);
    click(w.cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList({u"Attenzione: la data 30/02/2025 non esiste.\n\r\n\rPer poter salvare la "
                                        u"scheda è necessario indicare una data valida."_qs}));
    EXPECT_EQ(w.focusedControl(), &w.txtGiorno);
    EXPECT_EQ(w.lblData.text(), u"30/02/2025"_qs);
    EXPECT_EQ(w.lblOra.text(), u"09:05"_qs);
    EXPECT_FALSE(QFile::exists(programFolder() + u"2025.sca"_qs));

    // A month typed past the list (only code can put it there) is refused by name.
    w.txtMese.setText(u"Febbr"_qs);
    click(w.cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList({u"Attenzione: selezionare il mese dal menu a cascata.\n\r\n\rPer poter "
                                        u"salvare la scheda è necessario indicare una data valida."_qs}));
    EXPECT_EQ(w.focusedControl(), &w.txtMese);
}

TEST_F(ScadenzarioTest, TwentyNineFebruarySavesInALeapYearOnly)
{
    TfrmScadenzario& w = window();
    for (const auto& [year, saves] : {std::pair{u"2024"_qs, true}, std::pair{u"2025"_qs, false}}) {
        reopen();
        openYear(year);
        fillEntry(u"29"_qs, u"Febbraio"_qs, u"Rata"_qs);
        click(w.cmdSalva);
        ASSERT_EQ(messages.calls.size(), 1u);
        EXPECT_EQ(messages.last().kind, saves ? MessageCall::Information : MessageCall::Plain) << year.toStdString();
        messages.clear();
    }
}

TEST_F(ScadenzarioTest, DuplicateKeepsEverythingButDateAndTimeAndSaveAppendsTheCopy)
{
    TfrmScadenzario& w = window();
    openYear(u"2026"_qs);
    click(w.cmdDuplica);
    EXPECT_EQ(takeTexts(), QStringList({u"Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che "
                                        u"questa è stata inserita in archivio."_qs}));

    writeYear(u"2026"_qs, {dueEntry(u"01/04/2026"_qs, u"08:00"_qs, u"Uno"_qs),
                           dueEntry(u"02/04/2026"_qs, u"09:00"_qs, u"Due"_qs),
                           dueEntry(u"03/04/2026"_qs, u"10:30"_qs, u"Tre"_qs)});
    click(w.cmdUltimo);
    EXPECT_EQ(w.lblPosizione.text(), u"3"_qs);
    click(w.cmdDuplica);
    EXPECT_EQ(takeTexts(), QStringList({u"E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\r"
                                        u"Al termine premere Salva per inserire la scheda in archivio."_qs}));
    EXPECT_EQ(w.lblPosizione.text(), QString());
    EXPECT_EQ(w.txtGiorno.text(), QString());
    EXPECT_EQ(w.txtMese.text(), QString());
    EXPECT_EQ(w.txtOreApp.text(), u"00"_qs);
    EXPECT_EQ(w.txtMinutiApp.text(), u"00"_qs);
    EXPECT_EQ(w.txtDettagli.text(), u"Tre"_qs);
    EXPECT_EQ(w.lblAnno.text(), u"2026"_qs);
    EXPECT_EQ(w.focusedControl(), &w.txtGiorno);

    pick(w.txtGiorno, u"10"_qs);
    pick(w.txtMese, u"Maggio"_qs);
    click(w.cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList({kAppended}));
    EXPECT_EQ(w.lblPosizione.text(), u"4"_qs);
    const QByteArray bytes = yearBytes(u"2026"_qs);
    ASSERT_EQ(bytes.size(), 4 * 1828);
    EXPECT_EQ(TScadenza::decode(bytes.mid(2 * 1828, 1828)).Data, u"03/04/2026"_qs); // the original stays
    EXPECT_EQ(TScadenza::decode(bytes.mid(3 * 1828, 1828)).Data, u"10/05/2026"_qs);
    EXPECT_EQ(TScadenza::decode(bytes.mid(3 * 1828, 1828)).Ora, u"00:00"_qs);
}

TEST_F(ScadenzarioTest, NavigationFollowsTheArchiveConventions)
{
    TfrmScadenzario& w = window();
    openYear(u"2024"_qs);
    for (Control* c : {&w.cmdPrimo, &w.cmdIndietro, &w.cmdAvanti, &w.cmdUltimo}) {
        click(*c);
        EXPECT_EQ(takeTexts(), QStringList({kEmpty}));
        EXPECT_EQ(messages.calls.size(), 0u);
    }
    EXPECT_TRUE(QFile::exists(programFolder() + u"2024.sca"_qs));

    TScadenza second = dueEntry(u"02/01/2024"_qs, u"10:00"_qs, u"Due"_qs);
    second.Costo = u"12,5"_qs;
    second.DaConfermare = u"forse"_qs; // neither word: the box stays as it is
    second.Effettuata = u"Sì"_qs;
    writeYear(u"2024"_qs, {dueEntry(u"01/01/2024"_qs, u"09:00"_qs, u"Uno"_qs), second,
                           dueEntry(u"03/01/2024"_qs, u"11:00"_qs, u"Tre"_qs)});
    struct Step {
        Control* command;
        const char* position;
        const char* reason;
    } steps[] = {
        {&w.cmdAvanti, "1", "Uno"}, {&w.cmdIndietro, "1", "Uno"}, {&w.cmdAvanti, "2", "Due"},
        {&w.cmdUltimo, "3", "Tre"}, {&w.cmdAvanti, "3", "Tre"},   {&w.cmdIndietro, "2", "Due"},
        {&w.cmdPrimo, "1", "Uno"},
    };
    for (const Step& s : steps) {
        click(*s.command);
        EXPECT_EQ(w.lblPosizione.text(), QString::fromLatin1(s.position));
        EXPECT_EQ(w.txtDettagli.text(), QString::fromLatin1(s.reason));
        EXPECT_TRUE(messages.calls.empty());
        if (QString::fromLatin1(s.reason) == u"Due") {
            EXPECT_EQ(w.txtCosto.text(), u"12,5"_qs); // shown as stored
            EXPECT_TRUE(w.chkEffettuata.isChecked());
            EXPECT_EQ(w.lblData.text(), u"02/01/2024"_qs);
        }
    }
    // A flag that is neither word leaves its box as it was.
    click(w.chkDaConfermare);
    click(w.cmdAvanti);
    EXPECT_EQ(w.txtDettagli.text(), u"Due"_qs);
    EXPECT_TRUE(w.chkDaConfermare.isChecked());
    // Previous from a new entry shows record 1 as well.
    click(w.cmdNuovo);
    click(w.cmdIndietro);
    EXPECT_EQ(w.lblPosizione.text(), u"1"_qs);
}

TEST_F(ScadenzarioTest, AnArchiveThatCannotBeOpenedGivesTheErrorBox)
{
    TfrmScadenzario& w = window();
    openYear(u"2023"_qs);
    ASSERT_TRUE(QDir(programFolder()).mkdir(u"2023.sca"_qs));
    fillEntry(u"01"_qs, u"Marzo"_qs, u"Rata"_qs);
    for (Control* c : {&w.cmdSalva, &w.cmdPrimo, &w.cmdAvanti}) {
        click(*c);
        ASSERT_EQ(messages.calls.size(), 1u);
        EXPECT_EQ(messages.last().kind, MessageCall::Error);
        EXPECT_EQ(messages.last().text, orv::test::kAccessText);
        messages.clear();
    }
    EXPECT_EQ(w.lblPosizione.text(), QString()); // still a new entry that can be saved again
}

TEST_F(ScadenzarioTest, ListFieldsTakeValuesFromTheirListsOnly)
{
    TfrmScadenzario& w = window();
    openYear(u"2026"_qs);
    keys(w, u"7a"_qs);
    EXPECT_EQ(w.txtGiorno.text(), QString());
    pick(w.txtGiorno, u"07"_qs);
    EXPECT_EQ(w.txtGiorno.text(), u"07"_qs);
    key(w, Qt::Key_Return);
    EXPECT_EQ(w.focusedControl(), &w.txtMese);
    w.txtGiorno.setFocus();
    key(w, Qt::Key_Backspace);
    EXPECT_EQ(w.txtGiorno.text(), QString());

    // Leaving a list field with a text that is not exactly one of its items empties it.
    struct Case {
        ComboEdit* field;
        const char* text;
        const char* left;
    } cases[] = {
        {&w.txtGiorno, "5", ""},        {&w.txtMese, "gennaio", ""}, {&w.txtMese, "Gennaio", "Gennaio"},
        {&w.txtOreApp, "24", ""},       {&w.txtOreApp, "23", "23"},  {&w.txtMinutiApp, "60", ""},
    };
    for (const Case& c : cases) {
        c.field->setFocus();
        c.field->setText(QString::fromLatin1(c.text));
        w.txtAvviso.setFocus();
        EXPECT_EQ(c.field->text(), QString::fromLatin1(c.left)) << c.text;
    }
    // Taking the focus clears the list selection; the text stays.
    pick(w.txtMese, u"Aprile"_qs);
    EXPECT_GE(w.txtMese.itemIndex(), 0);
    w.txtAvviso.setFocus();
    w.txtMese.setFocus();
    EXPECT_EQ(w.txtMese.itemIndex(), -1);
    EXPECT_EQ(w.txtMese.text(), u"Aprile"_qs);
}

TEST_F(ScadenzarioTest, NumberFieldsAndTheAmountRule)
{
    TfrmScadenzario& w = window();
    openYear(u"2026"_qs);
    w.txtAvviso.setFocus();
    keys(w, u"1a,5"_qs);
    EXPECT_EQ(w.txtAvviso.text(), u"15"_qs);
    struct Case {
        const char* typed;
        const char* left;
    } cases[] = {
        {"", "0,00"},          {",", "0,00"},         {"5", "5,00"},   {"5,5", "5,50"},
        {"5,555", "5,555"},    {"1,23456", "1,2346"}, {"0,125", "0,125"}, {"1,,2", "0,00"},
        {"12a", "12,00"},
    };
    for (const Case& c : cases) {
        w.txtCosto.setFocus();
        w.txtCosto.lineEdit()->selectAll();
        key(w, Qt::Key_Delete);
        keys(w, QString::fromLatin1(c.typed));
        w.txtContatto.setFocus();
        EXPECT_EQ(w.txtCosto.text(), QString::fromLatin1(c.left)) << c.typed;
    }
}

// Save is a picture that never takes the focus: the amount still being typed is tidied as
// leaving it would, and one that does not fit its 15 characters is refused by name.
TEST_F(ScadenzarioTest, SaveTidiesTheAmountBeingTypedAndRefusesOneThatDoesNotFit)
{
    TfrmScadenzario& w = window();
    openYear(u"2026"_qs);
    fillEntry(u"07"_qs, u"Luglio"_qs, u"Bollo"_qs);
    const auto typeAmount = [&](const QString& typed) {
        click(w.txtCosto);
        w.txtCosto.lineEdit()->selectAll();
        key(w, Qt::Key_Delete);
        keys(w, typed);
        ASSERT_EQ(w.focusedControl(), &w.txtCosto);
    };
    // Typed and saved at once: stored as the field shows it once left.
    struct Case {
        const char* typed;
        const char* stored;
    } cases[] = {{"12,,5", "0,00"}, {"12,5", "12,50"}, {"3,14159", "3,1416"}, {",", "0,00"}};
    for (const Case& c : cases) {
        typeAmount(QString::fromLatin1(c.typed));
        click(w.cmdSalva);
        EXPECT_EQ(messages.calls.size(), 1u) << c.typed;
        EXPECT_EQ(messages.last().kind, MessageCall::Information) << c.typed;
        messages.clear();
        EXPECT_EQ(w.txtCosto.text(), QString::fromLatin1(c.stored)) << c.typed;
        EXPECT_EQ(TScadenza::decode(yearBytes(u"2026"_qs)).Costo, QString::fromLatin1(c.stored)) << c.typed;
    }
    // Whole amounts across the field's width: ",00" makes 12 digits the longest that fits.
    const QString before = TScadenza::decode(yearBytes(u"2026"_qs)).Costo;
    for (int digits = 9; digits <= 15; ++digits) {
        const QString typed = u"123456789012345"_qs.left(digits);
        typeAmount(typed);
        click(w.cmdSalva);
        ASSERT_EQ(messages.calls.size(), 1u) << digits;
        if (digits <= 12) {
            EXPECT_EQ(messages.last().kind, MessageCall::Information) << digits;
            EXPECT_EQ(TScadenza::decode(yearBytes(u"2026"_qs)).Costo, typed + u",00"_qs) << digits;
        } else {
            const QString shown = w.txtCosto.text();
            EXPECT_EQ(shown, typed.left(w.txtCosto.maxLength()) + u",00"_qs) << digits;
            EXPECT_EQ(messages.last().kind, MessageCall::Warning) << digits;
            EXPECT_EQ(messages.last().text,
                      u"Attenzione: il valore \"%1\" del campo \"Importo in euro\" è troppo lungo: l'archivio ne può "
                      u"contenere al massimo 15 caratteri.\n\r\n\rLa scheda non è stata salvata. Correggere il valore e "
                      u"premere di nuovo Salva."_qs.arg(shown))
                << digits;
            EXPECT_EQ(w.focusedControl(), &w.txtCosto) << digits;
            EXPECT_EQ(TScadenza::decode(yearBytes(u"2026"_qs)).Costo, u"123456789012,00"_qs) << digits;
        }
        messages.clear();
    }
    EXPECT_EQ(yearBytes(u"2026"_qs).size(), 1828);
    EXPECT_NE(before, QString());
}

TEST_F(ScadenzarioTest, EnterWalksTheFieldsInARing)
{
    TfrmScadenzario& w = window();
    openYear(u"2026"_qs);
    const QList<Control*> ring = {&w.txtGiorno,   &w.txtMese,        &w.txtOreApp,     &w.txtMinutiApp,
                                  &w.txtAvviso,   &w.txtPagatore,    &w.txtCodFisc,    &w.txtRecapito,
                                  &w.txtCodice,   &w.txtTipologia,   &w.txtMarca,      &w.txtDescrizione,
                                  &w.txtAccessori, &w.txtFornitore,  &w.txtBeneficiario, &w.txtDettagli,
                                  &w.txtOfficina, &w.txtCosto,       &w.txtContatto,   &w.txtNote};
    for (Control* c : ring) {
        EXPECT_EQ(w.focusedControl(), c) << c->name().toStdString();
        EXPECT_TRUE(c->highlight() && c->highlight()->visible()) << c->name().toStdString();
        key(w, Qt::Key_Return);
    }
    EXPECT_EQ(w.focusedControl(), &w.txtGiorno);
}

TEST_F(ScadenzarioTest, HintsExplainTheControlsAndTheBackgroundClearsThem)
{
    TfrmScadenzario& w = window();
    openYear(u"2026"_qs);
    hover(w.cmdImporta);
    EXPECT_EQ(w.panInfo.text(), u"Visualizza l'anteprima di stampa."_qs);
    hover(w.txtNote); // a field keeps the hint shown
    EXPECT_EQ(w.panInfo.text(), u"Visualizza l'anteprima di stampa."_qs);
    hover(w.chkEffettuata);
    EXPECT_EQ(w.panInfo.text(), u"Spunta questa casella per annotare che il pagamento è stata effettuato."_qs);
    hover(w.impMag);
    EXPECT_EQ(w.panInfo.text(), u"Importa i dati dell'articolo dal magazzino."_qs);
    hover(w.grpData);
    EXPECT_EQ(w.panInfo.text(), QString());
}

TEST_F(ScadenzarioTest, HelpOpensWithTheTitleAndEightParagraphsFromBothPanels)
{
    TfrmScadenzario& w = window();
    QStringList titles, paragraphs;
    modal.scripts[u"frmGuida"_qs] = [&](Form& f) {
        auto& g = static_cast<TfrmGuida&>(f);
        titles << g.lblTitolo.text();
        paragraphs = g.txtGuida.text().split(u"\r\n\r\n"_qs);
    };
    click(w.imgGuida);
    openYear(u"2026"_qs);
    click(w.cmdGuida);
    EXPECT_EQ(titles, QStringList({u"Scadenze e Appuntamenti."_qs, u"Scadenze e Appuntamenti."_qs}));
    ASSERT_EQ(paragraphs.size(), 8);
    EXPECT_TRUE(paragraphs[0].startsWith(u"L'applicazione Scadenze e appuntamenti consente"_qs));
    EXPECT_TRUE(paragraphs[7].endsWith(u"in un foglio di lavoro di Microsoft Excel."_qs));
}

TEST_F(ScadenzarioTest, ThePayerImportWritesTheChosenCustomer)
{
    TfrmScadenzario& w = window();
    openYear(u"2026"_qs);
    TCliente c;
    c.Cliente = u" Bianchi Anna "_qs;
    c.CodFisc = u"BNCNNA80A41H501X"_qs;
    c.Recapito = u"333 123"_qs;
    writeFile(u"Clienti.pro"_qs, c.encode());
    w.txtNote.setText(u"resta"_qs);
    modal.scripts[u"frmTrovaClienti"_qs] = [](Form& f) {
        auto& finder = static_cast<TfrmTrovaClienti&>(f);
        EXPECT_EQ(finder.lblMemory.text(), u"scadenzario"_qs);
        click(finder.btnCerca);
        finder.lstRecords.setItemIndex(0);
        doubleClick(finder.lstRecords);
    };
    click(w.impPag);
    EXPECT_EQ(w.txtPagatore.text(), u"Bianchi Anna"_qs);
    EXPECT_EQ(w.txtCodFisc.text(), u"BNCNNA80A41H501X"_qs);
    EXPECT_EQ(w.txtRecapito.text(), u"333 123"_qs);
    EXPECT_EQ(w.txtNote.text(), u"resta"_qs);
    EXPECT_EQ(w.lblPosizione.text(), QString());
}

TEST_F(ScadenzarioTest, TheArticleImportOpensTheWarehouseFinderOwnedByTheWindow)
{
    TfrmScadenzario& w = window();
    openYear(u"2026"_qs);
    QList<QWidget*> owners;
    QStringList tags;
    modal.scripts[u"frmTrovaMagazzino"_qs] = [&](Form& f) {
        owners << f.parentWidget();
        tags << static_cast<TfrmTrovaMagazzino&>(f).lblMemory.text();
    };
    click(w.impMag);
    EXPECT_EQ(owners, QList<QWidget*>({&w}));
    EXPECT_EQ(tags, QStringList({u"scadenzario"_qs}));
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(ScadenzarioTest, TheTaxCodeButtonOpensTheCheckerTheTextCallsFor)
{
    TfrmScadenzario& w = window();
    openYear(u"2026"_qs);
    QStringList values;
    modal.scripts[u"frmCodFisc"_qs] = [&](Form& f) { values << u"CF "_qs + static_cast<TfrmCodFisc&>(f).txtCodFisc.text(); };
    modal.scripts[u"frmPartitaIva"_qs] = [&](Form& f) {
        values << u"PI "_qs + static_cast<TfrmPartitaIva&>(f).txtPartitaIva.text();
    };
    for (const QString& text : {QString(), u"01234567890"_qs, u"RSSMRA80A01H501U"_qs}) {
        w.txtCodFisc.setText(text);
        click(w.btnCodFisc);
    }
    EXPECT_EQ(values, QStringList({u"CF "_qs, u"PI 01234567890"_qs, u"CF RSSMRA80A01H501U"_qs}));
}

TEST_F(ScadenzarioTest, TheCardPrintsTheValuesOnScreen)
{
    TfrmScadenzario& w = window();
    openYear(u"2024"_qs);
    fillEntry(u"07"_qs, u"Luglio"_qs, u"Revisione"_qs);
    click(w.chkDaConfermare);
    click(w.cmdStampa);
    click(w.cmdImporta);
    EXPECT_EQ(prints.cardCalls, QStringList({u"print"_qs, u"preview"_qs}));
    EXPECT_EQ(prints.card[u"txtTitolo"_qs], u"SCHEDA SCADENZA / APPUNTAMENTO"_qs);
    EXPECT_EQ(prints.card[u"titCampo01"_qs], u"Data scadenza:"_qs);
    EXPECT_EQ(prints.card[u"txtCampo01"_qs], u"07 Luglio 2024"_qs);
    EXPECT_EQ(prints.card[u"txtCampo02"_qs], u"09:05"_qs);
    EXPECT_EQ(prints.card[u"txtCampo04"_qs], u"Rossi Mario"_qs);
    EXPECT_EQ(prints.card[u"titCampo19"_qs], u"Appuntamento da confermare:"_qs);
    EXPECT_EQ(prints.card[u"txtCampo19"_qs], u"Sì"_qs);
    EXPECT_EQ(prints.card[u"txtCampo20"_qs], u"No"_qs);
    EXPECT_EQ(prints.card[u"titCampo24"_qs], u" "_qs);
    EXPECT_EQ(prints.card[u"txtCampo24"_qs], u" "_qs);
    EXPECT_TRUE(prints.card[u"txtCalce"_qs].startsWith(u"Stampa eseguita in data 15/03/2026 alle ore "_qs));
    EXPECT_FALSE(QFile::exists(programFolder() + u"2024.sca"_qs)); // nothing saved or read
}

TEST_F(ScadenzarioTest, ClosingGoesBackToTheMainMenuAndReopensOnTheStartPanel)
{
    TfrmScadenzario& w = window();
    openYear(u"2025"_qs);
    w.txtNote.setText(u"non salvato"_qs);
    click(w.cmdEsci);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(frmAvvio->isVisible());
    EXPECT_EQ(w.caption(), u" Orvanta 4.0 - Scadenze e appuntamenti"_qs);
    frmAvvio->imgScadenzarioClick();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(frmAvvio->isVisible());
    EXPECT_TRUE(w.panAvvio.visible());
    EXPECT_FALSE(w.panContainer.visible());
    EXPECT_EQ(w.txtAnno.text(), u"2026"_qs);
    EXPECT_EQ(w.lblFile.text(), programFolder() + u"2025.sca"_qs); // kept until another year opens
}

TEST_F(ScadenzarioTest, TheReminderShowsThePresentBannerAndPlaysTheSoundOnce)
{
    TfrmScadenzario& w = window();
    writeFile(u"Avviso.mp3"_qs, "ID3");
    writeYear(u"2026"_qs, {dueEntry(u"14/03/2026"_qs, u"10:00"_qs, u"Ieri"_qs, u"5"_qs),
                           dueEntry(u"25/03/2026"_qs, u"10:00"_qs, u"Fra dieci giorni"_qs, u"10"_qs)});
    // Next year's entry whose notice begins after today (on 15/06/2026) is no reminder yet.
    writeYear(u"2027"_qs, {dueEntry(u"01/01/2027"_qs, u"10:00"_qs, u"Prossimo anno"_qs, u"200"_qs)});
    reopen();
    EXPECT_FALSE(w.imgAssenti.visible());
    EXPECT_TRUE(w.imgPresenti.visible());
    EXPECT_TRUE(w.btnOK.enabled());
    EXPECT_EQ(sound.played, QStringList({programFolder() + u"Avviso.mp3"_qs}));
    EXPECT_TRUE(messages.calls.empty());
    // Closing stops the sound; opening the window again checks again.
    click(w.imgEsci);
    EXPECT_EQ(sound.stops, 1);
    writeYear(u"2026"_qs, {dueEntry(u"25/03/2026"_qs, u"10:00"_qs, u"Fra dieci giorni"_qs, u"9"_qs)});
    frmAvvio->hide();
    showAndActivate(w);
    EXPECT_TRUE(w.imgAssenti.visible());
    EXPECT_FALSE(w.imgPresenti.visible());
    EXPECT_FALSE(w.btnOK.enabled());
    EXPECT_EQ(sound.played.size(), 1);
}

// Near the year's end the notice of an entry of next year's archive already runs: it is
// announced and listed after this year's entries. A missing next year's file is not made.
TEST_F(ScadenzarioTest, TheReminderSeesNextYearsEntriesWhoseNoticeHasBegun)
{
    TfrmScadenzario& w = window();
    clock.at = QDateTime(QDate(2026, 12, 11), QTime(9, 0));
    writeFile(u"Avviso.mp3"_qs, "ID3");
    writeYear(u"2026"_qs, {dueEntry(u"01/12/2026"_qs, u"10:00"_qs, u"Passata"_qs, u"5"_qs)});
    struct Case {
        const char* due;
        const char* notice;
        bool announced;
    } cases[] = {
        {"05/01/2027", "30", true},  // from 06/12/2026
        {"10/01/2027", "30", true},  // from 11/12/2026: today
        {"11/01/2027", "30", false}, // from 12/12/2026: tomorrow
        {"05/01/2027", "0", false},
    };
    for (const Case& c : cases) {
        writeYear(u"2027"_qs, {dueEntry(QString::fromLatin1(c.due), u"08:00"_qs, u"Rata"_qs, QString::fromLatin1(c.notice))});
        reopen();
        EXPECT_EQ(w.imgPresenti.visible(), c.announced) << c.due << " " << c.notice;
        EXPECT_EQ(w.imgAssenti.visible(), !c.announced) << c.due << " " << c.notice;
        EXPECT_EQ(w.btnOK.enabled(), c.announced) << c.due << " " << c.notice;
    }
    EXPECT_TRUE(messages.calls.empty());

    // The grid lists this year's imminent entries first, then next year's, each by date.
    writeYear(u"2026"_qs, {dueEntry(u"20/12/2026"_qs, u"10:00"_qs, u"Dicembre"_qs, u"10"_qs)});
    writeYear(u"2027"_qs, {dueEntry(u"09/01/2027"_qs, u"10:00"_qs, u"Nove"_qs, u"30"_qs),
                           dueEntry(u"02/01/2027"_qs, u"10:00"_qs, u"Due"_qs, u"30"_qs),
                           dueEntry(u"03/02/2027"_qs, u"10:00"_qs, u"Lontana"_qs, u"30"_qs)});
    reopen();
    ASSERT_TRUE(w.btnOK.enabled());
    QStringList dates;
    modal.scripts[u"frmExpImminenti"_qs] = [&](Form& f) {
        auto& grid = f.control<StringGrid>(u"grdRecords"_qs);
        for (int r = 0; r < grid.rowCount(); ++r) dates.append(grid.cell(1, r));
    };
    click(w.btnOK);
    EXPECT_EQ(dates, QStringList({u"20/12/2026"_qs, u"02/01/2027"_qs, u"09/01/2027"_qs}));

    // Without next year's file nothing is announced from it and no file is made.
    QFile::remove(programFolder() + u"2027.sca"_qs);
    writeYear(u"2026"_qs, {dueEntry(u"01/12/2026"_qs, u"10:00"_qs, u"Passata"_qs, u"5"_qs)});
    reopen();
    EXPECT_TRUE(w.imgAssenti.visible());
    EXPECT_FALSE(QFile::exists(programFolder() + u"2027.sca"_qs));
}

TEST_F(ScadenzarioTest, WithoutTheSoundFileTheBannerStillWarns)
{
    TfrmScadenzario& w = window();
    writeYear(u"2026"_qs, {dueEntry(u"15/03/2026"_qs, u"10:00"_qs, u"Oggi"_qs)});
    reopen();
    EXPECT_TRUE(w.imgPresenti.visible());
    EXPECT_TRUE(w.btnOK.enabled());
    EXPECT_TRUE(sound.played.isEmpty());
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(ScadenzarioTest, ADamagedEntryDoesNotHideTheImminentOnesAfterIt)
{
    TfrmScadenzario& w = window();
    TScadenza damaged = dueEntry(u"15/03/2026"_qs, u"10:00"_qs, u"Rotta"_qs);
    damaged.Data = u"99/99/2026"_qs;
    writeYear(u"2026"_qs, {damaged, dueEntry(u"16/03/2026"_qs, u"10:00"_qs, u"Domani"_qs, u"1"_qs)});
    reopen();
    EXPECT_TRUE(w.imgPresenti.visible());
    EXPECT_TRUE(w.btnOK.enabled());
}

} // namespace
