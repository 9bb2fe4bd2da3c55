#include "report/pages/previewpages.h"

#include "platform/core/canvas.h"
#include "platform/core/formats.h"
#include "platform/core/services.h"
#include "platform/core/text.h"
#include "platform/ui/services.h"
#include "report/base/errors.h"
#include "report/base/resources.h"
#include "report/base/serializer.h"
#include "report/base/utils.h"

#include <cmath>
#include "report/model/bands.h"
#include "report/model/pages.h"
#include "report/model/report.h"
#include "report/model/views.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <utility>

namespace orv::report {

using namespace orv::report;

namespace {

const QString sPreviewPages = QStringLiteral("previewpages");
const QString sOutline = QStringLiteral("outline");
const QString sAnchors = QStringLiteral("anchors");
const QString sLogicalPageNumbers = QStringLiteral("logicalpagenumbers");
const QString sCutted = QStringLiteral("cutted");
const QString sReport = QStringLiteral("report");
const QString sSourcePages = QStringLiteral("sourcepages");
const QString sDictionary = QStringLiteral("dictionary");
const QString sPictureCache = QStringLiteral("picturecache");

// A whole number of a prepared-page attribute; anything else is a conversion error.
int toInt(const QString& s)
{
    int v = 0;
    if (!orv::platform::tryStrToInt(s, v))
        throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(s));
    return v;
}

int intProp(const TfrxXMLItem* item, const QString& name, int fallback = 0)
{
    const QString v = item->Prop(name);
    return v.isEmpty() ? fallback : toInt(v);
}

bool isWholePage(const TfrxXMLItem* item)
{
    return orv::platform::sameTextAZ(item->Name, QStringLiteral("TfrxReportPage")) ||
           orv::platform::sameTextAZ(item->Name, QStringLiteral("TfrxDMPPage"));
}

TfrxPrintDriver& printDriver()
{
    static TfrxPrintDriver driver;
    return driver;
}

} // namespace

void frxSetPrintDriver(TfrxPrintDriver Driver) { printDriver() = std::move(Driver); }

// ---------------------------------------------------------------- dictionary

void TfrxDictionary::Add(const QString& Name, const QString& SourceName, TfrxComponent* Obj)
{
    m_index.insert(orv::platform::upperAZ(Name), int(m_sources.size()));
    m_sources.push_back({Name, SourceName, Obj});
}

QString TfrxDictionary::CreateUniqueName(const QString& Base) const
{
    auto used = [&](int n) { return m_index.contains(orv::platform::upperAZ(Base + QString::number(n))); };
    int n = 10000;
    while (n > 1 && !used(n))
        n /= 2;
    while (used(n))
        ++n;
    return Base + QString::number(n);
}

QString TfrxDictionary::AddUnique(const QString& Base, const QString& SourceName, TfrxComponent* Obj)
{
    const QString name = CreateUniqueName(Base);
    Add(name, SourceName, Obj);
    return name;
}

TfrxComponent* TfrxDictionary::GetObject(const QString& Name) const
{
    const auto it = m_index.constFind(orv::platform::upperAZ(Name));
    return it == m_index.constEnd() ? nullptr : m_sources[size_t(*it)].object;
}

QString TfrxDictionary::GetSourceName(const QString& Name) const
{
    const auto it = m_index.constFind(orv::platform::upperAZ(Name));
    return it == m_index.constEnd() ? QString() : m_sources[size_t(*it)].name;
}

void TfrxDictionary::Clear()
{
    m_sources.clear();
    m_index.clear();
}

QStringList TfrxDictionary::SortedNames() const
{
    QStringList names;
    for (const Source& s : m_sources)
        names << s.alias;
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) { return orv::platform::compareTextAZ(a, b) < 0; });
    return names;
}

// ---------------------------------------------------------------- outline

ORV_RTTI_DEFINE(TfrxOutline, TfrxCustomOutline) {}

TfrxOutline::TfrxOutline(TfrxPreviewPages* APreviewPages) : TfrxCustomOutline(APreviewPages), m_pages(APreviewPages) {}

TfrxXMLItem* TfrxOutline::Root() const { return m_pages->section(sOutline); }

int TfrxOutline::Count() const { return CurItem ? CurItem->Count() : 0; }

void TfrxOutline::AddItem(const QString& Text, int Top)
{
    if (!CurItem)
        LevelRoot();
    TfrxXMLItem* item = CurItem->Add(QStringLiteral("item"));
    item->SetProp(QStringLiteral("text"), Text);
    item->SetProp(QStringLiteral("page"), QString::number(m_pages->CurPage));
    item->SetProp(QStringLiteral("top"), QString::number(Top));
    CurItem = item;
}

void TfrxOutline::LevelDown(int Index)
{
    if (CurItem && Index >= 0 && Index < CurItem->Count())
        CurItem = CurItem->Items(Index);
}

void TfrxOutline::LevelRoot() { CurItem = Root(); }

void TfrxOutline::LevelUp()
{
    if (CurItem && CurItem != Root() && CurItem->Parent())
        CurItem = CurItem->Parent();
}

void TfrxOutline::GetItem(int Index, QString& Text, int& Page, int& Top)
{
    if (!CurItem || Index < 0 || Index >= CurItem->Count())
        return;
    const TfrxXMLItem* item = CurItem->Items(Index);
    Text = item->Prop(QStringLiteral("text"));
    Page = intProp(item, QStringLiteral("page"), Page);
    Top = intProp(item, QStringLiteral("top"), Top);
}

TfrxXMLItem* TfrxOutline::GetCurPosition()
{
    if (!CurItem || CurItem->Count() == 0)
        return nullptr;
    return CurItem->Items(CurItem->Count() - 1);
}

void TfrxOutline::ShiftItems(TfrxXMLItem* From, int NewTop)
{
    if (!From || !From->Parent())
        return;
    TfrxXMLItem* parent = From->Parent();
    const int at = parent->IndexOf(From);
    if (at < 0 || at + 1 >= parent->Count())
        return;
    const int delta = NewTop - intProp(parent->Items(at + 1), QStringLiteral("top"));
    std::function<void(TfrxXMLItem*)> shift = [&](TfrxXMLItem* item) {
        item->SetProp(QStringLiteral("page"), QString::number(intProp(item, QStringLiteral("page")) + 1));
        item->SetProp(QStringLiteral("top"), QString::number(intProp(item, QStringLiteral("top")) + delta));
        for (int i = 0; i < item->Count(); ++i)
            shift(item->Items(i));
    };
    for (int i = at + 1; i < parent->Count(); ++i)
        shift(parent->Items(i));
}

// ---------------------------------------------------------------- prepared pages

TfrxPreviewPages::TfrxPreviewPages(TfrxReport* AReport)
    : TfrxCustomPreviewPages(AReport), m_xmlDoc(std::make_unique<TfrxXMLDocument>()),
      m_pictureCache(std::make_unique<TfrxPictureCache>())
{
    m_xmlDoc->Root()->Name = QStringLiteral("preparedreport");
    SetOutline(std::make_unique<TfrxOutline>(this));
    CurPage = -1;
}

TfrxPreviewPages::~TfrxPreviewPages() = default;

TfrxXMLItem* TfrxPreviewPages::section(const QString& Name) { return m_xmlDoc->Root()->FindItem(Name); }

TfrxXMLItem* TfrxPreviewPages::pagesItem() { return section(sPreviewPages); }

int TfrxPreviewPages::Count() const
{
    const int at = m_xmlDoc->Root()->Find(sPreviewPages);
    return at < 0 ? 0 : m_xmlDoc->Root()->Items(at)->Count();
}

TfrxXMLItem* TfrxPreviewPages::currentPageItem()
{
    if (CurPage < 0 || CurPage >= Count())
        throw Error(QStringLiteral("The prepared report has no page %1").arg(CurPage + 1));
    TfrxXMLItem* item = pagesItem()->Items(CurPage);
    if (!item->Loaded)
        m_xmlDoc->LoadItem(item);
    return item;
}

bool TfrxPreviewPages::engineRunning() const { return Engine && Engine->Running; }

int TfrxPreviewPages::pagesInCache() const { return Report() ? Report()->PreviewOptions()->PagesInCache() : 50; }

