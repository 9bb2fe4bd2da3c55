// The customer editor through its real controls: keys and clicks as a user gives them.
#include "window_fixture.h"

#include "kit/dialogs/allegacartella.h"
#include "shell/avvio.h"
#include "kit/dialogs/checkers.h"
#include "kit/dialogs/guida.h"
#include "customers/calendario.h"
#include "platform/core/cp1252.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

using namespace orv::customers;
using namespace orv::kit;
using namespace orv::platform::ui;
using namespace orv::shell;

using namespace orv::platform::ui;
using orv::test::card;
using orv::test::CustomerWindowTest;
using orv::test::MessageCall;

namespace {

const QString kAppended = u"La scheda corrente è stata inserita in archivio."_qs;
const QString kSaved = u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_qs;
const QString kEmpty = u"L'archivio non contiene nessuna scheda."_qs;
const QString kAccess = u"Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere "
                        u"i privilegi di scrittura nella cartella di installazione del programma."_qs;

const TCliente kRossi = card({{&TCliente::Cliente, "Rossi Mario"},
                              {&TCliente::Marca, "Caldex K-24"},
                              {&TCliente::Matricola, "M-1"},
                              {&TCliente::DataScade, "15/06/2026"},
                              {&TCliente::Preavviso, "30"},
                              {&TCliente::Ricontatta, "Sì"},
                              {&TCliente::File01, "foto.jpg"},
                              {&TCliente::Desc01, "Foto"}});
const TCliente kBianchi = card({{&TCliente::Cliente, "Bianchi Anna"}, {&TCliente::DataScade, "01/01/2027"},
                                {&TCliente::Preavviso, "10"}, {&TCliente::Ricontatta, "No"}});
const TCliente kVerdi = card({{&TCliente::Cliente, "Verdi Luca"}, {&TCliente::DataScade, "02/02/2027"},
                              {&TCliente::Preavviso, "5"}, {&TCliente::Ricontatta, "forse"}});

class EditorTest : public CustomerWindowTest {
protected:
    // Picks a day in the date picker opened from the due date.
    void pickDueDate(QDate day)
    {
        modal.scripts[u"frmCalendario"_qs] = [day](Form& f) {
            auto& cal = static_cast<TfrmCalendario&>(f);
            cal.calAppuntamenti.calendarWidget()->setSelectedDate(day);
            click(cal.btnImportaData);
        };
        editor().txtDataScade.setFocus();
        press(editor().txtDataScade, Qt::Key_Return);
        modal.scripts.erase(u"frmCalendario"_qs);
    }
    void typeInto(Control& c, const QString& text)
    {
        c.setFocus();
        keys(editor(), text);
    }
    bool focusIs(const Control& c) const { return editor().focusedControl() == &c; }
};

TEST_F(EditorTest, WindowLayoutAsDesigned)
{
    TfrmClienti& e = editor();
    EXPECT_EQ(e.caption(), u" Orvanta 4.0 - Archivio Clienti e impianti"_qs);
    EXPECT_EQ(e.panContainer.width(), 995);
    EXPECT_EQ(e.panContainer.height(), 692);
    const struct {
        const char* name;
        int x, y, w, maxLength;
    } fields[] = {
        {"txtCliente", 136, 42, 281, 50},      {"txtDataNasc", 424, 42, 113, 30},   {"txtComuneNasc", 544, 42, 177, 50},
        {"txtProvNasc", 728, 42, 54, 0},       {"txtSesso", 136, 90, 57, 1},        {"txtRecapito", 200, 90, 217, 50},
        {"txtIndirizzoRes", 424, 90, 297, 50}, {"txtProvRes", 728, 90, 54, 0},      {"txtComuneRes", 136, 138, 209, 50},
        {"txtCapRes", 352, 138, 65, 5},        {"txtEstremi", 424, 138, 358, 250},  {"txtTelCasa", 136, 202, 212, 30},
        {"txtTelUff", 354, 202, 212, 30},      {"txtTelCel", 572, 202, 212, 30},    {"txtFax", 136, 250, 212, 30},
        {"txtEmail", 404, 250, 351, 50},       {"txtCodFisc", 136, 314, 212, 16},   {"txtCarta", 392, 314, 249, 30},
        {"txtScadeCarta", 678, 314, 105, 30},  {"txtPartitaIva", 136, 362, 212, 11}, {"txtIban", 392, 362, 361, 27},
        {"txtTipoImpianto", 136, 426, 150, 50}, {"txtMarca", 295, 426, 212, 50},    {"txtAnnoCostruz", 516, 426, 120, 30},
        {"txtMatricola", 645, 426, 138, 50},   {"txtAlimentazione", 136, 474, 150, 50}, {"txtUbicazione", 295, 474, 212, 120},
        {"txtCaratteristiche", 516, 474, 267, 250}, {"txtQuestioni", 136, 538, 294, 250},
        {"txtDataScade", 514, 538, 120, 10},   {"txtPreavviso", 643, 538, 140, 3},  {"txtNote", 136, 602, 488, 250},
    };
    for (const auto& f : fields) {
        Control* c = e.findControl(QString::fromLatin1(f.name));
        ASSERT_TRUE(c) << f.name;
        EXPECT_EQ(QRect(c->left(), c->top(), c->width(), 0), QRect(f.x, f.y, f.w, 0)) << f.name;
        if (auto* edit = dynamic_cast<Edit*>(c)) { EXPECT_EQ(edit->maxLength(), f.maxLength) << f.name; }
        EXPECT_TRUE(c->highlight()) << f.name;
    }
    const struct {
        const char* name;
        int y;
    } commands[] = {{"cmdNuovo", 30},  {"cmdDuplica", 69},     {"cmdFile", 108},    {"cmdSalva", 147},
                    {"cmdTrova", 186}, {"cmdAnteprima", 225},  {"cmdStampa", 264},  {"cmdPDF", 303},
                    {"cmdRicontatta", 342}, {"cmdEsporta", 381}, {"cmdGuida", 420}, {"cmdEsci", 459}};
    for (const auto& c : commands) {
        Control* cmd = e.findControl(QString::fromLatin1(c.name));
        EXPECT_EQ(QRect(cmd->left(), cmd->top(), cmd->width(), cmd->height()), QRect(814, c.y, 148, 32)) << c.name;
        EXPECT_EQ(cmd->widget()->focusPolicy(), Qt::NoFocus) << c.name;
    }
    EXPECT_EQ(e.btnScadenzario.text(), u"Visualizza scadenzario"_qs);
    EXPECT_EQ(e.btnInviaAvviso.text(), u"Invia avviso scadenza"_qs);
    EXPECT_TRUE(e.txtDataScade.readOnly());
    EXPECT_EQ(e.txtProvNasc.items().size(), 112);
    EXPECT_EQ(e.txtProvRes.items().front(), u"AG"_qs);
    EXPECT_EQ(e.txtProvRes.items().back(), u"VV"_qs);
    EXPECT_EQ(e.panInfo.text(), u"Pronto per archiviare una nuova scheda..."_qs);
    for (Label* hidden : {&e.lblFile01, &e.lblFile02, &e.lblFile03, &e.lblDesc01, &e.lblDesc02, &e.lblDesc03})
        EXPECT_FALSE(hidden->visible());
}

TEST_F(EditorTest, ShowingAndNewGiveABlankCardWithTheFocusOnTheName)
{
    writeArchive({kRossi});
    click(editor().cmdPrimo);
    ASSERT_EQ(editor().lblPosizione.text(), u"1"_qs);
    EXPECT_TRUE(editor().chkRicontatta.isChecked());
    EXPECT_EQ(editor().lblFile01.text(), u"foto.jpg"_qs);
    typeInto(editor().txtNote, u"nota"_qs);

    click(editor().cmdNuovo);
    for (const auto& c : editor().controls()) {
        if (auto* e = dynamic_cast<Edit*>(c.get())) {
            EXPECT_EQ(e->text(), c->name() == u"txtPreavviso" ? u"0"_qs : QString()) << c->name().toStdString();
        }
        if (auto* e = dynamic_cast<ComboEdit*>(c.get())) { EXPECT_EQ(e->text(), QString()); }
    }
    EXPECT_FALSE(editor().chkRicontatta.isChecked());
    EXPECT_EQ(editor().lblFile01.text(), QString());
    EXPECT_EQ(editor().lblDesc01.text(), QString());
    EXPECT_EQ(editor().lblPosizione.text(), QString());
    EXPECT_TRUE(focusIs(editor().txtCliente));
    EXPECT_TRUE(editor().findControl(u"effCliente"_qs)->visible());
    EXPECT_TRUE(messages.calls.empty());

    // Every show of the window blanks the card again.
    click(editor().cmdPrimo);
    editor().hide();
    showAndActivate(editor());
    EXPECT_EQ(editor().txtCliente.text(), QString());
    EXPECT_EQ(editor().lblPosizione.text(), QString());
}

TEST_F(EditorTest, SaveChecksEachMissingValueInTurnThenAppendsAndOverwrites)
{
    const auto saveAndExpect = [&](MessageCall::Kind kind, const QString& text, const Control& focus) {
        click(editor().cmdSalva);
        ASSERT_EQ(messages.calls.size(), 1u);
        EXPECT_EQ(messages.last().kind, kind);
        EXPECT_EQ(messages.last().text, text);
        if (kind == MessageCall::Warning) { EXPECT_EQ(messages.last().buttons, unsigned(mbOk | mbCancel)); }
        EXPECT_TRUE(focusIs(focus)) << focus.name().toStdString();
        messages.clear();
        EXPECT_FALSE(QFile::exists(orv::platform::programFile(TCliente::kFileName)));
    };
    saveAndExpect(MessageCall::Warning,
                  u"Attenzione: per salvare la scheda è necessario indicare il nome del Cliente."_qs, editor().txtCliente);
    typeInto(editor().txtCliente, u"  Rossi Mario "_qs);
    saveAndExpect(MessageCall::Warning,
                  u"Attenzione: per salvare la scheda è necessario indicare la data di scadenza della manutenzione nel "
                  u"formato gg/mm/aaaa."_qs,
                  editor().txtDataScade);
    pickDueDate(QDate(2026, 6, 15));
    editor().txtPreavviso.setFocus();
    press(editor().txtPreavviso, Qt::Key_End);
    press(editor().txtPreavviso, Qt::Key_Backspace);
    saveAndExpect(MessageCall::Warning,
                  u"Attenzione: per salvare la scheda è necessario indicare i giorni di preavviso."_qs,
                  editor().txtPreavviso);
    typeInto(editor().txtPreavviso, u"0"_qs);  // no notice at all is a value too
    click(editor().chkRicontatta);

    click(editor().cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList{kAppended});
    EXPECT_EQ(messages.calls.size(), 0u);
    EXPECT_EQ(editor().lblPosizione.text(), u"1"_qs);
    QByteArray bytes = archiveBytes();
    ASSERT_EQ(bytes.size(), 3478);
    EXPECT_EQ(bytes.left(12), QByteArray("\x0BRossi Mario"));
    EXPECT_EQ(bytes.mid(1703, 11), QByteArray("\x0A" "15/06/2026"));
    EXPECT_EQ(bytes.mid(1969, 3), QByteArray("\x02S\xEC"));

    // A second card goes behind it; changing the first rewrites only its bytes.
    click(editor().cmdNuovo);
    typeInto(editor().txtCliente, u"Bianchi"_qs);
    pickDueDate(QDate(2027, 1, 1));
    click(editor().cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList{kAppended});
    EXPECT_EQ(editor().lblPosizione.text(), u"2"_qs);
    const QByteArray second = archiveBytes().mid(3478);
    click(editor().cmdPrimo);
    click(editor().chkRicontatta);
    click(editor().cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList{kSaved});
    EXPECT_EQ(editor().lblPosizione.text(), u"1"_qs);
    bytes = archiveBytes();
    ASSERT_EQ(bytes.size(), 2 * 3478);
    EXPECT_EQ(bytes.mid(1969, 3), QByteArray("\x02No"));
    EXPECT_EQ(bytes.mid(3478), second);
}

TEST_F(EditorTest, ADueDateThatDoesNotExistIsRefusedInAPlainBox)
{
    writeArchive({card({{&TCliente::Cliente, "Rossi"}, {&TCliente::DataScade, "31/02/2025"}, {&TCliente::Preavviso, "0"}})});
    const QByteArray before = archiveBytes();
    click(editor().cmdPrimo);
    editor().txtNote.setFocus();
    click(editor().cmdSalva);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Plain);
    EXPECT_EQ(messages.last().text, u"Attenzione: la data di scadenza della manutenzione 31/02/2025 non esiste.\n\r\n\rPer "
                                    u"poter salvare la scheda è necessario indicare una data valida nel formato gg/mm/aaaa."_qs);
    EXPECT_TRUE(focusIs(editor().txtDataScade));
    EXPECT_EQ(archiveBytes(), before);
}

