#include "jobs/trovalavoro.h"

#include "jobs/listelavoro.h"
#include "jobs/scheda.h"

namespace orv::jobs {

using namespace orv::platform::ui;

TfrmTrovaLavoro* frmTrovaLavoro = nullptr;

namespace {

const QList<orv::kit::FinderCriterion>& searchCriteria()
{
    static const QList<orv::kit::FinderCriterion> c = [] {
        QList<orv::kit::FinderCriterion> list;
        for (const orv::jobs::Criterion& k : orv::jobs::finderCriteria()) list.append({k.control, k.caption, k.field});
        return list;
    }();
    return c;
}

orv::kit::ListSpec resultList()
{
    orv::kit::ListSpec spec = orv::jobs::sheetList(orv::jobs::kTitleFinder);
    spec.countText = orv::jobs::finderCountText;
    return spec;
}

const Layout& windowLayout()
{
    static const Layout l = orv::kit::finderLayout(
        {u"Trova Schede di Lavoro"_qs, u"Ricerca degli interventi tecnici in archivio"_qs, art::Icon::JobSheet},
        searchCriteria());
    return l;
}

} // namespace

TfrmTrovaLavoro::TfrmTrovaLavoro(QWidget* owner)
    : FinderWindow(owner,
                   orv::kit::listFormSpec(u"frmTrovaLavoro"_qs, u" Trova Schede di Lavoro in archivio"_qs,
                                            orv::kit::kFinderHeight),
                   windowLayout(), resultList(), TSchedaLavoro::layout(), searchCriteria())
{
    created();
}

// Only the editor opens the finder; opened with any other tag it loads nothing.
void TfrmTrovaLavoro::load(const orv::archive::FoundRecord& found)
{
    if (callerTag() == u"lavoro") orv::jobs::loadIntoEditor(found);
}

} // namespace orv::jobs
