#pragma once
// The contracts through which the report talks to its engine, its prepared pages and
// their outline, a preview control, a template compressor or crypter, and export
// filters. Operations that a base class declares without a body raise AbstractError
// when a derived class does not implement them.
#include "platform/core/formats.h"
#include "report/base/errors.h"
#include "report/base/stringlist.h"
#include "report/base/types.h"

#include <QIODevice>
#include <QList>
#include <QPoint>
#include <QRectF>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

namespace orv::report {

class TfrxReport;
class TfrxBand;
class TfrxComponent;
class TfrxReportPage;
class TfrxPictureView;
class TfrxDialogPage;
class TfrxCustomPreviewPages;
class TfrxXMLItem;

} // namespace orv::report
namespace orv::platform {
class Canvas;
}

namespace orv::report {

class TfrxCustomEngine : public orv::platform::Persistent {
    ORV_RTTI_CLASS(TfrxCustomEngine)
public:
    explicit TfrxCustomEngine(TfrxReport* AReport) : m_report(AReport) {}

    TfrxReport* Report() const { return m_report; }
    TfrxCustomPreviewPages* PreviewPages = nullptr;
    // Objects to notify during a run; emptied by each script preparation.
    QList<orv::platform::rtti::Object*> NotifyList;
    bool Running = false;
    int CurColumn = 0, CurVColumn = 0;
    double CurX = 0, CurY = 0;
    int CurLine = 0, CurLineThrough = 0;
    bool FinalPass = false;
    double PageWidth = 0;
    orv::platform::TDateTime StartDate = 0, StartTime = 0;
    int TotalPages = 0;
    bool SecondScriptCall = false;
    std::function<void(TfrxDialogPage* Page)> OnRunDialog;
    // The report's EngineOptions.DoublePass.
    bool DoublePass() const;

    virtual double PageHeight() const { return m_pageHeight; }
    void SetPageHeight(double v) { m_pageHeight = v; }
    virtual void EndPage() { throw orv::report::AbstractError(); }
    virtual void BreakAllKeep() {}
    virtual void NewColumn() { throw orv::report::AbstractError(); }
    virtual void NewPage() { throw orv::report::AbstractError(); }
    virtual void ShowBand(TfrxBand* Band) { throw orv::report::AbstractError(); }
    virtual void ShowBand(const orv::platform::rtti::ClassInfo& Band) { throw orv::report::AbstractError(); }
    virtual double HeaderHeight() { throw orv::report::AbstractError(); }
    virtual double FooterHeight() { throw orv::report::AbstractError(); }
    virtual double FreeSpace() { throw orv::report::AbstractError(); }
    virtual QVariant GetAggregateValue(const QString& Name, const QString& Expression, TfrxBand* Band, int Flags)
    {
        throw orv::report::AbstractError();
    }
    virtual bool Run() { throw orv::report::AbstractError(); }

    // ShowBand of the report's object of that name (nullptr when none bears it).
    void ShowBandByName(const QString& BandName);
    // Sets the report's Terminated.
    void StopReport();

private:
    TfrxReport* m_report;
    double m_pageHeight = 0;
};

class TfrxCustomOutline : public orv::platform::Persistent {
    ORV_RTTI_CLASS(TfrxCustomOutline)
public:
    explicit TfrxCustomOutline(TfrxCustomPreviewPages* APreviewPages) : m_previewPages(APreviewPages) {}
    TfrxCustomPreviewPages* PreviewPages() const { return m_previewPages; }
    TfrxXMLItem* CurItem = nullptr;
    TfrxCustomEngine* Engine() const;

    virtual int Count() const { throw orv::report::AbstractError(); }
    virtual void AddItem(const QString& Text, int Top) { throw orv::report::AbstractError(); }
    virtual void LevelDown(int Index) { throw orv::report::AbstractError(); }
    virtual void LevelRoot() { throw orv::report::AbstractError(); }
    virtual void LevelUp() { throw orv::report::AbstractError(); }
    virtual void GetItem(int Index, QString& Text, int& Page, int& Top) { throw orv::report::AbstractError(); }
    virtual void ShiftItems(TfrxXMLItem* From, int NewTop) { throw orv::report::AbstractError(); }
    virtual TfrxXMLItem* GetCurPosition() { throw orv::report::AbstractError(); }

private:
    TfrxCustomPreviewPages* m_previewPages;
};

enum TfrxAddPageAction : int { apWriteOver, apAdd };
ORV_RTTI_ENUM(TfrxAddPageAction, "apWriteOver, apAdd")

class TfrxCustomExportFilter;

// Prepared pages. The concrete class creates its outline and hands it over with
// SetOutline; the pages own it.
class TfrxCustomPreviewPages {
public:
    explicit TfrxCustomPreviewPages(TfrxReport* AReport) : m_report(AReport) {}
    virtual ~TfrxCustomPreviewPages();

