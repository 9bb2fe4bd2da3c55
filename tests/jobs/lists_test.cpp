// The job-sheet finder, the not-returned list and the export, opened from the editor's
// own commands and driven with real keys and clicks.
#include "job_fixture.h"

#include "jobs/daericonsegnare.h"
#include "jobs/explavoro.h"
#include "gui/calc.h"
#include "jobs/trovalavoro.h"

#include <QDir>
#include <QFile>
#include <QTableWidget>

using namespace orv::jobs;
using namespace orv::platform::ui;

using namespace orv::platform::ui;
using orv::test::doubleClickLine;
using orv::test::JobWindowTest;
using orv::test::MessageCall;
using orv::test::sheet;
using S = TSchedaLavoro;

namespace {

QByteArray fixture(const char* name)
{
    QFile f(QStringLiteral(ORV_FIXTURES "/jobs/") + QString::fromLatin1(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class ListsTest : public JobWindowTest {
protected:
    TfrmLavoro* e = nullptr;
    void SetUp() override
    {
        JobWindowTest::SetUp();
        e = &openEditor();
    }
    template <class W>
    void in(const QString& name, std::function<void(W&)> script)
    {
        modal.scripts[name] = [script](Form& f) { script(static_cast<W&>(f)); };
    }
    // The finder from the editor's Trova, with `script` run in it.
    void inFinder(std::function<void(TfrmTrovaLavoro&)> script)
    {
        in<TfrmTrovaLavoro>(u"frmTrovaLavoro"_qs, std::move(script));
        click(e->cmdTrova);
    }
    static QList<TSchedaLavoro> sheets()
    {
        return {
            sheet({{S::NumScheda, "2"}, {S::Data, "01/02/2026"}, {S::Cliente, "Rossi Mario"}, {S::Tecnico, "Neri"},
                   {S::Riconsegnato, "No"}, {S::TotFattura, "10,00"}}),
            sheet({{S::NumScheda, "10"}, {S::Data, "02/02/2026"}, {S::Cliente, "Mario Rossi"}, {S::Tecnico, "Bianchi"},
                   {S::Riconsegnato, "Sì"}}),
            sheet({{S::NumScheda, "3"}, {S::Data, "03/02/2026"}, {S::Cliente, "Verdi"}, {S::Tecnico, "neri"},
                   {S::Riconsegnato, ""}}),
            sheet({{S::NumScheda, "1"}, {S::Data, "04/02/2026"}, {S::Cliente, "Gialli"}, {S::Riconsegnato, " No "}}),
        };
    }
};

// ---------------------------------------------------------------- finder

TEST_F(ListsTest, FinderCriteriaAndTheSortedResults)
{
    writeYear(sheets());
    inFinder([&](TfrmTrovaLavoro& f) {
        EXPECT_EQ(f.caption(), u" Trova Schede di Lavoro in archivio"_qs);
        EXPECT_EQ(f.lblMemory.text(), u"lavoro"_qs);
        EXPECT_EQ(f.lblTrovate.text(), u"Il presente elenco contiene 0 schede."_qs);
        EXPECT_TRUE(f.panAvvio.visible());
        EXPECT_FALSE(f.panContainer.visible());
        EXPECT_TRUE(focusIs(f.txtNumScheda));
        // Enter walks the ten criteria and back to the first.
        const QList<Edit*> chain = {&f.txtData, &f.txtCliente, &f.txtIndirizzoCli, &f.txtMarca, &f.txtMatricola,
                                    &f.txtTecnico, &f.txtStato, &f.txtLavori, &f.txtAnnotazioni, &f.txtNumScheda};
        for (Edit* next : chain) {
            key(f, Qt::Key_Return);
            EXPECT_TRUE(focusIs(*next)) << next->name().toStdString();
            EXPECT_TRUE(next->highlight()->visible());
        }
        f.txtTecnico.setFocus();
        keys(f, u"NERI"_qs);
        f.txtStato.setText(u"   "_qs); // blanks only: not in use
        click(f.btnCerca);
        EXPECT_EQ(f.lblConta.text(), u"1"_qs);
        EXPECT_FALSE(f.panAvvio.visible());
        EXPECT_TRUE(f.panContainer.visible());
        EXPECT_EQ(f.lblTrovate.text(), u"Il presente elenco contiene 2 schede."_qs);
        ASSERT_EQ(f.lstRecords.count(), 2);
        EXPECT_TRUE(f.lstRecords.item(0).startsWith(u"Scheda n. 2 del 01/02/2026"));
        EXPECT_TRUE(f.lstRecords.item(1).startsWith(u"Scheda n. 3 del 03/02/2026"));
        EXPECT_TRUE(focusIs(f.txtTrova));
        click(f.btnStampa);
    });
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].title, u"Riepilogo Schede di Lavoro emesse"_qs);
    EXPECT_EQ(printed[0].lines.size(), 2);
}

TEST_F(ListsTest, FinderWithoutCriteriaListsEverySheetAndATrailingBlankCounts)
{
    writeYear(sheets());
    inFinder([&](TfrmTrovaLavoro& f) {
        click(f.btnCerca);
        EXPECT_EQ(f.lblConta.text(), u"0"_qs);
        EXPECT_EQ(f.lblTrovate.text(), u"Il presente elenco contiene 4 schede."_qs);
        // Character by character: the line of sheet 10 comes before that of sheet 2.
        EXPECT_TRUE(f.lstRecords.item(0).startsWith(u"Scheda n. 1 del"));
        EXPECT_TRUE(f.lstRecords.item(1).startsWith(u"Scheda n. 10 del"));
        EXPECT_TRUE(f.lstRecords.item(2).startsWith(u"Scheda n. 2 del"));
    });
    inFinder([&](TfrmTrovaLavoro& f) {
        f.txtCliente.setText(u"rossi "_qs);
        click(f.btnCerca);
        ASSERT_EQ(f.lstRecords.count(), 1); // "Rossi Mario", not "Mario Rossi"
        EXPECT_TRUE(f.lstRecords.item(0).contains(u"Rossi Mario"));
    });
}

TEST_F(ListsTest, FinderOnAYearWithoutAFileCreatesItAndFindsNothing)
{
    inFinder([&](TfrmTrovaLavoro& f) {
        click(f.btnCerca);
        EXPECT_EQ(f.lblTrovate.text(), u"Il presente elenco contiene 0 schede."_qs);
        click(f.btnTrova);
    });
    EXPECT_EQ(takeTexts(), QStringList({u"Ricerca non applicabile: la lista non contiene nessuna voce."_qs}));
    EXPECT_TRUE(QFile::exists(programFolder() + u"2026.lav"_qs));
}

TEST_F(ListsTest, FinderThatCannotReadTheYearSaysSoAndStaysOnItsCriteria)
{
    ASSERT_TRUE(QDir(programFolder()).mkdir(u"2026.lav"_qs));
    inFinder([&](TfrmTrovaLavoro& f) {
        click(f.btnCerca);
        EXPECT_TRUE(f.panAvvio.visible());
        EXPECT_TRUE(f.lblAttendere.visible());
    });
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.last().kind, MessageCall::Plain);
    EXPECT_EQ(messages.last().text, orv::test::kAccess);
}

TEST_F(ListsTest, DoubleClickLoadsTheChosenSheetEvenWhenTwoLinesAreEqual)
{
    // Sheets 2 and 4 give the same line (same number, date, customer, phone, brand, total).
    const TSchedaLavoro twin = sheet({{S::NumScheda, "5"}, {S::Data, "05/02/2026"}, {S::Cliente, "Gemelli"},
                                      {S::Marca, "Caldex"}, {S::TotFattura, "1,00"}});
    TSchedaLavoro a = twin, b = twin;
    a[S::Lavori] = u"primo"_qs;
    a[S::Garanzia] = u"Sì"_qs;
    b[S::Lavori] = u"secondo"_qs;
    b[S::Garanzia] = u"forse"_qs;
    b[S::Desc02] = u"allegato"_qs;
    writeYear({sheets()[0], a, sheets()[1], b});
    for (const auto& [chosen, lavori, position] :
         {std::tuple{0, "primo", "2"}, std::tuple{1, "secondo", "4"}}) {
        e->chkGaranzia.setChecked(false);
        inFinder([&, chosen = chosen](TfrmTrovaLavoro& f) {
            f.txtCliente.setText(u"gemelli"_qs);
            click(f.btnCerca);
            ASSERT_EQ(f.lstRecords.count(), 2);
            EXPECT_EQ(f.lstRecords.item(0), f.lstRecords.item(1));
            doubleClickLine(f.lstRecords, chosen);
            EXPECT_FALSE(f.isVisible());
        });
        EXPECT_EQ(e->txtLavori.text(), QString::fromUtf8(lavori));
        EXPECT_EQ(e->lblPosizione.text(), QString::fromUtf8(position));
        EXPECT_EQ(e->txtCliente.text(), u"Gemelli"_qs);
    }
    EXPECT_TRUE(e->chkGaranzia.isChecked() == false); // "forse" left the box as it was
    EXPECT_EQ(e->lblDesc02.text(), u"allegato"_qs);
}

TEST_F(ListsTest, AFinderOpenedWithAnotherTagLoadsNothing)
{
    writeYear(sheets());
    in<TfrmTrovaLavoro>(u"frmTrovaLavoro"_qs, [&](TfrmTrovaLavoro& f) {
        click(f.btnCerca);
        doubleClickLine(f.lstRecords, 0);
        EXPECT_FALSE(f.isVisible());
    });
    runDialog<TfrmTrovaLavoro>(e, [](TfrmTrovaLavoro& f) { f.lblMemory.setText(u"Lavoro"_qs); });
    EXPECT_EQ(e->txtCliente.text(), QString());
    EXPECT_EQ(e->lblPosizione.text(), QString());
    EXPECT_EQ(modal.shown, QStringList({u"frmTrovaLavoro"_qs}));
}

// ---------------------------------------------------------------- not-returned list

TEST_F(ListsTest, NotReturnedListsTheSheetsMarkedNoInFileOrder)
{
    writeYear(sheets());
    in<TfrmDaRiconsegnare>(u"frmDaRiconsegnare"_qs, [&](TfrmDaRiconsegnare& f) {
        EXPECT_EQ(f.caption(), u" Riepilogo impianti non riconsegnati"_qs);
        EXPECT_FALSE(f.lstRecords.sorted());
        ASSERT_EQ(f.lstRecords.count(), 2);
        EXPECT_TRUE(f.lstRecords.item(0).startsWith(u"Scheda n. 2 del"));
        EXPECT_TRUE(f.lstRecords.item(1).startsWith(u"Scheda n. 1 del")); // " No " trimmed is "No"
        EXPECT_TRUE(focusIs(f.txtTrova));
        click(f.btnStampa);
        doubleClickLine(f.lstRecords, 1);
    });
    click(e->cmdRiconsegnati);
    EXPECT_EQ(e->txtCliente.text(), u"Gialli"_qs);
    EXPECT_EQ(e->lblPosizione.text(), u"4"_qs);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].title, u"Riepilogo impianti non riconsegnati"_qs);
}

