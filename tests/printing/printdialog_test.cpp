// The print dialog driven as a user drives it: keys and clicks on its controls, then OK,
// Enter, Cancel or Esc; what it leaves in the print options and the printer list, and
// what is printed.
#include "support.h"

#include "report/print/printdialog.h"
#include "report/print/printers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace orv::report;
using namespace orv::report::test;

namespace {

template <class W>
W* child(orv::platform::ui::Form& f, const char* name)
{
    W* w = f.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

void clickDialogControl(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center()); }
// Check boxes and radio buttons take the click on their box.
void tick(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(6, b->height() / 2)); }

// Replaces an edit's text as a user does: click into it, select everything, type.
void retypeDialogField(QLineEdit* e, const QString& text)
{
    clickDialogControl(e);
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(e, text);
}

// Picks the entry of a closed drop-down list with the arrow keys.
void choose(QComboBox* c, int index)
{
    c->setFocus();
    QTest::keyClick(c, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(c, Qt::Key_Down);
}

QList<int> pageNumbersOf(const PrintedDocument& doc)
{
    QList<int> out;
    for (const PrintedPage& p : doc.pages) {
        const QStringList lines = p.lines();
        out << (lines.contains(listLine(1)) ? 1 : lines.contains(listLine(60)) ? 2 : lines.contains(listLine(120)) ? 3 : 0);
    }
    return out;
}

} // namespace

class PrintDialogTest : public PrintingTest {
protected:
    std::unique_ptr<TfrxReport> report;
    void SetUp() override
    {
        PrintingTest::SetUp();
        report = preparedList(120);
    }
    void onDialog(std::function<void(orv::platform::ui::Form&)> script) { modal.scripts[QStringLiteral("frxPrintDialog")] = script; }
};

TEST_F(PrintDialogTest, OpensWithTheEnginesTextsAndThePrintOptions)
{
    report->PrintOptions()->SetPageNumbers(QStringLiteral("2-3"));
    report->PrintOptions()->SetCopies(3);
    bool seen = false;
    onDialog([&](orv::platform::ui::Form& f) {
        seen = true;
        EXPECT_EQ(f.caption(), QStringLiteral("Print"));
        EXPECT_EQ(child<QPushButton>(f, "PropButton")->text(), QStringLiteral("Properties..."));
        EXPECT_EQ(child<QGroupBox>(f, "OtherGB")->title(), QStringLiteral("Other"));
        EXPECT_EQ(child<QComboBox>(f, "OrderCB")->itemText(1), QStringLiteral("Reverse (9-1)"));
        auto* printers = child<QComboBox>(f, "PrintersCB");
        EXPECT_EQ(printers->count(), 2);
        EXPECT_EQ(printers->currentText(), QStringLiteral("Ufficio"));
        EXPECT_EQ(child<QLabel>(f, "WhereL1")->text(), QStringLiteral("Segreteria, primo piano"));
        EXPECT_TRUE(child<QRadioButton>(f, "PageNumbersRB")->isChecked());
        EXPECT_EQ(child<QLineEdit>(f, "PageNumbersE")->text(), QStringLiteral("2-3"));
        // The copies start at 1 whatever the options hold.
        EXPECT_EQ(child<QLineEdit>(f, "CopiesE")->text(), QStringLiteral("1"));
        EXPECT_TRUE(child<QCheckBox>(f, "CollateCB")->isChecked());
        EXPECT_FALSE(child<QComboBox>(f, "PrintModeCB")->isEnabled());
        EXPECT_EQ(child<QComboBox>(f, "PagPageSizeCB")->currentText(), QStringLiteral("Default"));
        EXPECT_FALSE(child<QComboBox>(f, "PagPageSizeCB")->isEnabled());
        QTest::keyClick(&f, Qt::Key_Escape);
    });
    EXPECT_FALSE(report->Print());
    EXPECT_TRUE(seen);
    EXPECT_TRUE(printing.documents.empty());
}

TEST_F(PrintDialogTest, CancelPrintsNothingAndKeepsThePrinter)
{
    onDialog([&](orv::platform::ui::Form& f) {
        choose(child<QComboBox>(f, "PrintersCB"), 1);
        EXPECT_EQ(frxPrinterList()->Printer()->Name(), QStringLiteral("Laboratorio"));
        EXPECT_EQ(child<QLabel>(f, "WhereL1")->text(), QStringLiteral("Banco prove"));
        retypeDialogField(child<QLineEdit>(f, "CopiesE"), QStringLiteral("4"));
        clickDialogControl(child<QPushButton>(f, "CancelB"));
    });
    EXPECT_FALSE(report->Print());
    EXPECT_TRUE(printing.documents.empty());
    EXPECT_EQ(frxPrinterList()->Printer()->Name(), QStringLiteral("Ufficio"));
    EXPECT_EQ(report->PrintOptions()->Copies(), 1);
}

