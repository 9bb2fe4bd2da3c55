// The page-settings window opened from the preview's tool bar, and the progress window of
// a print: filled in the unit of the engine's settings file, paper and orientation, the
// current page or every page changed, a preparation cancelled, all through real events.
#include "support.h"

#include "platform/core/inifile.h"
#include "report/preview/pagesettings.h"
#include "report/preview/previewform.h"
#include "report/preview/progress.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

using namespace orv::report;
using namespace orv::report::test;

namespace {

void clickSettingsControl(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center()); }

// Radio buttons take the click on their indicator.
void choose(QRadioButton* b) { QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(6, b->height() / 2)); }

void retype(QLineEdit* e, const QString& text)
{
    clickSettingsControl(e);
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(e, text);
}

} // namespace

class PageSettingsTest : public PrintingTest {
protected:
    std::unique_ptr<TfrxReport> report;
    void SetUp() override
    {
        PrintingTest::SetUp();
        report = listReport(120);
        report->GetPageAs<TfrxReportPage>(1)->SetOrientation(poPortrait);
        report->SetIniFile(programFolder() + QStringLiteral("OrvantaReport.config"));
        report->PreviewOptions()->SetButtons({pbPrint, pbPageSetup, pbNavigator, pbClose});
    }
    // Shows the preview; Settings drives the page-settings window opened from it and
    // After looks at the preview once that window has closed.
    void pageSettings(std::function<void(TfrxPageSettingsForm&)> Settings,
                      std::function<void(TfrxPreviewForm&)> After = {},
                      std::function<void(TfrxPreviewForm&)> Before = {})
    {
        int opened = 0;
        modal.scripts[QStringLiteral("frxPageSettingsForm")] = [&](orv::platform::ui::Form& f) {
            ++opened;
            Settings(dynamic_cast<TfrxPageSettingsForm&>(f));
        };
        modal.scripts[QStringLiteral("frxPreviewForm")] = [&](orv::platform::ui::Form& f) {
            auto& form = dynamic_cast<TfrxPreviewForm&>(f);
            if (Before)
                Before(form);
            clickSettingsControl(form.PageSettingsB);
            if (After)
                After(form);
        };
        report->ShowReport(true);
        EXPECT_EQ(opened, 1);
    }
    TfrxPreviewPages& pages() { return pagesOf(*report); }
};

TEST_F(PageSettingsTest, FieldsShowThePageInTheUnitOfTheSettingsFile)
{
    struct Case {
        int unit;
        QString width, height, margin, label;
    };
    const Case cases[] = {
        {0, QStringLiteral("21"), QStringLiteral("29,70"), QStringLiteral("1"), QStringLiteral("cm")},
        {1, QStringLiteral("8,27"), QStringLiteral("11,69"), QStringLiteral("0,39"), QStringLiteral("in")},
        {2, QStringLiteral("21"), QStringLiteral("29,70"), QStringLiteral("1"), QStringLiteral("cm")},
        {3, QStringLiteral("21"), QStringLiteral("29,70"), QStringLiteral("1"), QStringLiteral("cm")},
        {7, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QString()},
    };
    for (const Case& c : cases) {
        orv::platform::IniFile(report->IniFile()).writeInteger(QStringLiteral("Form.TfrxDesignerForm"), QStringLiteral("Units"),
                                                    c.unit);
        pageSettings([&](TfrxPageSettingsForm& f) {
            EXPECT_EQ(f.caption(), QStringLiteral("Page Settings"));
            EXPECT_EQ(f.SizeCB->currentText(), QStringLiteral("A4")) << c.unit;
            EXPECT_EQ(f.WidthE->text(), c.width) << c.unit;
            EXPECT_EQ(f.HeightE->text(), c.height) << c.unit;
            for (QLineEdit* e : {f.MarginLeftE, f.MarginRightE, f.MarginTopE, f.MarginBottomE})
                EXPECT_EQ(e->text(), c.margin) << c.unit;
            for (QLabel* l : {f.UnitL1, f.UnitL2, f.UnitL3, f.UnitL4, f.UnitL5, f.UnitL6})
                EXPECT_EQ(l->text(), c.label) << c.unit;
            EXPECT_TRUE(f.PortraitRB->isChecked());
            EXPECT_TRUE(f.ApplyToAllRB->isChecked());
            clickSettingsControl(f.CancelB);
        });
    }
    // Nothing was changed or prepared again.
    EXPECT_EQ(report->GetPageAs<TfrxReportPage>(1)->Orientation(), poPortrait);
    EXPECT_EQ(printing.documents.size(), 0u);
}