void TfrxPreviewPages::clearCaches()
{
    m_pageCache.clear();
    m_imageCache.clear();
    m_sourcePageTexts.clear();
}

void TfrxPreviewPages::ClearPageCache() { m_pageCache.clear(); }

void TfrxPreviewPages::Clear()
{
    clearCaches();
    m_descriptions.clear();
    m_sourcePages.clear();
    m_xmlDoc->Clear();
    m_dictionary.Clear();
    m_pictureCache->Clear();
    Outline()->CurItem = nullptr;
    CurPage = -1;
    m_xmlSize = 0;
    m_lastY = 0;
    m_logicalPageN = 0;
}

void TfrxPreviewPages::Initialize()
{
    TfrxReport* r = Report();
    m_pictureCache->SetUseFileCache(r->PreviewOptions()->PictureCacheInFile());
    m_pictureCache->SetTempDir(r->EngineOptions()->TempDir());
    m_xmlDoc->TempDir = r->EngineOptions()->TempDir();
    pagesItem();
    section(sLogicalPageNumbers);
    r->InternalOnProgressStart(ptRunning);
}

// ---------------------------------------------------------------- source pages

int TfrxPreviewPages::sourceIndexOf(const TfrxReportPage* TemplatePage) const
{
    for (size_t i = 0; i < m_sourcePages.size(); ++i)
        if (m_sourcePages[i]->FOriginalComponent == TemplatePage)
            return int(i);
    return -1;
}

void TfrxPreviewPages::describe(TfrxComponent* Copy)
{
    if (Copy->frComponentStyle.contains(csDefaultDiff)) {
        Copy->SetBaseName(Copy->ClassName());
        return;
    }
    TfrxXMLSerializer serializer(nullptr);
    serializer.Owner = Copy->Page();
    // Every prepared memo carries its own text, so the description that each page read
    // starts from leaves the source's text out: a list memo holds every line of the
    // list, and reading it again for each page made a long list cost its square.
    auto* memo = dynamic_cast<TfrxCustomMemoView*>(Copy);
    if (!memo || memo->Memo()->Count() == 0) {
        Copy->SetBaseName(serializer.WriteComponentStr(Copy));
        return;
    }
    const QString text = memo->Text();
    memo->Memo()->Clear();
    Copy->SetBaseName(serializer.WriteComponentStr(Copy));
    memo->SetText(text);
}

void TfrxPreviewPages::copySourceTree(TfrxComponent* Template, TfrxComponent* Copy, int SourceIndex)
{
    const QList<TfrxComponent*> children = Template->Objects();
    for (TfrxComponent* t : children) {
        if (!t->frComponentStyle.contains(csPreviewVisible)) {
            t->AddSourceObjects();
            continue;
        }
        auto* c = dynamic_cast<TfrxComponent*>(t->classInfo().create(Copy));
        if (!c)
            continue;
        auto* picture = dynamic_cast<TfrxPictureView*>(t);
        const bool stored = picture && picture->IsPictureStored();
        if (picture)
            picture->SetPictureStored(false);
        // A memo's lines are copied as they are rather than written out and read back:
        // a list memo holds every line of the list.
        auto* memoTemplate = dynamic_cast<TfrxCustomMemoView*>(t);
        TfrxWideStrings lines;
        if (memoTemplate) {
            lines.Assign(memoTemplate->Memo());
            memoTemplate->Memo()->Clear();
        }
        try {
            c->Assign(t);
        } catch (...) {
            if (picture)
                picture->SetPictureStored(stored);
            if (memoTemplate)
                memoTemplate->Memo()->Assign(&lines);
            throw;
        }
        if (picture)
            picture->SetPictureStored(stored);
        if (memoTemplate) {
            memoTemplate->Memo()->Assign(&lines);
            dynamic_cast<TfrxCustomMemoView*>(c)->Memo()->Assign(&lines);
        }
        c->SetName(t->Name());
        c->FOriginalComponent = t;
        t->FOriginalComponent = c;
        if (auto* memo = dynamic_cast<TfrxCustomMemoView*>(c)) {
            memo->SetDataSet(nullptr);
            memo->SetDataField(QString());
        }
        const QString base = dynamic_cast<TfrxBand*>(c) ? QStringLiteral("b") : orv::platform::lowerAZ(c->BaseName().left(1));
        const QString alias = m_dictionary.AddUnique(
            base, QStringLiteral("Page") + QString::number(SourceIndex) + u'.' + c->Name(), c);
        c->FAliasName = alias;
        t->FAliasName = alias;
        copySourceTree(t, c, SourceIndex);
        describe(c);
    }
}

void TfrxPreviewPages::AddSourcePage(TfrxReportPage* Page)
{
    auto* copy = dynamic_cast<TfrxReportPage*>(Page->classInfo().create(nullptr));
    if (!copy)
        return;
    std::unique_ptr<TfrxReportPage> owned(copy);
    copy->Assign(Page);
    copy->SetName(Page->Name());
    copy->FOriginalComponent = Page;
    const int index = int(m_sourcePages.size());
    m_sourcePages.push_back(std::move(owned));
    copySourceTree(Page, copy, index);
}

void TfrxPreviewPages::AddToSourcePage(TfrxComponent* Obj)
{
    if (m_sourcePages.empty())
        return;
    TfrxReportPage* page = m_sourcePages.back().get();
    auto* c = dynamic_cast<TfrxComponent*>(Obj->classInfo().create(page));
    if (!c)
        return;
    c->Assign(Obj);
    c->CreateUniqueName();
    const int index = int(m_sourcePages.size()) - 1;
    const QString alias = m_dictionary.AddUnique(
        orv::platform::lowerAZ(c->BaseName().left(1)), QStringLiteral("Page") + QString::number(index) + u'.' + c->Name(), c);
    describe(c);
    Obj->FOriginalComponent = c;
    Obj->FAliasName = alias;
    c->FAliasName = alias;
}

void TfrxPreviewPages::UpdatePageDimensions(TfrxReportPage* Page, double Width, double Height)
{
    if (m_sourcePages.empty())
        return;
    const int at = sourceIndexOf(Page);
    TfrxReportPage* source = m_sourcePages[at >= 0 ? size_t(at) : m_sourcePages.size() - 1].get();
    m_sourcePageTexts.remove(source);
    source->SetPaperSize(256);
    source->SetPaperWidth(Width / fr01cm);
    source->SetPaperHeight(Height / fr01cm);
}

// ---------------------------------------------------------------- pages and objects

void TfrxPreviewPages::AddPage(TfrxReportPage* Page)
{
    TfrxReport* r = Report();
    if (r->EngineOptions()->UseFileCache() && m_xmlSize > qint64(r->EngineOptions()->MaxMemSize()) * 1048576) {
        TfrxXMLItem* pages = pagesItem();
        for (int i = pages->Count() - 2; i >= 0; --i) {
            TfrxXMLItem* item = pages->Items(i);
            if (!item->Loaded)
                break;
            if (item->Unloadable)
                m_xmlDoc->UnloadItem(item);
        }
        m_xmlSize = 0;
    }
    ++CurPage;
    if (CurPage < Count() && AddPageAction == apWriteOver)
        return;
    TfrxXMLItem* item = pagesItem()->Add(QStringLiteral("page") + QString::number(sourceIndexOf(Page)));
    item->Unloadable = Count() > 2;
    r->InternalOnProgress(ptRunning, CurPage + 1);
    AddPageAction = apWriteOver;
    CurPage = Count() - 1;
    IncLogicalPageNumber();
}

void TfrxPreviewPages::addObject(TfrxXMLItem* Parent, TfrxComponent* Obj, bool WholePage)
{
    if (!Obj->Visible() || !Obj->frComponentStyle.contains(csPreviewVisible))
        return;
    TfrxXMLItem* item = Parent->Add();
    TfrxComponent* source = Obj->FOriginalComponent;
    if (!source || WholePage) {
        item->Name = Obj->ClassName();
        item->Text = Obj->AllDiff(nullptr);
    } else {
        item->Name = Obj->FAliasName;
        if (Engine && Engine->DoublePass() && !Engine->FinalPass)
            item->Text = Obj->BaseDiff(source);
        else if (Obj->frComponentStyle.contains(csDefaultDiff))
            item->Text = Obj->AllDiff(source);
        else
            item->Text = Obj->Diff(source);
    }
    m_xmlSize += item->Name.size() + item->Text.size() + qint64(sizeof(TfrxXMLItem)) + 16;
    const QList<TfrxComponent*> children = Obj->Objects();
    for (TfrxComponent* c : children)
        addObject(item, c, WholePage);
}

