// The cost summary: its criteria window as the year menu opens it, and the summary
// window it opens, through their real controls.
#include "job_fixture.h"

#include "shell/avvio.h"
#include "kit/dialogs/guida.h"
#include "customers/cliente.h"
#include "customers/trovaclienti.h"
#include "jobs/menulavoro.h"
#include "jobs/menuriepcosti.h"
#include "jobs/riepcosti.h"

#include <QComboBox>
#include <QDir>

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

const QString kValidDate = u"\n\r\n\rPer poter visualizzare il riepilogo è necessario indicare una data valida."_qs;

class CostSummaryTest : public JobWindowTest {
protected:
    TfrmMenuRiepCosti* c = nullptr;
    void SetUp() override
    {
        JobWindowTest::SetUp();
        frmAvvio->show();
        click(frmAvvio->imgSchedeLavoro);
        showAndActivate(*frmMenuLavoro);
        click(frmMenuLavoro->btnApriRiepLavoro);
        c = frmMenuRiepCosti;
        showAndActivate(*c);
    }
    // Picks the interval as the user does: each value from its drop-down list.
    void pick(ComboEdit& field, const QString& item)
    {
        field.setFocus();
        QComboBox* box = field.comboBox();
        box->setCurrentIndex(box->findText(item));
    }
    void interval(const QString& d1, const QString& m1, const QString& d2, const QString& m2)
    {
        pick(c->txtGiornoInizio, d1);
        pick(c->txtMeseInizio, m1);
        pick(c->txtGiornoFine, d2);
        pick(c->txtMeseFine, m2);
    }
    // "Visualizza riepilogo" with `script` run in the summary that opens.
    void show(std::function<void(TfrmRiepCosti&)> script = {})
    {
        modal.scripts[u"frmRiepCosti"_qs] = [script](Form& f) {
            if (script) script(static_cast<TfrmRiepCosti&>(f));
        };
        click(c->btnVisualizza);
    }
    static QList<TSchedaLavoro> sheets()
    {
        return {
            sheet({{S::NumScheda, "1"}, {S::Data, "04/03/2026"}, {S::Cliente, "Rossi Mario"}, {S::Matricola, "M-1"},
                   {S::TotFattura, "100,00"}}),
            sheet({{S::NumScheda, "2"}, {S::Data, "05/03/2026"}, {S::Cliente, "Bianchi"}, {S::Matricola, "B-7"},
                   {S::TotFattura, "0,5"}}),
            sheet({{S::NumScheda, "10"}, {S::Data, "06/03/2026"}, {S::Cliente, "rossi luca"}, {S::Matricola, "M-2"},
                   {S::TotFattura, "20,125"}}),
            sheet({{S::NumScheda, "11"}, {S::Data, "07/03/2026"}, {S::Cliente, "Rossi Mario"}, {S::TotFattura, "5"}}),
        };
    }
};

