// The customer finder and the two customer lists, opened from the editor and driven with
// real keys and clicks; the chosen card written into the caller its tag names.
#include "window_fixture.h"

#include "kit/windowtable.h"
#include "shell/startup.h"
#include "customers/callers.h"
#include "customers/listscadenzario.h"
#include "customers/ricontatta.h"
#include "customers/trovaclienti.h"

#include <QDir>
#include <QListView>

using namespace orv::customers;
using namespace orv::platform::ui;

using namespace orv::platform::ui;
using orv::test::card;
using orv::test::CustomerWindowTest;
using orv::test::MessageCall;

namespace {

const QString kListAccess = u"Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere "
                        u"i privilegi di scrittura nella cartella di installazione del programma."_qs;
const QString kEmptyList = u"Ricerca non applicabile: la lista non contiene nessuna voce."_qs;

// Selects the line with a click, then double-clicks it, as a user does.
void doubleClickListLine(ListBox& box, int row)
{
    auto* w = box.listWidget();
    w->doItemsLayout();
    const QPoint at = w->visualItemRect(w->item(row)).center();
    QTest::mouseClick(w->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(w->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

class ListsTest : public CustomerWindowTest {
protected:
    // Opens the finder from the editor's Trova and runs `script` in it.
    void inFinder(std::function<void(TfrmTrovaClienti&)> script)
    {
        modal.scripts[u"frmTrovaClienti"_qs] = [script](Form& f) { script(static_cast<TfrmTrovaClienti&>(f)); };
        click(editor().cmdTrova);
        ASSERT_EQ(modal.shown.count(u"frmTrovaClienti"_qs), 1);
        modal.shown.clear();
    }
    static void search(TfrmTrovaClienti& f)
    {
        QTest::mousePress(f.btnCerca.widget(), Qt::LeftButton);
        EXPECT_TRUE(f.lblAttendere.visible());
        QTest::mouseRelease(f.btnCerca.widget(), Qt::LeftButton);
    }
};

// The list windows share one frame: client area 862 x 560, every control inside it, and
// in the results Chiudi on the left of Stampa on the same line.
void expectListFrame(const Form& f)
{
    EXPECT_EQ(f.size(), QSize(862, 560)) << f.objectName().toStdString();
    for (const auto& c : f.controls()) {
        const QRect at(c->widget()->mapTo(&f, QPoint(0, 0)), c->widget()->size());
        EXPECT_TRUE(QRect(0, 0, 862, 560).contains(at)) << c->name().toStdString();
    }
    const Control* chiudi = f.findControl(u"btnChiudi"_qs);
    const Control* stampa = f.findControl(u"btnStampa"_qs);
    ASSERT_TRUE(chiudi && stampa);
    EXPECT_EQ(chiudi->top(), stampa->top());
    EXPECT_LT(chiudi->left() + chiudi->width(), stampa->left());
}

TEST_F(ListsTest, ListWindowLayoutAsDesigned)
{
    inFinder([&](TfrmTrovaClienti& f) {
        expectListFrame(f);
        search(f);
        expectListFrame(f);
    });
    bool shown = false;
    modal.scripts[u"frmRicontatta"_qs] = [&](Form& f) { expectListFrame(f); shown = true; };
    click(editor().cmdRicontatta);
    modal.scripts[u"frmListScadenzario"_qs] = [&](Form& f) { expectListFrame(f); };
    click(editor().btnScadenzario);
    EXPECT_TRUE(shown);
    EXPECT_EQ(modal.shown.count(u"frmListScadenzario"_qs), 1);
}

TEST_F(ListsTest, FinderSearchesByCriteriaAndListsSortedLines)
{
    const QList<TCliente> cards = {
        card({{&TCliente::Cliente, "Rossi Mario"}, {&TCliente::Recapito, "011 1"}, {&TCliente::Marca, "Caldex"},
              {&TCliente::Matricola, "M-1"}, {&TCliente::Note, "cliente storico"}}),
        card({{&TCliente::Cliente, "Bianchi Anna"}, {&TCliente::ComuneRes, "Roma"}}),
        card({{&TCliente::Cliente, "rossini gioacchino"}, {&TCliente::ComuneRes, "Pesaro"}}),
        card({{&TCliente::Cliente, "ROSSI È"}, {&TCliente::ComuneRes, "Roma"}}),
    };
    writeArchive(cards);
    inFinder([&](TfrmTrovaClienti& f) {
        EXPECT_EQ(f.caption(), u" Trova Clienti in archivio"_qs);
        EXPECT_EQ(f.lblMemory.text(), u"clienti"_qs);
        EXPECT_TRUE(f.panAvvio.visible());
        EXPECT_FALSE(f.panContainer.visible());
        EXPECT_EQ(f.focusedControl(), &f.txtCliente);
        EXPECT_TRUE(f.findControl(u"effCliente"_qs)->visible());

        // Enter walks the ten criteria and comes back to the first.
        for (Edit* c : f.criteria()) {
            EXPECT_EQ(f.focusedControl(), c);
            key(f, Qt::Key_Return);
        }
        EXPECT_EQ(f.focusedControl(), &f.txtCliente);

        keys(f, u"rossi"_qs);
        f.txtComuneRes.setFocus();
        keys(f, u"   "_qs);  // blanks only: not in use
        search(f);
        EXPECT_FALSE(f.panAvvio.visible());
        EXPECT_TRUE(f.panContainer.visible());
        EXPECT_EQ(f.lblConta.text(), u"1"_qs);
        EXPECT_EQ(f.lblTrovate.text(), u"Il presente riepilogo contiene 3 schede."_qs);
        EXPECT_EQ(f.focusedControl(), &f.txtTrova);
        EXPECT_EQ(f.lstRecords.itemsText(),
                  QStringList({RigaTrovaClienti(cards[0]), RigaTrovaClienti(cards[3]), RigaTrovaClienti(cards[2])}));

        // Find-in-list: a new text from the top, the same text after the selection, wrapping.
        keys(f, u"ROSS"_qs);
        key(f, Qt::Key_Return);
        EXPECT_EQ(f.focusedControl(), &f.btnTrova);
        const int expected[] = {0, 1, 2, 0};
        for (int row : expected) {
            click(f.btnTrova);
            EXPECT_EQ(f.lstRecords.itemIndex(), row);
        }
        f.txtTrova.setText(u"è"_qs);  // accented letters compared as they are: no match, the selection stays
        click(f.btnTrova);
        EXPECT_EQ(f.lstRecords.itemIndex(), 0);
        f.txtTrova.setText(u"È"_qs);
        click(f.btnTrova);
        EXPECT_EQ(f.lstRecords.itemIndex(), 1);
        click(f.btnTrova);  // the only match stays selected
        EXPECT_EQ(f.lstRecords.itemIndex(), 1);
        f.txtTrova.setText(u"MARIO"_qs);  // a new text is looked for from the top
        click(f.btnTrova);
        EXPECT_EQ(f.lstRecords.itemIndex(), 0);
        f.txtTrova.setText(QString());
        click(f.btnTrova);  // an empty text never matches
        EXPECT_EQ(f.lstRecords.itemIndex(), 0);
        EXPECT_TRUE(messages.calls.empty());

        click(f.btnStampa);
        EXPECT_EQ(prints.listPrints, 1);
        EXPECT_EQ(prints.title, u"Riepilogo Clienti e impianti"_qs);
        EXPECT_EQ(prints.lines, f.lstRecords.itemsText());

        click(f.btnChiudi);
        EXPECT_FALSE(f.isVisible());
        EXPECT_EQ(f.lstRecords.count(), 0);
    });
    // Closing loaded nothing.
    EXPECT_EQ(editor().lblPosizione.text(), QString());
}

TEST_F(ListsTest, FinderCountsAndFailures)
{
    // No criterion lists every card; an empty archive says 0.
    inFinder([&](TfrmTrovaClienti& f) {
        search(f);
        EXPECT_EQ(f.lblConta.text(), u"0"_qs);
        EXPECT_EQ(f.lblTrovate.text(), u"Il presente riepilogo contiene 0 schede."_qs);
        click(f.btnTrova);
        ASSERT_EQ(messages.calls.size(), 1u);
        EXPECT_EQ(messages.last().kind, MessageCall::Plain);
        EXPECT_EQ(messages.last().text, kEmptyList);
        messages.clear();
        click(f.btnChiudi);
    });
    writeArchive({card({{&TCliente::Cliente, "Unico"}})});
    inFinder([&](TfrmTrovaClienti& f) {
        search(f);
        EXPECT_EQ(f.lblTrovate.text(), u"Il presente riepilogo contiene 1 schede."_qs);
    });

    QFile::remove(orv::platform::programFile(TCliente::kFileName));
    ASSERT_TRUE(QDir(programFolder()).mkdir(TCliente::kFileName));
    inFinder([&](TfrmTrovaClienti& f) {
        search(f);
        ASSERT_EQ(messages.calls.size(), 1u);
        EXPECT_EQ(messages.last().kind, MessageCall::Plain);
        EXPECT_EQ(messages.last().text, kListAccess);
        EXPECT_TRUE(f.panAvvio.visible());
        EXPECT_FALSE(f.panContainer.visible());
        click(f.btnAnnulla);
        EXPECT_FALSE(f.isVisible());
        EXPECT_FALSE(f.lblAttendere.visible());
    });
}

TEST_F(ListsTest, DoubleClickLoadsTheCardTheChosenLineWasBuiltFrom)
{
    // The names differ only after the 30th character: the two lines are identical.
    const char* const twin1 = "Ferraris Costruzioni Meccanic Nord";
    const char* const twin2 = "Ferraris Costruzioni Meccanic Sud";
    writeArchive({
        card({{&TCliente::Cliente, twin1}, {&TCliente::Marca, "Caldex"}, {&TCliente::DataScade, "01/01/2027"},
              {&TCliente::Preavviso, "7"}, {&TCliente::Ricontatta, "Sì"}, {&TCliente::File02, "a.pdf"}}),
        card({{&TCliente::Cliente, "Bianchi"}}),
        card({{&TCliente::Cliente, twin2}, {&TCliente::Marca, "Caldex"}, {&TCliente::DataScade, "02/02/2027"},
              {&TCliente::Preavviso, "9"}, {&TCliente::Ricontatta, "No"}, {&TCliente::ProvRes, "zz"}}),
    });
    for (int chosen : {1, 2}) {
        inFinder([&](TfrmTrovaClienti& f) {
            search(f);
            ASSERT_EQ(f.lstRecords.count(), 3);
            EXPECT_EQ(f.lstRecords.item(1), f.lstRecords.item(2));
            doubleClickListLine(f.lstRecords, chosen);
            EXPECT_FALSE(f.isVisible());
        });
        if (chosen == 1) {
            EXPECT_EQ(editor().txtCliente.text(), QString::fromUtf8(twin1));
            EXPECT_EQ(editor().lblPosizione.text(), u"1"_qs);
            EXPECT_EQ(editor().txtDataScade.text(), u"01/01/2027"_qs);
            EXPECT_TRUE(editor().chkRicontatta.isChecked());
            EXPECT_EQ(editor().lblFile02.text(), u"a.pdf"_qs);
        } else {
            EXPECT_EQ(editor().txtCliente.text(), QString::fromUtf8(twin2));
            EXPECT_EQ(editor().lblPosizione.text(), u"3"_qs);
            EXPECT_EQ(editor().txtPreavviso.text(), u"9"_qs);
            EXPECT_FALSE(editor().chkRicontatta.isChecked());
            EXPECT_EQ(editor().lblFile02.text(), QString());
            EXPECT_EQ(editor().txtProvRes.text(), u"zz"_qs);  // a combo takes any text
        }
    }
    EXPECT_TRUE(messages.calls.empty());
}

// The seven callers: each tag writes its own fields into its own window.
TEST_F(ListsTest, EachCallerTagWritesItsOwnFields)
{
    const TCliente c = card({
        {&TCliente::Cliente, "Rossi Mario"},        {&TCliente::Recapito, "011 1"},     {&TCliente::IndirizzoRes, ""},
        {&TCliente::ProvRes, "TO"},                 {&TCliente::ComuneRes, ""},         {&TCliente::CapRes, "10100"},
        {&TCliente::Estremi, "Bonifico"},           {&TCliente::CodFisc, "RSSMRA"},     {&TCliente::PartitaIva, "0123"},
        {&TCliente::TipoImpianto, "Caldaia"},       {&TCliente::Marca, "Caldex"},       {&TCliente::Matricola, "M-1"},
        {&TCliente::Alimentazione, "Metano"},       {&TCliente::AnnoCostruz, "2019"},   {&TCliente::Ubicazione, "Cucina"},
        {&TCliente::Caratteristiche, "24 kW"},
    });
    writeArchive({c});
    const QStringList installation = {u"txtTipoImpianto=Caldaia"_qs, u"txtMarca=Caldex"_qs, u"txtAnnoCostruz=2019"_qs,
                                      u"txtMatricola=M-1"_qs, u"txtAlimentazione=Metano"_qs, u"txtUbicazione=Cucina"_qs,
                                      u"txtCaratteristiche=24 kW"_qs};
    const QStringList document = {u"txtCliente=Rossi Mario"_qs, u"txtViaCliente="_qs, u"txtCapCliente=10100"_qs,
                                  u"txtCittaCliente="_qs, u"txtProvCliente=TO"_qs, u"txtIvaCliente=0123"_qs,
                                  u"txtCodFiscCliente=RSSMRA"_qs};
    const struct {
        const char* tag;
        const char* window;
        QStringList expected; // control=value
    } callers[] = {
        {"contratto", "frmContratto",
         QStringList{u"txtCliente=Rossi Mario"_qs, u"txtComuneCli="_qs, u"txtProvCli=TO"_qs, u"txtCapCli=10100"_qs,
                     u"txtPartitaIvaCli=0123"_qs, u"txtCodFiscCli=RSSMRA"_qs, u"txtViaCli="_qs, u"txtTelCli=011 1"_qs,
                     u"txtPagamento=Bonifico"_qs} + installation},
        {"lavoro", "frmLavoro",
         QStringList{u"txtCliente=Rossi Mario"_qs, u"txtIndirizzoCli= "_qs, u"txtTelCli=011 1"_qs,
                     u"txtCodFiscCli=RSSMRA"_qs, u"txtPagamento=Bonifico"_qs} + installation},
        {"riepilogo", "frmMenuRiepCosti", {u"txtCliente=Rossi Mario"_qs, u"txtMatricola=M-1"_qs}},
        {"scadenzario", "frmScadenzario", {u"txtPagatore=Rossi Mario"_qs, u"txtCodFisc=RSSMRA"_qs, u"txtRecapito=011 1"_qs}},
        {"preventivi", "frmPreventivi", document},
        {"ddt", "frmDDT", document},
    };
    for (const auto& caller : callers) {
        SCOPED_TRACE(caller.tag);
        // The caller's window: its controls, plus one the finder must leave alone.
        Layout layout;
        for (const QString& e : caller.expected) {
            const QString name = e.section(u'=', 0, 0);
            layout.push_back(name.startsWith(u"txtProv") ? combo(name, 0, 0, 50) : edit(name, 0, 0, 50));
        }
        layout.push_back(edit(u"txtAltro"_qs, 0, 0, 50));
        layout.push_back(label(u"lblPosizione"_qs, 0, 0, 50, 20, u"4"_qs));
        Form target(nullptr, {QString::fromLatin1(caller.window), QString(), 200, 200, Border::Single,
                              Placement::Designed, QColor(), QColor()},
                    layout);
        target.control<Edit>(u"txtAltro"_qs).setText(u"mio"_qs);
        orv::kit::setStartWindow(target.objectName(), &target);

        modal.scripts[u"frmTrovaClienti"_qs] = [](Form& f) {
            auto& finder = static_cast<TfrmTrovaClienti&>(f);
            search(finder);
            doubleClickListLine(finder.lstRecords, 0);
        };
        runDialog<TfrmTrovaClienti>(&target, [&](TfrmTrovaClienti& f) { f.lblMemory.setText(QString::fromLatin1(caller.tag)); });
        for (const QString& e : caller.expected) {
            const QString name = e.section(u'=', 0, 0);
            EXPECT_EQ(orv::kit::controlText(*target.findControl(name)), e.section(u'=', 1)) << name.toStdString();
        }
        EXPECT_EQ(target.control<Edit>(u"txtAltro"_qs).text(), u"mio"_qs);
        EXPECT_EQ(target.control<Label>(u"lblPosizione"_qs).text(), u"4"_qs);
        orv::kit::setStartWindow(target.objectName(), nullptr);
    }
    // Only the editor's tag writes into the editor; an unknown tag writes nowhere.
    EXPECT_EQ(editor().txtCliente.text(), QString());
    modal.scripts[u"frmTrovaClienti"_qs] = [](Form& f) {
        auto& finder = static_cast<TfrmTrovaClienti&>(f);
        search(finder);
        doubleClickListLine(finder.lstRecords, 0);
        EXPECT_FALSE(finder.isVisible());
    };
    for (const char* tag : {"Clienti", "altro", "", "clienti "}) {
        runDialog<TfrmTrovaClienti>(&editor(), [&](TfrmTrovaClienti& f) { f.lblMemory.setText(QString::fromLatin1(tag)); });
        EXPECT_EQ(editor().txtCliente.text(), std::string(tag) == "clienti " ? u"Rossi Mario"_qs : QString()) << tag;
    }
    QStringList tags;
    for (const auto& caller : orv::customers::customerCallers()) tags << caller.tag;
    EXPECT_EQ(tags, QStringList({u"clienti"_qs, u"contratto"_qs, u"lavoro"_qs, u"riepilogo"_qs, u"scadenzario"_qs,
                                 u"ddt"_qs, u"preventivi"_qs}));
}

TEST_F(ListsTest, RecontactListShowsTheFlaggedCardsAndLoadsTheChosenOne)
{
    writeArchive({
        card({{&TCliente::Cliente, "Zeta"}, {&TCliente::Ricontatta, "Sì"}, {&TCliente::Questioni, "richiamare"},
              {&TCliente::Note, "non qui"}}),
        card({{&TCliente::Cliente, "Esse minuscola"}, {&TCliente::Ricontatta, "sì"}}),
        card({{&TCliente::Cliente, "No"}, {&TCliente::Ricontatta, "No"}}),
        card({{&TCliente::Cliente, "Vuoto"}}),
        card({{&TCliente::Cliente, "Alfa"}, {&TCliente::Ricontatta, " Sì "}, {&TCliente::DataScade, "01/02/2026"}}),
    });
    modal.scripts[u"frmRicontatta"_qs] = [&](Form& form) {
        auto& f = static_cast<TfrmRicontatta&>(form);
        EXPECT_EQ(f.caption(), u" Riepilogo Clienti da ricontattare"_qs);
        EXPECT_EQ(f.focusedControl(), &f.txtTrova);
        EXPECT_FALSE(f.findControl(u"lblTrovate"_qs));
        EXPECT_EQ(f.lstRecords.itemsText(),
                  QStringList({u"Alfa                            Tel.                       "
                               u"                      Matr. n.                       "_qs,
                               u"Zeta                            Tel.                       "
                               u"                      Matr. n.                       richiamare"_qs}));
        click(f.btnStampa);
        EXPECT_EQ(prints.title, u"Riepilogo Clienti da ricontattare"_qs);
        doubleClickListLine(f.lstRecords, 0);
        EXPECT_FALSE(f.isVisible());
    };
    click(editor().cmdRicontatta);
    EXPECT_EQ(modal.shown, QStringList{u"frmRicontatta"_qs});
    EXPECT_EQ(editor().txtCliente.text(), u"Alfa"_qs);
    EXPECT_EQ(editor().lblPosizione.text(), u"5"_qs);
    EXPECT_EQ(editor().txtDataScade.text(), u"01/02/2026"_qs);

    // An empty archive: an empty list, and Trova says so.
    writeArchive({});
    modal.scripts[u"frmRicontatta"_qs] = [&](Form& form) {
        auto& f = static_cast<TfrmRicontatta&>(form);
        EXPECT_EQ(f.lstRecords.count(), 0);
        click(f.btnTrova);
        doubleClickListLine(f.lstRecords, 0);  // nothing selected: the window closes, nothing is loaded
        EXPECT_FALSE(f.isVisible());
    };
    click(editor().cmdRicontatta);
    EXPECT_EQ(takeTexts(), QStringList{kEmptyList});
    EXPECT_EQ(editor().txtCliente.text(), u"Alfa"_qs);
}

TEST_F(ListsTest, MaintenanceDueListWithinTheNoticeSkippingABadCard)
{
    clock.at = QDateTime(QDate(2024, 5, 10), QTime(18, 0));
    const auto due = [](const char* name, const char* date, const char* notice) {
        return card({{&TCliente::Cliente, name}, {&TCliente::DataScade, date}, {&TCliente::Preavviso, notice},
                     {&TCliente::Marca, "Caldex"}});
    };
    writeArchive({
        due("A oggi", "10/05/2024", "0"),      due("B ieri", "09/05/2024", "0"),
        due("C dieci", "20/05/2024", "10"),    due("D nove", "20/05/2024", "9"),
        due("E mese", "10/06/2024", "31"),     due("F senza", "10/05/2024", ""),
        due("G data", "31/02/2024", "0"),     due("H dopo", "10/05/2024", "0"),
    });
    modal.scripts[u"frmListScadenzario"_qs] = [&](Form& form) {
        auto& f = static_cast<TfrmListScadenzario&>(form);
        EXPECT_EQ(f.caption(), u" Scadenzario manutenzioni"_qs);
        QStringList names;
        for (const QString& line : f.lstRecords.itemsText()) names << line.left(30).trimmed();
        // The cards without notice days or with a date that does not exist are skipped; the
        // list goes on to the card after them.
        EXPECT_EQ(names, QStringList({u"A oggi"_qs, u"C dieci"_qs, u"E mese"_qs, u"H dopo"_qs}));
        EXPECT_TRUE(f.lstRecords.item(1).endsWith(u"  Matr. n.                       Scadenza: 20/05/2024"_qs));
        click(f.btnStampa);
        EXPECT_EQ(prints.title, u"Scadenzario manutenzioni"_qs);
        // The card has left the selection since the list was filled: still found by its line.
        writeArchive({due("A oggi", "10/05/2024", "0"), due("B ieri", "09/05/2024", "0"),
                      due("C dieci", "20/05/2024", "10"), due("D nove", "20/05/2024", "9"),
                      due("E mese", "10/06/2024", "1")});
        doubleClickListLine(f.lstRecords, 2);
    };
    click(editor().btnScadenzario);
    EXPECT_EQ(modal.shown, QStringList{u"frmListScadenzario"_qs});
    EXPECT_EQ(editor().txtCliente.text(), u"E mese"_qs);
    EXPECT_EQ(editor().txtPreavviso.text(), u"1"_qs);
    EXPECT_EQ(editor().lblPosizione.text(), u"5"_qs);
    EXPECT_TRUE(messages.calls.empty());
}

} // namespace
