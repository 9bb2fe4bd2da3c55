// The article finder, the running-out list and the warehouse export, opened from the
// article editor and driven with real keys and clicks.
#include "window_fixture.h"

#include "kit/dialogs/guida.h"
#include "kit/windowtable.h"
#include "shell/startup.h"
#include "kit/bridge.h"
#include "platform/core/cp1252.h"
#include "warehouse/expmagazzino.h"
#include "warehouse/sottoscorta.h"
#include "warehouse/trovamagazzino.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTableWidget>
#include "gui/calc.h"

using namespace orv::kit;
using namespace orv::platform::ui;
using namespace orv::warehouse;

using namespace orv::platform::ui;
using orv::test::article;
using orv::test::clickLine;
using orv::test::MessageCall;
using orv::test::WarehouseWindowTest;

namespace {

const QString kAccess = u"Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere "
                        u"i privilegi di scrittura nella cartella di installazione del programma."_qs;
const QString kEmptyList = u"Ricerca non applicabile: la lista non contiene nessuna voce."_qs;

const TArticolo kListCaldaia = article({{&TArticolo::Codice, "C-24"},       {&TArticolo::Tipologia, "Caldaie"},
                                    {&TArticolo::Marca, "Caldex"},      {&TArticolo::Modello, "K24"},
                                    {&TArticolo::Accessori, "Staffa"},  {&TArticolo::Descrizione, "Caldaia murale"},
                                    {&TArticolo::Fornitore, "Ditta Rossi"}, {&TArticolo::Costo, "900,00"},
                                    {&TArticolo::Giacenza, "2"},        {&TArticolo::Sottoscorta, "1"},
                                    {&TArticolo::Altezza, "70 cm"},     {&TArticolo::File02, "manuale.pdf"},
                                    {&TArticolo::Desc02, "Manuale"},    {&TArticolo::Cartella, "c"},
                                    {&TArticolo::Note, "a muro"}});
const TArticolo kListValvola = article({{&TArticolo::Codice, "V-1"}, {&TArticolo::Marca, "ACME"},
                                    {&TArticolo::Fornitore, "Bianchi srl"}, {&TArticolo::Giacenza, "0"},
                                    {&TArticolo::Sottoscorta, "0"}});
const TArticolo kListTubo = article({{&TArticolo::Codice, "T-2"}, {&TArticolo::Fornitore, "ROSSI & C."},
                                 {&TArticolo::Giacenza, "5"}, {&TArticolo::Sottoscorta, "5"}});

class ListsTest : public WarehouseWindowTest {
protected:
    void inFinder(std::function<void(TfrmTrovaMagazzino&)> script)
    {
        modal.scripts[u"frmTrovaMagazzino"_qs] = [script](Form& f) { script(static_cast<TfrmTrovaMagazzino&>(f)); };
        click(editor().cmdTrova);
        ASSERT_EQ(modal.shown.count(u"frmTrovaMagazzino"_qs), 1);
        modal.shown.clear();
    }
    void inRunningOut(std::function<void(TfrmSottoscorta&)> script)
    {
        modal.scripts[u"frmSottoscorta"_qs] = [script](Form& f) { script(static_cast<TfrmSottoscorta&>(f)); };
        click(editor().cmdSottoscorta);
        ASSERT_EQ(modal.shown.count(u"frmSottoscorta"_qs), 1);
        modal.shown.clear();
    }
    static void search(orv::kit::FinderWindow& f)
    {
        QTest::mousePress(f.btnCerca.widget(), Qt::LeftButton);
        EXPECT_TRUE(f.lblAttendere.visible());
        QTest::mouseRelease(f.btnCerca.widget(), Qt::LeftButton);
    }
};

TEST_F(ListsTest, FinderSearchesByCriteriaAndListsSortedLines)
{
    writeArchive({kListCaldaia, kListValvola, kListTubo});
    inFinder([&](TfrmTrovaMagazzino& f) {
        EXPECT_EQ(f.caption(), u" Trova articoli in magazzino"_qs);
        EXPECT_EQ(f.lblMemory.text(), u"magazzino"_qs);
        EXPECT_EQ(f.focusedControl(), &f.txtCodice);
        EXPECT_EQ(f.lblTrovate.text(), u"Il presente elenco contiene 0 schede."_qs);
        const QStringList captions = {"Codice articolo:", "Tipologia:", "Marca:", "Modello:", "Descrizione:",
                                      "Accessori:", "Fornitore:", "Estremi documento di acquisto:",
                                      "Collocazione in magazzino:", "Note:"};
        for (int i = 0; i < 10; ++i) {
            Edit* c = f.criteria()[i];
            EXPECT_EQ(f.focusedControl(), c);
            EXPECT_EQ(f.control<Label>(u"lbl"_qs + c->name().mid(3)).text(), captions[i]);
            key(f, Qt::Key_Return);
        }
        EXPECT_EQ(f.focusedControl(), &f.txtCodice);

        // ROSSI in the supplier finds "Ditta Rossi" and "ROSSI & C.".
        f.txtFornitore.setFocus();
        keys(f, u"ROSSI"_qs);
        search(f);
        EXPECT_EQ(f.lblConta.text(), u"1"_qs);
        EXPECT_EQ(f.lblTrovate.text(), u"Il presente elenco contiene 2 schede."_qs);
        EXPECT_EQ(f.lstRecords.itemsText(), QStringList({RigaTrovaMagazzino(kListCaldaia), RigaTrovaMagazzino(kListTubo)}));
        EXPECT_EQ(f.focusedControl(), &f.txtTrova);

        keys(f, u"t-2"_qs);
        key(f, Qt::Key_Return);
        EXPECT_EQ(f.focusedControl(), &f.btnTrova);
        click(f.btnTrova);
        EXPECT_EQ(f.lstRecords.itemIndex(), 1);
        click(f.btnStampa);
        EXPECT_EQ(prints.title, u"Riepilogo articoli in magazzino"_qs);
        EXPECT_EQ(prints.lines, f.lstRecords.itemsText());
        click(f.btnChiudi);
    });
    EXPECT_EQ(editor().lblPosizione.text(), QString());

    // No criterion lists every article; an empty archive lists none and Trova says so.
    inFinder([&](TfrmTrovaMagazzino& f) {
        search(f);
        EXPECT_EQ(f.lstRecords.count(), 3);
        EXPECT_EQ(f.lblConta.text(), u"0"_qs);
    });
    writeArchive({});
    inFinder([&](TfrmTrovaMagazzino& f) {
        search(f);
        EXPECT_EQ(f.lblTrovate.text(), u"Il presente elenco contiene 0 schede."_qs);
        click(f.btnTrova);
        EXPECT_EQ(messages.last().kind, MessageCall::Plain);
        EXPECT_EQ(messages.last().text, kEmptyList);
    });
}

TEST_F(ListsTest, FinderFailureKeepsTheCriteria)
{
    blockArchive();
    inFinder([&](TfrmTrovaMagazzino& f) {
        search(f);
        ASSERT_EQ(messages.calls.size(), 1u);
        EXPECT_EQ(messages.last().kind, MessageCall::Plain);
        EXPECT_EQ(messages.last().text, kAccess);
        EXPECT_TRUE(f.panAvvio.visible());
        EXPECT_FALSE(f.panContainer.visible());
        EXPECT_EQ(f.lblTrovate.text(), u"Il presente elenco contiene 0 schede."_qs);
        click(f.btnAnnulla);
    });
}

TEST_F(ListsTest, DoubleClickLoadsTheWholeCardThatASaveThenOverwrites)
{
    // Two articles giving the same line (they differ only in fields the line does not show).
    TArticolo twin = kListCaldaia;
    twin.Descrizione = u"Altra descrizione"_qs;
    twin.File02 = QString();
    writeArchive({kListCaldaia, kListValvola, twin});
    inFinder([&](TfrmTrovaMagazzino& f) {
        f.txtCodice.setFocus();
        keys(f, u"c-24"_qs);
        search(f);
        ASSERT_EQ(f.lstRecords.count(), 2);
        clickLine(f.lstRecords, 0, true);
    });
    EXPECT_EQ(editor().lblPosizione.text(), u"1"_qs);
    EXPECT_EQ(orv::archive::readControls(orv::kit::FormView(editor()), TArticolo::layout()), kListCaldaia.values());
    inFinder([&](TfrmTrovaMagazzino& f) {
        search(f);
        clickLine(f.lstRecords, 1, true); // the second of the equal lines: the third record
    });
    EXPECT_EQ(editor().lblPosizione.text(), u"3"_qs);
    EXPECT_EQ(editor().txtDescrizione.text(), u"Altra descrizione"_qs);
    EXPECT_EQ(editor().lblFile02.text(), QString());

    editor().txtNote.setText(u"cambiata"_qs);
    click(editor().cmdSalva);
    const QList<TArticolo> all = stored();
    ASSERT_EQ(all.size(), 3);
    EXPECT_EQ(all[2].Note, u"cambiata"_qs);
    EXPECT_EQ(all[0].Note, u"a muro"_qs);
}

TEST_F(ListsTest, ScheduleTagWritesTheArticlesIdentityAndOtherTagsNothing)
{
    const TArticolo noModel = article({{&TArticolo::Codice, " C-1 "}, {&TArticolo::Tipologia, "Caldaie"},
                                       {&TArticolo::Marca, "Caldex"}, {&TArticolo::Accessori, "Staffa"},
                                       {&TArticolo::Descrizione, "Caldaia"}, {&TArticolo::Fornitore, "Rossi"}});
    const TArticolo nothing = article({{&TArticolo::Codice, "Z-9"}});
    writeArchive({noModel, nothing});
    const QStringList controls = {"txtCodice", "txtTipologia", "txtMarca", "txtAccessori", "txtDescrizione",
                                  "txtFornitore", "txtAltro"};
    Layout layout;
    for (const QString& c : controls) layout.push_back(edit(c, 0, 0, 50));
    Form schedule(nullptr, {u"frmScadenzario"_qs, QString(), 200, 200, Border::Single, Placement::Designed, QColor(), QColor()},
                  layout);
    schedule.control<Edit>(u"txtAltro"_qs).setText(u"mio"_qs);
    orv::kit::setStartWindow(schedule.objectName(), &schedule);
    const auto choose = [&](const char* tag, int line) {
        modal.scripts[u"frmTrovaMagazzino"_qs] = [line](Form& f) {
            auto& finder = static_cast<TfrmTrovaMagazzino&>(f);
            search(finder);
            clickLine(finder.lstRecords, line, true);
        };
        runDialog<TfrmTrovaMagazzino>(&schedule, [&](TfrmTrovaMagazzino& f) { f.lblMemory.setText(QString::fromLatin1(tag)); });
    };
    const auto values = [&] {
        QStringList v;
        for (const QString& c : controls) v << schedule.control<Edit>(c).text();
        return v;
    };
    choose(" scadenzario ", 0);
    EXPECT_EQ(values(), QStringList({"C-1", "Caldaie", "Caldex ", "Staffa", "Caldaia", "Rossi", "mio"}));
    choose("scadenzario", 1);
    EXPECT_EQ(values(), QStringList({"Z-9", "", " ", "", "", "", "mio"}));
    for (const char* other : {"Scadenzario", "magazzin", ""}) {
        choose(other, 0);
        EXPECT_EQ(values()[0], u"Z-9"_qs) << other;
    }
    EXPECT_EQ(editor().txtCodice.text(), QString());
    EXPECT_EQ(editor().lblPosizione.text(), QString());
    orv::kit::setStartWindow(schedule.objectName(), nullptr);
}

TEST_F(ListsTest, RunningOutListSelectsLoadsAndPrints)
{
    const TArticolo above = article({{&TArticolo::Codice, "A-6"}, {&TArticolo::Giacenza, "6"}, {&TArticolo::Sottoscorta, "5"}});
    const TArticolo empty = article({{&TArticolo::Codice, "E-0"}, {&TArticolo::Giacenza, ""}, {&TArticolo::Sottoscorta, "5"}});
    const TArticolo text = article({{&TArticolo::Codice, "X-0"}, {&TArticolo::Giacenza, "0"}, {&TArticolo::Sottoscorta, "poco"}});
    const TArticolo after = article({{&TArticolo::Codice, "Z-0"}, {&TArticolo::Giacenza, "0"}, {&TArticolo::Sottoscorta, "0"}});
    writeArchive({kListTubo, above, kListValvola, kListCaldaia, empty, text, after});
    inRunningOut([&](TfrmSottoscorta& f) {
        EXPECT_EQ(f.caption(), u" Materiali in esaurimento"_qs);
        // Stock 5 of 5 and 0 of 0 are running out, 6 of 5 and 2 of 1 are not; an empty stock
        // and a minimum that is not a number are skipped, and the list goes on after them.
        EXPECT_EQ(f.lstRecords.itemsText(),
                  QStringList({RigaSottoscorta(kListTubo), RigaSottoscorta(kListValvola), RigaSottoscorta(after)}));
        EXPECT_EQ(f.focusedControl(), &f.txtTrova);
        click(f.btnStampa);
        EXPECT_EQ(prints.title, u"Materiali in esaurimento"_qs);
        EXPECT_EQ(prints.lines, f.lstRecords.itemsText());
        clickLine(f.lstRecords, 1, true);
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_EQ(editor().lblPosizione.text(), u"3"_qs);
    EXPECT_EQ(editor().txtCodice.text(), u"V-1"_qs);
    EXPECT_EQ(editor().txtCosto.text(), QString()); // as stored

    writeArchive({above});
    inRunningOut([&](TfrmSottoscorta& f) {
        EXPECT_EQ(f.lstRecords.count(), 0);
        click(f.btnTrova);
        EXPECT_EQ(messages.last().kind, MessageCall::Plain);
        EXPECT_EQ(messages.last().text, kEmptyList);
        f.lstRecords.listWidget()->setCurrentRow(-1);
        doubleClick(f.lstRecords); // nothing chosen: closes, loading nothing
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_EQ(editor().lblPosizione.text(), u"3"_qs);
}

// The export text as the spreadsheet program reads it, built piece by piece.
QByteArray expectedExport(const QList<QStringList>& rows)
{
    QString t = u"<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
                u"xmlns=\"http://www.w3.org/TR/REC-html40\"><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                u"charset=windows-1252\"><!--[if gte mso 9]><xml><x:ExcelWorkbook><x:ExcelWorksheets><x:ExcelWorksheet>"
                u"<x:Name>Magazzino</x:Name><x:WorksheetOptions><x:Selected/><x:Panes><x:Pane><x:Number>1</x:Number>"
                u"<x:ActiveRow>3</x:ActiveRow></x:Pane></x:Panes><x:ProtectContents>False</x:ProtectContents>"
                u"<x:ProtectObjects>False</x:ProtectObjects><x:ProtectScenarios>False</x:ProtectScenarios>"
                u"</x:WorksheetOptions></x:ExcelWorksheet></x:ExcelWorksheets></x:ExcelWorkbook></xml><![endif]-->"
                u"</head><body><table x:str><tr>"_qs;
    const std::pair<const char*, int> headings[] = {
        {"Codice articolo", 250}, {"Tipologia", 250}, {"Marca", 250}, {"Modello", 250}, {"Descrizione", 400},
        {"Accessori", 400}, {"Fornitore", 250}, {"Recapito preferenziale", 250}, {"Data acquisto", 200},
        {"Estremi documento acquisto", 350}, {"Modalità ordine merce", 350}, {"Giacenza", 200}, {"Costo", 200},
        {"Valore", 200}, {"Prezzo senza IVA", 200}, {"Perc. IVA", 150}, {"Prezzo con IVA", 200},
        {"Collocazione in magazzino", 350}, {"Altezza", 200}, {"Larghezza", 200}, {"Lunghezza", 200},
        {"Scadenza", 200}, {"Note", 400}};
    for (const auto& [h, w] : headings)
        t += u"<td style=\"text-align: left; font-weight: bold;\" width=%1 sdnum=\"1040;0;@\">%2</td>"_qs.arg(w).arg(
            QString::fromUtf8(h));
    t += u"</tr>"_qs;
    // Stock, cost, value, prices and rate are numbers for every spreadsheet program; the
    // rest, codes with their leading zeros included, is text.
    static const QRegularExpression plainNumber(u"^-?[0-9]+(,([0-9]+))?$"_qs);
    for (const QStringList& row : rows) {
        t += u"<tr>"_qs;
        for (int c = 0; c < row.size(); ++c) {
            const QString& v = row[c];
            const QRegularExpressionMatch m = plainNumber.match(v);
            QString type = u" sdnum=\"1040;0;@\""_qs;
            if (c >= 11 && c <= 16 && m.hasMatch()) {
                const qsizetype decimals = m.captured(2).size();
                type = u" sdval=\"%1\" sdnum=\"1033;1033;%2\""_qs.arg(QString(v).replace(u',', u'.'),
                                                                         decimals ? u"0."_qs + QString(decimals, u'0') : u"0"_qs);
            }
            t += u"<td style=\"text-align: left;\""_qs + type + u'>' + v + u"</td>"_qs;
        }
        t += u"</tr>"_qs;
    }
    t += u"</table></body></html>"_qs;
    return orv::platform::cp1252::encode(t);
}

TEST_F(ListsTest, ExportShowsTheArchiveAndWritesMagazzinoXls)
{
    TArticolo zeros = kListValvola;
    zeros.Codice = u"00184"_qs;
    zeros.Recapiti = u"0612345678"_qs;
    zeros.Prezzo = u"0,125"_qs;
    writeArchive({kListCaldaia, kListTubo, zeros});
    QList<QStringList> calcRows;
    modal.scripts[u"frmExpMagazzino"_qs] = [&](Form& f) {
        auto& e = static_cast<TfrmExpMagazzino&>(f);
        calcRows = orv::test::exportedRows(e.grdRecords);
        EXPECT_EQ(e.caption(), u" Esporta archivio prodotti e servizi in Microsoft Excel"_qs);
        QTableWidget* t = e.grdRecords.tableWidget();
        ASSERT_EQ(e.grdRecords.columnCount(), 24);
        const QList<std::pair<int, const char*>> headers = {{0, "N."}, {1, "Codice articolo"},
                                                            {10, "Estremi documento di acquisto"},
                                                            {19, "Altezza"}, {23, "Note"}};
        for (const auto& [col, h] : headers) EXPECT_EQ(t->horizontalHeaderItem(col)->text(), QString::fromUtf8(h));
        const QList<int> widths = {60, 150, 150, 150, 150, 350, 350, 200, 250, 100, 350, 250,
                                   100, 100, 100, 100, 100, 100, 300, 200, 200, 200, 200, 350};
        for (int col = 0; col < 24; ++col) EXPECT_EQ(t->columnWidth(col), widths[col]) << col;
        ASSERT_EQ(e.grdRecords.rowCount(), 3);
        EXPECT_EQ(e.grdRecords.cell(0, 2), u"3"_qs);
        EXPECT_EQ(e.grdRecords.cell(7, 1), u"ROSSI & C."_qs);
        messages.answers = {mrYes, mrNo};
        click(e.cmdEsporta);
        EXPECT_TRUE(shell.opened.isEmpty());
        click(e.cmdEsci);
    };
    click(editor().cmdEsporta);
    EXPECT_EQ(modal.shown, QStringList{u"frmExpMagazzino"_qs});
    QList<QStringList> rows;
    for (const TArticolo& a : {kListCaldaia, kListTubo, zeros}) rows.append(orv::warehouse::exportRow(a));
    rows[1][6] = u"ROSSI &amp; C."_qs;
    EXPECT_EQ(rows[0][18], u"70 cm"_qs);
    EXPECT_EQ(readFile(u"Magazzino.xls"_qs), expectedExport(rows));
    // LibreOffice Calc reads every cell as written: codes and numbers with leading zeros
    // stay text, amounts are numbers.
    if (orv::test::calcProgram().isEmpty()) GTEST_SKIP() << "soffice is not installed";
    QString why;
    const auto read = orv::test::openInCalc({orv::platform::programFile(u"Magazzino.xls"_qs)}, &why);
    ASSERT_TRUE(read) << why.toStdString();
    orv::test::expectAsWritten(read->at(0), orv::warehouse::exportSheet(), calcRows);
    EXPECT_TRUE(orv::test::hasTextCell(read->at(0), u"00184"_qs));
    EXPECT_TRUE(orv::test::hasTextCell(read->at(0), u"0612345678"_qs));
    EXPECT_EQ(orv::test::cellAt(read->at(0), 3, 14).text, u"0.125"_qs); // the price, a number
}

TEST_F(ListsTest, ExportOfAnEmptyArchiveAndAFileThatCannotBeReplaced)
{
    modal.scripts[u"frmExpMagazzino"_qs] = [&](Form& f) {
        auto& e = static_cast<TfrmExpMagazzino&>(f);
        EXPECT_EQ(e.grdRecords.rowCount(), 10);
        click(e.cmdEsporta);
        QString title;
        QStringList paragraphs;
        modal.scripts[u"frmGuida"_qs] = [&](Form& g) {
            title = static_cast<TfrmGuida&>(g).lblTitolo.text();
            paragraphs = static_cast<TfrmGuida&>(g).txtGuida.text().split(u"\r\n\r\n"_qs);
        };
        click(e.cmdGuida);
        EXPECT_EQ(title, u"Esportazione archivio beni e servizi in Microsoft Excel."_qs);
        ASSERT_EQ(paragraphs.size(), 3);
        EXPECT_TRUE(paragraphs[0].contains(u"beni e i servizi"_qs));
    };
    click(editor().cmdEsporta);
    EXPECT_EQ(readFile(u"Magazzino.xls"_qs), expectedExport(QList<QStringList>(10, QStringList(23))));

    ASSERT_TRUE(QFile::remove(orv::platform::programFile(u"Magazzino.xls"_qs)));
    ASSERT_TRUE(QDir(programFolder()).mkdir(u"Magazzino.xls"_qs));
    messages.clear();
    modal.scripts[u"frmExpMagazzino"_qs] = [&](Form& f) {
        click(static_cast<TfrmExpMagazzino&>(f).cmdEsporta);
        EXPECT_TRUE(f.isVisible());
    };
    click(editor().cmdEsporta);
    ASSERT_EQ(messages.calls.size(), 2u);
    EXPECT_EQ(messages.last().kind, MessageCall::Plain);
    EXPECT_EQ(messages.last().text, u"Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi che "
                                    u"il file di Excel non sia già aperto."_qs);
}

} // namespace
