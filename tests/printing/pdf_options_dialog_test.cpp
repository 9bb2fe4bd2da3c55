// The PDF export filter's options dialog, driven by real key and mouse events: it shows
// the filter's settings, reads back what the user changed, asks for the file, and lets
// the user cancel at either step.
#include "gui/doubles.h"

#include "pdf/pdfdialog.h"
#include "pdf/pdfexport.h"
#include "report/model/pages.h"
#include "report/model/report.h"
#include "report/model/views.h"

#include <QApplication>
#include <QBuffer>
#include <QFontMetrics>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QRadioButton>
#include <QTabBar>

#include <functional>

using namespace orv::pdf;
using namespace orv::report;

using namespace orv;

namespace {

// Answers the save dialog from a queue and records what it was asked.
class SaveDialog : public platform::ui::FileDialogService {
public:
    std::vector<platform::ui::SaveFileRequest> requests;
    QStringList answers; // the files chosen, in turn; cancelled once they are used up
    std::optional<QString> openFile(const platform::ui::OpenFileRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(const platform::ui::SaveFileRequest& r) override
    {
        requests.push_back(r);
        if (answers.isEmpty())
            return std::nullopt;
        return answers.takeFirst();
    }
};

class PdfOptionsDialogTest : public orv::test::GuiTest {
protected:
    SaveDialog saves;
    std::unique_ptr<TfrxReport> report;
    TfrxPDFExport pdf;

    void SetUp() override
    {
        GuiTest::SetUp();
        platform::ui::setFileDialog(&saves);
        report = std::make_unique<TfrxReport>();
        report->SetShowProgress(false);
        report->ReportOptions()->SetName(QStringLiteral("Fattura"));
        report->PreviewOptions()->SetOutlineVisible(false);
        auto* page = new TfrxReportPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        for (int i = 0; i < 3; ++i) {
            auto* memo = new TfrxMemoView(page);
            memo->SetName(QStringLiteral("txtPagina%1").arg(i));
            memo->SetBounds(0, 0, 200, 20);
            memo->SetText(QStringLiteral("Pagina"));
        }
        pdf.Report = report.get();
    }

    // On its box: the boxes are wider than their captions, and a click beside the
    // caption toggles nothing.
    static void clickBox(QWidget* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2)); }
    static void clickTab(QTabBar* bar, int index)
    {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    static TfrxPDFExportDialog& dialogOf(platform::ui::Form& f) { return static_cast<TfrxPDFExportDialog&>(f); }
};

} // namespace