TEST_F(CostSummaryTest, ShownEmptyOnTheYearOfTheMenu)
{
    EXPECT_EQ(c->caption(), u" Orvanta 4.0 - Riepilogo Schede di Lavoro anno 2026"_qs);
    EXPECT_TRUE(c->windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(focusIs(c->txtCliente));
    for (ComboEdit* f : {&c->txtGiornoInizio, &c->txtMeseInizio, &c->txtGiornoFine, &c->txtMeseFine})
        EXPECT_EQ(f->text(), QString());
    EXPECT_EQ(c->txtGiornoInizio.items().size(), 31);
    EXPECT_EQ(c->txtMeseFine.items().value(11), u"Dicembre"_qs);
    EXPECT_EQ(c->lblAnnoInizio.text(), u"2026"_qs);
    EXPECT_FALSE(c->lblAttendere.visible());
    EXPECT_EQ(c->txtMeseInizio.maxLength(), 9);
    // The year labels follow the year as it is typed.
    c->txtAnno.setFocus();
    c->txtAnno.setText(QString());
    keys(*c, u"20x2"_qs);
    EXPECT_EQ(c->txtAnno.text(), u"202"_qs);
    EXPECT_EQ(c->lblAnnoFine.text(), u"202"_qs);
    keys(*c, u"7"_qs);
    EXPECT_EQ(c->lblAnnoInizio.text(), u"2027"_qs);
    key(*c, Qt::Key_Return);
    EXPECT_TRUE(focusIs(c->txtCliente));
}

TEST_F(CostSummaryTest, DaysAndMonthsArePickedNeverTyped)
{
    pick(c->txtGiornoInizio, u"05"_qs);
    EXPECT_EQ(c->txtGiornoInizio.text(), u"05"_qs);
    keys(*c, u"1a"_qs);
    EXPECT_EQ(c->txtGiornoInizio.text(), u"05"_qs);
    press(c->txtGiornoInizio, Qt::Key_Backspace);
    EXPECT_EQ(c->txtGiornoInizio.text(), QString());
    pick(c->txtGiornoInizio, u"07"_qs);
    press(c->txtGiornoInizio, Qt::Key_Delete);
    EXPECT_EQ(c->txtGiornoInizio.text(), QString());
    // Enter walks start day, start month, end day, end month, then the command.
    c->txtMatricola.setFocus();
    for (Control* next : std::initializer_list<Control*>{&c->txtGiornoInizio, &c->txtMeseInizio, &c->txtGiornoFine,
                                                          &c->txtMeseFine, &c->btnVisualizza}) {
        key(*c, Qt::Key_Return);
        EXPECT_TRUE(focusIs(*next)) << next->name().toStdString();
    }
    // A text that is none of the list's goes when the field is left; case does not matter for months.
    c->txtGiornoFine.setText(u"32"_qs);
    c->txtMeseFine.setText(u" marzo "_qs);
    c->txtGiornoInizio.setText(u"5"_qs);
    c->txtMeseInizio.setText(u"Marzolino"_qs);
    for (ComboEdit* f : {&c->txtGiornoFine, &c->txtMeseFine, &c->txtGiornoInizio, &c->txtMeseInizio}) {
        f->setFocus();
        c->txtCliente.setFocus();
    }
    EXPECT_EQ(c->txtGiornoFine.text(), QString());
    EXPECT_EQ(c->txtMeseFine.text(), u" marzo "_qs);
    EXPECT_EQ(c->txtGiornoInizio.text(), QString());
    EXPECT_EQ(c->txtMeseInizio.text(), QString());
}

TEST_F(CostSummaryTest, CriteriaRefusedInOrderWithTheirMessages)
{
    const QString pickIt = u" intervallo selezionandolo dall'elenco a cascata."_qs;
    c->txtAnno.setText(u"202"_qs);
    show();
    EXPECT_EQ(takeTexts(), QStringList({u"Attenzione: indicare l'anno solare utilizzando quattro cifre."_qs}));
    EXPECT_TRUE(focusIs(c->txtAnno));
    EXPECT_FALSE(c->lblAttendere.visible());
    c->txtAnno.setText(u"2026"_qs);
    c->txtCliente.setFocus();
    const struct {
        ComboEdit* field;
        const char* value;
        QString message;
    } steps[] = {
        {&c->txtGiornoInizio, "31", u"Attenzione: indicare il giorno di inizio"_qs + pickIt},
        {&c->txtMeseInizio, "Aprile", u"Attenzione: indicare il mese di inizio"_qs + pickIt},
        {&c->txtGiornoFine, "10", u"Attenzione: indicare il giorno di fine"_qs + pickIt},
        {&c->txtMeseFine, "Marzo", u"Attenzione: indicare il mese di fine"_qs + pickIt},
    };
    for (const auto& s : steps) {
        show();
        ASSERT_EQ(messages.calls.size(), 1u);
        EXPECT_EQ(messages.last().kind, MessageCall::Warning);
        EXPECT_EQ(messages.last().text, s.message);
        EXPECT_TRUE(focusIs(*s.field));
        messages.clear();
        pick(*s.field, QString::fromUtf8(s.value));
    }
    show(); // 31 April
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Plain);
    EXPECT_EQ(messages.last().text, u"Attenzione: la data 31/04/2026 di inizio intervallo non esiste."_qs + kValidDate);
    EXPECT_TRUE(focusIs(c->txtGiornoInizio));
    messages.clear();
    pick(c->txtGiornoInizio, u"10"_qs);
    pick(c->txtMeseInizio, u"Marzo"_qs);
    pick(c->txtGiornoFine, u"05"_qs);
    c->txtCliente.setFocus();
    show(); // 10 March to 5 March
    EXPECT_EQ(takeTexts(),
              QStringList({u"Attenzione: la data di fine intervallo (05/03/2026) non può essere anteriore a quella di "
                           u"inizio intervallo (10/03/2026).\n\r\n\rPer poter visualizzare il riepilogo è necessario "
                           u"indicare un intervallo di tempo valido."_qs}));
    EXPECT_TRUE(focusIs(c->btnVisualizza));
    pick(c->txtGiornoFine, u"30"_qs);
    pick(c->txtMeseFine, u"Febbraio"_qs);
    show();
    EXPECT_EQ(takeTexts(), QStringList({u"Attenzione: la data 30/02/2026 di fine intervallo non esiste."_qs + kValidDate}));
    EXPECT_TRUE(focusIs(c->txtGiornoFine));
    EXPECT_TRUE(modal.shown.isEmpty());
}