TEST_F(ListsTest, NotReturnedOnAnEmptyYear)
{
    in<TfrmDaRiconsegnare>(u"frmDaRiconsegnare"_qs, [&](TfrmDaRiconsegnare& f) {
        EXPECT_EQ(f.lstRecords.count(), 0);
        doubleClickLine(f.lstRecords, 0); // nothing selected: the list closes, nothing loads
        EXPECT_FALSE(f.isVisible());
    });
    click(e->cmdRiconsegnati);
    EXPECT_EQ(e->lblPosizione.text(), QString());
    EXPECT_TRUE(QFile::exists(programFolder() + u"2026.lav"_qs));
}

// ---------------------------------------------------------------- export

TEST_F(ListsTest, ExportGridAndFileMatchTheIndependentFixture)
{
    writeFile(u"2026.lav"_qs, fixture("2026.lav"));
    QList<QStringList> calcRows;
    in<TfrmExpLavoro>(u"frmExpLavoro"_qs, [&](TfrmExpLavoro& f) {
        calcRows = orv::test::exportedRows(f.grdRecords);
        EXPECT_EQ(f.caption(), u" Esporta archivio Schede di Lavoro in Microsoft Excel"_qs);
        QTableWidget* t = f.grdRecords.tableWidget();
        ASSERT_EQ(f.grdRecords.columnCount(), 26);
        EXPECT_EQ(f.grdRecords.rowCount(), 3);
        const struct {
            int col;
            const char* heading;
            int width;
        } cols[] = {{0, "N.", 60}, {1, "Scheda di Lavoro n.", 160}, {6, "Anno costruzione", 180},
                    {11, "Codice Fiscale", 200}, {24, "Estremi ricevuta o fattura", 250},
                    {25, "Data riconsegna impianto", 200}};
        for (const auto& c : cols) {
            EXPECT_EQ(t->horizontalHeaderItem(c.col)->text(), QString::fromUtf8(c.heading));
            EXPECT_EQ(t->columnWidth(c.col), c.width);
        }
        for (int c = 0; c < 26; ++c) {
            const bool editable = t->item(0, c) && (t->item(0, c)->flags() & Qt::ItemIsEditable);
            EXPECT_EQ(editable, c >= 20) << c;
        }
        EXPECT_EQ(f.grdRecords.cell(0, 2), u"3"_qs);
        EXPECT_EQ(f.grdRecords.cell(1, 2), u"3"_qs);
        EXPECT_EQ(f.grdRecords.cell(24, 0), u"Ricevuta 7 del 12/01/2026 € 120,50"_qs);
        EXPECT_EQ(f.grdRecords.cell(24, 2), u" € "_qs);
        click(f.cmdEsporta);
    });
    click(e->cmdEsporta);
    EXPECT_EQ(readFile(u"Schede_di_Lavoro.xls"_qs), fixture("Schede_di_Lavoro.xls"));
    {
    // LibreOffice Calc reads every cell as written: codes and numbers with leading zeros
    // stay text, amounts are numbers.
    if (orv::test::calcProgram().isEmpty()) GTEST_SKIP() << "soffice is not installed";
    QString why;
    const auto read = orv::test::openInCalc({programFolder() + u"Schede_di_Lavoro.xls"_qs}, &why);
    ASSERT_TRUE(read) << why.toStdString();
    orv::test::expectAsWritten(read->at(0), orv::jobs::exportSheet(), calcRows);
    EXPECT_TRUE(orv::test::hasTextCell(read->at(0), u"01234567890"_qs));
    EXPECT_TRUE(orv::test::hasTextCell(read->at(0), u"011 123456"_qs));
    EXPECT_TRUE(orv::test::hasTextCell(read->at(0), u"01/03/2026"_qs));
    }
    EXPECT_EQ(shell.opened, QStringList({u"\""_qs + programFolder() + u"Schede_di_Lavoro.xls\""_qs}));
    ASSERT_EQ(messages.calls.size(), 2u);
    EXPECT_EQ(messages.calls[0].kind, MessageCall::Confirmation);
    EXPECT_EQ(messages.calls[1].text,
              u"Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?"_qs);
}

TEST_F(ListsTest, ExportOfAnEmptyYearWritesTenEmptyRows)
{
    QString help;
    in<TfrmExpLavoro>(u"frmExpLavoro"_qs, [&](TfrmExpLavoro& f) {
        EXPECT_EQ(f.grdRecords.rowCount(), 10);
        messages.answers = {mrYes, mrNo};
        click(f.cmdEsporta);
        help = f.helpParagraphs().join(u"|"_qs);
    });
    click(e->cmdEsporta);
    const QByteArray file = readFile(u"Schede_di_Lavoro.xls"_qs);
    EXPECT_EQ(file.count("<tr>"), 11);
    EXPECT_EQ(file.count("<td style=\"text-align: left;\" sdnum=\"1040;0;@\"></td>"), 250);
    EXPECT_FALSE(file.contains('\n'));
    EXPECT_TRUE(file.contains("<x:Name>Riepilogo Schede di Lavoro</x:Name>"));
    EXPECT_TRUE(shell.opened.isEmpty());
    EXPECT_TRUE(help.contains(u"tutte le Schede di Lavoro emesse in un anno solare"));
    EXPECT_TRUE(QFile::exists(programFolder() + u"2026.lav"_qs));
}

} // namespace
