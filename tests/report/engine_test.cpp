// The contracts of the engine, the prepared pages and export filters.
#include "report/base/errors.h"
#include "report/model/bands.h"
#include "report/model/report.h"

#include <gtest/gtest.h>

using namespace orv::report;

namespace {

class TRecordingEngine : public TfrxCustomEngine {
public:
    using TfrxCustomEngine::TfrxCustomEngine;
    QList<TfrxBand*> shown;
    void ShowBand(TfrxBand* Band) override { shown << Band; }
};

} // namespace

TEST(EngineContractTest, AbstractOperationsRaise)
{
    TfrxReport report;
    TfrxCustomEngine engine(&report);
    EXPECT_THROW(engine.Run(), orv::report::AbstractError);
    EXPECT_THROW(engine.NewPage(), orv::report::AbstractError);
    engine.BreakAllKeep();
    TfrxCustomPreviewPages pages(&report);
    EXPECT_THROW(pages.Count(), orv::report::AbstractError);
    class TFilter : public TfrxCustomExportFilter {
    public:
        TFilter() : TfrxCustomExportFilter(NoRegister{}) {}
    } filter;
    EXPECT_THROW(filter.ExportObject(nullptr), orv::report::AbstractError);
}

TEST(EngineContractTest, ShowBandByNameAndStop)
{
    TfrxReport report;
    auto* page = new TfrxReportPage(&report);
    auto* band = new TfrxMasterData(page);
    band->SetName(QStringLiteral("MasterData1"));
    TRecordingEngine engine(&report);
    engine.ShowBandByName(QStringLiteral("masterdata1"));
    engine.ShowBandByName(QStringLiteral("nessuna"));
    EXPECT_EQ(engine.shown, (QList<TfrxBand*>{band, nullptr}));
    engine.StopReport();
    EXPECT_TRUE(report.Terminated());
    EXPECT_FALSE(engine.DoublePass());
    report.EngineOptions()->SetDoublePass(true);
    EXPECT_TRUE(engine.DoublePass());
}

TEST(EngineContractTest, ReportLinksEngineAndPages)
{
    TfrxReport report;
    auto engine = std::make_unique<TRecordingEngine>(&report);
    auto pages = std::make_unique<TfrxCustomPreviewPages>(&report);
    TRecordingEngine* e = engine.get();
    TfrxCustomPreviewPages* p = pages.get();
    report.SetEngine(std::move(engine), std::move(pages));
    EXPECT_EQ(e->PreviewPages, p);
    EXPECT_EQ(p->Engine, e);
    EXPECT_EQ(report.Engine(), e);
}

TEST(EngineContractTest, PreviewLink)
{
    class TPreview : public TfrxCustomPreview {
    public:
        int inits = 0;
        void Init() override { ++inits; }
        void ShowHint(const QRectF&, const QString&) override {}
        void HideHint() override {}
        void Lock() override {}
        void Unlock() override {}
        void RefreshReport() override {}
        void InternalOnProgressStart(TfrxReport*, TfrxProgressType, int) override {}
        void InternalOnProgress(TfrxReport*, TfrxProgressType, int) override {}
        void InternalOnProgressStop(TfrxReport*, TfrxProgressType, int) override {}
    } preview;
    {
        TfrxReport report;
        report.SetPreview(&preview);
        EXPECT_EQ(preview.Report, &report);
        EXPECT_EQ(preview.inits, 1);
    }
    EXPECT_EQ(preview.Report, nullptr) << "the report unlinks its preview when it goes";
}
