// The report's preparation and output: PrepareReport, the preview, printing and export
// entry points, the progress reports, and the value lookup and events that the engine
// and the views use while a report is prepared.
#include "platform/core/inifile.h"
#include "platform/core/text.h"
#include "report/base/errors.h"
#include "report/base/resources.h"
#include "report/base/utils.h"
#include "report/base/variables.h"
#include "report/engine/engine.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"
#include "script/core/script.h"
#include "script/core/statements.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <QTimer>

namespace orv::report {
using namespace orv::script;
} // namespace orv::report

namespace orv::report {

using orv::report::Value;

namespace {

std::function<TfrxPreviewWindow*(TfrxReport*)>& previewWindowMaker()
{
    static std::function<TfrxPreviewWindow*(TfrxReport*)> maker;
    return maker;
}

std::function<TfrxProgressWindow*()>& progressWindowMaker()
{
    static std::function<TfrxProgressWindow*()> maker;
    return maker;
}

std::function<bool(const QString&)>& printerSelector()
{
    static std::function<bool(const QString&)> selector;
    return selector;
}

} // namespace

void frxSetPrinterSelector(std::function<bool(const QString& Name)> Selector) { printerSelector() = std::move(Selector); }

void frxSetPreviewWindowMaker(std::function<TfrxPreviewWindow*(TfrxReport*)> Maker)
{
    previewWindowMaker() = std::move(Maker);
}

void frxSetProgressWindowMaker(std::function<TfrxProgressWindow*()> Maker) { progressWindowMaker() = std::move(Maker); }

// ---------------------------------------------------------------- state

void TfrxReport::processMessages()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

// ---------------------------------------------------------------- values

bool TfrxReport::LookupValue(const QString& Name, Value& Result)
{
    Result = Value::null();
    TfrxDataSet* ds = nullptr;
    QString field;
    GetDatasetAndField(Name, ds, field);
    if (ds && !field.isEmpty()) {
        Result = orv::report::toValue(ds->GetValue(field));
        if (m_engineOptions->ConvertNulls() && Result.isNull()) {
            switch (ds->GetFieldType(field)) {
            case fftNumeric:
                Result = Value(0);
                break;
            case fftString:
                Result = Value(QString());
                break;
            case fftBoolean:
                Result = Value(false);
                break;
            }
        }
        return true;
    }
    const TfrxCustomEngine* engine = m_engine.get();
    int system = -1;
    for (int i = 0; i < m_systemVariables.size() && system < 0; ++i)
        if (orv::platform::sameTextAZ(m_systemVariables[i], Name))
            system = i;
    switch (system) {
    case 0:
        Result = Value::fromDate(engine->StartDate);
        return true;
    case 1:
        Result = Value::fromDate(engine->StartTime);
        return true;
    case 2:
        Result = Value(m_previewPages->GetLogicalPageNo());
        return true;
    case 3:
        Result = Value(m_previewPages->CurPage + 1);
        return true;
    case 4:
        Result = Value(m_previewPages->GetLogicalTotalPages());
        return true;
    case 5:
        Result = Value(engine->TotalPages);
        return true;
    case 6:
        Result = Value(engine->CurLine);
        return true;
    case 7:
        Result = Value(engine->CurLineThrough);
        return true;
    case 8:
        Result = orv::report::toValue(frxGlobalVariables().GetVariable(QStringLiteral("CopyName0")));
        return true;
    default:
        break;
    }
    if (OnGetValue || OnNewGetValue) {
        QVariant v;
        if (OnGetValue)
            OnGetValue(Name, v);
        if (OnNewGetValue)
            OnNewGetValue(this, Name, v);
        if (v.isValid()) {
            Result = orv::report::toValue(v);
            return true;
        }
    }
    QVariant stored;
    if (m_variables->LookupValue(
            Name, [this](const QString& expr) { return orv::report::toVariant(Calc(expr)); }, stored)) {
        Result = orv::report::toValue(stored);
        return true;
    }
    if (frxGlobalVariables().IndexOf(Name) >= 0) {
        Result = orv::report::toValue(frxGlobalVariables().GetVariable(Name));
        return true;
    }
    // A variable or object of the report's own script; its routines are no values.
    if (TfsCustomVariable* item = m_script->FindLocal(Name)) {
        switch (item->ItemShape()) {
        case TfsCustomVariable::Shape::Procedure:
        case TfsCustomVariable::Shape::Method:
            return false;
        default:
            Result = item->GetValue();
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- events

void TfrxReport::DoBeforePrint(TfrxReportComponent* Obj)
{
    if (OnBeforePrint)
        OnBeforePrint(Obj);
    DoNotifyEvent(Obj, Obj->OnBeforePrint());
}

void TfrxReport::DoAfterPrint(TfrxReportComponent* Obj)
{
    if (OnAfterPrint)
        OnAfterPrint(Obj);
    DoNotifyEvent(Obj, Obj->OnAfterPrint());
}

void TfrxReport::DoPreviewClick(TfrxView* View, int Button, int Shift, bool& Modified, bool DBClick)
{
    const QString event = DBClick ? View->OnPreviewDblClick() : View->OnPreviewClick();
    if (!event.isEmpty()) {
        QVariantList params{QVariant::fromValue(static_cast<orv::platform::rtti::Object*>(View)), Button, Shift, Modified};
        DoParamEvent(event, params, true);
        Modified = params.value(3).toBool();
    }
    if (DBClick ? bool(OnDblClickObject) : bool(OnClickObject))
        (DBClick ? OnDblClickObject : OnClickObject)(View, Button, Shift, Modified);
}

std::unique_ptr<orv::platform::IniFile> TfrxReport::GetIniFile() const
{
    QString name = m_iniFile;
    if (name.isEmpty())
        name = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
               QStringLiteral("/OrvantaReport.config");
    return std::make_unique<orv::platform::IniFile>(name);
}

void TfrxReport::SelectPrinter()
{
    if (printerSelector())
        printerSelector()(m_printOptions->Printer());
}

// ---------------------------------------------------------------- progress

bool TfrxReport::progressWindowWanted(TfrxProgressType ProgressType) const
{
    return (m_oldStyleProgress || ProgressType != ptRunning) && m_showProgress;
}

void TfrxReport::InternalOnProgressStart(TfrxProgressType ProgressType)
{
    if (m_engineOptions->EnableThreadSafe())
        return;
    if (OnProgressStart)
        OnProgressStart(this, ProgressType, 0);
    if (progressWindowWanted(ProgressType)) {
        m_progress.reset();
        if (progressWindowMaker()) {
            m_progress.reset(progressWindowMaker()());
            if (m_progress)
                m_progress->Execute(0, QString(), true, false);
        }
    }
    if (m_preview && ProgressType == ptRunning)
        m_preview->InternalOnProgressStart(this, ProgressType, 0);
    processMessages();
}

void TfrxReport::InternalOnProgress(TfrxProgressType ProgressType, int Progress)
{
    if (m_engineOptions->EnableThreadSafe())
        return;
    if (OnProgress)
        OnProgress(this, ProgressType, Progress);
    if (progressWindowWanted(ProgressType) && m_progress) {
        QString name;
        switch (ProgressType) {
        case ptRunning:
            name = m_engine->FinalPass ? QStringLiteral("prRunning") : QStringLiteral("prRunningFirst");
            break;
        case ptExporting:
            name = QStringLiteral("prExporting");
            break;
        case ptPrinting:
            name = QStringLiteral("prPrinting");
            break;
        }
        QString text = frxStringResources()->Get(name);
        text.replace(QStringLiteral("%d"), QString::number(Progress));
        m_progress->SetMessage(text);
        if (m_progress->Terminated())
            SetTerminated(true);
    }
    if (m_preview && ProgressType == ptRunning)
        m_preview->InternalOnProgress(this, ProgressType, Progress - 1);
    processMessages();
}

void TfrxReport::InternalOnProgressStop(TfrxProgressType ProgressType)
{
    if (m_engineOptions->EnableThreadSafe())
        return;
    if (OnProgressStop)
        OnProgressStop(this, ProgressType, 0);
    if (progressWindowWanted(ProgressType))
        m_progress.reset();
    if (m_preview && ProgressType == ptRunning)
        m_preview->InternalOnProgressStop(this, ProgressType, 0);
    processMessages();
}

void TfrxReport::SetProgressMessage(const QString& Value, bool IsHint)
{
    if (m_engineOptions->EnableThreadSafe())
        return;
    if (m_oldStyleProgress && m_engine->Running && m_showProgress && m_progress)
        m_progress->SetMessage(Value);
    if (PreviewForm)
        PreviewForm->SetMessageText(Value, IsHint);
    processMessages();
}

// ---------------------------------------------------------------- preparation

bool TfrxReport::PrepareReport(bool ClearLastReport)
{
    if (ClearLastReport)
        m_previewPages->Clear();
    m_errors->Clear();
    SetTerminated(false);
    bool result = false;

    for (int i = 0; i < m_dataSets->Count(); ++i)
        if (!m_dataSets->Items(i)->DataSet())
            m_errors->Add(frxStringResources()->Get(QStringLiteral("clDSNotExist")).replace(
                QStringLiteral("%s"), m_dataSets->Items(i)->DataSetName()));

    if (m_errors->isEmpty()) {
        const QString password = m_reportOptions->Password();
        const int splicingLine = m_printOptions->SplicingLine;
        const bool destroyForms = m_engineOptions->DestroyForms();
        // The layout is copied first and read back afterwards, so that whatever the
        // engine and scripts change while they run leaves the layout as it was.
        std::unique_ptr<QIODevice> copy;
        QString copyFile;
        if (destroyForms) {
            if (m_engineOptions->UseFileCache()) {
                copyFile = frxTempFileNameIn(m_engineOptions->TempDir());
                auto file = std::make_unique<QFile>(copyFile);
                if (!file->open(QIODevice::ReadWrite | QIODevice::Truncate))
                    throw orv::platform::EFileError(
                        QStringLiteral("Cannot open file \"%1\". %2").arg(copyFile, file->errorString()));
                copy = std::move(file);
            } else {
                auto buffer = std::make_unique<QBuffer>();
                buffer->open(QIODevice::ReadWrite);
                copy = std::move(buffer);
            }
            m_reportOptions->SetPassword(QString());
            SaveToStream(*copy, true, false, false);
            m_reportOptions->SetPassword(password);
        }
        try {
            if (OnBeginDoc)
                OnBeginDoc(this);
            if (PrepareScript()) {
                if (OnAfterScriptCompile)
                    OnAfterScriptCompile(this);
                if (m_script->Statement() && m_script->Statement()->Count() > 0)
                    m_script->Execute();
                bool ran = false;
                if (!m_terminated)
                    ran = m_engine->Run();
                if (ran) {
                    if (OnEndDoc)
                        OnEndDoc(this);
                    result = true;
                } else if (PreviewForm) {
                    PreviewForm->Close();
                }
            }
        } catch (const std::exception& e) {
            m_errors->Add(orv::report::exceptionText(e));
        }
        if (destroyForms) {
            const QString kept = m_errors->Text();
            copy->seek(0);
            Reloading = true;
            try {
                LoadFromStream(*copy);
            } catch (...) {
                Reloading = false;
                throw;
            }
            Reloading = false;
            m_reportOptions->SetPassword(password);
            m_printOptions->SplicingLine = splicingLine;
            copy.reset();
            if (!copyFile.isEmpty())
                QFile::remove(copyFile);
            m_errors->SetText(kept);
        }
    }
    if (!m_errors->isEmpty()) {
        result = false;
        ShowErrors();
    }
    return result;
}

void TfrxReport::ShowReport(bool ClearLastReport)
{
    if (ClearLastReport)
        m_previewPages->Clear();
    if (m_oldStyleProgress) {
        if (PrepareReport(false))
            ShowPreparedReport();
        return;
    }
    if (!m_timer) {
        m_timer = std::make_unique<QTimer>();
        m_timer->setSingleShot(true);
        m_timer->setInterval(50);
        QObject::connect(m_timer.get(), &QTimer::timeout, [this] { PrepareReport(false); });
    }
    m_timer->start();
    ShowPreparedReport();
}

void TfrxReport::ShowPreparedReport()
{
    PreviewForm = nullptr;
    if (m_preview) {
        m_preview->Report = this;
        m_preview->PreviewPages = m_previewPages.get();
        m_preview->Init();
        return;
    }
    if (!previewWindowMaker())
        return;
    TfrxPreviewWindow* window = previewWindowMaker()(this);
    if (!window)
        return;
    PreviewForm = window;
    SetPreview(window->Preview());
    window->Init();
    if (OnPreview)
        OnPreview(this);
    if (m_previewOptions->Maximized())
        window->KeepDesignedPosition();
    if (m_previewOptions->Modal()) {
        std::unique_ptr<TfrxPreviewWindow> owned(window);
        window->ShowModal();
        if (m_preview == window->Preview())
            SetPreview(nullptr);
        PreviewForm = nullptr;
    } else {
        window->Show();
    }
}

bool TfrxReport::Print() { return m_previewPages->Print(); }

bool TfrxReport::Export(TfrxCustomExportFilter* Filter) { return m_previewPages->Export(Filter); }

} // namespace orv::report
