#pragma once
// The prepared report: the pages the engine has laid out, held in one XML document. Each
// template page used is copied once as a source page; an object on a prepared page is
// stored as its alias and the difference between itself and its copy on the source page.
// Pages come back as live objects (through a cache of the most recently used ones),
// are drawn on a canvas, saved and read as a document of their own.
#include "report/base/xml.h"
#include "report/model/engine.h"
#include "report/pages/picturecache.h"

#include <QHash>
#include <QImage>
#include <QString>

#include <map>
#include <memory>
#include <vector>

namespace orv::report {

class TfrxObjectDescription;

class TfrxReportPage;
class TfrxPreviewPages;
class TfrxXMLSerializer;

// The aliases of source objects: "m12" stands for the object "Page0.Memo5" of the first
// source page.
class TfrxDictionary {
public:
    void Add(const QString& Name, const QString& SourceName, TfrxComponent* Obj);
    // Adds under a new alias made of Base and a number, which it returns.
    QString AddUnique(const QString& Base, const QString& SourceName, TfrxComponent* Obj);
    // The first free Base + n, found by halving down from 10000 and counting up.
    QString CreateUniqueName(const QString& Base) const;
    // nullptr and an empty text for an unknown alias.
    TfrxComponent* GetObject(const QString& Name) const;
    QString GetSourceName(const QString& Name) const;
    void Clear();
    // Every alias, sorted ignoring case.
    QStringList SortedNames() const;
    int Count() const { return int(m_sources.size()); }

private:
    struct Source {
        QString alias, name;
        TfrxComponent* object;
    };
    std::vector<Source> m_sources;
    QHash<QString, int> m_index; // upper-cased alias -> position in m_sources
};

// The report outline: a tree of "item" elements (text, page, top) in the document's
// "outline" section.
class TfrxOutline : public TfrxCustomOutline {
    ORV_RTTI_CLASS(TfrxOutline)
public:
    explicit TfrxOutline(TfrxPreviewPages* APreviewPages);
    TfrxXMLItem* Root() const;
    int Count() const override;
    void AddItem(const QString& Text, int Top) override;
    void LevelDown(int Index) override;
    void LevelRoot() override;
    void LevelUp() override;
    void GetItem(int Index, QString& Text, int& Page, int& Top) override;
    void ShiftItems(TfrxXMLItem* From, int NewTop) override;
    TfrxXMLItem* GetCurPosition() override;

private:
    TfrxPreviewPages* m_pages;
};

// What prints prepared pages: the print dialog and the printer layer install it.
using TfrxPrintDriver = std::function<bool(TfrxPreviewPages* Pages)>;
void frxSetPrintDriver(TfrxPrintDriver Driver);

class TfrxPreviewPages : public TfrxCustomPreviewPages {
public:
    explicit TfrxPreviewPages(TfrxReport* AReport);
    ~TfrxPreviewPages() override;

    // ------------------------------------------------ building
    int Count() const override;
    void Clear() override;
    void Initialize() override;
    void BeginPass() override;
    void ClearFirstPassPages() override;
    void AddSourcePage(TfrxReportPage* Page) override;
    void AddToSourcePage(TfrxComponent* Obj) override;
    void AddPage(TfrxReportPage* Page) override;
    void AddObject(TfrxComponent* Obj) override;
    void AddPicture(TfrxPictureView* Picture) override;
    void IncLogicalPageNumber() override;
    void ResetLogicalPageNumber() override;
    int GetLogicalPageNo() override;
    int GetLogicalTotalPages() override;
    void CutObjects(int APosition) override;
    void PasteObjects(long double X, long double Y) override;
    int GetCurPosition() override;
    bool BandExists(TfrxBand* Band) override;
    long double GetLastY(long double ColumnPosition) override;
    int GetAnchorCurPosition() override;
    void ShiftAnchors(int From, int NewTop) override;
    void Finish() override;
    // The source page of Page becomes a custom paper of that size in pixels.
    void UpdatePageDimensions(TfrxReportPage* Page, double Width, double Height);

    // Anchors: targets of links inside the report.
    void AddAnchor(const QString& Text);
    // Searched from the last backwards, ignoring case; nullptr when none.
    TfrxXMLItem* FindAnchor(const QString& Text);
    // The anchor's page counted from 1; 1 when there is no such anchor.
    int GetAnchorPage(const QString& Text);

    // ------------------------------------------------ reading back, drawing, editing
    // The live page (owned by the page cache), nullptr when there are no pages.
    TfrxReportPage* GetPage(int Index) override;
    QPoint GetPageSize(int Index) override;
    void DrawPage(int Index, orv::platform::Canvas* Canvas, long double ScaleX, long double ScaleY, long double OffsetX,
                  long double OffsetY) override;
    // The preview's mouse over or on a page; Cursor becomes the cursor to show.
    void ObjectOver(int Index, int X, int Y, int Button, int Shift, long double Scale, long double OffsetX,
                    long double OffsetY, bool Click, int& Cursor, bool DBClick = false) override;
    void AddEmptyPage(int Index) override;
    void DeletePage(int Index) override;
    void ModifyPage(int Index, TfrxReportPage* Page) override;
    void AddFrom(TfrxReport* Report) override;

    // ------------------------------------------------ storage
    void SaveToStream(QIODevice& Stream) override;
    void LoadFromStream(QIODevice& Stream, bool AllowPartialLoading = false) override;
    // Takes the stream over, so that partial loading can read pages from it later.
    void LoadFromStream(std::unique_ptr<QIODevice> Stream, bool AllowPartialLoading);
    bool LoadFromFile(const QString& FileName, bool ExceptionIfNotFound = false) override;
    void SaveToFile(const QString& FileName) override;