TEST_F(PrintDialogTest, ChosenPrinterCopiesAndPagesArePrinted)
{
    onDialog([&](orv::platform::ui::Form& f) {
        choose(child<QComboBox>(f, "PrintersCB"), 1);
        retypeDialogField(child<QLineEdit>(f, "CopiesE"), QStringLiteral("2"));
        // Typing a page list chooses "Pages:".
        retypeDialogField(child<QLineEdit>(f, "PageNumbersE"), QStringLiteral("2-3"));
        EXPECT_TRUE(child<QRadioButton>(f, "PageNumbersRB")->isChecked());
        clickDialogControl(child<QPushButton>(f, "OkB"));
    });
    ASSERT_TRUE(report->Print());
    ASSERT_EQ(printing.documents.size(), 1u);
    EXPECT_EQ(printing.documents[0].printer, QStringLiteral("Laboratorio"));
    EXPECT_EQ(pageNumbersOf(printing.documents[0]), QList<int>({2, 3, 2, 3}));
    // The options are the report's again; the printer stays the one chosen.
    EXPECT_EQ(report->PrintOptions()->Copies(), 1);
    EXPECT_EQ(report->PrintOptions()->PageNumbers(), QString());
    EXPECT_EQ(frxPrinterList()->Printer()->Name(), QStringLiteral("Laboratorio"));
}

TEST_F(PrintDialogTest, EnterConfirmsWithOrderOddPagesAndNoCollation)
{
    onDialog([&](orv::platform::ui::Form& f) {
        choose(child<QComboBox>(f, "OrderCB"), 1);
        choose(child<QComboBox>(f, "PrintPagesCB"), 1);
        tick(child<QCheckBox>(f, "CollateCB"));
        retypeDialogField(child<QLineEdit>(f, "CopiesE"), QStringLiteral("3"));
        QTest::keyClick(child<QLineEdit>(f, "CopiesE"), Qt::Key_Return);
    });
    ASSERT_TRUE(report->Print());
    ASSERT_EQ(printing.documents.size(), 1u);
    EXPECT_EQ(pageNumbersOf(printing.documents[0]), QList<int>({3, 1}));
    EXPECT_EQ(printing.documents[0].startMode.Copies, 3);
}

TEST_F(PrintDialogTest, CurrentPageOfThePreview)
{
    pagesOf(*report).CurPreviewPage = 2;
    onDialog([&](orv::platform::ui::Form& f) {
        tick(child<QRadioButton>(f, "CurPageRB"));
        clickDialogControl(child<QPushButton>(f, "OkB"));
    });
    ASSERT_TRUE(report->Print());
    EXPECT_EQ(pageNumbersOf(printing.documents[0]), QList<int>({2}));
}

TEST_F(PrintDialogTest, PrintToFileTakesThePrnExtension)
{
    saves.answers.push_back(QStringLiteral("/tmp/stampe/out.txt"));
    onDialog([&](orv::platform::ui::Form& f) {
        tick(child<QCheckBox>(f, "FileCB"));
        clickDialogControl(child<QPushButton>(f, "OkB"));
    });
    ASSERT_TRUE(report->Print());
    ASSERT_EQ(saves.titles, QStringList{QStringLiteral("Print to file")});
    EXPECT_EQ(saves.filters, QStringList{QStringLiteral("Printer file (*.prn)|*.prn")});
    EXPECT_EQ(printing.documents[0].fileName, QStringLiteral("/tmp/stampe/out.prn"));

    // Cancelling the file dialog cancels the print.
    printing.documents.clear();
    onDialog([&](orv::platform::ui::Form& f) {
        tick(child<QCheckBox>(f, "FileCB"));
        clickDialogControl(child<QPushButton>(f, "OkB"));
    });
    EXPECT_FALSE(report->Print());
    EXPECT_TRUE(printing.documents.empty());
}

TEST_F(PrintDialogTest, DuplexChosenInThePrintersProperties)
{
    DeviceMode chosen = printing.printers[0].defaults;
    chosen.Duplex = DeviceMode::Vertical;
    printing.propertiesAnswers.push_back(chosen);
    onDialog([&](orv::platform::ui::Form& f) {
        clickDialogControl(child<QPushButton>(f, "PropButton"));
        EXPECT_EQ(child<QComboBox>(f, "DuplexCB")->currentText(), QStringLiteral("Vertical"));
        clickDialogControl(child<QPushButton>(f, "OkB"));
    });
    ASSERT_TRUE(report->Print());
    EXPECT_EQ(printing.documents[0].pages[0].mode.Duplex, DeviceMode::Vertical);
    EXPECT_EQ(report->PrintOptions()->Duplex, dmVertical);
}

TEST_F(PrintDialogTest, CopiesThatAreNoNumberKeepTheDialogOpen)
{
    bool stillOpen = false;
    onDialog([&](orv::platform::ui::Form& f) {
        retypeDialogField(child<QLineEdit>(f, "CopiesE"), QStringLiteral("due"));
        clickDialogControl(child<QPushButton>(f, "OkB"));
        stillOpen = f.isVisible();
        retypeDialogField(child<QLineEdit>(f, "PageNumbersE"), QStringLiteral("1,x"));
        retypeDialogField(child<QLineEdit>(f, "CopiesE"), QStringLiteral("1"));
        clickDialogControl(child<QPushButton>(f, "OkB"));
        stillOpen = stillOpen && f.isVisible();
        clickDialogControl(child<QPushButton>(f, "CancelB"));
    });
    EXPECT_FALSE(report->Print());
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(errorBoxes(), QStringList({QStringLiteral("'due' is not a valid integer value"),
                                         QStringLiteral("'x' is not a valid integer value")}));
    EXPECT_TRUE(printing.documents.empty());
}
