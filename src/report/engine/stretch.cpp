// Preparing and finishing bands (events, data, stretching and shifting), splitting a band
// over pages, and keeping blocks of bands together.
#include "report/base/utils.h"
#include "report/engine/engine.h"
#include "report/model/bands.h"
#include "report/model/pages.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"

#include <QSet>

#include <algorithm>
#include <cmath>

namespace orv::report {
using namespace orv::script;
} // namespace orv::report

namespace orv::report {

namespace {

// Sorting key of a position: two decimals, right-aligned in nine characters.
QString positionKey(double v) { return QStringLiteral("%1").arg(frxFloatToFixed(2, u'.', v), 9); }

TfrxReportComponent* asReportComponent(TfrxComponent* c) { return dynamic_cast<TfrxReportComponent*>(c); }

} // namespace

void TfrxEngine::doBeforePrint(TfrxReportComponent* Obj) { Report()->DoBeforePrint(Obj); }

void TfrxEngine::doAfterPrint(TfrxReportComponent* Obj) { Report()->DoAfterPrint(Obj); }

// ---------------------------------------------------------------- preparing and finishing

void TfrxEngine::PrepareBand(TfrxBand* Band)
{
    TfrxReport* report = Report();
    FCurBand = Band;
    BuildShiftLists(Band);
    if (Band != FVMasterBand) {
        report->CurObject = Band->Name();
        Band->BeforePrint();
        doBeforePrint(Band);
    }
    bool grown = false, inline_ = false;
    const QList<TfrxComponent*> objects = Band->Objects();
    for (int i = 0; i < objects.size(); ++i) {
        auto* obj = asReportComponent(objects[i]);
        if (!obj)
            continue;
        if (auto* sub = dynamic_cast<TfrxSubreport*>(obj); sub && sub->PrintOnParent())
            inline_ = true;
        if (!(Band == FVMasterBand && i >= Band->FOriginalObjectsCount)) {
            report->CurObject = obj->Name();
            obj->BeforePrint();
            if (Band->Visible()) {
                doBeforePrint(obj);
                if (obj->Visible()) {
                    obj->GetData();
                    report->DoNotifyEvent(obj, obj->OnAfterData());
                }
            }
        }
        auto* stretch = dynamic_cast<TfrxStretcheable*>(obj);
        if (Band->Visible() && obj->Visible() && stretch && stretch->StretchMode() != smDontStretch) {
            const double h = stretch->CalcHeight();
            if (h > stretch->Height()) {
                stretch->FShiftAmount = h - stretch->Height();
                stretch->SetHeight(h);
                grown = true;
            } else {
                stretch->FShiftAmount = 0;
            }
        }
    }
    if (!Band->Visible())
        return;
    if (grown)
        ShiftDependents(Band, 0);
    if (inline_)
        InlineSubreports(Band);
    double lowest = 0;
    for (TfrxComponent* c : Band->Objects())
        lowest = std::max(lowest, c->Top() + c->Height());
    if (Band->Stretched())
        Band->SetHeight(lowest);
    report->CurObject = Band->Name();
    report->DoNotifyEvent(Band, Band->OnAfterCalcHeight());
    for (TfrxComponent* c : Band->Objects())
        if (auto* stretch = dynamic_cast<TfrxStretcheable*>(c); stretch && stretch->StretchMode() == smMaxHeight)
            stretch->SetHeight(lowest - stretch->Top());
}

void TfrxEngine::FinishBand(TfrxBand* Band)
{
    TfrxReport* report = Report();
    const QList<TfrxComponent*> objects = Band->Objects();
    if (Band->Visible())
        for (TfrxComponent* c : objects)
            if (auto* obj = asReportComponent(c)) {
                report->CurObject = obj->Name();
                doAfterPrint(obj);
            }
    for (int i = 0; i < objects.size(); ++i) {
        if (Band == FVMasterBand && Band->FOriginalObjectsCount >= 0 && i >= Band->FOriginalObjectsCount)
            break;
        if (auto* obj = asReportComponent(objects[i]))
            obj->AfterPrint();
    }
    report->CurObject = Band->Name();
    doAfterPrint(Band);
    Band->AfterPrint();
    if (Band->FOriginalObjectsCount != -1) {
        while (Band->Objects().size() > Band->FOriginalObjectsCount)
            delete Band->Objects().last();
        Band->FOriginalObjectsCount = -1;
    }
}

// ---------------------------------------------------------------- shifting

void TfrxEngine::BuildShiftLists(TfrxBand* Band)
{
    if (!Band->FShiftChildren.isEmpty())
        return;
    struct Entry {
        TfrxComponent* obj;
        TfrxRectArea area;
        QString key;
        QList<TfrxComponent*>* children;
    };
    QList<TfrxComponent*> top; // the objects with nothing above them
    std::vector<Entry> list;
    for (TfrxComponent* c : Band->Objects()) {
        auto* rc = asReportComponent(c);
        if (!rc)
            continue;
        rc->FShiftChildren.clear();
        list.push_back({c, TfrxRectArea(c), positionKey(c->Top()), &rc->FShiftChildren});
    }
    std::stable_sort(list.begin(), list.end(), [](const Entry& a, const Entry& b) { return a.key < b.key; });
    // A stand-in for the band's top edge: as wide as the band, just above it.
    const double left = Band->AbsLeft(), topY = Band->AbsTop() - 2;
    list.insert(list.begin(), Entry{nullptr, TfrxRectArea(left, topY, left + Band->Width(), topY + 1), QString(), &top});
    for (size_t a = 0; a < list.size(); ++a)
        for (size_t b = a + 1; b < list.size(); ++b) {
            const TfrxRectArea& A = list[a].area;
            const TfrxRectArea& B = list[b].area;
            if (A.InterceptsY(B) || !(A.Y < B.Y) || !A.InterceptsX(B))
                continue;
            const std::unique_ptr<TfrxRectArea> shared = A.InterceptX(B);
            bool direct = true;
            for (size_t m = a + 1; m < b && direct; ++m) {
                const TfrxRectArea& M = list[m].area;
                if (!M.InterceptsY(A) && !M.InterceptsY(B) && shared && M.InterceptsX(*shared))
                    direct = false;
            }
            if (direct)
                list[a].children->append(list[b].obj);
        }
    Band->FShiftChildren = top;
}

void TfrxEngine::ShiftDependents(TfrxComponent* Parent, double Amount)
{
    auto* parent = asReportComponent(Parent);
    if (!parent)
        return;
    const bool parentIsBand = dynamic_cast<TfrxBand*>(Parent) != nullptr;
    const QList<TfrxComponent*> children = parent->FShiftChildren;
    for (TfrxComponent* c : children) {
        auto* child = asReportComponent(c);
        if (!child)
            continue;
        auto* view = dynamic_cast<TfrxView*>(c);
        const TfrxShiftMode mode = view ? view->ShiftMode() : smAlways;
        switch (mode) {
        case smAlways:
            child->SetTop(child->Top() + Amount);
            ShiftDependents(child, Amount + child->FShiftAmount);
            break;
        case smWhenOverlapped: {
            const double bottom = Parent->Top() + Parent->Height();
            if (!parentIsBand && bottom > child->Top()) {
                const double overlap = bottom - child->Top();
                child->SetTop(bottom);
                ShiftDependents(child, overlap + child->FShiftAmount);
            } else {
                ShiftDependents(child, child->FShiftAmount);
            }
            break;
        }
        case smDontShift:
            ShiftDependents(child, Amount + child->FShiftAmount);
            break;
        }
        child->FShiftAmount = 0;
    }
}

// ---------------------------------------------------------------- splitting

void TfrxEngine::PushDownBelow(TfrxComponent* O, double Amount, QList<TfrxComponent*>& ToPlace,
                               QList<TfrxComponent*>& Moved, double Bottom)
{
    const double bottom = Bottom >= 0 ? Bottom : O->Top() + O->Height();
    const double left = O->Left(), right = O->Left() + O->Width();
    for (TfrxComponent* c : ToPlace) {
        if (c == O || Moved.contains(c) || c->Top() < bottom)
            continue;
        if (c->Left() < right - 0.0001 && left < c->Left() + c->Width() - 0.0001) {
            c->SetTop(c->Top() + Amount);
            Moved << c;
        }
    }
}

void TfrxEngine::FitPartHeight(TfrxBand* Band, bool Last)
{
    Band->SetHeight(0);
    double h = 0;
    for (TfrxComponent* c : Band->Objects())
        h = std::max(h, c->Top() + c->Height());
    Band->SetHeight(h);
    if (!Last)
        return;
    for (TfrxComponent* c : Band->Objects()) {
        if (auto* view = dynamic_cast<TfrxView*>(c); view && view->Align() == baBottom)
            c->SetTop(Band->Height() - c->Height());
        if (auto* stretch = dynamic_cast<TfrxStretcheable*>(c); stretch && stretch->StretchMode() == smMaxHeight)
            stretch->SetHeight(Band->Height() - stretch->Top());
    }
}

void TfrxEngine::SplitBand(TfrxBand* Band)
{
    TfrxReport* report = Report();
    QList<TfrxComponent*>& list = Band->EngineObjects();
    const QList<TfrxComponent*> all = list;
    QList<TfrxComponent*> toPlace;
    for (TfrxComponent* c : all)
        if (!dynamic_cast<TfrxSubreport*>(c))
            toPlace << c;
    for (TfrxComponent* c : toPlace)
        if (auto* s = dynamic_cast<TfrxStretcheable*>(c)) {
            s->InitPart();
            s->FSaveHeight = s->Height();
        }
    list.clear();
    // Whatever ends the split, the band gets all its objects back.
    struct GiveBack {
        QList<TfrxComponent*>& list;
        const QList<TfrxComponent*>& all;
        ~GiveBack() { list = all; }
    } giveBack{list, all};

    const qsizetype noted = toPlace.size();
    bool drawn = false;
    double free = FreeSpace();
    // Views that went whole to a following part because nothing of them fitted: met again
    // at the top of a part, they get no more room by waiting.
    QSet<TfrxComponent*> movedWhole;
    // Views cut between lines in an earlier part: they end with the part that takes
    // their last line.
    QSet<TfrxComponent*> cut;
    bool firstPart = true;
    while (!toPlace.isEmpty()) {
        QList<TfrxComponent*> moved;
        processMessages();
        if (report->Terminated())
            break;
        const double emptyRoom = PageHeight() - FooterHeight();
        const bool fullRoom = free >= emptyRoom - 0.0001;
        const qsizetype leftBefore = toPlace.size();
        bool progress = false;
        qsizetype i = 0;
        while (i < toPlace.size()) {
            TfrxComponent* O = toPlace[i];
            auto* s = dynamic_cast<TfrxStretcheable*>(O);
            double part = 0, need = O->Height();
            bool more = false, forced = false;
            // Cut between whole lines: the height taken by this part, from the view's
            // lines (-1: not cut so).
            double used = -1;
            if (s) {
                s->FSavedTop = s->Top();
                s->SetHeight(free - s->Top());
                if (free > s->Top()) {
                    forced = s->Top() <= 0.0001 && (fullRoom || (!firstPart && movedWhole.contains(O)));
                    part = forced ? s->DrawFirstPart() : s->DrawPart();
                    used = s->PartUsed();
                    if (used < 0) {
                        if (part > std::fabs(part - s->FSaveHeight))
                            part = s->FSaveHeight;
                        if (std::fabs(part - s->Height()) > 0.0001)
                            part -= s->FSaveHeight;
                    }
                }
                need = s->FSaveHeight;
                more = s->HasNextDataPart();
                if (used >= 0) {
                    // The parts follow the lines, not the height left over from the
                    // earlier parts: lines left mean a further part whatever that height
                    // says, and a view already cut ends with its last line, as tall as
                    // its lines need.
                    if (s->HasPartLeft()) {
                        more = true;
                        part = used <= 0 && !forced ? s->Height() : s->Height() - used;
                    } else {
                        const double lines = s->StretchMode() != smDontStretch ? s->CalcHeight() : part;
                        if (cut.contains(O) || forced)
                            need = std::min(lines, s->Height());
                        else if (s->StretchMode() != smDontStretch)
                            need = std::max(need, std::min(s->CalcHeight(), s->Height()));
                        part = 0;
                    }
                } else if (s->StretchMode() != smDontStretch && free > s->Top()) {
                    // A view sized by its content ends only with its content, and its
                    // last part is tall enough for what it holds: the height left over
                    // from the earlier parts does not count the lines that the cuts
                    // moved on.
                    if (s->HasPartLeft())
                        more = true;
                    else
                        need = std::max(need, std::min(s->CalcHeight(), free - s->Top()));
                }
            }
            if (free >= need + O->Top() && !more) {
                // What lies below a view cut by lines follows where its last line ended.
                if (used >= 0 && std::fabs(need - s->FSaveHeight) > 0.0001)
                    PushDownBelow(O, need - s->FSaveHeight, toPlace, moved, O->Top() + s->FSaveHeight);
                O->SetHeight(need);
                list << O;
                toPlace.removeAt(i);
                continue;
            }
            if (s && used >= 0 && free > s->Top() && (part < s->Height() - 0.0001 || forced)) {
                // Cut between lines: the rest starts at the top of the next part, and what
                // lies below it keeps its distance to the rest.
                list << O;
                const double left = std::max(s->FSaveHeight - (s->Height() - part), 0.0);
                PushDownBelow(O, s->Height() + left - s->FSaveHeight, toPlace, moved, O->Top() + s->FSaveHeight);
                progress = progress || used > 0.0001;
                if (s->HasPartLeft())
                    cut << O;
                s->FSaveHeight = left;
                drawn = true;
                ++i;
                continue;
            }
            if (s) {
                if (free > s->Top()) {
                    PushDownBelow(O, part, toPlace, moved);
                    if (std::fabs(part - s->Height()) < 0.0001 && !forced) {
                        // Nothing of it fits: it goes whole to the next part.
                        s->SetTop(free);
                        s->SetHeight(s->FSaveHeight);
                        movedWhole << O;
                    } else {
                        // What fits goes out; where nothing fits and no later part has
                        // more room, it takes the room there is, so that the split moves on.
                        list << O;
                        double left = s->FSaveHeight - s->Height() + part;
                        if (s->StretchMode() != smDontStretch && s->HasPartLeft())
                            left = std::max(left, 0.0);
                        progress = progress || left < s->FSaveHeight - 0.0001;
                        s->FSaveHeight = left;
                        drawn = true;
                    }
                }
                ++i;
                continue;
            }
            if (emptyRoom >= O->Height()) {
                if (free > O->Top()) {
                    PushDownBelow(O, free - O->Top(), toPlace, moved);
                    O->SetTop(free);
                }
                ++i;
            } else {
                // Taller than an empty page: it goes out as it is and the page edge cuts it.
                list << O;
                toPlace.removeAt(i);
            }
        }
        if (toPlace.size() < leftBefore || progress)
            placedSomething();
        FitPartHeight(Band, toPlace.isEmpty());
        // The part goes out.
        Band->SetLeft(CurX);
        Band->SetTop(CurY);
        pages()->AddObject(Band);
        CurY += Band->Height();
        FCurBand = Band;
        if (!toPlace.isEmpty())
            NewColumn();
        list.clear();
        for (TfrxComponent* c : toPlace) {
            c->SetTop(c->Top() - free);
            if (auto* st = dynamic_cast<TfrxStretcheable*>(c)) {
                // A view that went whole to this part starts it where the band put it,
                // as if the band had moved; never one that lay below the room (it has
                // just moved up by the part), nor after a whole empty page, where
                // starting over would never end.
                if (!drawn && toPlace.size() == noted && st->FSavedTop < free && !fullRoom)
                    st->SetTop(st->FSavedTop);
                if (st->Top() < 0)
                    st->SetTop(0);
                st->SetHeight(st->FSaveHeight);
            }
        }
        free = FreeSpace();
        firstPart = false;
    }
}

void TfrxEngine::RefreshSuppressed(TfrxBand* Band)
{
    bool any = false;
    for (TfrxComponent* c : Band->Objects())
        if (auto* memo = dynamic_cast<TfrxCustomMemoView*>(c); memo && memo->SuppressRepeated()) {
            memo->ResetSuppress();
            any = true;
        }
    if (!any || Band->FHasVBands)
        return;
    FinishBand(Band);
    CurLine = Band->LineN;
    CurLineThrough = Band->LineThrough;
    SecondScriptCall = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{SecondScriptCall};
    PrepareBand(Band);
}

// ---------------------------------------------------------------- keeping together

void TfrxEngine::BeginKeep(TfrxBand* Band, int Position)
{
    if (FKeeping || FIsFirstBand)
        return;
    FKeepCurY = CurY;
    FKeeping = true;
    FKeepBand = Band;
    FKeepPosition = Position != 0 ? Position : pages()->GetCurPosition();
    FKeepOutline = pages()->Outline()->GetCurPosition();
    FKeepAnchor = pages()->GetAnchorCurPosition();
    FAggregates->StartKeep();
}

void TfrxEngine::FinishKeep(TfrxBand* Band)
{
    if (!FKeeping || Band != FKeepBand)
        return;
    BreakAllKeep();
}

void TfrxEngine::BreakAllKeep()
{
    if (!FKeeping)
        return;
    FKeepCurY = 0;
    FKeeping = false;
    FKeepBand = nullptr;
    FAggregates->EndKeep();
    FKeepHeader = false;
}

} // namespace orv::report
