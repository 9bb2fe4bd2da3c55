// The delivery-note finder, the not-delivered list and the export, opened from the
// editor's commands and driven through their real controls.
#include "ddt_fixture.h"

#include "kit/dialogs/guida.h"
#include "ddt/expddt.h"
#include "gui/calc.h"
#include "ddt/sospesiddt.h"
#include "ddt/trovaddt.h"

#include <QDir>
#include <QFile>
#include <QTableWidget>

using namespace orv::ddt;
using namespace orv::kit;
using namespace orv::platform::ui;

using namespace orv::platform::ui;
using orv::test::DdtWindowTest;
using orv::test::doubleClickLine;
using orv::test::kAccess;
using orv::test::MessageCall;
using orv::test::note;

namespace {

const QString kEmptyList = u"Ricerca non applicabile: la lista non contiene nessuna voce."_qs;

class DdtListsTest : public DdtWindowTest {
protected:
    // The delivery-note numbers of list lines.
    static QStringList numbers(const QStringList& lines)
    {
        QStringList n;
        for (const QString& l : lines) n << l.mid(7, 25).section(u' ', 0, 0);
        return n;
    }
};

TEST_F(DdtListsTest, FinderSearchesEveryNoteByItsCriteriaInTextOrder)
{
    writeYear({note({{"NumFatt", "2"}, {"Data", "02/03/2021"}, {"Cliente", "Mario Rossi"}, {"Saldata", "Sì"}}),
               note({{"NumFatt", "10"}, {"Data", "03/04/2021"}, {"Cliente", "rossi srl"}, {"Saldata", "No"}}),
               note({{"NumFatt", "11"}, {"Data", "04/03/2021"}, {"Cliente", "Àlfa"}, {"Note", "urgente"}}),
               note({{"NumFatt", "3"}, {"Data", "05/03/2022"}, {"Cliente", "Verdi Rossi"}, {"Note", "urgente"}})});
    openEditor();
    const struct {
        std::vector<std::pair<const char*, const char*>> criteria;
        QStringList numbers; // in list order
        const char* inUse;
    } cases[] = {
        {{}, {"10", "11", "2", "3"}, "0"}, // every note, delivered or not; 10 before 2
        {{{"txtNumFatt", "1"}}, {"10", "11"}, "1"},
        {{{"txtData", "/03/"}}, {"11", "2", "3"}, "1"},
        {{{"txtData", "2021"}}, {"10", "11", "2"}, "1"},
        {{{"txtCliente", "ROSSI"}}, {"10", "2", "3"}, "1"},
        {{{"txtCliente", "à"}}, {}, "1"}, // accented capitals are not folded
        {{{"txtCliente", "rossi "}}, {"10"}, "1"},
        {{{"txtCliente", "   "}, {"txtNumFatt", "9"}}, {}, "1"},
        {{{"txtCliente", "rossi"}, {"txtNote", "URG"}}, {"3"}, "2"},
    };
    for (const auto& c : cases) {
        QStringList lines;
        QString inUse, count;
        opened<TfrmTrovaDDT>(e().cmdTrova, u"frmTrovaDDT"_qs, [&](TfrmTrovaDDT& f) {
            EXPECT_EQ(f.caption(), u" Trova Documenti di Trasporto in archivio"_qs);
            EXPECT_EQ(f.lblMemory.text(), u"ddt"_qs);
            EXPECT_EQ(f.control<Label>(u"lblNumFatt"_qs).text(), u"DOCUMENTO DI TRASPORTO N."_qs);
            EXPECT_TRUE(focusIs(f.txtNumFatt));
            for (const auto& [field, text] : c.criteria)
                f.control<Edit>(QString::fromLatin1(field)).setText(QString::fromUtf8(text));
            click(f.btnCerca);
            lines = f.lstRecords.itemsText();
            inUse = f.lblConta.text();
            count = f.lblTrovate.text();
            EXPECT_TRUE(f.panContainer.visible());
            EXPECT_TRUE(focusIs(f.txtTrova));
        });
        const std::string what = c.criteria.empty() ? "none" : c.criteria[0].second;
        EXPECT_EQ(numbers(lines), c.numbers) << what;
        EXPECT_EQ(inUse, QString::fromLatin1(c.inUse)) << what;
        EXPECT_EQ(count, u"Il presente elenco contiene "_qs + QString::number(lines.size()) + u" schede."_qs);
    }
    EXPECT_TRUE(messages.calls.empty());
}

// The criteria in pairs per row, in columns of 320, references and notes across 664; each
// title above its edit; the Enter chain goes row by row; nothing leaves the panel.
TEST_F(DdtListsTest, FinderCriteriaStandInPairsPerRowAndAcrossTheFullWidth)
{
    openEditor();
    opened<TfrmTrovaDDT>(e().cmdTrova, u"frmTrovaDDT"_qs, [&](TfrmTrovaDDT& f) {
        const struct {
            const char* name;
            int row;
            int column; // 0 left, 1 right, -1 full width
        } places[] = {
            {"NumFatt", 0, 0},      {"Data", 0, 1},           {"Cliente", 1, 0},    {"ViaCliente", 1, 1},
            {"CittaCliente", 2, 0}, {"Pagamento", 2, 1},      {"IvaCliente", 3, 0}, {"CodFiscCliente", 3, 1},
            {"Riferimenti", 4, -1}, {"Note", 5, -1},
        };
        const Edit& first = f.control<Edit>(u"txtNumFatt"_qs);
        const int left = first.left(), rowTop = first.top();
        int lastTop = rowTop, rowPitch = 0;
        for (const auto& p : places) {
            const QString field = QString::fromLatin1(p.name);
            const Edit& edit = f.control<Edit>(u"txt"_qs + field);
            const Label& title = f.control<Label>(u"lbl"_qs + field);
            EXPECT_EQ(edit.width(), p.column < 0 ? 664 : 320) << p.name;
            EXPECT_EQ(edit.left(), p.column == 1 ? left + 664 - 320 : left) << p.name;
            EXPECT_EQ(title.left(), edit.left()) << p.name;
            EXPECT_LT(title.top(), edit.top()) << p.name;
            if (p.row == 1 && p.column == 0) rowPitch = edit.top() - rowTop;
            if (p.row > 0) {
                EXPECT_EQ(edit.top(), rowTop + p.row * rowPitch) << p.name;
            }
            EXPECT_LE(edit.left() + edit.width(), f.panAvvio.width()) << p.name;
            lastTop = edit.top();
        }
        EXPECT_GT(rowPitch, first.height());
        // The instructions and the commands below the last row, inside the panel.
        EXPECT_GT(f.control<Label>(u"lblRigo04"_qs).top(), lastTop + first.height());
        EXPECT_LE(f.btnCerca.top() + f.btnCerca.height(), f.panAvvio.height());
        EXPECT_GT(f.btnCerca.top(), f.control<Label>(u"lblRigo06"_qs).top());
        const Label& wait = f.lblAttendere;
        EXPECT_LE(wait.top() + wait.height(), f.panAvvio.height());
        EXPECT_TRUE(wait.left() >= f.btnAnnulla.left() + f.btnAnnulla.width()
                    || wait.top() >= f.btnCerca.top() + f.btnCerca.height());
        // Enter walks the criteria in their order.
        EXPECT_TRUE(focusIs(f.txtNumFatt));
        for (const auto& p : places) {
            EXPECT_TRUE(focusIs(f.control<Edit>(u"txt"_qs + QString::fromLatin1(p.name)))) << p.name;
            key(f, Qt::Key_Return);
        }
        EXPECT_TRUE(focusIs(f.txtNumFatt));
    });
}

TEST_F(DdtListsTest, FinderLoadsTheChosenNotePrintsItsListAndLoadsOnlyForTheEditor)
{
    // Two notes give the same line (the customers differ past the 35th character).
    writeYear({note({{"NumFatt", "1"}, {"Cliente", "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNA"}, {"Quant11", "2"},
                     {"Vettore", "Primo"}}),
               note({{"NumFatt", "2"}, {"Cliente", "Altro"}}),
               note({{"NumFatt", "1"}, {"Cliente", "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNB"}, {"Quant11", "3"},
                     {"Vettore", "Terzo"}, {"Saldata", "Sì"}})});
    openEditor();
    e().showPage(3);
    e().txtNote.setFocus();
    for (int chosen : {0, 1}) {
        opened<TfrmTrovaDDT>(e().cmdTrova, u"frmTrovaDDT"_qs, [&](TfrmTrovaDDT& f) {
            f.txtNumFatt.setText(u"1"_qs);
            click(f.btnCerca);
            ASSERT_EQ(f.lstRecords.count(), 2);
            EXPECT_EQ(f.lstRecords.item(0), f.lstRecords.item(1));
            click(f.btnStampa);
            doubleClickLine(f.lstRecords, chosen);
            EXPECT_FALSE(f.isVisible());
        });
        EXPECT_EQ(e().lblPosizione.text(), chosen == 0 ? u"1"_qs : u"3"_qs);
        EXPECT_EQ(e().memVettore.text(), chosen == 0 ? u"Primo"_qs : u"Terzo"_qs);
        EXPECT_EQ(e().row(11).txtQuant.text(), chosen == 0 ? u"2"_qs : u"3"_qs);
        EXPECT_EQ(e().chkSaldata.isChecked(), chosen == 1);
        EXPECT_EQ(e().shownPage(), 3);
        EXPECT_TRUE(focusIs(e().txtNote));
    }
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(printed[0].title, u"Riepilogo Documenti di Trasporto emessi"_qs);
    EXPECT_EQ(printed[0].lines.size(), 2);

    e().txtCliente.setText(u"(sullo schermo)"_qs);
    TfrmTrovaDDT other(&e());
    other.lblMemory.setText(u"preventivi"_qs);
    other.show();
    click(other.btnCerca);
    doubleClickLine(other.lstRecords, 0);
    EXPECT_FALSE(other.isVisible());
    EXPECT_EQ(e().txtCliente.text(), u"(sullo schermo)"_qs);
}

TEST_F(DdtListsTest, FinderOnAMissingYearAndOnOneThatCannotBeRead)
{
    openEditor(u"2031"_qs);
    opened<TfrmTrovaDDT>(e().cmdTrova, u"frmTrovaDDT"_qs, [&](TfrmTrovaDDT& f) {
        click(f.btnCerca);
        EXPECT_EQ(f.lblTrovate.text(), u"Il presente elenco contiene 0 schede."_qs);
        click(f.btnTrova);
    });
    EXPECT_EQ(takeTexts(), QStringList({kEmptyList}));
    EXPECT_EQ(readFile(u"2031.ddt"_qs).size(), 0);

    QFile::remove(programFolder() + u"2031.ddt"_qs);
    QDir(programFolder()).mkdir(u"2031.ddt"_qs);
    opened<TfrmTrovaDDT>(e().cmdTrova, u"frmTrovaDDT"_qs, [&](TfrmTrovaDDT& f) {
        click(f.btnCerca);
        ASSERT_EQ(messages.calls.size(), 1u);
        EXPECT_EQ(messages.last().kind, MessageCall::Plain);
        EXPECT_EQ(messages.last().text, kAccess);
        EXPECT_TRUE(f.panAvvio.visible());
    });
}

TEST_F(DdtListsTest, NotDeliveredListsTheExactNoInFileOrderAndLoadsTheChosenNote)
{
    writeFile(u"2026.ddt"_qs, fixture("2026.ddt"));
    openEditor();
    QStringList lines, finderLines;
    opened<TfrmSospesiDDT>(e().cmdSospese, u"frmSospesiDDT"_qs, [&](TfrmSospesiDDT& f) {
        EXPECT_EQ(f.caption(), u" Riepilogo carichi non consegnati"_qs);
        lines = f.lstRecords.itemsText();
        EXPECT_EQ(f.lstRecords.itemIndex(), -1);
        EXPECT_TRUE(focusIs(f.txtTrova));
        f.txtTrova.setText(u"VERDI"_qs);
        click(f.btnTrova);
        EXPECT_EQ(f.lstRecords.itemIndex(), 1);
        click(f.btnStampa);
        doubleClickLine(f.lstRecords, 1);
        EXPECT_FALSE(f.isVisible());
    });
    // Notes 1 and 3 ("No"); not 2 ("Sì") nor 4 ("no").
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(u"DDT n. 1 del 12/01/2026"));
    EXPECT_TRUE(lines[0].endsWith(u"  Tot. \u20ac 106,56"));
    EXPECT_TRUE(lines[1].startsWith(u"DDT n. 3 del 01/03/2026"));
    EXPECT_EQ(e().lblPosizione.text(), u"3"_qs);
    EXPECT_EQ(e().txtCliente.text(), u"Verdi Giuseppe"_qs);
    EXPECT_EQ(e().memVettore.text(), u"Mezzo proprio"_qs);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].title, u"Riepilogo DDT relativi a carichi non consegnati"_qs);
    EXPECT_EQ(printed[0].lines, lines);

    // The finder shows the same lines for the same notes.
    opened<TfrmTrovaDDT>(e().cmdTrova, u"frmTrovaDDT"_qs, [&](TfrmTrovaDDT& f) {
        click(f.btnCerca);
        finderLines = f.lstRecords.itemsText();
    });
    EXPECT_TRUE(finderLines.contains(lines[0]));
    EXPECT_TRUE(finderLines.contains(lines[1]));
    EXPECT_EQ(finderLines.size(), 4); // the trailing bytes are no note
}