void TfrxPreviewPages::AddObject(TfrxComponent* Obj)
{
    TfrxXMLItem* page = currentPageItem();
    addObject(page, Obj, isWholePage(page));
}

void TfrxPreviewPages::AddPicture(TfrxPictureView* Picture) { m_pictureCache->AddPicture(Picture); }

// ---------------------------------------------------------------- passes and page numbers

void TfrxPreviewPages::BeginPass()
{
    m_firstPageIndex = Count() - 1;
    if (m_firstPageIndex >= 0) {
        TfrxXMLItem* last = pagesItem()->Items(m_firstPageIndex);
        if (!last->Loaded)
            m_xmlDoc->LoadItem(last);
        m_firstObjectIndex = last->Count();
        m_firstOutlineIndex = section(sOutline)->Count();
    }
    ResetLogicalPageNumber();
}

void TfrxPreviewPages::ClearFirstPassPages()
{
    if (m_firstPageIndex == -1) {
        TfrxXMLItem* root = m_xmlDoc->Root();
        for (int i = 0; i < root->Count(); ++i) {
            TfrxXMLItem* s = root->Items(i);
            if (!orv::platform::sameTextAZ(s->Name, sAnchors) && !orv::platform::sameTextAZ(s->Name, sLogicalPageNumbers))
                s->Clear();
        }
    } else {
        TfrxXMLItem* pages = pagesItem();
        TfrxXMLItem* first = pages->Items(m_firstPageIndex);
        if (!first->Loaded)
            m_xmlDoc->LoadItem(first);
        while (first->Count() > m_firstObjectIndex)
            delete first->Items(first->Count() - 1);
        while (pages->Count() > m_firstPageIndex + 1)
            delete pages->Items(pages->Count() - 1);
        TfrxXMLItem* outline = section(sOutline);
        while (outline->Count() > m_firstOutlineIndex)
            delete outline->Items(outline->Count() - 1);
    }
    Outline()->CurItem = nullptr;
    ResetLogicalPageNumber();
    CurPage = m_firstPageIndex;
    m_xmlSize = 0;
}

void TfrxPreviewPages::IncLogicalPageNumber()
{
    if (Engine && Engine->DoublePass() && Engine->FinalPass)
        return;
    ++m_logicalPageN;
    section(sLogicalPageNumbers)->Add(QStringLiteral("page"))->SetProp(QStringLiteral("n"),
                                                                       QString::number(m_logicalPageN));
}

void TfrxPreviewPages::ResetLogicalPageNumber()
{
    if (Engine && Engine->DoublePass() && Engine->FinalPass)
        return;
    TfrxXMLItem* numbers = section(sLogicalPageNumbers);
    for (int i = CurPage; i > m_firstPageIndex && i >= 0; --i) {
        if (i >= numbers->Count())
            continue;
        TfrxXMLItem* item = numbers->Items(i);
        item->SetProp(QStringLiteral("t"), QString::number(m_logicalPageN));
        if (item->Prop(QStringLiteral("n")) == u"1")
            break;
    }
    m_logicalPageN = 0;
}

int TfrxPreviewPages::GetLogicalPageNo()
{
    TfrxXMLItem* numbers = section(sLogicalPageNumbers);
    if (CurPage >= 0 && CurPage < numbers->Count())
        return intProp(numbers->Items(CurPage), QStringLiteral("n"));
    return CurPage - FirstPage + 1;
}

int TfrxPreviewPages::GetLogicalTotalPages()
{
    TfrxXMLItem* numbers = section(sLogicalPageNumbers);
    if (CurPage >= 0 && CurPage < numbers->Count())
        return intProp(numbers->Items(CurPage), QStringLiteral("t"));
    return (Engine ? Engine->TotalPages : 0) - FirstPage;
}

// ---------------------------------------------------------------- anchors

void TfrxPreviewPages::AddAnchor(const QString& Text)
{
    TfrxXMLItem* item = section(sAnchors)->Add(QStringLiteral("item"));
    item->SetProp(QStringLiteral("text"), Text);
    item->SetProp(QStringLiteral("page"), QString::number(CurPage));
    item->SetProp(QStringLiteral("top"), QString::number(Engine ? frxRound(Engine->CurY) : 0));
}

TfrxXMLItem* TfrxPreviewPages::FindAnchor(const QString& Text)
{
    TfrxXMLItem* anchors = section(sAnchors);
    for (int i = anchors->Count() - 1; i >= 0; --i)
        if (QString::compare(anchors->Items(i)->Prop(QStringLiteral("text")), Text, Qt::CaseInsensitive) == 0)
            return anchors->Items(i);
    return nullptr;
}

int TfrxPreviewPages::GetAnchorPage(const QString& Text)
{
    TfrxXMLItem* anchor = FindAnchor(Text);
    return anchor ? intProp(anchor, QStringLiteral("page")) + 1 : 1;
}

int TfrxPreviewPages::GetAnchorCurPosition() { return section(sAnchors)->Count() - 1; }

void TfrxPreviewPages::ShiftAnchors(int From, int NewTop)
{
    TfrxXMLItem* anchors = section(sAnchors);
    if (From + 1 < 0 || From + 1 >= anchors->Count())
        return;
    const int t = intProp(anchors->Items(From + 1), QStringLiteral("top"));
    for (int i = From + 1; i < anchors->Count(); ++i) {
        TfrxXMLItem* a = anchors->Items(i);
        a->SetProp(QStringLiteral("page"), QString::number(intProp(a, QStringLiteral("page")) + 1));
        a->SetProp(QStringLiteral("top"), QString::number(NewTop + intProp(a, QStringLiteral("top")) - t));
    }
}

// ---------------------------------------------------------------- moving objects

int TfrxPreviewPages::GetCurPosition() { return currentPageItem()->Count(); }

void TfrxPreviewPages::CutObjects(int APosition)
{
    TfrxXMLItem* page = currentPageItem();
    TfrxXMLItem* cut = section(sCutted);
    while (APosition >= 0 && page->Count() > APosition)
        cut->AddItem(page->Items(APosition));
}

void TfrxPreviewPages::PasteObjects(long double X, long double Y)
{
    const int at = m_xmlDoc->Root()->Find(sCutted);
    if (at < 0)
        return;
    TfrxXMLItem* cut = m_xmlDoc->Root()->Items(at);
    if (cut->Count() > 0) {
        auto number = [](const TfrxXMLItem* item, const QString& name) -> long double {
            const QString v = item->Prop(name);
            return v.isEmpty() ? 0 : frxTextToFloat(v);
        };
        const TfrxXMLItem* first = cut->Items(0);
        const long double dx = X - number(first, QStringLiteral("l"));
        const long double dy = Y - number(first, QStringLiteral("t"));
        TfrxXMLItem* page = currentPageItem();
        while (cut->Count() > 0) {
            TfrxXMLItem* item = cut->Items(0);
            item->SetProp(QStringLiteral("l"), orv::platform::floatToStr(number(item, QStringLiteral("l")) + dx));
            item->SetProp(QStringLiteral("t"), orv::platform::floatToStr(number(item, QStringLiteral("t")) + dy));
            page->AddItem(item);
        }
    }
    delete cut;
}

bool TfrxPreviewPages::BandExists(TfrxBand* Band)
{
    TfrxXMLItem* page = currentPageItem();
    for (int i = 0; i < page->Count(); ++i) {
        TfrxComponent* source = m_dictionary.GetObject(page->Items(i)->Name);
        if (!source)
            continue;
        if (source->FOriginalComponent == Band)
            return true;
        if (dynamic_cast<TfrxPageFooter*>(Band) && dynamic_cast<TfrxPageFooter*>(source))
            return true;
        if (dynamic_cast<TfrxColumnFooter*>(Band) && dynamic_cast<TfrxColumnFooter*>(source))
            return true;
    }
    return false;
}

