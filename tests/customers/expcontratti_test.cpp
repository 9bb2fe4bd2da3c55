// The contract export window: the archive in its grid, the file written from the grid.
#include "contract_fixture.h"

#include "kit/dialogs/guida.h"
#include "customers/expcontratti.h"
#include "gui/calc.h"

#include <QTableWidget>

using namespace orv::customers;
using namespace orv::kit;
using namespace orv::platform::ui;

using namespace orv::platform::ui;
using orv::test::contractFixture;
using orv::test::ContractWindowTest;
using orv::test::MessageCall;

namespace {

class ContractExportTest : public ContractWindowTest {
protected:
    void inExport(std::function<void(TfrmExpContratti&)> script)
    {
        modal.scripts[u"frmExpContratti"_qs] = [script](Form& f) { script(static_cast<TfrmExpContratti&>(f)); };
        click(window().cmdEsporta);
        ASSERT_EQ(modal.shown.value(0), u"frmExpContratti"_qs);
        modal.shown.clear();
    }
};

TEST_F(ContractExportTest, TheGridShowsTheArchiveAndTheFileIsWrittenFromIt)
{
    writeFile(TContratto::kFileName, contractFixture("Contratti.pro"));
    QList<QStringList> calcRows;
    inExport([&](TfrmExpContratti& f) {
        calcRows = orv::test::exportedRows(f.grdRecords);
        EXPECT_EQ(f.caption(), u" Esporta archivio contratti in Microsoft Excel"_qs);
        QTableWidget* t = f.grdRecords.tableWidget();
        ASSERT_EQ(f.grdRecords.columnCount(), 26);
        const char* const headings[] = {
            "N.", "Contratto n.", "Data stipula", "Luogo stipula", "Cognome e nome Utente", "Comune di residenza",
            "Via e numero civico", "Partita IVA", "Codice Fiscale", "Telefono", "Qualità", "Tipo impianto",
            "Marca e modello", "Matricola n.", "Alimentazione", "Anno costruzione", "Caratteristiche tecniche",
            "Ubicazione", "Durata contratto", "Totale corrispettivo", "Periodicità canone", "Importo canone",
            "Modalità di pagamento", "Operazione 1 inclusa in contratto", "Operazione 2 inclusa in contratto",
            "Operazione 3 inclusa in contratto",
        };
        for (int col = 0; col < 26; ++col) {
            EXPECT_EQ(t->horizontalHeaderItem(col)->text(), QString::fromUtf8(headings[col])) << col;
            const bool editable = col == 1 || col == 2 || col == 10 || col == 16 || col == 18 || col == 19 || col >= 21;
            EXPECT_EQ(bool(t->item(0, col)->flags() & Qt::ItemIsEditable), editable) << col;
        }
        ASSERT_EQ(f.grdRecords.rowCount(), 3);
        EXPECT_EQ(f.grdRecords.cell(0, 2), u"3"_qs);
        EXPECT_EQ(f.grdRecords.cell(1, 1), u"2"_qs); // stored with blanks around it
        EXPECT_EQ(f.grdRecords.cell(4, 0), u"Rossi & Figli <srl>"_qs);
        EXPECT_EQ(f.grdRecords.cell(5, 0), u"Torino TO"_qs);
        EXPECT_EQ(f.grdRecords.cell(5, 1), u" "_qs);           // neither municipality nor province
        EXPECT_EQ(f.grdRecords.cell(5, 2), u"Caffè Alto "_qs); // no province: the joining blank stays
        EXPECT_EQ(f.grdRecords.cell(25, 0), u"Controllo tenuta"_qs);

        messages.answers = {mrYes, mrYes};
        click(f.cmdEsporta);
        ASSERT_EQ(messages.calls.size(), 2u);
        EXPECT_EQ(messages.calls[0].kind, MessageCall::Confirmation);
        EXPECT_EQ(messages.calls[1].kind, MessageCall::Confirmation);
        EXPECT_EQ(shell.opened, QStringList{u'"' + orv::platform::programFile(u"Contratti.xls"_qs) + u'"'});
    });
    EXPECT_EQ(readFile(u"Contratti.xls"_qs), contractFixture("Contratti.xls"));
    // LibreOffice Calc reads every cell as written: codes and numbers with leading zeros
    // stay text, amounts are numbers.
    if (orv::test::calcProgram().isEmpty()) GTEST_SKIP() << "soffice is not installed";
    QString why;
    const auto read = orv::test::openInCalc({orv::platform::programFile(u"Contratti.xls"_qs)}, &why);
    ASSERT_TRUE(read) << why.toStdString();
    orv::test::expectAsWritten(read->at(0), orv::customers::contractExportSheet(), calcRows);
    EXPECT_TRUE(orv::test::hasTextCell(read->at(0), u"09876543210"_qs));
    EXPECT_TRUE(orv::test::hasTextCell(read->at(0), u"011 123456"_qs));
}

TEST_F(ContractExportTest, AnEmptyArchiveExportsTheTenDesignedRows)
{
    inExport([&](TfrmExpContratti& f) {
        EXPECT_EQ(f.grdRecords.rowCount(), 10);
        click(f.cmdEsporta);
    });
    const QByteArray file = readFile(u"Contratti.xls"_qs);
    EXPECT_TRUE(file.contains("<x:Name>Riepilogo Contratti</x:Name>"));
    EXPECT_TRUE(file.contains("width=250 sdnum=\"1040;0;@\">Cognone e nome Utente</td>"));
    EXPECT_EQ(file.count("<tr>"), 11);
    EXPECT_EQ(file.count("<td style=\"text-align: left;\" sdnum=\"1040;0;@\"></td>"), 250);
    EXPECT_FALSE(file.contains('\n'));
}

TEST_F(ContractExportTest, HintLineAndHelp)
{
    QString title, text;
    modal.scripts[u"frmGuida"_qs] = [&](Form& g) {
        title = static_cast<TfrmGuida&>(g).lblTitolo.text();
        text = static_cast<TfrmGuida&>(g).txtGuida.text();
    };
    inExport([&](TfrmExpContratti& f) {
        click(f.cmdGuida);
        EXPECT_EQ(title, u"Esportazione archivio contratti in Microsoft Excel."_qs);
        const QStringList paragraphs = text.split(u"\r\n\r\n"_qs);
        ASSERT_EQ(paragraphs.size(), 3);
        EXPECT_TRUE(paragraphs[0].startsWith(u"Il pulsante Esporta archivio consente di esportare tutti i contratti di "
                                             u"manutenzione programmata in un foglio di lavoro"_qs));
        EXPECT_EQ(f.panInfo.text(), u"Esportazione archivio in Microsoft Excel."_qs);
        hover(f.cmdEsporta);
        EXPECT_EQ(f.panInfo.text(), u"Esporta l'archivio in formato Microsoft Excel."_qs);
        hover(f.grdRecords);
        EXPECT_EQ(f.panInfo.text(), QString());
        click(f.cmdEsci);
        EXPECT_FALSE(f.isVisible());
    });
}

} // namespace
