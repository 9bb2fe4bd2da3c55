// The customer export window: the archive in its grid, the file written from the grid.
#include "fixtures.h"
#include "window_fixture.h"

#include "kit/dialogs/guida.h"
#include "customers/expclienti.h"
#include "gui/calc.h"

#include <QDir>
#include <QLineEdit>
#include <QTableWidget>

using namespace orv::customers;
using namespace orv::kit;
using namespace orv::platform::ui;

using namespace orv::platform::ui;
using orv::test::card;
using orv::test::fixture;
using orv::test::CustomerWindowTest;
using orv::test::MessageCall;

namespace {

const QString kFirstQuestion = u"L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di "
                               u"schede presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?"_qs;
const QString kSecondQuestion =
    u"Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?"_qs;

class ExportTest : public CustomerWindowTest {
protected:
    void inExport(std::function<void(TfrmExpClienti&)> script)
    {
        modal.scripts[u"frmExpClienti"_qs] = [script](Form& f) { script(static_cast<TfrmExpClienti&>(f)); };
        click(editor().cmdEsporta);
        ASSERT_EQ(modal.shown.value(0), u"frmExpClienti"_qs);
        modal.shown.clear();
    }
    QString xls() const { return orv::platform::programFile(u"Clienti.xls"_qs); }
};

TEST_F(ExportTest, TheGridShowsTheArchiveAndTheFileIsWrittenFromIt)
{
    writeFile(TCliente::kFileName, fixture("Clienti.pro"));
    QList<QStringList> calcRows;
    inExport([&](TfrmExpClienti& f) {
        calcRows = orv::test::exportedRows(f.grdRecords);
        EXPECT_EQ(f.caption(), u" Esporta archivio Clienti e impianti in Microsoft Excel"_qs);
        EXPECT_EQ(f.width(), 862);
        EXPECT_EQ(f.height(), 560);
        QTableWidget* t = f.grdRecords.tableWidget();
        ASSERT_EQ(f.grdRecords.columnCount(), 26);
        EXPECT_EQ(t->horizontalHeaderItem(3)->text(), u"Comune / Stato estero di nascita"_qs);
        EXPECT_EQ(t->columnWidth(25), 350);
        ASSERT_EQ(f.grdRecords.rowCount(), 3);
        EXPECT_EQ(f.grdRecords.cell(0, 0), u"1"_qs);
        EXPECT_EQ(f.grdRecords.cell(0, 2), u"3"_qs);
        EXPECT_EQ(f.grdRecords.cell(1, 0), u"Rossi & Figli <srl>"_qs);
        EXPECT_EQ(f.grdRecords.cell(3, 0), u"Torino "_qs);  // no province: the joining blank stays in the grid
        EXPECT_EQ(f.grdRecords.cell(6, 1), u"Milano MI"_qs);
        EXPECT_EQ(f.grdRecords.cell(1, 2), u"Verdi Giuseppe"_qs);
        // Read-only and editable columns as designed.
        for (int col = 0; col < 26; ++col) {
            const bool editable = col == 6 || col == 14 || (col >= 16 && col <= 18) || col >= 22;
            EXPECT_EQ(bool(t->item(0, col)->flags() & Qt::ItemIsEditable), editable) << col;
        }

        messages.answers = {mrYes, mrYes};
        click(f.cmdEsporta);
        ASSERT_EQ(messages.calls.size(), 2u);
        EXPECT_EQ(messages.calls[0].kind, MessageCall::Confirmation);
        EXPECT_EQ(messages.calls[0].text, kFirstQuestion);
        EXPECT_EQ(messages.calls[1].kind, MessageCall::Confirmation);
        EXPECT_EQ(messages.calls[1].text, kSecondQuestion);
        EXPECT_EQ(shell.opened, QStringList{u'"' + xls() + u'"'});
    });
    EXPECT_EQ(readFile(u"Clienti.xls"_qs), fixture("Clienti.xls"));
    // LibreOffice Calc reads every cell as written: codes and numbers with leading zeros
    // stay text, amounts are numbers.
    if (orv::test::calcProgram().isEmpty()) GTEST_SKIP() << "soffice is not installed";
    QString why;
    const auto read = orv::test::openInCalc({xls()}, &why);
    ASSERT_TRUE(read) << why.toStdString();
    orv::test::expectAsWritten(read->at(0), orv::customers::exportSheet(), calcRows);
    EXPECT_TRUE(orv::test::hasTextCell(read->at(0), u"01234567890"_qs));
    EXPECT_TRUE(orv::test::hasTextCell(read->at(0), u"011 123456"_qs));
    EXPECT_TRUE(orv::test::hasTextCell(read->at(0), u"03/04/1961"_qs));
}

TEST_F(ExportTest, WhatIsTypedInTheGridGoesIntoTheFileNeverIntoTheArchive)
{
    writeArchive({card({{&TCliente::Cliente, "Rossi"}, {&TCliente::Note, "vecchia"}})});
    const QByteArray archive = archiveBytes();
    inExport([&](TfrmExpClienti& f) {
        QTableWidget* t = f.grdRecords.tableWidget();
        t->setCurrentCell(0, 25);
        QTest::keyClick(t, Qt::Key_F2);
        auto* cellEditor = t->viewport()->findChild<QLineEdit*>();
        ASSERT_TRUE(cellEditor);
        cellEditor->selectAll();
        QTest::keyClicks(cellEditor, u"Nuova"_qs);
        QTest::keyClick(cellEditor, Qt::Key_Return);
        QCoreApplication::processEvents();  // the grid commits the edit when the event loop runs
        EXPECT_EQ(f.grdRecords.cell(25, 0), u"Nuova"_qs);
        messages.answers = {mrYes, mrNo};
        click(f.cmdEsporta);
    });
    const QByteArray file = readFile(u"Clienti.xls"_qs);
    EXPECT_TRUE(file.contains("<td style=\"text-align: left;\" sdnum=\"1040;0;@\">Nuova</td></tr></table>"));
    EXPECT_FALSE(file.contains("vecchia"));
    EXPECT_TRUE(shell.opened.isEmpty());  // No to the second question: written, not opened
    EXPECT_EQ(archiveBytes(), archive);
}

TEST_F(ExportTest, AnEmptyArchiveExportsTheTenDesignedRows)
{
    inExport([&](TfrmExpClienti& f) {
        EXPECT_EQ(f.grdRecords.rowCount(), 10);
        EXPECT_EQ(f.grdRecords.cell(0, 0), QString());
        click(f.cmdEsporta);
    });
    const QByteArray file = readFile(u"Clienti.xls"_qs);
    EXPECT_EQ(file.count("<tr>"), 11);
    EXPECT_EQ(file.count("<td style=\"text-align: left;\" sdnum=\"1040;0;@\"></td>"), 250);
    EXPECT_FALSE(file.contains('\n'));
    EXPECT_TRUE(QFile::exists(orv::platform::programFile(TCliente::kFileName)));  // the grid's reading created it
}

TEST_F(ExportTest, NoWritesNothingAndAFileThatCannotBeReplacedShowsThePlainBox)
{
    writeArchive({card({{&TCliente::Cliente, "Rossi"}})});
    inExport([&](TfrmExpClienti& f) {
        messages.answers = {mrNo};
        click(f.cmdEsporta);
        EXPECT_EQ(messages.calls.size(), 1u);
    });
    EXPECT_FALSE(QFile::exists(xls()));
    messages.clear();

    ASSERT_TRUE(QDir(programFolder()).mkdir(u"Clienti.xls"_qs));
    inExport([&](TfrmExpClienti& f) { click(f.cmdEsporta); });
    ASSERT_EQ(messages.calls.size(), 2u);
    EXPECT_EQ(messages.last().kind, MessageCall::Plain);
    EXPECT_EQ(messages.last().text, u"Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi che il "
                                    u"file di Excel non sia già aperto."_qs);
    EXPECT_TRUE(shell.opened.isEmpty());
}

TEST_F(ExportTest, HintLineAndHelp)
{
    QString title, text;
    modal.scripts[u"frmGuida"_qs] = [&](Form& g) {
        title = static_cast<TfrmGuida&>(g).lblTitolo.text();
        text = static_cast<TfrmGuida&>(g).txtGuida.text();
    };
    inExport([&](TfrmExpClienti& f) {
        click(f.cmdGuida);
        EXPECT_EQ(modal.shown.value(1), u"frmGuida"_qs);
        EXPECT_EQ(title, u"Esportazione archivio Clienti e impianti in Microsoft Excel."_qs);
        const QStringList paragraphs = text.split(u"\r\n\r\n"_qs);
        ASSERT_EQ(paragraphs.size(), 3);
        EXPECT_TRUE(paragraphs[0].startsWith(u"Il pulsante Esporta archivio consente di esportare i dati anagrafici di "
                                             u"tutti i Clienti e dei loro impianti in un foglio di lavoro di Microsoft Excel"_qs));
        EXPECT_TRUE(paragraphs[1].startsWith(u"Dopo aver aperto la finestra contenente la griglia dei dati, bisogna fare "
                                             u"clic sull'icona di Excel."_qs));
        EXPECT_EQ(paragraphs[2],
                  u"A questo punto è sufficiente salvare il file sul proprio disco fisso assegnandogli un nome qualsiasi."_qs);

        EXPECT_EQ(f.panInfo.text(), u"Esportazione archivio in Microsoft Excel."_qs);
        const std::pair<Control*, const char*> hints[] = {
            {&f.cmdEsporta, "Esporta l'archivio in formato Microsoft Excel."},
            {&f.cmdGuida, "Visualizza la pagina della guida sensibile al contesto."},
            {&f.cmdEsci, "Esci da questo ambiente di lavoro."},
        };
        for (const auto& [c, text] : hints) {
            hover(*c);
            EXPECT_EQ(f.panInfo.text(), QString::fromUtf8(text));
            hover(f.grdRecords);
            EXPECT_EQ(f.panInfo.text(), QString());
        }
        click(f.cmdEsci);
        EXPECT_FALSE(f.isVisible());
    });
}

} // namespace
