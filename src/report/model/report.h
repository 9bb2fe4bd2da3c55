#pragma once
// The report component: the root of a layout, owning its pages, options, variables,
// datasets and styles, with the template load and save around the serializer.
#include "report/base/bitmap.h"
#include "report/base/propstream.h"
#include "report/base/stringlist.h"
#include "report/base/variables.h"
#include "report/model/datasets.h"
#include "report/model/engine.h"
#include "report/model/pages.h"

#include <functional>
#include <memory>

namespace orv::report {

class TfrxXMLSerializer;
class TfrxExpressionCache;

} // namespace orv::report
namespace orv::script {
class TfsScript;
}
namespace orv::script {
class TfsMethodHelper;
}
namespace orv::script {
class TfsCustomVariable;
}
class QTimer;
namespace orv::platform {
class IniFile;
}

namespace orv::report {

class TfrxEngineOptions : public orv::platform::Persistent {
    ORV_RTTI_CLASS(TfrxEngineOptions)
public:
    bool ConvertNulls() const { return m_convertNulls; }
    void SetConvertNulls(bool v) { m_convertNulls = v; }
    bool DoublePass() const { return m_doublePass; }
    void SetDoublePass(bool v) { m_doublePass = v; }
    int MaxMemSize() const { return m_maxMemSize; }
    void SetMaxMemSize(int v) { m_maxMemSize = v; }
    bool PrintIfEmpty() const { return m_printIfEmpty; }
    void SetPrintIfEmpty(bool v) { m_printIfEmpty = v; }
    // True exactly in the silent mode; writing it chooses silent or message boxes.
    bool SilentMode() const { return m_newSilentMode == simSilent; }
    void SetSilentMode(bool v) { m_newSilentMode = v ? simSilent : simMessageBoxes; }
    TfrxSilentMode NewSilentMode() const { return m_newSilentMode; }
    void SetNewSilentMode(TfrxSilentMode v) { m_newSilentMode = v; }
    const QString& TempDir() const { return m_tempDir; }
    void SetTempDir(const QString& v) { m_tempDir = v; }
    bool UseFileCache() const { return m_useFileCache; }
    void SetUseFileCache(bool v) { m_useFileCache = v; }
    bool IgnoreDevByZero() const { return m_ignoreDevByZero; }
    void SetIgnoreDevByZero(bool v) { m_ignoreDevByZero = v; }
    bool DestroyForms() const { return m_destroyForms; }
    void SetDestroyForms(bool v) { m_destroyForms = v; }
    bool EnableThreadSafe() const { return m_enableThreadSafe; }
    void SetEnableThreadSafe(bool v) { m_enableThreadSafe = v; }
    bool UseGlobalDataSetList() const { return m_useGlobalDataSetList; }
    void SetUseGlobalDataSetList(bool v) { m_useGlobalDataSetList = v; }