long double TfrxPreviewPages::GetLastY(long double ColumnPosition)
{
    long double result = 0;
    TfrxXMLItem* page = currentPageItem();
    for (int i = 0; i < page->Count(); ++i) {
        const TfrxXMLItem* item = page->Items(i);
        auto* band = dynamic_cast<TfrxBand*>(m_dictionary.GetObject(item->Name));
        if (!band || dynamic_cast<TfrxPageFooter*>(band) || dynamic_cast<TfrxOverlay*>(band))
            continue;
        auto value = [&](const QString& name, double fallback) -> long double {
            const QString v = item->Prop(name);
            return v.isEmpty() ? fallback : frxTextToFloat(v);
        };
        const long double left = value(QStringLiteral("l"), band->Left());
        if (ColumnPosition == 0 || std::fabs(double(ColumnPosition - left)) < 0.001 ||
            dynamic_cast<TfrxPageHeader*>(band) || dynamic_cast<TfrxReportTitle*>(band)) {
            const long double bottom = value(QStringLiteral("t"), band->Top()) + value(QStringLiteral("h"), band->Height());
            result = std::max(result, bottom);
        }
    }
    if (result == 0 && m_lastY != 0)
        result = m_lastY;
    return result;
}

void TfrxPreviewPages::Finish()
{
    m_lastY = 0;
    clearCaches();
    for (auto& page : m_sourcePages)
        page->FOriginalComponent = nullptr;
    if (TfrxReport* r = Report())
        r->InternalOnProgressStop(ptRunning);
}

// ---------------------------------------------------------------- reading pages back

TfrxXMLDocument& TfrxPreviewPages::sourcePageText(TfrxReportPage* Source)
{
    auto it = m_sourcePageTexts.find(Source);
    if (it == m_sourcePageTexts.end()) {
        auto doc = std::make_shared<TfrxXMLDocument>();
        QBuffer buffer;
        buffer.setData(TfrxComponent::AssignText(Source));
        buffer.open(QIODevice::ReadOnly);
        doc->LoadFromStream(buffer);
        it = m_sourcePageTexts.insert(Source, std::move(doc));
    }
    return **it;
}

TfrxObjectDescription& TfrxPreviewPages::descriptionOf(const TfrxComponent* Source)
{
    // Kept by the source object, and made anew whenever its description is not the one
    // kept: a source object made since in the place of a freed one reads as its own.
    std::shared_ptr<TfrxObjectDescription>& d = m_descriptions[Source];
    const QString text = Source->BaseName();
    if (!d || d->text() != text)
        d = std::make_shared<TfrxObjectDescription>(text);
    return *d;
}

void TfrxPreviewPages::readObjects(TfrxXMLItem* Element, TfrxComponent* Parent, TfrxXMLSerializer& Serializer,
                                   std::vector<ReadObject>* Read)
{
    if (!Element->Loaded)
        m_xmlDoc->LoadItem(Element);
    for (int i = 0; i < Element->Count(); ++i) {
        TfrxXMLItem* child = Element->Items(i);
        TfrxComponent* obj = nullptr;
        if (TfrxComponent* source = m_dictionary.GetObject(child->Name)) {
            obj = Serializer.ReadComponentStr(Parent, descriptionOf(source), child->Text, true);
            if (obj) {
                obj->SetName(source->Name());
                auto* picture = orv::platform::rtti::objectCast<TfrxPictureView>(obj);
                if (picture && picture->Picture()->IsEmpty())
                    m_pictureCache->GetPicture(picture);
            }
        } else {
            obj = Serializer.ReadComponentStr(Parent, child->Name + u' ' + child->Text, true);
        }
        if (!obj)
            throw EClassNotFound(QStringLiteral("Class %1 not found").arg(child->Name));
        obj->SetParent(Parent);
        if (Read) {
            if (!child->Loaded)
                m_xmlDoc->LoadItem(child);
            Read->push_back({child->Name, child->Text, child->Count(), obj, m_dictionary.GetObject(child->Name)});
        }
        readObjects(child, obj, Serializer, Read);
    }
}

TfrxReportPage* TfrxPreviewPages::buildPage(TfrxXMLItem* Element, bool Strict)
{
    std::unique_ptr<TfrxReportPage> built(readPage(Element, Strict));
    if (Strict)
        for (TfrxComponent* c : built->AllObjects())
            if (!std::isfinite(c->Left()) || !std::isfinite(c->Top()) || !std::isfinite(c->Width()) ||
                !std::isfinite(c->Height()))
                throw TfrxInvalidXMLException();
    return built.release();
}

TfrxReportPage* TfrxPreviewPages::readPage(TfrxXMLItem* Element, bool Strict, std::vector<ReadObject>* Read)
{
    if (!Element->Loaded)
        m_xmlDoc->LoadItem(Element);
    TfrxXMLSerializer serializer(nullptr);
    serializer.OldFormat = m_xmlDoc->OldVersion();
    std::unique_ptr<TfrxReportPage> page;
    if (isWholePage(Element)) {
        const orv::platform::rtti::ClassInfo* cls = orv::platform::rtti::findClass(Element->Name);
        page.reset(cls ? dynamic_cast<TfrxReportPage*>(cls->create(nullptr)) : nullptr);
        if (!page)
            throw EClassNotFound(QStringLiteral("Class %1 not found").arg(Element->Name));
        serializer.Owner = page.get();
        serializer.ReadRootComponent(page.get(), Element);
        if (Strict && !serializer.Errors.isEmpty())
            throw TfrxInvalidXMLException();
        return page.release();
    }
    if (!Element->Name.startsWith(QStringLiteral("page"), Qt::CaseInsensitive))
        throw EClassNotFound(QStringLiteral("Class %1 not found").arg(Element->Name));
    const int n = toInt(Element->Name.mid(4, 5));
    if (n < 0 || n >= int(m_sourcePages.size()))
        throw Error(QStringLiteral("The prepared report has no source page %1").arg(n));
    TfrxReportPage* source = m_sourcePages[size_t(n)].get();
    page.reset(dynamic_cast<TfrxReportPage*>(source->classInfo().create(nullptr)));
    const TfrxXMLDocument& sourceText = sourcePageText(source);
    page->AssignFromDocument(sourceText.Root(), sourceText.OldVersion());
    page->SetName(source->Name());
    serializer.Owner = page.get();
    readObjects(Element, page.get(), serializer, Read);
    if (Strict && !serializer.Errors.isEmpty())
        throw TfrxInvalidXMLException();
    return page.release();
}

namespace {

struct Attribute {
    QStringView name, value;
};

// An attribute text cut into names and values exactly as the serializer reads it.
std::vector<Attribute> attributesOf(const QString& Text)
{
    std::vector<Attribute> out;
    forEachAttribute(Text, [&](QStringView name, QStringView value) { out.push_back({name, value}); });
    return out;
}

// The attributes that set one value each and nothing else: the position, the size and a
// memo's text. An object whose difference holds only these is turned into the next one
// by setting them again. The value each sets, as a bit; 0 for any other attribute.
constexpr unsigned kLeft = 1, kTop = 2, kWidth = 4, kHeight = 8, kMemoText = 16;
unsigned valueSetBy(QStringView Name, TfrxComponent* Obj)
{
    if (Name.size() == 1)
        switch (Name[0].unicode()) {
        case u'l':
            return kLeft;
        case u't':
            return kTop;
        case u'w':
            return kWidth;
        case u'h':
            return kHeight;
        case u'x':
        case u'u':
            return Obj->asMemo() ? kMemoText : 0;
        default:
            return 0;
        }
    return Name == u"Text" && Obj->asMemo() ? kMemoText : 0;
}

// The values that the attributes of a text set, or nullopt when one of them is not of
// that kind.
std::optional<unsigned> valuesSetBy(const std::vector<Attribute>& Attributes, TfrxComponent* Obj)
{
    unsigned values = 0;
    for (const Attribute& a : Attributes) {
        const unsigned v = valueSetBy(a.name, Obj);
        if (!v)
            return std::nullopt;
        values |= v;
    }
    return values;
}

// Whether the export leaves the objects as they were read: aligned objects are moved
// when the page is read, highlighted memos take the highlight's font and memos with
// page macros get their text replaced.
bool exportLeavesAlone(const std::vector<TfrxPreviewPages::ReadObject>& Objects)
{
    for (const TfrxPreviewPages::ReadObject& r : Objects) {
        if (TfrxView* view = r.object->asView(); view && view->Align() != baNone)
            return false;
        if (TfrxCustomMemoView* memo = r.object->asMemo()) {
            if (memo->Highlight()->Active())
                return false;
            if (memo->AllowExpressions()) {
                const QString text = memo->Text();
                if (orv::platform::indexOfAZ(text, u"[TOTALPAGES#]") >= 0 || orv::platform::indexOfAZ(text, u"[COPYNAME#]") >= 0)
                    return false;
            }
        }
    }
    return true;
}

} // namespace