TEST_F(EditorTest, DuplicateTurnsTheSavedCardIntoANewOneWithoutAttachments)
{
    click(editor().cmdDuplica);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Warning);
    EXPECT_EQ(messages.last().text, u"Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che questa è "
                                    u"stata inserita in archivio."_qs);
    messages.clear();

    writeArchive({kBianchi, kRossi});
    click(editor().cmdUltimo);
    editor().txtNote.setFocus();
    click(editor().cmdDuplica);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Information);
    EXPECT_EQ(messages.last().text, u"E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\rAl "
                                    u"termine premere Salva per inserire la scheda in archivio."_qs);
    messages.clear();
    EXPECT_EQ(editor().lblPosizione.text(), QString());
    EXPECT_EQ(editor().lblFile01.text(), QString());
    EXPECT_EQ(editor().lblDesc01.text(), QString());
    EXPECT_EQ(editor().txtCliente.text(), u"Rossi Mario"_qs);
    EXPECT_TRUE(focusIs(editor().txtCliente));

    click(editor().cmdSalva);
    EXPECT_EQ(takeTexts(), QStringList{kAppended});
    EXPECT_EQ(editor().lblPosizione.text(), u"3"_qs);
    const QByteArray bytes = archiveBytes();
    TCliente copy = kRossi;
    copy.File01.clear();
    copy.Desc01.clear();
    EXPECT_EQ(TCliente::decode(bytes.mid(2 * 3478)).values(), copy.values());
    EXPECT_EQ(bytes.mid(3478, 3478), kRossi.encode());
}

