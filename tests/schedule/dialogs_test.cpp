// The schedule's dialogs opened from the schedule window: the finder, the three status
// lists, the export and the grids of imminent, daily and monthly entries.
#include "window_fixture.h"

#include "kit/dialogs/guida.h"
#include "schedule/elenchi.h"
#include "schedule/expscadenzario.h"
#include "gui/calc.h"
#include "schedule/griglie.h"
#include "schedule/trovascadenzario.h"

#include <QDir>
#include <QListView>

#include <functional>

using namespace orv::kit;
using namespace orv::platform::ui;
using namespace orv::schedule;

using namespace orv::platform::ui;
using orv::test::doubleClickLine;
using orv::test::dueEntry;
using orv::test::MessageCall;
using orv::test::ScheduleTest;

namespace {

const QString kEmptyList = u"Ricerca non applicabile: la lista non contiene nessuna voce."_qs;

QStringList gridColumn(const StringGrid& g, int col)
{
    QStringList out;
    for (int r = 0; r < g.rowCount(); ++r) out << g.cell(col, r);
    return out;
}

class DialogsTest : public ScheduleTest {
protected:
    // Opens the dialog by clicking `command` and runs `script` in the window of that name.
    template <class F>
    void in(Control& command, const QString& name, std::function<void(F&)> script)
    {
        modal.scripts[name] = [script](Form& f) { script(static_cast<F&>(f)); };
        click(command);
        ASSERT_EQ(modal.shown.count(name), 1) << name.toStdString();
        modal.shown.clear();
    }
    // Three entries of 2025: a paid bill, an appointment to confirm, an open payment.
    void writeThree()
    {
        TScadenza paid = dueEntry(u"05/03/2025"_qs, u"09:00"_qs, u"Bolletta luce"_qs);
        paid.Effettuata = u"Sì"_qs;
        paid.Costo = u"80,00"_qs;
        TScadenza confirm = dueEntry(u"02/01/2025"_qs, u"10:00"_qs, u"Appuntamento commercialista"_qs);
        confirm.DaConfermare = u"Sì"_qs;
        confirm.Pagatore = u"Studio Neri"_qs;
        TScadenza open = dueEntry(u"02/01/2025"_qs, u"08:30"_qs, u"Affitto"_qs);
        open.Note = u"bonifico"_qs;
        writeYear(u"2025"_qs, {paid, confirm, open});
    }
};

TEST_F(DialogsTest, FinderSearchesTheOpenYearAndLoadsTheChosenEntry)
{
    writeThree();
    openYear(u"2025"_qs);
    TfrmScadenzario& w = window();
    in<TfrmTrovaScadenzario>(w.cmdTrova, u"frmTrovaScadenzario"_qs, [&](TfrmTrovaScadenzario& f) {
        EXPECT_EQ(f.caption(), u" Trova scadenze pagamenti in archivio"_qs);
        EXPECT_EQ(f.lblMemory.text(), u"Scadenzario"_qs);
        EXPECT_EQ(f.focusedControl(), &f.txtData);
        for (Edit* c : f.criteria()) {
            EXPECT_EQ(f.focusedControl(), c);
            key(f, Qt::Key_Return);
        }
        EXPECT_EQ(f.focusedControl(), &f.txtData);
        keys(f, u"02/01"_qs);
        QTest::mousePress(f.btnCerca.widget(), Qt::LeftButton);
        EXPECT_TRUE(f.lblAttendere.visible());
        QTest::mouseRelease(f.btnCerca.widget(), Qt::LeftButton);
        EXPECT_EQ(f.lblConta.text(), u"1"_qs);
        EXPECT_EQ(f.lblTrovate.text(), u"Il presente elenco contiene 2 schede."_qs);
        EXPECT_TRUE(f.panContainer.visible());
        EXPECT_FALSE(f.panAvvio.visible());
        ASSERT_EQ(f.lstRecords.count(), 2);
        // Sorted by the line, so by the reason first.
        EXPECT_TRUE(f.lstRecords.item(0).startsWith(u"Affitto"_qs));
        EXPECT_TRUE(f.lstRecords.item(1).startsWith(u"Appuntamento commercialista"_qs));
        click(f.btnStampa);
        doubleClickLine(f.lstRecords, 1);
    });
    EXPECT_EQ(prints.listTitle, u"Riepilogo scadenze e appuntamenti"_qs);
    EXPECT_EQ(prints.listLines.size(), 2);
    EXPECT_EQ(w.lblPosizione.text(), u"2"_qs);
    EXPECT_EQ(w.txtDettagli.text(), u"Appuntamento commercialista"_qs);
    EXPECT_EQ(w.txtPagatore.text(), u"Studio Neri"_qs);
    EXPECT_TRUE(w.chkDaConfermare.isChecked());
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(DialogsTest, FinderCriteriaAreTypedTextFoldingOnlyTheLettersAToZ)
{
    TScadenza a = dueEntry(u"01/02/2025"_qs, u"08:00"_qs, u"Àcconto IVA"_qs);
    TScadenza b = dueEntry(u"01/02/2025"_qs, u"09:00"_qs, u"acconto irpef "_qs);
    b.Note = u"rata "_qs;
    writeYear(u"2025"_qs, {a, b});
    openYear(u"2025"_qs);
    struct Case {
        const char* control;
        const char* typed;
        int lines;
    } cases[] = {
        {"txtDettagli", "ACCONTO", 1}, {"txtDettagli", "àcconto", 0}, {"txtDettagli", "Àcconto", 1},
        {"txtNote", "rata ", 0},       {"txtNote", "   ", 2},         {"txtOra", "09:", 1},
    };
    for (const Case& c : cases) {
        in<TfrmTrovaScadenzario>(window().cmdTrova, u"frmTrovaScadenzario"_qs, [&](TfrmTrovaScadenzario& f) {
            f.control<Edit>(QString::fromLatin1(c.control)).setFocus();
            keys(f, QString::fromUtf8(c.typed));
            click(f.btnCerca);
            EXPECT_EQ(f.lstRecords.count(), c.lines) << c.control << " '" << c.typed << "'";
        });
    }
}

TEST_F(DialogsTest, FinderOnAnEmptyYearAndOnAnUnreadableArchive)
{
    openYear(u"2025"_qs);
    in<TfrmTrovaScadenzario>(window().cmdTrova, u"frmTrovaScadenzario"_qs, [&](TfrmTrovaScadenzario& f) {
        click(f.btnCerca);
        EXPECT_EQ(f.lblTrovate.text(), u"Il presente elenco contiene 0 schede."_qs);
        click(f.btnTrova);
        EXPECT_EQ(messages.texts(), QStringList({kEmptyList}));
    });
    messages.clear();
    QFile::remove(programFolder() + u"2025.sca"_qs);
    ASSERT_TRUE(QDir(programFolder()).mkdir(u"2025.sca"_qs));
    in<TfrmTrovaScadenzario>(window().cmdTrova, u"frmTrovaScadenzario"_qs, [&](TfrmTrovaScadenzario& f) {
        click(f.btnCerca);
        ASSERT_EQ(messages.calls.size(), 1u);
        EXPECT_EQ(messages.last().kind, MessageCall::Plain);
        EXPECT_EQ(messages.last().text, orv::test::kAccessText);
        EXPECT_TRUE(f.panAvvio.visible());
    });
}

TEST_F(DialogsTest, TwoEntriesWithTheSameLineLoadTheOneChosen)
{
    TScadenza first = dueEntry(u"10/06/2025"_qs, u"10:00"_qs, u"Rata mutuo"_qs);
    first.Note = u"prima"_qs;
    TScadenza second = first;
    second.Note = u"seconda"_qs;
    second.Effettuata = u"Sì"_qs;
    writeYear(u"2025"_qs, {first, second});
    openYear(u"2025"_qs);
    TfrmScadenzario& w = window();
    in<TfrmTrovaScadenzario>(w.cmdTrova, u"frmTrovaScadenzario"_qs, [&](TfrmTrovaScadenzario& f) {
        click(f.btnCerca);
        ASSERT_EQ(f.lstRecords.count(), 2);
        EXPECT_EQ(f.lstRecords.item(0), f.lstRecords.item(1));
        doubleClickLine(f.lstRecords, 0);
    });
    EXPECT_EQ(w.txtNote.text(), u"prima"_qs);
    EXPECT_EQ(w.lblPosizione.text(), u"1"_qs);
    // The status list of the payments made lists the second only.
    in<TfrmNonConfermati>(w.cmdEffettuate, u"frmNonConfermati"_qs, [&](TfrmNonConfermati& f) {
        ASSERT_EQ(f.lstRecords.count(), 1);
        doubleClickLine(f.lstRecords, 0);
    });
    EXPECT_EQ(w.txtNote.text(), u"seconda"_qs);
    EXPECT_EQ(w.lblPosizione.text(), u"2"_qs);
}

TEST_F(DialogsTest, StatusListsShowTheirEntriesPrintAndLoad)
{
    writeThree();
    openYear(u"2025"_qs);
    TfrmScadenzario& w = window();
    struct List {
        Control* command;
        const char* name;
        const char* caption;
        QStringList reasons;
    };
    const List lists[] = {
        {&w.cmdDaConfermare, "frmDaConfermare", " Riepilogo appuntamenti da confermare",
         {u"Appuntamento commercialista"_qs}},
        {&w.cmdDaEffettuare, "frmConfermati", " Riepilogo pagamenti da effettuare",
         {u"Affitto"_qs, u"Appuntamento commercialista"_qs}},
        {&w.cmdEffettuate, "frmNonConfermati", " Riepilogo pagamenti effettuati", {u"Bolletta luce"_qs}},
    };
    for (const List& l : lists) {
        in<orv::kit::StatusListWindow>(*l.command, QString::fromLatin1(l.name), [&](orv::kit::StatusListWindow& f) {
            EXPECT_EQ(f.caption(), QString::fromUtf8(l.caption));
            EXPECT_EQ(f.focusedControl(), &f.txtTrova);
            QStringList reasons;
            for (int i = 0; i < f.lstRecords.count(); ++i) reasons << f.lstRecords.item(i).left(30).trimmed();
            EXPECT_EQ(reasons, l.reasons) << l.name;
            click(f.btnStampa);
            EXPECT_EQ(prints.listTitle, QString::fromUtf8(l.caption).mid(1));
            doubleClickLine(f.lstRecords, f.lstRecords.count() - 1);
        });
        EXPECT_EQ(w.txtDettagli.text(), l.reasons.last());
    }
    EXPECT_EQ(w.lblPosizione.text(), u"1"_qs);
    // The payment loaded from the list is saved over its own record.
    click(w.chkEffettuata);
    click(w.cmdSalva);
    EXPECT_EQ(TScadenza::decode(yearBytes(u"2025"_qs).left(1828)).Effettuata, u"No"_qs);
}

TEST_F(DialogsTest, AStatusListOfAnEmptyYearFindsNothing)
{
    openYear(u"2025"_qs);
    in<TfrmDaConfermare>(window().cmdDaConfermare, u"frmDaConfermare"_qs, [&](TfrmDaConfermare& f) {
        EXPECT_EQ(f.lstRecords.count(), 0);
        click(f.btnTrova);
        EXPECT_EQ(messages.texts(), QStringList({kEmptyList}));
        click(f.btnStampa);
        doubleClick(f.lstRecords);
    });
    EXPECT_EQ(prints.listPrints, 1);
    EXPECT_TRUE(prints.listLines.isEmpty());
    EXPECT_EQ(window().lblPosizione.text(), QString());
}

TEST_F(DialogsTest, ExportWritesTheOpenYearInFileOrder)
{
    TScadenza spaced = dueEntry(u"05/03/2025"_qs, u"09:00"_qs, u"  Rossi & Figli <srl>  "_qs);
    spaced.Costo = u" 10,00 "_qs;
    spaced.CodFisc = u"01234567890"_qs;
    spaced.Codice = u"00184"_qs;
    writeYear(u"2025"_qs, {spaced, dueEntry(u"02/01/2025"_qs, u"08:30"_qs, u"Affitto"_qs)});
    openYear(u"2025"_qs);
    QList<QStringList> calcRows;
    in<TfrmExpScadenzario>(window().cmdEsporta, u"frmExpScadenzario"_qs, [&](TfrmExpScadenzario& f) {
        EXPECT_EQ(f.caption(), u" Esporta archivio scadenze e appuntamenti"_qs);
        ASSERT_EQ(f.grdRecords.rowCount(), 2);
        EXPECT_EQ(f.grdRecords.columnCount(), 20);
        EXPECT_EQ(gridColumn(f.grdRecords, 0), QStringList({u"1"_qs, u"2"_qs}));
        EXPECT_EQ(gridColumn(f.grdRecords, 13), QStringList({u"Rossi & Figli <srl>"_qs, u"Affitto"_qs}));
        EXPECT_EQ(f.grdRecords.cell(15, 0), u"10,00"_qs);
        f.grdRecords.setCell(15, 1, u"99,00"_qs); // typed into an editable cell
        calcRows = orv::test::exportedRows(f.grdRecords);
        hover(f.cmdGuida);
        EXPECT_EQ(f.panInfo.text(), u"Visualizza la pagina della guida sensibile al contesto."_qs);
        click(f.cmdEsporta);
    });
    EXPECT_EQ(messages.texts(),
              QStringList({u"L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di "
                           u"schede presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?"_qs,
                           u"Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file "
                           u"di Excel?"_qs}));
    EXPECT_EQ(shell.opened, QStringList({u'"' + programFolder() + u"Scadenze_e_Appuntamenti.xls\""_qs}));
    const QByteArray file = readFile(u"Scadenze_e_Appuntamenti.xls"_qs);
    EXPECT_TRUE(file.contains("<x:Name>Scadenze e appuntamenti</x:Name>"));
    EXPECT_TRUE(file.contains("<tr><td style=\"text-align: left; font-weight: bold;\" width=150 sdnum=\"1040;0;@\">Data scadenza</td>"
                              "<td style=\"text-align: left; font-weight: bold;\" width=150 sdnum=\"1040;0;@\">Ora appuntamento</td>"));
    EXPECT_TRUE(file.contains("width=200 sdnum=\"1040;0;@\">Codice fiscale</td>"));
    EXPECT_TRUE(file.contains("width=300 sdnum=\"1040;0;@\">Note</td></tr>"));
    EXPECT_TRUE(file.contains("<td style=\"text-align: left;\" sdnum=\"1040;0;@\">Rossi &amp; Figli &lt;srl&gt;</td>"));
    EXPECT_TRUE(file.contains("<td style=\"text-align: left;\" sdval=\"99.00\" sdnum=\"1033;1033;0.00\">99,00</td>"));
    EXPECT_LT(file.indexOf("05/03/2025"), file.indexOf("02/01/2025"));
    EXPECT_EQ(file.count("<tr>"), 3);
    EXPECT_FALSE(file.contains('\n'));
    EXPECT_EQ(TScadenza::decode(yearBytes(u"2025"_qs).mid(1828)).Costo, u"0,00"_qs); // the archive is unchanged
    // LibreOffice Calc reads every cell as written: codes and numbers with leading zeros
    // stay text, amounts are numbers.
    if (orv::test::calcProgram().isEmpty()) GTEST_SKIP() << "soffice is not installed";
    QString why;
    const auto read = orv::test::openInCalc({programFolder() + u"Scadenze_e_Appuntamenti.xls"_qs}, &why);
    ASSERT_TRUE(read) << why.toStdString();
    orv::test::expectAsWritten(read->at(0), orv::schedule::exportSheet(), calcRows);
    EXPECT_TRUE(orv::test::hasTextCell(read->at(0), u"01234567890"_qs));
    EXPECT_TRUE(orv::test::hasTextCell(read->at(0), u"00184"_qs));
    EXPECT_TRUE(orv::test::hasTextCell(read->at(0), u"05/03/2025"_qs));
}

TEST_F(DialogsTest, AnEmptyYearExportsTenEmptyRowsAndTheHelpIsItsOwn)
{
    openYear(u"2025"_qs);
    QString title;
    QStringList paragraphs;
    modal.scripts[u"frmGuida"_qs] = [&](Form& f) {
        title = static_cast<TfrmGuida&>(f).lblTitolo.text();
        paragraphs = static_cast<TfrmGuida&>(f).txtGuida.text().split(u"\r\n\r\n"_qs);
    };
    messages.answers = {mrYes, mrNo};
    in<TfrmExpScadenzario>(window().cmdEsporta, u"frmExpScadenzario"_qs, [&](TfrmExpScadenzario& f) {
        EXPECT_EQ(f.grdRecords.rowCount(), 10);
        click(f.cmdGuida);
        click(f.cmdEsporta);
        click(f.cmdEsci);
    });
    EXPECT_EQ(title, u"Esportazione archivio scadenze e appuntamenti in Microsoft Excel."_qs);
    ASSERT_EQ(paragraphs.size(), 3);
    EXPECT_TRUE(paragraphs[1].contains(u"Questa operazione crea in tempo reale un file"_qs));
    EXPECT_TRUE(shell.opened.isEmpty());
    const QByteArray file = readFile(u"Scadenze_e_Appuntamenti.xls"_qs);
    EXPECT_EQ(file.count("<tr>"), 11);
    EXPECT_EQ(file.count("<td style=\"text-align: left;\" sdnum=\"1040;0;@\"></td>"), 10 * 19);
}

TEST_F(DialogsTest, ImminentGridListsTheCurrentYearSortedByDateAndTime)
{
    TfrmScadenzario& w = window();
    writeYear(u"2026"_qs, {dueEntry(u"20/03/2026"_qs, u"09:00"_qs, u"Uno"_qs, u"5"_qs),
                           dueEntry(u"16/03/2026"_qs, u"10:00"_qs, u"Due"_qs, u"1"_qs),
                           dueEntry(u"16/03/2026"_qs, u"08:30"_qs, u"Tre"_qs, u"1"_qs),
                           dueEntry(u"30/03/2026"_qs, u"08:30"_qs, u"Lontano"_qs, u"1"_qs)});
    reopen();
    ASSERT_TRUE(w.btnOK.enabled());
    openYear(u"2025"_qs); // the grid reads the current year whatever year is open
    reopen();
    in<TfrmExpImminenti>(w.btnOK, u"frmExpImminenti"_qs, [&](TfrmExpImminenti& f) {
        EXPECT_EQ(f.caption(), u" Scadenze imminenti"_qs);
        EXPECT_EQ(f.grdRecords.columnCount(), 21);
        EXPECT_EQ(gridColumn(f.grdRecords, 13), QStringList({u"Tre"_qs, u"Due"_qs, u"Uno"_qs}));
        EXPECT_EQ(gridColumn(f.grdRecords, 0), QStringList({u"3"_qs, u"2"_qs, u"1"_qs}));
        EXPECT_EQ(gridColumn(f.grdRecords, 20), QStringList({u"03160830"_qs, u"03161000"_qs, u"03200900"_qs}));
        click(f.cmdEsporta);
    });
    const QByteArray file = readFile(u"Scadenze_Imminenti.xls"_qs);
    EXPECT_TRUE(file.contains("<x:Name>Scadenze imminenti</x:Name>"));
    EXPECT_TRUE(file.contains("width=150 sdnum=\"1040;0;@\">Codice univoco</td></tr>"));
    EXPECT_LT(file.indexOf(">Tre<"), file.indexOf(">Uno<"));
    EXPECT_TRUE(file.contains("<td style=\"text-align: left;\" sdnum=\"1040;0;@\">03160830</td></tr>"));
}

TEST_F(DialogsTest, EachGridsBannerNamesWhatItListsNotTheExport)
{
    // The three grids share the export window's frame; only the archive export keeps its
    // export banner, each grid shows its own.
    const auto banner = [](orv::kit::ExportWindow&& f) { return f.imgLogo.picture(); };
    const QImage exportBanner = banner(TfrmExpScadenzario(&window()));
    const QImage banners[] = {banner(TfrmExpImminenti(&window())), banner(TfrmExpGiornaliere(&window())),
                              banner(TfrmExpMensili(&window()))};
    ASSERT_FALSE(exportBanner.isNull());
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NE(banners[i], exportBanner);
        EXPECT_NE(banners[i], banners[(i + 1) % 3]);
    }
}

TEST_F(DialogsTest, GridsOfTheChosenDayAndMonth)
{
    TfrmScadenzario& w = window();
    TScadenza lower = dueEntry(u"20/05/2024"_qs, u"15:00"_qs, u"Minuscolo"_qs);
    lower.Mese = u"maggio"_qs;
    writeYear(u"2024"_qs, {dueEntry(u"10/05/2024"_qs, u"15:00"_qs, u"Tardi"_qs),
                           dueEntry(u"10/05/2024"_qs, u"08:05"_qs, u"Presto"_qs),
                           dueEntry(u"10/05/2024"_qs, u"08:00"_qs, u"Prima"_qs), lower,
                           dueEntry(u"10/06/2024"_qs, u"08:00"_qs, u"Giugno"_qs)});
    orv::platform::TDateTime day = 0;
    ASSERT_TRUE(orv::platform::tryEncodeDate(2024, 5, 10, day));
    w.calAppuntamenti.setDate(day);
    in<TfrmExpGiornaliere>(w.btnGiorno, u"frmExpGiornaliere"_qs, [&](TfrmExpGiornaliere& f) {
        EXPECT_EQ(f.caption(), u" Scadenze del giorno"_qs);
        EXPECT_EQ(gridColumn(f.grdRecords, 13), QStringList({u"Prima"_qs, u"Presto"_qs, u"Tardi"_qs}));
        EXPECT_EQ(gridColumn(f.grdRecords, 0), QStringList({u"3"_qs, u"2"_qs, u"1"_qs}));
        click(f.cmdEsporta);
    });
    EXPECT_TRUE(readFile(u"Scadenze_Giornaliere.xls"_qs).contains("<x:Name>Scadenze del giorno</x:Name>"));
    in<TfrmExpMensili>(w.btnMese, u"frmExpMensili"_qs, [&](TfrmExpMensili& f) {
        EXPECT_EQ(f.caption(), u" Scadenze del mese"_qs);
        EXPECT_EQ(gridColumn(f.grdRecords, 13),
                  QStringList({u"Prima"_qs, u"Presto"_qs, u"Tardi"_qs, u"Minuscolo"_qs}));
        click(f.cmdEsporta);
    });
    EXPECT_TRUE(readFile(u"Scadenze_Mensili.xls"_qs).contains("<x:Name>Scadenze del mese</x:Name>"));

    // A day without entries in a year that has some: no rows; a year without an archive:
    // the archive is created and the ten empty rows stay.
    ASSERT_TRUE(orv::platform::tryEncodeDate(2024, 5, 11, day));
    w.calAppuntamenti.setDate(day);
    in<TfrmExpGiornaliere>(w.btnGiorno, u"frmExpGiornaliere"_qs,
                           [&](TfrmExpGiornaliere& f) { EXPECT_EQ(f.grdRecords.rowCount(), 0); });
    ASSERT_TRUE(orv::platform::tryEncodeDate(2022, 5, 11, day));
    w.calAppuntamenti.setDate(day);
    in<TfrmExpMensili>(w.btnMese, u"frmExpMensili"_qs,
                       [&](TfrmExpMensili& f) { EXPECT_EQ(f.grdRecords.rowCount(), 10); });
    EXPECT_TRUE(QFile::exists(programFolder() + u"2022.sca"_qs));
}

TEST(OrdinaGriglia, MovesWholeRowsByTheKeyAndKeepsEqualKeysInOrder)
{
    Form f(nullptr, {u"frmProva"_qs, u"p"_qs, 300, 300}, {grid(u"grdRecords"_qs, 0, 0, 200, 200)});
    auto& g = f.control<StringGrid>(u"grdRecords"_qs);
    g.setColumns({{u"N."_qs}, {u"x"_qs}, {u"k"_qs}});
    const QStringList keys = {u"b"_qs, u"A"_qs, u"a"_qs, u"C"_qs, u"0"_qs};
    g.setRowCount(int(keys.size()));
    for (int r = 0; r < keys.size(); ++r) {
        g.setCell(0, r, QString::number(r + 1));
        g.setCell(1, r, u"v"_qs + keys[r]);
        g.setCell(2, r, keys[r]);
    }
    orv::schedule::OrdinaGriglia(g, 2);
    EXPECT_EQ(gridColumn(g, 2), QStringList({u"0"_qs, u"A"_qs, u"a"_qs, u"b"_qs, u"C"_qs}));
    EXPECT_EQ(gridColumn(g, 1), QStringList({u"v0"_qs, u"vA"_qs, u"va"_qs, u"vb"_qs, u"vC"_qs}));
    EXPECT_EQ(gridColumn(g, 0), QStringList({u"5"_qs, u"2"_qs, u"3"_qs, u"1"_qs, u"4"_qs}));
}

} // namespace
