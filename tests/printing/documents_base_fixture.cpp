#include "documents_base_fixture.h"

#include "shell/avvio.h"
#include "shell/startup.h"
#include "printing/doclayout.h"
#include "report/base/utils.h"
#include "report/model/views.h"
#include "report/pages/previewpages.h"
#include "report/preview/previewform.h"
#include "report/preview/startup.h"
#include "report/print/printloop.h"

using namespace orv::report;
using namespace orv::script;
using namespace orv::shell;

namespace orv::test {

namespace {

QMap<QString, PlacedMemo> memosOf(TfrxReportPage* page)
{
    QMap<QString, PlacedMemo> out;
    for (TfrxComponent* c : page->AllObjects()) {
        if (auto* m = dynamic_cast<TfrxCustomMemoView*>(c)) {
            const double mm = orv::printing::kPixelsPerMm;
            // The memo's lines come back each ended by a line break.
            QString text = m->Text();
            if (text.endsWith(u"\r\n")) text.chop(2);
            out.insert(m->Name(),
                       {text, m->AbsLeft() / mm, m->AbsTop() / mm, m->Width() / mm, m->Height() / mm});
        }
    }
    return out;
}

EngineOutput outputOf(TfrxPreviewPages* pages)
{
    EngineOutput out;
    out.pages = pages->Count();
    if (out.pages > 0) out.memos = memosOf(pages->GetPage(0));
    return out;
}

// The preview window: records the pages it would show and closes at once.
class BaseRecordingPreview : public TfrxPreviewWindow {
public:
    BaseRecordingPreview(TfrxReport* report, std::vector<EngineOutput>& out) : report_(report), out_(out) {}
    TfrxCustomPreview* Preview() override { return nullptr; }
    void Init() override {}
    void SetMessageText(const QString&, bool) override {}
    void KeepDesignedPosition() override {}
    void ShowModal() override { out_.push_back(outputOf(static_cast<TfrxPreviewPages*>(report_->PreviewPages()))); }
    void Show() override { ShowModal(); delete this; }
    void Close() override {}

private:
    TfrxReport* report_;
    std::vector<EngineOutput>& out_;
};

} // namespace

QMap<QString, PlacedMemo> preparedMemos(TfrxReport& report)
{
    auto* pages = static_cast<TfrxPreviewPages*>(report.PreviewPages());
    return pages->Count() ? memosOf(pages->GetPage(0)) : QMap<QString, PlacedMemo>();
}

QStringList DocumentsTest::engineErrors() const
{
    QStringList out;
    for (const MessageCall& call : messages.calls)
        if (call.kind == MessageCall::Error) out << call.text;
    return out;
}

int preparedPageCount(TfrxReport& report) { return report.PreviewPages()->Count(); }

void DocumentsTest::SetUp()
{
    GuiTest::SetUp();
    shell::createStartWindows();
    frmAvvio->hide();
    shell::installDocumentWindows();
    frxInitializeReportUserInterface();
    frxSetPrintDriver([this](TfrxPreviewPages* pages) {
        if (!printerAnswers) return false;
        printed.push_back(outputOf(pages));
        return true;
    });
    frxSetPreviewWindowMaker([this](TfrxReport* report) { return new BaseRecordingPreview(report, previewed); });
}

void DocumentsTest::TearDown()
{
    // The engine's own windows again, for whatever runs next in this process.
    frxSetPreviewWindowMaker(frxMakePreviewWindow);
    frxSetPrintDriver(frxPrintPreparedPages);
    shell::destroyStartWindows();
    GuiTest::TearDown();
}

} // namespace orv::test