    // ------------------------------------------------ output
    bool Print() override;
    bool Export(TfrxCustomExportFilter* Filter) override;
    // One page through a filter that has started, as Export sends it, with the copy
    // number being printed; false when there is no such page.
    bool ExportPage(TfrxCustomExportFilter* Filter, int Index);

    // An object read back, with the element it was read from (its name, its text and the
    // count of its child elements) and its source object, if any.
    struct ReadObject {
        QString name, text;
        int children;
        TfrxComponent* object;
        const TfrxComponent* source;
    };

    TfrxXMLDocument* XMLDoc() const { return m_xmlDoc.get(); }
    TfrxPictureCache* PictureCache() const { return m_pictureCache.get(); }
    TfrxDictionary& Dictionary() { return m_dictionary; }
    const std::vector<std::unique_ptr<TfrxReportPage>>& SourcePages() const { return m_sourcePages; }
    // The copy being printed (0 otherwise) and the print scale, handed to memos.
    int CopyNo = 0;
    long double PrintScale = 1;
    // Empties the cache of rebuilt pages (the page images stay).
    void ClearPageCache();

private:
    friend class TfrxOutline;
    TfrxXMLItem* section(const QString& Name);
    TfrxXMLItem* pagesItem();
    TfrxXMLItem* currentPageItem();
    void addObject(TfrxXMLItem* Parent, TfrxComponent* Obj, bool WholePage);
    void copySourceTree(TfrxComponent* Template, TfrxComponent* Copy, int SourceIndex);
    void describe(TfrxComponent* Copy);
    int sourceIndexOf(const TfrxReportPage* TemplatePage) const;
    // Strict: a number or other attribute of the page that cannot be read (or a position
    // or size that is not a finite number) refuses the page instead of being skipped.
    TfrxReportPage* buildPage(TfrxXMLItem* Element, bool Strict = false);
    TfrxReportPage* readPage(TfrxXMLItem* Element, bool Strict, std::vector<ReadObject>* Read = nullptr);
    // Throws "Invalid file format" unless every alias, page and place of the loaded
    // document can be read.
    void checkWhole();
    // Read, when given, gets every object in the order of the elements.
    void readObjects(TfrxXMLItem* Element, TfrxComponent* Parent, TfrxXMLSerializer& Serializer,
                     std::vector<ReadObject>* Read = nullptr);
    // A page read back for the export, the page that was last exported from the same
    // source page turned into it where only positions and memo texts differ. Objects
    // that the export does not change are the only ones kept.
    struct KeptPage {
        std::unique_ptr<TfrxReportPage> page;
        std::vector<ReadObject> objects;
        double left = 0, top = 0; // of the page as read, before the export places it
    };
    struct KeptPages {
        std::map<QString, KeptPage> pages; // by the name of the page elements
        // An object as its source object's description alone makes it, read once.
        std::map<const TfrxComponent*, std::unique_ptr<TfrxComponent>> bases;
        TfrxComponent* baseOf(TfrxPreviewPages& Pages, const TfrxComponent* Source);
        std::unique_ptr<TfrxReportPage> single; // a page not kept
    };
    // Without Keep, GetPage; otherwise a kept page or, when it cannot be kept, a single one.
    TfrxReportPage* pageForExport(int Index, bool Keep, KeptPages& Kept);
    bool turnKeptPage(TfrxXMLItem* Element, KeptPage& Kept, KeptPages& All);
    void clearCaches();
    // One prepared page through the filter: its background, bands and their objects.
    void exportPage(TfrxCustomExportFilter* Filter, TfrxReportPage* Page, int Index, int Total);
    void exportPageObjects(TfrxCustomExportFilter* Filter, TfrxReportPage* Page, int Index, int Total);
    void drawDirect(int Index, orv::platform::Canvas* Canvas, long double ScaleX, long double ScaleY, long double OffsetX,
                    long double OffsetY);
    bool engineRunning() const;
    int pagesInCache() const;

    std::unique_ptr<TfrxXMLDocument> m_xmlDoc;
    std::unique_ptr<TfrxPictureCache> m_pictureCache;
    TfrxDictionary m_dictionary;
    std::vector<std::unique_ptr<TfrxReportPage>> m_sourcePages;
    bool m_allowPartialLoading = false;
    int m_firstObjectIndex = 0;
    int m_firstPageIndex = 0;
    int m_firstOutlineIndex = 0;
    int m_logicalPageN = 0;
    qint64 m_xmlSize = 0;
    long double m_lastY = 0;
    long double m_lastScale = 0;
    struct CachedPage {
        int index;
        std::unique_ptr<TfrxReportPage> page;
    };
    struct CachedImage {
        int index;
        QImage image;
    };
    std::vector<CachedPage> m_pageCache;   // most recently used first
    std::vector<CachedImage> m_imageCache; // most recently used first
    // The descriptions of the source objects, read once for every page read back.
    QHash<const TfrxComponent*, std::shared_ptr<TfrxObjectDescription>> m_descriptions;
    TfrxObjectDescription& descriptionOf(const TfrxComponent* Source);
    // What each page read back copies from its source page, saved and read once per
    // source page; emptied whenever a source page changes or goes.
    QHash<const TfrxReportPage*, std::shared_ptr<TfrxXMLDocument>> m_sourcePageTexts;
    TfrxXMLDocument& sourcePageText(TfrxReportPage* Source);
};

} // namespace orv::report