TfrxComponent* TfrxPreviewPages::KeptPages::baseOf(TfrxPreviewPages& Pages, const TfrxComponent* Source)
{
    auto it = bases.find(Source);
    if (it == bases.end()) {
        TfrxXMLSerializer serializer(nullptr);
        serializer.OldFormat = Pages.m_xmlDoc->OldVersion();
        std::unique_ptr<TfrxComponent> base(serializer.ReadComponentStr(nullptr, Pages.descriptionOf(Source), QString(), true));
        if (!serializer.Errors.isEmpty())
            base.reset();
        it = bases.emplace(Source, std::move(base)).first;
    }
    return it->second.get();
}

bool TfrxPreviewPages::turnKeptPage(TfrxXMLItem* Element, KeptPage& Kept, KeptPages& All)
{
    // The same objects in the same tree, each either with the same text or with one made
    // only of attributes that set one value. A value that the last page set and this one
    // does not comes back from the object as its source object's description makes it.
    struct Change {
        std::size_t object;
        const TfrxXMLItem* element;
        unsigned restore;
        TfrxComponent* base;
    };
    std::vector<Change> changed;
    std::size_t at = 0;
    const std::function<bool(TfrxXMLItem*)> same = [&](TfrxXMLItem* e) {
        for (int i = 0; i < e->Count(); ++i) {
            TfrxXMLItem* child = e->Items(i);
            if (!child->Loaded)
                m_xmlDoc->LoadItem(child);
            if (at >= Kept.objects.size())
                return false;
            const std::size_t k = at++;
            const ReadObject& r = Kept.objects[k];
            if (r.name != child->Name || r.children != child->Count())
                return false;
            if (r.text != child->Text) {
                const std::optional<unsigned> was = valuesSetBy(attributesOf(r.text), r.object);
                const std::optional<unsigned> now = valuesSetBy(attributesOf(child->Text), r.object);
                if (!was || !now)
                    return false;
                const unsigned restore = *was & ~*now;
                TfrxComponent* base = nullptr;
                if (restore) {
                    if (!r.source)
                        return false;
                    base = All.baseOf(*this, r.source);
                    if (!base || &base->classInfo() != &r.object->classInfo())
                        return false;
                }
                changed.push_back({k, child, restore, base});
            }
            if (!same(child))
                return false;
        }
        return true;
    };
    if (!Element->Loaded)
        m_xmlDoc->LoadItem(Element);
    if (!same(Element) || at != Kept.objects.size())
        return false;
    TfrxXMLSerializer serializer(nullptr);
    serializer.OldFormat = m_xmlDoc->OldVersion();
    serializer.Owner = Kept.page.get();
    for (const Change& c : changed) {
        ReadObject& r = Kept.objects[c.object];
        if (c.restore & kLeft)
            r.object->SetLeft(c.base->Left());
        if (c.restore & kTop)
            r.object->SetTop(c.base->Top());
        if (c.restore & kWidth)
            r.object->SetWidth(c.base->Width());
        if (c.restore & kHeight)
            r.object->SetHeight(c.base->Height());
        if (c.restore & kMemoText)
            r.object->asMemo()->Memo()->Assign(c.base->asMemo()->Memo());
        serializer.XMLToObj(c.element->Text, r.object);
        r.text = c.element->Text;
    }
    // A value that did not read leaves, on a new object, the source object's one.
    if (!serializer.Errors.isEmpty())
        return false;
    Kept.page->SetLeft(Kept.left);
    Kept.page->SetTop(Kept.top);
    return true;
}

TfrxReportPage* TfrxPreviewPages::pageForExport(int Index, bool Keep, KeptPages& Kept)
{
    if (!Keep)
        return GetPage(Index);
    if (Count() == 0 || Index < 0 || Index >= Count())
        return nullptr;
    TfrxXMLItem* element = pagesItem()->Items(Index);
    if (!element->Loaded)
        m_xmlDoc->LoadItem(element);
    if (isWholePage(element)) {
        Kept.single.reset(buildPage(element));
        Kept.single->AlignChildren();
        return Kept.single.get();
    }
    // Pages read from the same source page have elements of the same name.
    auto it = Kept.pages.find(element->Name);
    if (it != Kept.pages.end()) {
        KeptPage& k = it->second;
        if (turnKeptPage(element, k, Kept)) {
            if (exportLeavesAlone(k.objects))
                return k.page.get();
            Kept.single = std::move(k.page);
            Kept.pages.erase(it);
            return Kept.single.get();
        }
        Kept.pages.erase(it);
    }
    KeptPage k;
    k.page.reset(readPage(element, false, &k.objects));
    k.left = k.page->Left();
    k.top = k.page->Top();
    k.page->AlignChildren();
    if (!exportLeavesAlone(k.objects)) {
        Kept.single = std::move(k.page);
        return Kept.single.get();
    }
    return (Kept.pages[element->Name] = std::move(k)).page.get();
}

TfrxReportPage* TfrxPreviewPages::GetPage(int Index)
{
    if (Count() == 0 || Index < 0 || Index >= Count())
        return nullptr;
    if (!engineRunning()) {
        for (size_t i = 0; i < m_pageCache.size(); ++i)
            if (m_pageCache[i].index == Index) {
                std::swap(m_pageCache[0], m_pageCache[i]);
                return m_pageCache[0].page.get();
            }
    }
    std::unique_ptr<TfrxReportPage> page(buildPage(pagesItem()->Items(Index)));
    page->AlignChildren();
    std::erase_if(m_pageCache, [&](const CachedPage& c) { return c.index == Index; });
    m_pageCache.insert(m_pageCache.begin(), CachedPage{Index, std::move(page)});
    const int limit = pagesInCache();
    if (m_pageCache.size() > 1 && int(m_pageCache.size()) > limit) {
        const int dropped = m_pageCache.back().index;
        m_pageCache.pop_back();
        TfrxXMLItem* element = pagesItem()->Items(dropped);
        if (Report() && Report()->EngineOptions()->UseFileCache() && element->Unloadable && element->Loaded)
            m_xmlDoc->UnloadItem(element);
    }
    return m_pageCache.front().page.get();
}

QPoint TfrxPreviewPages::GetPageSize(int Index)
{
    if (Count() == 0 || Index < 0 || Index >= Count())
        return QPoint(0, 0);
    TfrxXMLItem* element = pagesItem()->Items(Index);
    const TfrxReportPage* page = nullptr;
    if (isWholePage(element)) {
        page = GetPage(Index);
    } else {
        bool ok = false;
        const int n = element->Name.mid(4, 5).toInt(&ok);
        if (ok && n >= 0 && n < int(m_sourcePages.size()))
            page = m_sourcePages[size_t(n)].get();
    }
    if (!page)
        return QPoint(0, 0);
    return QPoint(frxRound(page->Width()), frxRound(page->Height()));
}

// ---------------------------------------------------------------- drawing

void TfrxPreviewPages::drawDirect(int Index, orv::platform::Canvas* Canvas, long double ScaleX, long double ScaleY,
                                  long double OffsetX, long double OffsetY)
{
    TfrxReportPage* page = GetPage(Index);
    if (!page)
        return;
    const bool mirror = page->MirrorMargins() && Index % 2 == 1;
    const double left = page->LeftMargin(), right = page->RightMargin();
    if (mirror) {
        page->SetLeftMargin(right);
        page->SetRightMargin(left);
    }
    struct Restore {
        TfrxReportPage* page;
        bool mirror;
        double left, right;
        ~Restore()
        {
            if (mirror) {
                page->SetLeftMargin(left);
                page->SetRightMargin(right);
            }
        }
    } restore{page, mirror, left, right};
    const bool printer = Canvas->isPrinter();
    page->SetIsPrinting(printer);
    page->Draw(Canvas, double(ScaleX), double(ScaleY), double(OffsetX), double(OffsetY));
    OffsetX += ScaleX * page->LeftMargin() * fr01cm;
    OffsetY += ScaleY * page->TopMargin() * fr01cm;
    const int total = Count();
    for (TfrxComponent* c : page->AllObjects()) {
        auto* view = dynamic_cast<TfrxView*>(c);
        if (!view || (printer && !view->Printable()))
            continue;
        view->SetIsPrinting(printer);
        if (auto* memo = dynamic_cast<TfrxCustomMemoView*>(view)) {
            memo->TotalPages = total;
            memo->CopyNo = CopyNo;
        }
        view->Draw(Canvas, double(ScaleX), double(ScaleY), double(OffsetX), double(OffsetY));
    }
}