// Every case of the navigation table: the starting card, the command, where it lands.
TEST_F(EditorTest, NavigationInEachCase)
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
        {3, Last, "cmdPrimo", "1", false},     {3, First, "cmdUltimo", "3", false},
    };
    const TCliente cards[] = {kRossi, kBianchi, kVerdi};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.command) + " from " + std::to_string(c.start) + " of " + std::to_string(c.records));
        QFile::remove(orv::platform::programFile(TCliente::kFileName));
        writeArchive(QList<TCliente>(cards, cards + c.records));
        click(editor().cmdNuovo);
        if (c.start == First) click(editor().cmdPrimo);
        if (c.start == Last) click(editor().cmdUltimo);
        messages.clear();
        click(*editor().findControl(QString::fromLatin1(c.command)));
        EXPECT_EQ(editor().lblPosizione.text(), QString::fromLatin1(c.position));
        if (c.emptyMessage) {
            ASSERT_EQ(messages.calls.size(), 1u);
            EXPECT_EQ(messages.last().kind, MessageCall::Information);
            EXPECT_EQ(messages.last().text, kEmpty);
        } else {
            EXPECT_TRUE(messages.calls.empty());
        }
        const QString pos = editor().lblPosizione.text();
        if (!pos.isEmpty()) { EXPECT_EQ(editor().txtCliente.text(), cards[pos.toInt() - 1].Cliente); }
    }
    // A card whose flag is neither word leaves the check box as it was.
    click(editor().cmdPrimo);
    ASSERT_TRUE(editor().chkRicontatta.isChecked());
    click(editor().cmdUltimo);
    EXPECT_TRUE(editor().chkRicontatta.isChecked());
}