    // Resets what a template brings: ConvertNulls, IgnoreDevByZero and DoublePass.
    void Clear();
    // The nine published values.
    void Assign(const orv::platform::Persistent* Source) override;

private:
    bool m_convertNulls = true, m_doublePass = false;
    int m_maxMemSize = 10;
    bool m_printIfEmpty = true;
    TfrxSilentMode m_newSilentMode = simMessageBoxes;
    QString m_tempDir;
    bool m_useFileCache = false, m_ignoreDevByZero = false;
    bool m_destroyForms = true, m_enableThreadSafe = false, m_useGlobalDataSetList = true;
};

class TfrxPreviewOptions : public orv::platform::Persistent {
    ORV_RTTI_CLASS(TfrxPreviewOptions)
public:
    bool AllowEdit() const { return m_allowEdit; }
    void SetAllowEdit(bool v) { m_allowEdit = v; }
    TfrxPreviewButtons Buttons() const { return m_buttons; }
    void SetButtons(TfrxPreviewButtons v) { m_buttons = v; }
    bool DoubleBuffered() const { return m_doubleBuffered; }
    void SetDoubleBuffered(bool v) { m_doubleBuffered = v; }
    bool Maximized() const { return m_maximized; }
    void SetMaximized(bool v) { m_maximized = v; }
    bool MDIChild() const { return m_mdiChild; }
    void SetMDIChild(bool v) { m_mdiChild = v; }
    bool Modal() const { return m_modal; }
    void SetModal(bool v) { m_modal = v; }
    bool OutlineExpand() const { return m_outlineExpand; }
    void SetOutlineExpand(bool v) { m_outlineExpand = v; }
    bool OutlineVisible() const { return m_outlineVisible; }
    void SetOutlineVisible(bool v) { m_outlineVisible = v; }
    int OutlineWidth() const { return m_outlineWidth; }
    void SetOutlineWidth(int v) { m_outlineWidth = v; }
    int PagesInCache() const { return m_pagesInCache; }
    void SetPagesInCache(int v) { m_pagesInCache = v; }
    bool ThumbnailVisible() const { return m_thumbnailVisible; }
    void SetThumbnailVisible(bool v) { m_thumbnailVisible = v; }
    bool ShowCaptions() const { return m_showCaptions; }
    void SetShowCaptions(bool v) { m_showCaptions = v; }
    double Zoom() const { return m_zoom; }
    void SetZoom(double v) { m_zoom = v; }
    TfrxZoomMode ZoomMode() const { return m_zoomMode; }
    void SetZoomMode(TfrxZoomMode v) { m_zoomMode = v; }
    bool PictureCacheInFile() const { return m_pictureCacheInFile; }
    void SetPictureCacheInFile(bool v) { m_pictureCacheInFile = v; }
    bool RTLPreview() const { return m_rtlPreview; }
    void SetRTLPreview(bool v) { m_rtlPreview = v; }

    // Resets the outline, cache and thumbnail values.
    void Clear();
    void Assign(const orv::platform::Persistent* Source) override;

    static constexpr TfrxPreviewButtons AllButtons = TfrxPreviewButtons::fromBits(0xFFF);

private:
    bool m_allowEdit = true;
    TfrxPreviewButtons m_buttons = AllButtons;
    bool m_doubleBuffered = true, m_maximized = true, m_mdiChild = false, m_modal = true;
    bool m_outlineExpand = true, m_outlineVisible = false;
    int m_outlineWidth = 120, m_pagesInCache = 50;
    bool m_thumbnailVisible = false, m_showCaptions = false;
    double m_zoom = 1;
    TfrxZoomMode m_zoomMode = zmDefault;
    bool m_pictureCacheInFile = false, m_rtlPreview = false;
};

class TfrxPrintOptions : public orv::platform::Persistent {
    ORV_RTTI_CLASS(TfrxPrintOptions)
public:
    TfrxPrintOptions() { Clear(); }
    int Copies() const { return m_copies; }
    void SetCopies(int v) { m_copies = v; }
    bool Collate() const { return m_collate; }
    void SetCollate(bool v) { m_collate = v; }
    const QString& PageNumbers() const { return m_pageNumbers; }
    void SetPageNumbers(const QString& v) { m_pageNumbers = v; }
    const QString& Printer() const { return m_printer; }
    void SetPrinter(const QString& v) { m_printer = v; }
    TfrxPrintMode PrintMode() const { return m_printMode; }
    void SetPrintMode(TfrxPrintMode v) { m_printMode = v; }
    int PrintOnSheet() const { return m_printOnSheet; }
    void SetPrintOnSheet(int v) { m_printOnSheet = v; }
    TfrxPrintPages PrintPages() const { return m_printPages; }
    void SetPrintPages(TfrxPrintPages v) { m_printPages = v; }
    bool Reverse() const { return m_reverse; }
    void SetReverse(bool v) { m_reverse = v; }
    bool ShowDialog() const { return m_showDialog; }
    void SetShowDialog(bool v) { m_showDialog = v; }
    bool SwapPageSize() const { return m_swapPageSize; }
    void SetSwapPageSize(bool v) { m_swapPageSize = v; }
    QString PrnOutFileName;
    TfrxDuplexMode Duplex = dmNone;
    int SplicingLine = 3;
    int PagesOnSheet = 0;

