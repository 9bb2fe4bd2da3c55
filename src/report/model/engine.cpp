#include "report/model/engine.h"

#include "platform/core/services.h"
#include "report/base/registries.h"
#include "report/model/bands.h"
#include "report/model/report.h"

#include <QBuffer>

ORV_RTTI_DEFINE(TfrxCustomEngine, orv::Persistent) {}

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

ORV_RTTI_DEFINE(TfrxCustomOutline, orv::Persistent) {}

TfrxCustomEngine* TfrxCustomOutline::Engine() const { return m_previewPages ? m_previewPages->Engine : nullptr; }

TfrxCustomPreviewPages::~TfrxCustomPreviewPages() = default;

void TfrxCustomPreviewPages::SetOutline(std::unique_ptr<TfrxCustomOutline> outline) { m_outline = std::move(outline); }

ORV_RTTI_DEFINE(TfrxCustomCompressor, orv::Component) {}

void TfrxCustomCompressor::CreateStream()
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->open(QIODevice::ReadWrite);
    Stream = std::move(buffer);
}

ORV_RTTI_DEFINE(TfrxCustomCrypter, orv::Component) {}

void TfrxCustomCrypter::CreateStream()
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->open(QIODevice::ReadWrite);
    Stream = std::move(buffer);
}

const orv::rtti::ClassInfo*& frxCompressorClass()
{
    static const orv::rtti::ClassInfo* cls = nullptr;
    return cls;
}

const orv::rtti::ClassInfo*& frxCrypterClass()
{
    static const orv::rtti::ClassInfo* cls = nullptr;
    return cls;
}

const orv::rtti::ClassInfo*& frxDesignerClass()
{
    static const orv::rtti::ClassInfo* cls = nullptr;
    return cls;
}

ORV_RTTI_DEFINE(TfrxCustomExportFilter, orv::Component)
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

TfrxCustomExportFilter::TfrxCustomExportFilter(orv::Component* AOwner) : orv::Component(AOwner), m_registered(true)
{
    frxExportFilterRegistry().Register(this);
}

TfrxCustomExportFilter::TfrxCustomExportFilter(NoRegister) : orv::Component(nullptr), m_registered(false) {}

TfrxCustomExportFilter::~TfrxCustomExportFilter()
{
    if (m_registered)
        frxExportFilterRegistry().Unregister(this);
}