    TfrxReport* Report() const { return m_report; }
    TfrxCustomEngine* Engine = nullptr;
    TfrxCustomOutline* Outline() const { return m_outline.get(); }
    void SetOutline(std::unique_ptr<TfrxCustomOutline> outline);
    int CurPage = 0;        // the page being filled, from 0
    int CurPreviewPage = 0; // the page the preview shows, from 1
    int FirstPage = 0;
    TfrxAddPageAction AddPageAction = apWriteOver;

    virtual int Count() const { throw orv::report::AbstractError(); }
    virtual TfrxReportPage* GetPage(int Index) { throw orv::report::AbstractError(); }
    virtual QPoint GetPageSize(int Index) { throw orv::report::AbstractError(); }
    virtual void Clear() { throw orv::report::AbstractError(); }
    virtual void Initialize() { throw orv::report::AbstractError(); }
    virtual void AddObject(TfrxComponent* Obj) { throw orv::report::AbstractError(); }
    virtual void AddPage(TfrxReportPage* Page) { throw orv::report::AbstractError(); }
    virtual void AddSourcePage(TfrxReportPage* Page) { throw orv::report::AbstractError(); }
    virtual void AddToSourcePage(TfrxComponent* Obj) { throw orv::report::AbstractError(); }
    virtual void BeginPass() { throw orv::report::AbstractError(); }
    virtual void ClearFirstPassPages() { throw orv::report::AbstractError(); }
    virtual void CutObjects(int APosition) { throw orv::report::AbstractError(); }
    virtual void Finish() { throw orv::report::AbstractError(); }
    virtual void IncLogicalPageNumber() { throw orv::report::AbstractError(); }
    virtual void ResetLogicalPageNumber() { throw orv::report::AbstractError(); }
    virtual void PasteObjects(long double X, long double Y) { throw orv::report::AbstractError(); }
    virtual void ShiftAnchors(int From, int NewTop) { throw orv::report::AbstractError(); }
    virtual void AddPicture(TfrxPictureView* Picture) { throw orv::report::AbstractError(); }
    virtual bool BandExists(TfrxBand* Band) { throw orv::report::AbstractError(); }
    virtual int GetCurPosition() { throw orv::report::AbstractError(); }
    virtual int GetAnchorCurPosition() { throw orv::report::AbstractError(); }
    virtual long double GetLastY(long double ColumnPosition) { throw orv::report::AbstractError(); }
    virtual int GetLogicalPageNo() { throw orv::report::AbstractError(); }
    virtual int GetLogicalTotalPages() { throw orv::report::AbstractError(); }
    virtual void AddEmptyPage(int Index) { throw orv::report::AbstractError(); }
    virtual void DeletePage(int Index) { throw orv::report::AbstractError(); }
    virtual void ModifyPage(int Index, TfrxReportPage* Page) { throw orv::report::AbstractError(); }
    virtual void DrawPage(int Index, orv::platform::Canvas* Canvas, long double ScaleX, long double ScaleY,
                          long double OffsetX, long double OffsetY)
    {
        throw orv::report::AbstractError();
    }
    virtual void ObjectOver(int Index, int X, int Y, int Button, int Shift, long double Scale, long double OffsetX,
                            long double OffsetY, bool Click, int& Cursor, bool DBClick = false)
    {
        throw orv::report::AbstractError();
    }
    virtual void AddFrom(TfrxReport* Report) { throw orv::report::AbstractError(); }
    virtual void LoadFromStream(QIODevice& Stream, bool AllowPartialLoading = false)
    {
        throw orv::report::AbstractError();
    }
    virtual void SaveToStream(QIODevice& Stream) { throw orv::report::AbstractError(); }
    virtual bool LoadFromFile(const QString& FileName, bool ExceptionIfNotFound = false)
    {
        throw orv::report::AbstractError();
    }
    virtual void SaveToFile(const QString& FileName) { throw orv::report::AbstractError(); }
    virtual bool Print() { throw orv::report::AbstractError(); }
    virtual bool Export(TfrxCustomExportFilter* Filter) { throw orv::report::AbstractError(); }

private:
    TfrxReport* m_report;
    std::unique_ptr<TfrxCustomOutline> m_outline;
};

// The preview control: the user interface implements it with a widget.
class TfrxCustomPreview {
public:
    virtual ~TfrxCustomPreview() = default;
    TfrxReport* Report = nullptr;
    TfrxCustomPreviewPages* PreviewPages = nullptr;
    bool UseReportHints = false;
    virtual bool IsDesigning() const { return false; }