    void Clear();
    // Everything but the duplex mode.
    void Assign(const orv::platform::Persistent* Source) override;

private:
    int m_copies = 1;
    bool m_collate = true;
    QString m_pageNumbers, m_printer;
    TfrxPrintMode m_printMode = pmDefault;
    int m_printOnSheet = 0;
    TfrxPrintPages m_printPages = ppAll;
    bool m_reverse = false, m_showDialog = true, m_swapPageSize = false;
};

class TfrxReportOptions : public orv::platform::Persistent {
    ORV_RTTI_CLASS(TfrxReportOptions)
public:
    explicit TfrxReportOptions(TfrxReport* AReport = nullptr);
    ~TfrxReportOptions() override;

    const QString& Author() const { return m_author; }
    void SetAuthor(const QString& v) { m_author = v; }
    bool Compressed() const { return m_compressed; }
    void SetCompressed(bool v) { m_compressed = v; }
    orv::platform::TDateTime CreateDate() const { return m_createDate; }
    void SetCreateDate(orv::platform::TDateTime v) { m_createDate = v; }
    orv::report::StringList* Description() const { return m_description.get(); }
    void SetDescription(orv::report::StringList* v) { m_description->Assign(v); }
    const QString& InitString() const { return m_initString; }
    void SetInitString(const QString& v) { m_initString = v; }
    const QString& Name() const { return m_name; }
    void SetName(const QString& v) { m_name = v; }
    orv::platform::TDateTime LastChange() const { return m_lastChange; }
    void SetLastChange(orv::platform::TDateTime v) { m_lastChange = v; }
    const QString& Password() const { return m_password; }
    void SetPassword(const QString& v) { m_password = v; }
    TfrxBitmap* Picture() const { return m_picture.get(); }
    void SetPicture(TfrxBitmap* v) { m_picture->Assign(v); }
    const QString& VersionBuild() const { return m_versionBuild; }
    void SetVersionBuild(const QString& v) { m_versionBuild = v; }
    const QString& VersionMajor() const { return m_versionMajor; }
    void SetVersionMajor(const QString& v) { m_versionMajor = v; }
    const QString& VersionMinor() const { return m_versionMinor; }
    void SetVersionMinor(const QString& v) { m_versionMinor = v; }
    const QString& VersionRelease() const { return m_versionRelease; }
    void SetVersionRelease(const QString& v) { m_versionRelease = v; }
    bool IsFMXReport() const { return m_isFMXReport; }
    void SetIsFMXReport(bool v) { m_isFMXReport = v; }
    const QString& PrevPassword() const { return m_prevPassword; }
    void SetPrevPassword(const QString& v) { m_prevPassword = v; }
    QString HiddenPassword;
    // While set, Clear keeps the descriptive values.
    bool Info = false;

    void Clear();
    void Assign(const orv::platform::Persistent* Source) override;
    // An empty password, or one already given, passes; otherwise the password prompt is
    // asked and a wrong answer adds "Invalid password" to the report's errors.
    bool CheckPassword();

private:
    TfrxReport* m_report;
    QString m_author;
    bool m_compressed = false;
    orv::platform::TDateTime m_createDate = 0;
    std::unique_ptr<orv::report::StringList> m_description;
    QString m_initString, m_name;
    orv::platform::TDateTime m_lastChange = 0;
    QString m_password;
    std::unique_ptr<TfrxBitmap> m_picture;
    QString m_versionBuild, m_versionMajor, m_versionMinor, m_versionRelease;
    bool m_isFMXReport = true;
    QString m_prevPassword;
};

// The preview window, which the preview installs a maker for. It owns its preview
// control; the report shows prepared pages in it.
class TfrxPreviewWindow {
public:
    virtual ~TfrxPreviewWindow() = default;
    virtual TfrxCustomPreview* Preview() = 0;
    // Sets the window up from the report's preview options.
    virtual void Init() = 0;
    virtual void SetMessageText(const QString& Value, bool IsHint) = 0;
    // Keeps the window where it was designed instead of centring it again.
    virtual void KeepDesignedPosition() = 0;
    // Returns when the window has closed.
    virtual void ShowModal() = 0;
    // Shows the window; it frees itself when closed.
    virtual void Show() = 0;
    virtual void Close() = 0;
};
void frxSetPreviewWindowMaker(std::function<TfrxPreviewWindow*(TfrxReport* Report)> Maker);

// The progress window of a preparation, a print or an export.
class TfrxProgressWindow {
public:
    virtual ~TfrxProgressWindow() = default;
    virtual void Execute(int MaxValue, const QString& Msg, bool Canceled, bool Progress) = 0;
    virtual void SetMessage(const QString& Value) = 0;
    // The user cancelled.
    virtual bool Terminated() const = 0;
};
void frxSetProgressWindowMaker(std::function<TfrxProgressWindow*()> Maker);

// Makes the named printer the current one; false when the system has no such printer.
// The printer layer installs it.
void frxSetPrinterSelector(std::function<bool(const QString& Name)> Selector);

// Asks for the password of a protected template: true and the text when the user
// confirmed. Unset, every protected template fails its check.
// Asks how to treat the report's objects whose names a parent template also uses:
// imDelete, imRename, or imDefault to cancel. Unset, they are renamed.
void frxSetInheritErrorPrompt(std::function<TfrxInheriteMode(const QString& Message)> Prompt);

void frxSetPasswordPrompt(std::function<bool(QString& Password)> prompt);

class TfrxReport : public TfrxComponent, public orv::report::DefinesProperties {
    ORV_RTTI_CLASS(TfrxReport)
public:
    explicit TfrxReport(orv::platform::Component* AOwner = nullptr);
    ~TfrxReport() override;

