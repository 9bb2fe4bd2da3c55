#include "report/model/engine.h"

#include "platform/core/services.h"
#include "report/base/registries.h"
#include "report/model/bands.h"
#include "report/model/report.h"

#include <QBuffer>

namespace orv::report {

ORV_RTTI_DEFINE(TfrxCustomEngine, orv::platform::Persistent) {}

bool TfrxCustomEngine::DoublePass() const { return m_report && m_report->EngineOptions()->DoublePass(); }

void TfrxCustomEngine::ShowBandByName(const QString& BandName)
{
    ShowBand(m_report ? dynamic_cast<TfrxBand*>(m_report->FindObject(BandName)) : nullptr);
}

void TfrxCustomEngine::StopReport()
{
    if (m_report)
        m_report->SetTerminated(true);
}

ORV_RTTI_DEFINE(TfrxCustomOutline, orv::platform::Persistent) {}

TfrxCustomEngine* TfrxCustomOutline::Engine() const { return m_previewPages ? m_previewPages->Engine : nullptr; }

TfrxCustomPreviewPages::~TfrxCustomPreviewPages() = default;

void TfrxCustomPreviewPages::SetOutline(std::unique_ptr<TfrxCustomOutline> outline) { m_outline = std::move(outline); }

ORV_RTTI_DEFINE(TfrxCustomCompressor, orv::platform::Component) {}

void TfrxCustomCompressor::CreateStream()
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->open(QIODevice::ReadWrite);
    Stream = std::move(buffer);
}

ORV_RTTI_DEFINE(TfrxCustomCrypter, orv::platform::Component) {}

void TfrxCustomCrypter::CreateStream()
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->open(QIODevice::ReadWrite);
    Stream = std::move(buffer);
}

const orv::platform::rtti::ClassInfo*& frxCompressorClass()
{
    static const orv::platform::rtti::ClassInfo* cls = nullptr;
    return cls;
}

const orv::platform::rtti::ClassInfo*& frxCrypterClass()
{
    static const orv::platform::rtti::ClassInfo* cls = nullptr;
    return cls;
}

const orv::platform::rtti::ClassInfo*& frxDesignerClass()
{
    static const orv::platform::rtti::ClassInfo* cls = nullptr;
    return cls;
}

ORV_RTTI_DEFINE(TfrxCustomExportFilter, orv::platform::Component)
{
    using F = TfrxCustomExportFilter;
    c.prop("ShowDialog", &F::ShowDialog, &F::SetShowDialog).def(true);
    c.prop("FileName", &F::FileName, &F::SetFileName);
    c.prop("ExportNotPrintable", &F::ExportNotPrintable, &F::SetExportNotPrintable).def(false);
    c.prop("UseFileCache", &F::UseFileCache, &F::SetUseFileCache).def(true);
    c.prop("DefaultPath", &F::DefaultPath, &F::SetDefaultPath);
    c.prop("ShowProgress", &F::ShowProgress, &F::SetShowProgress).def(true);
    c.prop("OverwritePrompt", &F::OverwritePrompt, &F::SetOverwritePrompt).def(false);
    c.prop("CreationTime", &F::CreationTime, &F::SetCreationTime).type(QStringLiteral("TDateTime"));
    c.prop("DataOnly", &F::DataOnly, &F::SetDataOnly).def(false);
}

TfrxCustomExportFilter::TfrxCustomExportFilter(orv::platform::Component* AOwner) : orv::platform::Component(AOwner), m_registered(true)
{
    frxExportFilterRegistry().Register(this);
}

TfrxCustomExportFilter::TfrxCustomExportFilter(NoRegister) : orv::platform::Component(nullptr), m_registered(false) {}

TfrxCustomExportFilter::~TfrxCustomExportFilter()
{
    if (m_registered)
        frxExportFilterRegistry().Unregister(this);
}

} // namespace orv::report