void TfrxPreviewPages::DrawPage(int Index, orv::platform::Canvas* Canvas, long double ScaleX, long double ScaleY,
                                long double OffsetX, long double OffsetY)
{
    if (!Canvas)
        return;
    if (Canvas->isPrinter() || engineRunning()) {
        drawDirect(Index, Canvas, ScaleX, ScaleY, OffsetX, OffsetY);
        return;
    }
    if (ScaleX != m_lastScale) {
        m_imageCache.clear();
        m_lastScale = ScaleX;
    }
    auto cached = std::find_if(m_imageCache.begin(), m_imageCache.end(),
                               [&](const CachedImage& c) { return c.index == Index; });
    if (cached != m_imageCache.end()) {
        std::iter_swap(m_imageCache.begin(), cached);
    } else {
        TfrxReportPage* page = GetPage(Index);
        if (!page)
            return;
        const int w = std::max(1, frxRound(ScaleX * page->Width())), h = std::max(1, frxRound(ScaleY * page->Height()));
        QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            orv::platform::Canvas bitmapCanvas(&painter);
            drawDirect(Index, &bitmapCanvas, ScaleX, ScaleY, 0, 0);
        }
        m_imageCache.insert(m_imageCache.begin(), CachedImage{Index, std::move(image)});
        if (m_imageCache.size() > 1 && int(m_imageCache.size()) > pagesInCache())
            m_imageCache.pop_back();
    }
    const QImage& image = m_imageCache.front().image;
    Canvas->drawBitmap(image, QRectF(0, 0, image.width(), image.height()),
                       QRectF(double(OffsetX), double(OffsetY), image.width(), image.height()), 1, true);
}

namespace {

// Only web and mail addresses leave the preview for the desktop: a report's link must
// never open a local file or a program, whatever the prepared pages say.
bool isWebAddress(const QString& url)
{
    const qsizetype colon = url.indexOf(u':');
    if (colon <= 0)
        return false;
    QString scheme = url.left(colon);
    for (QChar& c : scheme)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    return scheme == u"http" || scheme == u"https" || scheme == u"mailto";
}

} // namespace

void TfrxPreviewPages::ObjectOver(int Index, int X, int Y, int Button, int Shift, long double Scale,
                                  long double OffsetX, long double OffsetY, bool Click, int& Cursor, bool DBClick)
{
    if (Index < 0 || Index >= Count() || engineRunning())
        return;
    TfrxReportPage* page = GetPage(Index);
    TfrxReport* report = Report();
    if (!page || !report)
        return;
    const bool mirror = page->MirrorMargins() && Index % 2 == 1;
    OffsetX += (mirror ? page->RightMargin() : page->LeftMargin()) * fr01cm * Scale;
    OffsetY += page->TopMargin() * fr01cm * Scale;
    report->SetProgressMessage(QString(), false);
    report->SetProgressMessage(QString(), true);
    TfrxCustomPreview* preview = report->Preview();
    const bool reportHints = preview && preview->UseReportHints;

    constexpr int crDefault = 0, crHandPoint = -21;
    TfrxGroupHeader* drill = nullptr;
    const QList<TfrxComponent*> objects = page->AllObjects();
    auto contains = [&](TfrxComponent* c) {
        const int l = frxRound(c->AbsLeft() * Scale) + frxRound(OffsetX);
        const int t = frxRound(c->AbsTop() * Scale) + frxRound(OffsetY);
        const int r = frxRound((c->AbsLeft() + c->Width()) * Scale) + frxRound(OffsetX);
        const int b = frxRound((c->AbsTop() + c->Height()) * Scale) + frxRound(OffsetY);
        return X >= l && X < r && Y >= t && Y < b;
    };
    for (qsizetype i = objects.size() - 1; i >= 0; --i) {
        TfrxComponent* c = objects[i];
        if (auto* header = dynamic_cast<TfrxGroupHeader*>(c); header && header->DrillDown() && contains(c))
            drill = header;
        auto* view = dynamic_cast<TfrxView*>(c);
        if (!view)
            continue;
        if (!contains(view)) {
            if (view->ShowHint() && reportHints)
                preview->HideHint();
            continue;
        }
        if (auto* header = dynamic_cast<TfrxGroupHeader*>(view->Parent()); header && header->DrillDown())
            drill = header;
        if (view->Cursor() != crDefault)
            Cursor = view->Cursor();
        if (!view->URL().isEmpty()) {
            report->SetProgressMessage(view->URL(), false);
            if (view->Cursor() == crDefault)
                Cursor = crHandPoint;
        }
        if (!view->Hint().isEmpty() && view->ShowHint() && reportHints) {
            const qsizetype bar = view->Hint().indexOf(u'|');
            report->SetProgressMessage(bar >= 0 ? view->Hint().mid(bar + 1) : view->Hint(), true);
            const QRectF area(view->AbsLeft() * Scale + OffsetX, view->AbsTop() * Scale + OffsetY,
                              view->Width() * Scale, view->Height() * Scale);
            preview->ShowHint(area, bar >= 0 ? view->Hint().left(bar) : view->Hint());
        }
        if ((!Click || drill) && report->OnMouseOverObject)
            report->OnMouseOverObject(view);
        if (Click) {
            const QString url = view->URL();
            if (url.startsWith(u'@')) {
                if (preview)
                    preview->SetPageNo(orv::platform::trimmed(url.mid(1)).toInt());
            } else if (url.startsWith(u'#')) {
                if (TfrxXMLItem* anchor = FindAnchor(url.mid(1)); anchor && preview)
                    preview->SetPosition(intProp(anchor, QStringLiteral("page")) + 1,
                                         intProp(anchor, QStringLiteral("top")));
            } else if (isWebAddress(url)) {
                orv::platform::ui::shell().open(url);
            }
            bool modified = false;
            report->DoPreviewClick(view, Button, Shift, modified, DBClick);
            if (modified) {
                ModifyPage(Index, page);
                if (preview)
                    preview->Repaint();
            }
        }
        break;
    }
    if (drill) {
        Cursor = crHandPoint;
        if (Click && Button == 0) {
            orv::report::StringList* state = report->DrillState();
            const int at = state->IndexOf(drill->DrillName());
            if (at >= 0)
                state->Delete(at);
            else
                state->Add(drill->DrillName());
            if (preview)
                preview->RefreshReport();
        }
    }
}

// ---------------------------------------------------------------- editing

void TfrxPreviewPages::AddEmptyPage(int Index)
{
    if (Count() == 0 || Index < 0 || Index >= Count())
        return;
    TfrxXMLItem* pages = pagesItem();
    auto* item = new TfrxXMLItem(pages->Items(Index)->Name);
    pages->InsertItem(Index, item);
    clearCaches();
}

void TfrxPreviewPages::DeletePage(int Index)
{
    if (Count() < 2 || Index < 0 || Index >= Count())
        return;
    delete pagesItem()->Items(Index);
    clearCaches();
}

void TfrxPreviewPages::ModifyPage(int Index, TfrxReportPage* Page)
{
    if (Index < 0 || Index >= Count() || !Page)
        return;
    TfrxXMLItem* element = pagesItem()->Items(Index);
    if (!element->Loaded)
        m_xmlDoc->LoadItem(element);
    // The page may be one of the cache's own: write it before the cache lets it go.
    element->Clear();
    element->Text.clear();
    TfrxXMLSerializer serializer(nullptr);
    serializer.Owner = Page;
    serializer.WriteRootComponent(Page, true, element, false);
    element->Unloadable = false;
    clearCaches();
}