    // ------------------------------------------------ published properties
    QString Version() const { return QStringLiteral("2.1"); }
    // Whatever a template stores, the version stays 2.1.
    void SetVersion(const QString&) {}
    const QString& ParentReport() const { return m_parentReport; }
    // Loads the named parent template into the report and marks every object inherited;
    // empty, it marks every object as the report's own.
    void SetParentReport(const QString& v);
    TfrxDataSet* DataSet() const { return m_dataSet.get(); }
    void SetDataSet(TfrxDataSet* Value) { m_dataSet.set(Value); }
    QString DataSetName() const { return m_dataSet.name(); }
    void SetDataSetName(const QString& Value) { m_dataSet.setName(Value); }
    bool DotMatrixReport() const { return m_dotMatrixReport; }
    void SetDotMatrixReport(bool v) { m_dotMatrixReport = v; }
    TfrxEngineOptions* EngineOptions() const { return m_engineOptions.get(); }
    void SetEngineOptions(TfrxEngineOptions* v) { m_engineOptions->Assign(v); }
    const QString& IniFile() const { return m_iniFile; }
    void SetIniFile(const QString& v) { m_iniFile = v; }
    bool OldStyleProgress() const { return m_oldStyleProgress; }
    void SetOldStyleProgress(bool v) { m_oldStyleProgress = v; }
    TfrxPreviewOptions* PreviewOptions() const { return m_previewOptions.get(); }
    void SetPreviewOptions(TfrxPreviewOptions* v) { m_previewOptions->Assign(v); }
    TfrxPrintOptions* PrintOptions() const { return m_printOptions.get(); }
    void SetPrintOptions(TfrxPrintOptions* v) { m_printOptions->Assign(v); }
    TfrxReportOptions* ReportOptions() const { return m_reportOptions.get(); }
    void SetReportOptions(TfrxReportOptions* v) { m_reportOptions->Assign(v); }
    const QString& ScriptLanguage() const { return m_scriptLanguage; }
    void SetScriptLanguage(const QString& v) { m_scriptLanguage = v; }
    orv::report::StringList* ScriptText() const { return m_scriptText.get(); }
    void SetScriptText(orv::report::StringList* v) { m_scriptText->Assign(v); }
    bool ShowProgress() const { return m_showProgress; }
    void SetShowProgress(bool v) { m_showProgress = v; }
    bool StoreInDFM() const { return m_storeInDFM; }
    void SetStoreInDFM(bool v) { m_storeInDFM = v; }
    const QString& OnRunDialogs() const { return m_onRunDialogs; }
    void SetOnRunDialogs(const QString& v) { m_onRunDialogs = v; }
    const QString& OnStartReport() const { return m_onStartReport; }
    void SetOnStartReport(const QString& v) { m_onStartReport = v; }
    const QString& OnStopReport() const { return m_onStopReport; }
    void SetOnStopReport(const QString& v) { m_onStopReport = v; }
    const QString& OnReportPrint() const { return m_onReportPrint; }
    void SetOnReportPrint(const QString& v) { m_onReportPrint = v; }