TEST_F(CostSummaryTest, TheSummaryListsSumsAndPrints)
{
    writeYear(sheets());
    interval(u"05"_qs, u"Marzo"_qs, u"07"_qs, u"Marzo"_qs);
    c->txtCliente.setText(u"ROSSI"_qs);
    show([&](TfrmRiepCosti& r) {
        EXPECT_EQ(r.caption(), u" Orvanta 4.0 - Riepilogo Schede di Lavoro"_qs);
        EXPECT_TRUE(c->lblAttendere.visible());
        EXPECT_EQ(r.titTipologia.text(), u"ROSSI"_qs);
        EXPECT_EQ(r.lblConta.text(), u"1"_qs);
        ASSERT_EQ(r.lstRecords.count(), 2);
        EXPECT_TRUE(r.lstRecords.item(0).startsWith(u"Scheda n. 10 del 06/03/2026"));
        EXPECT_TRUE(r.lstRecords.item(1).startsWith(u"Scheda n. 11 del 07/03/2026"));
        EXPECT_EQ(r.lblIntervallo.text(), u"Dal   05/03/2026   al   07/03/2026"_qs);
        EXPECT_EQ(r.lblTotCosti.text(), u"25,125"_qs);
        EXPECT_TRUE(focusIs(r.txtTrova));
        messages.answers = {mrNo};
        click(r.btnStampa);
        EXPECT_TRUE(printed.empty());
        click(r.btnStampa);
        click(r.btnEsci);
    });
    EXPECT_FALSE(c->lblAttendere.visible());
    EXPECT_EQ(takeTexts(), QStringList({u"Si vuole stampare il presente riepilogo?"_qs,
                                        u"Si vuole stampare il presente riepilogo?"_qs}));
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].title, u"Riepilogo Schede di Lavoro - Cliente: ROSSI"_qs);
    ASSERT_EQ(printed[0].lines.size(), 5);
    EXPECT_EQ(printed[0].lines[2], u"- - - - - - - - - - - - - - - -"_qs);
    EXPECT_EQ(printed[0].lines[3], u"INTERVALLO SELEZIONATO:    Dal   05/03/2026   al   07/03/2026"_qs);
    EXPECT_EQ(printed[0].lines[4], u"TOTALE IMPORTI FATTURATI:  € 25,125"_qs);
    // The criteria keep their values for the next summary.
    EXPECT_EQ(c->txtCliente.text(), u"ROSSI"_qs);
    EXPECT_EQ(c->lblDataInizio.text(), u"05/03/2026"_qs);
}

// Designed for the same client area as the program's other module windows: a panel of
// 995 x 692 holding every control.
TEST_F(CostSummaryTest, TheSummaryWindowHasTheModuleWindowsDesignedSize)
{
    show([&](TfrmRiepCosti& r) {
        EXPECT_EQ(r.panContainer.width(), 995);
        EXPECT_EQ(r.panContainer.height(), 692);
        for (const auto& c : r.controls()) {
            if (c.get() == &r.panContainer || !c->visible()) continue;
            EXPECT_LE(c->left() + c->width(), 995) << c->name().toStdString();
            EXPECT_LE(c->top() + c->height(), 692) << c->name().toStdString();
        }
        EXPECT_GT(r.btnEsci.top(), r.lstRecords.top() + r.lstRecords.height());
    });
}

TEST_F(CostSummaryTest, AnEmptySummaryHasNothingToPrint)
{
    interval(u"01"_qs, u"Gennaio"_qs, u"31"_qs, u"Dicembre"_qs);
    show([&](TfrmRiepCosti& r) {
        EXPECT_EQ(r.titTipologia.text(), u"- - -"_qs);
        EXPECT_EQ(r.lstRecords.count(), 0);
        EXPECT_EQ(r.lblTotCosti.text(), u"0,00"_qs);
        click(r.btnStampa);
        click(r.btnTrova);
    });
    ASSERT_EQ(messages.calls.size(), 2u);
    EXPECT_EQ(messages.calls[0].kind, MessageCall::Warning);
    EXPECT_EQ(messages.calls[0].text,
              u"Operazione di stampa non applicabile: il riepilogo non contiene nessuna voce."_qs);
    EXPECT_EQ(messages.calls[1].kind, MessageCall::Plain);
    EXPECT_TRUE(printed.empty());
    EXPECT_TRUE(QFile::exists(programFolder() + u"2026.lav"_qs)); // created empty
}

