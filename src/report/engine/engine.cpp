// The run of a report: its passes, pages, page copies, the objects lying on a page, and
// the bands of the data levels with their rows and columns.
#include "report/engine/engine.h"

#include "platform/core/services.h"
#include "platform/core/text.h"
#include "report/base/utils.h"
#include "report/model/bands.h"
#include "report/model/datasets.h"
#include "report/model/pages.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"

#include <QCoreApplication>

#include <cmath>

// ---------------------------------------------------------------- header list

namespace orv::report {

void TfrxHeaderList::AddItem(TfrxBand* ABand, long double ALeft, bool AInKeepList)
{
    FList.push_back(TfrxHeaderListItem{ABand, ALeft, AInKeepList});
}

void TfrxHeaderList::RemoveItem(TfrxBand* ABand)
{
    for (auto it = FList.begin(); it != FList.end(); ++it)
        if (it->Band == ABand) {
            FList.erase(it);
            return;
        }
}

// ---------------------------------------------------------------- engine

ORV_RTTI_DEFINE(TfrxEngine, TfrxCustomEngine) {}

TfrxEngine::TfrxEngine(TfrxReport* AReport)
    : TfrxCustomEngine(AReport), FAggregates(std::make_unique<TfrxAggregateList>(AReport))
{
}

TfrxEngine::~TfrxEngine() = default;

TfrxPreviewPages* TfrxEngine::pages() const { return static_cast<TfrxPreviewPages*>(PreviewPages); }

void TfrxEngine::processMessages()
{
    if (!Report()->EngineOptions()->EnableThreadSafe() && QCoreApplication::instance())
        QCoreApplication::processEvents();
}

double TfrxEngine::PageHeight() const
{
    if (FPage && FPage->EndlessHeight())
        return const_cast<TfrxEngine*>(this)->FooterHeight() + CurY;
    return TfrxCustomEngine::PageHeight();
}

double TfrxEngine::FooterHeight()
{
    double h = 0;
    if (!FPage)
        return h;
    if (TfrxBand* b = FPage->FindBand(TfrxColumnFooter::staticClassInfo()))
        h += b->Height();
    if (TfrxBand* b = FPage->FindBand(TfrxPageFooter::staticClassInfo()))
        h += b->Height();
    return h;
}

double TfrxEngine::HeaderHeight()
{
    double h = 0;
    if (!FPage)
        return h;
    for (const orv::platform::rtti::ClassInfo* cls : {&TfrxColumnHeader::staticClassInfo(), &TfrxPageHeader::staticClassInfo()})
        for (TfrxBand* b = FPage->FindBand(*cls); b; b = b->Child())
            h += b->Height();
    return h;
}

double TfrxEngine::FreeSpace()
{
    if (FPage && FPage->EndlessHeight())
        return 1000000;
    if (FPrevFooterHeight != 0)
        return double(PageHeight() - FPrevFooterHeight - CurY);
    return PageHeight() - FooterHeight() - CurY;
}

QVariant TfrxEngine::GetAggregateValue(const QString& Name, const QString& Expression, TfrxBand* Band, int Flags)
{
    return orv::report::toVariant(AggregateValue(Name, Expression, Band, Flags));
}

orv::report::Value TfrxEngine::AggregateValue(const QString& Name, const QString& Expression, TfrxBand* Band,
                                              int Flags)
{
    return FAggregates->GetValue(FCurBand, CurVColumn, Name, Expression, Band, Flags);
}

// ---------------------------------------------------------------- run

bool TfrxEngine::Run()
{
    TfrxReport* report = Report();
    bool result = false;
    // Whatever happens, the datasets are finalised, the prepared pages finished and the
    // engine stops running.
    struct Finalize {
        TfrxEngine* engine;
        ~Finalize()
        {
            try {
                engine->Report()->DataSets()->Finalize();
            } catch (...) {
            }
            try {
                engine->pages()->Finish();
            } catch (...) {
            }
            engine->Running = false;
        }
    } finalize{this};

    if (!Initialize())
        return false;
    try {
        report->DataSets()->Initialize();
        report->DoNotifyEvent(report, report->OnStartReport());
        if (ShowDialogPages()) {
            result = true;
            for (TfrxComponent* c : report->Objects()) {
                auto* page = dynamic_cast<TfrxReportPage*>(c);
                if (!page)
                    continue;
                FPage = page;
                pages()->AddSourcePage(page);
                FAggregates->AddItems(page);
            }
            FinalPass = !DoublePass();
            TotalPages = 0;
            pages()->BeginPass();
            RunPass();
            if (DoublePass() && !report->Terminated()) {
                TotalPages = pages()->Count();
                pages()->CurPage = TotalPages - 1;
                pages()->ClearFirstPassPages();
                FAggregates->ClearValues();
                FinalPass = true;
                RunPass();
            }
        }
    } catch (...) {
        report->DoNotifyEvent(report, report->OnStopReport());
        throw;
    }
    report->DoNotifyEvent(report, report->OnStopReport());
    // A report stopped on the way (by its script, a cancel or the page guard) is not a
    // prepared report.
    return result && !report->Terminated();
}

bool TfrxEngine::Initialize()
{
    TfrxReport* report = Report();
    FPrevFooterHeight = 0;
    FPagesWithoutProgress = 0;
    pages()->Initialize();
    pages()->AddPageAction = apAdd;
    const orv::platform::TDateTime now = orv::platform::nowDateTime();
    StartDate = std::floor(now);
    StartTime = now - std::floor(now);
    Running = true;
    FKeeping = false;
    CurVColumn = 0;
    FOutputTo = nullptr;
    FAggregates->Clear();
    for (TfrxComponent* c : report->Objects())
        if (auto* page = dynamic_cast<TfrxReportPage*>(c)) {
            FPage = page;
            BuildBandTree(false);
            BuildBandTree(true);
        }
    for (TfrxComponent* c : report->Objects()) {
        auto* page = dynamic_cast<TfrxReportPage*>(c);
        if (!page)
            continue;
        if (report->DataSet() && report->DataSet() == page->DataSet()) {
            addError(QStringLiteral("Cannot use the same dataset for Report.DataSet and Page.DataSet"));
            break;
        }
        for (TfrxBand* b : page->SubBands) {
            auto* d = dynamic_cast<TfrxDataBand*>(b);
            if (!d || !d->DataSet())
                continue;
            if (report->DataSet() && d->DataSet() == report->DataSet()) {
                addError(QStringLiteral("Cannot use the same dataset for Report.DataSet and Band.DataSet"));
                break;
            }
            if (page->DataSet() && d->DataSet() == page->DataSet()) {
                addError(QStringLiteral("Cannot use the same dataset for Page.DataSet and Band.DataSet"));
                break;
            }
        }
    }
    return report->Errors()->isEmpty();
}

void TfrxEngine::addError(const QString& Message) { Report()->Errors()->Add(Message); }

namespace {
// More pages than any layout needs to reach its next object: a band's objects lie at
// most a few pages below its top.
constexpr int kPagesWithoutProgress = 100;
} // namespace

void TfrxEngine::guardPageWithoutProgress()
{
    if (++FPagesWithoutProgress <= kPagesWithoutProgress || Report()->Terminated())
        return;
    addError(QString::fromUtf8("Il report aggiunge pagine senza collocarvi nulla: la preparazione è stata interrotta"));
    Report()->SetTerminated(true);
}

bool TfrxEngine::ShowDialogPages()
{
    TfrxReport* report = Report();
    if (!orv::platform::trimmed(report->OnRunDialogs()).isEmpty()) {
        QVariantList params{true};
        report->DoParamEvent(report->OnRunDialogs(), params, true);
        return params.value(0).toBool();
    }
    for (TfrxComponent* c : report->Objects()) {
        auto* dialog = dynamic_cast<TfrxDialogPage*>(c);
        if (!dialog || !dialog->Visible() || dialog->Objects().isEmpty())
            continue;
        if (OnRunDialog)
            OnRunDialog(dialog);
        if (dialog->ModalResult() == 2)
            return false;
    }
    return true;
}

void TfrxEngine::RunPass()
{
    TfrxReport* report = Report();
    FFirstReportPage = true;
    FPagesWithoutProgress = 0;
    if (TfrxDataSet* ds = report->DataSet()) {
        ds->First();
        while (!ds->Eof() && !report->Terminated()) {
            RunPagesOnce();
            ds->Next();
        }
    } else {
        RunPagesOnce();
    }
}

void TfrxEngine::RunPagesOnce()
{
    TfrxReport* report = Report();
    for (TfrxComponent* c : report->Objects()) {
        auto* page = dynamic_cast<TfrxReportPage*>(c);
        if (!page)
            continue;
        FPage = page;
        if (!page->IsSubReport() && page->Visible())
            ProcessReportPage(page);
        if (report->Terminated())
            break;
        FFirstReportPage = false;
    }
}

void TfrxEngine::ProcessReportPage(TfrxReportPage* Page)
{
    TfrxReport* report = Report();
    if (Page->IsSubReport()) {
        RunDataLevel(Page);
        return;
    }
    FIsFirstBand = true;
    report->DoNotifyEvent(Page, Page->OnBeforePrint());
    if (TfrxDataSet* ds = Page->DataSet()) {
        ds->First();
        while (!ds->Eof()) {
            if (report->Terminated())
                break;
            BuildPageCopy();
            ds->Next();
        }
    } else {
        for (int i = 0; i < Page->PageCount(); ++i) {
            if (report->Terminated())
                break;
            BuildPageCopy();
        }
    }
    report->DoNotifyEvent(Page, Page->OnAfterPrint());
}

void TfrxEngine::BuildPageCopy()
{
    TfrxReport* report = Report();
    if (!HasDetailRows(FPage, report->EngineOptions()->PrintIfEmpty()))
        return;
    BeginPageRun();
    OutputPageObjects();
    if (report->OnManualBuild)
        report->OnManualBuild(FPage);
    else if (!orv::platform::trimmed(FPage->OnManualBuild()).isEmpty())
        report->DoNotifyEvent(FPage, FPage->OnManualBuild());
    else
        RunDataLevel(FPage);
    FIsLastPage = true;
    if (FPage->EndlessHeight() || FPage->EndlessWidth()) {
        const double width = FPage->EndlessWidth()
                                 ? FPage->LeftMargin() * fr01cm + PageWidth + FPage->RightMargin() * fr01cm
                                 : FPage->PaperWidth() * fr01cm;
        const double height = FPage->EndlessHeight()
                                  ? FooterHeight() + CurY + FPage->TopMargin() * fr01cm + FPage->BottomMargin() * fr01cm
                                  : FPage->PaperHeight() * fr01cm;
        pages()->UpdatePageDimensions(FPage, width, height);
    }
    EndPage();
    FIsLastPage = false;
}

void TfrxEngine::BeginPageRun()
{
    FHeaderList.Clear();
    TfrxBand* title = FPage->FindBand(TfrxReportTitle::staticClassInfo());
    TfrxBand* header = FPage->FindBand(TfrxPageHeader::staticClassInfo());
    if (FPage->TitleBeforeHeader()) {
        FHeaderList.AddItem(title, 0, false);
        FHeaderList.AddItem(header, 0, false);
    } else {
        FHeaderList.AddItem(header, 0, false);
        FHeaderList.AddItem(title, 0, false);
    }
    SetPageHeight(FPage->PaperHeight() * fr01cm - FPage->TopMargin() * fr01cm - FPage->BottomMargin() * fr01cm);
    PageWidth = FPage->PaperWidth() * fr01cm - FPage->LeftMargin() * fr01cm - FPage->RightMargin() * fr01cm;
    CurX = 0;
    CurY = 0;
    CurColumn = 1;
    FPageCurX = 0;
    FVMasterBand = nullptr;
    FIsFirstPage = true;
    FIsLastPage = false;
    pages()->Outline()->LevelRoot();
    if (FPage->ResetPageNumbers())
        pages()->ResetLogicalPageNumber();
    if (pages()->Count() > 0 && FPage->PrintOnPreviousPage()) {
        pages()->CurPage = pages()->Count() - 1;
        CurY = double(pages()->GetLastY(0));
        FHeaderList.RemoveItem(title);
        ShowBand(title);
    } else {
        OpenOutputPage();
    }
    if (FFirstReportPage)
        pages()->FirstPage = pages()->CurPage;
    FFirstColumnY = CurY;
    TfrxBand* columnHeader = FPage->FindBand(TfrxColumnHeader::staticClassInfo());
    ShowBand(columnHeader);
    FHeaderList.AddItem(columnHeader, 0, false);
    FHeaderList.RemoveItem(title);
    OutlinePageItem();
}

void TfrxEngine::OutputPageObjects()
{
    // The views lying directly on the page go out once, through a band of their own.
    auto band = std::make_unique<TfrxNullBand>(nullptr);
    band->SetWidth(PageWidth);
    band->SetHeight(PageHeight());
    QList<TfrxComponent*>& lent = band->EngineObjects();
    for (TfrxComponent* c : FPage->Objects())
        if (!dynamic_cast<TfrxBand*>(c))
            lent << c;
    const double savedY = CurY;
    struct GiveBack {
        TfrxNullBand* band;
        ~GiveBack() { band->EngineObjects().clear(); }
    } giveBack{band.get()};
    band->AlignChildren();
    ShowBand(band.get());
    CurY = savedY;
}

void TfrxEngine::ShowBand(const orv::platform::rtti::ClassInfo& Band) { ShowBand(FPage ? FPage->FindBand(Band) : nullptr); }

void TfrxEngine::ShowBand(TfrxBand* Band)
{
    if (!Band)
        return;
    if (Band->KeepChild())
        BeginKeep(Band);
    OutputBand(Band);
    auto* data = dynamic_cast<TfrxDataBand*>(Band);
    if (TfrxChild* child = Band->Child();
        child && (Band->Visible() || Band->PrintChildIfInvisible()) && !(data && data->CurColumn() > 1))
        ShowBand(child);
    if (Band->KeepChild())
        FinishKeep(Band);
    if (data)
        FAggregates->AddValue(Band, 0);
}

void TfrxEngine::OutputBand(TfrxBand* Band)
{
    TfrxReport* report = Report();
    const bool isPageHeader = dynamic_cast<TfrxPageHeader*>(Band) != nullptr;
    QList<int> vPageList;
    TfrxBand* vMaster = nullptr;
    const bool crossed = !Band->Vertical() && Band->FHasVBands && !isPageHeader;
    if (crossed) {
        FVSavedX = CurX;
        report->CurObject = Band->Name();
        Band->BeforePrint();
        doBeforePrint(Band);
        RunVerticalBands(Band);
        CurX = 0;
        CurLine = Band->LineN;
        CurLineThrough = Band->LineThrough;
        pages()->AddPageAction = apAdd;
        vPageList = FVPageList;
        vMaster = FVMasterBand;
    }
    if (Band->Vertical()) {
        OutputVerticalBand(Band);
        return;
    }
    auto* data = dynamic_cast<TfrxDataBand*>(Band);
    const bool isColumnBand = data && data->Columns() > 1;
    const bool isNull = dynamic_cast<TfrxNullBand*>(Band) != nullptr;
    auto* groupHeader = dynamic_cast<TfrxGroupHeader*>(Band);
    if (Band->Visible() && Band->StartNewPage() && !FCallFromAddPage && !FOutputTo &&
        (!(data || groupHeader) || Band->LineN != 1)) {
        FStartNewPageBand = Band;
        if (groupHeader && groupHeader->ResetPageNumbers())
            pages()->ResetLogicalPageNumber();
        NewPage();
        FStartNewPageBand = nullptr;
    }
    PrepareBand(Band);
    Band->FStretchedHeight = Band->Height();
    try {
        bool output = Band->Visible();
        if (output && !isColumnBand && !dynamic_cast<TfrxOverlay*>(Band) && !isNull && FreeSpace() < Band->Height() &&
            !FOutputTo) {
            if ((!Band->AllowSplit() || FKeeping) &&
                (PageHeight() - FooterHeight() >= Band->Height() || Band->FHasVBands)) {
                if (!FKeeping)
                    RefreshSuppressed(Band);
                if (!(dynamic_cast<TfrxChild*>(Band) && FCallFromPHeader))
                    NewColumn();
            } else {
                if (!Band->AllowSplit() && Band->LineThrough > 1 && !Band->StartNewPage()) {
                    FCurBand = Band;
                    NewColumn();
                }
                if (FKeeping)
                    FinishKeep(Band);
                SplitBand(Band);
                output = false;
            }
        }
        if (output) {
            if (!isNull) {
                Band->SetLeft(isColumnBand ? Band->Left() + CurX : double(CurX));
                Band->SetTop(CurY);
            }
            if (FOutputTo) {
                auto* copy = dynamic_cast<TfrxBand*>(Band->classInfo().create(FOutputTo));
                if (copy) {
                    copy->AssignAll(Band);
                    copy->SetBounds(Band->Left(), Band->Top(), Band->Width(), Band->Height());
                }
            } else if (Band->FHasVBands && !isPageHeader) {
                FVPageList = vPageList;
                FVMasterBand = vMaster;
                Band->SetLeft(0);
                EmitVerticalPages(Band);
                placedSomething();
            } else if (!(FCallFromAddPage && pages()->BandExists(Band))) {
                pages()->AddObject(Band);
                if (!FCallFromAddPage)
                    placedSomething();
            }
            CurY += Band->Height();
        }
    } catch (...) {
        FinishBand(Band);
        throw;
    }
    FinishBand(Band);
    FAggregates->Reset(Band);
    if (Band->Visible())
        RunBandSubreports(Band);
}

// ---------------------------------------------------------------- data levels

void TfrxEngine::RunDataLevel(TfrxComponent* Owner)
{
    TfrxReport* report = Report();
    processMessages();
    if (report->Terminated())
        return;
    auto* page = dynamic_cast<TfrxReportPage*>(Owner);
    auto* ownerBand = dynamic_cast<TfrxBand*>(Owner);
    const QList<TfrxBand*> list = page ? page->SubBands : ownerBand ? ownerBand->SubBands : QList<TfrxBand*>();
    int keepPosition = 0, columnPosition = 0;
    long double rowStartY = CurY;
    for (TfrxBand* b : list) {
        auto* D = dynamic_cast<TfrxDataBand*>(b);
        if (!D || !D->DataSet())
            continue;
        TfrxDataSet* ds = D->DataSet();
        ds->First();
        D->LineN = 1;
        D->LineThrough = 1;
        D->SetCurColumn(1);
        ClearRepeatMemory(D);
        bool firstRow = true, printed = false;
        while (!ds->Eof()) {
            if (HasDetailRows(D, D->PrintIfDetailEmpty())) {
                printed = true;
                const bool keepHeader = D->KeepHeader() && D->Header;
                if (firstRow) {
                    if (keepHeader) {
                        if (FIsFirstBand)
                            FIsFirstBand = !FTitlePrinted;
                        FKeepHeader = !FIsFirstBand;
                        BeginKeep(D);
                    }
                    RememberHeader(D->Header);
                    ShowBand(D->Header);
                    if (D->KeepTogether())
                        BeginKeep(D);
                } else if (!D->Group && D->KeepTogether()) {
                    BeginKeep(D);
                }
                if (D->Group) {
                    if (firstRow)
                        OpenGroupHeaders(D, D->Group, true, 0);
                    else
                        DetectGroupChange(D, D->Group, rowStartY, columnPosition);
                }
                if (D->KeepFooter())
                    keepPosition = pages()->GetCurPosition();
                if (D->Columns() > 1 && D->CurColumn() == 1)
                    columnPosition = pages()->GetCurPosition();
                rowStartY = CurY;
                CurLine = D->LineN;
                CurLineThrough = D->LineThrough;
                ShowBand(D);
                FKeepHeader = false;
                SendBandNotifications(D);
                if (firstRow && keepHeader)
                    FinishKeep(D);
                firstRow = false;
                FHBandNamesTree.append({D->Name(), D->LineThrough});
                ++D->LineN;
                ++D->LineThrough;
                AdvanceDataColumn(D, columnPosition, rowStartY);
                OutlineBandItem(D);
                RunDataLevel(D);
                FHBandNamesTree.removeLast();
                OutlineLeaveBand(D);
                FIsFirstBand = false;
                if (D->FooterAfterEach())
                    ShowBand(D->Footer);
            }
            if (!D->Group && D->KeepTogether())
                FinishKeep(D);
            ds->Next();
            if ((D->RowCount() != 0 && D->RowCount() < D->LineN) || report->Terminated())
                break;
        }
        if (D->Columns() > 1) {
            D->SetCurColumn(D->Columns());
            AdvanceDataColumn(D, columnPosition, rowStartY);
        }
        if (printed) {
            if (D->Group)
                CloseGroupFooters(D->Group, 0, D);
            if (FKeeping)
                FHeaderList.RemoveItem(D->Header);
            if (!D->FooterAfterEach()) {
                if (D->KeepFooter())
                    BeginKeep(D, keepPosition);
                FKeepFooter = true;
                ShowBand(D->Footer);
                if (D->KeepFooter())
                    FinishKeep(D);
                FKeepFooter = false;
            }
            ForgetHeader(D->Header);
            if (D->Group && D->KeepTogether())
                FinishKeep(D);
        }
        if (report->Terminated())
            return;
        FIsFirstBand = false;
    }
}

bool TfrxEngine::HasDetailRows(TfrxComponent* Owner, bool PrintIfEmpty)
{
    if (PrintIfEmpty)
        return true;
    auto* page = dynamic_cast<TfrxReportPage*>(Owner);
    auto* ownerBand = dynamic_cast<TfrxBand*>(Owner);
    const QList<TfrxBand*> list = page ? page->SubBands : ownerBand ? ownerBand->SubBands : QList<TfrxBand*>();
    bool result = list.isEmpty() && !page;
    for (TfrxBand* b : list) {
        auto* d = dynamic_cast<TfrxDataBand*>(b);
        if (!d || !d->DataSet())
            continue;
        Report()->DoNotifyEvent(d, d->OnMasterDetail());
        TfrxDataSet* ds = d->DataSet();
        ds->First();
        while (!ds->Eof()) {
            if (HasDetailRows(d, d->PrintIfDetailEmpty())) {
                result = true;
                break;
            }
            ds->Next();
        }
    }
    return result;
}

void TfrxEngine::AdvanceDataColumn(TfrxDataBand* D, int ColumnPosition, long double RowStartY)
{
    if (D->Columns() <= 1)
        return;
    if (CurY > D->FMaxY)
        D->FMaxY = CurY;
    if (D->CurColumn() < D->Columns()) {
        CurY = RowStartY;
    } else if (PageHeight() - FooterHeight() - D->FMaxY > 0.0001 || FPage->EndlessHeight()) {
        CurY = D->FMaxY;
    } else if (FKeeping) {
        NewColumn();
    } else {
        pages()->CutObjects(ColumnPosition);
        NewColumn();
        pages()->PasteObjects(CurX, CurY);
        CurY = CurY + D->FMaxY - RowStartY;
    }
    if (D->Visible())
        D->SetCurColumn(D->CurColumn() + 1);
}

void TfrxEngine::ClearRepeatMemory(TfrxBand* Band)
{
    for (TfrxComponent* c : Band->Objects())
        if (auto* memo = dynamic_cast<TfrxCustomMemoView*>(c))
            memo->LastValue = orv::report::Value::null();
}

void TfrxEngine::SendBandNotifications(TfrxBand* Band)
{
    const QList<orv::platform::rtti::Object*> list = NotifyList;
    for (orv::platform::rtti::Object* o : list)
        if (auto* c = dynamic_cast<TfrxComponent*>(o))
            c->OnNotify(Band);
}

// ---------------------------------------------------------------- outline

QString TfrxEngine::evaluateOutline(const QString& Text)
{
    const orv::report::Value v = Report()->Calc(Text);
    return v.isNull() ? QString() : v.toString();
}

void TfrxEngine::OutlinePageItem()
{
    if (FPage->OutlineText().isEmpty())
        return;
    pages()->Outline()->LevelRoot();
    pages()->Outline()->AddItem(evaluateOutline(FPage->OutlineText()), 0);
}

void TfrxEngine::OutlineBandItem(TfrxBand* Band)
{
    if (Band->OutlineText().isEmpty() || !Band->Visible())
        return;
    const double height = Band->Stretched() ? Band->FStretchedHeight : Band->Height();
    pages()->Outline()->AddItem(evaluateOutline(Band->OutlineText()), frxRound(CurY - height));
}

void TfrxEngine::OutlineLeaveBand(TfrxBand* Band)
{
    if (!Band->OutlineText().isEmpty())
        pages()->Outline()->LevelUp();
}

} // namespace orv::report