    // ------------------------------------------------ pages
    int PagesCount() const { return int(Objects().size()); }
    // The page at Index (0: the data page, 1: the first report page). A layout without
    // that page raises orv::report::Error instead of handing out a bad object.
    TfrxPage* GetPages(int Index) const;
    // The page at Index as the class the caller expects, checked the same way.
    template <class T>
    T* GetPageAs(int Index) const
    {
        T* page = dynamic_cast<T*>(GetPages(Index));
        if (!page)
            throwBrokenLayout(QStringLiteral("page %1 is not a %2").arg(Index).arg(T::staticClassInfo().name()));
        return page;
    }
    // The object of that name as the class the caller expects; raises
    // orv::report::Error when the layout has no such object.
    template <class T>
    T* FindObjectAs(const QString& AName) const
    {
        T* obj = dynamic_cast<T*>(FindObject(AName));
        if (!obj)
            throwBrokenLayout(
                QStringLiteral("no %1 named \"%2\"").arg(T::staticClassInfo().name(), AName));
        return obj;
    }
    // Adds a data page named "Data" at the front when there is none; dialog objects
    // move onto it.
    void CheckDataPage();

    // ------------------------------------------------ owned parts
    orv::report::StringList* Errors() const { return m_errors.get(); }
    TfrxVariables* Variables() const { return m_variables.get(); }
    TfrxReportDataSets* DataSets() const { return m_dataSets.get(); }
    TfrxReportDataSets* EnabledDataSets() const { return m_enabledDataSets.get(); }
    TfrxStyles* Styles() const { return m_styles.get(); }
    orv::report::StringList* DrillState() const { return m_drillState.get(); }
    // "Date", "Time", "Page", "Page#", "TotalPages", "TotalPages#", "Line", "Line#", "CopyName#".
    const QStringList& SystemVariables() const { return m_systemVariables; }
    TfrxCustomEngine* Engine() const { return m_engine.get(); }
    TfrxCustomPreviewPages* PreviewPages() const { return m_previewPages.get(); }
    // The engine and prepared pages are made by the engine's code, which links them.
    void SetEngine(std::unique_ptr<TfrxCustomEngine> engine, std::unique_ptr<TfrxCustomPreviewPages> pages);

    // ------------------------------------------------ state
    TfrxXMLSerializer* XMLSerializer() const { return m_xmlSerializer; }
    void SetXMLSerializer(TfrxXMLSerializer* s) { m_xmlSerializer = s; }
    TfrxCustomPreview* Preview() const { return m_preview; }
    // Links a preview control (which gets the report and its pages) or unlinks it.
    void SetPreview(TfrxCustomPreview* Value);
    bool Reloading = false;
    bool Modified = false;
    // Set, it stops a preparation at the engine's next check and a running script.
    bool Terminated() const { return m_terminated; }
    void SetTerminated(bool Value);
    QString CurObject;
    QString FileName;
    // The preview window while one is open.
    TfrxPreviewWindow* PreviewForm = nullptr;

    // ------------------------------------------------ datasets
    TfrxDataSet* GetDataset(const QString& Alias) const;
    QString GetAlias(TfrxDataSet* DataSet) const;
    // Splits alias."field"; nullptr and an empty field when the name is not one.
    void GetDatasetAndField(const QString& ComplexName, TfrxDataSet*& Dataset, QString& Field) const;
    void GetDataSetList(orv::report::StringList& List, bool OnlyDB = false) const;
    void GetActiveDataSetList(orv::report::StringList& List) const;

