// The quote finder, the pending-quotes list and the export, opened from the editor's
// commands and driven through their real controls.
#include "quote_fixture.h"

#include "kit/dialogs/guida.h"
#include "quotes/exppreventivi.h"
#include "gui/calc.h"
#include "quotes/sospesi.h"
#include "quotes/trovapreventivi.h"

#include <QDir>
#include <QFile>
#include <QTableWidget>

using namespace orv::kit;
using namespace orv::platform::ui;
using namespace orv::quotes;

using namespace orv::platform::ui;
using orv::test::doubleClickLine;
using orv::test::kAccess;
using orv::test::MessageCall;
using orv::test::quote;
using orv::test::QuoteWindowTest;

namespace {

const QString kEmptyList = u"Ricerca non applicabile: la lista non contiene nessuna voce."_qs;

class QuoteListsTest : public QuoteWindowTest {
protected:
    TfrmPreventivi& e() { return *frmPreventivi; }
    // Runs the window a command opens with `script`, as the user would.
    template <class W>
    void opened(Image& command, const QString& name, std::function<void(W&)> script)
    {
        modal.scripts[name] = [script](Form& f) { script(static_cast<W&>(f)); };
        click(command);
        EXPECT_TRUE(modal.shown.contains(name)) << name.toStdString();
    }
};

TEST_F(QuoteListsTest, FinderSearchesAsTypedIgnoringTheCaseOfAtoZ)
{
    writeYear({quote({{"NumFatt", "9"}, {"Data", "02/05/2021"}, {"Cliente", "Mario Rossi"}}),
               quote({{"NumFatt", "10"}, {"Data", "03/05/2021"}, {"Cliente", "rossi srl"}}),
               quote({{"NumFatt", "11"}, {"Data", "04/06/2021"}, {"Cliente", "Bianchi è"}}),
               quote({{"NumFatt", "12"}, {"Data", "05/05/2021"}, {"Cliente", "Verdi Rossi"}, {"Note", "urgente"}})});
    openEditor();
    const struct {
        std::vector<std::pair<const char*, const char*>> criteria;
        QStringList numbers; // the lines' quote numbers, in list order
        const char* inUse;
    } cases[] = {
        {{{"txtCliente", "ROSSI"}}, {"10", "12", "9"}, "1"},
        {{{"txtData", "05/2021"}}, {"10", "12", "9"}, "1"},
        {{{"txtCliente", "È"}}, {}, "1"},
        {{{"txtCliente", "è"}}, {"11"}, "1"},
        {{{"txtCliente", "rossi "}}, {"10"}, "1"},
        {{{"txtCliente", "xyz"}, {"txtNote", " "}}, {}, "1"},
        {{{"txtCliente", "rossi"}, {"txtNote", "urg"}}, {"12"}, "2"},
        {{}, {"10", "11", "12", "9"}, "0"},
    };
    for (const auto& c : cases) {
        QStringList lines;
        QString inUse, count;
        opened<TfrmTrovaPreventivi>(e().cmdTrova, u"frmTrovaPreventivi"_qs, [&](TfrmTrovaPreventivi& f) {
            EXPECT_EQ(f.caption(), u" Trova preventivi in archivio"_qs);
            EXPECT_EQ(f.lblMemory.text(), u"preventivi"_qs);
            EXPECT_TRUE(focusIs(f.txtNumFatt));
            for (const auto& [field, text] : c.criteria) f.control<Edit>(QString::fromLatin1(field)).setText(QString::fromUtf8(text));
            click(f.btnCerca);
            lines = f.lstRecords.itemsText();
            inUse = f.lblConta.text();
            count = f.lblTrovate.text();
            EXPECT_FALSE(f.panAvvio.visible());
            EXPECT_TRUE(focusIs(f.txtTrova));
        });
        QStringList numbers;
        for (const QString& l : lines) numbers << l.mid(9, 25).section(u' ', 0, 0);
        EXPECT_EQ(numbers, c.numbers) << (c.criteria.empty() ? "" : c.criteria[0].second);
        EXPECT_EQ(inUse, QString::fromLatin1(c.inUse));
        EXPECT_EQ(count, u"Il presente elenco contiene "_qs + QString::number(lines.size()) + u" schede."_qs);
    }
    EXPECT_TRUE(messages.calls.empty());
}

TEST_F(QuoteListsTest, FinderLoadsTheChosenQuoteAndPrintsItsList)
{
    // Two quotes give the same line (the customers differ past the 35th character).
    const QString longName = QString(35, u'N');
    writeYear({quote({{"NumFatt", "1"}, {"Cliente", "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNA"}, {"Saldata", "Sì"}, {"Quant11", "2"}}),
               quote({{"NumFatt", "2"}, {"Cliente", "Altro"}}),
               quote({{"NumFatt", "1"}, {"Cliente", "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNB"}, {"Saldata", "No"}, {"Quant11", "3"}})});
    openEditor();
    e().showPage(3);
    e().txtNote.setFocus();
    for (int chosen : {0, 1}) {
        opened<TfrmTrovaPreventivi>(e().cmdTrova, u"frmTrovaPreventivi"_qs, [&](TfrmTrovaPreventivi& f) {
            f.txtNumFatt.setText(u"1"_qs);
            click(f.btnCerca);
            ASSERT_EQ(f.lstRecords.count(), 2);
            EXPECT_EQ(f.lstRecords.item(0), f.lstRecords.item(1));
            click(f.btnStampa);
            doubleClickLine(f.lstRecords, chosen);
            EXPECT_FALSE(f.isVisible());
        });
        EXPECT_EQ(e().lblPosizione.text(), chosen == 0 ? u"1"_qs : u"3"_qs);
        EXPECT_EQ(e().txtCliente.text(), longName + (chosen == 0 ? u"A"_qs : u"B"_qs));
        EXPECT_EQ(e().row(11).txtQuant.text(), chosen == 0 ? u"2"_qs : u"3"_qs);
        EXPECT_EQ(e().shownPage(), 3); // the page on show stays
        EXPECT_TRUE(focusIs(e().txtNote));
    }
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(printed[0].title, u"Riepilogo preventivi emessi"_qs);
    EXPECT_EQ(printed[0].lines.size(), 2);

    // Opened with another tag it loads nothing, and closes all the same.
    e().txtCliente.setText(u"(sullo schermo)"_qs);
    TfrmTrovaPreventivi other(&e());
    other.lblMemory.setText(u"ddt"_qs);
    click(other.btnCerca);
    other.lstRecords.setItemIndex(0);
    other.lstRecordsDblClick();
    EXPECT_EQ(e().txtCliente.text(), u"(sullo schermo)"_qs);
}

TEST_F(QuoteListsTest, FinderOnAMissingYearAndOnOneThatCannotBeRead)
{
    openEditor(u"2031"_qs);
    opened<TfrmTrovaPreventivi>(e().cmdTrova, u"frmTrovaPreventivi"_qs, [&](TfrmTrovaPreventivi& f) {
        click(f.btnCerca);
        EXPECT_EQ(f.lblTrovate.text(), u"Il presente elenco contiene 0 schede."_qs);
        click(f.btnTrova);
    });
    EXPECT_EQ(takeTexts(), QStringList({kEmptyList}));
    EXPECT_EQ(readFile(u"2031.pre"_qs).size(), 0);

    QFile::remove(programFolder() + u"2031.pre"_qs);
    QDir(programFolder()).mkdir(u"2031.pre"_qs);
    opened<TfrmTrovaPreventivi>(e().cmdTrova, u"frmTrovaPreventivi"_qs, [&](TfrmTrovaPreventivi& f) {
        click(f.btnCerca);
        ASSERT_EQ(messages.calls.size(), 1u);
        EXPECT_EQ(messages.last().kind, MessageCall::Plain);
        EXPECT_EQ(messages.last().text, kAccess);
        EXPECT_TRUE(f.panAvvio.visible());
    });
}

TEST_F(QuoteListsTest, PendingListInFileOrderLoadsTheChosenQuote)
{
    writeYear({quote({{"NumFatt", "10"}, {"Cliente", "Uno"}, {"Saldata", "Sì"}}),
               quote({{"NumFatt", "2"}, {"Cliente", "Due"}, {"Saldata", "No"}}),
               quote({{"NumFatt", "9"}, {"Cliente", "Tre"}, {"Saldata", "Sì"}, {"Riferimenti", "R"}}),
               quote({{"NumFatt", "4"}, {"Cliente", "Quattro"}, {"Saldata", "sì"}}),
               quote({{"NumFatt", "5"}, {"Cliente", "Cinque"}})});
    openEditor();
    QStringList lines;
    opened<TfrmSospesi>(e().cmdSospese, u"frmSospesi"_qs, [&](TfrmSospesi& f) {
        EXPECT_EQ(f.caption(), u" Riepilogo preventivi in sospeso"_qs);
        lines = f.lstRecords.itemsText();
        EXPECT_TRUE(focusIs(f.txtTrova));
        f.txtTrova.setText(u"tre"_qs);
        click(f.btnTrova);
        EXPECT_EQ(f.lstRecords.itemIndex(), 1);
        click(f.btnStampa);
        doubleClickLine(f.lstRecords, 1);
    });
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(u"Prev. n. 10 del"));
    EXPECT_TRUE(lines[1].startsWith(u"Prev. n. 9 del"));
    EXPECT_EQ(e().txtCliente.text(), u"Tre"_qs);
    EXPECT_EQ(e().lblPosizione.text(), u"3"_qs);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].title, u"Riepilogo preventivi in sospeso"_qs);
    EXPECT_EQ(printed[0].lines, lines);
}

