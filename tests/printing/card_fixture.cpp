#include "card_fixture.h"

#include "shell/avvio.h"
#include "shell/startup.h"
#include "kit/reports.h"
#include "report/model/bands.h"
#include "report/model/views.h"
#include "report/pages/previewpages.h"
#include "report/preview/previewform.h"
#include "report/print/printloop.h"

using namespace orv::report;
using namespace orv::shell;

namespace orv::test {

namespace {

QString fontText(const TfrxFont& f)
{
    QString s = f.Name() + u' ' + QString::number(f.Height(), 'g', 8);
    if (f.Style().contains(fsBold)) s += QStringLiteral(" bold");
    return s;
}

void collect(TfrxComponent* parent, PreparedPage& page)
{
    for (TfrxComponent* c : parent->Objects()) {
        if (dynamic_cast<TfrxBand*>(c)) {
            collect(c, page);
            continue;
        }
        PreparedView v;
        v.kind = c->ClassName();
        v.bounds = QRectF(c->AbsLeft(), c->AbsTop(), c->Width(), c->Height());
        if (auto* view = dynamic_cast<TfrxView*>(c)) v.fill = view->Color();
        if (auto* m = dynamic_cast<TfrxCustomMemoView*>(c)) {
            QStringList lines;
            for (int i = 0; i < m->Memo()->Count(); ++i) lines << m->Memo()->Get(i);
            v.text = lines.join(u'\n');
            v.expressions = m->AllowExpressions();
            v.wrap = m->WordWrap();
            v.font = fontText(*m->Font());
        }
        page.views.emplace_back(c->Name(), v);
    }
}

struct RecordingPreview : TfrxCustomPreview {
    void Init() override {}
    void ShowHint(const QRectF&, const QString&) override {}
    void HideHint() override {}
    void Lock() override {}
    void Unlock() override {}
    void RefreshReport() override {}
    void InternalOnProgressStart(TfrxReport*, TfrxProgressType, int) override {}
    void InternalOnProgress(TfrxReport*, TfrxProgressType, int) override {}
    void InternalOnProgressStop(TfrxReport*, TfrxProgressType, int) override {}
};

struct RecordingWindow : TfrxPreviewWindow {
    OutputRecorder* recorder;
    TfrxReport* report;
    RecordingPreview preview;
    RecordingWindow(OutputRecorder* r, TfrxReport* rep) : recorder(r), report(rep) {}
    TfrxCustomPreview* Preview() override { return &preview; }
    void Init() override {}
    void SetMessageText(const QString&, bool) override {}
    void KeepDesignedPosition() override {}
    void ShowModal() override
    {
        recorder->outputs.push_back({QStringLiteral("preview"), report->ReportOptions()->Name(),
                                     report->PreviewOptions()->Buttons(), snapshot(*report)});
    }
    void Show() override { ShowModal(); }
    void Close() override {}
};

} // namespace

const PreparedView* PreparedPage::find(const QString& name) const
{
    for (const auto& [n, v] : views)
        if (n.compare(name, Qt::CaseInsensitive) == 0) return &v;
    return nullptr;
}

QString PreparedPage::text(const QString& name) const
{
    const PreparedView* v = find(name);
    return v ? v->text : QStringLiteral("<none>");
}

std::vector<PreparedPage> snapshot(TfrxReport& report)
{
    std::vector<PreparedPage> out;
    auto& pages = *static_cast<TfrxPreviewPages*>(report.PreviewPages());
    for (int i = 0; i < pages.Count(); ++i) {
        PreparedPage p;
        collect(pages.GetPage(i), p);
        out.push_back(std::move(p));
    }
    return out;
}

OutputRecorder::OutputRecorder()
{
    frxSetPrintDriver([this](TfrxPreviewPages* pages) {
        TfrxReport* r = pages->Report();
        outputs.push_back({QStringLiteral("print"), r->ReportOptions()->Name(), r->PreviewOptions()->Buttons(),
                           snapshot(*r)});
        return printSucceeds;
    });
    frxSetPreviewWindowMaker([this](TfrxReport* r) { return new RecordingWindow(this, r); });
}

OutputRecorder::~OutputRecorder()
{
    // The engine's own printer and preview, as the program installs them at start, for
    // the tests that run after this one in the same process.
    frxSetPrintDriver(frxPrintPreparedPages);
    frxSetPreviewWindowMaker(frxMakePreviewWindow);
}

void CardPrintingTest::SetUp()
{
    GuiTest::SetUp();
    shell::installReportLayouts();
    shell::createStartWindows();
    frmAvvio->hide();
}

void CardPrintingTest::TearDown()
{
    shell::destroyStartWindows();
    kit::setReportLayouts({});
    GuiTest::TearDown();
}

} // namespace orv::test