    // ------------------------------------------------ load and save
    void Clear() override;
    // Writes the report as a template document.
    void SaveToStream(QIODevice& Stream, bool SaveChildren = true, bool SaveDefaultValues = false,
                      bool Streaming = false) override;
    // Reads a template; errors are collected and shown by the silent mode.
    void LoadFromStream(QIODevice& Stream) override;
    // Whether the file existed; a missing file raises only with ExceptionIfNotFound.
    bool LoadFromFile(const QString& AFileName, bool ExceptionIfNotFound = false);
    void SaveToFile(const QString& AFileName);
    // "Datasets", "Variables" and "Style", and a design position when there is one.
    void DefineProperties(orv::report::Filer& filer) override;

    // No designer exists in this program.
    void DesignReport(bool Modal = true, bool MDIChild = false) {}
    bool DesignPreviewPage() { return false; }
    QString GetApplicationFolder() const;
    QString GetDescription() const override;

    // The errors message: "clErrors", a line break and the error lines, reported by the
    // silent mode.
    void ShowErrors();

    // ------------------------------------------------ preparation and output
    // Copies the layout as template text, lets the engine fill the prepared pages and
    // reads the layout back; false (and the errors message) when any error line arose.
    bool PrepareReport(bool ClearLastReport = true);
    // Prepares and shows the pages in the preview.
    void ShowReport(bool ClearLastReport = true);
    void ShowPreparedReport();
    // The prepared pages on a printer, through the print dialog.
    bool Print();
    // The prepared pages through an export filter.
    bool Export(TfrxCustomExportFilter* Filter);
    virtual void InternalOnProgressStart(TfrxProgressType ProgressType);
    virtual void InternalOnProgress(TfrxProgressType ProgressType, int Progress);
    virtual void InternalOnProgressStop(TfrxProgressType ProgressType);
    void SetProgressMessage(const QString& Value, bool IsHint = false);

    // ------------------------------------------------ script and expressions
    script::TfsScript* Script() const { return m_script.get(); }
    TfrxExpressionCache* ExpressionCache() const { return m_expressionCache.get(); }
    // Gives the script the layout's objects, the report's names and functions, and
    // compiles ScriptText; false (and the "Script error" line) when it does not compile.
    bool PrepareScript();
    // The value of an expression evaluated for AScript (the report's script when nullptr);
    // a failure adds its line to Errors and raises orv::report::Error. A call made by a
    // script (FromScript) raises without adding the line.
    orv::report::Value Calc(const QString& Expr, script::TfsScript* AScript = nullptr, bool FromScript = false);
    // Declares a function for every script and expression of the report; calls run
    // OnUserFunction.
    void AddFunction(const QString& FuncName, const QString& Category = QString(),
                     const QString& Description = QString());
    bool CaseSensitiveExpressions() const;
    void SetCaseSensitiveExpressions(bool Value);
    // Makes the report a child of the template file: its objects that the template also
    // names are dropped (imDelete) or renamed (imRename); imDefault asks through the
    // inheritance-error prompt. False when the report already is that template or the
    // prompt was cancelled.
    bool InheritFromTemplate(const QString& templName, TfrxInheriteMode InheriteMode = imDefault);
    // The copy of the parent template, nullptr without one.
    TfrxReport* ParentReportObject() const { return m_parentReportObject.get(); }
    // A name as a data field, system variable, program value, report, global or script
    // variable; false when it is none of them.
    bool LookupValue(const QString& Name, orv::report::Value& Value);
    // The script's "Value" (the last value a memo computed) and "Self" (the view printing).
    const orv::report::Value& LocalValue() const;
    void SetLocalValue(const orv::report::Value& Value);
    TfrxView* SelfValue() const;
    void SetSelfValue(TfrxView* Value);
    // The program event, then the object's script event of that kind.
    void DoBeforePrint(TfrxReportComponent* Obj);
    void DoAfterPrint(TfrxReportComponent* Obj);
    // Runs the named script procedure with the object when the engine runs (or always).
    void DoNotifyEvent(orv::platform::rtti::Object* Obj, const QString& EventName, bool RunAlways = false);
    // Runs the named script procedure with the parameters, which it may change.
    void DoParamEvent(const QString& EventName, QVariantList& Params, bool RunAlways = false);
    void DoPreviewClick(TfrxView* View, int Button, int Shift, bool& Modified, bool DBClick);
    // The engine's settings file: IniFile, or "OrvantaReport.config" in the user's
    // configuration folder.
    std::unique_ptr<orv::platform::IniFile> GetIniFile() const;
    // Makes the printer named in PrintOptions the current one, when the system has it.
    void SelectPrinter();