TEST_F(EditorTest, AnArchiveEmptiedMeanwhile)
{
    // A fresh folder: the first command creates an empty archive.
    click(editor().cmdPrimo);
    EXPECT_TRUE(QFile::exists(orv::platform::programFile(TCliente::kFileName)));
    EXPECT_EQ(archiveBytes().size(), 0);
    messages.clear();

    writeArchive({kRossi});
    click(editor().cmdPrimo);
    writeArchive({});
    click(editor().cmdIndietro);  // at record 1: nothing, before the count is looked at
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_EQ(editor().lblPosizione.text(), u"1"_qs);
    click(editor().cmdAvanti);
    EXPECT_EQ(takeTexts(), QStringList{kEmpty});
    EXPECT_EQ(editor().lblPosizione.text(), QString());
}

TEST_F(EditorTest, ArchiveFailuresShowTheAccessMessageInAnErrorBox)
{
    ASSERT_TRUE(QDir(programFolder()).mkdir(TCliente::kFileName));  // a folder where the archive belongs
    for (Control* c : std::initializer_list<Control*>{&editor().cmdPrimo, &editor().cmdIndietro, &editor().cmdAvanti,
                                                      &editor().cmdUltimo}) {
        click(*c);
        ASSERT_EQ(messages.calls.size(), 1u) << c->name().toStdString();
        EXPECT_EQ(messages.last().kind, MessageCall::Error);
        EXPECT_EQ(messages.last().text, kAccess);
        messages.clear();
    }
    typeInto(editor().txtCliente, u"Rossi"_qs);
    pickDueDate(QDate(2026, 1, 1));
    click(editor().cmdSalva);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Error);
    EXPECT_EQ(editor().lblPosizione.text(), QString());  // still a new card
}

TEST_F(EditorTest, EnterWalksTheChainToTheDatePicker)
{
    const char* const chain[] = {
        "txtCliente",   "txtDataNasc",   "txtComuneNasc", "txtProvNasc",     "txtSesso",        "txtRecapito",
        "txtIndirizzoRes", "txtProvRes", "txtComuneRes",  "txtCapRes",       "txtEstremi",      "txtTelCasa",
        "txtTelUff",    "txtTelCel",     "txtFax",        "txtEmail",        "txtCodFisc",      "txtCarta",
        "txtScadeCarta", "txtPartitaIva", "txtIban",      "txtTipoImpianto", "txtMarca",        "txtAnnoCostruz",
        "txtMatricola", "txtAlimentazione", "txtUbicazione", "txtCaratteristiche", "txtQuestioni", "txtDataScade",
    };
    editor().txtCliente.setFocus();
    for (const char* name : chain) {
        ASSERT_EQ(editor().focusedControl()->name(), QString::fromLatin1(name));
        EXPECT_TRUE(editor().focusedControl()->highlight()->visible()) << name;
        EXPECT_TRUE(modal.shown.isEmpty());
        key(editor(), Qt::Key_Return);
    }
    EXPECT_EQ(modal.shown, QStringList{u"frmCalendario"_qs});  // the thirtieth Enter

    editor().txtPreavviso.setFocus();
    key(editor(), Qt::Key_Return);
    EXPECT_TRUE(focusIs(editor().txtNote));
    key(editor(), Qt::Key_Return);
    EXPECT_TRUE(focusIs(editor().txtCliente));
    EXPECT_FALSE(editor().findControl(u"effNote"_qs)->visible());
}