TEST_F(PdfOptionsDialogTest, ShowsTheSettingsAndReadsBackWhatTheUserChanged)
{
    pdf.PageNumbers = QStringLiteral("2-3");
    pdf.SetUserPassword(QStringLiteral("segreta"));
    pdf.SetCompressed(false);
    modal.scripts[QStringLiteral("frxPDFExportDialog")] = [](platform::ui::Form& f) {
        auto& d = dialogOf(f);
        EXPECT_EQ(d.caption(), QStringLiteral("Export to PDF"));
        EXPECT_EQ(d.PageControl1->tabText(0), QStringLiteral("Export"));
        EXPECT_EQ(d.PageControl1->tabText(2), QStringLiteral("Security"));
        EXPECT_EQ(d.CompressedCB.text(), QStringLiteral("Compressed"));
        EXPECT_EQ(d.PrintCB.text(), QStringLiteral("Print the document"));
        EXPECT_EQ(d.OkB.text(), QStringLiteral("OK"));
        // The page list opens on the pages option.
        EXPECT_TRUE(d.PageNumbersRB->isChecked());
        EXPECT_EQ(d.PageNumbersE.text(), QStringLiteral("2-3"));
        EXPECT_FALSE(d.CompressedCB.isChecked());
        // The outline follows the report's preview and can only be switched off.
        EXPECT_FALSE(d.OutlineCB.isChecked());
        EXPECT_FALSE(d.OutlineCB.enabled());
        EXPECT_EQ(d.TitleE.text(), QStringLiteral("Fattura"));
        EXPECT_EQ(d.UserPassE.text(), QStringLiteral("segreta"));
        EXPECT_TRUE(d.ExportPage.visible());
        EXPECT_FALSE(d.SecurityPage.visible());

        clickBox(d.CompressedCB.widget());
        clickTab(d.PageControl1, 2);
        EXPECT_TRUE(d.SecurityPage.visible());
        EXPECT_FALSE(d.ExportPage.visible());
        clickBox(d.PrintCB.widget());
        clickTab(d.PageControl1, 1);
        click(d.AuthorE);
        press(d.AuthorE, Qt::Key_A, Qt::ControlModifier);
        type(d.AuthorE, QStringLiteral("Dorvane"));
        clickTab(d.PageControl1, 3);
        clickBox(d.FitWindowCB.widget());
        clickTab(d.PageControl1, 0);
        clickBox(d.CurPageRB);
        click(d.OkB);
    };
    saves.answers.push_back(QStringLiteral("/archivio/Fattura.pdf"));
    EXPECT_EQ(pdf.ShowModal(), 1);
    EXPECT_EQ(modal.shown, QStringList{QStringLiteral("frxPDFExportDialog")});

    ASSERT_EQ(saves.requests.size(), 1u);
    EXPECT_EQ(saves.requests[0].filter, QStringLiteral("Adobe PDF file (*.pdf)|*.pdf"));
    EXPECT_EQ(saves.requests[0].defaultExt, QStringLiteral(".pdf"));
    EXPECT_EQ(pdf.FileName(), QStringLiteral("/archivio/Fattura.pdf"));
    EXPECT_TRUE(pdf.Compressed());
    EXPECT_TRUE(pdf.CurPage);
    EXPECT_EQ(pdf.PageNumbers, QString());
    EXPECT_EQ(pdf.ProtectionFlags(), (TfrxPDFEncBits{eModify, eCopy, eAnnot}));
    EXPECT_EQ(pdf.EncBits(), -64 + 8 + 16 + 32);
    EXPECT_EQ(pdf.Author(), QStringLiteral("Dorvane"));
    EXPECT_EQ(pdf.Title(), QStringLiteral("Fattura"));
    EXPECT_TRUE(pdf.FitWindow());
    EXPECT_FALSE(pdf.Outline());
}

TEST_F(PdfOptionsDialogTest, TypingPagesSelectsThemAndAnEmptyListExportsEveryPage)
{
    modal.scripts[QStringLiteral("frxPDFExportDialog")] = [](platform::ui::Form& f) {
        auto& d = dialogOf(f);
        EXPECT_TRUE(d.AllRB->isChecked());
        click(d.PageNumbersE);
        type(d.PageNumbersE, QStringLiteral("1"));
        EXPECT_TRUE(d.PageNumbersRB->isChecked());
        press(d.PageNumbersE, Qt::Key_Backspace);
        // Enter confirms the dialog from the edit.
        press(d.PageNumbersE, Qt::Key_Return);
    };
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath(QStringLiteral("Tutte.pdf"));
    saves.answers.push_back(file);
    // Through the report's export, as the preview's export command runs it.
    ASSERT_TRUE(report->PrepareReport(true));
    EXPECT_TRUE(report->Export(&pdf));
    EXPECT_EQ(pdf.PageNumbers, QString());
    EXPECT_FALSE(pdf.CurPage);
    EXPECT_TRUE(QFile::exists(file));
}