    // Program events.
    std::function<void(TfrxReport* Sender)> OnBeginDoc, OnEndDoc, OnAfterScriptCompile, OnPreview,
        OnPrintReport, OnAfterPrintReport;
    std::function<void(TfrxReportComponent* Sender)> OnBeforePrint, OnAfterPrint;
    std::function<void(const QString& VarName, QVariant& Value)> OnGetValue;
    std::function<void(TfrxReport* Sender, const QString& VarName, QVariant& Value)> OnNewGetValue;
    std::function<void(TfrxView* Sender, int Button, int Shift, bool& Modified)> OnClickObject, OnDblClickObject;
    std::function<void(TfrxReport* Sender, TfrxProgressType ProgressType, int Progress)> OnProgressStart, OnProgress,
        OnProgressStop;
    std::function<void(TfrxReportPage* Page, int CopyNo)> OnPrintPage;
    std::function<void(TfrxPage* Page)> OnManualBuild;
    std::function<void(TfrxView* Sender)> OnMouseOverObject;
    std::function<void(orv::platform::rtti::Object* Sender)> OnClosePreview;
    std::function<QVariant(const QString& MethodName, QVariantList& Params)> OnUserFunction;
    // Loads a parent template into the report instead of reading the file.
    std::function<void(TfrxReport* Report, const QString& TemplateName)> OnLoadTemplate;

    TfrxReport* asReport() override { return this; }

protected:
    void Notification(orv::platform::Component* AComponent, orv::platform::Operation op) override;

private:
    [[noreturn]] static void throwBrokenLayout(const QString& what);
    void rebuildSystemVariables();
    QString m_parentReport;
    TfrxDataSetLink m_dataSet{this};
    bool m_dotMatrixReport = false;
    std::unique_ptr<TfrxEngineOptions> m_engineOptions;
    QString m_iniFile;
    bool m_oldStyleProgress = true;
    std::unique_ptr<TfrxPreviewOptions> m_previewOptions;
    std::unique_ptr<TfrxPrintOptions> m_printOptions;
    std::unique_ptr<TfrxReportOptions> m_reportOptions;
    QString m_scriptLanguage;
    std::unique_ptr<orv::report::StringList> m_scriptText;
    bool m_showProgress = true, m_storeInDFM = true;
    QString m_onRunDialogs, m_onStartReport, m_onStopReport, m_onReportPrint;
    std::unique_ptr<orv::report::StringList> m_errors;
    std::unique_ptr<TfrxVariables> m_variables;
    std::unique_ptr<TfrxReportDataSets> m_dataSets, m_enabledDataSets;
    std::unique_ptr<TfrxStyles> m_styles;
    std::unique_ptr<orv::report::StringList> m_drillState;
    QStringList m_systemVariables;
    std::unique_ptr<TfrxCustomEngine> m_engine;
    std::unique_ptr<TfrxCustomPreviewPages> m_previewPages;
    TfrxXMLSerializer* m_xmlSerializer = nullptr;
    TfrxCustomPreview* m_preview = nullptr;
    bool m_terminated = false;
    script::TfsCustomVariable* m_localValueItem = nullptr;
    script::TfsCustomVariable* m_selfValueItem = nullptr;
    std::unique_ptr<TfrxProgressWindow> m_progress;
    std::unique_ptr<QTimer> m_timer;
    std::unique_ptr<script::TfsScript> m_script;
    std::unique_ptr<TfrxExpressionCache> m_expressionCache;
    std::unique_ptr<TfrxReport> m_parentReportObject;
    // The report's script functions: Get, Set and the aggregates.
    orv::report::Value scriptGet(const QString& Name);
    orv::report::Value aggregate(const QString& Function, script::TfsMethodHelper* Caller);
    void loadParentTemplate(const QString& Name);
    bool progressWindowWanted(TfrxProgressType ProgressType) const;
    void processMessages();
    int m_designLeft = 0, m_designTop = 0;
};

} // namespace orv::report