void TfrxPreviewPages::AddFrom(TfrxReport* Report)
{
    auto* other = dynamic_cast<TfrxPreviewPages*>(Report ? Report->PreviewPages() : nullptr);
    if (!other || other == this)
        return;
    const int offset = Count();
    for (int i = 0; i < other->Count(); ++i) {
        TfrxReportPage* page = other->GetPage(i);
        if (!page)
            continue;
        TfrxXMLItem* element = pagesItem()->Add();
        TfrxXMLSerializer serializer(nullptr);
        serializer.Owner = page;
        serializer.WriteRootComponent(page, true, element, false);
        element->Unloadable = false;
    }
    TfrxXMLItem* theirAnchors = other->section(sAnchors);
    for (int i = 0; i < theirAnchors->Count(); ++i) {
        const TfrxXMLItem* a = theirAnchors->Items(i);
        TfrxXMLItem* copy = section(sAnchors)->Add(QStringLiteral("item"));
        copy->Text = a->Text;
        copy->SetProp(QStringLiteral("page"), QString::number(intProp(a, QStringLiteral("page")) + offset));
    }
    std::function<void(const TfrxXMLItem*, TfrxXMLItem*)> copyOutline = [&](const TfrxXMLItem* from, TfrxXMLItem* to) {
        for (int i = 0; i < from->Count(); ++i) {
            const TfrxXMLItem* node = from->Items(i);
            TfrxXMLItem* copy = to->Add(QStringLiteral("item"));
            copy->Text = node->Text;
            copy->SetProp(QStringLiteral("page"), QString::number(intProp(node, QStringLiteral("page")) + offset));
            copyOutline(node, copy);
        }
    };
    copyOutline(other->section(sOutline), section(sOutline));
    if (other->Count() > 0) {
        const int saved = other->CurPage;
        other->CurPage = other->Count() - 1;
        m_lastY = other->GetLastY(0);
        other->CurPage = saved;
    }
    clearCaches();
}

// ---------------------------------------------------------------- storage

void TfrxPreviewPages::SaveToStream(QIODevice& Stream)
{
    TfrxReport* r = Report();
    TfrxXMLItem* report = section(sReport);
    report->Clear();
    TfrxXMLItem* reportItem = report->Add(r ? r->ClassName() : QStringLiteral("TfrxReport"));
    if (r) {
        reportItem->SetProp(QStringLiteral("DotMatrixReport"), r->DotMatrixReport() ? QStringLiteral("1") : QStringLiteral("0"));
        reportItem->SetProp(QStringLiteral("PreviewOptions.OutlineVisible"),
                            r->PreviewOptions()->OutlineVisible() ? QStringLiteral("1") : QStringLiteral("0"));
        reportItem->SetProp(QStringLiteral("PreviewOptions.OutlineWidth"),
                            QString::number(r->PreviewOptions()->OutlineWidth()));
        reportItem->SetProp(QStringLiteral("ReportOptions.Name"), r->ReportOptions()->Name());
    }
    TfrxXMLItem* sources = section(sSourcePages);
    sources->Clear();
    for (const auto& page : m_sourcePages) {
        TfrxXMLSerializer serializer(nullptr);
        serializer.Owner = page.get();
        serializer.WriteRootComponent(page.get(), true, sources->Add(), false);
    }
    TfrxXMLItem* dictionary = section(sDictionary);
    dictionary->Clear();
    for (const QString& alias : m_dictionary.SortedNames())
        dictionary->Add(alias)->Text = QStringLiteral("name=\"") + m_dictionary.GetSourceName(alias) + u'"';
    m_pictureCache->SaveToXML(section(sPictureCache));
    m_xmlDoc->AutoIndent = false;
    m_xmlDoc->SaveToStream(Stream);
}

void TfrxPreviewPages::LoadFromStream(QIODevice& Stream, bool AllowPartialLoading)
{
    if (!AllowPartialLoading) {
        // Read into a fresh state and checked whole: a damaged file changes nothing, and
        // the pages shown before stay.
        auto oldDoc = std::exchange(m_xmlDoc, std::make_unique<TfrxXMLDocument>());
        m_xmlDoc->Root()->Name = oldDoc->Root()->Name;
        m_xmlDoc->TempDir = oldDoc->TempDir;
        auto oldPictures = std::exchange(m_pictureCache, std::make_unique<TfrxPictureCache>());
        TfrxDictionary oldDictionary = std::exchange(m_dictionary, TfrxDictionary());
        auto oldSources = std::exchange(m_sourcePages, {});
        m_sourcePageTexts.clear();
        auto oldPageCache = std::exchange(m_pageCache, {});
        auto oldImageCache = std::exchange(m_imageCache, {});
        TfrxXMLItem* oldOutlineItem = Outline()->CurItem;
        const int oldCurPage = CurPage;
        const bool oldPartial = m_allowPartialLoading;
        Outline()->CurItem = nullptr;
        m_allowPartialLoading = false;
        try {
            m_xmlDoc->LoadFromStream(Stream);
            LoadFromStream(std::unique_ptr<QIODevice>(), false);
        } catch (...) {
            m_xmlDoc = std::move(oldDoc);
            m_pictureCache = std::move(oldPictures);
            m_dictionary = std::move(oldDictionary);
            m_sourcePages = std::move(oldSources);
            m_pageCache = std::move(oldPageCache);
            m_imageCache = std::move(oldImageCache);
            Outline()->CurItem = oldOutlineItem;
            CurPage = oldCurPage;
            m_allowPartialLoading = oldPartial;
            throw TfrxInvalidXMLException();
        }
        m_xmlSize = 0;
        m_lastY = 0;
        m_logicalPageN = 0;
        return;
    }
    auto copy = std::make_unique<QBuffer>();
    copy->setData(Stream.readAll());
    copy->open(QIODevice::ReadOnly);
    LoadFromStream(std::move(copy), true);
}

void TfrxPreviewPages::LoadFromStream(std::unique_ptr<QIODevice> Stream, bool AllowPartialLoading)
{
    if (Stream) {
        Clear();
        m_allowPartialLoading = AllowPartialLoading;
        m_xmlDoc->LoadFromStream(std::move(Stream), AllowPartialLoading);
    }
    TfrxXMLItem* root = m_xmlDoc->Root();
    auto existing = [&](const QString& name) -> TfrxXMLItem* {
        const int at = root->Find(name);
        return at < 0 ? nullptr : root->Items(at);
    };
    m_sourcePages.clear();
    m_sourcePageTexts.clear();
    if (TfrxXMLItem* sources = existing(sSourcePages)) {
        for (int i = 0; i < sources->Count(); ++i) {
            TfrxXMLItem* element = sources->Items(i);
            const orv::platform::rtti::ClassInfo* cls =
                orv::platform::sameTextAZ(element->Name, QStringLiteral("TfrxDMPPage")) ? orv::platform::rtti::findClass(element->Name) : nullptr;
            std::unique_ptr<TfrxReportPage> page(cls ? dynamic_cast<TfrxReportPage*>(cls->create(nullptr))
                                                     : new TfrxReportPage(nullptr));
            if (!page)
                page = std::make_unique<TfrxReportPage>(nullptr);
            TfrxXMLSerializer serializer(nullptr);
            serializer.Owner = page.get();
            serializer.OldFormat = m_xmlDoc->OldVersion();
            serializer.ReadRootComponent(page.get(), element);
            for (TfrxComponent* c : page->AllObjects()) {
                TfrxXMLSerializer describer(nullptr);
                describer.Owner = page.get();
                c->SetBaseName(describer.WriteComponentStr(c));
            }
            m_sourcePages.push_back(std::move(page));
        }
        sources->Clear();
    }
    m_dictionary.Clear();
    if (TfrxXMLItem* dictionary = existing(sDictionary)) {
        for (int i = 0; i < dictionary->Count(); ++i) {
            const TfrxXMLItem* element = dictionary->Items(i);
            const QString sourceName = element->Text.mid(6, element->Text.size() - 7);
            const qsizetype dot = sourceName.indexOf(u'.');
            TfrxComponent* obj = nullptr;
            if (sourceName.startsWith(QStringLiteral("Page")) && dot > 4) {
                const int n = toInt(sourceName.mid(4, dot - 4));
                const QString name = sourceName.mid(dot + 1, 255);
                if (n >= 0 && n < int(m_sourcePages.size()))
                    obj = m_sourcePages[size_t(n)]->FindObject(name);
            }
            m_dictionary.Add(element->Name, sourceName, obj);
        }
    }
    if (TfrxXMLItem* pictures = existing(sPictureCache))
        m_pictureCache->LoadFromXML(pictures);
    else
        m_pictureCache->Clear();
    CurPage = Count() - 1;
    if (!m_allowPartialLoading)
        checkWhole();
    // The report takes the file's settings only once the file has been read.
    TfrxReport* r = Report();
    if (TfrxXMLItem* report = existing(sReport); report && report->Count() > 0 && r) {
        TfrxXMLSerializer serializer(nullptr);
        serializer.Owner = r;
        serializer.XMLToObj(report->Items(0)->Text, r);
    }
}