TEST_F(PdfOptionsDialogTest, CancelLeavesTheFilterAsItWasOrKeepsWhatWasReadBack)
{
    // The Cancel button, Escape anywhere and Enter on the Cancel button.
    const std::pair<const char*, std::function<void(TfrxPDFExportDialog&)>> cancels[] = {
        {"button", [](TfrxPDFExportDialog& d) { click(d.CancelB); }},
        {"Escape", [](TfrxPDFExportDialog& d) { press(d.CompressedCB, Qt::Key_Escape); }},
        {"Enter on Cancel", [](TfrxPDFExportDialog& d) { press(d.CancelB, Qt::Key_Return); }},
    };
    for (const auto& [way, cancel] : cancels) {
        modal.scripts[QStringLiteral("frxPDFExportDialog")] = [&cancel](platform::ui::Form& f) {
            auto& d = dialogOf(f);
            clickBox(d.CompressedCB.widget());
            cancel(d);
        };
        EXPECT_EQ(pdf.ShowModal(), 2) << way;
        EXPECT_TRUE(pdf.Compressed()) << way;
    }
    EXPECT_TRUE(saves.requests.empty());

    // OK, then the file dialog cancelled: nothing is exported, the options read back stay.
    modal.scripts[QStringLiteral("frxPDFExportDialog")] = [](platform::ui::Form& f) {
        auto& d = dialogOf(f);
        clickBox(d.CompressedCB.widget());
        click(d.OkB);
    };
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath(QStringLiteral("Fattura.pdf"));
    pdf.SetFileName(file);
    ASSERT_TRUE(report->PrepareReport(true));
    EXPECT_FALSE(report->Export(&pdf));
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_FALSE(pdf.Compressed());
    ASSERT_EQ(saves.requests.size(), 1u);
    EXPECT_EQ(saves.requests[0].fileName, file);

    // Writing to a caller's stream needs no dialog.
    QBuffer buffer;
    pdf.Stream = &buffer;
    modal.shown.clear();
    EXPECT_EQ(pdf.ShowModal(), 1);
    EXPECT_TRUE(modal.shown.isEmpty());
}

// Every tab caption and the page list's help are shown whole, with the program's own
// font and with a wider one, as a system without it would offer.
TEST_F(PdfOptionsDialogTest, TabCaptionsAndThePageHelpAreShownWhole)
{
    const QFont programFont = QApplication::font();
    for (const QString& family : {QStringLiteral("Segoe UI"), QStringLiteral("DejaVu Sans")}) {
        QFont font(family);
        font.setPixelSize(12);
        QApplication::setFont(font);
        modal.scripts[QStringLiteral("frxPDFExportDialog")] = [&family](platform::ui::Form& f) {
            auto& d = dialogOf(f);
            QTabBar* bar = d.PageControl1;
            ASSERT_EQ(bar->count(), 4);
            for (int i = 0; i < bar->count(); ++i) {
                const QRect tab = bar->tabRect(i);
                const std::string what = family.toStdString() + ": " + bar->tabText(i).toStdString();
                EXPECT_GE(tab.width(), QFontMetrics(bar->font()).horizontalAdvance(bar->tabText(i))) << what;
                EXPECT_GE(tab.left(), 0) << what;
                EXPECT_LE(tab.right(), bar->width() - 1) << what;
            }
            // The last tab answers a click and shows its page.
            clickTab(bar, 3);
            EXPECT_TRUE(d.ViewerPage.visible()) << family.toStdString();
            clickTab(bar, 0);

            QWidget* help = d.DescrL.widget();
            const QString text = d.DescrL.text();
            ASSERT_FALSE(text.isEmpty());
            const QRect needed =
                QFontMetrics(help->font()).boundingRect(QRect(0, 0, help->width(), 10000), Qt::TextWordWrap, text);
            EXPECT_LE(needed.width(), help->width()) << family.toStdString();
            EXPECT_LE(needed.height(), help->height()) << family.toStdString();
            // Inside its group, below the page list.
            EXPECT_LE(help->geometry().bottom(), d.GroupPageRange.widget()->height() - 1) << family.toStdString();
            EXPECT_GE(help->geometry().top(), d.PageNumbersE.widget()->geometry().bottom()) << family.toStdString();
            click(d.CancelB);
        };
        EXPECT_EQ(pdf.ShowModal(), 2) << family.toStdString();
    }
    QApplication::setFont(programFont);
}