TEST_F(PageSettingsTest, CustomSizeTurnedAndAppliedToTheCurrentPageOnly)
{
    int before = 0;
    pageSettings(
        [&](TfrxPageSettingsForm& f) {
            // Typing a size makes the paper a custom one; turning the page exchanges the two.
            retype(f.WidthE, QStringLiteral("20"));
            EXPECT_EQ(f.SizeCB->currentText(), QStringLiteral("Custom"));
            choose(f.LandscapeRB);
            EXPECT_EQ(f.WidthE->text(), QStringLiteral("29,70"));
            EXPECT_EQ(f.HeightE->text(), QStringLiteral("20"));
            EXPECT_TRUE(f.PortraitImg->isHidden());
            EXPECT_FALSE(f.LandscapeImg->isHidden());
            retype(f.MarginTopE, QStringLiteral("2,5"));
            choose(f.ApplyToCurRB);
            clickSettingsControl(f.OKB);
        },
        [&](TfrxPreviewForm& f) {
            EXPECT_EQ(f.PreviewControl()->PageNo(), 2);
            EXPECT_EQ(f.Panel0->text(), QStringLiteral("Page 2 of %1").arg(before));
        },
        [&](TfrxPreviewForm& f) {
            before = f.PreviewControl()->PageCount();
            clickSettingsControl(f.NextB);
        });
    ASSERT_GT(before, 1);
    TfrxReportPage* second = pages().GetPage(1);
    EXPECT_EQ(second->Orientation(), poLandscape);
    EXPECT_EQ(second->PaperSize(), 256);
    EXPECT_DOUBLE_EQ(second->PaperWidth(), 297);
    EXPECT_DOUBLE_EQ(second->PaperHeight(), 200);
    EXPECT_DOUBLE_EQ(second->TopMargin(), 25);
    TfrxReportPage* first = pages().GetPage(0);
    EXPECT_EQ(first->Orientation(), poPortrait);
    EXPECT_DOUBLE_EQ(first->PaperWidth(), 210);
    // The layout and the number of pages stay.
    EXPECT_EQ(report->GetPageAs<TfrxReportPage>(1)->Orientation(), poPortrait);
    EXPECT_EQ(pages().Count(), before);
}

TEST_F(PageSettingsTest, AppliedToAllPagesPreparesTheReportAgain)
{
    report->GetPageAs<TfrxReportPage>(1)->SetOrientation(poLandscape);
    ASSERT_TRUE(report->PrepareReport(true));
    const int landscapePages = pages().Count();
    report->GetPageAs<TfrxReportPage>(1)->SetOrientation(poPortrait);

    QStringList closeTexts;
    bool printEnabledWhileRunning = true;
    report->OnProgress = [&](TfrxReport*, TfrxProgressType type, int) {
        auto* form = dynamic_cast<TfrxPreviewForm*>(report->PreviewForm);
        if (type != ptRunning || !form)
            return;
        closeTexts << form->CancelB->text();
        printEnabledWhileRunning = printEnabledWhileRunning && form->PrintB->isEnabled();
        // Printing is refused while pages arrive.
        QTest::keyClick(form->PreviewControl()->Workspace(), Qt::Key_P, Qt::ControlModifier);
    };
    pageSettings(
        [&](TfrxPageSettingsForm& f) {
            choose(f.LandscapeRB);
            EXPECT_EQ(f.SizeCB->currentText(), QStringLiteral("A4"));
            EXPECT_EQ(f.WidthE->text(), QStringLiteral("29,70"));
            EXPECT_EQ(f.HeightE->text(), QStringLiteral("21"));
            clickSettingsControl(f.OKB);
        },
        [&](TfrxPreviewForm& f) {
            TfrxPreview& p = *f.PreviewControl();
            EXPECT_FALSE(p.Running());
            EXPECT_EQ(p.PageNo(), 1);
            EXPECT_EQ(p.PageCount(), landscapePages);
            EXPECT_EQ(f.Panel0->text(), QStringLiteral("Page 1 of %1").arg(landscapePages));
            EXPECT_EQ(f.CancelB->text(), QStringLiteral("Close"));
            EXPECT_TRUE(f.PrintB->isEnabled());
            EXPECT_EQ(p.Workspace()->PageList().Count(), landscapePages);
        },
        [&](TfrxPreviewForm& f) { clickSettingsControl(f.NextB); });
    ASSERT_FALSE(closeTexts.isEmpty());
    EXPECT_EQ(closeTexts.last(), QStringLiteral("Cancel"));
    EXPECT_FALSE(printEnabledWhileRunning);
    EXPECT_FALSE(modal.shown.contains(QStringLiteral("frxPrintDialog")));
    auto* layout = report->GetPageAs<TfrxReportPage>(1);
    EXPECT_EQ(layout->Orientation(), poLandscape);
    EXPECT_DOUBLE_EQ(layout->PaperWidth(), 297);
    EXPECT_EQ(pages().GetPage(0)->Orientation(), poLandscape);
}