TEST_F(DdtListsTest, NotDeliveredOfAYearWhoseNotesAreAllDelivered)
{
    writeYear({note({{"NumFatt", "1"}, {"Saldata", "Sì"}}), note({{"NumFatt", "2"}})});
    openEditor();
    opened<TfrmSospesiDDT>(e().cmdSospese, u"frmSospesiDDT"_qs, [&](TfrmSospesiDDT& f) {
        EXPECT_EQ(f.lstRecords.count(), 0);
        click(f.btnTrova);
        click(f.btnStampa);
        click(f.btnChiudi);
    });
    EXPECT_EQ(takeTexts(), QStringList({kEmptyList}));
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_TRUE(printed[0].lines.isEmpty());
    EXPECT_EQ(e().lblPosizione.text(), QString());
}

TEST_F(DdtListsTest, ExportGridAndFileMatchTheIndependentFixture)
{
    writeFile(u"2026.ddt"_qs, fixture("2026.ddt"));
    openEditor();
    QList<QStringList> calcRows;
    opened<TfrmExpDDT>(e().cmdEsporta, u"frmExpDDT"_qs, [&](TfrmExpDDT& f) {
        calcRows = orv::test::exportedRows(f.grdRecords);
        EXPECT_EQ(f.caption(), u" Esporta archivio Documenti di Trasporto in Microsoft Excel"_qs);
        QTableWidget* t = f.grdRecords.tableWidget();
        ASSERT_EQ(f.grdRecords.columnCount(), 26);
        EXPECT_EQ(f.grdRecords.rowCount(), 4);
        const std::pair<int, const char*> headings[] = {
            {0, "N."}, {1, "DDT n."}, {7, "Cognome e nome o ragione sociale Cliente"}, {23, "TOTALE NDC"},
            {25, "Consegnato"}};
        for (const auto& [column, heading] : headings)
            EXPECT_EQ(t->horizontalHeaderItem(column)->text(), QString::fromUtf8(heading)) << column;
        EXPECT_EQ(t->columnWidth(9), 100);
        EXPECT_EQ(f.grdRecords.cell(0, 3), u"4"_qs);
        EXPECT_EQ(f.grdRecords.cell(1, 2), u"3"_qs); // trimmed
        EXPECT_EQ(f.grdRecords.cell(7, 0), u"Rossi & Figli <srl>"_qs);
        EXPECT_EQ(f.grdRecords.cell(25, 1), u"Sì"_qs);
        for (int c = 0; c < 26; ++c) {
            const bool editable = t->item(0, c) && (t->item(0, c)->flags() & Qt::ItemIsEditable);
            EXPECT_EQ(editable, c >= 20) << c;
        }
        click(f.cmdEsporta);
    });
    EXPECT_EQ(readFile(u"DDT.xls"_qs), fixture("DDT.xls"));
    {
    // LibreOffice Calc reads every cell as written: codes and numbers with leading zeros
    // stay text, amounts are numbers.
    if (orv::test::calcProgram().isEmpty()) GTEST_SKIP() << "soffice is not installed";
    QString why;
    const auto read = orv::test::openInCalc({programFolder() + u"DDT.xls"_qs}, &why);
    ASSERT_TRUE(read) << why.toStdString();
    orv::test::expectAsWritten(read->at(0), orv::documents::exportSheet(orv::ddt::exportTexts()), calcRows);
    EXPECT_TRUE(orv::test::hasTextCell(read->at(0), u"01234567890"_qs));
    EXPECT_TRUE(orv::test::hasTextCell(read->at(0), u"09876543210"_qs));
    }
    ASSERT_EQ(messages.calls.size(), 2u);
    EXPECT_EQ(messages.calls[0].kind, MessageCall::Confirmation);
    EXPECT_EQ(messages.calls[1].kind, MessageCall::Confirmation);
    EXPECT_EQ(shell.opened, QStringList({u"\""_qs + programFolder() + u"DDT.xls\""_qs}));
}