TEST_F(QuoteListsTest, PendingListOfAYearWithoutQuotes)
{
    openEditor(u"2030"_qs);
    opened<TfrmSospesi>(e().cmdSospese, u"frmSospesi"_qs, [&](TfrmSospesi& f) {
        EXPECT_EQ(f.lstRecords.count(), 0);
        click(f.btnTrova);
        click(f.btnStampa);
        f.lstRecordsDblClick(); // nothing selected: nothing loaded, the window closes
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_EQ(takeTexts(), QStringList({kEmptyList}));
    EXPECT_EQ(readFile(u"2030.pre"_qs).size(), 0);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_TRUE(printed[0].lines.isEmpty());
    EXPECT_EQ(e().lblPosizione.text(), QString());
}

TEST_F(QuoteListsTest, ExportGridAndFileMatchTheIndependentFixture)
{
    writeFile(u"2026.pre"_qs, fixture("2026.pre"));
    openEditor();
    QList<QStringList> calcRows;
    opened<TfrmExpPreventivi>(e().cmdEsporta, u"frmExpPreventivi"_qs, [&](TfrmExpPreventivi& f) {
        calcRows = orv::test::exportedRows(f.grdRecords);
        EXPECT_EQ(f.caption(), u" Esporta archivio preventivi in Microsoft Excel"_qs);
        QTableWidget* t = f.grdRecords.tableWidget();
        ASSERT_EQ(f.grdRecords.columnCount(), 26);
        EXPECT_EQ(f.grdRecords.rowCount(), 3);
        EXPECT_EQ(t->horizontalHeaderItem(7)->text(), u"Cognome e nome o ragione sociale Cliente"_qs);
        EXPECT_EQ(t->columnWidth(9), 100);
        EXPECT_EQ(f.grdRecords.cell(0, 2), u"3"_qs);
        EXPECT_EQ(f.grdRecords.cell(1, 2), u"3"_qs); // trimmed
        EXPECT_EQ(f.grdRecords.cell(7, 0), u"Rossi & Figli <srl>"_qs);
        EXPECT_EQ(f.grdRecords.cell(23, 1), u"1506,09"_qs);
        for (int c = 0; c < 26; ++c) {
            const bool editable = t->item(0, c) && (t->item(0, c)->flags() & Qt::ItemIsEditable);
            EXPECT_EQ(editable, c >= 20) << c;
        }
        click(f.cmdEsporta);
    });
    EXPECT_EQ(readFile(u"Preventivi.xls"_qs), fixture("Preventivi.xls"));
    {
    // LibreOffice Calc reads every cell as written: codes and numbers with leading zeros
    // stay text, amounts are numbers.
    if (orv::test::calcProgram().isEmpty()) GTEST_SKIP() << "soffice is not installed";
    QString why;
    const auto read = orv::test::openInCalc({programFolder() + u"Preventivi.xls"_qs}, &why);
    ASSERT_TRUE(read) << why.toStdString();
    orv::test::expectAsWritten(read->at(0), orv::quotes::exportSheet(), calcRows);
    EXPECT_TRUE(orv::test::hasTextCell(read->at(0), u"01234567890"_qs));
    EXPECT_TRUE(orv::test::hasTextCell(read->at(0), u"09876543210"_qs));
    }
    ASSERT_EQ(messages.calls.size(), 2u);
    EXPECT_EQ(messages.calls[0].kind, MessageCall::Confirmation);
    EXPECT_EQ(messages.calls[1].kind, MessageCall::Confirmation);
    EXPECT_EQ(shell.opened, QStringList({u"\""_qs + programFolder() + u"Preventivi.xls\""_qs}));
}

TEST_F(QuoteListsTest, ExportOfAnEmptyYearAndItsHelp)
{
    openEditor(u"2029"_qs);
    QString title, text;
    modal.scripts[u"frmGuida"_qs] = [&](Form& f) {
        title = static_cast<TfrmGuida&>(f).lblTitolo.text();
        text = static_cast<TfrmGuida&>(f).txtGuida.text();
    };
    messages.answers = {mrYes, mrNo};
    opened<TfrmExpPreventivi>(e().cmdEsporta, u"frmExpPreventivi"_qs, [&](TfrmExpPreventivi& f) {
        EXPECT_EQ(f.grdRecords.rowCount(), 10);
        click(f.cmdEsporta);
        click(f.cmdGuida);
    });
    const QByteArray file = readFile(u"Preventivi.xls"_qs);
    EXPECT_EQ(file.count("<tr>"), 11);
    EXPECT_EQ(file.count("<td style=\"text-align: right;\" sdnum=\"1040;0;@\"></td>"), 60);
    EXPECT_FALSE(file.contains('\n'));
    EXPECT_TRUE(shell.opened.isEmpty());
    EXPECT_EQ(title, u"Esportazione archivio preventivi in Microsoft Excel."_qs);
    const QStringList paragraphs = text.split(u"\r\n\r\n"_qs);
    ASSERT_EQ(paragraphs.size(), 3);
    EXPECT_TRUE(paragraphs[0].startsWith(u"Il pulsante Esporta archivio consente di esportare tutti i preventivi "
                                         u"emessi in un anno solare"_qs));
    EXPECT_TRUE(paragraphs[1].contains(u"crea in tempo reale un file in formato XLS"_qs));
}

} // namespace