TEST_F(EditorTest, NumberFieldsTakeDigitsAndEditingKeysOnly)
{
    for (Edit* e : {&editor().txtCarta, &editor().txtPartitaIva, &editor().txtPreavviso}) {
        e->setText(QString());
        typeInto(*e, u"1a2 b,3"_qs);
        EXPECT_EQ(e->text(), u"123"_qs) << e->name().toStdString();
        press(*e, Qt::Key_Left);
        press(*e, Qt::Key_Left);
        press(*e, Qt::Key_Backspace);
        press(*e, Qt::Key_Delete);
        press(*e, Qt::Key_Home);  // swallowed: the caret stays
        keys(editor(), u"9"_qs);
        EXPECT_EQ(e->text(), u"93"_qs) << e->name().toStdString();
        press(*e, Qt::Key_Tab);
        EXPECT_EQ(editor().focusedControl(), e);
    }
}

TEST_F(EditorTest, CodesAreUpperCasedAsTyped)
{
    typeInto(editor().txtCodFisc, u"rssmra80a01 "_qs);
    EXPECT_EQ(editor().txtCodFisc.text(), u"RSSMRA80A01"_qs);
    typeInto(editor().txtIban, u" it60x05428"_qs);
    EXPECT_EQ(editor().txtIban.text(), u"IT60X05428"_qs);
    typeInto(editor().txtEmail, u" rossi@example.it "_qs);
    EXPECT_EQ(editor().txtEmail.text(), u"rossi@example.it"_qs);
    typeInto(editor().txtCapRes, u"ab1 "_qs);
    EXPECT_EQ(editor().txtCapRes.text(), u"AB1 "_qs);  // on key release, not trimmed
    typeInto(editor().txtSesso, u"m"_qs);
    EXPECT_EQ(editor().txtSesso.text(), u"M"_qs);
    typeInto(editor().txtNote, u"minuscolo"_qs);
    EXPECT_EQ(editor().txtNote.text(), u"minuscolo"_qs);

    // A province not in the list is kept, upper case; leaving trims it; the list selection
    // is cleared as the field takes the focus.
    editor().txtProvRes.setItemIndex(3);
    editor().txtProvRes.setText(u"zz"_qs);
    typeInto(editor().txtProvRes, u"x"_qs);
    EXPECT_EQ(editor().txtProvRes.itemIndex(), -1);
    EXPECT_EQ(editor().txtProvRes.text(), u"ZZX"_qs);
    editor().txtProvNasc.setFocus();
    editor().txtProvNasc.setText(u" mi "_qs);
    editor().txtNote.setFocus();
    EXPECT_EQ(editor().txtProvNasc.text(), u"MI"_qs);
}