TEST_F(DdtListsTest, ExportOfAnEmptyYearItsAnswersAndItsHelp)
{
    openEditor(u"2029"_qs);
    writeFile(u"DDT.xls"_qs, "earlier");
    QString title, text;
    modal.scripts[u"frmGuida"_qs] = [&](Form& f) {
        title = static_cast<TfrmGuida&>(f).lblTitolo.text();
        text = static_cast<TfrmGuida&>(f).txtGuida.text();
    };
    messages.answers = {mrNo, mrYes, mrNo};
    opened<TfrmExpDDT>(e().cmdEsporta, u"frmExpDDT"_qs, [&](TfrmExpDDT& f) {
        EXPECT_EQ(f.grdRecords.rowCount(), 10);
        click(f.cmdEsporta); // No: nothing written
        EXPECT_EQ(readFile(u"DDT.xls"_qs), QByteArray("earlier"));
        click(f.cmdEsporta);
        EXPECT_TRUE(f.isVisible()); // the window stays open
        click(f.cmdGuida);
    });
    const QByteArray file = readFile(u"DDT.xls"_qs);
    EXPECT_EQ(file.count("<tr>"), 11);
    EXPECT_EQ(file.count("<td style=\"text-align: right;\" sdnum=\"1040;0;@\"></td>"), 60);
    EXPECT_TRUE(file.contains("<x:Name>Riepilogo DDT</x:Name>"));
    EXPECT_FALSE(file.contains('\n'));
    EXPECT_TRUE(shell.opened.isEmpty());
    EXPECT_EQ(title, u"Esportazione archivio Documenti di Trasporto in Microsoft Excel."_qs);
    const QStringList paragraphs = text.split(u"\r\n\r\n"_qs);
    ASSERT_EQ(paragraphs.size(), 3);
    EXPECT_EQ(paragraphs[0], u"Il pulsante Esporta archivio consente di esportare tutti i Documenti di Trasporto "
                             u"emessi in un anno solare in un foglio di lavoro di Microsoft Excel, che potrà essere "
                             u"aperto con qualsiasi software in grado di gestire i file in formato XLS (ad esempio, "
                             u"con Open Office, Libre Office o Microsoft Office)."_qs);
    EXPECT_EQ(paragraphs[2], u"A questo punto è sufficiente salvare il file sul proprio disco fisso assegnandogli un "
                             u"nome qualsiasi."_qs);
}

} // namespace
