#include "report/model/report.h"

#include "platform/core/services.h"
#include "platform/core/text.h"
#include "report/base/errors.h"
#include "report/base/resources.h"
#include "report/base/serializer.h"
#include "report/base/utils.h"
#include "report/engine/engine.h"
#include "report/model/startup.h"
#include "report/pages/previewpages.h"
#include "report/script/expressioncache.h"
#include "script/core/script.h"

#include <QBuffer>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTimer>

namespace orv::report {
using namespace orv::script;
} // namespace orv::report

namespace orv::report {

using namespace orv::report;

// ---------------------------------------------------------------- engine options

ORV_RTTI_DEFINE(TfrxEngineOptions, orv::platform::Persistent)
{
    using O = TfrxEngineOptions;
    c.prop("ConvertNulls", &O::ConvertNulls, &O::SetConvertNulls).def(true);
    c.prop("DoublePass", &O::DoublePass, &O::SetDoublePass).def(false);
    c.prop("MaxMemSize", &O::MaxMemSize, &O::SetMaxMemSize).def(10);
    c.prop("PrintIfEmpty", &O::PrintIfEmpty, &O::SetPrintIfEmpty).def(true);
    c.prop("SilentMode", &O::SilentMode, &O::SetSilentMode).def(false);
    c.prop("NewSilentMode", &O::NewSilentMode, &O::SetNewSilentMode).def(simMessageBoxes);
    c.prop("TempDir", &O::TempDir, &O::SetTempDir);
    c.prop("UseFileCache", &O::UseFileCache, &O::SetUseFileCache).def(false);
    c.prop("IgnoreDevByZero", &O::IgnoreDevByZero, &O::SetIgnoreDevByZero).def(false);
}

void TfrxEngineOptions::Clear()
{
    m_convertNulls = true;
    m_ignoreDevByZero = false;
    m_doublePass = false;
}

void TfrxEngineOptions::Assign(const orv::platform::Persistent* Source)
{
    const auto* o = dynamic_cast<const TfrxEngineOptions*>(Source);
    if (!o || o == this)
        return;
    m_convertNulls = o->m_convertNulls;
    m_doublePass = o->m_doublePass;
    m_maxMemSize = o->m_maxMemSize;
    m_printIfEmpty = o->m_printIfEmpty;
    m_newSilentMode = o->m_newSilentMode;
    m_tempDir = o->m_tempDir;
    m_useFileCache = o->m_useFileCache;
    m_ignoreDevByZero = o->m_ignoreDevByZero;
}

// ---------------------------------------------------------------- preview options

ORV_RTTI_DEFINE(TfrxPreviewOptions, orv::platform::Persistent)
{
    using O = TfrxPreviewOptions;
    c.prop("AllowEdit", &O::AllowEdit, &O::SetAllowEdit).def(true);
    c.prop("Buttons", &O::Buttons, &O::SetButtons);
    c.prop("DoubleBuffered", &O::DoubleBuffered, &O::SetDoubleBuffered).def(true);
    c.prop("Maximized", &O::Maximized, &O::SetMaximized).def(true);
    c.prop("MDIChild", &O::MDIChild, &O::SetMDIChild).def(false);
    c.prop("Modal", &O::Modal, &O::SetModal).def(true);
    c.prop("OutlineExpand", &O::OutlineExpand, &O::SetOutlineExpand).def(true);
    c.prop("OutlineVisible", &O::OutlineVisible, &O::SetOutlineVisible).def(false);
    c.prop("OutlineWidth", &O::OutlineWidth, &O::SetOutlineWidth).def(120);
    c.prop("PagesInCache", &O::PagesInCache, &O::SetPagesInCache).def(50);
    c.prop("ThumbnailVisible", &O::ThumbnailVisible, &O::SetThumbnailVisible).def(false);
    c.prop("ShowCaptions", &O::ShowCaptions, &O::SetShowCaptions).def(false);
    c.prop("Zoom", &O::Zoom, &O::SetZoom);
    c.prop("ZoomMode", &O::ZoomMode, &O::SetZoomMode).def(zmDefault);
    c.prop("PictureCacheInFile", &O::PictureCacheInFile, &O::SetPictureCacheInFile).def(false);
}

void TfrxPreviewOptions::Clear()
{
    m_outlineExpand = true;
    m_outlineVisible = false;
    m_outlineWidth = 120;
    m_pagesInCache = 50;
    m_thumbnailVisible = false;
}

void TfrxPreviewOptions::Assign(const orv::platform::Persistent* Source)
{
    if (const auto* o = dynamic_cast<const TfrxPreviewOptions*>(Source); o && o != this)
        *this = *o;
}

// ---------------------------------------------------------------- print options

ORV_RTTI_DEFINE(TfrxPrintOptions, orv::platform::Persistent)
{
    using O = TfrxPrintOptions;
    c.prop("Copies", &O::Copies, &O::SetCopies).def(1);
    c.prop("Collate", &O::Collate, &O::SetCollate).def(true);
    c.prop("PageNumbers", &O::PageNumbers, &O::SetPageNumbers);
    c.prop("Printer", &O::Printer, &O::SetPrinter);
    c.prop("PrintMode", &O::PrintMode, &O::SetPrintMode).def(pmDefault);
    c.prop("PrintOnSheet", &O::PrintOnSheet, &O::SetPrintOnSheet);
    c.prop("PrintPages", &O::PrintPages, &O::SetPrintPages).def(ppAll);
    c.prop("Reverse", &O::Reverse, &O::SetReverse).def(false);
    c.prop("ShowDialog", &O::ShowDialog, &O::SetShowDialog).def(true);
    c.prop("SwapPageSize", &O::SwapPageSize, &O::SetSwapPageSize).stored(false);
}

void TfrxPrintOptions::Clear()
{
    m_copies = 1;
    m_collate = true;
    m_pageNumbers.clear();
    m_printer = frxStringResources()->Get(QStringLiteral("prDefault"));
    m_printMode = pmDefault;
    m_printOnSheet = 0;
    m_printPages = ppAll;
    m_reverse = false;
    m_showDialog = true;
    m_swapPageSize = false;
    PrnOutFileName.clear();
    Duplex = dmNone;
    SplicingLine = 3;
    PagesOnSheet = 0;
}

void TfrxPrintOptions::Assign(const orv::platform::Persistent* Source)
{
    const auto* o = dynamic_cast<const TfrxPrintOptions*>(Source);
    if (!o || o == this)
        return;
    m_copies = o->m_copies;
    m_collate = o->m_collate;
    m_pageNumbers = o->m_pageNumbers;
    m_printer = o->m_printer;
    m_printMode = o->m_printMode;
    m_printOnSheet = o->m_printOnSheet;
    m_printPages = o->m_printPages;
    m_reverse = o->m_reverse;
    m_showDialog = o->m_showDialog;
    SplicingLine = o->SplicingLine;
}

// ---------------------------------------------------------------- report options

namespace {

std::function<bool(QString&)>& passwordPrompt()
{
    static std::function<bool(QString&)> prompt;
    return prompt;
}

// Templates keep the password with every character code lowered by 10.
QString shiftCodes(const QString& s, int by)
{
    QString out = s;
    for (QChar& c : out)
        c = QChar(char16_t(c.unicode() + by));
    return out;
}

} // namespace

void frxSetPasswordPrompt(std::function<bool(QString& Password)> prompt) { passwordPrompt() = std::move(prompt); }

ORV_RTTI_DEFINE(TfrxReportOptions, orv::platform::Persistent)
{
    using O = TfrxReportOptions;
    c.prop("Author", &O::Author, &O::SetAuthor);
    c.prop("Compressed", &O::Compressed, &O::SetCompressed).def(false);
    c.prop("CreateDate", &O::CreateDate, &O::SetCreateDate).type(QStringLiteral("TDateTime"));
    c.prop("Description", &O::Description, &O::SetDescription);
    c.prop("InitString", &O::InitString, &O::SetInitString);
    c.prop("Name", &O::Name, &O::SetName);
    c.prop("LastChange", &O::LastChange, &O::SetLastChange).type(QStringLiteral("TDateTime"));
    c.prop("Password", &O::Password, &O::SetPassword);
    c.prop("Picture", &O::Picture, &O::SetPicture);
    c.prop("VersionBuild", &O::VersionBuild, &O::SetVersionBuild);
    c.prop("VersionMajor", &O::VersionMajor, &O::SetVersionMajor);
    c.prop("VersionMinor", &O::VersionMinor, &O::SetVersionMinor);
    c.prop("VersionRelease", &O::VersionRelease, &O::SetVersionRelease);
    c.prop("IsFMXReport", &O::IsFMXReport, &O::SetIsFMXReport);
}

TfrxReportOptions::TfrxReportOptions(TfrxReport* AReport)
    : m_report(AReport), m_description(std::make_unique<StringList>()), m_picture(std::make_unique<TfrxBitmap>())
{
    m_createDate = m_lastChange = orv::platform::nowDateTime();
}

TfrxReportOptions::~TfrxReportOptions() = default;

void TfrxReportOptions::Clear()
{
    if (!Info) {
        m_author.clear();
        m_compressed = false;
        m_createDate = m_lastChange = orv::platform::nowDateTime();
        m_description->Clear();
        m_picture->Clear();
        m_versionBuild.clear();
        m_versionMajor.clear();
        m_versionMinor.clear();
        m_versionRelease.clear();
    }
    m_initString.clear();
    m_name.clear();
    m_password.clear();
    m_prevPassword.clear();
}

void TfrxReportOptions::Assign(const orv::platform::Persistent* Source)
{
    const auto* o = dynamic_cast<const TfrxReportOptions*>(Source);
    if (!o || o == this)
        return;
    m_author = o->m_author;
    m_compressed = o->m_compressed;
    m_createDate = o->m_createDate;
    m_description->Assign(o->m_description.get());
    m_initString = o->m_initString;
    m_name = o->m_name;
    m_lastChange = o->m_lastChange;
    m_password = o->m_password;
    m_picture->Assign(o->m_picture.get());
    m_versionBuild = o->m_versionBuild;
    m_versionMajor = o->m_versionMajor;
    m_versionMinor = o->m_versionMinor;
    m_versionRelease = o->m_versionRelease;
}

bool TfrxReportOptions::CheckPassword()
{
    if (m_password.isEmpty() || m_password == m_prevPassword || m_password == HiddenPassword)
        return true;
    QString entered;
    if (passwordPrompt() && passwordPrompt()(entered) && entered == m_password) {
        m_prevPassword = m_password;
        return true;
    }
    if (m_report) {
        m_report->Errors()->Add(frxStringResources()->Get(QStringLiteral("Invalid password")));
        m_report->ShowErrors();
    }
    return false;
}

// ---------------------------------------------------------------- report

ORV_RTTI_DEFINE(TfrxReport, TfrxComponent)
{
    using R = TfrxReport;
    c.prop("Version", &R::Version, &R::SetVersion);
    c.prop("ParentReport", &R::ParentReport, &R::SetParentReport);
    c.prop("DataSet", &R::DataSet, &R::SetDataSet);
    c.prop("DataSetName", &R::DataSetName, &R::SetDataSetName);
    c.prop("DotMatrixReport", &R::DotMatrixReport, &R::SetDotMatrixReport);
    c.prop("EngineOptions", &R::EngineOptions, &R::SetEngineOptions);
    c.prop("IniFile", &R::IniFile, &R::SetIniFile);
    c.prop("OldStyleProgress", &R::OldStyleProgress, &R::SetOldStyleProgress).def(true);
    c.prop("PreviewOptions", &R::PreviewOptions, &R::SetPreviewOptions);
    c.prop("PrintOptions", &R::PrintOptions, &R::SetPrintOptions);
    c.prop("ReportOptions", &R::ReportOptions, &R::SetReportOptions);
    c.prop("ScriptLanguage", &R::ScriptLanguage, &R::SetScriptLanguage);
    c.prop("ScriptText", &R::ScriptText, &R::SetScriptText);
    c.prop("ShowProgress", &R::ShowProgress, &R::SetShowProgress).def(true);
    c.prop("StoreInDFM", &R::StoreInDFM, &R::SetStoreInDFM).def(true);
    c.prop("OnRunDialogs", &R::OnRunDialogs, &R::SetOnRunDialogs).type(QStringLiteral("TfrxRunDialogsEvent"));
    c.prop("OnStartReport", &R::OnStartReport, &R::SetOnStartReport).type(QStringLiteral("TfrxNotifyEvent"));
    c.prop("OnStopReport", &R::OnStopReport, &R::SetOnStopReport).type(QStringLiteral("TfrxNotifyEvent"));
    c.prop("OnReportPrint", &R::OnReportPrint, &R::SetOnReportPrint).type(QStringLiteral("TfrxNotifyEvent"));
}

TfrxReport::TfrxReport(orv::platform::Component* AOwner)
    : TfrxComponent(AOwner), m_engineOptions(std::make_unique<TfrxEngineOptions>()),
      m_previewOptions(std::make_unique<TfrxPreviewOptions>()), m_printOptions(std::make_unique<TfrxPrintOptions>()),
      m_reportOptions(std::make_unique<TfrxReportOptions>(this)), m_scriptText(std::make_unique<StringList>()),
      m_errors(std::make_unique<StringList>(StringList::Dup::Ignore)), m_variables(std::make_unique<TfrxVariables>()),
      m_dataSets(std::make_unique<TfrxReportDataSets>(this)),
      m_enabledDataSets(std::make_unique<TfrxReportDataSets>(this)), m_styles(std::make_unique<TfrxStyles>(this)),
      m_drillState(std::make_unique<StringList>())
{
    frxInitializeReportEngine();
    m_script = std::make_unique<TfsScript>();
    m_script->SetExtendedCharset(true);
    m_script->AddRTTI();
    m_expressionCache = std::make_unique<TfrxExpressionCache>(m_script.get());
    SetEngine(std::make_unique<TfrxEngine>(this), std::make_unique<TfrxPreviewPages>(this));
    Clear();
}

TfrxReport::~TfrxReport()
{
    SetPreview(nullptr);
    // The layout goes first: its objects may still reach the report's parts.
    TfrxComponent::Clear();
    m_parentReportObject.reset();
    // The generated functions name the report's script as their parent.
    m_expressionCache.reset();
}

void TfrxReport::rebuildSystemVariables()
{
    m_systemVariables = {QStringLiteral("Date"),        QStringLiteral("Time"),  QStringLiteral("Page"),
                         QStringLiteral("Page#"),       QStringLiteral("TotalPages"), QStringLiteral("TotalPages#"),
                         QStringLiteral("Line"),        QStringLiteral("Line#"), QStringLiteral("CopyName#")};
}

void TfrxReport::Clear()
{
    // The parent template's objects go too: kept, they would stay in whatever layout is
    // read next.
    SetParentReport(QString());
    TfrxComponent::Clear();
    m_dataSets->Clear();
    m_variables->Clear();
    m_styles->Clear();
    m_engineOptions->Clear();
    m_previewOptions->Clear();
    m_printOptions->Clear();
    m_reportOptions->Clear();
    SetDataSet(nullptr);
    m_dotMatrixReport = false;
    m_scriptLanguage = QStringLiteral("VoriroVoreva");
    m_scriptText->SetText(QStringLiteral("begin\r\n\r\nend."));
    rebuildSystemVariables();
    m_onRunDialogs.clear();
    m_onStartReport.clear();
    m_onStopReport.clear();
}

void TfrxReport::SetEngine(std::unique_ptr<TfrxCustomEngine> engine, std::unique_ptr<TfrxCustomPreviewPages> pages)
{
    m_engine = std::move(engine);
    m_previewPages = std::move(pages);
    if (m_engine)
        m_engine->PreviewPages = m_previewPages.get();
    if (m_previewPages)
        m_previewPages->Engine = m_engine.get();
}

void TfrxReport::throwBrokenLayout(const QString& what)
{
    throw Error(QStringLiteral("The report layout is broken: %1").arg(what));
}

TfrxPage* TfrxReport::GetPages(int Index) const
{
    if (Index < 0 || Index >= PagesCount())
        throwBrokenLayout(QStringLiteral("it has no page %1").arg(Index));
    auto* page = dynamic_cast<TfrxPage*>(Objects()[Index]);
    if (!page)
        throwBrokenLayout(QStringLiteral("object %1 is not a page").arg(Index));
    return page;
}

void TfrxReport::CheckDataPage()
{
    for (TfrxComponent* c : Objects())
        if (dynamic_cast<TfrxDataPage*>(c))
            return;
    auto* page = new TfrxDataPage(this);
    try {
        page->SetName(QStringLiteral("Data"));
    } catch (const std::exception&) {
        page->CreateUniqueName();
    }
    // To the front of the report's objects.
    while (Objects().first() != page) {
        TfrxComponent* other = Objects().first();
        other->SetParent(nullptr);
        other->SetParent(this);
    }
    int x = 60;
    for (TfrxComponent* c : AllObjects()) {
        if (!dynamic_cast<TfrxDialogComponent*>(c) || c->Parent() == page)
            continue;
        c->SetParent(page);
        c->SetTop(20);
        c->SetLeft(x);
        x += 64;
    }
}

void TfrxReport::SetPreview(TfrxCustomPreview* Value)
{
    if (m_preview && !Value) {
        m_preview->Report = nullptr;
        m_preview->PreviewPages = nullptr;
        PreviewForm = nullptr;
    }
    m_preview = Value;
    if (m_preview) {
        m_preview->Report = this;
        m_preview->PreviewPages = m_previewPages.get();
        if (!m_preview->IsDesigning())
            m_preview->Init();
    }
}

void TfrxReport::Notification(orv::platform::Component* AComponent, orv::platform::Operation op)
{
    TfrxComponent::Notification(AComponent, op);
    if (op != orv::platform::Operation::Remove)
        return;
    // A component being freed is no longer of its own class: compare addresses only.
    m_dataSets->forget(AComponent);
    m_enabledDataSets->forget(AComponent);
    m_dataSet.forget(AComponent);
}

TfrxDataSet* TfrxReport::GetDataset(const QString& Alias) const
{
    TfrxDataSetItem* item = m_dataSets->Find(Alias);
    return item ? item->DataSet() : nullptr;
}

QString TfrxReport::GetAlias(TfrxDataSet* DataSet) const
{
    if (!DataSet)
        return {};
    if (m_dataSets->Find(DataSet))
        return DataSet->UserName();
    return frxStringResources()->Get(QStringLiteral("clDSNotIncl"));
}

void TfrxReport::GetDatasetAndField(const QString& ComplexName, TfrxDataSet*& Dataset, QString& Field) const
{
    Dataset = nullptr;
    Field.clear();
    for (qsizetype i = 0; i + 1 < ComplexName.size(); ++i) {
        if (ComplexName[i] == u'.' && ComplexName[i + 1] == u'"') {
            Dataset = GetDataset(ComplexName.left(i));
            Field = ComplexName.mid(i + 2, ComplexName.size() - i - 3);
            return;
        }
    }
}

void TfrxReport::GetDataSetList(StringList& List, bool OnlyDB) const
{
    List.Clear();
    for (int i = 0; i < m_dataSets->Count(); ++i) {
        TfrxDataSet* ds = m_dataSets->Items(i)->DataSet();
        if (!ds || (OnlyDB && dynamic_cast<TfrxUserDataSet*>(ds)))
            continue;
        List.AddObject(ds->UserName(), ds);
    }
}

void TfrxReport::GetActiveDataSetList(StringList& List) const
{
    if (m_engineOptions->UseGlobalDataSetList()) {
        ListGlobalDataSets(List);
        return;
    }
    List.Clear();
    for (int i = 0; i < m_enabledDataSets->Count(); ++i)
        if (TfrxDataSet* ds = m_enabledDataSets->Items(i)->DataSet())
            List.AddObject(ds->UserName(), ds);
}

void TfrxReport::ShowErrors()
{
    if (m_errors->isEmpty())
        return;
    frxReportError(this, frxStringResources()->Get(QStringLiteral("clErrors")) + QStringLiteral("\r\n") +
                             m_errors->Text());
}

void TfrxReport::SaveToStream(QIODevice& Stream, bool SaveChildren, bool SaveDefaultValues, bool Streaming)
{
    const QString password = m_reportOptions->Password();
    m_reportOptions->SetPrevPassword(password);
    TfrxCustomPreview* preview = m_preview;
    m_preview = nullptr;
    struct Restore {
        TfrxReport* r;
        QString password;
        TfrxCustomPreview* preview;
        ~Restore()
        {
            r->m_reportOptions->SetPassword(password);
            r->m_preview = preview;
        }
    } restore{this, password, preview};

    std::unique_ptr<orv::platform::rtti::Object> crypter;
    if (!password.isEmpty() && frxCrypterClass())
        crypter.reset(frxCrypterClass()->create(this));
    if (!dynamic_cast<TfrxCustomCrypter*>(crypter.get()))
        m_reportOptions->SetPassword(shiftCodes(password, -10));
    std::unique_ptr<orv::platform::rtti::Object> compressor;
    if (m_reportOptions->Compressed() && frxCompressorClass())
        compressor.reset(frxCompressorClass()->create(this));
    auto* comp = dynamic_cast<TfrxCustomCompressor*>(compressor.get());
    auto* crypt = dynamic_cast<TfrxCustomCrypter*>(crypter.get());

    QBuffer plain;
    plain.open(QIODevice::ReadWrite);
    QIODevice& target = (comp || crypt) ? static_cast<QIODevice&>(plain) : Stream;
    TfrxXMLSerializer serializer(&target);
    serializer.Owner = this;
    serializer.SerializeDefaultValues = SaveDefaultValues;
    serializer.WriteRootComponent(this, SaveChildren, nullptr, Streaming);
    if (!comp && !crypt)
        return;
    if (crypt) {
        plain.seek(0);
        crypt->CreateStream();
        crypt->Stream->write(plain.readAll());
        crypt->Stream->seek(0);
        QBuffer encrypted;
        encrypted.open(QIODevice::ReadWrite);
        crypt->Crypt(comp ? encrypted : Stream, password.toUtf8());
        if (!comp)
            return;
        plain.buffer() = encrypted.buffer();
    }
    comp->Report = this;
    comp->CreateStream();
    comp->Stream->write(plain.buffer());
    comp->Stream->seek(0);
    comp->Compress(Stream);
}

void TfrxReport::LoadFromStream(QIODevice& Stream)
{
    m_errors->Clear();
    QIODevice* source = &Stream;
    std::unique_ptr<orv::platform::rtti::Object> compressor;
    if (frxCompressorClass()) {
        compressor.reset(frxCompressorClass()->create(this));
        if (auto* comp = dynamic_cast<TfrxCustomCompressor*>(compressor.get())) {
            comp->Report = this;
            const qint64 pos = Stream.pos();
            try {
                if (comp->Decompress(Stream) && comp->Stream) {
                    comp->Stream->seek(0);
                    source = comp->Stream.get();
                } else {
                    Stream.seek(pos);
                }
            } catch (const std::exception&) {
                m_errors->Add(frxStringResources()->Get(QStringLiteral("clDecompressError")));
                ShowErrors();
                return;
            }
        }
    }
    m_reportOptions->SetPassword(m_reportOptions->HiddenPassword);
    bool encrypted = false;
    std::unique_ptr<orv::platform::rtti::Object> crypter;
    if (frxCrypterClass()) {
        crypter.reset(frxCrypterClass()->create(this));
        if (auto* crypt = dynamic_cast<TfrxCustomCrypter*>(crypter.get())) {
            const qint64 pos = source->pos();
            try {
                if (crypt->Decrypt(*source, m_reportOptions->HiddenPassword.toLatin1()) && crypt->Stream) {
                    crypt->Stream->seek(0);
                    source = crypt->Stream.get();
                    encrypted = true;
                } else {
                    source->seek(pos);
                }
            } catch (const std::exception&) {
                m_errors->Add(frxStringResources()->Get(QStringLiteral("clDecryptError")));
                ShowErrors();
                return;
            }
        }
    }

    TfrxEngineOptions engineOptions;
    engineOptions.Assign(m_engineOptions.get());
    TfrxPreviewOptions previewOptions;
    previewOptions.Assign(m_previewOptions.get());
    const QString iniFile = m_iniFile;
    TfrxCustomPreview* preview = m_preview;
    const bool oldStyleProgress = m_oldStyleProgress, showProgress = m_showProgress, storeInDFM = m_storeInDFM;

    try {
        const ConverterEvents& hooks = frxConverterEvents();
        if (!(hooks.OnLoad && hooks.OnLoad(this, *source)))
            TfrxComponent::LoadFromStream(*source);
        if (hooks.OnAfterLoad)
            hooks.OnAfterLoad(this);
    } catch (const TfrxInvalidXMLException& e) {
        m_errors->Add(encrypted ? frxStringResources()->Get(QStringLiteral("Invalid password")) : exceptionText(e));
    } catch (const std::exception& e) {
        m_errors->Add(exceptionText(e));
    }

    CheckDataPage();
    const bool convertNulls = m_engineOptions->ConvertNulls(), ignoreDevByZero = m_engineOptions->IgnoreDevByZero(),
               doublePass = m_engineOptions->DoublePass();
    m_engineOptions->Assign(&engineOptions);
    m_engineOptions->SetConvertNulls(convertNulls);
    m_engineOptions->SetIgnoreDevByZero(ignoreDevByZero);
    m_engineOptions->SetDoublePass(doublePass);
    const bool outlineVisible = m_previewOptions->OutlineVisible(), outlineExpand = m_previewOptions->OutlineExpand(),
               thumbnailVisible = m_previewOptions->ThumbnailVisible();
    const int outlineWidth = m_previewOptions->OutlineWidth(), pagesInCache = m_previewOptions->PagesInCache();
    m_previewOptions->Assign(&previewOptions);
    m_previewOptions->SetOutlineVisible(outlineVisible);
    m_previewOptions->SetOutlineWidth(outlineWidth);
    m_previewOptions->SetOutlineExpand(outlineExpand);
    m_previewOptions->SetPagesInCache(pagesInCache);
    m_previewOptions->SetThumbnailVisible(thumbnailVisible);
    m_iniFile = iniFile;
    m_preview = preview;
    m_oldStyleProgress = oldStyleProgress;
    m_showProgress = showProgress;
    m_storeInDFM = storeInDFM;
    if (!encrypted)
        m_reportOptions->SetPassword(shiftCodes(m_reportOptions->Password(), 10));

    if (m_reportOptions->Info) {
        Clear();
        return;
    }
    if (!Reloading && !m_engineOptions->EnableThreadSafe() && !encrypted && !m_reportOptions->CheckPassword()) {
        Clear();
        return;
    }
    ShowErrors();
}

bool TfrxReport::LoadFromFile(const QString& AFileName, bool ExceptionIfNotFound)
{
    Clear();
    FileName.clear();
    const bool exists = QFileInfo::exists(AFileName);
    if (!exists && !ExceptionIfNotFound)
        return false;
    QFile file(AFileName);
    if (!file.open(QIODevice::ReadOnly))
        throw orv::platform::EFileError(QStringLiteral("Cannot open file \"%1\". %2").arg(AFileName, file.errorString()));
    FileName = AFileName;
    LoadFromStream(file);
    return exists;
}

void TfrxReport::SaveToFile(const QString& AFileName)
{
    if (m_parentReport.size() > 1 && m_parentReport[1] == u':')
        m_parentReport = QFileInfo(AFileName).absoluteDir().relativeFilePath(m_parentReport);
    saveFile(AFileName, [this](QIODevice& f) { SaveToStream(f, true, false); });
}

void TfrxReport::DefineProperties(Filer& filer)
{
    filer.defineProperty(
        QStringLiteral("Left"), [this](PropertyReader& r) { m_designLeft = r.readInteger(); },
        [this](PropertyWriter& w) { w.writeInteger(m_designLeft); }, m_designLeft != 0);
    filer.defineProperty(
        QStringLiteral("Top"), [this](PropertyReader& r) { m_designTop = r.readInteger(); },
        [this](PropertyWriter& w) { w.writeInteger(m_designTop); }, m_designTop != 0);
    auto collection = [&](const char* name, CollectionBase& c) {
        filer.defineProperty(
            QString::fromLatin1(name), [this, &c](PropertyReader& r) { frxReadCollection(c, r, this); },
            [this, &c](PropertyWriter& w) { frxWriteCollection(c, w, this); }, true);
    };
    collection("Datasets", *m_dataSets);
    collection("Variables", *m_variables);
    collection("Style", *m_styles);
}

QString TfrxReport::GetApplicationFolder() const { return IsDesigning() ? QDir::currentPath() + u'\\' : frxDefaultFolder(); }

QString TfrxReport::GetDescription() const { return frxStringResources()->Get(QStringLiteral("obReport")); }

} // namespace orv::report