    virtual void Init() = 0;
    virtual void ShowHint(const QRectF& aRect, const QString& Text) = 0;
    virtual void HideHint() = 0;
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
    virtual void RefreshReport() = 0;
    virtual void InternalOnProgressStart(TfrxReport* Sender, TfrxProgressType ProgressType, int Progress) = 0;
    virtual void InternalOnProgress(TfrxReport* Sender, TfrxProgressType ProgressType, int Progress) = 0;
    virtual void InternalOnProgressStop(TfrxReport* Sender, TfrxProgressType ProgressType, int Progress) = 0;
    // Navigation and repainting asked for by clicks on the pages: a page (from 1), a
    // place on a page (page from 1, top in pixels), the current page drawn again.
    virtual void SetPageNo(int PageNo) {}
    virtual void SetPosition(int PageNo, int Top) {}
    virtual void Repaint() {}
};

// Template compression: a registered compressor class turns templates into its own
// format and back. None is registered in this program.
class TfrxCustomCompressor : public orv::platform::Component {
    ORV_RTTI_CLASS(TfrxCustomCompressor)
public:
    explicit TfrxCustomCompressor(orv::platform::Component* AOwner = nullptr) : orv::platform::Component(AOwner) {}
    bool IsFR3File = false;
    TfrxReport* Report = nullptr;
    std::unique_ptr<QIODevice> Stream;
    virtual bool Decompress(QIODevice& Source) { throw orv::report::AbstractError(); }
    virtual void Compress(QIODevice& Dest) { throw orv::report::AbstractError(); }
    // A memory stream.
    void CreateStream();
};

class TfrxCustomCrypter : public orv::platform::Component {
    ORV_RTTI_CLASS(TfrxCustomCrypter)
public:
    explicit TfrxCustomCrypter(orv::platform::Component* AOwner = nullptr) : orv::platform::Component(AOwner) {}
    std::unique_ptr<QIODevice> Stream;
    virtual bool Decrypt(QIODevice& Source, const QByteArray& Key) { throw orv::report::AbstractError(); }
    virtual void Crypt(QIODevice& Dest, const QByteArray& Key) { throw orv::report::AbstractError(); }
    void CreateStream();
};

// The classes the report creates its compressor and crypter from; none by default.
const orv::platform::rtti::ClassInfo*& frxCompressorClass();
const orv::platform::rtti::ClassInfo*& frxCrypterClass();
// The designer class; none in this program, so the designer operations do nothing.
const orv::platform::rtti::ClassInfo*& frxDesignerClass();

class TfrxCustomExportFilter : public orv::platform::Component {
    ORV_RTTI_CLASS(TfrxCustomExportFilter)
public:
    // Registers the filter in the export-filter registry.
    explicit TfrxCustomExportFilter(orv::platform::Component* AOwner);
    struct NoRegister {};
    // A filter that never appears in the registry.
    explicit TfrxCustomExportFilter(NoRegister);
    ~TfrxCustomExportFilter() override;

    bool ShowDialog() const { return m_showDialog; }
    void SetShowDialog(bool v) { m_showDialog = v; }
    const QString& FileName() const { return m_fileName; }
    void SetFileName(const QString& v) { m_fileName = v; }
    bool ExportNotPrintable() const { return m_exportNotPrintable; }
    void SetExportNotPrintable(bool v) { m_exportNotPrintable = v; }
    bool UseFileCache() const { return m_useFileCache; }
    void SetUseFileCache(bool v) { m_useFileCache = v; }
    const QString& DefaultPath() const { return m_defaultPath; }
    void SetDefaultPath(const QString& v) { m_defaultPath = v; }
    bool ShowProgress() const { return m_showProgress; }
    void SetShowProgress(bool v) { m_showProgress = v; }
    bool OverwritePrompt() const { return m_overwritePrompt; }
    void SetOverwritePrompt(bool v) { m_overwritePrompt = v; }
    orv::platform::TDateTime CreationTime() const { return m_creationTime; }
    void SetCreationTime(orv::platform::TDateTime v) { m_creationTime = v; }
    bool DataOnly() const { return m_dataOnly; }
    void SetDataOnly(bool v) { m_dataOnly = v; }
    std::function<void(TfrxCustomExportFilter* Sender)> OnBeginExport;

    bool CurPage = false;
    QString PageNumbers;
    TfrxReport* Report = nullptr;
    QIODevice* Stream = nullptr;
    bool SlaveExport = false;
    QString DefaultExt, FilterDesc, ExportTitle;
    bool SuppressPageHeadersFooters = false;
    std::unique_ptr<orv::report::StringList> Files;

    // The text the preview shows for the filter in its export menus.
    virtual QString GetDescription() const { return QString(); }
    // 1 (OK) without showing anything.
    virtual int ShowModal() { return 1; }
    virtual bool Start() { return true; }
    virtual void ExportObject(TfrxComponent* Obj) { throw orv::report::AbstractError(); }
    virtual void Finish() {}
    virtual void FinishPage(TfrxReportPage* Page, int Index) {}
    virtual void StartPage(TfrxReportPage* Page, int Index) {}
    // True when ExportObject leaves every object as it found it (what it changes for a
    // while it puts back): then the prepared pages may hand it one page object turned
    // into the next rather than a new one for every page.
    virtual bool LeavesObjectsAlone() const { return false; }

private:
    bool m_registered;
    bool m_showDialog = true;
    QString m_fileName;
    bool m_exportNotPrintable = false, m_useFileCache = true;
    QString m_defaultPath;
    bool m_showProgress = true, m_overwritePrompt = false;
    orv::platform::TDateTime m_creationTime = 0;
    bool m_dataOnly = false;
};

} // namespace orv::report