// A paste keeps what fits in the field and drops the rest, as typing does; the caret
// stays after what was kept.
TEST_F(EditorTest, APasteKeepsWhatFitsAndDropsTheRest)
{
    struct Case {
        Edit* field;
        int limit;
    };
    const Case cases[] = {{&editor().txtNote, 250}, {&editor().txtCliente, 50}, {&editor().txtCodFisc, 16}};
    QString long300;
    for (int i = 0; i < 300; ++i) long300 += QChar(u'A' + i % 26);
    for (const Case& c : cases) {
        const std::string name = c.field->name().toStdString();
        EXPECT_EQ(c.field->maxLength(), c.limit) << name;
        // Across the room left: none, one short of the paste, exactly it, more than it.
        for (int room : {0, 1, 2, 3, 4, c.limit}) {
            const QString before = QString(c.limit - room, u'X');
            c.field->setText(before);
            c.field->setFocus();
            press(*c.field, Qt::Key_End);
            QGuiApplication::clipboard()->setText(u"ABC"_qs);
            press(*c.field, Qt::Key_V, Qt::ControlModifier);
            EXPECT_EQ(c.field->text(), before + u"ABC"_qs.left(room)) << name << " room " << room;
            EXPECT_EQ(c.field->caretPosition(), std::min<qsizetype>(c.limit, before.size() + 3)) << name << " room " << room;
        }
        // 300 characters into an empty field: the first that fit.
        c.field->setText(QString());
        QGuiApplication::clipboard()->setText(long300);
        press(*c.field, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(c.field->text(), long300.left(c.limit)) << name;
        // In the middle, over a selection: the selection goes, the paste fills its room and
        // what followed the caret is kept.
        c.field->setText(QString(c.limit - 2, u'X') + u"YZ"_qs);
        press(*c.field, Qt::Key_Home);
        press(*c.field, Qt::Key_Right, Qt::ShiftModifier);
        QGuiApplication::clipboard()->setText(u"ABCDEF"_qs);
        press(*c.field, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(c.field->text(), u"A"_qs + QString(c.limit - 3, u'X') + u"YZ"_qs) << name;
        EXPECT_EQ(c.field->caretPosition(), 1) << name;
    }
    EXPECT_TRUE(takeTexts().isEmpty());
}

TEST_F(EditorTest, HintLine)
{
    hover(editor().cmdSalva);
    EXPECT_EQ(editor().panInfo.text(), u"Salva la scheda corrente in archivio."_qs);
    hover(editor().txtCliente);  // fields leave it as it is
    EXPECT_EQ(editor().panInfo.text(), u"Salva la scheda corrente in archivio."_qs);
    hover(editor(), QPoint(2, 2));
    EXPECT_EQ(editor().panInfo.text(), QString());
    const std::pair<Control*, const char*> hints[] = {
        {&editor().chkRicontatta, "Annota che il Cliente è da ricontattare per questioni in sospeso."},
        {&editor().btnIban, "Controlla l'IBAN."},
        {&editor().btnScadenzario, "Visualizza il riepilogo delle manutenzioni in scadenza."},
        {&editor().cmdUltimo, "Visualizza l'ultima scheda in archivio."},
    };
    for (const auto& [c, text] : hints) {
        hover(*c);
        EXPECT_EQ(editor().panInfo.text(), QString::fromUtf8(text));
        hover(editor().lblPosizione);
        EXPECT_EQ(editor().panInfo.text(), QString());
    }
}

TEST_F(EditorTest, MailToTheCustomerAndTheMaintenanceNotice)
{
    click(editor().btnEmail);  // no address: the mail program opens without a recipient
    typeInto(editor().txtEmail, u"rossi@example.it"_qs);
    click(editor().btnEmail);
    EXPECT_EQ(shell.opened, QStringList({u"\"mailto:\""_qs, u"\"mailto:rossi@example.it\""_qs}));
    shell.opened.clear();
    editor().txtEmail.setText(QString());

    const struct {
        Control* fill;
        const char* value;
        const char* message;
        Control* focus;
    } steps[] = {
        {nullptr, "", "Attenzione: per inviare l'avviso è necessario indicare cognome e nome del Cliente.", &editor().txtCliente},
        {&editor().txtCliente, "Rossi & Figli", "Attenzione: per inviare l'avviso è necessario indicare la marca e il modello dell'impianto.", &editor().txtMarca},
        {&editor().txtMarca, "Caldex #2", "Attenzione: per inviare l'avviso è necessario indicare la data di scadenza della manutenzione.", &editor().txtDataScade},
        {&editor().txtDataScade, "", "Attenzione: per inviare l'avviso è necessario indicare l'indirizzo e-mail del Cliente.", &editor().txtEmail},
    };
    for (const auto& s : steps) {
        if (s.fill == &editor().txtDataScade) pickDueDate(QDate(2026, 6, 30));
        else if (s.fill) typeInto(*s.fill, QString::fromUtf8(s.value));
        editor().txtNote.setFocus();
        click(editor().btnInviaAvviso);
        ASSERT_EQ(messages.calls.size(), 1u);
        EXPECT_EQ(messages.last().kind, MessageCall::Warning);
        EXPECT_EQ(messages.last().text, QString::fromUtf8(s.message));
        EXPECT_EQ(editor().focusedControl(), s.focus);
        messages.clear();
    }
    EXPECT_TRUE(shell.opened.isEmpty());
    typeInto(editor().txtEmail, u"rossi@example.it"_qs);
    click(editor().btnInviaAvviso);  // the serial is empty: allowed
    EXPECT_EQ(shell.opened,
              QStringList{u"\"mailto:rossi@example.it?subject=Avviso di scadenza manutenzione periodica impianto&body="
                          u"Gentilissimo Sig. Rossi & Figli, con la presente le ricordiamo che il suo impianto Caldex #2, "
                          u"con matricola n. , deve essere sottoposto a manutenzione entro la data del 30/06/2026. "
                          u"Pertanto, la preghiamo di contattarci il prima possibile per definire tempi e modalità di "
                          u"intervento da parte del nostro personale tecnico. In attesa di un suo riscontro, porgiamo "
                          u"cordiali saluti.\""_qs});
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(EditorTest, DatePickerOnTheDueDate)
{
    // It opens on today, centred on the editor, with the tag of its one caller.
    QDate shownDay;
    modal.scripts[u"frmCalendario"_qs] = [&](Form& f) {
        auto& cal = static_cast<TfrmCalendario&>(f);
        EXPECT_EQ(cal.caption(), u" Importazione data"_qs);
        EXPECT_EQ(cal.width(), 253);
        EXPECT_EQ(cal.height(), 294);
        EXPECT_EQ(cal.lblMemory.text(), u"clienti_datascade"_qs);
        EXPECT_EQ(cal.lblCampo001.text(), u"Importare una data:"_qs);
        shownDay = cal.calAppuntamenti.calendarWidget()->selectedDate();
        cal.calAppuntamenti.calendarWidget()->setSelectedDate(QDate(2026, 4, 9));
        click(cal.btnImportaData);
        EXPECT_FALSE(cal.isVisible());
    };
    editor().txtDataScade.setFocus();
    keys(editor(), u"x"_qs);  // any key opens it
    EXPECT_EQ(shownDay, QDate(2026, 3, 15));
    EXPECT_EQ(editor().txtDataScade.text(), u"09/04/2026"_qs);

    modal.scripts[u"frmCalendario"_qs] = [](Form& f) {
        auto& cal = static_cast<TfrmCalendario&>(f);
        cal.calAppuntamenti.calendarWidget()->setSelectedDate(QDate(2030, 1, 1));
        click(cal.btnAnnulla);
    };
    press(editor().txtDataScade, Qt::Key_Return);
    EXPECT_EQ(editor().txtDataScade.text(), u"09/04/2026"_qs);
    EXPECT_EQ(modal.shown.size(), 2);

    press(editor().txtDataScade, Qt::Key_Backspace);
    EXPECT_EQ(editor().txtDataScade.text(), QString());
    editor().txtDataScade.setText(u"01/01/2026"_qs);
    press(editor().txtDataScade, Qt::Key_Delete);
    EXPECT_EQ(editor().txtDataScade.text(), QString());
    EXPECT_EQ(modal.shown.size(), 2);

    // A picker opened with any other tag writes nothing and stays open.
    TfrmCalendario other;
    other.lblMemory.setText(u"altro"_qs);
    showAndActivate(other);
    click(other.btnImportaData);
    EXPECT_TRUE(other.isVisible());
    EXPECT_EQ(editor().txtDataScade.text(), QString());
}

TEST_F(EditorTest, CardPrintPreviewAndPdfShowTheValuesOnScreen)
{
    typeInto(editor().txtCliente, u"Rossi Mario"_qs);
    typeInto(editor().txtComuneNasc, u"Torino"_qs);
    typeInto(editor().txtProvNasc, u"to"_qs);
    typeInto(editor().txtNote, u"[DATE] resta com'è"_qs);
    click(editor().cmdStampa);
    EXPECT_EQ(prints.cardCalls, QStringList{u"print"_qs});
    EXPECT_EQ(prints.card.value(u"txtTitolo"_qs), u"SCHEDA ANAGRAFICA CLIENTE"_qs);
    EXPECT_EQ(prints.card.value(u"titCampo01"_qs), u"Cognome e nome:"_qs);
    EXPECT_EQ(prints.card.value(u"txtCampo01"_qs), u"Rossi Mario"_qs);
    EXPECT_EQ(prints.card.value(u"txtCampo03"_qs), u"Torino TO"_qs);
    EXPECT_EQ(prints.card.value(u"titCampo16"_qs), u"Carta di credito:"_qs);
    EXPECT_EQ(prints.card.value(u"txtCampo16"_qs), u"N.   -  Scadenza: "_qs);
    EXPECT_EQ(prints.card.value(u"txtCampo24"_qs), u"[DATE] resta com'è"_qs);
    EXPECT_EQ(prints.card.value(u"txtCalce"_qs), u"Stampa eseguita in data 15/03/2026 alle ore 10:30:00"_qs);
    EXPECT_EQ(prints.card.size(), 50);

    click(editor().cmdAnteprima);
    EXPECT_EQ(prints.cardCalls.last(), u"preview"_qs);

    messages.answers = {mrYes};
    click(editor().cmdPDF);
    const QString pdf = orv::platform::programFile(u"Cliente.pdf"_qs);
    EXPECT_EQ(prints.cardCalls.last(), u"pdf "_qs + pdf);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Confirmation);
    EXPECT_EQ(messages.last().text,
              u"L'esportazione della scheda in PDF è terminata con successo.\r\n\r\nSi vuole aprire il file?"_qs);
    EXPECT_EQ(shell.opened, QStringList{u'"' + pdf + u'"'});

    // A failed export was reported by the engine: no question.
    messages.clear();
    prints.pdfSucceeds = false;
    click(editor().cmdPDF);
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_EQ(shell.opened.size(), 1);
}

TEST_F(EditorTest, HelpWindowWithTheEditorsTitleAndElevenParagraphs)
{
    QString title, text;
    modal.scripts[u"frmGuida"_qs] = [&](Form& f) {
        auto& g = static_cast<TfrmGuida&>(f);
        title = g.lblTitolo.text();
        text = g.txtGuida.text();
    };
    click(editor().cmdGuida);
    EXPECT_EQ(modal.shown, QStringList{u"frmGuida"_qs});
    EXPECT_EQ(title, u"Archivio Clienti e impianti."_qs);
    const QStringList paragraphs = text.split(u"\r\n\r\n"_qs);
    ASSERT_EQ(paragraphs.size(), 11);
    const char* const openings[] = {
        "L'archivio dei Clienti e degli impianti è utile per velocizzare",
        "Nell'archivio anagrafico è possibile annotare",
        "La scheda del Cliente consente, inoltre,",
        "Per inserire una scheda in archivio,",
        "Quando si compila la scheda di un Cliente",
        "Al Cliente può essere inviata una e-mail con l'avviso",
        "Il pulsante Duplica è utile",
        "Per trovare le schede dei Clienti in archivio",
        "Appositi pulsanti consentono di controllare",
        "La funzione Allega file è usata per abbinare alla scheda di ciascun Cliente fino a tre file di qualsiasi genere",
        "La scheda di ogni singolo Cliente può essere stampata",
    };
    for (int i = 0; i < 11; ++i) { EXPECT_TRUE(paragraphs[i].startsWith(QString::fromUtf8(openings[i]))) << i; }
    EXPECT_TRUE(paragraphs[5].contains(u"Gentilissimo Sig. XYZ"_qs));
    EXPECT_TRUE(paragraphs[5].contains(u"entro la data del GG/MM/AAAA."_qs));
}

TEST_F(EditorTest, ClosingShowsTheMainMenuAndDropsUnsavedValues)
{
    typeInto(editor().txtCliente, u"non salvato"_qs);
    click(editor().cmdEsci);
    EXPECT_FALSE(editor().isVisible());
    EXPECT_TRUE(frmAvvio->isVisible());
    EXPECT_TRUE(messages.calls.empty());
    frmAvvio->hide();
    showAndActivate(editor());
    EXPECT_EQ(editor().txtCliente.text(), QString());
    editor().close();  // the frame's close does the same
    EXPECT_TRUE(frmAvvio->isVisible());
}

TEST_F(EditorTest, CheckersOpenWithTheFieldsValue)
{
    QMap<QString, QString> seen;
    for (const char* name : {"frmCodFisc", "frmPartitaIva", "frmCarta", "frmIban"}) {
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
        {&editor().btnCodFisc, &editor().txtCodFisc, "", "frmCodFisc", ""},
        {&editor().btnCodFisc, &editor().txtCodFisc, "rssmra80a01l219x", "frmCodFisc", "RSSMRA80A01L219X"},
        {&editor().btnCodFisc, &editor().txtCodFisc, "01234567890", "frmPartitaIva", "01234567890"},
        {&editor().btnPartitaIva, &editor().txtPartitaIva, "0123456789", "frmPartitaIva", "0123456789"},
        {&editor().btnCarta, &editor().txtCarta, "4111111111111111", "frmCarta", "4111111111111111"},
        {&editor().btnIban, &editor().txtIban, "it60 x054", "frmIban", "IT60X054"},
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

TEST_F(EditorTest, AttachmentsGoThroughTheAttachWindowAndReachTheArchiveWithSave)
{
    writeArchive({kRossi});
    click(editor().cmdPrimo);
    QStringList shownValues;
    modal.scripts[u"frmAllegaCartella"_qs] = [&](Form& f) {
        auto& a = static_cast<TfrmAllegaCartella&>(f);
        shownValues = {a.lblMemory.text(), a.rows[0].txtFile.text(), a.rows[0].txtDesc.text(), a.rows[1].txtFile.text()};
        a.rows[0].txtDesc.setFocus();
        a.rows[0].txtDesc.selectAll();
        keys(a, u"Foto caldaia"_qs);
        click(a.btnApplica);
    };
    click(editor().cmdFile);
    EXPECT_EQ(shownValues, QStringList({u"clienti"_qs, u"foto.jpg"_qs, u"Foto"_qs, QString()}));
    EXPECT_EQ(editor().lblDesc01.text(), u"Foto caldaia"_qs);
    EXPECT_EQ(TCliente::decode(archiveBytes()).Desc01, u"Foto"_qs);  // not before Save
    click(editor().cmdSalva);
    EXPECT_EQ(TCliente::decode(archiveBytes()).Desc01, u"Foto caldaia"_qs);
    EXPECT_EQ(TCliente::decode(archiveBytes()).File01, u"foto.jpg"_qs);
}

} // namespace