void TfrxPreviewPages::checkWhole()
{
    const auto bad = [] { throw TfrxInvalidXMLException(); };
    // Every alias names an object of a source page.
    for (const QString& alias : m_dictionary.SortedNames())
        if (!m_dictionary.GetObject(alias))
            bad();
    // Every place (outline, anchors) lies on a page of the report.
    const int pages = Count();
    std::function<void(const TfrxXMLItem*)> places = [&](const TfrxXMLItem* item) {
        for (int i = 0; i < item->Count(); ++i) {
            const TfrxXMLItem* place = item->Items(i);
            const int page = intProp(place, QStringLiteral("page"), -1);
            intProp(place, QStringLiteral("top"));
            if (page < 0 || page >= pages)
                bad();
            places(place);
        }
    };
    TfrxXMLItem* root = m_xmlDoc->Root();
    for (const QString& name : {sOutline, sAnchors})
        if (const int at = root->Find(name); at >= 0)
            places(root->Items(at));
    if (const int at = root->Find(sLogicalPageNumbers); at >= 0)
        for (int i = 0; i < root->Items(at)->Count(); ++i)
            intProp(root->Items(at)->Items(i), QStringLiteral("n"));
    // Every page is built once, as drawing it would: its source page, its objects'
    // aliases or classes and their numbers.
    for (int i = 0; i < pages; ++i) {
        TfrxXMLItem* element = pagesItem()->Items(i);
        std::function<void(const TfrxXMLItem*)> known = [&](const TfrxXMLItem* item) {
            for (int k = 0; k < item->Count(); ++k) {
                const TfrxXMLItem* child = item->Items(k);
                if (!m_dictionary.GetObject(child->Name) && !orv::platform::rtti::findClass(child->Name))
                    bad();
                known(child);
            }
        };
        if (!element->Loaded)
            m_xmlDoc->LoadItem(element);
        known(element);
        std::unique_ptr<TfrxReportPage> page(buildPage(element, true));
        if (!page)
            bad();
    }
}

bool TfrxPreviewPages::LoadFromFile(const QString& FileName, bool ExceptionIfNotFound)
{
    const bool exists = QFileInfo(FileName).isFile();
    if (!exists && !ExceptionIfNotFound)
        return false;
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw orv::platform::EFileError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, file.errorString()));
    LoadFromStream(file, false);
    return exists;
}

void TfrxPreviewPages::SaveToFile(const QString& FileName)
{
    saveFile(FileName, [this](QIODevice& f) { SaveToStream(f); });
}

// ---------------------------------------------------------------- output

bool TfrxPreviewPages::Print()
{
    TfrxReport* r = Report();
    if (r)
        r->SetTerminated(false);
    if (!printDriver()) {
        frxReportError(r, frxStringResources()->Get(QStringLiteral("clNoPrinters")));
        return false;
    }
    return printDriver()(this);
}

void TfrxPreviewPages::exportPage(TfrxCustomExportFilter* Filter, TfrxReportPage* page, int i, int total)
{
    Filter->StartPage(page, i);
    try {
        exportPageObjects(Filter, page, i, total);
    } catch (...) {
        // The page is closed also when an error ends it; the first error is the one told.
        try {
            Filter->FinishPage(page, i);
        } catch (...) {
        }
        throw;
    }
    Filter->FinishPage(page, i);
}

void TfrxPreviewPages::exportPageObjects(TfrxCustomExportFilter* Filter, TfrxReportPage* page, int i, int total)
{
    const bool mirror = page->MirrorMargins() && i % 2 == 1;
    const double left = (mirror ? page->RightMargin() : page->LeftMargin()) * fr01cm;
    const double top = page->TopMargin() * fr01cm;
    page->SetLeft(left);
    page->SetTop(top);
    TfrxPictureView background(nullptr);
    background.SetName(QStringLiteral("_pagebackground"));
    background.SetColor(page->Color());
    background.SetFrame(page->Frame());
    background.SetPicture(page->BackPicture());
    background.SetStretched(true);
    background.SetKeepAspectRatio(false);
    background.SetBounds(left, top, page->Width() - (page->LeftMargin() + page->RightMargin()) * fr01cm,
                         page->Height() - (page->TopMargin() + page->BottomMargin()) * fr01cm);
    Filter->ExportObject(&background);
    const QList<TfrxComponent*> bands = page->Objects();
    for (TfrxComponent* c : bands) {
        auto* band = c->asBand();
        if (!band)
            continue;
        if (Filter->SuppressPageHeadersFooters &&
            (dynamic_cast<TfrxPageHeader*>(band) || dynamic_cast<TfrxPageFooter*>(band)))
            continue;
        Filter->ExportObject(band);
        for (TfrxComponent* obj : band->AllObjects()) {
            if (auto* memo = obj->asMemo()) {
                if (memo->Highlight()->Active())
                    memo->Font()->Assign(memo->Highlight()->Font());
                memo->TotalPages = total;
                memo->CopyNo = std::max(1, CopyNo);
                memo->ExtractMacros();
            }
            Filter->ExportObject(obj);
        }
    }
}

bool TfrxPreviewPages::ExportPage(TfrxCustomExportFilter* Filter, int Index)
{
    TfrxReportPage* page = GetPage(Index);
    if (!page)
        return false;
    exportPage(Filter, page, Index, Count());
    return true;
}

bool TfrxPreviewPages::Export(TfrxCustomExportFilter* Filter)
{
    TfrxReport* r = Report();
    if (!Filter || !r)
        return false;
    r->SetTerminated(false);
    Filter->SetCreationTime(orv::platform::nowDateTime());
    Filter->Report = r;
    if (Filter->ShowDialog() && Filter->ShowModal() != 1)
        return false;
    if (Filter->CurPage) {
        const int current = r->Preview() ? CurPreviewPage : 1;
        Filter->PageNumbers = QString::number(current);
    }
    try {
        QStringList pages;
        frxExpandPageNumbers(Filter->PageNumbers, pages, Count());
        if (Filter->OnBeginExport)
            Filter->OnBeginExport(Filter);
        if (!Filter->Start())
            return false;
        r->InternalOnProgressStart(ptExporting);
        try {
            ClearPageCache();
            const int total = Count();
            // A filter that leaves the objects alone is given, for each source page, one
            // page turned into every next page read from it.
            const bool keep = Filter->LeavesObjectsAlone();
            KeptPages kept;
            for (int i = 0; i < total && !r->Terminated(); ++i) {
                if (!pages.isEmpty() && !pages.contains(QString::number(i + 1)))
                    continue;
                TfrxReportPage* page = pageForExport(i, keep, kept);
                if (!page)
                    continue;
                r->InternalOnProgress(ptExporting, i + 1);
                exportPage(Filter, page, i, total);
                kept.single.reset();
                ClearPageCache();
            }
        } catch (...) {
            r->InternalOnProgressStop(ptExporting);
            try {
                Filter->Finish();
            } catch (...) {
            }
            throw;
        }
        r->InternalOnProgressStop(ptExporting);
        Filter->Finish();
    } catch (const std::exception& e) {
        if (r->Terminated())
            return false;
        r->Errors()->Clear();
        r->Errors()->Add(exceptionText(e));
        frxReportError(r, frxStringResources()->Get(QStringLiteral("clErrors")) + QStringLiteral("\r\n") +
                              r->Errors()->Text());
        return false;
    }
    return !r->Terminated();
}

} // namespace orv::report
