// ShowMessage from any script reaches the program's message box once the start-up has
// registered the bridges: a plain script's and a report's own.
#include "gui/doubles.h"

#include "report/model/bands.h"
#include "report/model/pages.h"
#include "report/model/report.h"
#include "report/model/views.h"
#include "script/bridges/register.h"
#include "script/core/script.h"

using namespace orv::report;
using namespace orv::script;

namespace {

class ScriptMessages : public orv::test::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        fsRegisterHostBridges();
        fsRegisterFileBridges();
    }
    void TearDown() override
    {
        fsUnregisterBridges();
        GuiTest::TearDown();
    }
};

} // namespace

TEST_F(ScriptMessages, ShowMessageOpensTheProgramsBox)
{
    TfsScript s;
    s.AddRTTI();
    s.SetLines(fsTextToLines(QStringLiteral("begin ShowMessage('Ciao ' + IntToStr(7)); end.")));
    ASSERT_TRUE(s.Compile()) << s.ErrorMsg().toStdString();
    s.Execute();

    TfrxReport report;
    report.SetShowProgress(false);
    auto* page = new TfrxReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    auto* title = new TfrxReportTitle(page);
    title->SetName(QStringLiteral("Titolo"));
    title->SetBounds(0, 0, 718, 20);
    auto* memo = new TfrxMemoView(title);
    memo->SetName(QStringLiteral("Testo"));
    memo->SetBounds(0, 0, 300, 18);
    report.ScriptText()->SetText(QStringLiteral("begin\r\n  ShowMessage('Dal report: ' + Testo.Name);\r\nend."));
    ASSERT_TRUE(report.PrepareReport(true)) << report.Errors()->Text().toStdString();

    ASSERT_EQ(messages.calls.size(), 2u);
    EXPECT_EQ(messages.calls[0].kind, orv::test::MessageCall::Plain);
    EXPECT_EQ(messages.calls[0].text, QStringLiteral("Ciao 7"));
    EXPECT_EQ(messages.calls[1].kind, orv::test::MessageCall::Plain);
    EXPECT_EQ(messages.calls[1].text, QStringLiteral("Dal report: Testo"));

    // Without the bridges no box opens: the engine alone has no window system.
    fsUnregisterBridges();
    s.Execute();
    EXPECT_EQ(messages.calls.size(), 2u);
}
