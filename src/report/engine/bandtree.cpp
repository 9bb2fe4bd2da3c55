// The tree the engine walks: which data bands a page runs, which nest into which, which
// header and footer belong to which data band, and which group headers and footers form
// its groups. Layout mistakes are reported before anything is printed.
#include "report/base/utils.h"
#include "report/engine/engine.h"
#include "report/model/bands.h"
#include "report/model/datasets.h"
#include "report/model/pages.h"
#include "report/model/report.h"

#include <algorithm>

namespace orv::report {
using namespace orv::script;
} // namespace orv::report

namespace orv::report {

namespace {

QString positionKey(double v) { return QStringLiteral("%1").arg(frxFloatToFixed(2, u'.', v), 9); }

} // namespace

void TfrxEngine::BuildBandTree(bool Vertical)
{
    FPage->AlignChildren();
    QList<TfrxBand*>& top = Vertical ? FPage->VSubBands : FPage->SubBands;
    top.clear();
    QList<TfrxBand*> verticals;
    for (TfrxComponent* c : FPage->Objects())
        if (auto* b = dynamic_cast<TfrxBand*>(c); b && b->Vertical())
            verticals << b;

    QList<TfrxBand*> bands;
    for (TfrxComponent* c : FPage->Objects()) {
        auto* band = dynamic_cast<TfrxBand*>(c);
        if (!band || band->Vertical() != Vertical)
            continue;
        bands << band;
        BuildShiftLists(band);
        band->SubBands.clear();
        band->Header = band->Footer = band->Group = nullptr;
        band->FHasVBands = false;
        if (auto* data = dynamic_cast<TfrxDataBand*>(band); data && !data->DataSet() && data->RowCount() > 0) {
            data->SetDataSet(data->VirtualDataSet());
            data->VirtualDataSet()->Initialize();
        }
        if (Vertical || dynamic_cast<TfrxOverlay*>(band))
            continue;
        // Objects that lie within a vertical band become cells of it.
        const QList<TfrxComponent*> objects = band->Objects();
        for (TfrxComponent* obj : objects)
            for (TfrxBand* v : verticals) {
                const double left = obj->AbsLeft(), right = left + obj->Width();
                const double vLeft = v->AbsLeft(), vRight = vLeft + v->Width();
                if (vLeft - left > 0.0001 || right - vRight > 0.0001)
                    continue;
                obj->SetParent(v);
                obj->FOriginalBand = band;
                obj->SetLeft(left - vLeft);
                band->FHasVBands = true;
                break;
            }
    }

    // Headers, footers, data bands, group headers and footers, by position.
    struct Entry {
        TfrxBand* band;
        QString key;
    };
    std::vector<Entry> ordered;
    for (TfrxBand* b : bands) {
        const int n = b->BandNumber();
        if (n >= 4 && n <= 13)
            ordered.push_back({b, positionKey(Vertical ? b->Left() : b->Top())});
    }
    std::stable_sort(ordered.begin(), ordered.end(), [](const Entry& a, const Entry& b) { return a.key < b.key; });
    QList<TfrxBand*> list;
    for (size_t i = 0; i < ordered.size(); ++i)
        if (i == 0 || ordered[i].key != ordered[i - 1].key)
            list << ordered[i].band;

    LinkGroups(list, Vertical);
    LinkHeadersFooters(list);
    LinkDataBands(list, Vertical);
    for (TfrxBand* b : list)
        addError(QStringLiteral("Incorrect band position: ") + b->Name());
}

void TfrxEngine::LinkGroups(QList<TfrxBand*>& List, bool Vertical)
{
    for (qsizetype i = 0; i < List.size(); ++i) {
        auto* first = dynamic_cast<TfrxGroupHeader*>(List[i]);
        if (!first || (i > 0 && dynamic_cast<TfrxGroupHeader*>(List[i - 1])))
            continue;
        qsizetype end = i;
        while (end < List.size() && dynamic_cast<TfrxGroupHeader*>(List[end]))
            ++end;
        first->SubBands = List.mid(i, end - i);
        TfrxDataBand* data = nullptr;
        for (qsizetype k = end; k < List.size() && !data; ++k)
            data = dynamic_cast<TfrxDataBand*>(List[k]);
        if (data)
            data->Group = first;
        else
            addError(QStringLiteral("No data band for the group ") + first->Name());
    }
    QList<TfrxBand*> linked;
    for (qsizetype i = 0; i < List.size(); ++i) {
        auto* footer = dynamic_cast<TfrxGroupFooter*>(List[i]);
        if (!footer)
            continue;
        for (qsizetype k = i - 1; k >= 0; --k) {
            auto* header = dynamic_cast<TfrxGroupHeader*>(List[k]);
            if (header && !header->Footer) {
                header->Footer = footer;
                linked << footer;
                break;
            }
        }
    }
    QList<TfrxBand*> rest;
    for (TfrxBand* b : List) {
        if (dynamic_cast<TfrxGroupHeader*>(b) || linked.contains(b))
            continue;
        if (dynamic_cast<TfrxGroupFooter*>(b)) {
            addError(QStringLiteral("No group header for ") + b->Name());
            continue;
        }
        rest << b;
    }
    List = rest;
}

void TfrxEngine::LinkHeadersFooters(QList<TfrxBand*>& List)
{
    QList<TfrxBand*> linked;
    for (qsizetype i = 0; i < List.size(); ++i) {
        auto* data = dynamic_cast<TfrxDataBand*>(List[i]);
        if (!data)
            continue;
        if (i > 0 && dynamic_cast<TfrxHeader*>(List[i - 1]) && !linked.contains(List[i - 1])) {
            data->Header = List[i - 1];
            linked << List[i - 1];
        }
        if (i + 1 < List.size() && dynamic_cast<TfrxFooter*>(List[i + 1])) {
            data->Footer = List[i + 1];
            linked << List[i + 1];
        }
    }
    QList<TfrxBand*> rest;
    for (TfrxBand* b : List) {
        if (linked.contains(b))
            continue;
        if (dynamic_cast<TfrxHeader*>(b) || dynamic_cast<TfrxFooter*>(b)) {
            addError(QStringLiteral("Unconnected header/footer ") + b->Name());
            continue;
        }
        rest << b;
    }
    List = rest;
}

void TfrxEngine::LinkDataBands(QList<TfrxBand*>& List, bool Vertical)
{
    QList<TfrxBand*>& top = Vertical ? FPage->VSubBands : FPage->SubBands;
    // Nests the bands one level below Current that follow it, each with its own nesting.
    std::function<void(TfrxBand*, qsizetype&)> nest = [&](TfrxBand* current, qsizetype& i) {
        const int level = current->BandNumber();
        while (i < List.size()) {
            TfrxBand* b = List[i];
            const int n = b->BandNumber();
            if (n == level + 1) {
                current->SubBands << b;
                List.removeAt(i);
                if (!dynamic_cast<TfrxDataBand6*>(b))
                    nest(b, i);
            } else if (n <= level) {
                return;
            } else {
                ++i; // skips a level: left for the error
            }
        }
    };
    qsizetype i = 0;
    while (i < List.size()) {
        if (!dynamic_cast<TfrxMasterData*>(List[i])) {
            ++i;
            continue;
        }
        TfrxBand* master = List[i];
        top << master;
        List.removeAt(i);
        nest(master, i);
    }
}

} // namespace orv::report