TEST_F(CostSummaryTest, TheYearInTheFieldIsTheOneSummarised)
{
    QList<TSchedaLavoro> old = {sheet({{S::NumScheda, "9"}, {S::Data, "01/06/2025"}, {S::TotFattura, "7"}})};
    writeYear(old, u"2025"_qs);
    c->txtAnno.setText(u"2025"_qs);
    c->txtAnno.setFocus();
    interval(u"01"_qs, u"Gennaio"_qs, u"31"_qs, u"Dicembre"_qs);
    QString total;
    show([&](TfrmRiepCosti& r) { total = r.lblTotCosti.text(); });
    EXPECT_EQ(c->lblFile.text(), programFolder() + u"2025.lav"_qs);
    EXPECT_EQ(total, u"7,00"_qs);
}

TEST_F(CostSummaryTest, FindInListGoesOnAcrossSummaries)
{
    writeYear(sheets());
    interval(u"01"_qs, u"Marzo"_qs, u"31"_qs, u"Marzo"_qs);
    TfrmRiepCosti::UltimaRicerca.clear();
    int first = -1, second = -1, again = -1;
    show([&](TfrmRiepCosti& r) {
        r.txtTrova.setText(u"rossi"_qs);
        click(r.btnTrova);
        first = r.lstRecords.itemIndex();
        click(r.btnTrova);
        second = r.lstRecords.itemIndex();
    });
    show([&](TfrmRiepCosti& r) {
        r.lstRecords.setItemIndex(second);
        r.txtTrova.setText(u"ROSSI"_qs); // the same text, lower-cased
        click(r.btnTrova);
        again = r.lstRecords.itemIndex();
    });
    // Lines: 1 (Rossi Mario), 10 (rossi luca), 11 (Rossi Mario), 2 (Bianchi).
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(again, 2);
}

TEST_F(CostSummaryTest, CustomerFinderFillsTheTwoFilters)
{
    TCliente card;
    card.Cliente = u"  Rossi Mario "_qs;
    card.Matricola = u"M-1"_qs;
    card.Marca = u"Caldex"_qs;
    writeFile(TCliente::kFileName, card.encode());
    QString tag;
    modal.scripts[u"frmTrovaClienti"_qs] = [&](Form& f) {
        auto& finder = static_cast<TfrmTrovaClienti&>(f);
        tag = finder.lblMemory.text();
        click(finder.btnCerca);
        orv::test::doubleClickLine(finder.lstRecords, 0);
    };
    click(c->impCodTariffa);
    EXPECT_EQ(tag, u"riepilogo"_qs);
    EXPECT_EQ(c->txtCliente.text(), u"Rossi Mario"_qs);
    EXPECT_EQ(c->txtMatricola.text(), u"M-1"_qs);
}

TEST_F(CostSummaryTest, AYearFileThatCannotBeReadIsSaidAndHelpIsShown)
{
    ASSERT_TRUE(QDir(programFolder()).mkdir(u"2026.lav"_qs));
    interval(u"01"_qs, u"Gennaio"_qs, u"31"_qs, u"Dicembre"_qs);
    QString title;
    int paragraphs = 0;
    modal.scripts[u"frmGuida"_qs] = [&](Form& f) {
        title = static_cast<TfrmGuida&>(f).lblTitolo.text();
        paragraphs = int(static_cast<TfrmGuida&>(f).txtGuida.text().split(u"\r\n\r\n"_qs).size());
    };
    show([&](TfrmRiepCosti& r) {
        EXPECT_EQ(r.lblTotCosti.text(), u"0,00"_qs);
        EXPECT_EQ(r.lblIntervallo.text(), u"Dal gg/mm/aaaa al gg/mm/aaaa"_qs);
        click(r.imgGuida);
    });
    EXPECT_EQ(takeTexts(), QStringList({u"Attenzione: il file di archivio non risulta accessibile."_qs}));
    EXPECT_EQ(title, u"Riepilogo Schede di Lavoro."_qs);
    EXPECT_EQ(paragraphs, 4);
}

} // namespace
