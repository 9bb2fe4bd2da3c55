// Groups of rows with their headers and footers, subreports printed beside or inside
// their band, and vertical bands that fill the cells of a horizontal band across pages.
#include "report/base/utils.h"
#include "report/engine/engine.h"
#include "report/model/bands.h"
#include "report/model/datasets.h"
#include "report/model/pages.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"

#include <tuple>

namespace orv::report {

using orv::report::Value;

// ---------------------------------------------------------------- groups

Value TfrxEngine::evaluateCondition(TfrxGroupHeader* Header)
{
    Report()->CurObject = Header->Name();
    return Report()->Calc(Header->Condition());
}

void TfrxEngine::OpenGroupHeaders(TfrxDataBand* D, TfrxBand* Group, bool First, int From)
{
    const QList<TfrxBand*> headers = Group->SubBands;
    for (int level = From; level < headers.size(); ++level) {
        TfrxBand* h = headers[level];
        if (First) {
            h->LineN = 1;
            h->LineThrough = 1;
            ClearRepeatMemory(h);
        } else {
            ++h->LineN;
            ++h->LineThrough;
            if (level + 1 < headers.size())
                headers[level + 1]->LineN = 0;
        }
    }
    ApplyDrillDown(D, Group);
    for (int level = From; level < headers.size(); ++level) {
        auto* h = static_cast<TfrxGroupHeader*>(headers[level]);
        CurLine = h->LineN;
        CurLineThrough = h->LineThrough;
        h->FLastValue = evaluateCondition(h);
        if (h->KeepTogether())
            BeginKeep(h);
        ShowBand(h);
        OutlineBandItem(h);
        if (h->Vertical())
            RememberVerticalHeader(h);
        else
            RememberHeader(h);
    }
}

void TfrxEngine::DetectGroupChange(TfrxDataBand* D, TfrxBand* Group, long double RowStartY, int ColumnPosition)
{
    ApplyDrillDown(D, Group);
    const QList<TfrxBand*> headers = Group->SubBands;
    int changed = -1;
    for (int level = 0; level < headers.size() && changed < 0; ++level) {
        auto* h = static_cast<TfrxGroupHeader*>(headers[level]);
        const Value v = evaluateCondition(h);
        bool same = false;
        try {
            same = orv::script::equals(v, h->FLastValue);
        } catch (const std::exception&) {
            same = false;
        }
        if (!same)
            changed = level;
    }
    if (changed < 0)
        return;
    if (D->Columns() > 1) {
        D->SetCurColumn(D->Columns());
        AdvanceDataColumn(D, ColumnPosition, RowStartY);
    }
    // The footers print with the values of the group's last row.
    bool back = true;
    try {
        D->DataSet()->Prior();
    } catch (const std::exception&) {
        back = false;
    }
    CloseGroupFooters(Group, changed, D);
    if (back)
        D->DataSet()->Next();
    OpenGroupHeaders(D, Group, false, changed);
    D->LineN = 1;
    ClearRepeatMemory(D);
}

void TfrxEngine::CloseGroupFooters(TfrxBand* Group, int To, TfrxDataBand* D)
{
    const QList<TfrxBand*> headers = Group->SubBands;
    for (int level = int(headers.size()) - 1; level >= To; --level) {
        auto* h = static_cast<TfrxGroupHeader*>(headers[level]);
        if (auto* footer = dynamic_cast<TfrxGroupFooter*>(h->Footer)) {
            if (footer->HideIfSingleDataRecord() && D->LineN < 3)
                FAggregates->Reset(footer);
            else
                ShowBand(footer);
        }
        OutlineLeaveBand(h);
        if (h->Vertical())
            ForgetVerticalHeader(h);
        else
            ForgetHeader(h);
        if (h->KeepTogether())
            FinishKeep(h);
    }
}

void TfrxEngine::ApplyDrillDown(TfrxDataBand* D, TfrxBand* Group)
{
    const QList<TfrxBand*> headers = Group->SubBands;
    auto* first = static_cast<TfrxGroupHeader*>(Group);
    for (int level = 0; level < headers.size(); ++level) {
        auto* h = static_cast<TfrxGroupHeader*>(headers[level]);
        if (!h->DrillDown())
            continue;
        QString name;
        for (const auto& [band, row] : FHBandNamesTree)
            name += band + u'.' + QString::number(row) + u'.';
        name += h->Name() + u'.' + QString::number(h->LineThrough);
        h->SetDrillName(name);
        const bool listed = Report()->DrillState()->IndexOf(name) >= 0;
        const bool expanded = h->ExpandDrillDown() ? !listed : listed;
        if (h->Child() && !first->ShowChildIfDrillDown())
            h->Child()->SetVisible(expanded);
        for (int deeper = level + 1; deeper < headers.size(); ++deeper) {
            headers[deeper]->SetVisible(expanded);
            if (headers[deeper]->Footer)
                headers[deeper]->Footer->SetVisible(expanded);
        }
        D->SetVisible(expanded);
        if (h->Footer && !h->ShowFooterIfDrillDown())
            h->Footer->SetVisible(expanded);
        if (!expanded)
            break;
    }
}

// ---------------------------------------------------------------- subreports

void TfrxEngine::RunBandSubreports(TfrxBand* Band)
{
    QList<TfrxSubreport*> subs;
    for (TfrxComponent* c : Band->Objects())
        if (auto* s = dynamic_cast<TfrxSubreport*>(c); s && s->Visible() && !s->PrintOnParent() && s->Page())
            subs << s;
    if (subs.isEmpty())
        return;
    const int page = pages()->CurPage, column = CurColumn;
    const long double pageX = FPageCurX, x = CurX, y = CurY;
    std::tuple<int, int, long double> furthest{-1, 0, 0};
    for (TfrxSubreport* s : subs) {
        pages()->CurPage = page;
        FPageCurX = pageX + s->Left();
        CurColumn = column;
        CurX = double(x + s->Left());
        CurY = double(y - Band->FStretchedHeight + s->Top());
        ProcessReportPage(s->Page());
        const std::tuple<int, int, long double> reached{pages()->CurPage, CurColumn, CurY};
        if (reached > furthest)
            furthest = reached;
    }
    pages()->CurPage = std::get<0>(furthest);
    CurColumn = std::get<1>(furthest);
    CurX = double(pageX);
    if (CurColumn > 1)
        CurX += frxTextToFloat(FPage->ColumnPositions()->Get(CurColumn - 1)) * fr01cm;
    CurY = double(std::get<2>(furthest));
    FPageCurX = pageX;
}

void TfrxEngine::InlineSubreports(TfrxBand* Band)
{
    bool owner = false;
    if (!FOutputTo) {
        Band->FOriginalObjectsCount = int(Band->Objects().size());
        FOutputTo = new TfrxNullBand(nullptr);
        owner = true;
    }
    const long double x = CurX, y = CurY, pageX = FPageCurX;
    if (owner) {
        const QList<TfrxComponent*> objects = Band->Objects();
        for (TfrxComponent* c : objects) {
            auto* s = dynamic_cast<TfrxSubreport*>(c);
            if (!s || !s->Visible() || !s->PrintOnParent() || !s->Page())
                continue;
            FPageCurX = pageX + s->Left();
            CurX = s->Left();
            CurY = s->Top();
            ProcessReportPage(s->Page());
        }
    }
    CurX = double(x);
    CurY = double(y);
    FPageCurX = pageX;
    if (!owner)
        return;
    std::unique_ptr<TfrxNullBand> output(FOutputTo);
    FOutputTo = nullptr;
    for (TfrxComponent* c : output->AllObjects()) {
        auto* view = dynamic_cast<TfrxView*>(c);
        if (!view || dynamic_cast<TfrxSubreport*>(c))
            continue;
        const double left = view->AbsLeft() - output->AbsLeft(), top = view->AbsTop() - output->AbsTop();
        view->SetParentFont(false);
        view->SetParent(Band);
        view->SetLeft(left);
        view->SetTop(top);
        if (auto* s = dynamic_cast<TfrxStretcheable*>(view))
            s->SetStretchMode(smDontStretch);
    }
}

// ---------------------------------------------------------------- vertical bands

void TfrxEngine::RunVerticalBands(TfrxBand* Band)
{
    FVMasterBand = Band;
    Band->FOriginalObjectsCount = int(Band->Objects().size());
    Band->SetAllowSplit(false);
    const int page = pages()->CurPage;
    FVHeaderList.Clear();
    FVPageList.clear();
    FVPageList << 0;
    CurVColumn = 0;
    RunVerticalLevel(FPage->VSubBands);
    FVPageList << int(Band->Objects().size());
    pages()->CurPage = page;
}

void TfrxEngine::RunVerticalLevel(const QList<TfrxBand*>& Bands)
{
    TfrxReport* report = Report();
    if (report->Terminated())
        return;
    for (TfrxBand* b : Bands) {
        auto* D = dynamic_cast<TfrxDataBand*>(b);
        if (!D || !D->DataSet())
            continue;
        TfrxDataSet* ds = D->DataSet();
        ds->First();
        D->LineN = 1;
        D->LineThrough = 1;
        D->SetCurColumn(1);
        CurLine = 1;
        CurLineThrough = 1;
        ClearRepeatMemory(D);
        bool first = true, printed = false;
        while (!ds->Eof()) {
            if (first) {
                ShowBand(D->Header);
                RememberVerticalHeader(D->Header);
            }
            if (D->Group) {
                if (first)
                    OpenGroupHeaders(D, D->Group, true, 0);
                else
                    DetectGroupChange(D, D->Group, 0, 0);
            }
            first = false;
            printed = true;
            CurLine = D->LineN;
            CurLineThrough = D->LineThrough;
            ShowBand(D);
            SendBandNotifications(D);
            ++D->LineN;
            ++D->LineThrough;
            RunVerticalLevel(D->SubBands);
            if (D->FooterAfterEach())
                ShowBand(D->Footer);
            ds->Next();
            if ((D->RowCount() != 0 && D->RowCount() < D->LineN) || report->Terminated())
                break;
        }
        if (D->Group)
            CloseGroupFooters(D->Group, 0, D);
        if (printed) {
            ForgetVerticalHeader(D->Header);
            if (!D->FooterAfterEach())
                ShowBand(D->Footer);
        }
    }
}

void TfrxEngine::OutputVerticalBand(TfrxBand* V)
{
    TfrxReport* report = Report();
    const bool isData = dynamic_cast<TfrxDataBand*>(V) != nullptr;
    const bool isFooter = dynamic_cast<TfrxFooter*>(V) || dynamic_cast<TfrxGroupFooter*>(V);
    if (isData)
        ++CurVColumn;
    FCurBand = isFooter ? V : FVMasterBand;
    report->CurObject = V->Name();
    V->BeforePrint();
    doBeforePrint(V);
    if (V->Visible() && FVMasterBand) {
        if (CurX + V->Width() > PageWidth) {
            if (FPage->EndlessWidth()) {
                PageWidth += V->Width();
            } else {
                // The next horizontal page, with the vertical headers again.
                if (pages()->CurPage + 1 < pages()->Count()) {
                    ++pages()->CurPage;
                } else {
                    pages()->AddPageAction = apAdd;
                    pages()->AddPage(FPage);
                }
                CurX = 0;
                FVPageList << int(FVMasterBand->Objects().size());
                for (int i = 0; i < FVHeaderList.Count(); ++i)
                    ShowBand(FVHeaderList.Items(i).Band);
            }
        }
        const QList<TfrxComponent*> cells = V->Objects();
        for (TfrxComponent* c : cells) {
            auto* obj = dynamic_cast<TfrxReportComponent*>(c);
            if (!obj || obj->FOriginalBand != FVMasterBand)
                continue;
            report->CurObject = obj->Name();
            obj->BeforePrint();
            doBeforePrint(obj);
            obj->GetData();
            report->DoNotifyEvent(obj, obj->OnAfterData());
            if (auto* copy = dynamic_cast<TfrxComponent*>(obj->classInfo().create(FVMasterBand))) {
                copy->Assign(obj);
                copy->FAliasName = obj->FAliasName;
                copy->FOriginalComponent = obj->FOriginalComponent;
                copy->SetLeft(obj->Left() + CurX);
            }
            obj->AfterPrint();
        }
        CurX += V->Width();
    }
    doAfterPrint(V);
    V->AfterPrint();
    if (isData)
        FAggregates->AddValue(V, CurVColumn);
    else if (isFooter)
        FAggregates->Reset(V);
}

void TfrxEngine::EmitVerticalPages(TfrxBand* Band)
{
    QList<TfrxComponent*>& list = Band->EngineObjects();
    const QList<TfrxComponent*> all = list;
    const int page = pages()->CurPage;
    const double y = CurY;
    pages()->AddPageAction = apWriteOver;
    struct Restore {
        TfrxEngine* e;
        QList<TfrxComponent*>& list;
        const QList<TfrxComponent*>& all;
        int page;
        double y;
        ~Restore()
        {
            list = all;
            e->pages()->CurPage = page;
            e->CurY = y;
            e->CurX = double(e->FVSavedX);
            e->pages()->AddPageAction = apAdd;
        }
    } restore{this, list, all, page, y};
    for (qsizetype k = 0; k + 1 < FVPageList.size(); ++k) {
        const int from = FVPageList[k], to = FVPageList[k + 1];
        list = all.mid(from, to - from);
        pages()->AddObject(Band);
        // Each page width gets its cells: the run is moving on, however many widths.
        placedSomething();
        if (k + 2 < FVPageList.size()) {
            FDontShowHeaders = true;
            NewPage();
            FDontShowHeaders = false;
        } else if (FVPageList.size() > 2) {
            EndPage();
        }
    }
}

void TfrxEngine::RememberVerticalHeader(TfrxBand* Band)
{
    auto* header = dynamic_cast<TfrxHeader*>(Band);
    auto* group = dynamic_cast<TfrxGroupHeader*>(Band);
    if ((header && header->ReprintOnNewPage()) || (group && group->ReprintOnNewPage()))
        FVHeaderList.AddItem(Band, 0, false);
}

void TfrxEngine::ForgetVerticalHeader(TfrxBand* Band)
{
    if (Band)
        FVHeaderList.RemoveItem(Band);
}

} // namespace orv::report