TEST_F(PageSettingsTest, EscWhilePagesArriveCancelsThePreparation)
{
    bool refusedToClose = false;
    report->OnProgress = [&](TfrxReport*, TfrxProgressType type, int) {
        auto* form = dynamic_cast<TfrxPreviewForm*>(report->PreviewForm);
        if (type != ptRunning || !form || report->Terminated())
            return;
        form->close();
        refusedToClose = form->isVisible();
        QTest::keyClick(form->PreviewControl()->Workspace(), Qt::Key_Escape);
    };
    pageSettings([&](TfrxPageSettingsForm& f) { clickSettingsControl(f.OKB); },
                 [&](TfrxPreviewForm& f) {
                     // The pages prepared so far stay on screen; the window can close again.
                     EXPECT_FALSE(f.PreviewControl()->Running());
                     EXPECT_EQ(f.CancelB->text(), QStringLiteral("Close"));
                     EXPECT_EQ(f.PreviewControl()->PageCount(), 1);
                     QTest::keyClick(f.PreviewControl()->Workspace(), Qt::Key_Escape);
                     EXPECT_FALSE(f.isVisible());
                 });
    EXPECT_TRUE(refusedToClose);
    EXPECT_TRUE(report->Terminated());
}

TEST_F(PageSettingsTest, TextThatIsNoNumberKeepsTheWindowOpenAndThePage)
{
    pageSettings([&](TfrxPageSettingsForm& f) {
        retype(f.MarginLeftE, QStringLiteral("due"));
        clickSettingsControl(f.OKB);
        EXPECT_TRUE(f.isVisible());
        ASSERT_EQ(errorBoxes().size(), 1);
        EXPECT_TRUE(errorBoxes()[0].contains(QStringLiteral("due")));
        clickSettingsControl(f.CancelB);
    });
    EXPECT_DOUBLE_EQ(pages().GetPage(0)->LeftMargin(), 10);
    EXPECT_EQ(report->GetPageAs<TfrxReportPage>(1)->Orientation(), poPortrait);
}

// ---------------------------------------------------------------- progress

class ProgressTest : public PrintingTest {};

TEST_F(ProgressTest, MessageBarAndSteps)
{
    TfrxProgress p;
    EXPECT_EQ(p.CancelB->text(), QStringLiteral("Cancel"));
    p.Execute(3, QStringLiteral("Printing page 1"), true, false);
    EXPECT_TRUE(p.isVisible());
    EXPECT_EQ(p.LMessage->text(), QStringLiteral("Printing page 1"));
    EXPECT_EQ(p.LMessage->y(), 35);
    EXPECT_TRUE(p.Bar->isHidden());
    EXPECT_FALSE(p.CancelB->isHidden());
    p.Execute(2, QString(), false, true);
    EXPECT_EQ(p.LMessage->y(), 15);
    EXPECT_FALSE(p.Bar->isHidden());
    EXPECT_TRUE(p.CancelB->isHidden());
    p.Tick();
    p.Tick();
    EXPECT_EQ(p.Position(), 2);
    p.Tick();
    EXPECT_EQ(p.Position(), 2);
    EXPECT_EQ(p.Bar->value(), 2);
    p.Reset();
    EXPECT_EQ(p.Position(), 0);
}

TEST_F(ProgressTest, CancelDuringAPrintStopsIt)
{
    auto report = preparedList(120);
    report->SetShowProgress(true);
    report->PrintOptions()->SetShowDialog(false);
    QStringList messages;
    auto progressWindow = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("frxProgress"))
                return dynamic_cast<TfrxProgress*>(w);
        return static_cast<TfrxProgress*>(nullptr);
    };
    report->OnProgress = [&](TfrxReport*, TfrxProgressType type, int page) {
        TfrxProgress* w = progressWindow();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(type, ptPrinting);
        messages << w->LMessage->text();
        if (page == 2)
            clickSettingsControl(w->CancelB);
    };
    EXPECT_TRUE(report->Print());
    EXPECT_EQ(messages, QStringList({QString(), QStringLiteral("Printing page 1")}));
    ASSERT_EQ(printing.documents.size(), 1u);
    EXPECT_EQ(printing.documents[0].pages.size(), 2u);
    EXPECT_TRUE(printing.documents[0].aborted);
    EXPECT_EQ(progressWindow(), nullptr);
}
